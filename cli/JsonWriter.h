// A small streaming JSON writer for kalvorctl's --json output: objects, arrays, strings
// (UTF-8, escaped), numbers (shortest round-trip form; NaN and infinities as null), booleans
// and null, indented by two spaces. Misuse (a value where a key is due) is not checked.
#pragma once

#include <charconv>
#include <cmath>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

class OJsonWriter {
  public:
    explicit OJsonWriter(std::ostream& out) : m_out(out) {}
    ~OJsonWriter() {
        if (!m_open.empty()) return;
        m_out << '\n';
    }

    OJsonWriter& BeginObject() { return Open('{'); }
    OJsonWriter& EndObject() { return Close('}'); }
    OJsonWriter& BeginArray() { return Open('['); }
    OJsonWriter& EndArray() { return Close(']'); }

    OJsonWriter& Key(std::string_view key) {
        Separate();
        WriteString(key);
        m_out << ": ";
        m_afterKey = true;
        return *this;
    }
    OJsonWriter& String(std::string_view v) {
        Value();
        WriteString(v);
        return *this;
    }
    OJsonWriter& Number(double v) {
        Value();
        if (!std::isfinite(v)) {
            m_out << "null";
            return *this;
        }
        char buffer[64];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
        m_out << std::string_view(buffer, static_cast<size_t>(result.ptr - buffer));
        return *this;
    }
    OJsonWriter& Int(long long v) {
        Value();
        m_out << v;
        return *this;
    }
    OJsonWriter& Bool(bool v) {
        Value();
        m_out << (v ? "true" : "false");
        return *this;
    }
    OJsonWriter& Null() {
        Value();
        m_out << "null";
        return *this;
    }

  private:
    struct OLevel {
        char close;
        bool empty = true;
    };

    OJsonWriter& Open(char c) {
        Value();
        m_out << c;
        m_open.push_back({c == '{' ? '}' : ']'});
        return *this;
    }
    OJsonWriter& Close(char c) {
        const bool empty = m_open.empty() || m_open.back().empty;
        if (!m_open.empty()) m_open.pop_back();
        if (!empty) NewLine();
        m_out << c;
        return *this;
    }
    // Before a value: a separator unless it follows a key.
    void Value() {
        if (m_afterKey) {
            m_afterKey = false;
            return;
        }
        Separate();
    }
    void Separate() {
        if (m_open.empty()) return;
        if (!m_open.back().empty) m_out << ',';
        m_open.back().empty = false;
        NewLine();
    }
    void NewLine() { m_out << '\n' << std::string(2 * m_open.size(), ' '); }
    void WriteString(std::string_view s) {
        m_out << '"';
        for (const char ch : s) {
            const auto c = static_cast<unsigned char>(ch);
            switch (c) {
                case '"':
                    m_out << "\\\"";
                    break;
                case '\\':
                    m_out << "\\\\";
                    break;
                case '\n':
                    m_out << "\\n";
                    break;
                case '\r':
                    m_out << "\\r";
                    break;
                case '\t':
                    m_out << "\\t";
                    break;
                default:
                    if (c < 0x20) {
                        static const char* hex = "0123456789abcdef";
                        m_out << "\\u00" << hex[c >> 4] << hex[c & 15];
                    } else {
                        m_out << ch;
                    }
            }
        }
        m_out << '"';
    }

    std::ostream& m_out;
    std::vector<OLevel> m_open;
    bool m_afterKey = false;
};
