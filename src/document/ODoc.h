// The project document: the one object through which every view, dialog and wizard reaches
// the project. It owns the device session (which holds the project's objects) and the
// engines of the device family, runs the new / open / save / close life cycle, keeps the
// modified flag and the title in step, refreshes the views through the ViewHost after
// every change, and executes the program's commands by id.
//
// There is one document per program run; "new" and "open" reuse it. All of it runs on the
// user-interface thread.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/OQuillon.h"
#include "document/EngineFactory.h"
#include "document/ODocClassifierHost.h"
#include "document/ODocExtractionHosts.h"
#include "document/ViewHost.h"
#include "platform/CommandState.h"
#include "platform/CommandTarget.h"

class Clipboard;
class Clock;
class CommandQueue;
class ExternalPrograms;
class OProgressCtrl;
class OProjectExchange;
class ORecentFileList;
class OType_ConfigTool;
class OType_Part;
class OType_PartArray;
class OType_ZRPartSet_SubType;
class ProgressDisplay;
class Settings;
class UserInteraction;

// What the document works with; the references must outlive it.
struct ODocServices {
    Settings& settings;  // the program's own store ("Settings", "WndPos", ...)
    UserInteraction& ui;
    CommandQueue& mainWindow;  // commands posted to the main window
    ViewHost& views;
    ExternalPrograms& programs;
    // The stores shared with companion programs (user and machine-wide), where published
    // window handles live; either may be missing.
    Settings* companionUser = nullptr;
    Settings* companionMachine = nullptr;
    OProgressCtrl* progress = nullptr;  // the main frame's progress object
    Clipboard* clipboard = nullptr;     // the system clipboard with the program's formats
    ORecentFileList* recentFiles = nullptr;
    // Hosts of the engines that the document does not provide itself (the extractor's).
    OEngineHosts engineHosts;
    // Shows the welcome dialog (the application's).
    std::function<void()> runWelcomeDialog;
    // The time source of the device session's debounce; the system clock when missing.
    Clock* clock = nullptr;
    // Where the device link shows its status text (the main frame's status bar).
    ProgressDisplay* statusBar = nullptr;
    // False for programs without windows: messages with a check mark become plain ones.
    bool hasApplication = true;
};

// Operations that later parts of the program provide. Missing ones fall back as described.
struct ODocExtensions {
    // The project-properties dialog and what it applies (steps 2-10 of
    // EditProjectProperties); returns 0 when the target change was refused or failed.
    // Without it nothing is edited and the result is 1.
    std::function<int(int force)> editProjectProperties;
    // Fills a new check program of the editions with a project template (hardware 16 and
    // 1024) with that template's tools; false when it made none.
    std::function<bool(OType_ZRPartSet& partSet)> createEditionTemplate;
};

class ODoc : public CommandTarget, public OQuillonOwner {
  public:
    // Saves the busy flag, sets it and puts the saved value back when it ends.
    class OBusyScope {
      public:
        explicit OBusyScope(ODoc& doc) : m_doc(doc), m_saved(doc.m_busy) { doc.m_busy = 1; }
        ~OBusyScope() { m_doc.m_busy = m_saved; }
        OBusyScope(const OBusyScope&) = delete;
        OBusyScope& operator=(const OBusyScope&) = delete;

      private:
        ODoc& m_doc;
        int m_saved;
    };

    // Creates the session (mode 1) with the start target system from the settings.
    explicit ODoc(ODocServices services);
    // Resets and deletes the session.
    ~ODoc() override;
    ODoc(const ODoc&) = delete;
    ODoc& operator=(const ODoc&) = delete;

    void SetExtensions(ODocExtensions extensions) { m_extensions = std::move(extensions); }
    // Called with every part the device sends into the test list, as it arrives (a running
    // test case takes the device's results this way); an empty function ends it.
    void SetTestPartObserver(std::function<void(const OType_Part&)> observer) {
        m_testPartObserver = std::move(observer);
    }

