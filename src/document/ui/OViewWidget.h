// What every view window of the document offers the main frame: a full update from the
// document, handing over edits not yet taken into the project, and the commands the view
// executes itself. The main frame asks the view that has the focus (or the active frame's
// view) before the application and the document, so that Copy in a list copies parts and
// Copy in the part contour view copies a tool.
#pragma once

#include <optional>

#include "platform/CommandState.h"

class OViewWidget {
  public:
    virtual ~OViewWidget() = default;
    virtual void OnUpdate() = 0;
    virtual void CommitPendingEdits() {}
    // The state of a command the view executes; nothing when the view leaves it to the
    // document.
    virtual std::optional<OCommandState> ViewCommandState(int /*commandId*/) {
        return std::nullopt;
    }
    // Executes a command of the view; false when the view leaves it to the document.
    virtual bool bOnViewCommand(int /*commandId*/) { return false; }
};
