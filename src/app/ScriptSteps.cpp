#include "app/ScriptSteps.h"

#include <charconv>

namespace {

std::string Quoted(const std::string& arg) {
    if (!arg.empty() && arg.find_first_of(" \t\"\\") == std::string::npos) return arg;
    std::string quoted = "\"";
    for (char c : arg) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + '"';
}

bool bIsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// The words of one line; false on an unterminated quote.
bool bSplitLine(std::string_view line, std::vector<std::string>& words) {
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && bIsBlank(line[i]))
            ++i;
        if (i >= line.size()) break;
        std::string word;
        if (line[i] == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                const char c = line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\')) {
                    word += line[i++];
                    continue;
                }
                word += c;
            }
            if (!closed) return false;
        } else {
            while (i < line.size() && !bIsBlank(line[i]))
                word += line[i++];
        }
        words.push_back(std::move(word));
    }
    return true;
}

}  // namespace

std::string OScriptStep::Text() const {
    std::string text = verb;
    for (const std::string& arg : args)
        text += ' ' + Quoted(arg);
    return text;
}

bool bParseScript(std::string_view text, std::vector<OScriptStep>& steps, std::string& error) {
    steps.clear();
    int number = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        ++number;
        start = end + 1;
        size_t first = 0;
        while (first < line.size() && bIsBlank(line[first]))
            ++first;
        if (first == line.size() || line[first] == '#') continue;
        std::vector<std::string> words;
        if (!bSplitLine(line, words)) {
            error = "line " + std::to_string(number) + ": a quote is not closed";
            steps.clear();
            return false;
        }
        OScriptStep step;
        step.line = number;
        step.verb = std::move(words.front());
        step.args.assign(words.begin() + 1, words.end());
        steps.push_back(std::move(step));
    }
    return true;
}

bool bParseScriptInt(std::string_view text, int& value) {
    if (text.empty()) return false;
    const char* begin = text.data();
    if (*begin == '+') ++begin;
    const auto [end, error] = std::from_chars(begin, text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}
