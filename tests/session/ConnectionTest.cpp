// The session's connection against kalvor-devsim: the connection object by kind, login,
// reconnect and keep-alive, disconnecting, the diagnostic mode with its warning and retry
// questions, the device information, ending the session and closing the document.
#include <atomic>
#include <thread>

#include "SessionTestSupport.h"
#include "document/CommandIds.h"
#include "model/strings/ResStr.h"

using namespace sessiontest;
using namespace LinkProtocol;

namespace {

OSessionSetup SimSetup(std::vector<std::string> simOptions, bool withApplication = false) {
    OSessionSetup s;
    s.simOptions = std::move(simOptions);
    s.withApplication = withApplication;
    return s;
}

TEST(SessionConnection, TheKindDecidesTheConnectionObjectAndAChangeDisconnectsFirst) {
    OSessionFixture f(SimSetup({"--hardware", "7"}));
    OQuillon& session = f.Session();
    EXPECT_EQ(f.Link().iGetInterfaceType(), 3) << "CONTYPE 3 is TCP";
    ASSERT_EQ(session.EnsureConnected(), 1);
    EXPECT_EQ(session.iGetLoginNeeded(), 0);
    EXPECT_EQ(f.Sim().iCount(kOpLogout), 0);

    session.CreateConnection(3);
    EXPECT_TRUE(session.bIsOnline()) << "the same kind keeps the connection";
    for (int kind : {0, 1, 2, 7}) {
        session.CreateConnection(kind);
        ASSERT_NE(session.opGetConnection(), nullptr);
        EXPECT_EQ(session.opGetConnection()->iGetInterfaceType(), kind) << "serial for " << kind;
        EXPECT_EQ(session.iGetLoginNeeded(), 1);
    }
    EXPECT_TRUE(f.Doc().bIsLinkStateChanging()) << "set before the connection ended";
    EXPECT_EQ(f.Sim().iCount(kOpLogout), 1) << "the TCP connection logged out when replaced";
}

TEST(SessionConnection, AConnectionKindChangedMeanwhileMakesANewConnectionObject) {
    OSessionFixture f(SimSetup({}));
    OQuillon& session = f.Session();
    ASSERT_EQ(session.EnsureConnected(), 1);
    // As a loaded classic project does: the options say serial now.
    session.SetConnectionKind(0);
    EXPECT_EQ(session.EnsureConnected(), 0) << "no serial device here";
    EXPECT_EQ(session.opGetConnection()->iGetInterfaceType(), 0);
    EXPECT_EQ(f.Sim().iCount(kOpLogout), 1) << "the TCP connection was ended first";
    session.SetConnectionKind(3);
    EXPECT_EQ(session.EnsureConnected(), 1);
    EXPECT_EQ(session.opGetConnection()->iGetTimeOut_SEC(), 5) << "the time-out goes along";
}

TEST(SessionConnection, TryAgainAnswersKeepTheConnectLoopGoing) {
    OSessionFixture f(SimSetup({"--login-retries", "3"}));
    f.Doc().SetLinkStateChanging(true);
    ASSERT_EQ(f.Session().EnsureConnected(), 1);
    int tryAgain = 0, done = 0;
    for (const OTraceLine& l : f.Sim().Trace()) {
        if (l.op != kOpLogin) continue;
        tryAgain += l.result == Result::kTryAgain ? 1 : 0;
        done += l.result == Result::kOk ? 1 : 0;
    }
    EXPECT_EQ(tryAgain, 3);
    EXPECT_EQ(done, 1);
    EXPECT_FALSE(f.Doc().bIsLinkStateChanging()) << "cleared after the connection attempt";
}

TEST(SessionConnection, AFailedLoginLeavesTheLoginNeeded) {
    OSessionFixture f(SimSetup({}));
    // The user cancels the profile dialog.
    ConnectionProfiles::SetAskAtLogin(f.settings, true);
    f.ui.CancelDialog("ODlg_ConnectionProfile");
    f.Doc().SetLinkStateChanging(true);
    EXPECT_EQ(f.Session().EnsureConnected(), 0);
    EXPECT_EQ(f.Session().iGetLoginNeeded(), 1);
    EXPECT_FALSE(f.Doc().bIsLinkStateChanging());
    EXPECT_EQ(f.Sim().iCount(kOpLogin), 0);
    EXPECT_TRUE(f.ui.bAllScriptUsed());

    // A device that cannot be reached fails the same way.
    OConnectionProfile gone;
    gone.host = "127.0.0.1";
    gone.ports = {"1", "2", "3"};
    ConnectionProfiles::Save(f.settings, {gone});
    ConnectionProfiles::SetAskAtLogin(f.settings, false);
    EXPECT_EQ(f.Session().EnsureConnected(), 0);
    EXPECT_EQ(f.Session().iGetLoginNeeded(), 1);
}

TEST(SessionConnection, AKeepAliveAnsweredOnTheSecondTryNeedsNoReconnect) {
    OSessionFixture f(SimSetup({"--malformed-every", "2", "--malformed-kind", "truncated"}));
    OQuillon& session = f.Session();
    ASSERT_EQ(session.EnsureConnected(), 1);
    ASSERT_EQ(f.Link().commandSYNCRO(), 1) << "the first answer is whole";
    EXPECT_EQ(session.EnsureConnected(), 1) << "the second is cut, the third whole";
    EXPECT_GE(f.Link().iGetRefusedFrames(), 1u) << "still the same connection";
    EXPECT_EQ(f.Sim().iCount(kOpLogin), 1);
    EXPECT_EQ(f.Sim().iCount(kOpSync), 3);
}

TEST(SessionConnection, AnUnansweredKeepAliveIsFinal) {
    OSessionSetup setup = SimSetup({"--delay-ms", "1500"});
    setup.linkTimeOutSec = 1;
    OSessionFixture f(setup);
    ASSERT_EQ(f.Session().EnsureConnected(), 1);
    EXPECT_EQ(f.Session().EnsureConnected(), 0);
    EXPECT_EQ(f.Link().GetLastComInterfaceError(), Result::kTimeOut);
    EXPECT_EQ(f.Sim().iCount(kOpLogin), 1) << "no reconnect after a time-out";
    EXPECT_EQ(f.Sim().iCount(kOpSync), 1) << "the first time-out ends the tries";
}

TEST(SessionConnection, DisconnectWithFlagOneLeavesAnOnlineLinkAlone) {
    OSessionFixture f(SimSetup({}));
    OQuillon& session = f.Session();
    ASSERT_EQ(session.EnsureConnected(), 1);
    EXPECT_EQ(session.Disconnect(1), 1);
    EXPECT_TRUE(session.bIsOnline());
    EXPECT_EQ(session.iGetLoginNeeded(), 0);
    EXPECT_FALSE(f.Doc().bIsLinkStateChanging());
    EXPECT_EQ(session.Disconnect(0), 1);
    EXPECT_FALSE(session.bIsOnline());
    EXPECT_EQ(session.iGetLoginNeeded(), 1);
    EXPECT_TRUE(f.Doc().bIsLinkStateChanging());
    EXPECT_EQ(f.Sim().iCount(kOpLogout), 1);
    // The next attempt logs in again.
    ASSERT_EQ(session.EnsureConnected(), 1);
    EXPECT_EQ(f.Sim().iCount(kOpLogin), 2);
}

TEST(SessionConnection, DiagnosticModeInSendModeOneOrFourSendsNeitherKonzeiNorKontur) {
    for (const char* mode : {"1", "4"}) {
        SCOPED_TRACE(std::string("send mode ") + mode);
        OSessionFixture f(SimSetup({"--hardware", "7", "--send-mode", mode}));
        ASSERT_EQ(f.Session().SetDiagnosticMode(1), 1);
        EXPECT_EQ(f.Sim().iCount(kOpEwDiag), 1);
        EXPECT_EQ(f.Sim().iCount(kOpKonzei), 0);
        EXPECT_EQ(f.Sim().iCount(kOpKontur), 0);
        EXPECT_TRUE(f.Session().bIsDiagMode());
        EXPECT_EQ(f.ui.Texts(), std::vector<std::string>{ResStr(7002)})
            << "without an application the warning is a plain message";
    }
}

TEST(SessionConnection, DiagnosticModeFromOtherSendModes) {
    {
        OSessionFixture f(SimSetup({"--hardware", "7", "--send-mode", "0"}));
        ASSERT_EQ(f.Session().SetDiagnosticMode(1), 1);
        EXPECT_EQ(f.Sim().iCount(kOpKonzei), 0) << "send mode 0 is a sending mode";
        EXPECT_EQ(f.Sim().iCount(kOpKontur), 1);
        EXPECT_EQ(f.Session().iGetSendMode(), 1);
    }
    {
        OSessionFixture f(SimSetup({"--hardware", "7", "--send-mode", "2"}));
        ASSERT_EQ(f.Session().SetDiagnosticMode(1), 1);
        EXPECT_EQ(f.Sim().iCount(kOpKonzei), 1) << "display modes go back to sending first";
        EXPECT_EQ(f.Sim().iCount(kOpKontur), 1);
    }
    {
        // Already in diagnostic mode: no EWDIAG and no warning.
        OSessionFixture f(SimSetup({"--hardware", "1", "--diag"}));
        ASSERT_EQ(f.Session().SetDiagnosticMode(1), 1);
        EXPECT_EQ(f.Sim().iCount(kOpEwDiag), 0);
        EXPECT_TRUE(f.ui.Texts().empty());
    }
}

TEST(SessionConnection, TheTickedWarningNeverAppearsAgain) {
    OSessionFixture f(SimSetup({"--hardware", "1"}, true));
    f.ui.ExpectCheckMarkMessage(MsgResult::Ok, true, ResStr(7002));
    ASSERT_EQ(f.Session().SetDiagnosticMode(1), 1);
    ASSERT_EQ(f.ui.Transcript().size(), 1u);
    EXPECT_EQ(f.ui.Transcript()[0].caption, ResStr(128));
    EXPECT_EQ(f.ui.Transcript()[0].detail, ResStr(3289));
    EXPECT_EQ(f.settings.iGetInt("Settings", "WARNING_DISABLE_DIAGON", 0), 1);
    ASSERT_EQ(f.Session().SetDiagnosticMode(0), 1);
    EXPECT_FALSE(f.Session().bIsDiagMode());
    ASSERT_EQ(f.Session().SetDiagnosticMode(1), 1);
    EXPECT_EQ(f.Sim().iCount(kOpEwDiag), 2);
    EXPECT_EQ(f.ui.Transcript().size(), 1u) << Shown(f.ui);
}

TEST(SessionConnection, EwdiagRefusedShows6187) {
    OSessionFixture f(SimSetup({"--busy-after", "1", "--busy-for", "30"}));
    EXPECT_EQ(f.Session().SetDiagnosticMode(1), 0);
    EXPECT_EQ(f.ui.Texts(), std::vector<std::string>{ResStr(6187)});
}

TEST(SessionConnection, ContourNotReadyAsksRetryAndCancelDisconnects) {
    // Requests: EWDIAG, KONTUR (cut), KONTUR again.
    OSessionFixture f(SimSetup({"--hardware", "7", "--send-mode", "0", "--malformed-every", "2",
                                "--malformed-kind", "truncated"}));
    f.ui.ExpectMessage(MsgResult::Ok, ResStr(7002));
    f.ui.ExpectMessage(MsgResult::Retry, ResStr(4102));
    ASSERT_EQ(f.Session().SetDiagnosticMode(1), 1) << Shown(f.ui);
    EXPECT_EQ(f.Sim().iCount(kOpKontur), 2);
    EXPECT_TRUE(f.ui.bAllScriptUsed());

    OSessionFixture g(SimSetup({"--hardware", "7", "--send-mode", "0", "--malformed-every", "2",
                                "--malformed-kind", "truncated"}));
    g.ui.ExpectMessage(MsgResult::Ok, ResStr(7002));
    g.ui.ExpectMessage(MsgResult::Cancel, ResStr(4102));
    EXPECT_EQ(g.Session().SetDiagnosticMode(1), 0);
    EXPECT_FALSE(g.Session().bIsOnline());
    EXPECT_EQ(g.Session().iGetLoginNeeded(), 1);
}

TEST(SessionConnection, LeavingDiagnosticMode) {
    OSessionFixture f(SimSetup({"--hardware", "1"}));
    ASSERT_EQ(f.Session().SetDiagnosticMode(1), 1);
    ASSERT_EQ(f.Session().SetDiagnosticMode(0), 1);
    EXPECT_FALSE(f.Session().bIsDiagMode());
    EXPECT_TRUE(f.Session().bIsOnline());
    EXPECT_EQ(f.Sim().iCount(kOpSetDiagMode), 1);
    // Without a connection object there is nothing to switch.
    OSettings_Memory settings;
    OUserInteraction_Scripted ui;
    OQuillon detached(settings, ui, nullptr);
    EXPECT_EQ(detached.SetDiagnosticMode(0), 1) << "offline: nothing to leave";
}

TEST(SessionConnection, DeviceInformationIsCopiedWhole) {
    OSessionFixture f(SimSetup({"--hardware", "515", "--serial-number", "SN-42"}));
    ZRINFO info;
    ASSERT_EQ(f.Session().UploadDeviceInfo(info), 1);
    EXPECT_EQ(info.u16(ZRINFO::kHardwareCode), 515);
    EXPECT_EQ(info.Text(ZRINFO::kSerialNumber, ZRINFO::kSerialNumberLength), "SN-42");
    EXPECT_EQ(info, *f.Link().opGetZRInfo_ComBuffer());
    EXPECT_EQ(f.Sim().iCount(kOpUploadZrInfo), 1);
    const auto texts = f.headless->StatusBar().StatusTexts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), ResStr(4008)), texts.end());
    EXPECT_EQ(f.Link().GetStatusModus(), "") << "the status text is cleared";
}

