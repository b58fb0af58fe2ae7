// The counter dialog of a part type ("Set counter properties", template 267): the counter
// target (1163) and "Ignore orientation:" (1009). The model checks the target's range.
#pragma once

#include <QDialog>

class ODlg_CounterProperties;
class QCheckBox;
class QLineEdit;

class ODlg_CounterPropertiesWindow : public QDialog {
    Q_OBJECT
  public:
    ODlg_CounterPropertiesWindow(ODlg_CounterProperties& model, QWidget* parent);

    void accept() override;

  private:
    ODlg_CounterProperties& m_model;
    QLineEdit* m_target = nullptr;
    QCheckBox* m_ignore = nullptr;
};