    // --- framework operations ---
    // Sets up a new project for the target system stored as the last one; false when the
    // session refused it.
    bool OnNewDocument();
    // Opens by file kind; false only when the user cancelled the save question.
    bool OnOpenDocument(const std::string& path);
    bool OnSaveDocument(const std::string& path);
    // Closing at program exit; false when the project stays open.
    bool OnCloseDocument();
    bool IsModified() const { return m_modified; }
    // Keeps exactly one trailing "*" on the title while flag is 1.
    void SetModifiedFlag(int flag = 1);
    const std::string& GetTitle() const { return m_title; }
    void SetTitle(std::string title);
    const std::string& GetPathName() const { return m_pathName; }
    void SetPathName(std::string path) { m_pathName = std::move(path); }

    // --- commands ---
    void OnCommand(int commandId, int64_t argument) override;
    OCommandState GetCommandState(int commandId) const;
    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    void OnFileClose();
    void OnUndo();
    void OnRedo();

    // --- device session ---
    // Starts or stops recording into the sample list (teach 1) or the test list.
    void StartRecording(int teach, int start, int images);
    // The project-wizard window, told of every received part (35107); nullptr when none.
    void SetWizardWindow(CommandQueue* wizard) { m_wizardWindow = wizard; }
    // The tool kind and sub-kind of a tool command for a device family; false for other ids.
    static bool bToolOfCommand(int commandId, int family, int& kind, int& subKind);
    // The data-output kind of a data-output command; 0 for other ids.
    static int iDataOutputOfCommand(int commandId);

    // --- document services ---
    // 1 go on, 0 stop. ask: ask whether to save; force: save even when not modified.
    int SaveProject(int ask, int force);
    // 1 saved, 2 cancelled by the user, 0 failed (errorText says why).
    int WriteProjectFile(const std::string& path, std::string& errorText);
    // 1 loaded, 2 cancelled, 0 failed; a failure leaves a fresh empty project.
    int LoadProjectFile(const std::string& path, std::string& errorText, int quiet);
    void RefreshViews(const void* sender = nullptr, int hint = 0, const void* object = nullptr);
    int Recompute(OType_ZRPartSet* partSet, int toolsChanged, int testOnly, int resortTeach,
                  int resortTest, int option);
    void RecomputeAll(int toolsChanged, int testOnly, int resortTeach, int resortTest, int option);
    void RefreshPartSetBar(int resendPaint);
    // Hides the wizard bar and every child frame except the one of `except`.
    void HideChildFrames(std::optional<ViewKind> except = std::nullopt);
    void ShowChildFrames();
    // Opens or activates a view (the view commands); false when its frame cannot be made.
    bool ShowView(ViewKind kind);
    bool ShowPartListView() { return ShowView(ViewKind::PartList); }
    bool ShowPartContourView() { return ShowView(ViewKind::PartContour); }
    bool ShowTeachDataView() { return ShowView(ViewKind::TeachData); }
    // Destroys the communication manager's frame (not while it runs a command itself).
    void CloseCommunicationManager();
    // Runs a device command for the communication manager, which stays open meanwhile.
    void ExecuteFromCommunicationManager(int commandId);
    // The tool manager as the linked tool window: a tool added from the menu is shown in it
    // as well as in the part contour view.
    bool bIsLinkedToolWindow() const { return m_linkedToolWindow; }
    void SetLinkedToolWindow(bool linked) { m_linkedToolWindow = linked; }
    int EditProjectProperties(int force);
    int CheckProjectConsistency();
    // Imports picture files as parts of the sample list (teach 1) or the test list of the
    // actual part set: the file dialog (unless `files` are given), the import dialog
    // (ODlg_ImportImages), then the parts are appended, recomputed and stored as one undo
    // step. 1 imported, 2 cancelled, 0 none.
    int ImportCameraImages(int teach, std::vector<std::string> files = {});
    // Stores an undo step with "UNDO:" + description and the same followed by " ...".
    bool bStoreUndoStep(OType_ZRPartSet& partSet, std::string_view description, int viewCommand);

