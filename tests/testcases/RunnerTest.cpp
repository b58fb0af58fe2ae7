// The run loop against a scripted device: which files it takes, what it logs for each step
// and each fault, and that it always ends by posting the end.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <sstream>

#include "LogReading.h"
#include "support/TempDir.h"
#include "testcases/OTestCaseRunner.h"

namespace {

namespace fs = std::filesystem;

void Touch(const fs::path& path) {
    std::ofstream(path) << "x";
}

OType_Part ApprovedPart(double area) {
    OType_Part p;
    OType_Image image(8, 6, 1);
    p.AddImage(image);
    p.SetType(1);
    p.SetOrientation(1);
    OType_Feature f;
    f.name = "Area";
    f.value = area;
    p.Features().Add(f);
    return p;
}

// A device and document that do what the test says, on the calling thread.
class ScriptedHost : public OTestCaseHost {
  public:
    OTestCaseRunner* runner = nullptr;
    bool connects = true;
    bool answers = true;
    double deviceArea = 100.0;
    std::vector<std::string> programs = {"Line"};
    std::vector<OType_Part> approved = {ApprovedPart(100.0), ApprovedPart(100.0)};
    std::vector<std::string> opened;
    std::vector<std::string> loaded;
    std::atomic<int> ends{0};
    std::atomic<int> triggers{0};
    int endRuns = 0;

    bool bRunOnUiThread(const std::function<void()>& call) override {
        call();
        return true;
    }
    void PostEnd() override { ++ends; }
    bool bLinkUsable() override { return m_connected; }
    bool bConnect(const std::string&) override { return m_connected = connects; }
    bool bOpenProject(const std::string& path, std::string& description) override {
        opened.push_back(fs::path(path).filename().string());
        description = "Line A";
        return true;
    }
    bool bAdaptToDevice(OTestDeviceImage& image, std::string&) override {
        image = {8, 6, 8};
        return true;
    }
    int iGetProgramCount() override { return static_cast<int>(programs.size()); }
    std::string GetProgramName(int index) override { return programs[static_cast<size_t>(index)]; }
    bool bSendProgram(int) override { return true; }
    bool bLoadParts(const std::string& path, std::vector<OType_Part>& parts,
                    std::string&) override {
        loaded.push_back(fs::path(path).filename().string());
        parts = approved;
        return true;
    }
    bool bSendTestImage(const OType_Image& image, const OType_Image&) override {
        return image.iGetWidth() == 8;
    }
    bool bTrigger() override {
        ++triggers;
        if (answers) runner->OnDevicePart(ApprovedPart(deviceArea));
        return true;
    }
    OType_Part Recompute(const OType_Part&) override { return ApprovedPart(100.0); }
    std::string ToolName(int) override { return "Blob"; }
    void EndRun() override { ++endRuns; }

  private:
    bool m_connected = false;
};

class RunnerTest : public ::testing::Test {
  protected:
    TempDir dir;
    ScriptedHost host;

