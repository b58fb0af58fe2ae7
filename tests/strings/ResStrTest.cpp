#include "model/strings/ResStr.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

// The ids the program addresses, gathered from every place that shows, asks or formats a
// model-library text. Ranges are used as a whole.
std::set<int> ProgramIds() {
    std::set<int> ids = {
        128,  2016, 2017, 2018, 2062, 2080, 2081, 2109, 2119, 2120, 2142, 2143, 2145,   2146,
        2169, 2183, 2184, 2210, 2211, 2214, 2227, 2228, 2229, 3206, 3207, 3217, 3221,   3227,
        3233, 3235, 3262, 3267, 3285, 3289, 3300, 3311, 3322, 3400, 3401, 3402, 4006,   4012,
        4015, 4017, 4021, 4102, 4111, 4130, 4142, 4165, 4174, 4177, 4179, 4200, 4201,   4202,
        4204, 4206, 5004, 5005, 5113, 5114, 5116, 5121, 5132, 5133, 5201, 5204, 5205,   5206,
        5209, 5210, 5214, 5215, 5216, 5217, 5220, 5221, 5222, 5228, 5230, 5232, 5233,   5234,
        5235, 5236, 5301, 5303, 5308, 5309, 5310, 5312, 5313, 5315, 5316, 5317, 5319,   5321,
        5322, 5337, 5338, 5341, 5342, 5343, 5344, 5345, 5346, 5347, 5349, 5350, 5351,   5352,
        5380, 5381, 5382, 6187, 6399, 6403, 6404, 6406, 7002, 7018, 7510, 8226, 9048,   9300,
        9301, 9823, 9824, 9825, 9826, 9827, 9829, 9830, 9831, 9835, 9989, 9990, 0xE000, 0xE001,
    };
    const std::pair<int, int> ranges[] = {
        {1500, 1589},   {2065, 2074},   {4007, 4010},   {4143, 4150},   {4207, 4254},
        {5103, 5109},   {5354, 5358},   {6196, 6199},   {20400, 20413}, {20500, 20503},
        {21000, 21019}, {26000, 26019}, {26100, 26100}, {26200, 26203}, {27000, 27011},
        {27020, 27033}, {27100, 27108}};
    for (auto [first, last] : ranges) {
        for (int id = first; id <= last; ++id)
            ids.insert(id);
    }
    return ids;
}

// Kinds of the printf conversions of a text, in order: 'd' for integers, 'f' for floating
// values, 's' for texts. "%%" is no conversion.
std::string ConversionKinds(const std::string& text) {
    std::string kinds;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') continue;
        size_t j = i + 1;
        while (j < text.size() &&
               std::string("-+ #0123456789.lhLz").find(text[j]) != std::string::npos)
            ++j;
        if (j >= text.size()) {
            kinds += '?';
            break;
        }
        const char c = text[j];
        if (c == '%' && j == i + 1) {
            i = j;
            continue;
        }
        if (std::string("diuxXoc").find(c) != std::string::npos) {
            kinds += 'd';
        } else if (std::string("feEgG").find(c) != std::string::npos) {
            kinds += 'f';
        } else if (c == 's') {
            kinds += 's';
        } else {
            kinds += '?';
        }
        i = j;
    }
    return kinds;
}

// The arguments each caller passes to a format text.
const std::map<int, std::string>& FormatTexts() {
    static const std::map<int, std::string> formats = {
        {1564, "dd"}, {2119, "dd"},   {2120, "dd"},  {4006, "d"},  {4142, "sdd"}, {4202, "ss"},
        {4207, "ss"}, {4208, "ss"},   {4220, "dd"},  {4221, "d"},  {4222, "d"},   {4223, "d"},
        {4224, "dd"}, {4225, "s"},    {4227, "s"},   {4241, "ss"}, {4244, "s"},   {4245, "s"},
        {4246, "ds"}, {4248, "s"},    {4249, "s"},   {4251, "d"},  {4252, "d"},   {20406, "dd"},
        {20500, "s"}, {21006, "sdd"}, {21008, "f"},  {21009, "d"}, {21017, "dd"}, {26007, "s"},
        {26008, "s"}, {26009, "ss"},  {26012, "ss"}, {26018, "d"}, {27030, "s"},  {27031, "s"},
    };
    return formats;
}

constexpr int kDateFormat = 3217;

TEST(ResStr, EveryProgramIdHasItsOwnText) {
    for (int id : ProgramIds()) {
        EXPECT_TRUE(bHasResStr(id)) << id;
        const std::string& text = ResStr(id);
        EXPECT_FALSE(text.empty()) << id;
        EXPECT_EQ(text.find("<string"), std::string::npos) << id;
    }
}

