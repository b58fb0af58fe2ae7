// The height limit asked before the thin-area and hole filters of the part contour view: the
// prompt and one number. The model rejects values below 1 and keeps the dialog open.
#pragma once

#include <QDialog>

class ODlg_FilterLimit;
class QLineEdit;

class ODlg_FilterLimitWindow : public QDialog {
    Q_OBJECT
  public:
    ODlg_FilterLimitWindow(ODlg_FilterLimit& model, QWidget* parent);

    void accept() override;

    // The number field's object name, for tests and scripts.
    static constexpr const char* kLimitEdit = "limit";

  private:
    ODlg_FilterLimit& m_model;
    QLineEdit* m_limit = nullptr;
};
