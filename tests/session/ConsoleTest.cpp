// The communication manager's headless side against kalvor-devsim: what its controls show
// for the device's state, that every control runs its document command without closing the
// panel, and that sample parts arrive with the orientation and type chosen in it.
#include "SessionTestSupport.h"
#include "device/OQuillonConsole.h"
#include "document/CommandIds.h"
#include "model/strings/ResStr.h"

using namespace sessiontest;

namespace {

constexpr OTargetSystem kKesta{7, 818, 0, 6, 4, 8};
constexpr OTargetSystem kTalon{1, 778, 0, 6, 2, 8};

OSessionSetup For(const OTargetSystem& target, std::vector<std::string> simOptions) {
    OSessionSetup s;
    s.target = target;
    s.simOptions = std::move(simOptions);
    return s;
}

struct OConsoleFixture {
    explicit OConsoleFixture(const OTargetSystem& target, const std::string& hardware,
                             const std::string& rate = "0.001")
        : f(For(target, {"--hardware", hardware, "--rate", rate})), console(f.Doc()) {
        f.settings.SetInt("Settings", "WARNING_DISABLE_DIAGON", 1);
        f.Session().ProjectProperties().useOrientation = 1;
        f.Session().ProjectProperties().useTypes = 1;
        f.Doc().ShowView(ViewKind::CommunicationManager);
    }
    bool bPanelOpen() { return f.headless->Views().bHasView(ViewKind::CommunicationManager); }
    OSessionFixture f;
    OQuillonConsole console;
};

}  // namespace

TEST(Console, OfflineEverythingButConnectIsOff) {
    OConsoleFixture c(kTalon, "1");
    const OConsoleState s = c.console.Refresh();
    EXPECT_FALSE(s.connected);
    EXPECT_FALSE(s.radiosEnabled);
    EXPECT_FALSE(s.cameraModeEnabled) << "a contour device";
    EXPECT_EQ(s.imageMode, 0);
    EXPECT_EQ(s.recording, 0);
    EXPECT_TRUE(s.status.empty());
    EXPECT_EQ(s.orientations.front(), ResStr(3221));
    EXPECT_EQ(s.orientations.size(), 9u) << "unassigned and 1 ... 8";
    EXPECT_EQ(s.types, (std::vector<std::string>{"1", "2"}));
    EXPECT_FALSE(s.orientationShown) << "only while sample parts are the target";
}

TEST(Console, ConnectRecordAndTheImageModesRunTheirCommandsAndKeepThePanel) {
    OConsoleFixture c(kKesta, "7");
    OQuillon& session = c.f.Session();
    c.console.Refresh();
    c.console.Connect();
    ASSERT_TRUE(session.bIsOnline()) << Shown(c.f.ui);
    EXPECT_TRUE(c.bPanelOpen()) << "the panel stays open while its commands run";
    OConsoleState s = c.console.Refresh();
    EXPECT_TRUE(s.connected);
    EXPECT_TRUE(s.radiosEnabled);
    EXPECT_TRUE(s.cameraModeEnabled);
    EXPECT_EQ(s.recording, 0);

    c.console.ChooseRecording(2);
    ASSERT_TRUE(session.bIsDiagMode()) << Shown(c.f.ui);
    s = c.console.Refresh();
    EXPECT_EQ(s.recording, 2) << "test parts";
    EXPECT_EQ(s.imageMode, session.iGetSendMode() == 4 ? 2 : session.iGetSendMode() == 1 ? 1 : 0);

    c.console.ChooseImageMode(2);
    EXPECT_EQ(session.iGetSendMode(), 4) << "contour and camera images";
    EXPECT_EQ(c.console.Refresh().imageMode, 2);
    c.console.ChooseImageMode(1);
    EXPECT_EQ(session.iGetSendMode(), 1) << "camera images off";
    EXPECT_EQ(c.console.Refresh().imageMode, 1);
    c.console.ChooseImageMode(0);
    EXPECT_EQ(c.console.Refresh().imageMode, 0) << "contours off: camera images only";
    c.console.ChooseImageMode(1);
    EXPECT_EQ(session.iGetSendMode(), 1) << "contours on again";

    c.console.ChooseRecording(1);
    s = c.console.Refresh();
    EXPECT_EQ(s.recording, 1);
    EXPECT_EQ(session.iGetRecordingTarget(), 1);
    EXPECT_TRUE(s.orientationShown);
    EXPECT_TRUE(s.typeShown);

    c.console.ChooseRecording(0);
    EXPECT_FALSE(session.bIsDiagMode());
    EXPECT_EQ(c.console.Refresh().recording, 0);
    c.console.Connect();
    EXPECT_FALSE(session.bIsOnline());
    EXPECT_TRUE(c.bPanelOpen());
    EXPECT_TRUE(c.f.ui.Mismatches().empty()) << Shown(c.f.ui);

    // The document's own commands still close the panel.
    c.f.Doc().OnCommand(Cmd::kConnect, 0);
    EXPECT_FALSE(c.bPanelOpen());
}