TEST(SessionConnection, DeviceInformationRefusedShows4201AndDisconnects) {
    OSessionSetup setup = SimSetup({"--busy-after", "1", "--busy-for", "30"});
    setup.linkTimeOutSec = 1;  // a busy device answers logins with "try again"
    OSessionFixture f(setup);
    ASSERT_EQ(f.Session().EnsureConnected(), 1);
    ASSERT_EQ(f.Link().commandSYNCRO(), 1) << "busy devices answer the keep-alive";
    ASSERT_TRUE(f.Session().bIsBusy());
    ZRINFO info;
    EXPECT_EQ(f.Session().UploadDeviceInfo(info), 0);
    EXPECT_EQ(f.ui.Texts(), std::vector<std::string>{ResStr(4201)});
    EXPECT_FALSE(f.Session().bIsOnline());
    EXPECT_EQ(f.Sim().iCount(kOpUploadZrInfo), 0) << "a busy device is not asked";
}

TEST(SessionConnection, ResetSessionLogsOutAndStoresTheTarget) {
    OSessionFixture f(SimSetup({}));
    ASSERT_EQ(f.Session().EnsureConnected(), 1);
    f.Session().SetTargetValues({9, 808, 0, 20, 4, 8});
    f.Session().ResetSession();
    EXPECT_FALSE(f.Session().bIsOnline());
    EXPECT_EQ(f.Session().iGetLoginNeeded(), 1);
    EXPECT_EQ(f.Sim().iCount(kOpLogout), 1);
    EXPECT_EQ(f.settings.iGetInt("Settings", "TARGET_SYSTEM_HW", -1), 9);
    EXPECT_EQ(f.settings.iGetInt("Settings", "TARGET_SYSTEM_PARTSINSET", -1), 4);
    EXPECT_EQ(f.Session().PartSets().iGetNum(), 0);
    // A session that never logged in asks nothing of the device.
    OSessionFixture g(SimSetup({}));
    g.Session().ResetSession();
    EXPECT_EQ(g.Sim().iSize(), 0u);
}

