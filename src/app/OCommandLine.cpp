#include "app/OCommandLine.h"

#include <algorithm>
#include <cctype>

namespace {

std::string ToUpper(std::string_view s) {
    std::string upper(s);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper;
}

std::string_view Trim(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Removes a splash switch that stands as a word of its own; true when one was there.
bool TakeSplashSwitch(std::string& raw) {
    bool found = false;
    for (const char* word : {"/NOLOGO", "-NOLOGO"}) {
        size_t at = 0;
        while ((at = ToUpper(raw).find(word, at)) != std::string::npos) {
            const size_t end = at + std::string_view(word).size();
            const bool startsWord = at == 0 || raw[at - 1] == ' ';
            const bool endsWord = end == raw.size() || raw[end] == ' ';
            if (!startsWord || !endsWord) {
                at = end;
                continue;
            }
            raw.erase(at, end - at);
            found = true;
        }
    }
    if (found) raw = std::string(Trim(raw));
    return found;
}

}  // namespace

OCommandLine::OCommandLine(std::string_view raw) : m_raw(raw) {
    m_showSplash = !TakeSplashSwitch(m_raw);
    m_upper = ToUpper(m_raw);
}

OCommandLine OCommandLine::FromArguments(const std::vector<std::string>& arguments) {
    std::string line;
    for (const std::string& a : arguments) {
        if (!line.empty()) line += ' ';
        line += a;
    }
    return OCommandLine(line);
}

bool OCommandLine::GetCommandLineParameter(std::string_view name, std::string& value) const {
    std::string raw;
    if (!GetCommandLineParameterRaw(name, raw)) return false;
    value = ToUpper(raw);
    return true;
}

bool OCommandLine::GetCommandLineParameterRaw(std::string_view name, std::string& value) const {
    if (m_upper.empty() || name.find_first_of(":- ") != std::string_view::npos) return false;
    const std::string pattern = "-" + ToUpper(name) + ":";
    const size_t at = m_upper.find(pattern);
    if (at == std::string::npos) return false;
    const size_t begin = at + pattern.size();
    const size_t end = m_upper.find(" -", begin);
    // The upper-case copy has the raw line's length, so its positions hold for both.
    const std::string_view text = std::string_view(m_raw).substr(
        begin, end == std::string::npos ? std::string::npos : end - begin);
    if (text.empty()) return false;
    value = std::string(Trim(text));
    return true;
}

bool OCommandLine::GetCommandLineParameter(std::string_view name) const {
    std::string value;
    return GetCommandLineParameter(name, value);
}

OStartRequest ResolveStart(const OCommandLine& line) {
    OStartRequest request;
    if (!line.Raw().empty()) {
        std::string testMode;
        if (line.GetCommandLineParameter("TESTMODE", testMode)) {
            if (testMode == "CASES") {
                request.startMode = StartMode::kTestCases;
            } else if (testMode != "RANDOM") {
                request.startMode = StartMode::kNormal;
                request.startFile.clear();
            }
        } else {
            request.startMode = StartMode::kOpenFile;
            request.startFile = line.Raw();
        }
    }
    request.bSuppressShellCommand = request.startMode == StartMode::kTestCases ||
                                    line.GetCommandLineParameter("ETH") ||
                                    request.startFile.empty();
    return request;
}
