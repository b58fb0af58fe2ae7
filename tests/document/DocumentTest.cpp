// The document's life cycle, commands and their states, views and the companion viewer.
#include "DocTestSupport.h"
#include "document/CommandIds.h"
#include "document/CommandTable.h"
#include "document/DocumentTexts.h"
#include "extraction/OContourViewController.h"
#include "extraction/ODlg_ContourLimits.h"
#include "extraction/OExtr_Default.h"
#include "model/strings/ResStr.h"

namespace {

using namespace doctest;

constexpr OTargetSystem kFamily1{1, 818, 0, 6, 2, 8};

struct Document : DocFixture {
    void SetUp() override {
        NewProject(kFamily1);
        ui.Clear();
        views().ClearCalls();
    }
    std::string SaveTo(const std::string& name) {
        std::string error;
        const std::string path = Path(name);
        EXPECT_EQ(doc().WriteProjectFile(path, error), 1) << error;
        return path;
    }
};

TEST_F(Document, ANewProjectTakesTheLastTargetAndTheSettingsDefaults) {
    settings.SetInt("Settings", "PROJECT_USE_QUALITY", 0);
    settings.SetInt("Settings", "SHOW_WIZARD_BAR", 0);
    settings.SetInt("Settings", "SHOW_AS_WORLD_COORDS", 1);
    ASSERT_TRUE(doc().OnNewDocument());
    EXPECT_EQ(session().GetTargetSystem(), kFamily1);
    EXPECT_EQ(session().ProjectProperties().useQuality, 0);
    EXPECT_EQ(session().Options().showWorldCoords, 1);
    EXPECT_FALSE(views().bHasWizardBar());
    EXPECT_EQ(doc().GetTitle(), ResStr(3267));
    EXPECT_EQ(session().opGetActualPartSet()->iGetNum_SubTypes(), 2);
}

TEST_F(Document, TheDocumentStartsWithTheStartTargetUntilANewProjectIsMade) {
    OSettings_Memory fresh;
    OViewHost_Recording host;
    OCommandQueue_Manual queue;
    OExternalPrograms_Recording programs;
    ODoc started(ODocServices{fresh, ui, queue, host, programs});
    EXPECT_EQ(started.opGetSession()->GetTargetSystem(), TargetSystem::kDocumentStartDefaults);
    EXPECT_EQ(started.iGetBusy(), 1) << "busy from construction";
    ASSERT_TRUE(started.OnNewDocument());
    EXPECT_EQ(started.opGetSession()->GetTargetSystem(), TargetSystem::kNewProjectDefaults);
}

TEST_F(Document, ARefusedTargetFailsTheNewProject) {
    settings.SetInt("Settings", "TARGET_SYSTEM_SW", 1);
    ui.ExpectMessage(MsgResult::Ok, ResStr(4200));
    EXPECT_FALSE(doc().OnNewDocument());
    ExpectNoMismatch();
}

TEST_F(Document, TheTitleGetsExactlyOneStar) {
    doc().SetTitle("housing.zrp");
    for (int i = 0; i < 3; ++i)
        doc().SetModifiedFlag(1);
    EXPECT_EQ(doc().GetTitle(), "housing.zrp*");
    EXPECT_EQ(views().DocumentTitle(), "housing.zrp*");
    EXPECT_TRUE(doc().IsModified());
    doc().SetModifiedFlag(0);
    doc().SetModifiedFlag(0);
    EXPECT_EQ(doc().GetTitle(), "housing.zrp");
    doc().SetModifiedFlag(1);
    doc().SetTitle("renamed");
    EXPECT_EQ(doc().GetTitle(), "renamed*") << "a new title of a modified project keeps the star";
}

TEST_F(Document, AChangedTitleWithoutVisibleViewsReactivatesTheLastFrame) {
    doc().SetModifiedFlag(1);
    EXPECT_EQ(views().iCallCount("reactivate last frame"), 1);
    doc().ShowPartListView();
    views().ClearCalls();
    doc().SetModifiedFlag(0);
    EXPECT_EQ(views().iCallCount("reactivate last frame"), 0);
}

TEST_F(Document, CancelInTheSaveQuestionOfFileOpenChangesNothing) {
    AddParts(*session().opGetActualPartSet(), 3, 0);
    doc().SetModifiedFlag(1);
    ui.ExpectMessage(MsgResult::Cancel, ResStr(5005));
    doc().OnCommand(Cmd::kFileOpen, 0);
    EXPECT_TRUE(doc().IsModified());
    EXPECT_EQ(session().opGetActualPartSet()->TeachParts().iGetSize(), 3);
    EXPECT_EQ(doc().iGetBusy(), 0) << "busy is restored on the early exit";
    ExpectNoMismatch();
}

TEST_F(Document, FileOpenShowsTheFailureAndStartsFresh) {
    const std::string path = Path("bad.zrp");
    WriteFile(path, Bytes(std::string(300, 'x')));
    ui.AnswerFileOpen({path});
    ui.ExpectMessage(MsgResult::Ok, ResStr(5103) + "\r\n\r\n" + ResStr(5105));
    doc().OnCommand(Cmd::kFileOpen, 0);
    EXPECT_EQ(session().PartSets().iGetNum(), 1);
    EXPECT_FALSE(doc().IsModified());
    EXPECT_EQ(ui.Transcript().back().icon, MsgIcon::Error);
    ExpectNoMismatch();
}

TEST_F(Document, SaveAsCancelledKeepsTheProjectPath) {
    const std::string path = SaveTo("first.zrp");
    ui.CancelFileSave();
    doc().OnCommand(Cmd::kFileSaveAs, 0);
    EXPECT_EQ(session().GetProjectPath(), path);
    ui.AnswerFileSave(Path("second.zrp"));
    doc().OnCommand(Cmd::kFileSaveAs, 0);
    EXPECT_EQ(session().GetProjectPath(), Path("second.zrp"));
    EXPECT_TRUE(std::filesystem::exists(Path("second.zrp")));
    ExpectNoMismatch();
}

TEST_F(Document, SaveProjectBranches) {
    EXPECT_EQ(doc().SaveProject(1, 0), 1) << "nothing to save";
    EXPECT_TRUE(ui.Transcript().empty());
    doc().SetModifiedFlag(1);
    ui.ExpectMessage(MsgResult::No);
    EXPECT_EQ(doc().SaveProject(1, 0), 1);
    EXPECT_TRUE(doc().IsModified()) << "No goes on without saving";
    ui.ExpectMessage(MsgResult::Cancel);
    EXPECT_EQ(doc().SaveProject(1, 0), 0);
    ui.ExpectMessage(MsgResult::Yes);
    ui.CancelFileSave();
    EXPECT_EQ(doc().SaveProject(1, 0), 0) << "a cancelled dialog stops";
    ui.ExpectMessage(MsgResult::Yes);
    ui.AnswerFileSave(Path("saved.zrp"));
    EXPECT_EQ(doc().SaveProject(1, 0), 1);
    EXPECT_FALSE(doc().IsModified());
    EXPECT_EQ(doc().iGetBusy(), 0);
    ExpectNoMismatch();
}

TEST_F(Document, FileCloseAsksAndSavesOnlyOnYes) {
    doc().OnCommand(Cmd::kFileClose, 0);
    EXPECT_TRUE(ui.Transcript().empty());
    doc().SetModifiedFlag(1);
    ui.ExpectMessage(MsgResult::No, ResStr(5005));
    doc().OnCommand(Cmd::kFileClose, 0);
    EXPECT_TRUE(doc().IsModified());
    ui.ExpectMessage(MsgResult::Yes, ResStr(5005));
    ui.AnswerFileSave(Path("closed.zrp"));
    doc().OnCommand(Cmd::kFileClose, 0);
    EXPECT_FALSE(doc().IsModified());
    EXPECT_EQ(session().PartSets().iGetNum(), 1) << "the project stays open";
    ExpectNoMismatch();
}

TEST_F(Document, FileNewResetsAndRunsTheWelcomeDialog) {
    int welcomes = 0;
    OViewHost_Recording host;
    OCommandQueue_Manual queue;
    OExternalPrograms_Recording programs;
    ODocServices services{settings, ui, queue, host, programs};
    services.runWelcomeDialog = [&] { ++welcomes; };
    ODoc other(std::move(services));
    other.OnNewDocument();
    AddParts(*other.opGetActualPartSet(), 4, 0);
    other.SetModifiedFlag(1);
    ui.ExpectMessage(MsgResult::No, ResStr(5005));
    other.OnCommand(Cmd::kFileNew, 0);
    EXPECT_EQ(welcomes, 1);
    EXPECT_TRUE(other.opGetActualPartSet()->TeachParts().bIsEmpty());
    EXPECT_FALSE(other.IsModified());
    EXPECT_EQ(other.iGetNewProject(), 1);
    ExpectNoMismatch();
}

TEST_F(Document, OpeningByPathChoosesByTheContainedText) {
    const std::string project = SaveTo("p.zrp");
    // Files that do not exist: each kind reports its own failure and keeps the project.
    ui.ExpectMessage(MsgResult::Ok, ResStr(2018));
    EXPECT_TRUE(doc().OnOpenDocument(Path("lower.kvc")));
    ui.ExpectMessage(MsgResult::Ok, ResStr(2018));
    EXPECT_TRUE(doc().OnOpenDocument(Path("UPPER.KVC")));
    ui.ExpectMessage(MsgResult::Ok, ResStr(5103));
    EXPECT_TRUE(doc().OnOpenDocument(Path("mixed.Kvl")));
    ui.ExpectMessage(MsgResult::Ok, ResStr(2017));
    EXPECT_TRUE(doc().OnOpenDocument(Path("teach.ZRT")));
    EXPECT_EQ(session().GetProjectPath(), project)
        << "a file that cannot be read keeps the project";
    EXPECT_TRUE(doc().OnOpenDocument(project));
    EXPECT_EQ(session().GetProjectPath(), project);
    ExpectNoMismatch();
}

TEST_F(Document, APartListFileIsLoadedAsSampleOrTestParts) {
    OType_ZRPartSet source;
    AddParts(source, 6, 0);
    const std::string list = Path("parts.zrl");
    ASSERT_EQ(source.iParts2File(true, list, 1, nullptr), 1);
    // The new project's properties come first; Cancel keeps the target.
    ui.CancelDialog("ODlg_IdentifyZRType");
    ui.ExpectMessage(MsgResult::Yes, ResStr(5004));
    EXPECT_TRUE(doc().OnOpenDocument(list));
    EXPECT_EQ(session().opGetActualPartSet()->TeachParts().iGetSize(), 6);
    ui.CancelDialog("ODlg_IdentifyZRType");
    ui.ExpectMessage(MsgResult::No, ResStr(5004));
    EXPECT_TRUE(doc().OnOpenDocument(list));
    EXPECT_EQ(session().opGetActualPartSet()->TeachParts().iGetSize(), 0);
    EXPECT_EQ(session().opGetActualPartSet()->TestParts().iGetSize(), 6);
    EXPECT_FALSE(doc().IsModified());
    ExpectNoMismatch();
}

TEST_F(Document, ViewsOpenWithTheFamilysTemplatesAndActivateWhenTheyExist) {
    doc().OnCommand(Cmd::kViewPartContour, 0);
    doc().OnCommand(Cmd::kViewTeachData, 0);
    ASSERT_NE(views().opFrame(ViewKind::PartContour), nullptr);
    EXPECT_EQ(views().opFrame(ViewKind::PartContour)->templateId, 162);
    EXPECT_EQ(views().opFrame(ViewKind::TeachData)->templateId, 168);
    EXPECT_EQ(views().iCallCount("placement Part contour EXTRACTOR"), 1);
    views().ClearCalls();
    views().SetFrameMinimised(ViewKind::PartContour, true);
    doc().OnCommand(Cmd::kViewPartContour, 0);
    EXPECT_EQ(views().Calls()[0], "placement Part contour EXTRACTOR");
    EXPECT_EQ(views().Calls()[1], "restore Part contour");
    EXPECT_EQ(views().iCallCount("create"), 0);
    EXPECT_EQ(views().ActiveFrame(), ViewKind::PartContour);
}

TEST_F(Document, AFrameOutsideTheMainWindowComesBackAtFiveFive) {
    doc().OnCommand(Cmd::kViewFeatureGraph, 0);
    views().SetFrameRect(ViewKind::FeatureGraph, {1300, 900, 1700, 1200});
    doc().OnCommand(Cmd::kViewFeatureGraph, 0);
    EXPECT_EQ(views().FrameRect(ViewKind::FeatureGraph), (OFrameRect{5, 5, 405, 305}));
    views().SetFrameRect(ViewKind::FeatureGraph, {1199, 799, 1599, 1099});
    doc().OnCommand(Cmd::kViewFeatureGraph, 0);
    EXPECT_EQ(views().FrameRect(ViewKind::FeatureGraph).left, 1199) << "one pixel inside stays";
    views().SetStoredPlacement("PROJECT", {-900, -700, -500, -300});
    doc().OnCommand(Cmd::kViewProjectDocumentation, 0);
    EXPECT_EQ(views().FrameRect(ViewKind::ProjectDocumentation), (OFrameRect{5, 5, 405, 405}));
}

TEST_F(Document, AFrameThatCannotBeMadeIsReported) {
    views().SetCreationFails(ViewKind::DataOutput, true);
    ui.ExpectMessage(MsgResult::Ok, DocumentText::kCannotCreateFrame);
    doc().OnCommand(Cmd::kViewDataOutput, 0);
    EXPECT_FALSE(views().bHasView(ViewKind::DataOutput));
    ExpectNoMismatch();
}

TEST_F(Document, CommandsCloseTheCommunicationManagerFirst) {
    doc().OnCommand(Cmd::kViewCommunicationManager, 0);
    ASSERT_TRUE(views().bHasView(ViewKind::CommunicationManager));
    doc().OnCommand(Cmd::kViewPartList, 0);
    EXPECT_FALSE(views().bHasView(ViewKind::CommunicationManager)) << "destroyed, not hidden";
}

TEST_F(Document, ShowChildFramesHidesQualityViewsWithoutQualityInspection) {
    doc().ShowPartListView();
    doc().ShowTeachDataView();
    doc().ShowView(ViewKind::DataOutput);
    doc().HideChildFrames(ViewKind::PartList);
    EXPECT_TRUE(views().bIsFrameVisible(ViewKind::PartList));
    EXPECT_FALSE(views().bIsFrameVisible(ViewKind::TeachData));
    EXPECT_FALSE(views().bHasWizardBar());
    session().ProjectProperties().useQuality = 0;
    doc().ShowChildFrames();
    EXPECT_TRUE(views().bIsFrameVisible(ViewKind::PartList));
    EXPECT_FALSE(views().bIsFrameVisible(ViewKind::TeachData));
    EXPECT_FALSE(views().bIsFrameVisible(ViewKind::DataOutput));
    EXPECT_EQ(views().ActiveFrame(), ViewKind::PartList) << "the first view comes to the top";
    EXPECT_TRUE(views().bHasWizardBar());
    session().ProjectProperties().useQuality = 1;
    doc().ShowChildFrames();
    EXPECT_TRUE(views().bIsFrameVisible(ViewKind::TeachData));
}

TEST_F(Document, ThePartSetBarFollowsTheNumberOfPartSets) {
    session().ProjectProperties().useMultiplePartSets = 0;
    doc().RefreshPartSetBar(0);
    EXPECT_FALSE(views().bHasPartSetBar());
    session().AddPartSet(std::string("Second\r\nline"));
    doc().RefreshViews();
    EXPECT_EQ(session().ProjectProperties().useMultiplePartSets, 1);
    ASSERT_TRUE(views().bHasPartSetBar());
    EXPECT_EQ(views().PartSetBarEntries(), (std::vector<std::string>{"1. ", "2. Second  line"}));
    EXPECT_EQ(views().iPartSetBarSelection(), 0);
}

TEST_F(Document, RefreshViewsGivesTheFocusBack) {
    views().SetFocusedWindow(77);
    const int before = views().iUpdateAllCount();
    doc().RefreshViews();
    EXPECT_EQ(views().iUpdateAllCount(), before + 1);
    EXPECT_EQ(views().Calls().back(), "focus 77");
}

TEST_F(Document, UndoAndRedoPerPartSetWithTheirTexts) {
    OType_ZRPartSet& set = *session().opGetActualPartSet();
    EXPECT_FALSE(doc().GetCommandState(Cmd::kEditUndo).enabled);
    AddParts(set, 2, 0);
    ASSERT_TRUE(doc().bStoreUndoStep(set, DocumentText::kUndoStandardReferences, 32861));
    EXPECT_EQ(set.UndoRedo().GetUndoShortText(), "UNDO:Changed standard references");
    EXPECT_EQ(set.UndoRedo().GetUndoLongText(), "UNDO:Changed standard references ...");
    EXPECT_EQ(set.UndoRedo().iGetUndoViewCommand(), 32861);
    EXPECT_TRUE(doc().GetCommandState(Cmd::kEditUndo).enabled);
    EXPECT_FALSE(doc().GetCommandState(Cmd::kEditRedo).enabled);

    OType_ZRPartSet* other = session().AddPartSet(true);
    EXPECT_FALSE(other->UndoRedo().bHasUndoData()) << "every part set has its own history";

    doc().OnCommand(Cmd::kEditUndo, 0);
    EXPECT_EQ(set.TeachParts().iGetSize(), 0);
    EXPECT_TRUE(doc().GetCommandState(Cmd::kEditRedo).enabled);
    doc().OnCommand(Cmd::kEditRedo, 0);
    EXPECT_EQ(set.TeachParts().iGetSize(), 2);
    EXPECT_TRUE(views().bHasPartSetBar()) << "undo and redo refresh the part-set bar";
}

TEST_F(Document, DisplayTogglesAreStoredAndChecked) {
    const int before = session().Options().displayReceivedPart;
    EXPECT_EQ(doc().GetCommandState(Cmd::kToggleDisplayReceivedPart).checked, before != 0);
    doc().OnCommand(Cmd::kToggleDisplayReceivedPart, 0);
    EXPECT_EQ(settings.iGetInt("Settings", "DISPLAYRECEIVEDPART", -1), before ? 0 : 1);
    EXPECT_EQ(doc().GetCommandState(Cmd::kToggleDisplayReceivedPart).checked, before == 0);

    doc().OnCommand(Cmd::kToggleWorldCoordinates, 0);
    EXPECT_EQ(settings.iGetInt("Settings", "SHOW_AS_WORLD_COORDS", -1), 1);
    EXPECT_TRUE(doc().GetCommandState(Cmd::kToggleWorldCoordinates).checked);

    const bool bar = views().bHasWizardBar();
    doc().OnCommand(Cmd::kToggleWizardBar, 0);
    EXPECT_EQ(views().bHasWizardBar(), !bar);
    EXPECT_EQ(settings.iGetInt("Settings", "SHOW_WIZARD_BAR", -1), bar ? 0 : 1);
    EXPECT_EQ(doc().GetCommandState(Cmd::kToggleWizardBar).checked, !bar);
}

TEST_F(Document, ClosingStoresWizardBarFolderAndBeep) {
    views().ShowWizardBar(true);
    session().Options().msgBeep = 0;
    SaveTo("folder.zrp");
    EXPECT_TRUE(doc().OnCloseDocument());
    EXPECT_EQ(settings.iGetInt("Settings", "SHOW_WIZARD_BAR", -1), 1);
    EXPECT_FALSE(views().bHasWizardBar());
    EXPECT_EQ(settings.GetText("Settings", "PATH", ""), dir.Path().string());
    EXPECT_EQ(settings.iGetInt("Settings", "MSG_BEEP", -1), 0);
    EXPECT_EQ(session().PartSets().iGetNum(), 0);
}

TEST_F(Document, TheCompanionViewerIsActivatedWhenItsWindowExists) {
    headless->CompanionMachine().SetText("Windows", "Mirrel_hWnd", "4711");
    headless->Programs().SetExistingWindow(4711);
    doc().OnCommand(Cmd::kStartCompanionViewer, 0);
    ASSERT_EQ(headless->Programs().Activations().size(), 1u);
    EXPECT_EQ(headless->Programs().Activations()[0], (std::pair<int64_t, int>{4711, 35120}));
    EXPECT_TRUE(headless->Programs().StartAttempts().empty());
    EXPECT_TRUE(ui.Transcript().empty());
}

TEST_F(Document, TheCompanionViewerIsStartedFromItsPathThenTheDefaultThenAChosenFile) {
    headless->CompanionUser().SetText("Windows", "Mirrel_hWnd", "123456789012345678901");
    session().Options().viewerPath = "/opt/viewer/mirrel?";
    ui.ExpectMessage(MsgResult::Ok, ResStr(2142));
    ui.ExpectMessage(MsgResult::Ok, ResStr(2143));
    ui.AnswerFileOpen({"/usr/bin/mirrel"});
    doc().OnCommand(Cmd::kStartCompanionViewer, 0);
    EXPECT_EQ(headless->Programs().StartAttempts(),
              (std::vector<std::string>{"/opt/viewer/mirrel?", OOptionValues::kDefaultViewerPath,
                                        "/usr/bin/mirrel"}));
    EXPECT_EQ(ui.Transcript()[2].fileRequest.initialPath, "/opt/viewer/mirrel_");
    EXPECT_EQ(ui.Transcript()[2].fileRequest.filter, ResStr(5308));
    EXPECT_EQ(settings.GetText("Settings", "MIRREL_PATH", ""), "/usr/bin/mirrel");
    ExpectNoMismatch();

    ui.Clear();
    headless->Programs().AllowStart("/usr/bin/mirrel");
    ui.ExpectMessage(MsgResult::Ok, ResStr(2142));
    doc().OnCommand(Cmd::kStartCompanionViewer, 0);
    EXPECT_EQ(headless->Programs().StartAttempts().back(), "/usr/bin/mirrel");
    ExpectNoMismatch();
}

TEST_F(Document, ActivationFromTheCompanionShowsTheFirstViewOrThePartList) {
    doc().OnCommand(Cmd::kActivateFromCompanion, 0);
    EXPECT_TRUE(views().bHasView(ViewKind::PartList));
    EXPECT_EQ(views().Calls().front(), "main window to front");
    doc().ShowTeachDataView();
    views().ClearCalls();
    doc().OnCommand(Cmd::kActivateFromCompanion, 0);
    EXPECT_EQ(views().Calls(),
              (std::vector<std::string>{"main window to front", "activate Part list"}));
}

TEST_F(Document, PrintProjectOpensThePrintingViewsAndPrintsThemAsOneJob) {
    EXPECT_TRUE(doc().GetCommandState(Cmd::kPrintProject).enabled);
    views().SetCreatable(ViewKind::ProjectDocumentation, false);
    doc().OnCommand(Cmd::kViewFeatureGraph, 0);
    views().ClearCalls();
    doc().OnCommand(Cmd::kPrintProject, 0);
    EXPECT_EQ(views().iCallCount("create Part contour"), 1);
    EXPECT_EQ(views().iCallCount("create Teach-Data"), 1);
    EXPECT_EQ(views().iCallCount("create Feature graph"), 0) << "already open";
    EXPECT_EQ(views().iCallCount("create Project documentation"), 0) << "no window for it";
    ASSERT_FALSE(views().Calls().empty());
    EXPECT_EQ(views().Calls().back(), "print Part contour Teach-Data Feature graph");

    // Without the quality decision the Teach-Data are not printed, even when their window
    // is still open.
    session().ProjectProperties().useQuality = 0;
    views().ClearCalls();
    doc().OnCommand(Cmd::kPrintProject, 0);
    EXPECT_EQ(views().iCallCount("create"), 0);
    ASSERT_FALSE(views().Calls().empty());
    EXPECT_EQ(views().Calls().back(), "print Part contour Feature graph");

    session().ResetSession();
    EXPECT_FALSE(doc().GetCommandState(Cmd::kPrintProject).enabled);
}

TEST_F(Document, CommandsOfLaterPartsAreDisabledAndUnknownIdsDoNothing) {
    // Data outputs whose kinds no tool library registered are not offered either.
    for (int id : {33085, 32921, 32784}) {
        EXPECT_FALSE(doc().GetCommandState(id).enabled) << id;
        doc().OnCommand(id, 0);
    }
    EXPECT_FALSE(doc().GetCommandState(1).enabled);
    EXPECT_TRUE(doc().GetCommandState(Cmd::kFileSave).enabled);
    views().SetCreatable(ViewKind::FeatureGraph, false);
    EXPECT_FALSE(doc().GetCommandState(Cmd::kViewFeatureGraph).enabled)
        << "a view without a window is not offered";
    EXPECT_TRUE(doc().GetCommandState(Cmd::kViewPartList).enabled);
}

TEST_F(Document, NothingIsEnabledWithoutAPartSet) {
    session().ResetSession();
    for (int id : {Cmd::kFileSave, Cmd::kViewPartList, Cmd::kToggleWizardBar})
        EXPECT_FALSE(doc().GetCommandState(id).enabled) << id;
    doc().OnCommand(Cmd::kViewPartList, 0);
    EXPECT_FALSE(views().bHasView(ViewKind::PartList));
}

TEST_F(Document, ShowOperationsClampAndRefresh) {
    OType_ZRPartSet& set = *session().opGetActualPartSet();
    AddParts(set, 3, 2);
    const int before = views().iUpdateAllCount();
    EXPECT_EQ(doc().ShowTeachPart(10, 0, 0), 2);
    EXPECT_EQ(views().iUpdateAllCount(), before) << "no refresh asked";
    doc().ShowPrevTeachPart();
    EXPECT_EQ(set.iShowTeachPartGetNo(), 1);
    EXPECT_EQ(views().iUpdateAllCount(), before + 1);
    EXPECT_EQ(doc().ShowTeachOrTestList(0, 0), 0);
    doc().ShowNextTestPart(0);
    EXPECT_EQ(set.iShowTestPartGetNo(), 1);
    EXPECT_EQ(doc().opGetShowPart(), set.TestParts().GetAt(1));
}

}  // namespace

