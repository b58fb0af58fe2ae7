// The program's command line: the raw text (the arguments joined by blanks, as one line),
// its upper-case copy that parameter lookups search, and what start-up makes of it.
//
// Parameters are written "-NAME:value" and are case-insensitive; a line without a
// "TESTMODE" parameter is taken whole as the name of a file to open.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class OCommandLine {
  public:
    OCommandLine() = default;
    // The raw line; "/nologo" or "-nologo" (any case, as a word of its own) switches the
    // splash window off and is taken out of the line.
    explicit OCommandLine(std::string_view raw);
    // argv[1..] joined with single blanks.
    static OCommandLine FromArguments(const std::vector<std::string>& arguments);

    const std::string& Raw() const { return m_raw; }
    const std::string& Upper() const { return m_upper; }
    bool bShowSplash() const { return m_showSplash; }

    // The value after "-NAME:" up to the next " -" (or the end), trimmed; false when the
    // line is empty, the name holds ":", "-" or " ", the parameter is missing or its value
    // is empty. Values come back upper case.
    bool GetCommandLineParameter(std::string_view name, std::string& value) const;
    // The same value as written on the line (folder names keep their case).
    bool GetCommandLineParameterRaw(std::string_view name, std::string& value) const;
    // Whether the parameter is present (with a value).
    bool GetCommandLineParameter(std::string_view name) const;

  private:
    std::string m_raw;
    std::string m_upper;
    bool m_showSplash = true;
};

// How the program starts.
namespace StartMode {
inline constexpr int kNormal = -1;   // new project, then the welcome dialog
inline constexpr int kOpenFile = 3;  // the start file is opened
inline constexpr int kTestCases = 4;
}  // namespace StartMode

struct OStartRequest {
    int startMode = StartMode::kNormal;
    std::string startFile;
    bool bSuppressShellCommand = false;  // nothing is opened or created by the shell command
};

// Start-up step 3 and the shell-command adjustment of step 11.
OStartRequest ResolveStart(const OCommandLine& commandLine);
