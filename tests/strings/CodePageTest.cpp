#include "model/strings/CodePage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr unsigned char kUndefinedBytes[] = {0x81, 0x8D, 0x8F, 0x90, 0x9D};
const std::string kReplacementChar = "\xEF\xBF\xBD";

bool bIsUndefinedByte(int b) {
    for (unsigned char u : kUndefinedBytes) {
        if (u == b) return true;
    }
    return false;
}

// The characters of 0x80..0x9F, written as UTF-8 literals, one per defined byte in order.
const std::vector<std::pair<unsigned char, std::string>>& SpecialCharacters() {
    static const std::vector<std::pair<unsigned char, std::string>> chars = {
        {0x80, "€"}, {0x82, "‚"}, {0x83, "ƒ"}, {0x84, "„"}, {0x85, "…"}, {0x86, "†"}, {0x87, "‡"},
        {0x88, "ˆ"}, {0x89, "‰"}, {0x8A, "Š"}, {0x8B, "‹"}, {0x8C, "Œ"}, {0x8E, "Ž"}, {0x91, "‘"},
        {0x92, "’"}, {0x93, "“"}, {0x94, "”"}, {0x95, "•"}, {0x96, "–"}, {0x97, "—"}, {0x98, "˜"},
        {0x99, "™"}, {0x9A, "š"}, {0x9B, "›"}, {0x9C, "œ"}, {0x9E, "ž"}, {0x9F, "Ÿ"},
    };
    return chars;
}

TEST(CodePage, SpecialCharactersMapToTheirBytes) {
    ASSERT_EQ(SpecialCharacters().size(), 27u);
    for (const auto& [byte, utf8] : SpecialCharacters()) {
        EXPECT_TRUE(bIsConvertibleToAnsi(utf8)) << utf8;
        bool ok = false;
        EXPECT_EQ(Utf8ToCp1252(utf8, &ok), std::string(1, static_cast<char>(byte))) << utf8;
        EXPECT_TRUE(ok);
        EXPECT_EQ(Cp1252ToUtf8(std::string(1, static_cast<char>(byte))), utf8);
    }
}

TEST(CodePage, EveryDefinedByteRoundTrips) {
    for (int b = 0; b < 256; ++b) {
        if (bIsUndefinedByte(b)) continue;
        const std::string byte(1, static_cast<char>(b));
        const std::string utf8 = Cp1252ToUtf8(byte);
        EXPECT_TRUE(bIsConvertibleToAnsi(utf8)) << b;
        bool ok = false;
        EXPECT_EQ(Utf8ToCp1252(utf8, &ok), byte) << b;
        EXPECT_TRUE(ok) << b;
    }
}

TEST(CodePage, Latin1RangeIsIdentity) {
    EXPECT_EQ(Utf8ToCp1252("äöüß é ©±ÿ"), "\xE4\xF6\xFC\xDF \xE9 \xA9\xB1\xFF");
    EXPECT_EQ(Cp1252ToUtf8("\xA0\xC4\xFF"), "\u00A0Ä\u00FF");
    EXPECT_EQ(Cp1252ToUtf8("plain ASCII"), "plain ASCII");
}

TEST(CodePage, UndefinedBytesAndC1ControlsAreNotConvertible) {
    for (unsigned char b : kUndefinedBytes) {
        EXPECT_EQ(Cp1252ToUtf8(std::string(1, static_cast<char>(b))), kReplacementChar) << int(b);
        // The C1 control code point of the same value has no byte either.
        const std::string c1 = {static_cast<char>(0xC2), static_cast<char>(b)};
        EXPECT_FALSE(bIsConvertibleToAnsi(c1)) << int(b);
    }
    EXPECT_FALSE(bIsConvertibleToAnsi("\u0080"));
    EXPECT_FALSE(bIsConvertibleToAnsi("\u009F"));
    EXPECT_FALSE(bIsConvertibleToAnsi(kReplacementChar));
}

TEST(CodePage, CharactersOutsideTheCodePage) {
    for (const std::string text : {"Ω", "中", "😀", "ĳ", "\u2028"}) {
        EXPECT_FALSE(bIsConvertibleToAnsi(text)) << text;
        bool ok = true;
        EXPECT_EQ(Utf8ToCp1252(text, &ok), "?") << text;
        EXPECT_FALSE(ok);
    }
    bool ok = true;
    EXPECT_EQ(Utf8ToCp1252("aΩb€", &ok), "a?b\x80");
    EXPECT_FALSE(ok);
}

TEST(CodePage, InvalidUtf8IsNotConvertible) {
    struct Case {
        std::string input;
        std::string converted;
    };
    const Case cases[] = {
        {"\x80", "?"},  // stray continuation byte
        {"\xBF"
         "a",
         "?a"},
        {"\xC0\xAF", "??"},            // overlong '/'
        {"\xC1\x81", "??"},            // overlong 'A'
        {"\xE0\x80\xAF", "???"},       // overlong three-byte form
        {"\xF0\x80\x80\xAF", "????"},  // overlong four-byte form
        {"\xED\xA0\x80", "???"},       // surrogate U+D800
        {"\xED\xBF\xBF", "???"},       // surrogate U+DFFF
        {"\xF4\x90\x80\x80", "????"},  // above U+10FFFF
        {"\xF5\x80\x80\x80", "????"},
        {"\xFF", "?"},
        {"\xC3", "?"},  // truncated at the end
        {"\xE2\x82", "?"},
        {"\xE2\x82"
         "A",
         "?A"},  // truncated before an ASCII byte
        {"\xF0\x9F\x98", "?"},
        {"a\xC3(b", "a?(b"},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(bIsConvertibleToAnsi(c.input));
        bool ok = true;
        EXPECT_EQ(Utf8ToCp1252(c.input, &ok), c.converted);
        EXPECT_FALSE(ok);
    }
}

TEST(CodePage, EdgesOfValidUtf8) {
    EXPECT_TRUE(bIsConvertibleToAnsi(""));
    EXPECT_TRUE(bIsConvertibleToAnsi(std::string("a\0b", 3)));
    EXPECT_EQ(Utf8ToCp1252(std::string("a\0b", 3)), std::string("a\0b", 3));
    bool ok = false;
    EXPECT_EQ(Utf8ToCp1252("", &ok), "");
    EXPECT_TRUE(ok);
    // Valid but outside the code page: the largest code points of each length.
    EXPECT_FALSE(bIsConvertibleToAnsi("\xDF\xBF"));          // U+07FF
    EXPECT_FALSE(bIsConvertibleToAnsi("\xEF\xBF\xBF"));      // U+FFFF
    EXPECT_FALSE(bIsConvertibleToAnsi("\xF4\x8F\xBF\xBF"));  // U+10FFFF
    EXPECT_EQ(Utf8ToCp1252("\xF4\x8F\xBF\xBF"), "?");
}

TEST(CodePage, AllBytesDecodeToValidUtf8) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string utf8 = Cp1252ToUtf8(all);
    bool ok = true;
    const std::string back = Utf8ToCp1252(utf8, &ok);
    EXPECT_FALSE(ok);  // the five undefined bytes are lost
    ASSERT_EQ(back.size(), 256u);
    for (int b = 0; b < 256; ++b) {
        EXPECT_EQ(static_cast<unsigned char>(back[b]), bIsUndefinedByte(b) ? '?' : b) << b;
    }
}

}  // namespace