namespace {

using namespace doctest;

TEST_F(DocFixture, TheDocumentOwnsTheClassifierOfItsFamily) {
    NewProject({1, 818, 0, 6, 2, 8});
    ASSERT_NE(doc().opGetClassifier(), nullptr);
    EXPECT_EQ(doc().opGetClassifier()->iGetFamily(), 1);
    const OClassifier* family1 = doc().opGetClassifier();
    NewProject({9, 818, 0, 20, 3, 4});
    ASSERT_NE(doc().opGetClassifier(), nullptr);
    EXPECT_EQ(doc().opGetClassifier()->iGetFamily(), 2);
    EXPECT_NE(doc().opGetClassifier(), family1);
    EXPECT_NE(doc().opGetExtractor(), nullptr);
    EXPECT_EQ(dynamic_cast<OExtr_Default*>(doc().opGetExtractor()), nullptr)
        << "family 2 has no contour extractor";
    NewProject({1, 818, 0, 6, 2, 8});
    EXPECT_NE(dynamic_cast<OExtr_Default*>(doc().opGetExtractor()), nullptr);
}

// A rectangle of `width` columns from row `top` up to `bottom`.
std::vector<int16_t> Rectangle(int width, int top, int bottom) {
    std::vector<int16_t> runs;
    for (int x = 0; x < width; ++x) {
        runs.push_back(static_cast<int16_t>(top));
        runs.push_back(static_cast<int16_t>(-bottom));
    }
    return runs;
}

TEST_F(DocFixture, PastingAToolThroughTheDocumentStoresOneUndoStep) {
    NewProject({1, 818, 0, 6, 1, 8});
    OType_ZRPartSet& set = *doc().opGetActualPartSet();
    OType_Part part;
    part.SetOrientation(1);
    part.SetConturData(Rectangle(50, 10, 60));
    set.TeachParts().Add(std::move(part));
    doc().Recompute(&set, 1, 0, 1, 1, 0);
    ODocExtractorHost host(doc());
    ASSERT_NE(session().AddTool(set, 1, 30, 0), nullptr) << ui.TranscriptText();
    ASSERT_EQ(set.Tools().iGetNum(), 1);
    const size_t stepsAfterAdd = set.UndoRedo().iGetNumSteps();

    auto* engine = dynamic_cast<OExtr_Default*>(doc().opGetExtractor());
    ASSERT_NE(engine, nullptr);
    OContourViewController view(*engine, host);
    set.iShowFeatureNo(12);
    view.StatusPanes();  // the view's update takes the selected tool from the shown feature
    ASSERT_TRUE(view.bCopyTool());
    ASSERT_TRUE(view.bPasteTool()) << ui.TranscriptText();
    EXPECT_EQ(set.Tools().iGetNum(), 2);
    EXPECT_EQ(set.UndoRedo().iGetNumSteps(), stepsAfterAdd + 1) << "one paste, one undo step";
    EXPECT_EQ(set.UndoRedo().GetUndoShortText(), "UNDO:Added tool");
    ASSERT_TRUE(set.UndoRedo().bMakeUndo(set));
    EXPECT_EQ(set.Tools().iGetNum(), 1) << "undo removes the pasted tool";
}

TEST_F(DocFixture, RecomputeExtractsBasicFeaturesAndTeachesTheClassifier) {
    NewProject({1, 818, 0, 6, 1, 8});
    session().ProjectProperties().useOrientation = 1;
    OType_ZRPartSet& set = *doc().opGetActualPartSet();
    // Orientation 1: short wide parts, orientation 2: narrow tall ones.
    for (int i = 0; i < 3; ++i) {
        OType_Part wide;
        wide.SetType(1);
        wide.SetOrientation(1);
        wide.SetConturData(Rectangle(40 + i, 10, 30));
        set.TeachParts().Add(std::move(wide));
        OType_Part tall;
        tall.SetType(1);
        tall.SetOrientation(2);
        tall.SetConturData(Rectangle(10 + i, 10, 90));
        set.TeachParts().Add(std::move(tall));
    }
    ASSERT_EQ(doc().Recompute(&set, 1, 0, 1, 1, 0), 1);

    const OType_Part& first = *set.TeachParts().GetAt_NoSort(0);
    ASSERT_GE(first.Features().iGetNumOfFeatures(), 12);
    EXPECT_EQ(first.Features().dGetFeatureValueAt(0), 40) << "length = number of columns";
    EXPECT_EQ(first.Features().dGetFeatureValueAt(1), 20) << "height";
    EXPECT_EQ(first.Features().dGetFeatureValueAt(2), 40 * 20) << "area";

    ASSERT_NE(doc().opGetClassifier(), nullptr);
    EXPECT_EQ(doc().opGetClassifier()->GetTeachError(), 0) << "the two orientations separate";
    const OType_ZRPartSet_SubType* type = set.opGetSubType(0);
    ASSERT_NE(type, nullptr);
    ASSERT_GE(type->Vectors().iGetNum(), 2);
    const OType_VectorArray& ori1 = *type->opGetVectorArray(0);
    EXPECT_EQ(ori1.iGetPartCount(), 3);
    ASSERT_GE(ori1.iGetNumOfVectors(), 1);
    EXPECT_DOUBLE_EQ(ori1.At(0).minimum, 40);
    EXPECT_DOUBLE_EQ(ori1.At(0).maximum, 42);
}

}  // namespace

