// Login, modes, keep-alive, time-outs and the fault injections of the simulator, over real
// loopback sockets.
#include <dirent.h>

#include <future>

#include "LinkTestSupport.h"

using namespace LinkProtocol;
using LinkTest::iConnect;
using LinkTest::MakeLink;

namespace {

int CountEntries(const char* dir) {
    int n = 0;
    if (DIR* d = opendir(dir)) {
        while (readdir(d))
            ++n;
        closedir(d);
    }
    return n;
}

}  // namespace

TEST(LinkConnect, LoginModesAndKeepAlive) {
    DevsimProcess sim;
    ASSERT_TRUE(sim.bIsReady()) << sim.ReadyLine();
    OCommandQueue_Manual queue;
    auto link = MakeLink(sim, &queue);
    EXPECT_EQ(link->iGetInterfaceType(), 3);
    EXPECT_EQ(link->iGetComOnLine(), 0);
    EXPECT_EQ(link->commandSYNCRO(), Result::kNotOnline);
    ASSERT_EQ(iConnect(*link), 1);
    EXPECT_EQ(link->iGetComOnLine(), 1);
    EXPECT_EQ(link->commandSYNCRO(), 1);
    EXPECT_EQ(link->iGetDiagMode(), 0);
    EXPECT_EQ(link->commandKONTUR(), Result::kRefusedInMode);  // contour needs diagnostic mode
    EXPECT_EQ(link->GetLastComInterfaceError(), Result::kRefusedInMode);
    EXPECT_EQ(link->commandEWDIAG(), 1);
    EXPECT_EQ(link->iGetDiagMode(), 1);
    EXPECT_EQ(link->commandKONTUR(), 1);
    EXPECT_EQ(link->iGetSendMode(), 1);
    EXPECT_EQ(link->commandPARTIMAGES_ON(), 1);
    EXPECT_EQ(link->iGetSendMode(), 4);
    EXPECT_TRUE(link->bIsTriggerPossible());
    EXPECT_EQ(link->commandPARTIMAGES_OFF(), 1);
    EXPECT_EQ(link->iGetSendMode(), 1);
    EXPECT_EQ(link->commandKONZEI(), 1);
    EXPECT_EQ(link->iGetSendMode(), 0);
    EXPECT_EQ(link->iSetDiagMode(0, 0), 1);
    EXPECT_EQ(link->iGetDiagMode(), 0);
    EXPECT_FALSE(link->bIsTriggerPossible());
    // Kesta editions do not take the computer's time; parameters they do.
    EXPECT_EQ(link->commandSETTIME(), Result::kNotSupported);
    EXPECT_EQ(link->commandSETPAR(7065, 12.0), 1);
    // Mode changes arrived as one coalesced state notification.
    EXPECT_TRUE(queue.bHasPending(LinkNotification::kStateChanged));
    EXPECT_EQ(link->iDisConnect(0, 0), 1);
    EXPECT_EQ(link->iGetComOnLine(), 0);
}

TEST(LinkConnect, EditionsDecideWhatTheDeviceTakes) {
    DevsimProcess classic({"--hardware", "1"});
    auto link = MakeLink(classic, nullptr);
    ASSERT_EQ(iConnect(*link), 1);
    EXPECT_EQ(link->commandEWDIAG(), 1);
    EXPECT_EQ(link->commandPARTIMAGES_ON(), Result::kNotSupported);
    OType_ComPackage log(0, 1, 1, 0);
    log.SetUploadName("$UPT_LOG");
    EXPECT_EQ(log.iReceiveDataPackage(*link), Result::kNotSupported);

    DevsimProcess range({"--hardware", "512"});
    auto camera = MakeLink(range, nullptr);
    ASSERT_EQ(iConnect(*camera), 1);
    EXPECT_EQ(camera->commandSETTIME(), 1);
}

TEST(LinkConnect, TryAgainIsAnsweredUntilTheDeviceTakesTheLogin) {
    DevsimProcess sim({"--login-retries", "3"});
    auto link = MakeLink(sim, nullptr);
    std::vector<int> results;
    for (int i = 0; i < 10; ++i) {
        results.push_back(link->iConnect(0, 0, 0, 0, 0, true, true));
        if (results.back() != Result::kTryAgain) break;
    }
    EXPECT_EQ(results, (std::vector<int>{35202, 35202, 35202, 1}));
    EXPECT_EQ(link->iGetComOnLine(), 1);
}

