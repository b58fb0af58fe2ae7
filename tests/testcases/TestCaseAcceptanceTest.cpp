// Test cases made the way a user makes them — pictures recorded from a camera, taught, the
// approved parts saved beside each project — and verified with kalvorctl against the camera
// simulator over real sockets: all pass against a faithful device, and a deviating, a silent
// device and a missing approved-parts file show in the verification log.
#include <gtest/gtest.h>

#include <sstream>

#include "LogReading.h"
#include "document/ODoc.h"
#include "document/OHeadlessDocument.h"
#include "model/partset/OType_ZRPartSet.h"
#include "platform/OSettings_Memory.h"
#include "platform/OUserInteraction_Scripted.h"
#include "support/CameraLine.h"
#include "support/CtlRun.h"
#include "support/DevsimProcess.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

constexpr int kPartsPerCase = 4;

// The logs kalvorctl wrote into a folder, joined.
std::string Logs(const fs::path& dir) {
    std::string all;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.path().extension() == ".csv") all += ReadAll(entry.path());
    return all;
}

class TestCaseAcceptance : public ::testing::Test {
  protected:
    // One folder of three test cases for every test: made once, copied per test.
    static void SetUpTestSuite() {
        s_made = new TempDir;
        MakeCases(s_made->Path());
    }
    static void TearDownTestSuite() {
        delete s_made;
        s_made = nullptr;
    }

    static void MakeCases(const fs::path& dir) {
        ASSERT_NO_FATAL_FAILURE(ImportTwoRecordedTypes(dir, "line.kvp"));
        ASSERT_NO_FATAL_FAILURE(
            AddImageTools(dir, "line.kvp",
                          {{"--kind", "103", "--region", "120,80,400,320"},
                           {"--kind", "105", "--subkind", "369", "--region", "120,80,400,320"}}));
        // Parts of the line, recorded from a device that runs the program.
        DevsimProcess line(CameraWith({"--schedule", "1:1x1,2:1x1"}));
        ASSERT_TRUE(line.bIsReady());
        ASSERT_NO_FATAL_FAILURE(CtlSucceeds(
            dir, {"device", "send", "line.kvp", "--program", "0", "--host", Host(line)}));
        ASSERT_NO_FATAL_FAILURE(CtlSucceeds(
            dir, {"device", "record", "--host", Host(line), "--count",
                  std::to_string(kPartsPerCase), "--test", "--images", "recorded.kvl"}));
        // Approved: the recorded parts as the program computes them, saved per test case by
        // each of the three name rules.
        OSettings_Memory settings;
        OUserInteraction_Scripted ui;
        OHeadlessDocument headless(settings, &ui);
        std::string error;
        ASSERT_EQ(headless.Doc().LoadProjectFile((dir / "line.kvp").string(), error, 1), 1)
            << error;
        OType_ZRPartSet* program = headless.Session().opGetActualPartSet();
        ASSERT_NE(program, nullptr);
        ASSERT_EQ(program->iLoadParts(dir / "recorded.kvl", false, &error), 1) << error;
        headless.Doc().Recompute(program, 0, 1, 1, 1, 0);
        fs::create_directories(dir / "cases");
        program->SetName("Housing");
        const std::string name = program->GetName();
        ASSERT_EQ(headless.Doc().WriteProjectFile((dir / "line.kvp").string(), error), 1) << error;
        const std::vector<std::pair<std::string, std::string>> cases = {
            {"case1.kvp", "case1.kvl"},
            {"case2.kvp", "case2#1.kvl"},
            {"case3.kvp", "case3#" + name + ".kvl"}};
        for (const auto& [project, approved] : cases) {
            fs::copy_file(dir / "line.kvp", dir / "cases" / project);
            ASSERT_EQ(program->iParts2File(false, dir / "cases" / approved, 2, nullptr, &error), 1)
                << error;
        }
    }

    // A copy of the made test cases for one test.
    fs::path Cases() {
        fs::copy(s_made->Path() / "cases", m_dir / "cases");
        fs::create_directories(m_dir / "logs");
        return m_dir / "cases";
    }

    CtlRun Verify(const DevsimProcess& device, std::vector<std::string> more = {}) {
        std::vector<std::string> args = {"testcases",
                                         "--eth",
                                         Host(device),
                                         "--dir",
                                         (m_dir / "cases").string(),
                                         "--log-dir",
                                         (m_dir / "logs").string()};
        args.insert(args.end(), more.begin(), more.end());
        return Ctl(m_dir.Path(), args);
    }

    static TempDir* s_made;
    TempDir m_dir;
};

TempDir* TestCaseAcceptance::s_made = nullptr;

TEST_F(TestCaseAcceptance, EveryPartPassesOnADeviceThatRunsTheProgramFaithfully) {
    Cases();
    DevsimProcess device(CameraWith({"--triggered"}));
    ASSERT_TRUE(device.bIsReady());
    const CtlRun run = Verify(device);
    const std::string log = Logs(m_dir / "logs");
    EXPECT_EQ(run.status, 0) << run.err << log;
    EXPECT_NE(run.out.find("3 test case(s): passed"), std::string::npos) << run.out;
    EXPECT_EQ(Count(log, "Filename of testcase;"), 3) << log;
    EXPECT_EQ(Count(log, "Connect to device;" + Host(device) + ";passed\r\n"), 1)
        << "the link is kept from one test case to the next";
    EXPECT_EQ(Count(log, "File open;"), 3);
    EXPECT_EQ(Count(log, "Send check prg.;"), 3);
    for (const char* file : {"case1.kvl", "case2#1.kvl"})
        EXPECT_NE(log.find(std::string("Load approved parts;") + file + ";passed\r\n"),
                  std::string::npos)
            << file;
    const std::string counters = "passed\r\nsent:;4\r\nreceived:;4\r\npassed:;4\r\nfailed:;0\r\n";
    EXPECT_EQ(Count(log, counters), 3) << log;
    EXPECT_EQ(Count(log, "Completed testcase;"), 3);
    EXPECT_EQ(log.find("failed\r\n"), std::string::npos) << log;
}

