// The application object without windows: command line, start modes, the welcome dialog,
// window placements, the published window handle and the one document.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/OApp.h"
#include "app/ODlg_SelectTask.h"
#include "document/CommandIds.h"
#include "document/ExternalPrograms.h"
#include "document/OViewHost_Recording.h"
#include "kalvor/Version.h"
#include "model/strings/ResStr.h"
#include "platform/OCommandQueue_Manual.h"
#include "platform/OSettings_Memory.h"
#include "platform/OUserInteraction_Scripted.h"
#include "support/TempDir.h"

namespace {

// --- command line ---

TEST(CommandLine, ParametersAreFoundCaseInsensitivelyAndComeBackUpperCase) {
    const OCommandLine line("-testcase_dir:/data/cases -log_dir: /tmp/log  -ETH:1");
    std::string value;
    ASSERT_TRUE(line.GetCommandLineParameter("TESTCASE_DIR", value));
    EXPECT_EQ(value, "/DATA/CASES");
    ASSERT_TRUE(line.GetCommandLineParameter("log_dir", value));
    EXPECT_EQ(value, "/TMP/LOG") << "trimmed";
    EXPECT_TRUE(line.GetCommandLineParameter("ETH"));
    EXPECT_FALSE(line.GetCommandLineParameter("SKIP_CLASSIFIER"));
}

TEST(CommandLine, NamesWithSeparatorsAndEmptyValuesFail) {
    const OCommandLine line("-A-B:x -EMPTY: -NEXT:y -LAST:");
    std::string value = "unchanged";
    EXPECT_FALSE(line.GetCommandLineParameter("A-B", value)) << "a minus sign in the name";
    EXPECT_FALSE(line.GetCommandLineParameter("A:B", value));
    EXPECT_FALSE(line.GetCommandLineParameter("A B", value));
    EXPECT_FALSE(line.GetCommandLineParameter("EMPTY", value)) << "colon, blank, minus";
    EXPECT_FALSE(line.GetCommandLineParameter("LAST", value));
    EXPECT_EQ(value, "unchanged");
    EXPECT_TRUE(line.GetCommandLineParameter("NEXT", value));
    EXPECT_EQ(value, "Y");
    EXPECT_FALSE(OCommandLine("").GetCommandLineParameter("NEXT"));
}

TEST(CommandLine, APathWithBlanksIsOneFileToOpen) {
    const OCommandLine line = OCommandLine::FromArguments({"/home/ann/My Projects/line 4.zrp"});
    const OStartRequest start = ResolveStart(line);
    EXPECT_EQ(start.startMode, StartMode::kOpenFile);
    EXPECT_EQ(start.startFile, "/home/ann/My Projects/line 4.zrp") << "not split, not upper case";
    EXPECT_FALSE(start.bSuppressShellCommand);
    // Unquoted words arrive as separate arguments and are joined again.
    EXPECT_EQ(ResolveStart(OCommandLine::FromArguments({"/tmp/a", "b.zrp"})).startFile,
              "/tmp/a b.zrp");
}

TEST(CommandLine, StartModes) {
    OStartRequest s = ResolveStart(OCommandLine("/tmp/x.zrp -TESTMODE:cases"));
    EXPECT_EQ(s.startMode, StartMode::kTestCases);
    EXPECT_TRUE(s.startFile.empty());
    EXPECT_TRUE(s.bSuppressShellCommand) << "test mode opens no file";
    // Written first, the value runs on to the end of the line and is no longer CASES;
    // the file is not opened either way.
    s = ResolveStart(OCommandLine("-TESTMODE:cases /tmp/x.zrp"));
    EXPECT_EQ(s.startMode, StartMode::kNormal);
    EXPECT_TRUE(s.startFile.empty());

    s = ResolveStart(OCommandLine("-TESTMODE:RANDOM"));
    EXPECT_EQ(s.startMode, StartMode::kNormal);
    s = ResolveStart(OCommandLine("-TESTMODE:other /tmp/x.zrp"));
    EXPECT_EQ(s.startMode, StartMode::kNormal);
    EXPECT_TRUE(s.startFile.empty());

    s = ResolveStart(OCommandLine("-ETH:1 /tmp/x.zrp"));
    EXPECT_EQ(s.startMode, StartMode::kOpenFile);
    EXPECT_TRUE(s.bSuppressShellCommand) << "ETH opens no file";

    s = ResolveStart(OCommandLine(""));
    EXPECT_EQ(s.startMode, StartMode::kNormal);
    EXPECT_TRUE(s.bSuppressShellCommand);
}

TEST(CommandLine, TheSplashSwitchIsTakenOutOfTheLine) {
    const OCommandLine off("/nologo");
    EXPECT_FALSE(off.bShowSplash());
    EXPECT_TRUE(off.Raw().empty());
    EXPECT_EQ(ResolveStart(off).startMode, StartMode::kNormal);
    const OCommandLine withFile("-NoLogo /tmp/x.zrp");
    EXPECT_FALSE(withFile.bShowSplash());
    EXPECT_EQ(withFile.Raw(), "/tmp/x.zrp");
    const OCommandLine inName("/tmp/nologo.zrp");
    EXPECT_TRUE(inName.bShowSplash()) << "only a word of its own";
    EXPECT_EQ(inName.Raw(), "/tmp/nologo.zrp");
}

// --- window placement ---

TEST(WindowPlacement, TenNumbersInTheirFormat) {
    const OWindowPlacement p = OWindowPlacement::Of(10, 20, 810, 620, true, false);
    EXPECT_EQ(FormatWindowPlacement(p), "3,3,-1,-1,-1,-1,10,20,810,620");
    EXPECT_EQ(FormatWindowPlacement(OWindowPlacement::Of(0, 0, 5, 5, false, true)),
              "1,2,-1,-1,-1,-1,0,0,5,5");
    const auto parsed = ParseWindowPlacement("1, 1,-32000,-32000, -1,-1, 22,33,1022,733");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->minX, -32000);
    EXPECT_EQ(parsed->bottom, 733);
    EXPECT_EQ(ParseWindowPlacement(FormatWindowPlacement(p)), p);
}