TEST(ResStr, TableHoldsNoIdTheProgramDoesNotUse) {
    const std::set<int> expected = ProgramIds();
    const std::vector<int> table = ResStrIds();
    EXPECT_TRUE(std::is_sorted(table.begin(), table.end()));
    EXPECT_EQ(std::set<int>(table.begin(), table.end()), expected);
    EXPECT_EQ(table.size(), expected.size());
}

TEST(ResStr, UnknownIdGivesStableFallback) {
    EXPECT_FALSE(bHasResStr(1234));
    EXPECT_EQ(ResStr(1234), "<string 1234>");
    EXPECT_EQ(ResStr(-7), "<string -7>");
    EXPECT_EQ(ResStr(0), "<string 0>");
    EXPECT_EQ(&ResStr(1234), &ResStr(1234));
    const std::string* first = &ResStr(99999);
    for (int id = 100000; id < 100200; ++id)
        ResStr(id);  // more fallbacks must not move it
    EXPECT_EQ(&ResStr(99999), first);
    EXPECT_EQ(*first, "<string 99999>");
}

TEST(ResStr, FallbacksFromSeveralThreads) {
    std::vector<std::thread> threads;
    std::vector<std::string> results(8);
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([t, &results] {
            for (int id = 200000; id < 200500; ++id)
                ResStr(id + t % 2);
            results[t] = ResStr(200000 + t);
        });
    }
    for (auto& thread : threads)
        thread.join();
    for (int t = 0; t < 8; ++t)
        EXPECT_EQ(results[t], "<string " + std::to_string(200000 + t) + ">");
}

TEST(ResStr, QuotedTextsAreExact) {
    EXPECT_EQ(ResStr(0xE000), "Kalvor 4.0 en");
    EXPECT_EQ(ResStr(0xE001), "For Help, press F1");
    EXPECT_EQ(ResStr(2142), "Please close Mirrel before you continue with Kalvor");
    EXPECT_EQ(ResStr(2143), "Could not find Mirrel,\n please specify correct path and try again");
    EXPECT_EQ(ResStr(3206), "Project Properties");
    EXPECT_EQ(ResStr(3400),
              "Change upper and lower limit of viewing area\nUse horizontal bars in window 'Part "
              "contour' for changing the settings.");
    EXPECT_EQ(ResStr(3401), "Ignore part areas with a height less than...");
    EXPECT_EQ(ResStr(3402), "Ignore part holes with a height less than...");
    EXPECT_EQ(ResStr(3262), "0");
}

TEST(ResStr, FormatTextsHaveTheCallersConversions) {
    for (const auto& [id, kinds] : FormatTexts()) {
        EXPECT_EQ(ConversionKinds(ResStr(id)), kinds) << id << ": " << ResStr(id);
    }
}

TEST(ResStr, NoOtherTextContainsAPercentSign) {
    for (int id : ResStrIds()) {
        if (FormatTexts().count(id) || id == kDateFormat) continue;
        EXPECT_EQ(ResStr(id).find('%'), std::string::npos) << id << ": " << ResStr(id);
    }
}

TEST(ResStr, FormatTextsTakeTheirArguments) {
    EXPECT_EQ(ResStrFormat(2119, 3, 6).find('%'), std::string::npos);
    EXPECT_NE(ResStrFormat(2119, 3, 6).find("3 of 6"), std::string::npos);
    const std::string recording = ResStrFormat(4142, std::string("C:\\Logs\\parts.kvl"), 17, 100);
    EXPECT_NE(recording.find("C:\\Logs\\parts.kvl"), std::string::npos);
    EXPECT_NE(recording.find("17 of 100"), std::string::npos);
    const std::string unknown = ResStrFormat(4202, "XZ-900", "Talon");
    EXPECT_NE(unknown.find("XZ-900"), std::string::npos);
    EXPECT_NE(unknown.find("Talon"), std::string::npos);
    EXPECT_LT(unknown.find("XZ-900"), unknown.find("Talon"));
    EXPECT_NE(ResStrFormat(4006, 12).find("12"), std::string::npos);
}

TEST(ResStr, FormatWithLongArgumentsIsNotTruncated) {
    const std::string longName(20000, 'x');
    const std::string text = ResStrFormat(4207, longName, longName + "y");
    EXPECT_NE(text.find(longName + "y"), std::string::npos);
    EXPECT_GT(text.size(), 40000u);
    const std::string format = ResStr(4246);
    EXPECT_EQ(ResStrFormat(4246, 2, longName).size(), format.size() - 4 + 1 + longName.size());
}

TEST(ResStr, QuestionsAsk) {
    for (int id : {2109, 3227, 3285, 3311, 3322, 4006, 4017, 4102, 4146, 4226, 5004, 5005, 5114,
                   5116, 5133, 6197, 6399}) {
        EXPECT_NE(ResStr(id).find('?'), std::string::npos) << id;
    }
}