TEST_F(TestCaseAcceptance, ADeviatingDeviceIsCaughtByBothComparisons) {
    Cases();
    DevsimProcess device(CameraWith({"--triggered", "--test-deviate", "10"}));
    ASSERT_TRUE(device.bIsReady());
    const CtlRun run = Verify(device);
    const std::string log = Logs(m_dir / "logs");
    EXPECT_EQ(run.status, 1) << log;
    EXPECT_EQ(Count(log, ";Mode;Timestamp;Part;Error description\r\n"), 3) << "one per program";
    EXPECT_EQ(Count(log, ";CLASSIFIER ;"), 3 * kPartsPerCase) << log;
    EXPECT_NE(log.find(";1;Deviation\r\n"), std::string::npos) << log;
    // Features grew by 10 %: the device differs from this program and from the approved
    // parts, which agree with each other.
    EXPECT_EQ(Count(log, ";EX: P<>C A<>C ;"), 3 * kPartsPerCase) << log;
    EXPECT_EQ(log.find("A<>P"), std::string::npos);
    EXPECT_NE(log.find("(PC <> Cam: "), std::string::npos);
    EXPECT_NE(log.find("(Approved <> Cam: "), std::string::npos);
    EXPECT_EQ(Count(log, "failed\r\nsent:;4\r\nreceived:;4\r\npassed:;0\r\nfailed:;4\r\n"), 3);
}

TEST_F(TestCaseAcceptance, ASilentDeviceTimesOutOncePerPartAndTheRunEnds) {
    Cases();
    fs::remove(m_dir / "cases" / "case2.kvp");
    fs::remove(m_dir / "cases" / "case3.kvp");
    DevsimProcess device(CameraWith({"--triggered", "--test-silent"}));
    ASSERT_TRUE(device.bIsReady());
    const CtlRun run = Verify(device, {"--result-wait", "1"});
    const std::string log = Logs(m_dir / "logs");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(Count(log, "TIME-OUT:;While waiting for the following part to be verified:;"),
              kPartsPerCase)
        << log;
    EXPECT_NE(log.find("verified:;4;failed\r\n"), std::string::npos);
    EXPECT_NE(log.find("sent:;4\r\nreceived:;0\r\npassed:;0\r\nfailed:;4\r\n"), std::string::npos);
    EXPECT_EQ(Count(log, "Completed testcase;case1.kvp"), 1);
}

TEST_F(TestCaseAcceptance, ARemovedApprovedPartsFileIsNamedAndTheOthersStillRun) {
    const fs::path cases = Cases();
    fs::remove(cases / "case2#1.kvl");
    DevsimProcess device(CameraWith({"--triggered"}));
    ASSERT_TRUE(device.bIsReady());
    const CtlRun run = Verify(device);
    const std::string log = Logs(m_dir / "logs");
    EXPECT_EQ(run.status, 1) << "a test case that could not be verified did not pass";
    EXPECT_EQ(Count(log, "Load approved parts;<File not found>;failed\r\n"), 1) << log;
    EXPECT_EQ(Count(log, "passed:;4\r\n"), 2) << "the other two test cases were verified";
}

TEST_F(TestCaseAcceptance, NoDeviceAndNoLogFolderEndWithAClearMessage) {
    Cases();
    std::vector<std::string> args = {"testcases",
                                     "--eth",
                                     "127.0.0.1:1",
                                     "--dir",
                                     (m_dir / "cases").string(),
                                     "--log-dir",
                                     (m_dir / "logs").string(),
                                     "--result-wait",
                                     "1"};
    CtlRun run = Ctl(m_dir.Path(), args);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(Count(Logs(m_dir / "logs"), "Connect to device;127.0.0.1:1;failed\r\n"), 3);
    args[6] = (m_dir / "missing" / "deeper").string();
    run = Ctl(m_dir.Path(), args);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("cannot open the verification log"), std::string::npos) << run.err;
}

#ifdef KALVOR_APP_PATH
// The same run from the desktop program's test mode: it works through the test cases on its
// own, writes the log and ends by itself.
TEST_F(TestCaseAcceptance, TheDesktopTestModeRunsTheCasesAndEndsByItself) {
    Cases();
    DevsimProcess device(CameraWith({"--triggered"}));
    ASSERT_TRUE(device.bIsReady());
    fs::create_directories(m_dir / "home");
    const std::string home = (m_dir / "home").string();
    const CtlRun run = RunProgram(
        m_dir.Path(), "timeout",
        {"120", KALVOR_APP_PATH, "-nologo", "-TESTMODE:CASES", "-ETH:" + Host(device),
         "-TESTCASE_DIR:" + (m_dir / "cases").string(), "-LOG_DIR:" + (m_dir / "logs").string(),
         "-SKIP_CLASSIFIER:no"},
        {"QT_QPA_PLATFORM=offscreen", "HOME=" + home, "XDG_CONFIG_HOME=" + home + "/.config"});
    EXPECT_EQ(run.status, 0) << "ended by itself, not by the time-out: " << run.err;
    const std::string log = Logs(m_dir / "logs");
    EXPECT_EQ(Count(log, "Filename of testcase;"), 3) << log << run.err;
    EXPECT_EQ(Count(log, "passed\r\nsent:;4\r\nreceived:;4\r\npassed:;4\r\nfailed:;0\r\n"), 3)
        << log;
    EXPECT_EQ(Count(log, "Completed testcase;"), 3);
}
#endif

}  // namespace