TEST(WindowPlacement, AnyOtherCountOrTextIsIgnored) {
    for (const char* bad :
         {"1,1,-1,-1,-1,-1,0,0,10", "1,1,-1,-1,-1,-1,0,0,10,10,10", "", "1,1,-1,-1,-1,-1,0,0,10,x",
          "-1,1,-1,-1,-1,-1,0,0,10,10", "1,1,-1,-1,-1,-1,0,0,10,99999999999",
          "1,,-1,-1,-1,-1,0,0,10,10", "1,1,-1,-1,-1,-1,0,0,10,10,"}) {
        EXPECT_FALSE(ParseWindowPlacement(bad)) << bad;
    }
    OSettings_Memory settings;
    settings.SetText("WndPos", "MAIN", "1,1,-1,-1,-1,-1,0,0,10");
    EXPECT_FALSE(ReadWindowPlacement(settings, "MAIN")) << "nine numbers";
    EXPECT_FALSE(ReadWindowPlacement(settings, "PARTLIST"));
    SaveWindowPlacement(settings, "PARTLIST", OWindowPlacement::Of(1, 2, 3, 4, false, false));
    EXPECT_EQ(settings.GetText("WndPos", "PARTLIST", ""), "1,1,-1,-1,-1,-1,1,2,3,4");
}

// --- welcome dialog model ---

TEST(SelectTask, TheChoiceStartsFromStartTypeAndIsStoredWhenTheDialogCloses) {
    OSettings_Memory settings;
    {
        ODlg_SelectTask dialog(settings, {"/p/a.zrp", "/q/b.kvp"});
        EXPECT_EQ(dialog.iGetIndex(), 2) << "default START_TYPE 3";
        EXPECT_EQ(dialog.iGetRecentSelection(), 0);
        EXPECT_EQ(dialog.RecentTitles(), (std::vector<std::string>{"a.zrp", "b.kvp"}));
        dialog.SetIndex(1);
        dialog.OnOk();
        EXPECT_EQ(settings.iGetInt("Settings", "START_TYPE", -1), 2);
    }
    for (const auto& [stored, index] :
         std::vector<std::pair<int, int>>{{0, -1}, {1, 0}, {9, -1}, {-4, -1}}) {
        settings.SetInt("Settings", "START_TYPE", stored);
        ODlg_SelectTask dialog(settings, {});
        EXPECT_EQ(dialog.iGetIndex(), index) << stored;
        EXPECT_EQ(dialog.iGetRecentSelection(), -1);
        dialog.OnCancel();
        EXPECT_TRUE(dialog.bExitChosen());
        EXPECT_EQ(settings.iGetInt("Settings", "START_TYPE", -9), index + 1) << "also on Exit";
    }
}

