#include "model/strings/FormatPrintf.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>

namespace {

TEST(FormatPrintf, CommonConversions) {
    EXPECT_EQ(FormatPrintf("%d. %s", 3, "Part"), "3. Part");
    EXPECT_EQ(FormatPrintf("%s: %d (%d%%)", std::string("Good"), 2, 66), "Good: 2 (66%)");
    EXPECT_EQ(FormatPrintf("%05.2lf", 3.14159), "03.14");
    EXPECT_EQ(FormatPrintf("%05.4le", 123456.0), "1.2346e+05");
    EXPECT_EQ(FormatPrintf("Alpha:%3.2lf", -180.0), "Alpha:-180.00");
    EXPECT_EQ(FormatPrintf("%u,%u,%d", 1u, 2u, -3), "1,2,-3");
    EXPECT_EQ(FormatPrintf("%s_%d.%s", "base", 2, "kvl"), "base_2.kvl");
    EXPECT_EQ(FormatPrintf("   %d   ", 7), "   7   ");
    EXPECT_EQ(FormatPrintf("%c", 'A'), "A");
    EXPECT_EQ(FormatPrintf("%04x", 255), "00ff");
}

TEST(FormatPrintf, ArgumentTypeDecidesTheWidth) {
    EXPECT_EQ(FormatPrintf("%d", size_t{5000000000}), "5000000000");
    EXPECT_EQ(FormatPrintf("%d", INT64_MIN), "-9223372036854775808");
    EXPECT_EQ(FormatPrintf("%d", UINT64_MAX), "18446744073709551615");
    EXPECT_EQ(FormatPrintf("%x", -1), "ffffffff");
    EXPECT_EQ(FormatPrintf("%x", int64_t{-1}), "ffffffffffffffff");
    EXPECT_EQ(FormatPrintf("%hd", 70000), "70000");
    EXPECT_EQ(FormatPrintf("%lf", 2.5f), "2.500000");
    EXPECT_EQ(FormatPrintf("%d", true), "1");
}

TEST(FormatPrintf, TextsWithWidthAndPrecision) {
    EXPECT_EQ(FormatPrintf("[%5s]", "ab"), "[   ab]");
    EXPECT_EQ(FormatPrintf("[%-5s]", "ab"), "[ab   ]");
    EXPECT_EQ(FormatPrintf("[%.3s]", "abcdef"), "[abc]");
    const std::string withNul("a\0b", 3);
    EXPECT_EQ(FormatPrintf("%s", withNul), withNul);
    EXPECT_EQ(FormatPrintf("%s", static_cast<const char*>(nullptr)), "(null)");
}

TEST(FormatPrintf, MismatchedArgumentsAreWrittenReadably) {
    EXPECT_EQ(FormatPrintf("%d", "abc"), "abc");
    EXPECT_EQ(FormatPrintf("%s", 42), "42");
    EXPECT_EQ(FormatPrintf("%s", 2.5), "2.5");
    EXPECT_EQ(FormatPrintf("%.1f", 2), "2.0");
    EXPECT_EQ(FormatPrintf("%d", 2.9), "2");
    EXPECT_EQ(FormatPrintf("%d", -2.9), "-2");
    EXPECT_EQ(FormatPrintf("%f", "x"), "x");
}

TEST(FormatPrintf, MissingAndSurplusArguments) {
    EXPECT_EQ(FormatPrintf("%d of %d"), "%d of %d");
    EXPECT_EQ(FormatPrintf("%d of %d", 1), "1 of %d");
    EXPECT_EQ(FormatPrintf("%d", 1, 2, "three"), "1");
    EXPECT_EQ(FormatPrintf("no conversion", 5), "no conversion");
}

TEST(FormatPrintf, UnsafeOrUnknownConversionsStayLiteral) {
    int written = 0;
    EXPECT_EQ(FormatPrintf("%n", written), "%n");
    EXPECT_EQ(FormatPrintf("%p", 1), "%p");
    EXPECT_EQ(FormatPrintf("%*d", 5, 1), "%*d");
    EXPECT_EQ(FormatPrintf("%99999d", 1), "%99999d");
    EXPECT_EQ(FormatPrintf("100%", 1), "100%");
    EXPECT_EQ(FormatPrintf("%%d", 1), "%d");
    EXPECT_EQ(FormatPrintf("%k %d", 4), "%k 4");
    EXPECT_EQ(FormatPrintf("%4096d", 1).size(), 4096u);
}

TEST(FormatPrintf, LongResultsAreComplete) {
    const std::string name(100000, 'n');
    const std::string result = FormatPrintf("<%s|%s>", name, name);
    EXPECT_EQ(result.size(), 2 * name.size() + 3);
    EXPECT_EQ(result.front(), '<');
    EXPECT_EQ(result.back(), '>');
    EXPECT_EQ(FormatPrintf("%.300f", 1.0).size(), 302u);
}

}  // namespace
