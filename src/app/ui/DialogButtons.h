// The OK / Cancel row every model dialog ends with. The buttons carry the control ids 1 and 2
// as object names, so tests and `kalvor --script` find them as on every other dialog.
#pragma once

class QBoxLayout;
class QDialog;
class QDialogButtonBox;

// Adds the row to layout; OK calls the dialog's accept(), Cancel its reject().
QDialogButtonBox* AddOkCancelButtons(QDialog& dialog, QBoxLayout& layout);
