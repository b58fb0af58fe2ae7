// The steps of an automation script as they are read from its text.
#include <gtest/gtest.h>

#include "app/ScriptSteps.h"

namespace {

std::vector<OScriptStep> Parse(std::string_view text) {
    std::vector<OScriptStep> steps;
    std::string error;
    EXPECT_TRUE(bParseScript(text, steps, error)) << error;
    return steps;
}

TEST(ScriptSteps, VerbsArgumentsQuotesCommentsAndLineNumbers) {
    const auto steps = Parse(
        "# a screenshot of the contour window\n"
        "\n"
        "open \"/tmp/My project.zrp\"\r\n"
        "  command   32860\t\n"
        "grab EXTRACTOR docs/x.png\n"
        "set 1001 \"say \\\"hi\\\" \\\\ there\"\n"
        "set 1002 \"\"\n"
        "quit");
    ASSERT_EQ(steps.size(), 6u);
    EXPECT_EQ(steps[0], (OScriptStep{3, "open", {"/tmp/My project.zrp"}}));
    EXPECT_EQ(steps[1], (OScriptStep{4, "command", {"32860"}}));
    EXPECT_EQ(steps[2], (OScriptStep{5, "grab", {"EXTRACTOR", "docs/x.png"}}));
    EXPECT_EQ(steps[3].args[1], "say \"hi\" \\ there");
    EXPECT_EQ(steps[4].args, (std::vector<std::string>{"1002", ""})) << "an empty argument";
    EXPECT_EQ(steps[5], (OScriptStep{8, "quit", {}}));
}

TEST(ScriptSteps, TextQuotesWhatNeedsQuotingAndReadsBackTheSame) {
    const OScriptStep step{1, "set", {"1001", "a b", "", "q\"\\", "plain"}};
    EXPECT_EQ(step.Text(), "set 1001 \"a b\" \"\" \"q\\\"\\\\\" plain");
    const auto again = Parse(step.Text());
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0].args, step.args);
}

TEST(ScriptSteps, AnOpenQuoteIsRefusedWithItsLine) {
    std::vector<OScriptStep> steps{{1, "old", {}}};
    std::string error;
    EXPECT_FALSE(bParseScript("wait 10\nopen \"/tmp/never closed\n", steps, error));
    EXPECT_EQ(error, "line 2: a quote is not closed");
    EXPECT_TRUE(steps.empty()) << "nothing half-read is left";
    EXPECT_TRUE(bParseScript("", steps, error));
    EXPECT_TRUE(steps.empty());
}

TEST(ScriptSteps, WholeNumbers) {
    int v = 7;
    EXPECT_TRUE(bParseScriptInt("32860", v));
    EXPECT_EQ(v, 32860);
    EXPECT_TRUE(bParseScriptInt("-5", v));
    EXPECT_EQ(v, -5);
    EXPECT_TRUE(bParseScriptInt("+5", v));
    EXPECT_EQ(v, 5);
    for (const char* bad : {"", "12a", "1.5", "99999999999", " 1", "0x10", "+"})
        EXPECT_FALSE(bParseScriptInt(bad, v)) << bad;
}

}  // namespace
