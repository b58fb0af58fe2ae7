// "Settings for tape measure" (template 280): the horizontal (1072) and vertical (1073)
// scaling factors and, for devices that transform coordinates, the Z coordinate (1074 with
// its caption 1324). The model checks that every shown field holds a number.
#pragma once

#include <QDialog>

class ODlg_CaliperSettings;
class QLabel;
class QLineEdit;

class ODlg_CaliperSettingsWindow : public QDialog {
    Q_OBJECT
  public:
    ODlg_CaliperSettingsWindow(ODlg_CaliperSettings& model, QWidget* parent);

    void accept() override;

  private:
    QLineEdit* AddField(int id, double value);

    ODlg_CaliperSettings& m_model;
    QLineEdit* m_horizontal = nullptr;
    QLineEdit* m_vertical = nullptr;
    QLineEdit* m_z = nullptr;
};