TEST(SessionConnection, ARefusedDisconnectKeepsTheProjectOpen) {
    OSessionFixture f(SimSetup({"--delay-ms", "800"}));
    ASSERT_EQ(f.Session().EnsureConnected(), 1);
    std::atomic<bool> started{false};
    // Another thread holds the link with an exchange (as the test-case runner does).
    std::thread worker([&] {
        started = true;
        f.Link().commandSYNCRO();
    });
    while (!started)
        std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(f.Doc().OnCloseDocument());
    worker.join();
    EXPECT_NE(f.Session().opGetActualPartSet(), nullptr) << "the project stays";
    EXPECT_FALSE(f.Doc().bIsLinkStateChanging());
    EXPECT_EQ(f.Doc().iGetBusy(), 0);
    EXPECT_TRUE(f.Doc().OnCloseDocument());
    EXPECT_EQ(f.Session().PartSets().iGetNum(), 0) << "closed: the session was reset";
    EXPECT_EQ(f.Sim().iCount(kOpLogin), 1) << "closing does not log in again";
    EXPECT_EQ(f.Sim().iCount(kOpLogout), 1);
}

TEST(SessionConnection, MenuCommandsAndTheirStates) {
    OSessionSetup setup = SimSetup({"--hardware", "16"});
    setup.target = {16, 818, 0, 6, 1, 8};
    OSessionFixture f(setup);
    ODoc& doc = f.Doc();
    EXPECT_TRUE(doc.GetCommandState(Cmd::kConnect).enabled);
    EXPECT_FALSE(doc.GetCommandState(Cmd::kConnect).checked);
    EXPECT_FALSE(doc.GetCommandState(Cmd::kDiagnosticMode).enabled) << "offline";
    EXPECT_FALSE(doc.GetCommandState(Cmd::kSendTime).enabled);
    doc.OnCommand(Cmd::kConnect, 0);
    EXPECT_TRUE(doc.GetCommandState(Cmd::kConnect).checked);
    EXPECT_TRUE(doc.GetCommandState(Cmd::kDiagnosticMode).enabled);
    EXPECT_TRUE(doc.GetCommandState(Cmd::kOperatingMode).enabled);
    EXPECT_TRUE(doc.GetCommandState(Cmd::kSendTime).enabled) << "offered on Tamrin";
    doc.OnCommand(Cmd::kDiagnosticMode, 0);
    EXPECT_TRUE(f.Session().bIsDiagMode());
    doc.OnCommand(Cmd::kOperatingMode, 0);
    EXPECT_FALSE(f.Session().bIsDiagMode());
    doc.OnCommand(Cmd::kSendTime, 0);
    EXPECT_EQ(f.Sim().iCount(kOpSetTime), 1);
    EXPECT_TRUE(f.ui.Texts().empty());
    doc.OnCommand(Cmd::kConnect, 0);
    EXPECT_FALSE(f.Session().bIsOnline());
    EXPECT_FALSE(doc.GetCommandState(Cmd::kConnect).checked);
}

