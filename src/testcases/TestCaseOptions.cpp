#include "testcases/TestCaseOptions.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "app/OCommandLine.h"

namespace TestCaseOptions {

std::string CleanFolder(std::string_view value) {
    // A leading "/" makes the path absolute and stays; quotes, blanks and backslashes go.
    const auto front = [](char c) { return c == '"' || c == '\'' || c == '\\' || c == ' '; };
    const auto back = [&](char c) { return front(c) || c == '/'; };
    const bool hadSlash = value.find('/') != std::string_view::npos;
    while (!value.empty() && front(value.front()))
        value.remove_prefix(1);
    while (!value.empty() && back(value.back()))
        value.remove_suffix(1);
    if (value.empty()) return hadSlash ? "/" : "";
    return std::string(value) + "/";
}

bool bIsYes(std::string_view value) {
    std::string upper(value);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    for (const char* no : {"0", "NO", "FALSE"})
        if (upper.find(no) != std::string::npos) return false;
    return true;
}

}  // namespace TestCaseOptions

OTestCaseOptions OTestCaseOptions::Defaults(const std::string& programFolder) {
    OTestCaseOptions options;
    options.logDir = TestCaseOptions::CleanFolder(programFolder);
    options.testCaseDir = options.logDir + "Testcases/";
    return options;
}

bool OTestCaseOptions::bRead(const OCommandLine& line, std::string* error) {
    std::string value;
    if (line.GetCommandLineParameterRaw("ETH", value)) address = value;
    if (line.GetCommandLineParameterRaw("TESTCASE_DIR", value))
        testCaseDir = TestCaseOptions::CleanFolder(value);
    if (line.GetCommandLineParameterRaw("LOG_DIR", value))
        logDir = TestCaseOptions::CleanFolder(value);
    if (line.GetCommandLineParameter("SKIP_CLASSIFIER", value))
        skipClassifier = TestCaseOptions::bIsYes(value);
    if (line.GetCommandLineParameter("MAX_ALLOWED_DEVIATION_EXTRACTOR", value)) {
        double number = 0;
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
        if (ec != std::errc() || end != value.data() + value.size() || !(number >= 0)) {
            if (error) *error = "MAX_ALLOWED_DEVIATION_EXTRACTOR is not a number: " + value;
            return false;
        }
        maxDeviation = number;
    }
    return true;
}