    // --- part editing (ODoc_PartCommands.cpp) ---
    // The navigation, assignment, standard-reference, mirror, camera-image and
    // check-program commands.
    static bool bIsPartCommand(int commandId);
    // The part properties dialog for the shown part, or for the selected parts of the shown
    // list; true when it changed a part (the caller recomputes and refreshes).
    bool bEditPartProperties(bool selection);
    // Shows part `number` (sort position) of the list the actual part set shows.
    void ShowShownListPart(int number);
    void GotoPartNo();
    // Makes check program `number` the actual one.
    void SelectPartSet(int number);
    static bool bHasSelectedPart(const OType_PartArray& list);
    static bool bAnyPartHasImages(const OType_ZRPartSet& partSet);
    // The check-program clipboard format of a device family.
    static std::string PartSetFormat(int family);
    // Of the program's clipboard formats, the first one the clipboard offers (the priority
    // check): 1 or 2 when it is the family-1 or family-2 format given, else -1.
    int iOfferedFamily(int family1FormatId, int family2FormatId) const;

    // --- show operations of the actual part set; refresh 1 ends with RefreshViews ---
    int SelectFeature(int index, int refresh = 1);
    void SelectNextFeature(int refresh = 1);
    void SelectPrevFeature(int refresh = 1);
    int ShowTeachPart(int number, int mode = 0, int refresh = 1);
    void ShowNextTeachPart(int refresh = 1);
    void ShowPrevTeachPart(int refresh = 1);
    int ShowTestPart(int number, int mode = 0, int refresh = 1);
    void ShowNextTestPart(int refresh = 1);
    void ShowPrevTestPart(int refresh = 1);
    int ShowVector(int number, int refresh = 1);
    void ShowNextVector(int refresh = 1);
    void ShowPrevVector(int refresh = 1);
    int ShowDataOutput(int number, int refresh = 1);
    void ShowNextDataOutput(int refresh = 1);
    void ShowPrevDataOutput(int refresh = 1);
    int ShowTeachOrTestList(int teach, int refresh = 1);

    // --- accessors; nothing when the session or the object is missing ---
    OQuillon* opGetSession() const { return m_session.get(); }
    OType_ZRPartSet* opGetActualPartSet() const;
    OType_ZRPartSet* opGetPartSet(int n) const;
    OType_ZRPartSet_SubType* opGetActualPartType() const;
    OType_ZRPartSet_SubType* opGetPartType(int n) const;
    OType_Part* opGetShowPart() const;
    OType_ConfigTool* opGetToolOfFeature(int feature) const;
    OType_ConfigTool* opGetToolOfShownFeature() const;
    OType_ProjectProperties* opGetProjectProperties() const;
    OProgressCtrl* opGetProgress() override { return m_services.progress; }
    OExtractor* opGetExtractor() const { return m_engines.extractor.get(); }
    OClassifier* opGetClassifier() const { return m_engines.classifier.get(); }
    // The engines of the project's family, made when the family changed. They live beside
    // their windows, so no window has to be open for an extraction run.
    OExtractor* opEnsureExtractor();
    OClassifier* opEnsureClassifier();
    Clipboard* opGetClipboard() const { return m_services.clipboard; }
    // The document as host of the family-1 extraction engine (its windows drive it with it).
    OExtractorHost& ExtractorHost() {
        return m_services.engineHosts.extractor ? *m_services.engineHosts.extractor
                                                : m_extractorHost;
    }
    int iGetFamily() const { return m_session ? m_session->iGetFamily() : 1; }

    // --- state ---
    int iGetBusy() const { return m_busy; }
    void SetBusy(int busy) { m_busy = busy; }
    int iGetNewProject() const { return m_newProject; }
    void SetNewProject(int flag) { m_newProject = flag; }
    const std::string& GetLastFolder() const { return m_lastFolder; }
    void SetLastFolder(std::string folder) { m_lastFolder = std::move(folder); }
    // Export and Import of single pieces of the project.
    OProjectExchange& Exchange() { return *m_exchange; }

    bool bIsLinkStateChanging() const override { return m_linkStateChanging; }

    // --- OQuillonOwner ---
    void RepaintMainFrame() override;
    void SetLinkStateChanging(bool changing) override { m_linkStateChanging = changing; }
    ProgressDisplay* opGetStatusBar() override { return m_services.statusBar; }
    CommandQueue* opGetMainWindow() override { return &m_services.mainWindow; }
    Clock* opGetClock() override { return m_services.clock; }
    bool bHasApplication() const override { return m_services.hasApplication; }
    void BringMainWindowToFront() override;
    void CancelActiveModalDialog() override;
    void RefreshAllViews() override { RefreshViews(); }
    void RefreshPartLists() override;
    void ShowPartListFrame() override { ShowPartListView(); }
    void UpdatePartListView() override;
    void SetModified() override { SetModifiedFlag(1); }
    void RecomputeAndRefresh() override;
    void RecomputeAfterToolChange(OType_ZRPartSet& partSet) override;
    void RecomputeAfterToolEdit(OType_ZRPartSet& partSet) override;
    std::string GetProjectFolder() const override;

