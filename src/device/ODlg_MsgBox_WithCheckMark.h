// The message box with check marks in its settings form: a caption, a text, an optional
// number field and a list of check boxes. "Record received parts to file" asks its
// settings with it; the desktop binds a small dialog to the fields.
#pragma once

#include <string>
#include <vector>

#include "platform/ODialogModel.h"

class ODlg_MsgBox_WithCheckMark : public ODialogModel {
  public:
    struct OCheck {
        std::string label;
        bool checked = false;
    };

    std::string caption;
    std::string text;
    bool hasNumber = false;
    std::string numberLabel;
    std::string numberHelp;  // a line under the number field; empty: none
    int number = 0;
    // The range the number field offers.
    int numberMinimum = 1;
    int numberMaximum = 1000000;
    std::string checksTitle;  // the heading over the check boxes; empty: none
    std::vector<OCheck> checks;

    std::string DialogName() const override { return "ODlg_MsgBox_WithCheckMark"; }

    // The check box with this label; nullptr when the dialog has none.
    OCheck* opFindCheck(const std::string& label);
};
