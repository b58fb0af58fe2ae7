#include "testcases/OTestCaseRunner.h"

#include <algorithm>
#include <ctime>

#include "model/strings/CodePage.h"
#include "testcases/TestCaseComparison.h"

namespace fs = std::filesystem;

namespace {

constexpr auto kSemaphoreWait = std::chrono::milliseconds(1000);

const char* PassedText(bool passed) {
    return passed ? "passed" : "failed";
}

std::string Now(const char* format) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[40];
    std::strftime(text, sizeof text, format, &local);
    return text;
}

bool bIsProjectOfFamily2(const fs::path& path) {
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".kvp";
}

}  // namespace

OTestCaseRunner::OTestCaseRunner(OTestCaseHost& host, OTestCaseOptions options)
    : m_host(host), m_options(std::move(options)) {}

OTestCaseRunner::~OTestCaseRunner() {
    Stop();
    Join();
}

bool OTestCaseRunner::bInit(std::string* error) {
    m_logPath = OVerificationLog::FileName(m_options.logDir, m_options.address, std::time(nullptr));
    return m_log.bOpen(m_logPath, error);
}

bool OTestCaseRunner::bStart() {
    if (!m_log.bIsOpen() || m_running.load()) {
        if (!m_log.bIsOpen()) {
            Fail();
            m_host.PostEnd();
        }
        return false;
    }
    Join();
    m_stop.store(false);
    m_running.store(true);
    m_worker = std::thread([this] {
        Run();
        m_running.store(false);
    });
    return true;
}

void OTestCaseRunner::Join() {
    if (m_worker.joinable()) m_worker.join();
}

void OTestCaseRunner::SetResultWait(std::chrono::milliseconds step, int steps) {
    m_step = step;
    m_steps = std::max(1, steps);
}

bool OTestCaseRunner::bIsWaiting() const {
    std::lock_guard lock(m_mutex);
    return m_waiting;
}

bool OTestCaseRunner::bOnUi(const std::function<void()>& call) {
    return m_host.bRunOnUiThread(call);
}

std::vector<fs::path> OTestCaseRunner::CollectTestCases(const fs::path& dir) {
    std::vector<fs::path> found;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->is_regular_file(ec) && bIsProjectOfFamily2(it->path())) found.push_back(it->path());
    }
    std::sort(found.begin(), found.end());
    return found;
}

fs::path OTestCaseRunner::ApprovedPartsFile(const fs::path& testCase,
                                            const std::string& programName, int programNumber,
                                            int programCount) {
    const fs::path dir = testCase.parent_path();
    const std::string stem = testCase.stem().string();
    std::vector<fs::path> candidates = {
        dir / (stem + "#" + programName + ".kvl"),
        dir / (stem + "#" + std::to_string(programNumber) + ".kvl")};
    if (programCount == 1) candidates.push_back(dir / (stem + ".kvl"));
    std::error_code ec;
    for (const fs::path& p : candidates)
        if (fs::is_regular_file(p, ec)) return p;
    return {};
}

void OTestCaseRunner::Log(std::vector<std::string> fields) {
    m_log.bWrite(fields);
}

void OTestCaseRunner::LogMessage(std::string_view text) {
    std::string line(text);
    for (char& c : line)
        if (c == '\r' || c == '\n' || c == ';') c = ' ';
    Log({"Message", line});
}

void OTestCaseRunner::LogStatus(const std::string& what, const std::string& value, bool passed) {
    if (!passed) Fail();
    Log({what, value, PassedText(passed)});
}

void OTestCaseRunner::LogError(const std::string& mode, const std::string& text) {
    // Called with m_mutex held.
    if (!m_headerWritten) {
        Log({"", "Mode", "Timestamp", "Part", "Error description"});
        m_headerWritten = true;
    }
    Log({"", mode, Now("%Y-%m-%d %H:%M:%S"), std::to_string(m_partNumber),
         TestCaseComparison::WithoutLastSeparator(text)});
}

void OTestCaseRunner::Run() {
    if (!m_log.bIsOpen()) {
        Fail();
        m_host.PostEnd();
        return;
    }
    if (!m_runSemaphore.try_acquire_for(kSemaphoreWait)) return;
    m_anyFailure.store(false);
    if (!m_log.bIsOpen() && !m_log.bOpen(m_logPath)) {
        Fail();
        m_host.PostEnd();
        m_runSemaphore.release();
        return;
    }
    const std::vector<fs::path> cases = CollectTestCases(m_options.testCaseDir);
    m_testCases.store(static_cast<int>(cases.size()));
    if (cases.empty()) Fail();
    for (const fs::path& path : cases) {
        if (m_stop.load()) break;
        RunTestCase(path);
    }
    m_runSemaphore.release();
    m_host.PostEnd();
}

void OTestCaseRunner::RunTestCase(const fs::path& path) {
    Log({"Filename of testcase", path.filename().string()});
    if (bOpenTestCase(path)) {
        int count = 0;
        bOnUi([&] { count = m_host.iGetProgramCount(); });
        for (int i = 0; i < count && !m_stop.load(); ++i)
            RunProgram(path, i, count);
    }
    Log({"Completed testcase", path.filename().string()});
}

