// What a test-case run needs from the command line: the device address, the folder of the
// test-case projects, the log folder, whether classifications are compared and how far an
// extracted feature may stray before it counts as different.
#pragma once

#include <string>
#include <string_view>

class OCommandLine;

struct OTestCaseOptions {
    static constexpr const char* kDefaultAddress = "192.168.100.100";
    static constexpr double kDefaultMaxDeviation = 0.0015;

    std::string address = kDefaultAddress;
    std::string testCaseDir;  // ends with a separator
    std::string logDir;       // ends with a separator
    bool skipClassifier = false;
    double maxDeviation = kDefaultMaxDeviation;

    // The defaults for a program in `programFolder`: test cases in its "Testcases" folder,
    // the log beside the program.
    static OTestCaseOptions Defaults(const std::string& programFolder);
    // Takes every option the line carries; the others keep their values. False (with the
    // reason) when a value cannot be used.
    bool bRead(const OCommandLine& line, std::string* error = nullptr);
};

namespace TestCaseOptions {
// A folder value without surrounding quotes and separators, with one separator appended.
std::string CleanFolder(std::string_view value);
// "0", "NO" or "FALSE" anywhere in the upper-cased value mean no; anything else yes.
bool bIsYes(std::string_view value);
}  // namespace TestCaseOptions