TEST(LinkConnect, ADeviceThatNeverTakesTheLoginEndsInATimeOut) {
    DevsimProcess sim({"--login-retries", "100000"});
    auto link = MakeLink(sim, nullptr, 1);
    int r = Result::kTryAgain;
    int tries = 0;
    while (r == Result::kTryAgain && tries < 100) {
        r = link->iConnect(0, 0, 0, 0, 0, true, true);
        ++tries;
    }
    EXPECT_EQ(r, Result::kTimeOut);
    EXPECT_GT(tries, 2);
    EXPECT_EQ(link->iGetComOnLine(), 0);
}

TEST(LinkConnect, NoDeviceListeningFailsAtOnce) {
    DevsimProcess sim;
    const std::string port = sim.PortText(0);
    sim.Stop();
    auto link = std::make_unique<OQuillonComInterface_TCP>(nullptr, nullptr, nullptr, nullptr, 0);
    link->SetAddress("127.0.0.1");
    link->SetPorts(port, "1", "2");
    EXPECT_EQ(link->iConnect(0, 0, 0, 0, 0, true, true), Result::kConnectFailed);
    link->SetPorts("0", "1", "2");
    EXPECT_EQ(link->iConnect(0, 0, 0, 0, 0, true, true), Result::kBadArgument);
}

TEST(LinkConnect, SlowAnswersTimeOutAndLateAnswersAreDropped) {
    DevsimProcess sim({"--delay-ms", "1500"});
    auto link = MakeLink(sim, nullptr, 1);
    ASSERT_EQ(iConnect(*link), 1);  // logins are not delayed
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(link->commandSYNCRO(), Result::kTimeOut);
    const auto took = std::chrono::steady_clock::now() - start;
    // The time-out was waited for, and the exchange ended before the late answer came.
    EXPECT_GE(took, std::chrono::milliseconds(900));
    link->SetTimeOut_SEC(3);
    EXPECT_EQ(link->commandSYNCRO(),
              1);  // the first answer came late and was not taken for this one
    EXPECT_EQ(link->iGetTimeOut_SEC(), 3);
}

