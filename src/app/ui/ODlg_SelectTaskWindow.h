// The Qt window of the welcome dialog model ODlg_SelectTask.
#pragma once

#include <QDialog>

class ODlg_SelectTask;
class QButtonGroup;
class QComboBox;
class QRadioButton;

class ODlg_SelectTaskWindow : public QDialog {
    Q_OBJECT
  public:
    ODlg_SelectTaskWindow(ODlg_SelectTask& model, QWidget* parent = nullptr);

    QRadioButton* Choice(int index) const;
    QComboBox* RecentList() const { return m_recent; }

    void accept() override;
    void reject() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void TakeFields();

    ODlg_SelectTask& m_model;
    QButtonGroup* m_group = nullptr;
    QComboBox* m_recent = nullptr;
};