    ViewHost& Views() const { return m_services.views; }
    UserInteraction& UI() const { return m_services.ui; }
    Settings& SettingsStore() const { return m_services.settings; }

  private:
    std::function<void(const OType_Part&)> m_testPartObserver;
    bool bHasProject() const;
    void EnsureEngines();
    void ShowOrHideWizardBar(bool shown);
    void ToggleSetting(int& value, const char* name);
    void StartCompanionViewer();
    // "Print project": the printouts of the printing views as one job.
    void PrintProject();
    void ActivateFromCompanion();
    std::optional<int64_t> ReadCompanionWindowHandle() const;
    void ShowLoadError(int textId, const std::string& errorText);
    void ResetToFreshProject(const std::string& path);
    std::string ChooseSavePath(const std::string& path);
    std::string ChooseOpenPath(const std::string& path);
    int WriteToFile(const std::string& path, std::string& errorText);
    int ReadFromFile(const std::string& path, std::string& errorText,
                     std::vector<std::string>& notes);
    int ReadLegacyFile(const std::string& path, std::string& errorText,
                       std::vector<std::string>& notes);
    void FinishLoading(int quiet, const std::vector<std::string>& notes);
    OCommandState ViewCommandState(ViewKind kind) const;
    // Part-editing commands (ODoc_PartCommands.cpp).
    bool bOnPartCommand(int id, int64_t argument);
    std::optional<OCommandState> PartCommandState(int id) const;
    void AssignToSelectedSampleParts(const std::function<void(OType_Part&)>& assign,
                                     std::string_view undoText);
    void MirrorSelectedParts(bool vertical);
    void DeleteCameraImages();
    void StoreReferencesChanged(OType_ZRPartSet& partSet);
    void AssignStandardReference(int reference);
    void AutoAssignStandardReferences();
    void AddCheckProgram();
    void FillEditionTemplate(OType_ZRPartSet& partSet);
    void DeleteCheckProgram();
    // The family (1 or 2) of the check program the clipboard offers first; -1 none.
    int iOfferedPartSetFormat() const;
    void CopyCheckProgram();
    void PasteCheckProgram();
    void EditCheckProgramProperties();
    // Teach-Data commands of the shown part type (ODoc_TeachData.cpp).
    bool bOnTeachDataCommand(int id);
    std::optional<OCommandState> TeachDataCommandState(int id) const;
    // Device commands and link notifications (ODoc_Device.cpp).
    bool bOnDeviceCommand(int id);
    std::optional<OCommandState> DeviceCommandState(int id) const;
    void OnLinkNotification(int id);
    void AfterPartsFetched(const OFetchResult& result);
    void ToggleRecording(int teach);
    void RecomputeRecordedParts();
    void RecordWithoutCameraImages();
    void RecordWithoutContourImages();
    void SendTrigger();
    void ToggleRecordToFile();
    void CalibrateCoordinateTransformation();
    // "Check program manager": the dialog of the target, and what follows when it closes.
    void RunCheckProgramManager();

    ODocServices m_services;
    ODocExtensions m_extensions;
    std::unique_ptr<OQuillon> m_session;
    std::unique_ptr<OProjectExchange> m_exchange;
    ODocClassifierHost m_classifierHost{*this};
    ODocExtractorHost m_extractorHost{*this};
    ODocRecomputeHost m_recomputeHost{*this};
    OFamilyEngines m_engines;
    int m_engineFamily = 0;

    std::string m_title;
    std::string m_pathName;
    bool m_modified = false;
    int m_newProject = 1;
    std::string m_lastFolder;
    int m_busy = 1;
    bool m_projectSetUp = false;
    bool m_linkStateChanging = false;
    bool m_keepCommunicationManager = false;
    bool m_linkedToolWindow = false;
    CommandQueue* m_wizardWindow = nullptr;
};