// A Qt file-dialog filter: "Name (*.a *.b);;Name (*)".
bool bIsQtFilter(const std::string& filter) {
    size_t start = 0;
    while (true) {
        const size_t end = filter.find(";;", start);
        const std::string entry =
            filter.substr(start, end == std::string::npos ? std::string::npos : end - start);
        const size_t open = entry.rfind(" (");
        if (open == std::string::npos || open == 0 || entry.back() != ')') return false;
        const std::string patterns = entry.substr(open + 2, entry.size() - open - 3);
        if (patterns.empty()) return false;
        size_t p = 0;
        while (p < patterns.size()) {
            const size_t blank = patterns.find(' ', p);
            const std::string pattern =
                patterns.substr(p, blank == std::string::npos ? std::string::npos : blank - p);
            if (pattern.empty() || pattern[0] != '*') return false;
            if (blank == std::string::npos) break;
            p = blank + 1;
        }
        if (end == std::string::npos) return true;
        start = end + 2;
    }
}

TEST(ResStr, FileFiltersUseTheQtFormAndTheirExtension) {
    const std::map<int, std::vector<std::string>> filters = {
        {5301, {"*.zrp"}}, {5303, {"*.typ"}},
        {5308, {"*.exe"}}, {5309, {"*"}},
        {5310, {"*.bin"}}, {5312, {"*.xls"}},
        {5313, {"*.xls"}}, {5315, {"*.zrt"}},
        {5316, {"*.zrl"}}, {5317, {"*.zrl"}},
        {5337, {"*.kvl"}}, {5338, {"*.kvl"}},
        {5343, {"*.kvc"}}, {5344, {"*.zrp", "*.kvp"}},
        {5345, {"*.kvp"}}, {5351, {"*.bmp", "*.jpg"}},
        {7018, {"*.bmp"}},
    };
    for (const auto& [id, patterns] : filters) {
        const std::string& filter = ResStr(id);
        EXPECT_TRUE(bIsQtFilter(filter)) << id << ": " << filter;
        for (const auto& pattern : patterns) {
            EXPECT_NE(filter.find(pattern), std::string::npos) << id << " lacks " << pattern;
        }
    }
    // Teach-data filters are joined by the caller, so each is a single entry.
    for (int id : {5303, 5310, 5315})
        EXPECT_EQ(ResStr(id).find(";;"), std::string::npos) << id;
    EXPECT_TRUE(bIsQtFilter(ResStr(5315) + ";;" + ResStr(5303) + ";;" + ResStr(5310)));
    EXPECT_FALSE(bIsQtFilter("Project File (*.zrp;*.kvp)|*.zrp"));
}

TEST(ResStr, ClipboardFormatNamesAreDistinctMimeTypes) {
    const int formats[] = {5321, 5319, 5341, 5322, 5342, 5346, 5347, 5349, 5350};
    std::set<std::string> names;
    for (int id : formats) {
        const std::string& name = ResStr(id);
        EXPECT_EQ(name.rfind("application/x-kalvor-", 0), 0u) << id;
        EXPECT_EQ(name.find(' '), std::string::npos) << id;
        names.insert(name);
    }
    EXPECT_EQ(names.size(), std::size(formats));
}

TEST(ResStr, DateFormatIsAStrftimeFormat) {
    std::tm date{};
    date.tm_year = 2024 - 1900;
    date.tm_mon = 2;
    date.tm_mday = 5;
    char buffer[64];
    const size_t n = std::strftime(buffer, sizeof buffer, ResStr(kDateFormat).c_str(), &date);
    EXPECT_EQ(std::string(buffer, n), "2024-03-05");
}

TEST(ResStr, CalibrationHeaderHasOneNamePerColumn) {
    // Point number, image x/y, world x/y/z and four deviations: ten tab-separated columns.
    std::string header;
    for (int id : {9823, 9824, 9825, 9826, 9827, 9830, 9831})
        header += ResStr(id) + "\t";
    EXPECT_EQ(std::count(header.begin(), header.end(), '\t'), 10);
    for (unsigned char c : header)
        EXPECT_LT(c, 0x80);  // written one byte per character
}

TEST(ResStr, LabelsThatShareAControlAreDistinct) {
    // Orientation selector entries and part-list markers must be told apart.
    EXPECT_NE(ResStr(2184), ResStr(2228));
    EXPECT_NE(ResStr(9300), ResStr(9301));
    EXPECT_NE(ResStr(6403), ResStr(6404));
    EXPECT_NE(ResStr(4242), ResStr(4243));
    EXPECT_NE(ResStr(5214), ResStr(5215));
}

}  // namespace
