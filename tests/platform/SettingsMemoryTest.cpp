#include <gtest/gtest.h>

#include <climits>
#include <thread>
#include <vector>

#include "platform/OSettings_Memory.h"
#include "platform/SettingsValue.h"

namespace {

TEST(SettingsMemory, MissingValuesReadTheirDefaults) {
    OSettings_Memory settings;
    EXPECT_EQ(settings.iGetInt("Settings", "PARTBUFFERSIZE", 4000), 4000);
    EXPECT_EQ(settings.GetText("Settings", "PATH", "C:"), "C:");
    EXPECT_FALSE(settings.bHasValue("Settings", "PATH"));
}

TEST(SettingsMemory, IntegerAndTextAreOneValuePerName) {
    OSettings_Memory settings;
    settings.SetInt("Settings", "CONTYPE", -7);
    EXPECT_EQ(settings.GetText("Settings", "CONTYPE", "x"), "-7");

    settings.SetText("Settings", "CONTYPE", "3");
    EXPECT_EQ(settings.iGetInt("Settings", "CONTYPE", 0), 3);

    // Writing text replaces the integer; a text that is no integer reads as the default.
    settings.SetText("Settings", "CONTYPE", "TCP");
    EXPECT_EQ(settings.iGetInt("Settings", "CONTYPE", 11), 11);
    EXPECT_EQ(settings.Dump(), std::vector<std::string>{"Settings\\CONTYPE=TCP"});
}

TEST(SettingsMemory, IntegerTextsParseStrictly) {
    struct Case {
        const char* text;
        int expected;  // -999 stands for "not an integer"
    };
    const Case cases[] = {
        {"0", 0},
        {"  17\t", 17},
        {"+5", 5},
        {"-2147483648", INT_MIN},
        {"2147483647", INT_MAX},
        {"2147483648", -999},
        {"-2147483649", -999},
        {"", -999},
        {" ", -999},
        {"12abc", -999},
        {"0x10", -999},
        {"+-5", -999},
        {"--5", -999},
        {"1 2", -999},
        {"+", -999},
        {"1.0", -999},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseSettingsInt(c.text).value_or(-999), c.expected) << '"' << c.text << '"';
    }
}

TEST(SettingsMemory, NamesAreCaseSensitiveAndKeptExactly) {
    OSettings_Memory settings;
    settings.SetInt("Settings", "Path", 1);
    settings.SetInt("settings", "PATH", 2);
    settings.SetInt("Settings", "PATH", 3);
    EXPECT_EQ(settings.iGetInt("Settings", "Path", 0), 1);
    EXPECT_EQ(settings.iGetInt("settings", "PATH", 0), 2);
    EXPECT_EQ(settings.iGetInt("Settings", "PATH", 0), 3);
    EXPECT_FALSE(settings.bHasValue("SETTINGS", "PATH"));
}

TEST(SettingsMemory, DumpListsEverythingSortedBySectionThenName) {
    OSettings_Memory settings;
    settings.SetText("WndPos", "MAIN", "1,1,-1,-1,-1,-1,10,10,800,600");
    settings.SetInt("Settings", "START_TYPE", 3);
    settings.SetInt("Settings", "MSG_BEEP", 0);
    settings.SetText("Recent File List", "File1", "/p/a.kvp");
    const std::vector<std::string> expected{
        "Recent File List\\File1=/p/a.kvp",
        "Settings\\MSG_BEEP=0",
        "Settings\\START_TYPE=3",
        "WndPos\\MAIN=1,1,-1,-1,-1,-1,10,10,800,600",
    };
    EXPECT_EQ(settings.Dump(), expected);
}

TEST(SettingsMemory, RemoveValueLeavesNoEmptySection) {
    OSettings_Memory settings;
    settings.SetInt("A", "x", 1);
    settings.SetInt("B", "y", 2);
    settings.RemoveValue("A", "x");
    settings.RemoveValue("A", "x");        // already gone
    settings.RemoveValue("Missing", "z");  // never there
    EXPECT_FALSE(settings.bHasValue("A", "x"));
    EXPECT_EQ(settings.Values().count("A"), 0u);
    EXPECT_EQ(settings.Dump(), std::vector<std::string>{"B\\y=2"});
}

TEST(SettingsMemory, ConcurrentWritersAndReadersLoseNothing) {
    OSettings_Memory settings;
    constexpr int kThreads = 4;
    constexpr int kValues = 500;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&settings, t] {
            const std::string section = "T" + std::to_string(t);
            for (int i = 0; i < kValues; ++i) {
                settings.SetInt(section, "V" + std::to_string(i), i * t);
                (void)settings.iGetInt("T0", "V0", 0);
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(settings.Dump().size(), static_cast<size_t>(kThreads * kValues));
    EXPECT_EQ(settings.iGetInt("T3", "V499", -1), 3 * 499);
}

}  // namespace