TEST(SessionConnection, SendTimeIsOfferedOnlyForItsEditionsAndAFailureShows4174) {
    // The project is for a Rovan, the device a Kesta, which has no clock to set.
    OSessionSetup setup = SimSetup({"--hardware", "7"});
    setup.target = {512, 818, 0, 6, 1, 8};
    OSessionFixture f(setup);
    f.Doc().OnCommand(Cmd::kConnect, 0);
    ASSERT_TRUE(f.Doc().GetCommandState(Cmd::kSendTime).enabled);
    f.Doc().OnCommand(Cmd::kSendTime, 0);
    EXPECT_EQ(f.ui.Texts(), std::vector<std::string>{ResStr(4174)});

    OSessionSetup kesta = SimSetup({"--hardware", "7"});
    kesta.target = {7, 818, 0, 6, 1, 8};
    OSessionFixture g(kesta);
    g.Doc().OnCommand(Cmd::kConnect, 0);
    EXPECT_FALSE(g.Doc().GetCommandState(Cmd::kSendTime).enabled);
    g.Doc().OnCommand(Cmd::kSendTime, 0);
    EXPECT_EQ(g.Sim().iCount(kOpSetTime), 0);
}

TEST(SessionConnection, ABusyDeviceDisablesConnectAndTheModes) {
    OSessionFixture f(SimSetup({"--busy-after", "1", "--busy-for", "30"}));
    f.Doc().OnCommand(Cmd::kConnect, 0);
    ASSERT_EQ(f.Link().commandSYNCRO(), 1);
    ASSERT_TRUE(bWaitFor([&] { return f.Session().bIsBusy(); }));
    EXPECT_FALSE(f.Doc().GetCommandState(Cmd::kConnect).enabled);
    EXPECT_TRUE(f.Doc().GetCommandState(Cmd::kConnect).checked);
    EXPECT_FALSE(f.Doc().GetCommandState(Cmd::kDiagnosticMode).enabled);
    EXPECT_FALSE(f.Doc().GetCommandState(Cmd::kRecordSampleParts).enabled);
}

}  // namespace
