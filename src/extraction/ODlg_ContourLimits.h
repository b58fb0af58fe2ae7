// The height limit of the thin-area and hole filters of the part contour view (the tape
// measure's settings are ODlg_CaliperSettings).
#pragma once

#include <string>

#include "platform/ODialogModel.h"

// "Ignore part areas with a height less than..." (3401) / "Ignore part holes with a height
// less than..." (3402): one number, at least 1.
class ODlg_FilterLimit : public ODialogModel {
  public:
    ODlg_FilterLimit(int promptId, int limit) : m_promptId(promptId), limit(limit) {}
    std::string DialogName() const override { return "ODlg_FilterLimit"; }
    bool bValidate(std::string& message) override;
    int iGetPromptId() const { return m_promptId; }
    std::string Prompt() const;

  private:
    int m_promptId;

  public:
    int limit;
};
