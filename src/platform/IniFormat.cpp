#include "platform/IniFormat.h"

#include <cstdint>

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

void AppendHexEscape(std::string& out, unsigned char byte) {
    out += "\\x";
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0x0F];
}

// Length of the valid UTF-8 sequence starting at text[pos], or 0 when it is not one
// (overlong forms, surrogates and code points above U+10FFFF are invalid).
size_t Utf8SequenceLength(std::string_view text, size_t pos) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    size_t length = 0;
    uint32_t codePoint = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (pos + length > text.size()) return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80) return 0;
        codePoint = (codePoint << 6) | (byte(pos + i) & 0x3F);
    }
    if (length == 3 && (codePoint < 0x800 || (codePoint >= 0xD800 && codePoint <= 0xDFFF)))
        return 0;
    if (length == 4 && (codePoint < 0x10000 || codePoint > 0x10FFFF)) return 0;
    return length;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Position of the first '=' that is not escaped, or npos.
size_t FindSeparator(std::string_view line) {
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\') {
            ++i;
        } else if (line[i] == '=') {
            return i;
        }
    }
    return std::string_view::npos;
}

// Raw control bytes other than tab cannot come from our writer and mark a damaged file.
bool bHasRawControlByte(std::string_view line) {
    for (char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t') || byte == 0x7F) return true;
    }
    return false;
}

class IniParser {
  public:
    explicit IniParser(SettingsValueMap& values) : m_values(values) {}

    bool bParseLine(std::string_view rawLine, std::string& error) {
        if (!rawLine.empty() && rawLine.back() == '\r') rawLine.remove_suffix(1);
        if (bHasRawControlByte(rawLine)) return bFail("control character in the text", error);
        const std::string_view line = Trimmed(rawLine);
        if (line.empty() || line.front() == ';' || line.front() == '#') return true;
        if (line.front() == '[') return bParseSectionHeader(line, error);
        return bParseValue(line, error);
    }

  private:
    bool bParseSectionHeader(std::string_view line, std::string& error) {
        if (line.size() < 2 || line.back() != ']')
            return bFail("section header without ']'", error);
        std::string name;
        if (!bUnescapeIniText(line.substr(1, line.size() - 2), name, error)) return false;
        m_section = &m_values[name];
        return true;
    }

    bool bParseValue(std::string_view line, std::string& error) {
        const size_t separator = FindSeparator(line);
        if (separator == std::string_view::npos) return bFail("line without '='", error);
        if (!m_section) return bFail("value before the first section", error);
        std::string name;
        std::string value;
        if (!bUnescapeIniText(Trimmed(line.substr(0, separator)), name, error) ||
            !bUnescapeIniText(Trimmed(line.substr(separator + 1)), value, error)) {
            return false;
        }
        (*m_section)[name] = std::move(value);
        return true;
    }

    static bool bFail(const char* what, std::string& error) {
        error = what;
        return false;
    }

    SettingsValueMap& m_values;
    SettingsValueMap::mapped_type* m_section = nullptr;
};

}  // namespace

std::string EscapeIniText(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 8);
    size_t leadingBlanks = 0;
    while (leadingBlanks < text.size() && text[leadingBlanks] == ' ')
        ++leadingBlanks;
    size_t trailingStart = text.size();
    while (trailingStart > leadingBlanks && text[trailingStart - 1] == ' ')
        --trailingStart;

    for (size_t i = 0; i < text.size();) {
        const char c = text[i];
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) {
            const size_t length = Utf8SequenceLength(text, i);
            if (length == 0) {
                AppendHexEscape(out, byte);
                ++i;
            } else {
                out.append(text.substr(i, length));
                i += length;
            }
            continue;
        }
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            case '=':
                out += "\\=";
                break;
            case ';':
                out += "\\;";
                break;
            case '#':
                out += "\\#";
                break;
            case '[':
                out += "\\[";
                break;
            case ']':
                out += "\\]";
                break;
            case ' ':
                out += (i < leadingBlanks || i >= trailingStart) ? "\\s" : " ";
                break;
            default:
                if (byte < 0x20 || byte == 0x7F) {
                    AppendHexEscape(out, byte);
                } else {
                    out += c;
                }
        }
        ++i;
    }
    return out;
}

bool bUnescapeIniText(std::string_view escaped, std::string& text, std::string& error) {
    text.clear();
    text.reserve(escaped.size());
    for (size_t i = 0; i < escaped.size(); ++i) {
        if (escaped[i] != '\\') {
            text += escaped[i];
            continue;
        }
        if (++i == escaped.size()) {
            error = "backslash at the end of a text";
            return false;
        }
        switch (const char c = escaped[i]) {
            case '\\':
            case '=':
            case ';':
            case '#':
            case '[':
            case ']':
                text += c;
                break;
            case 'n':
                text += '\n';
                break;
            case 'r':
                text += '\r';
                break;
            case 't':
                text += '\t';
                break;
            case 's':
                text += ' ';
                break;
            case 'x': {
                const int high = i + 1 < escaped.size() ? HexValue(escaped[i + 1]) : -1;
                const int low = i + 2 < escaped.size() ? HexValue(escaped[i + 2]) : -1;
                if (high < 0 || low < 0) {
                    error = "\\x without two hexadecimal digits";
                    return false;
                }
                text += static_cast<char>(high * 16 + low);
                i += 2;
                break;
            }
            default:
                error = std::string("unknown escape sequence \\") + c;
                return false;
        }
    }
    return true;
}

std::string FormatIni(const SettingsValueMap& values) {
    std::string out;
    bool first = true;
    for (const auto& [section, entries] : values) {
        if (entries.empty()) continue;
        if (!first) out += '\n';
        first = false;
        out += '[';
        out += EscapeIniText(section);
        out += "]\n";
        for (const auto& [name, value] : entries) {
            out += EscapeIniText(name);
            out += '=';
            out += EscapeIniText(value);
            out += '\n';
        }
    }
    return out;
}

bool bParseIni(std::string_view content, SettingsValueMap& values, std::string& error) {
    values.clear();
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (content.starts_with(kByteOrderMark)) content.remove_prefix(kByteOrderMark.size());

    SettingsValueMap parsed;
    IniParser parser(parsed);
    size_t lineNumber = 0;
    while (!content.empty()) {
        ++lineNumber;
        const size_t end = content.find('\n');
        const std::string_view line = content.substr(0, end);
        content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
        std::string what;
        if (!parser.bParseLine(line, what)) {
            error = "line " + std::to_string(lineNumber) + ": " + what;
            return false;
        }
    }
    std::erase_if(parsed, [](const auto& section) { return section.second.empty(); });
    values = std::move(parsed);
    return true;
}