TEST(Console, SamplePartsArriveWithTheChosenOrientationAndType) {
    OConsoleFixture c(kTalon, "1", "50");
    OQuillon& session = c.f.Session();
    session.ProjectProperties().useOrientation = 1;
    session.ProjectProperties().useTypes = 1;
    c.console.Refresh();
    c.console.ChooseRecording(1);
    ASSERT_TRUE(session.bIsDiagMode()) << Shown(c.f.ui);
    OConsoleState s = c.console.Refresh();
    ASSERT_TRUE(s.orientationShown);
    ASSERT_TRUE(s.typeShown);
    c.console.ChooseOrientation(2);
    c.console.ChooseType(1);  // the second entry: type 2
    s = c.console.Refresh();
    EXPECT_EQ(s.orientationIndex, 2);
    EXPECT_EQ(s.typeIndex, 1);
    // Parts received from now on.
    session.opGetConnection()->bRemoveAllReceivedParts();
    const int before = c.f.Set().TeachParts().iGetSize();
    ASSERT_TRUE(c.f.bPumpUntil([&] { return c.f.Set().TeachParts().iGetSize() >= before + 5; }));
    const OType_PartArray& list = c.f.Set().TeachParts();
    for (int i = before; i < list.iGetSize(); ++i) {
        EXPECT_EQ(list.GetAt_NoSort(i)->iGetOrientation(), 2) << i;
        EXPECT_EQ(list.GetAt_NoSort(i)->iGetType(), 2) << i;
    }
    c.console.ChooseRecording(0);

    c.console.ChooseOrientation(0);
    EXPECT_EQ(session.iGetRecordOrientation(), 0) << "unassigned";
    c.console.ChooseOrientation(9);
    EXPECT_EQ(session.iGetRecordOrientation(), 1) << "beyond the maximum: 1";
    c.console.ChooseType(2);
    EXPECT_EQ(session.iGetRecordType(), 1) << "type 3 of 2: 1";
}

TEST(Console, WithOneOrientationTheComboStaysHiddenAndOutOfRangeValuesReset) {
    OConsoleFixture c(kTalon, "1");
    OQuillon& session = c.f.Session();
    session.ProjectProperties().useOrientation = 0;
    session.ProjectProperties().useTypes = 1;
    session.SetRecordingTarget(1);
    session.SetRecordOrientation(5);
    session.SetRecordType(7);
    const OConsoleState s = c.console.Refresh();
    EXPECT_FALSE(s.orientationShown);
    EXPECT_EQ(s.orientations.size(), 2u);
    EXPECT_TRUE(s.typeShown);
    EXPECT_EQ(session.iGetRecordOrientation(), 1) << "reset into the range";
    EXPECT_EQ(session.iGetRecordType(), 1);
}

TEST(Console, ChoosingNoneWhileLoggingToFileStopsLoggingAndDiagnosticMode) {
    OConsoleFixture c(kTalon, "1", "20");
    TempDir dir;
    OQuillon& session = c.f.Session();
    c.f.ui.ConfirmDialog("ODlg_MsgBox_WithCheckMark");
    c.f.ui.AnswerFileSave((dir / "log.zrl").string());
    c.console.Refresh();
    c.console.ChooseRecording(3);
    ASSERT_TRUE(session.bIsLoggingToFile()) << Shown(c.f.ui);
    ASSERT_TRUE(session.bIsDiagMode());
    ASSERT_TRUE(c.f.bPumpUntil([&] { return session.iGetLogFileParts() >= 2; }));
    OConsoleState s = c.console.Refresh();
    EXPECT_EQ(s.recording, 3);
    EXPECT_NE(s.status.find("log.zrl"), std::string::npos) << s.status;
    c.console.ChooseRecording(0);
    EXPECT_FALSE(session.bIsLoggingToFile());
    EXPECT_FALSE(session.bIsDiagMode());
    s = c.console.Refresh();
    EXPECT_EQ(s.recording, 0);
    EXPECT_TRUE(s.status.empty());
    EXPECT_TRUE(c.f.ui.bAllScriptUsed()) << Shown(c.f.ui);
}
