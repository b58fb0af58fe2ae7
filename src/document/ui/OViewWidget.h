// What every view window of the document offers the main frame: a full update from the
// document, and handing over edits not yet taken into the project.
#pragma once

class OViewWidget {
  public:
    virtual ~OViewWidget() = default;
    virtual void OnUpdate() = 0;
    virtual void CommitPendingEdits() {}
};
