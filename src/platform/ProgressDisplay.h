// Where OProgressCtrl shows its state: the desktop's status-bar progress bar and text pane.
// Called from the UI thread only.
#pragma once

#include <string_view>

class ProgressDisplay {
  public:
    virtual ~ProgressDisplay() = default;
    virtual void ShowProgress(int percent) = 0;  // 0 to 100
    virtual void ShowStatusText(std::string_view text) = 0;
};