TEST(SelectTask, ConfirmingARecentEntryTakesTheThirdChoice) {
    OSettings_Memory settings;
    settings.SetInt("Settings", "START_TYPE", 1);
    ODlg_SelectTask dialog(settings, {"/p/a.zrp", "/q/b.kvp"});
    dialog.ConfirmRecent(1);
    EXPECT_EQ(dialog.iGetIndex(), 2);
    EXPECT_EQ(dialog.StartFile(), "/q/b.kvp");
    dialog.SelectRecent(7);
    EXPECT_EQ(dialog.iGetRecentSelection(), 1) << "out of range is ignored";
    EXPECT_EQ(ODlg_SelectTask::DropDownWidth({120, 180, 90}, 2, 17), 180 + 4 + 17);
    EXPECT_EQ(ODlg_SelectTask::DropDownWidth({}, 2, 17), 21);
}

// --- the application ---

class RecordingAppHost : public OAppHost {
  public:
    bool bCreateMainFrame(bool showSplash) override {
        splash = showSplash;
        ++framesCreated;
        return frameCreatable;
    }
    int64_t MainWindowHandle() const override { return 123456; }
    void ShowMainWindow() override { shown = true; }
    void ApplyMainWindowPlacement(const OWindowPlacement& p) override { placement = p; }
    void ShowAboutBox() override { ++aboutBoxes; }
    void CloseMainFrame() override { ++closeRequests; }
    bool bIsFrameCommand(int id) const override { return id == Cmd::kViewToolbar; }
    void ExecuteFrameCommand(int) override { toolbar = !toolbar; }
    OCommandState FrameCommandState(int) const override { return {true, toolbar, {}}; }

    bool frameCreatable = true;
    bool splash = false;
    int framesCreated = 0;
    bool shown = false;
    std::optional<OWindowPlacement> placement;
    int aboutBoxes = 0;
    int closeRequests = 0;
    bool toolbar = true;
};

struct App : ::testing::Test {
    OSettings_Memory settings;
    OSettings_Memory telmarUser;
    OSettings_Memory telmarMachine;
    OUserInteraction_Scripted ui;
    OCommandQueue_Manual queue;
    OViewHost_Recording views;
    OExternalPrograms_Recording programs;
    RecordingAppHost host;
    TempDir dir;

    std::unique_ptr<OApp> Make(const std::string& commandLine) {
        OAppServices services{settings, ui, queue, views, programs, host};
        services.companionUser = &telmarUser;
        services.companionMachine = &telmarMachine;
        return std::make_unique<OApp>(services, OCommandLine(commandLine));
    }
    std::vector<int> Posted() const {
        std::vector<int> ids;
        for (const auto& [id, arg] : queue.Pending())
            ids.push_back(id);
        return ids;
    }
    // A saved project file to open.
    std::string SavedProject(const std::string& name) {
        auto app = Make("-ETH:1");
        app->InitInstance();
        app->OnFileNew();
        std::string error;
        const std::string path = (dir / name).string();
        EXPECT_EQ(app->opGetDocument()->WriteProjectFile(path, error), 1) << error;
        queue.Clear();
        ui.Clear();
        return path;
    }
    void ExpectNoMismatch() {
        EXPECT_TRUE(ui.Mismatches().empty()) << ui.TranscriptText();
        EXPECT_TRUE(ui.bAllScriptUsed()) << ui.TranscriptText();
    }
};

