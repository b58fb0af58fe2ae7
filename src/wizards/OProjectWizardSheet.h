// The project wizard without its window: eleven pages that take a user from an empty project
// to a device that recognises a new part. The sheet tests the connection and identifies the
// device, asks for the project file and the tasks, records sample parts orientation by
// orientation (and type by type), creates the Teach-Data, optionally runs the automatic tool
// search, shows the evaluation and collects what the last page asks for. What Finish does with
// that (transfer, documentation, save) is the document command's.
//
// Pages are named by their dialog template numbers. The window shows the page iPage() names
// with the buttons iButtons() offers; every press goes through the sheet, which answers with
// the page to show. The document posts 35107 for every received part while the sheet is its
// wizard window; the sheet hands the post to the window (SetPartArrivedHandler) so that the
// part is handled on the user-interface thread after the document has taken it.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "analysis/OOptimizeWizardDialog.h"
#include "analysis/OOptimizeWizardSheet.h"
#include "platform/CommandQueue.h"
#include "platform/ODialogModel.h"

class ODoc;
class OQuillon;
class OType_Part;
class ZRINFO;

namespace ProjectWizardPage {
inline constexpr int kStart = 226;
inline constexpr int kParameters = 227;
inline constexpr int kTaskSettings = 263;
inline constexpr int kShowTeachParts = 228;
inline constexpr int kMoreOris = 231;
inline constexpr int kShowBadParts = 229;
inline constexpr int kOptiSettings = 262;
inline constexpr int kCreateTeachData = 234;
inline constexpr int kShowTestParts = 230;
inline constexpr int kEvaluation = 232;
inline constexpr int kSaveFiles = 233;
// In sheet order.
inline constexpr std::array<int, 11> kOrder = {
    kStart,        kParameters,      kTaskSettings,  kShowTeachParts, kMoreOris, kShowBadParts,
    kOptiSettings, kCreateTeachData, kShowTestParts, kEvaluation,     kSaveFiles};
}  // namespace ProjectWizardPage

// The six tasks of page 3, in the order of their check boxes.
enum class WizardTask : int {
    OrientationNToN,
    TypicalDefects,
    Sorting,
    AutomaticOptimisation,
    LengthPriority,
    SuperviseTest,
    Count
};

class OProjectWizardSheet : public ODialogModel, public CommandQueue {
  public:
    static constexpr const char* kDialogName = "OProjectWizardSheet";
    static constexpr int kCaption = 3207;

    // Wizard button flags.
    static constexpr int kBack = 1;
    static constexpr int kNext = 2;
    static constexpr int kFinish = 4;

    OProjectWizardSheet(ODoc& doc, std::string path);
    ~OProjectWizardSheet() override;

    std::string DialogName() const override { return kDialogName; }

    static std::string PageTitle(int page);
    int iPage() const { return m_page; }
    int iButtons() const { return m_buttons; }
    // The info line (or prompt) of the current page.
    const std::string& InfoText() const { return m_info; }

    // Activates the first page; the window calls it once it is built.
    void Begin();
    // The wizard's Back and Next; both answer with the page to show (possibly unchanged).
    int Next();
    int Back();
    // Cancel: stops a running search and leaves diagnostic mode.
    void OnCancel() override;

    // --- page 2: the project file ---
    const std::string& ProjectName() const { return m_name; }
    const std::string& ProjectPath() const { return m_path; }
    void SetProjectName(const std::string& name);
    void SetProjectPath(const std::string& path);
    void Browse();
    void StartViewer();

    // --- page 3: tasks ---
    bool bTaskEnabled(WizardTask task) const;
    bool bTask(WizardTask task) const { return m_taskBoxes[Index(task)]; }
    void SetTask(WizardTask task, bool on);
    // The flags the sheet took over with Next.
    bool bTaskFlag(WizardTask task) const { return m_taskFlags[Index(task)]; }

    // --- page 4: sample parts ---
    const std::string& HintText() const { return m_hint; }
    bool bStartEnabled() const { return m_startEnabled; }
    bool bDeleteEnabled() const { return m_deleteEnabled; }
    void OnStartRecording();
    void OnDeleteSample();
    // The spin control: -1 previous, +1 next sample part of the current orientation.
    void OnSpin(int step);
    void OnManualAbort();
    // The sample parts of the current type and orientation, in list order.
    std::vector<const OType_Part*> CurrentSamples() const;
    // Index of the shown sample part within CurrentSamples (-1 none).
    int iShownSample() const { return m_shownSample; }
    // The part the current page shows: the chosen sample part on page 4, the most recent
    // part on the bad-part and test-part pages; nullptr elsewhere or when there is none.
    const OType_Part* opShownPart() const;
    const ZRINFO& DeviceInfo() const;

