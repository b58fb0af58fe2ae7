// The settings form of the check-mark box ("Record received parts to file"): its text, the
// number field with its label and hint, and the check boxes under their heading.
#pragma once

#include <QDialog>
#include <vector>

#include "device/ODlg_MsgBox_WithCheckMark.h"

class QCheckBox;
class QSpinBox;

class ODlg_MsgBox_WithCheckMarkWindow : public QDialog {
    Q_OBJECT

  public:
    ODlg_MsgBox_WithCheckMarkWindow(ODlg_MsgBox_WithCheckMark& model, QWidget* parent);

    void accept() override;

  private:
    ODlg_MsgBox_WithCheckMark& m_model;
    QSpinBox* m_number = nullptr;
    std::vector<QCheckBox*> m_checks;
};