TEST(LinkConnect, BusyDeviceRefusesTransfersButAnswersKeepAlives) {
    DevsimProcess sim({"--busy-after", "2", "--busy-for", "1"});
    OCommandQueue_Manual queue;
    auto link = MakeLink(sim, &queue);
    ASSERT_EQ(iConnect(*link), 1);
    EXPECT_EQ(link->commandSYNCRO(), 1);
    EXPECT_EQ(link->commandSYNCRO(), 1);  // the second request makes the device busy
    EXPECT_EQ(link->iGetDeviceBusyState(), 1);
    EXPECT_EQ(link->uploadZRINFO(), Result::kDeviceBusy);   // refused without traffic
    EXPECT_EQ(link->commandEWDIAG(), Result::kDeviceBusy);  // refused by the device
    EXPECT_EQ(link->commandSYNCRO(), 1);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (link->iGetDeviceBusyState() && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(link->iGetDeviceBusyState(), 0);
    EXPECT_EQ(link->uploadZRINFO(), 1);
}

TEST(LinkConnect, BusyAtStartAsksToTryAgain) {
    DevsimProcess sim({"--busy-for", "0.5"});
    auto link = MakeLink(sim, nullptr);
    EXPECT_EQ(link->iConnect(0, 0, 0, 0, 0, true, true), Result::kTryAgain);
    EXPECT_EQ(iConnect(*link), 1);
}

TEST(LinkConnect, RejectedTransfersReturnTheDevicesCode) {
    DevsimProcess sim({"--reject", "13107"});
    auto link = MakeLink(sim, nullptr);
    ASSERT_EQ(iConnect(*link), 1);
    EXPECT_EQ(link->uploadZRINFO(), 1);
    OType_ComPackage p(0, 1, 1, 0);
    p.SetNames("$DCPRGDT", "$UCPRGDT");
    p.iSetData(LinkTest::ProgramOfSize(1000, "P"));
    EXPECT_EQ(p.iSendDataPackage(*link), Result::kNoRoom);
    EXPECT_EQ(link->GetLastComInterfaceError(), Result::kNoRoom);
}

TEST(LinkConnect, ADroppedConnectionIsReportedAndReconnected) {
    DevsimProcess sim({"--drop-after", "3"});
    OCommandQueue_Manual queue;
    auto link = MakeLink(sim, &queue);
    ASSERT_EQ(iConnect(*link), 1);
    EXPECT_EQ(link->commandSYNCRO(), 1);
    EXPECT_EQ(link->commandSYNCRO(), 1);
    EXPECT_EQ(link->commandSYNCRO(), 1);  // answered, then the device drops the session
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (!queue.bHasPending(LinkNotification::kConnectionLost) &&
           std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(link->iGetComOnLine(), 0);
    EXPECT_EQ(link->commandSYNCRO(), Result::kConnectionLost);
    EXPECT_TRUE(queue.bHasPending(LinkNotification::kConnectionLost));
    EXPECT_EQ(link->UpdatePO(), 1);
    EXPECT_EQ(link->UpdatePO(), 0);
    EXPECT_EQ(link->iReConnect(0, 0), 1);
    EXPECT_EQ(link->iGetComOnLine(), 1);
    EXPECT_EQ(link->commandSYNCRO(), 1);
}

TEST(LinkConnect, MalformedAnswersEndTheirExchangeAndTheLinkGoesOn) {
    struct Case {
        const char* kind;
        int expected;
    };
    for (const Case& c :
         {Case{"oversize", Result::kProtocolError}, Case{"unknown", Result::kProtocolError},
          Case{"truncated", Result::kProtocolError}, Case{"badcheck", Result::kTimeOut},
          Case{"garbage", Result::kTimeOut}}) {
        DevsimProcess sim({"--malformed-every", "2", "--malformed-kind", c.kind});
        auto link = MakeLink(sim, nullptr, 1);
        ASSERT_EQ(iConnect(*link), 1) << c.kind;
        EXPECT_EQ(link->commandSYNCRO(), 1) << c.kind;
        EXPECT_EQ(link->commandSYNCRO(), c.expected) << c.kind;
        EXPECT_EQ(link->commandSYNCRO(), 1) << c.kind;
        EXPECT_EQ(link->uploadZRINFO(), c.expected) << c.kind;
        EXPECT_EQ(link->uploadZRINFO(), 1) << c.kind;
        EXPECT_EQ(link->iGetComOnLine(), 1) << c.kind;
        EXPECT_GE(link->iGetRefusedFrames(), 2u) << c.kind;
    }
}

TEST(LinkConnect, KeepAliveSucceedsOnARetry) {
    DevsimProcess sim({"--malformed-every", "2", "--malformed-kind", "unknown"});
    auto link = MakeLink(sim, nullptr, 1);
    ASSERT_EQ(iConnect(*link), 1);
    EXPECT_EQ(link->commandSYNCRO(), 1);
    // What the session does: up to three keep-alives, the first success counts.
    int tries = 0, r = 0;
    while (tries < 3 && r != 1) {
        r = link->commandSYNCRO();
        ++tries;
    }
    EXPECT_EQ(r, 1);
    EXPECT_EQ(tries, 2);
}

TEST(LinkConnect, DisconnectIsRefusedWhileAnotherThreadTransfers) {
    DevsimProcess sim({"--delay-ms", "600"});
    auto link = MakeLink(sim, nullptr);
    ASSERT_EQ(iConnect(*link), 1);
    auto running = std::async(std::launch::async, [&] { return link->uploadZRINFO(); });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(link->iDisConnect(0, 0), 0);
    EXPECT_EQ(link->GetLastComInterfaceError(), Result::kExchangeRunning);
    EXPECT_EQ(running.get(), 1);
    EXPECT_EQ(link->iDisConnect(0, 0), 1);
}

TEST(LinkConnect, ManyConnectCyclesLeakNoThreadOrSocket) {
    DevsimProcess sim;
    auto link = MakeLink(sim, nullptr);
    ASSERT_EQ(iConnect(*link), 1);  // warm up lazily created resources
    link->iDisConnect(0, 0);
    const int threads = CountEntries("/proc/self/task");
    const int files = CountEntries("/proc/self/fd");
    for (int i = 0; i < 200; ++i) {
        ASSERT_EQ(iConnect(*link), 1) << i;
        ASSERT_EQ(link->commandSYNCRO(), 1) << i;
        ASSERT_EQ(link->iDisConnect(i % 2, 0), 1) << i;
    }
    link.reset();
    EXPECT_EQ(CountEntries("/proc/self/task"), threads);
    EXPECT_EQ(CountEntries("/proc/self/fd"), files);
}

TEST(LinkConnect, ADeviceDropsASessionThatStaysSilent) {
    DevsimProcess sim({"--keepalive-timeout", "0.3"});
    OCommandQueue_Manual queue;
    auto link = MakeLink(sim, &queue);
    ASSERT_EQ(iConnect(*link), 1);
    // Keep-alives in time keep the session.
    for (int i = 0; i < 4; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        ASSERT_EQ(link->commandSYNCRO(), 1) << i;
    }
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (!queue.bHasPending(LinkNotification::kConnectionLost) &&
           std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(queue.bHasPending(LinkNotification::kConnectionLost));
    EXPECT_EQ(link->commandSYNCRO(), Result::kConnectionLost);
    EXPECT_EQ(link->iReConnect(0, 0), 1);
}