    // --- page 5: more orientations and types ---
    int iHighestType() const { return m_highestType; }
    int iHighestOrientation() const { return m_highestOrientation; }
    bool bOrientationsFinished() const { return m_orientationsFinished; }
    bool bNextOrientationEnabled() const { return m_nextOrientationEnabled; }
    bool bTypeFinishedEnabled() const { return m_typeFinishedEnabled; }
    bool bNextTypeEnabled() const { return m_nextTypeEnabled; }
    bool bAllTypesFinishedEnabled() const { return m_allTypesEnabled; }
    bool bTypeButtonsShown() const { return bTaskFlag(WizardTask::Sorting); }
    void OnNextOrientation();
    void OnTypeFinished();
    void OnNextType();
    void OnAllTypesFinished();

    // --- page 7: the tool search (the window runs it through this dialog model) ---
    OOptimizeWizardDialog& Optimizer() { return *m_optimizer; }

    // --- pages 8 and 10: Teach-Data results ---
    OProjectWizardEvaluation& CreationList() { return m_creation; }
    OProjectWizardEvaluation& EvaluationList() { return m_evaluation; }

    // --- page 11: results (the page's controls write them at once) ---
    struct OResults {
        bool transfer = false;
        int target = 1;  // 1 … n
        bool addDocumentation = true;
        bool saveProject = true;
        bool manualMode = false;
    };
    OResults& Results() { return m_results; }
    const OResults& Results() const { return m_results; }
    std::string TransferCaption() const;
    // The numbers the target list offers: 1 … n.
    int iTransferTargets() const;
    // Whether the path names a project file (ends in ".zrp", either case).
    bool bFinishPathIsProject() const;

    // --- 35107 ---
    void SetPartArrivedHandler(std::function<void()> handler) { m_onPart = std::move(handler); }
    // What the window runs for every received part.
    void OnPartArrived();
    // The document's notifications while the sheet is its wizard window.
    void Post(int commandId, int64_t argument = 0) override;
    bool bHasPending(int) const override { return false; }
    int iRemovePendingAtHead(int, int) override { return 0; }

    // The wizard's position (the session's recording orientation and type).
    int iOrientation() const;
    int iType() const;
    // Maximum orientations and types of the project.
    int iMaxOrientations() const;
    int iMaxTypes() const;

  private:
    static size_t Index(WizardTask task) { return static_cast<size_t>(task); }
    OQuillon& Session() const;
    void Activate(int page);
    int Go(int page);

    bool bStartNext();
    void WriteDeviceIntoProjectData(const ZRINFO& info);
    bool bParametersNext();
    void ActivateTaskSettings();
    void ActivateShowTeachParts();
    void ShowRecordingPrompt();
    void ResetRecordingStart();
    bool bEnoughParts() const;
    void PlayThreeBeeps();
    bool bLeaveDiagnosticMode();
    bool bSendsParts() const;
    void ActivateMoreOris();
    void FinishOrientations();
    void ActivateCreateTeachData();
    void ActivateEvaluation();
    void ReduceLengthInfluence();

    ODoc& m_doc;
    std::unique_ptr<OOptimizeWizardDialog> m_optimizer;
    OProjectWizardEvaluation m_creation{true};
    OProjectWizardEvaluation m_evaluation{true};
    int m_page = ProjectWizardPage::kStart;
    int m_buttons = 0;
    std::string m_info;
    std::string m_name;
    std::string m_path;
    std::array<bool, 6> m_taskBoxes{};
    std::array<bool, 6> m_taskFlags{false, false, true, true, false, false};
    // Whether the device read on page 1 has an encoder (the session keeps its own record
    // when the device is the project's edition).
    bool m_deviceHasEncoder = false;
    std::string m_hint;
    bool m_startEnabled = false;
    bool m_deleteEnabled = false;
    int m_shownSample = -1;
    bool m_orientationsFinished = false;
    int m_highestType = 0;
    int m_highestOrientation = 0;
    bool m_nextOrientationEnabled = false;
    bool m_typeFinishedEnabled = false;
    bool m_nextTypeEnabled = false;
    bool m_allTypesEnabled = false;
    OResults m_results;
    std::function<void()> m_onPart;
};
