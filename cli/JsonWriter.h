// A small streaming JSON writer for kalvorctl's --json output: objects, arrays, strings
// (escaped, UTF-8 passed through), numbers (shortest round-trip form; NaN and infinities
// become null, which JSON cannot express otherwise), booleans and null. Output is indented
// by two spaces per level.
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

    OJsonWriter& BeginObject() { return Open('{'); }
    OJsonWriter& EndObject() { return Close('}'); }
    OJsonWriter& BeginArray() { return Open('['); }
    OJsonWriter& EndArray() { return Close(']'); }

    // The key of the next value inside an object.
    OJsonWriter& Key(std::string_view key) {
        Separate();
        WriteString(key);
        m_out << ": ";
        m_afterKey = true;
        return *this;
    }

    OJsonWriter& String(std::string_view value) {
        Separate();
        WriteString(value);
        return *this;
    }
    OJsonWriter& Number(double value) {
        Separate();
        if (!std::isfinite(value)) {
            m_out << "null";
            return *this;
        }
        char buffer[32];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
        m_out << std::string_view(buffer, static_cast<size_t>(result.ptr - buffer));
        return *this;
    }
    // A single-precision value in its own shortest form ("94.95", not "94.94999694824219").
    OJsonWriter& Number(float value) {
        Separate();
        if (!std::isfinite(value)) {
            m_out << "null";
            return *this;
        }
        char buffer[32];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
        m_out << std::string_view(buffer, static_cast<size_t>(result.ptr - buffer));
        return *this;
    }
    OJsonWriter& Int(int64_t value) {
        Separate();
        m_out << value;
        return *this;
    }
    OJsonWriter& Bool(bool value) {
        Separate();
        m_out << (value ? "true" : "false");
        return *this;
    }
    OJsonWriter& Null() {
        Separate();
        m_out << "null";
        return *this;
    }

    // Key and value in one call.
    OJsonWriter& Field(std::string_view key, std::string_view value) {
        return Key(key).String(value);
    }
    OJsonWriter& Field(std::string_view key, const char* value) { return Key(key).String(value); }
    OJsonWriter& Field(std::string_view key, double value) { return Key(key).Number(value); }
    OJsonWriter& Field(std::string_view key, int value) { return Key(key).Int(value); }
    OJsonWriter& Field(std::string_view key, int64_t value) { return Key(key).Int(value); }
    OJsonWriter& Field(std::string_view key, bool value) { return Key(key).Bool(value); }

    // Ends the document with a line break.
    void Finish() { m_out << '\n'; }

  private:
    OJsonWriter& Open(char bracket) {
        Separate();
        m_out << bracket;
        m_first.push_back(true);
        return *this;
    }
    OJsonWriter& Close(char bracket) {
        const bool empty = !m_first.empty() && m_first.back();
        if (!m_first.empty()) m_first.pop_back();
        if (!empty) Newline();
        m_out << bracket;
        return *this;
    }
    // Comma and line break before a value, except right after its key.
    void Separate() {
        if (m_afterKey) {
            m_afterKey = false;
            return;
        }
        if (m_first.empty()) return;
        if (!m_first.back()) m_out << ',';
        m_first.back() = false;
        Newline();
    }
    void Newline() {
        m_out << '\n';
        for (size_t i = 0; i < m_first.size(); ++i)
            m_out << "  ";
    }
    void WriteString(std::string_view text) {
        static const char* kHex = "0123456789abcdef";
        m_out << '"';
        for (const char c : text) {
            const auto u = static_cast<unsigned char>(c);
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
                    if (u < 0x20) {
                        m_out << "\\u00" << kHex[u >> 4] << kHex[u & 15];
                    } else {
                        m_out << c;
                    }
            }
        }
        m_out << '"';
    }

    std::ostream& m_out;
    std::vector<bool> m_first;  // per open container: no element written yet
    bool m_afterKey = false;
};
