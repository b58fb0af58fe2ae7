// A small streaming JSON writer for kalvorctl's --json output: objects, arrays, strings
// (escaped, UTF-8 passed through), numbers and booleans, indented two spaces.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

class JsonWriter {
  public:
    explicit JsonWriter(std::ostream& out) : m_out(out) {}
    ~JsonWriter() {
        if (!m_open.empty()) return;
        m_out << "\n";
    }

    JsonWriter& BeginObject(std::string_view key = {}) { return Open(key, '{'); }
    JsonWriter& EndObject() { return Close('}'); }
    JsonWriter& BeginArray(std::string_view key = {}) { return Open(key, '['); }
    JsonWriter& EndArray() { return Close(']'); }

    JsonWriter& Value(std::string_view key, std::string_view text) {
        Key(key);
        WriteString(text);
        return *this;
    }
    JsonWriter& Value(std::string_view key, const char* text) {
        return Value(key, std::string_view(text));
    }
    JsonWriter& Value(std::string_view key, const std::string& text) {
        return Value(key, std::string_view(text));
    }
    JsonWriter& Value(std::string_view key, bool v) {
        Key(key);
        m_out << (v ? "true" : "false");
        return *this;
    }
    JsonWriter& Value(std::string_view key, int64_t v) {
        Key(key);
        m_out << v;
        return *this;
    }
    JsonWriter& Value(std::string_view key, int v) { return Value(key, static_cast<int64_t>(v)); }
    JsonWriter& Value(std::string_view key, unsigned v) {
        return Value(key, static_cast<int64_t>(v));
    }
    JsonWriter& Value(std::string_view key, double v) {
        Key(key);
        if (!std::isfinite(v)) {
            m_out << "null";
        } else {
            char buffer[32];
            std::snprintf(buffer, sizeof buffer, "%.17g", v);
            m_out << buffer;
        }
        return *this;
    }
    template <class T>
    JsonWriter& Array(std::string_view key, const std::vector<T>& values) {
        BeginArray(key);
        for (const T& v : values)
            Value({}, v);
        return EndArray();
    }

    static std::string Escape(std::string_view text) {
        std::string out;
        for (unsigned char c : text) {
            switch (c) {
                case '"':
                    out += "\\\"";
                    break;
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
                default:
                    if (c < 0x20) {
                        char buffer[8];
                        std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                        out += buffer;
                    } else {
                        out += static_cast<char>(c);
                    }
            }
        }
        return out;
    }

  private:
    struct OLevel {
        char close;
        bool first;
    };

    void Key(std::string_view key) {
        if (!m_open.empty()) {
            m_out << (m_open.back().first ? "\n" : ",\n");
            m_open.back().first = false;
            m_out << std::string(2 * m_open.size(), ' ');
        }
        if (!m_open.empty() && m_open.back().close == '}') {
            WriteString(key);
            m_out << ": ";
        }
    }
    void WriteString(std::string_view text) { m_out << '"' << Escape(text) << '"'; }
    JsonWriter& Open(std::string_view key, char open) {
        Key(key);
        m_out << open;
        m_open.push_back({open == '{' ? '}' : ']', true});
        return *this;
    }
    JsonWriter& Close(char close) {
        if (m_open.empty() || m_open.back().close != close) return *this;
        const bool empty = m_open.back().first;
        m_open.pop_back();
        if (!empty) m_out << "\n" << std::string(2 * m_open.size(), ' ');
        m_out << close;
        return *this;
    }

    std::ostream& m_out;
    std::vector<OLevel> m_open;
};
