// The steps of an automation script (`kalvor --script FILE`): one step per line, a verb and
// its arguments separated by blanks. An argument that holds blanks is written in double
// quotes ("My project.zrp"), inside which \" is a quote and \\ a backslash. Blank lines and
// lines starting with '#' are skipped.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct OScriptStep {
    int line = 0;  // from 1
    std::string verb;
    std::vector<std::string> args;

    // The step as written (verb and arguments, quoted where needed).
    std::string Text() const;
    bool operator==(const OScriptStep&) const = default;
};

// Splits the text into steps; false with `error` ("line 3: ...") on an unterminated quote.
bool bParseScript(std::string_view text, std::vector<OScriptStep>& steps, std::string& error);
// A whole number argument; false when `text` is not one (or out of the int range).
bool bParseScriptInt(std::string_view text, int& value);
