// kalvorctl testcases: runs the test cases of a folder against a device without a window —
// every family-2 project's check programs are sent, the images of their approved parts sent
// as test images, and the device's results compared and written to the verification log.
// Exits 0 only when every test case passed, so that a build pipeline can verify programs.
#include <atomic>
#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

#include "CliVerb.h"
#include "DeviceSession.h"
#include "platform/OCallQueue.h"
#include "testcases/ODocTestCaseHost.h"
#include "testcases/OTestCaseRunner.h"

namespace {

constexpr const char* kUsage =
    "usage: kalvorctl testcases --eth ADDRESS[:PORT] --dir FOLDER [--log-dir FOLDER]\n"
    "                           [--skip-classifier yes|no] [--max-deviation X]\n"
    "                           [--result-wait SECONDS]\n";

struct OTestCaseArgs {
    OTestCaseOptions options;
    bool addressGiven = false;
    bool dirGiven = false;
    int resultWait = 75;
};

bool bParseNumber(const std::string& text, double& value) {
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0' && value >= 0;
}

bool bParseArgs(const std::vector<std::string>& args, OTestCaseArgs& a, std::ostream& err) {
    a.options.logDir = "./";
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (i + 1 >= args.size()) {
            err << "kalvorctl testcases: " << arg << " needs a value\n" << kUsage;
            return false;
        }
        const std::string& v = args[++i];
        double number = 0;
        if (arg == "--eth") {
            a.options.address = v;
            a.addressGiven = !v.empty();
        } else if (arg == "--dir") {
            a.options.testCaseDir = TestCaseOptions::CleanFolder(v);
            a.dirGiven = !v.empty();
        } else if (arg == "--log-dir") {
            a.options.logDir = TestCaseOptions::CleanFolder(v);
        } else if (arg == "--skip-classifier") {
            a.options.skipClassifier = TestCaseOptions::bIsYes(v);
        } else if (arg == "--max-deviation") {
            if (!bParseNumber(v, a.options.maxDeviation)) {
                err << "kalvorctl testcases: --max-deviation needs a number, not " << v << "\n";
                return false;
            }
        } else if (arg == "--result-wait") {
            if (!bParseNumber(v, number) || number < 1 || number > 3600) {
                err << "kalvorctl testcases: --result-wait needs 1 to 3600 seconds\n";
                return false;
            }
            a.resultWait = static_cast<int>(number);
        } else {
            err << "kalvorctl testcases: unexpected argument " << arg << "\n" << kUsage;
            return false;
        }
    }
    if (!a.addressGiven || !a.dirGiven) {
        err << "kalvorctl testcases: --eth and --dir are needed\n" << kUsage;
        return false;
    }
    return true;
}

int RunTestCases(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    OTestCaseArgs a;
    if (!bParseArgs(args, a, err)) return 2;
    ODeviceAddress address;
    int port = 10000;
    ODocTestCaseHost::SplitAddress(a.options.address, address.host, port);
    address.port = static_cast<uint16_t>(port);
    OCliDeviceSession session(address, err);

    OCallQueue calls;
    std::atomic<bool> ended{false};
    ODocTestCaseHost host(
        session.Doc(), [&](const std::function<void()>& call) { return calls.bCall(call); },
        [&] { ended.store(true); });
    OTestCaseRunner runner(host, a.options);
    runner.SetResultWait(std::chrono::seconds(1), a.resultWait);
    std::string error;
    if (!runner.bInit(&error)) {
        err << "kalvorctl testcases: cannot open the verification log " << error << "\n";
        return 1;
    }
    session.Doc().SetTestPartObserver([&](const OType_Part& part) { runner.OnDevicePart(part); });
    session.Doc().UI().SetUnattended([&](std::string_view text) {
        runner.LogMessage(text);
        err << "kalvorctl testcases: " << text << "\n";
    });
    runner.bStart();
    OHeadlessDocument& headless = session.Headless();
    while (!ended.load()) {
        calls.iRunPending(std::chrono::milliseconds(5));
        headless.iDispatchPosted();
    }
    runner.Join();
    session.Doc().SetTestPartObserver({});
    host.EndRun();
    session.Doc().UI().SetUnattended({});
    runner.CloseLog();
    calls.Close();

    out << "verification log: " << runner.LogPath() << "\n";
    if (runner.iGetTestCaseCount() == 0) {
        err << "kalvorctl testcases: no test case (.kvp) in " << a.options.testCaseDir << "\n";
        return 1;
    }
    out << runner.iGetTestCaseCount()
        << " test case(s): " << (runner.bHasFailures() ? "FAILED" : "passed") << "\n";
    return runner.bHasFailures() ? 1 : 0;
}

}  // namespace

KALVOR_CLI_VERB({"testcases",
                 "--eth ADDRESS[:PORT] --dir FOLDER [--log-dir FOLDER] [--skip-classifier yes|no] "
                 "[--max-deviation X] [--result-wait S]",
                 "verifies check programs against a device with recorded test cases",
                 &RunTestCases});
