// The login window: the connection profiles of the kind asked for, the chosen one's
// address (host and three ports, or serial device and speed) editable, new profiles, and
// whether to be asked again.
#pragma once

#include <QDialog>

#include "link/ODlg_ConnectionProfile.h"

class QCheckBox;
class QLineEdit;
class QListWidget;
class QSpinBox;

class ODlg_ConnectionProfileWindow : public QDialog {
    Q_OBJECT

  public:
    ODlg_ConnectionProfileWindow(ODlg_ConnectionProfile& model, QWidget* parent);

    void accept() override;

  private:
    void FillList();
    void ShowSelected();
    void TakeFields();
    void AddProfile();

    ODlg_ConnectionProfile& m_model;
    QListWidget* m_list = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_host = nullptr;
    QLineEdit* m_ports[3] = {};
    QLineEdit* m_device = nullptr;
    QSpinBox* m_baud = nullptr;
    QCheckBox* m_askAgain = nullptr;
    bool m_filling = false;
};