TEST_F(App, NormalStartCreatesANewProjectAndShowsTheWelcomeDialog) {
    auto app = Make("");
    EXPECT_EQ(app->GetDescription(), "Versioninfo");
    EXPECT_EQ(app->GetCopyright(), "Copyrightinfo");
    settings.SetText("WndPos", "MAIN", "3,3,-1,-1,-1,-1,10,20,810,620");
    ui.AnswerDialog(
        [](ODialogModel& m) {
            static_cast<ODlg_SelectTask&>(m).SetIndex(0);
            return true;
        },
        "ODlg_SelectTask");
    ASSERT_TRUE(app->InitInstance());
    EXPECT_TRUE(host.splash);
    EXPECT_TRUE(host.shown);
    ASSERT_TRUE(host.placement);
    EXPECT_TRUE(host.placement->bIsMaximized());
    EXPECT_EQ(app->GetDescription(), kalvor::version::kDescription);
    EXPECT_EQ(app->GetCopyright(), kalvor::version::kCopyright);
    ASSERT_NE(app->opGetDocument(), nullptr);
    EXPECT_TRUE(views.bHasView(ViewKind::PartList));
    EXPECT_EQ(app->iGetStartMode(), 1);
    EXPECT_EQ(Posted(), std::vector<int>{Cmd::kProjectProperties});
    EXPECT_EQ(settings.iGetInt("Settings", "START_TYPE", -1), 1);
    EXPECT_EQ(app->opGetDocument()->iGetBusy(), 0);
    EXPECT_EQ(views.iCallCount("hide Part list"), 1) << "child frames hidden for the dialog";
    EXPECT_EQ(views.iCallCount("show Part list"), 1);
    ExpectNoMismatch();
}

TEST_F(App, NoChoiceStartsTheProjectWizardAndExitEndsTheProgram) {
    settings.SetInt("Settings", "START_TYPE", 0);
    ui.AnswerDialog(
        [](ODialogModel& m) { return static_cast<ODlg_SelectTask&>(m).iGetIndex() == -1; });
    auto app = Make("");
    ASSERT_TRUE(app->InitInstance());
    EXPECT_EQ(Posted(), std::vector<int>{Cmd::kProjectWizard});

    queue.Clear();
    ui.CancelDialog("ODlg_SelectTask");
    auto second = Make("");
    ASSERT_TRUE(second->InitInstance());
    EXPECT_EQ(Posted(), std::vector<int>{Cmd::kAppExit});
    ExpectNoMismatch();
}

TEST_F(App, TheOpenChoicePostsFileOpenAndTheRecentChoiceOpensTheFile) {
    const std::string path = SavedProject("recent.zrp");
    ui.AnswerDialog([](ODialogModel& m) {
        static_cast<ODlg_SelectTask&>(m).SetIndex(1);
        return true;
    });
    auto app = Make("");
    ASSERT_TRUE(app->InitInstance());
    EXPECT_EQ(Posted(), std::vector<int>{Cmd::kFileOpen});

    queue.Clear();
    ui.AnswerDialog([](ODialogModel& m) {
        auto& dialog = static_cast<ODlg_SelectTask&>(m);
        EXPECT_EQ(dialog.RecentFiles().front(), dialog.StartFile());
        dialog.ConfirmRecent(0);
        return true;
    });
    auto second = Make("");
    ASSERT_TRUE(second->InitInstance());
    EXPECT_EQ(second->GetStartFile(), path);
    EXPECT_EQ(second->opGetDocument()->GetPathName(), path);
    EXPECT_EQ(second->opGetDocument()->GetTitle(), "recent.zrp");
    EXPECT_TRUE(Posted().empty());
    ExpectNoMismatch();
}

TEST_F(App, TheRecentChoiceWithoutRecentFilesKeepsTheNewProjectWithoutAnError) {
    // A first start: START_TYPE defaults to the recent choice, but nothing was opened yet.
    ui.AnswerDialog([](ODialogModel& m) {
        auto& dialog = static_cast<ODlg_SelectTask&>(m);
        EXPECT_EQ(dialog.iGetIndex(), ODlg_SelectTask::kRecentChoice);
        EXPECT_TRUE(dialog.RecentFiles().empty());
        return true;
    });
    auto app = Make("");
    ASSERT_TRUE(app->InitInstance());
    EXPECT_EQ(app->iGetStartMode(), 3);
    ASSERT_NE(app->opGetDocument(), nullptr);
    EXPECT_TRUE(app->opGetDocument()->GetPathName().empty()) << "the new, untitled project";
    EXPECT_TRUE(Posted().empty());
    EXPECT_TRUE(ui.Texts().empty()) << "no message: " << ui.TranscriptText();
    ExpectNoMismatch();
}

