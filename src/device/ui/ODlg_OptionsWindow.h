// The "Options" dialog (resource 209) over ODlg_Options. Controls carry their ids as object
// names; the part-limit radio buttons are "policy0" to "policy3".
#pragma once

#include <QDialog>

#include "device/ODlg_Options.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;

class ODlg_OptionsWindow : public QDialog {
    Q_OBJECT
  public:
    ODlg_OptionsWindow(ODlg_Options& model, QWidget* parent);

    void accept() override;

  private:
    QWidget* MakeConnectionGroup();
    QWidget* MakePartsGroup();
    QWidget* MakeDisplayGroup();
    QCheckBox* AddCheck(int id, const QString& text, int OOptionValues::*field);

    ODlg_Options& m_model;
    QComboBox* m_connection = nullptr;
    QCheckBox* m_autoSpeed = nullptr;
    QLineEdit* m_viewerPath = nullptr;
    QLineEdit* m_partBuffer = nullptr;
    QButtonGroup* m_policy = nullptr;
    std::vector<std::pair<QCheckBox*, int OOptionValues::*>> m_checks;
};