bool OTestCaseRunner::bOpenTestCase(const fs::path& path) {
    bool opened = false;
    const bool ran = bOnUi([&] {
        bool connected = m_host.bLinkUsable();
        if (!connected) {
            connected = m_host.bConnect(m_options.address);
            LogStatus("Connect to device", m_options.address, connected);
        }
        if (!connected) return;
        std::string description;
        const bool open = m_host.bOpenProject(path.string(), description);
        LogStatus("File open", path.string(), open);
        LogStatus("File description", description, open);
        if (!open) return;
        if (!m_host.bLinkUsable()) {
            LogStatus("Connect to device", m_options.address, false);
            return;
        }
        std::string error;
        opened = m_host.bAdaptToDevice(m_deviceImage, error);
        if (!opened) LogStatus("Identify device", error, false);
    });
    if (!ran) Fail();
    return ran && opened;
}

void OTestCaseRunner::RunProgram(const fs::path& testCase, int index, int count) {
    std::string name;
    bool sent = false;
    bOnUi([&] {
        name = m_host.GetProgramName(index);
        sent = m_host.bSendProgram(index);
    });
    LogStatus("Send check prg.", name, sent);
    if (!sent) return;
    const fs::path file = ApprovedPartsFile(testCase, name, index + 1, count);
    std::vector<OType_Part> parts;
    std::string error;
    bool loaded = false;
    if (!file.empty()) bOnUi([&] { loaded = m_host.bLoadParts(file.string(), parts, error); });
    LogStatus("Load approved parts", file.empty() ? "<File not found>" : file.filename().string(),
              loaded);
    if (loaded) VerifyParts(std::move(parts));
}

void OTestCaseRunner::VerifyParts(std::vector<OType_Part> parts) {
    {
        std::lock_guard lock(m_mutex);
        m_counters = {};
        m_headerWritten = false;
    }
    for (size_t i = 0; i < parts.size() && !m_stop.load(); ++i) {
        parts[i].RemoveConturData();  // only the images and results are verified
        if (parts[i].iGetNumImages() == 0) continue;
        VerifyPart(parts[i], static_cast<int>(i) + 1);
    }
    LogCounters();
}

void OTestCaseRunner::VerifyPart(const OType_Part& approved, int number) {
    const OType_Image& recorded = *approved.opGetImage(0);
    const OType_Image image = TestImage::Prepare(recorded, m_deviceImage);
    bool triggered = false;
    bOnUi([&] {
        if (!m_host.bSendTestImage(image, recorded)) return;
        {
            std::lock_guard lock(m_mutex);
            m_resultSignalled = false;
            m_waiting = true;
            m_approved = &approved;
            m_partNumber = number;
            ++m_serial;
        }
        triggered = m_host.bTrigger();
        if (!triggered) {
            std::lock_guard lock(m_mutex);
            m_waiting = false;
            m_approved = nullptr;
        }
    });
    std::unique_lock lock(m_mutex);
    if (!triggered) {
        ++m_counters.failed;
        Fail();
        Log({"Send test image", std::to_string(number), PassedText(false)});
        return;
    }
    ++m_counters.sent;
    for (int step = 0; step < m_steps && !m_resultSignalled; ++step) {
        m_resultEvent.wait_for(lock, m_step, [&] { return m_resultSignalled || m_stop.load(); });
        if (m_stop.load()) break;
    }
    const bool answered = m_resultSignalled;
    m_waiting = false;
    m_approved = nullptr;
    if (answered || m_stop.load()) return;
    ++m_counters.failed;
    Fail();
    Log({PassedText(false)});
    Log({"TIME-OUT:", "While waiting for the following part to be verified:",
         std::to_string(number), PassedText(false)});
}

void OTestCaseRunner::OnDevicePart(const OType_Part& part) {
    std::unique_lock lock(m_mutex);
    if (!m_waiting || !m_approved) return;
    ++m_counters.received;
    // A copy: the worker may give up waiting while the part is recomputed.
    const OType_Part approved = *m_approved;
    const uint64_t serial = m_serial;
    lock.unlock();
    // The recomputation runs the program; the worker only waits meanwhile.
    const OType_Part pc = m_host.Recompute(part);
    const TestCaseComparison::ToolNames names = [this](int id) {
        std::string name = m_host.ToolName(id);
        return name.empty() ? std::string("Global feature") : name;
    };
    std::string classification;
    if (!m_options.skipClassifier)
        classification =
            TestCaseComparison::ClassificationDifferences(approved, part, pc.Features(), names);
    const TestCaseComparison::OFeatureDifferences features = TestCaseComparison::FeatureDifferences(
        pc.Features(), part.Features(), approved.Features(), m_options.maxDeviation, names);
    lock.lock();
    if (!m_waiting || m_serial != serial) return;  // timed out meanwhile
    if (!classification.empty()) LogError("CLASSIFIER ", classification);
    if (features.bAny()) LogError(features.Mode(), features.text);
    if (classification.empty() && !features.bAny()) {
        ++m_counters.passed;
    } else {
        ++m_counters.failed;
        Fail();
    }
    m_resultSignalled = true;
    m_waiting = false;
    m_resultEvent.notify_all();
}

void OTestCaseRunner::LogCounters() {
    OCounters c;
    {
        std::lock_guard lock(m_mutex);
        c = m_counters;
        m_counters = {};
    }
    Log({PassedText(c.failed == 0)});
    Log({"sent:", std::to_string(c.sent)});
    Log({"received:", std::to_string(c.received)});
    Log({"passed:", std::to_string(c.passed)});
    Log({"failed:", std::to_string(c.failed)});
}
