// The headless half of a dialog: its fields, its validation and what OK does. The desktop
// binds widgets to the fields; UserInteraction::bRunDialog runs it modally.
#pragma once

#include <string>

class ODialogModel {
  public:
    virtual ~ODialogModel() = default;

    // The dialog's class name, e.g. "ODlg_Options".
    virtual std::string DialogName() const = 0;
    // Checks the fields when the user presses OK; false keeps the dialog open and message
    // (when not empty) is shown.
    virtual bool bValidate(std::string& message);
    virtual void OnOk();
    virtual void OnCancel();
};
