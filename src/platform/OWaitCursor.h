// Shows the wait cursor for the lifetime of the guard.
#pragma once

#include "platform/UserInteraction.h"

class OWaitCursor {
  public:
    explicit OWaitCursor(UserInteraction& ui) : m_ui(ui) { m_ui.BeginWaitCursor(); }
    ~OWaitCursor() { m_ui.EndWaitCursor(); }
    OWaitCursor(const OWaitCursor&) = delete;
    OWaitCursor& operator=(const OWaitCursor&) = delete;

  private:
    UserInteraction& m_ui;
};
