// The "Check program properties" dialog over ODlg_CheckProgramProperties: the name and,
// where the model shows it, the Z coordinate of the automatic coordinate transformation
// with its unit.
#pragma once

#include <QDialog>

#include "document/ODlg_CheckProgramProperties.h"

class QLineEdit;

class ODlg_CheckProgramPropertiesWindow : public QDialog {
    Q_OBJECT
  public:
    ODlg_CheckProgramPropertiesWindow(ODlg_CheckProgramProperties& model, QWidget* parent);

    void accept() override;

  private:
    ODlg_CheckProgramProperties& m_model;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_z = nullptr;
};