TEST_F(App, TestModeStartsTheRunWithoutDialogOrFile) {
    auto app = Make((dir / "x.zrp").string() + " -TESTMODE:CASES");
    ASSERT_TRUE(app->InitInstance());
    EXPECT_EQ(app->iGetStartMode(), StartMode::kTestCases);
    EXPECT_EQ(Posted(), std::vector<int>{Cmd::kTestCaseStart});
    ASSERT_NE(app->opGetDocument(), nullptr);
    EXPECT_TRUE(app->opGetDocument()->GetPathName().empty());
    EXPECT_TRUE(ui.Transcript().empty()) << ui.TranscriptText();
}

TEST_F(App, AFileOnTheCommandLineIsOpenedAndEthSuppressesIt) {
    const std::string path = SavedProject("with blanks in name.zrp");
    auto app = Make(path);
    ASSERT_TRUE(app->InitInstance());
    ASSERT_NE(app->opGetDocument(), nullptr);
    EXPECT_EQ(app->opGetDocument()->GetPathName(), path);
    EXPECT_TRUE(ui.Transcript().empty()) << "no welcome dialog: " << ui.TranscriptText();
    EXPECT_EQ(app->RecentFiles().Entries().front(), path);

    auto eth = Make("-ETH:1 " + path);
    ASSERT_TRUE(eth->InitInstance());
    EXPECT_EQ(eth->opGetDocument(), nullptr) << "no file and no welcome dialog";
    EXPECT_TRUE(ui.Transcript().empty());
}

TEST_F(App, TheSplashSwitchReachesTheMainFrame) {
    auto app = Make("/nologo -ETH:1");
    ASSERT_TRUE(app->InitInstance());
    EXPECT_FALSE(host.splash);
}

TEST_F(App, AMainFrameThatCannotBeMadeEndsTheProgram) {
    host.frameCreatable = false;
    auto app = Make("");
    EXPECT_FALSE(app->InitInstance());
    EXPECT_FALSE(host.shown);
    EXPECT_FALSE(telmarUser.bHasValue("Windows", "Kalvor_hWnd"));
}

TEST_F(App, TheWindowHandleIsPublishedInBothStoresAndResetAtExit) {
    auto app = Make("-ETH:1");
    ASSERT_TRUE(app->InitInstance());
    EXPECT_EQ(telmarMachine.GetText("Windows", "Kalvor_hWnd", ""), "123456");
    EXPECT_EQ(telmarUser.GetText("Windows", "Kalvor_hWnd", ""), "123456");
    EXPECT_EQ(app->ExitInstance(), 0);
    EXPECT_EQ(telmarMachine.GetText("Windows", "Kalvor_hWnd", ""), "0");
    EXPECT_EQ(telmarUser.GetText("Windows", "Kalvor_hWnd", ""), "0");
    EXPECT_GE(telmarUser.iFlushCount(), 2);
}

TEST_F(App, AMalformedPlacementIsIgnored) {
    settings.SetText("WndPos", "MAIN", "1,1,-1,-1,-1,-1,0,0,10");
    auto app = Make("-ETH:1");
    ASSERT_TRUE(app->InitInstance());
    EXPECT_FALSE(host.placement);
}

TEST_F(App, OpeningReusesTheOneDocument) {
    const std::string first = SavedProject("first.zrp");
    const std::string second = SavedProject("second.zrp");
    auto app = Make("-ETH:1");
    ASSERT_TRUE(app->InitInstance());
    ODoc* doc = app->OpenDocumentFile(first);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(app->OpenDocumentFile(second), doc);
    EXPECT_EQ(doc->GetPathName(), second);
    EXPECT_EQ(views.iCallCount("create Part list"), 1) << "one part list window";
    EXPECT_EQ(app->RecentFiles().Entries()[0], second);
    EXPECT_EQ(app->RecentFiles().Entries()[1], first);
}

