// The check program manager's window, for both dialogs: the project's list, the buttons
// between the lists, the device's list (and the configuration list of ODlg_TransferDataNew),
// the project buttons below, the count and state lines, and Close. Resizable; the lists take
// the room. Every button runs its action in the model, after which the lists are filled
// again and the buttons enabled as the model says.
#pragma once

#include <QDialog>
#include <map>

#include "device/ODlg_TransferData.h"

class ODlg_TransferDataNew;
class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;

class ODlg_TransferDataWindow : public QDialog {
    Q_OBJECT

  public:
    ODlg_TransferDataWindow(ODlg_TransferData& model, QWidget* parent);
    ~ODlg_TransferDataWindow() override;

    QTreeWidget* ProjectList() const { return m_project; }
    QTreeWidget* DeviceList() const { return m_device; }
    QTreeWidget* NumberList() const { return m_numbers; }
    QPushButton* Button(int id) const;

  private:
    QPushButton* MakeButton(int id, QWidget* parent);
    void Run(int id);
    // Fills the lists again from the model.
    void Refresh();
    // The buttons' states and the count and state lines.
    void UpdateControls();
    void FillList(QTreeWidget* list, const std::vector<std::string>& columns,
                  const std::vector<OTransferRow>& rows, const std::vector<int>& selected);
    void TakeSelections();
    void ShowProgress();

    ODlg_TransferData& m_model;
    ODlg_TransferDataNew* m_new = nullptr;
    QTreeWidget* m_project = nullptr;
    QTreeWidget* m_device = nullptr;
    QTreeWidget* m_numbers = nullptr;
    QLabel* m_projectHeader = nullptr;
    QLabel* m_count = nullptr;
    QLabel* m_state = nullptr;
    QProgressBar* m_busy = nullptr;
    std::map<int, QPushButton*> m_buttons;
    bool m_filling = false;
    bool m_running = false;
};
