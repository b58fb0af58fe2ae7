#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/IniFormat.h"

namespace {

using namespace std::string_literals;

const std::vector<std::string>& HostileTexts() {
    static const std::vector<std::string> texts{
        "",
        " ",
        "   leading",
        "trailing   ",
        "  both  ",
        "in ner  blanks",
        "a=b=c",
        "=",
        ";not a comment",
        "#not a comment either",
        "[Section]",
        "]",
        "C:\\Program Files\\Mirrel\\Mirrel.exe",
        "ends with a backslash\\",
        "\\n is not a line break",
        "line 1\nline 2\r\nline 3\r",
        "\n",
        "\ttab\t",
        "\x01\x02\x1f\x7f",
        "nul\0inside"s,
        "\0"s,
        "Grüße, 温度 €, 😀",
        "\xff\xfe invalid",
        "\xC0\x80 overlong",
        "\xED\xA0\x80 surrogate",
        "\xE2\x82 cut short",
        "\xF4\x90\x80\x80 beyond U+10FFFF",
        "\\s \\x41 \\= literal escapes",
    };
    return texts;
}

// The text with every backslash pair removed: what the reader sees as plain characters.
std::string WithoutEscapes(const std::string& escaped) {
    std::string plain;
    for (size_t i = 0; i < escaped.size(); ++i) {
        if (escaped[i] == '\\') {
            ++i;
        } else {
            plain += escaped[i];
        }
    }
    return plain;
}

TEST(IniFormat, EveryHostileTextSurvivesEscaping) {
    for (const std::string& text : HostileTexts()) {
        const std::string escaped = EscapeIniText(text);
        std::string back;
        std::string error;
        ASSERT_TRUE(bUnescapeIniText(escaped, back, error)) << escaped << ": " << error;
        EXPECT_EQ(back, text) << escaped;
        // Nothing in the escaped form may break a line, be trimmed or start a comment.
        for (char c : escaped) {
            EXPECT_FALSE(static_cast<unsigned char>(c) < 0x20 || c == 0x7F) << escaped;
        }
        if (!escaped.empty()) {
            EXPECT_NE(escaped.front(), ' ') << escaped;
            EXPECT_NE(escaped.back(), ' ') << escaped;
        }
        EXPECT_EQ(WithoutEscapes(escaped).find_first_of("=;#[]\\"), std::string::npos) << escaped;
    }
}

TEST(IniFormat, EscapesExactlyWhatNeedsIt) {
    EXPECT_EQ(EscapeIniText("plain text 123"), "plain text 123");
    EXPECT_EQ(EscapeIniText("  a = b;c  "), "\\s\\sa \\= b\\;c\\s\\s");
    EXPECT_EQ(EscapeIniText("a\\b\nc\rd\te"), "a\\\\b\\nc\\rd\\te");
    EXPECT_EQ(EscapeIniText("[x]#"), "\\[x\\]\\#");
    EXPECT_EQ(EscapeIniText("\x01\x7f"), "\\x01\\x7F");
    EXPECT_EQ(EscapeIniText("Grüße"), "Grüße");
    EXPECT_EQ(EscapeIniText("\xff"
                            "a"),
              "\\xFFa");
    EXPECT_EQ(EscapeIniText("\xC3"), "\\xC3");  // a lead byte without its continuation
}

TEST(IniFormat, UnescapeRejectsBrokenEscapes) {
    for (const char* bad : {"abc\\", "\\q", "\\x4", "\\xZZ", "\\x", "a\\ b"}) {
        std::string text;
        std::string error;
        EXPECT_FALSE(bUnescapeIniText(bad, text, error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
    std::string text;
    std::string error;
    EXPECT_TRUE(bUnescapeIniText("\\x4a\\x4A", text, error));
    EXPECT_EQ(text, "JJ");
}

TEST(IniFormat, WholeStoreRoundTripsWithHostileNames) {
    SettingsValueMap values;
    const auto& texts = HostileTexts();
    for (size_t i = 0; i < texts.size(); ++i) {
        values[texts[i]]["value"] = texts[(i + 1) % texts.size()];
        values["Names"][texts[i]] = std::to_string(i);
    }

    const std::string text = FormatIni(values);
    SettingsValueMap back;
    std::string error;
    ASSERT_TRUE(bParseIni(text, back, error)) << error << "\n" << text;
    EXPECT_EQ(back, values);
}

TEST(IniFormat, WritesTheExpectedLayout) {
    SettingsValueMap values;
    values["Settings"]["PARTBUFFERSIZE"] = "4000";
    values["Settings"]["PATH"] = "C:";
    values["WndPos"]["MAIN"] = "1,1";
    values["Empty"];  // sections without values are not written
    EXPECT_EQ(FormatIni(values),
              "[Settings]\nPARTBUFFERSIZE=4000\nPATH=C:\n\n[WndPos]\nMAIN=1,1\n");
}

TEST(IniFormat, ReadsHandWrittenFiles) {
    const std::string text =
        "\xEF\xBB\xBF; written by hand\r\n"
        "[Settings]\r\n"
        "  CONTYPE = 3  \r\n"
        "\r\n"
        "# another comment\n"
        "MIRREL_PATH=C:\\\\Mirrel\\\\mirrel.exe\n"
        "NOTE=a=b; c\n"  // unescaped '=' and ';' in a value are taken as they are
        "[WndPos]\n"
        "MAIN=1,2\n"
        "[Settings]\n"  // a repeated section continues the first
        "CONTYPE=4\n"   // a repeated name: the last one wins
        "EMPTY=\n";
    SettingsValueMap values;
    std::string error;
    ASSERT_TRUE(bParseIni(text, values, error)) << error;
    EXPECT_EQ(values["Settings"]["CONTYPE"], "4");
    EXPECT_EQ(values["Settings"]["MIRREL_PATH"], "C:\\Mirrel\\mirrel.exe");
    EXPECT_EQ(values["Settings"]["NOTE"], "a=b; c");
    EXPECT_EQ(values["Settings"]["EMPTY"], "");
    EXPECT_EQ(values["WndPos"]["MAIN"], "1,2");
    EXPECT_EQ(values.size(), 2u);
}

TEST(IniFormat, MalformedFilesFailWithTheLineAndLeaveNothing) {
    struct Case {
        std::string text;
        std::string line;
    };
    const Case cases[] = {
        {"[Settings\nA=1\n", "line 1:"},       {"[Settings]\nA=1\nno separator\n", "line 3:"},
        {"A=1\n[Settings]\n", "line 1:"},      {"[Settings]\nA=\\q\n", "line 2:"},
        {"[Settings]\nA=ends\\\n", "line 2:"}, {"[Sett\\ings]\n", "line 1:"},
        {"[S]\nA=1\nB=\x01\n", "line 3:"},     {"[S]\nA=1\0\n"s, "line 2:"},
        {"[S]\nA=1\rB=2\n", "line 2:"},  // a lone carriage return inside a line
        {"[S]\nA=1\n[Cut off", "line 3:"},
    };
    for (const Case& c : cases) {
        SettingsValueMap values;
        values["Old"]["x"] = "1";
        std::string error;
        EXPECT_FALSE(bParseIni(c.text, values, error)) << c.text;
        EXPECT_TRUE(values.empty()) << c.text;
        EXPECT_EQ(error.rfind(c.line, 0), 0u) << error;
    }
}

TEST(IniFormat, EmptyContentIsAnEmptyStore) {
    SettingsValueMap values;
    std::string error;
    EXPECT_TRUE(bParseIni("", values, error));
    EXPECT_TRUE(bParseIni("\n\n; nothing\n[Only a header]\n", values, error));
    EXPECT_TRUE(values.empty());
}

}  // namespace
