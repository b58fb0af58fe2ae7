// The project wizard's window over OProjectWizardSheet: the wizard frame with the eleven
// pages. Every press goes to the sheet, and the window then shows the page, the buttons and
// the texts the sheet holds. Received parts (35107) reach the sheet through the event loop,
// after the document has taken them. The page "Settings for Optimizing" runs the tool search
// in a worker, as in the optimising wizard; Cancel during a search waits for it to end.
#pragma once

#include <QHash>

#include "wizards/ui/OWizardDialog.h"

class OProjectWizardSheet;
class OProjectWizardEvaluationPage;
class OProjectWizardOptiSettingsPage;
class OWizardPartPicture;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

class OProjectWizardSheetWindow : public OWizardDialog {
    Q_OBJECT
  public:
    // Control ids (object names).
    static constexpr int kInfoText = 1100;
    static constexpr int kNameEdit = 1101;
    static constexpr int kPathEdit = 1102;
    static constexpr int kBrowse = 1103;
    static constexpr int kStartViewer = 1104;
    static constexpr int kTaskFirst = 1110;  // the six task boxes: 1110 … 1115
    static constexpr int kHint = 1120;
    static constexpr int kStartButton = 1121;
    static constexpr int kDelete = 1122;
    static constexpr int kSpin = 1123;
    static constexpr int kManualAbort = 1124;
    static constexpr int kPartCount = 1125;
    static constexpr int kPartPicture = 1126;  // on pages 4, 6 and 9
    static constexpr int kHighest = 1130;
    static constexpr int kNextOrientation = 1131;
    static constexpr int kTypeFinished = 1132;
    static constexpr int kNextType = 1133;
    static constexpr int kAllTypesFinished = 1134;
    static constexpr int kTransfer = 1141;
    static constexpr int kTransferTarget = 1142;
    static constexpr int kAddDocumentation = 1143;
    static constexpr int kSaveProject = 1144;
    static constexpr int kManualMode = 1145;

    OProjectWizardSheetWindow(OProjectWizardSheet& sheet, QWidget* parent);
    ~OProjectWizardSheetWindow() override;

    void reject() override;

  private:
    QWidget* BuildStartPage();
    QWidget* BuildParametersPage();
    QWidget* BuildTaskPage();
    QWidget* BuildTeachPartsPage();
    QWidget* BuildMoreOrisPage();
    QWidget* BuildPartsPage(int page, const QString& text);
    QWidget* BuildSaveFilesPage();
    // Shows what the sheet holds: its page, buttons and the current page's controls.
    void Sync();
    void SyncParameters();
    void SyncTasks();
    void SyncTeachParts();
    void SyncMoreOris();
    void SyncSaveFiles();
    // Runs a sheet action, then shows the result.
    template <class F>
    void Act(F action);
    void AddPage(int page, QWidget* widget);

    OProjectWizardSheet& m_sheet;
    QHash<int, int> m_index;  // dialog template -> page index
    QHash<int, QLabel*> m_infos;
    QHash<int, OWizardPartPicture*> m_pictures;  // dialog template -> its part picture
    QLineEdit* m_name = nullptr;
    QLineEdit* m_path = nullptr;
    QCheckBox* m_tasks[6] = {};
    QLabel* m_hint = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_delete = nullptr;
    QSpinBox* m_spin = nullptr;
    QLabel* m_partCount = nullptr;
    QLabel* m_highest = nullptr;
    QPushButton* m_nextOrientation = nullptr;
    QPushButton* m_typeFinished = nullptr;
    QPushButton* m_nextType = nullptr;
    QPushButton* m_allTypes = nullptr;
    QCheckBox* m_transfer = nullptr;
    QComboBox* m_target = nullptr;
    QCheckBox* m_documentation = nullptr;
    QCheckBox* m_save = nullptr;
    QCheckBox* m_manual = nullptr;
    OProjectWizardOptiSettingsPage* m_opti = nullptr;
    OProjectWizardEvaluationPage* m_creation = nullptr;
    OProjectWizardEvaluationPage* m_evaluation = nullptr;
    bool m_syncing = false;
    bool m_closing = false;
};