    std::string Run(OTestCaseOptions options = {}) {
        options.testCaseDir = dir.Path().string() + "/";
        options.logDir = (dir / "logs").string() + "/";
        fs::create_directories(dir / "logs");
        OTestCaseRunner runner(host, options);
        runner.SetResultWait(std::chrono::milliseconds(10), 3);
        host.runner = &runner;
        std::string error;
        EXPECT_TRUE(runner.bInit(&error)) << error;
        EXPECT_TRUE(runner.bStart());
        runner.Join();
        failures = runner.bHasFailures();
        cases = runner.iGetTestCaseCount();
        return ReadAll(runner.LogPath());
    }
    bool failures = false;
    int cases = 0;
};

TEST_F(RunnerTest, EveryProjectOfTheSecondFamilyIsRunInNameOrder) {
    Touch(dir / "b.kvp");
    Touch(dir / "a.kvp");
    Touch(dir / "old.zrp");
    Touch(dir / "a.kvl");
    Touch(dir / "b.kvl");
    const std::string log = Run();
    EXPECT_EQ(host.opened, (std::vector<std::string>{"a.kvp", "b.kvp"})) << "not the .zrp";
    EXPECT_EQ(cases, 2);
    EXPECT_FALSE(failures) << log;
    EXPECT_EQ(host.ends, 1) << "the end is posted once";
    EXPECT_EQ(Count(log, "Connect to device;"), 1) << "a usable link is kept";
    EXPECT_NE(log.find("Filename of testcase;a.kvp\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("File open;" + (dir / "a.kvp").string() + ";passed\r\n"), std::string::npos);
    EXPECT_NE(log.find("File description;Line A;passed\r\n"), std::string::npos);
    EXPECT_NE(log.find("Send check prg.;Line;passed\r\n"), std::string::npos);
    EXPECT_NE(log.find("Load approved parts;a.kvl;passed\r\n"), std::string::npos);
    EXPECT_NE(log.find("passed\r\nsent:;2\r\nreceived:;2\r\npassed:;2\r\nfailed:;0\r\n"),
              std::string::npos)
        << log;
    EXPECT_EQ(Count(log, "Completed testcase;"), 2);
}

TEST_F(RunnerTest, ApprovedPartsFilesFollowTheThreeNameRules) {
    Touch(dir / "case.kvp");
    Touch(dir / "case#Line.kvl");
    Touch(dir / "case#2.kvl");
    Touch(dir / "case.kvl");
    EXPECT_EQ(OTestCaseRunner::ApprovedPartsFile(dir / "case.kvp", "Line", 1, 2).filename(),
              "case#Line.kvl");
    EXPECT_EQ(OTestCaseRunner::ApprovedPartsFile(dir / "case.kvp", "Other", 2, 2).filename(),
              "case#2.kvl");
    EXPECT_TRUE(OTestCaseRunner::ApprovedPartsFile(dir / "case.kvp", "Other", 3, 2).empty())
        << "the plain name only serves a project with one program";
    EXPECT_EQ(OTestCaseRunner::ApprovedPartsFile(dir / "case.kvp", "Other", 3, 1).filename(),
              "case.kvl");
}

TEST_F(RunnerTest, AMissingApprovedPartsFileIsLoggedAndNotVerified) {
    Touch(dir / "case.kvp");
    host.programs = {"First", "Second"};
    Touch(dir / "case#First.kvl");
    const std::string log = Run();
    EXPECT_NE(log.find("Load approved parts;case#First.kvl;passed"), std::string::npos) << log;
    EXPECT_NE(log.find("Load approved parts;<File not found>;failed\r\n"), std::string::npos)
        << log;
    EXPECT_EQ(host.loaded.size(), 1u);
    EXPECT_EQ(host.triggers, 2) << "only the first program's parts were sent";
    EXPECT_TRUE(failures);
    EXPECT_EQ(host.ends, 1);
}

TEST_F(RunnerTest, ASilentDeviceGivesOneTimeOutPerPart) {
    Touch(dir / "case.kvp");
    Touch(dir / "case.kvl");
    host.answers = false;
    const std::string log = Run();
    EXPECT_EQ(Count(log, "TIME-OUT:;While waiting for the following part to be verified:;"), 2)
        << log;
    EXPECT_NE(log.find("failed\r\nTIME-OUT:;While waiting for the following part to be "
                       "verified:;1;failed\r\n"),
              std::string::npos);
    EXPECT_NE(log.find("sent:;2\r\nreceived:;0\r\npassed:;0\r\nfailed:;2\r\n"), std::string::npos);
    EXPECT_TRUE(failures);
}

TEST_F(RunnerTest, DifferencesAreLoggedUnderOneHeader) {
    Touch(dir / "case.kvp");
    Touch(dir / "case.kvl");
    host.deviceArea = 120.0;
    const std::string log = Run();
    EXPECT_EQ(Count(log, ";Mode;Timestamp;Part;Error description\r\n"), 1) << log;
    EXPECT_EQ(Count(log, ";EX: P<>C A<>C ;"), 2) << log;
    EXPECT_NE(log.find(";2; 1. Global feature - Area: "), std::string::npos) << "part 2 is named";
    EXPECT_EQ(log.find(" | \r\n"), std::string::npos) << "the last separator is dropped";
    EXPECT_NE(log.find("failed\r\nsent:;2\r\nreceived:;2\r\npassed:;0\r\nfailed:;2"),
              std::string::npos);
}

TEST_F(RunnerTest, SkipClassifierLeavesOutTheClassificationOnly) {
    Touch(dir / "case.kvp");
    Touch(dir / "case.kvl");
    host.approved = {ApprovedPart(100.0)};
    host.approved[0].SetType(2);  // the device reports type 1
    OTestCaseOptions options;
    options.skipClassifier = true;
    std::string log = Run(options);
    EXPECT_EQ(log.find("CLASSIFIER"), std::string::npos) << log;
    EXPECT_FALSE(failures);
    options.skipClassifier = false;
    host.opened.clear();
    log = Run(options);
    EXPECT_NE(log.find(";CLASSIFIER ;"), std::string::npos) << log;
    EXPECT_NE(log.find(";1;Type\r\n"), std::string::npos) << log;
}

TEST_F(RunnerTest, ADeviceThatCannotBeReachedSkipsTheTestCasesAndEnds) {
    Touch(dir / "a.kvp");
    Touch(dir / "b.kvp");
    host.connects = false;
    const std::string log = Run();
    EXPECT_EQ(Count(log, "Connect to device;"), 2) << "tried again for each test case";
    EXPECT_NE(log.find(";failed\r\n"), std::string::npos);
    EXPECT_TRUE(host.opened.empty());
    EXPECT_EQ(Count(log, "Completed testcase;"), 2);
    EXPECT_TRUE(failures);
    EXPECT_EQ(host.ends, 1);
}

TEST_F(RunnerTest, AnEmptyFolderIsAFailedRun) {
    const std::string log = Run();
    EXPECT_EQ(cases, 0);
    EXPECT_TRUE(failures);
    EXPECT_EQ(host.ends, 1);
}

TEST(Runner, WithoutALogNothingRunsAndTheEndIsPosted) {
    ScriptedHost host;
    OTestCaseOptions options;
    options.logDir = "/nonexistent-folder/";
    OTestCaseRunner runner(host, options);
    std::string error;
    EXPECT_FALSE(runner.bInit(&error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(runner.bStart());
    EXPECT_EQ(host.ends, 1);
    EXPECT_TRUE(runner.bHasFailures());
}

TEST(Runner, AStopEndsTheRunBetweenParts) {
    TempDir dir;
    Touch(dir / "case.kvp");
    Touch(dir / "case.kvl");
    ScriptedHost host;
    host.answers = false;
    host.approved.assign(50, ApprovedPart(1.0));
    OTestCaseOptions options;
    options.testCaseDir = dir.Path().string() + "/";
    options.logDir = dir.Path().string() + "/";
    OTestCaseRunner runner(host, options);
    runner.SetResultWait(std::chrono::milliseconds(20), 1000);
    host.runner = &runner;
    ASSERT_TRUE(runner.bInit());
    ASSERT_TRUE(runner.bStart());
    while (host.triggers == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    runner.Stop();
    runner.Join();
    EXPECT_EQ(host.triggers, 1) << "no part after the stop";
    EXPECT_EQ(host.ends, 1);
    EXPECT_EQ(ReadAll(runner.LogPath()).find("TIME-OUT"), std::string::npos)
        << "a stop is no time-out";
}

}  // namespace
