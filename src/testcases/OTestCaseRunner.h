// The test-case runner: for every family-2 project in the test-case folder it connects to the
// device, opens the project, sends each check program, sends the images of the program's
// approved parts as test images and compares the device's result for each with the approved
// part and with this program's own recomputation, writing everything to the verification log.
//
// The run loop works on its own thread; opening a test case, device transfers and the
// comparisons run on the user-interface thread through the host. One run at a time (a
// semaphore), a stop flag ends it between parts, and the worker waits for each result in
// steps (1 s, 75 of them by default).
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <semaphore>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "testcases/OTestCaseHost.h"
#include "testcases/OVerificationLog.h"
#include "testcases/TestCaseOptions.h"

class OTestCaseRunner {
  public:
    struct OCounters {
        int sent = 0;
        int received = 0;
        int passed = 0;
        int failed = 0;
    };

    OTestCaseRunner(OTestCaseHost& host, OTestCaseOptions options);
    ~OTestCaseRunner();
    OTestCaseRunner(const OTestCaseRunner&) = delete;
    OTestCaseRunner& operator=(const OTestCaseRunner&) = delete;

    // Opens the log "Log [ADDRESS] (TIME).csv" in the log folder; false (with the reason)
    // when it cannot be opened: no run is possible then.
    bool bInit(std::string* error = nullptr);
    // Starts the worker when the log is open; otherwise posts the end. False when no run
    // started.
    bool bStart();
    // Asks the run to end after the part it works on.
    void Stop() { m_stop.store(true); }
    bool bIsStopping() const { return m_stop.load(); }
    // Waits for the worker to end.
    void Join();
    bool bIsRunning() const { return m_running.load(); }

    // A part came in from the device (user-interface thread). While the runner waits for a
    // result it is counted, compared and the worker woken.
    void OnDevicePart(const OType_Part& part);
    bool bIsWaiting() const;

    // The time the worker waits for each result: `steps` steps of `step`.
    void SetResultWait(std::chrono::milliseconds step, int steps);

    const OTestCaseOptions& Options() const { return m_options; }
    const std::string& LogPath() const { return m_logPath; }
    // Test cases found in the folder by the last run.
    int iGetTestCaseCount() const { return m_testCases.load(); }
    // Whether anything of the last run failed (or nothing could be run).
    bool bHasFailures() const { return m_anyFailure.load(); }
    // A message the program would have shown, written to the log instead (unattended run).
    void LogMessage(std::string_view text);
    // The end handler: closes the log.
    void CloseLog() { m_log.Close(); }

    // The family-2 project files of a folder, by name.
    static std::vector<std::filesystem::path> CollectTestCases(const std::filesystem::path& dir);
    // The approved-parts file of a program: "<case>#<program name>.kvl", "<case>#<number>.kvl"
    // or, for a project with one program, "<case>.kvl"; the first that exists, or empty.
    static std::filesystem::path ApprovedPartsFile(const std::filesystem::path& testCase,
                                                   const std::string& programName,
                                                   int programNumber, int programCount);

  private:
    void Run();
    void RunTestCase(const std::filesystem::path& path);
    bool bOpenTestCase(const std::filesystem::path& path);
    void RunProgram(const std::filesystem::path& testCase, int index, int count);
    void VerifyParts(std::vector<OType_Part> parts);
    // Sends one part's image and waits for the device's answer.
    void VerifyPart(const OType_Part& approved, int number);
    void LogCounters();
    void Log(std::vector<std::string> fields);
    void LogStatus(const std::string& what, const std::string& value, bool passed);
    void LogError(const std::string& mode, const std::string& text);
    void Fail() { m_anyFailure.store(true); }
    // Runs `call` on the user-interface thread; false when it could not.
    bool bOnUi(const std::function<void()>& call);

    OTestCaseHost& m_host;
    OTestCaseOptions m_options;
    OVerificationLog m_log;
    std::string m_logPath;
    std::thread m_worker;
    std::binary_semaphore m_runSemaphore{1};
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_anyFailure{false};
    std::atomic<int> m_testCases{0};
    std::chrono::milliseconds m_step{1000};
    int m_steps = 75;
    OTestDeviceImage m_deviceImage;

    // Shared with the user-interface thread.
    mutable std::mutex m_mutex;
    std::condition_variable m_resultEvent;
    bool m_resultSignalled = false;
    bool m_waiting = false;
    bool m_headerWritten = false;
    const OType_Part* m_approved = nullptr;  // the part being verified
    int m_partNumber = 0;
    uint64_t m_serial = 0;  // of the part being verified
    OCounters m_counters;
};