TEST_F(App, FileNewAndOpenWithoutADocumentUseTheFramework) {
    auto app = Make("-ETH:1");
    ASSERT_TRUE(app->InitInstance());
    EXPECT_TRUE(app->GetCommandState(Cmd::kFileNew).enabled);
    EXPECT_FALSE(app->GetCommandState(Cmd::kFileSave).enabled) << "no document yet";
    ui.CancelFileOpen();
    app->OnCommand(Cmd::kFileOpen, 0);
    EXPECT_EQ(app->opGetDocument(), nullptr);
    EXPECT_NE(ui.Transcript().back().fileRequest.filter.find("*.zrp *.kvp"), std::string::npos);
    app->OnCommand(Cmd::kFileNew, 0);
    ASSERT_NE(app->opGetDocument(), nullptr);
    EXPECT_TRUE(views.bHasView(ViewKind::PartList));
    EXPECT_TRUE(app->GetCommandState(Cmd::kFileSave).enabled);
    ExpectNoMismatch();
}

TEST_F(App, RecentFileCommandsShowAndOpenTheEntries) {
    const std::string path = SavedProject("a&b.zrp");
    auto app = Make("-ETH:1");
    ASSERT_TRUE(app->InitInstance());
    EXPECT_EQ(app->GetCommandState(Cmd::kRecentFileFirst).text, "&1 a&&b.zrp");
    EXPECT_TRUE(app->GetCommandState(Cmd::kRecentFileFirst).enabled);
    EXPECT_FALSE(app->GetCommandState(Cmd::kRecentFileFirst + 1).enabled);
    app->OnCommand(Cmd::kRecentFileFirst, 0);
    EXPECT_EQ(app->opGetDocument()->GetPathName(), path);

    std::filesystem::remove(path);
    ui.ExpectMessage(MsgResult::Ok, ResStr(5103));
    app->OnCommand(Cmd::kRecentFileFirst, 0);
    EXPECT_TRUE(app->RecentFiles().Entries().empty()) << "a missing file leaves the list";
    ExpectNoMismatch();
}

TEST_F(App, AppCommandsAndFrameCommands) {
    auto app = Make("-ETH:1");
    ASSERT_TRUE(app->InitInstance());
    app->OnCommand(Cmd::kAppAbout, 0);
    EXPECT_EQ(host.aboutBoxes, 1);
    app->OnCommand(Cmd::kAppExit, 0);
    EXPECT_EQ(host.closeRequests, 1);
    EXPECT_TRUE(app->GetCommandState(Cmd::kViewToolbar).checked);
    app->OnCommand(Cmd::kViewToolbar, 0);
    EXPECT_FALSE(app->GetCommandState(Cmd::kViewToolbar).checked);
}

TEST_F(App, ClosingAsksToSaveAModifiedProject) {
    auto app = Make("-ETH:1");
    ASSERT_TRUE(app->InitInstance());
    EXPECT_TRUE(app->bQueryCloseMainFrame()) << "nothing open";
    app->OnFileNew();
    app->opGetDocument()->SetModifiedFlag(1);
    ui.ExpectMessage(MsgResult::Cancel, ResStr(5005));
    EXPECT_FALSE(app->bQueryCloseMainFrame());
    ui.ExpectMessage(MsgResult::No, ResStr(5005));
    EXPECT_TRUE(app->bQueryCloseMainFrame());
    ExpectNoMismatch();
}

TEST_F(App, TheNineClipboardFormats) {
    auto app = Make("-ETH:1");
    ASSERT_TRUE(app->InitInstance());
    const OClipboardFormats& f = app->ClipboardFormats();
    ASSERT_EQ(f.list.size(), 9u);
    const int ids[] = {5321, 5319, 5341, 5322, 5342, 5346, 5347, 5349, 5350};
    for (size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(f.list[i], ResStr(ids[i]));
        EXPECT_EQ(f.list[i].rfind("application/", 0), 0u) << "a MIME type: " << f.list[i];
        for (size_t j = 0; j < i; ++j)
            EXPECT_NE(f.list[i], f.list[j]);
    }
    EXPECT_EQ(f.partsFamily1, ResStr(5319));
    EXPECT_EQ(f.partsFamily2, ResStr(5341));
    EXPECT_EQ(f.checkProgramFamily1, ResStr(5346));
    EXPECT_EQ(f.checkProgramFamily2, ResStr(5347));
    EXPECT_EQ(app->CommandLine().Upper(), "-ETH:1");
    EXPECT_EQ(OApp::kSupportedFirmwareBuild, 320);
}

}  // namespace
