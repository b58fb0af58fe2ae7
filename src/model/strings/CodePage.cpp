#include "model/strings/CodePage.h"

#include <array>
#include <cstdint>

namespace {

constexpr char32_t kUndefined = 0xFFFD;

// Code points of the bytes 0x80..0x9F; kUndefined marks the five unassigned bytes.
constexpr std::array<char32_t, 32> kHighControlRange = {
    0x20AC,     kUndefined, 0x201A, 0x0192, 0x201E, 0x2026,     0x2020, 0x2021,
    0x02C6,     0x2030,     0x0160, 0x2039, 0x0152, kUndefined, 0x017D, kUndefined,
    kUndefined, 0x2018,     0x2019, 0x201C, 0x201D, 0x2022,     0x2013, 0x2014,
    0x02DC,     0x2122,     0x0161, 0x203A, 0x0153, kUndefined, 0x017E, 0x0178,
};

// The Windows-1252 byte of a code point; false when it has none.
bool bToCp1252(char32_t cp, uint8_t& byte) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        byte = static_cast<uint8_t>(cp);
        return true;
    }
    if (cp == kUndefined) return false;
    for (size_t i = 0; i < kHighControlRange.size(); ++i) {
        if (kHighControlRange[i] == cp) {
            byte = static_cast<uint8_t>(0x80 + i);
            return true;
        }
    }
    return false;
}

struct ODecoded {
    char32_t cp = 0;
    size_t length = 1;  // bytes consumed; for invalid input the maximal invalid subpart
    bool valid = false;
};

bool bIsContinuation(uint8_t b, uint8_t low = 0x80, uint8_t high = 0xBF) {
    return b >= low && b <= high;
}

// Decodes one UTF-8 sequence at `pos`, following the table of well-formed byte sequences of
// the Unicode standard: overlongs, surrogates and values above U+10FFFF are rejected by the
// range allowed for the second byte.
ODecoded Decode(std::string_view s, size_t pos) {
    const auto b0 = static_cast<uint8_t>(s[pos]);
    if (b0 < 0x80) return {b0, 1, true};
    size_t count = 0;
    uint8_t low = 0x80, high = 0xBF;
    char32_t cp = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        count = 1;
        cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        count = 2;
        cp = b0 & 0x0F;
        if (b0 == 0xE0) low = 0xA0;
        if (b0 == 0xED) high = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        count = 3;
        cp = b0 & 0x07;
        if (b0 == 0xF0) low = 0x90;
        if (b0 == 0xF4) high = 0x8F;
    } else {
        return {0, 1, false};
    }
    for (size_t k = 1; k <= count; ++k) {
        if (pos + k >= s.size()) return {0, k, false};
        const auto b = static_cast<uint8_t>(s[pos + k]);
        if (k == 1 ? !bIsContinuation(b, low, high) : !bIsContinuation(b)) return {0, k, false};
        cp = (cp << 6) | (b & 0x3F);
    }
    return {cp, count + 1, true};
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

bool bIsConvertibleToAnsi(std::string_view utf8) {
    uint8_t byte = 0;
    for (size_t pos = 0; pos < utf8.size();) {
        const ODecoded d = Decode(utf8, pos);
        if (!d.valid || !bToCp1252(d.cp, byte)) return false;
        pos += d.length;
    }
    return true;
}

std::string Utf8ToCp1252(std::string_view utf8, bool* ok) {
    std::string out;
    out.reserve(utf8.size());
    bool allConverted = true;
    for (size_t pos = 0; pos < utf8.size();) {
        const ODecoded d = Decode(utf8, pos);
        uint8_t byte = 0;
        if (d.valid && bToCp1252(d.cp, byte)) {
            out += static_cast<char>(byte);
        } else {
            out += '?';
            allConverted = false;
        }
        pos += d.length;
    }
    if (ok) *ok = allConverted;
    return out;
}

std::string Cp1252ToUtf8(std::string_view cp1252) {
    std::string out;
    out.reserve(cp1252.size() + cp1252.size() / 4);
    for (char c : cp1252) {
        const auto b = static_cast<uint8_t>(c);
        AppendUtf8(out, b >= 0x80 && b <= 0x9F ? kHighControlRange[b - 0x80] : char32_t{b});
    }
    return out;
}