TEST_F(Document, AViewWithoutAWindowForTheFamilyOpensSilently) {
    views().SetCreatable(ViewKind::FeatureGraph, false);
    EXPECT_FALSE(doc().GetCommandState(Cmd::kViewFeatureGraph).enabled);
    EXPECT_FALSE(doc().ShowView(ViewKind::FeatureGraph));
    EXPECT_FALSE(views().bHasView(ViewKind::FeatureGraph));
    EXPECT_TRUE(ui.Transcript().empty()) << "no \"Can't create Frame\": there is no window";
}

TEST_F(Document, ContourEditingCommandsWorkFromTheMenuWithoutTheContourWindow) {
    OType_ZRPartSet& set = *session().opGetActualPartSet();
    EXPECT_FALSE(doc().GetCommandState(32888).enabled) << "no parts";
    EXPECT_FALSE(doc().GetCommandState(32826).enabled);
    AddParts(set, 3, 0);
    doc().Recompute(&set, 1, 0, 1, 1, 0);
    auto contour = [&] {
        const auto runs = set.TeachParts().GetAt_NoSort(0)->Contour();
        return std::vector<int16_t>(runs.begin(), runs.end());
    };
    const std::vector<int16_t> before = contour();
    for (int id : {32887, 32888, 32823, 32822, 32826, 32827, 32832})
        EXPECT_TRUE(doc().GetCommandState(id).enabled) << id;
    EXPECT_FALSE(doc().GetCommandState(32887).checked);

    // The thin-area filter with a limit that drops the runs of height 30 and less.
    ui.AnswerDialog(
        [](ODialogModel& m) {
            dynamic_cast<ODlg_FilterLimit&>(m).limit = 30;
            return true;
        },
        "ODlg_FilterLimit");
    doc().OnCommand(32888, 0);
    EXPECT_EQ(set.iGetFilterMode(), 2);
    EXPECT_NE(contour(), before);
    doc().OnCommand(32822, 0);
    EXPECT_EQ(set.iGetFilterMode(), 0);
    EXPECT_EQ(contour(), before) << "undo last filter";

    // Combining the selected parts appends one part to the shown list.
    set.TeachParts().GetAt_NoSort(0)->SetSelected(true);
    set.TeachParts().GetAt_NoSort(1)->SetSelected(true);
    doc().OnCommand(32826, 0);
    EXPECT_EQ(set.TeachParts().iGetSize(), 4);
    EXPECT_FALSE(views().bHasView(ViewKind::PartContour)) << "no window was needed";
    ExpectNoMismatch();
}
