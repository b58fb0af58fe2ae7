// The page "Settings for Optimizing": the time limit and step size of the automatic tool
// search, the button that starts and stops it, its progress and status line. The search runs
// in a worker thread while this page polls its monitor, so the window stays responsive; the
// page installs the result on the user-interface thread when the worker has ended.
#pragma once

#include <QWidget>
#include <functional>
#include <thread>

class OOptimizeWizardDialog;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTimer;

class OProjectWizardOptiSettingsPage : public QWidget {
    Q_OBJECT
  public:
    explicit OProjectWizardOptiSettingsPage(OOptimizeWizardDialog& model,
                                            QWidget* parent = nullptr);
    ~OProjectWizardOptiSettingsPage() override;

    void Activate();
    bool bSearching() const { return m_worker.joinable(); }
    // The wizard's Cancel: abandons a running search; `then` runs once the worker has ended
    // (at once when none runs).
    void AbandonSearch(std::function<void()> then);

  signals:
    // The wizard buttons the page offers changed (flags 1 Back, 2 Next, 4 Finish).
    void buttonsChanged(int flags);
    // A search ended; `installed` tools were added.
    void searchFinished(int installed);

  private:
    void OnButton();
    void Poll();
    void ShowModel();
    void ReadFields();

    OOptimizeWizardDialog& m_model;
    QLineEdit* m_minutes = nullptr;
    QRadioButton* m_steps[3] = {};
    QLabel* m_status = nullptr;
    QPushButton* m_button = nullptr;
    QProgressBar* m_progress = nullptr;
    QTimer* m_poll = nullptr;
    std::thread m_worker;
    std::function<void()> m_afterAbandon;
};
