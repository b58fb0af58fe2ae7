// Feature tables in CSV: what is accepted, what is refused and where the error is reported.
#include <gtest/gtest.h>

#include "classification/FeatureTableCsv.h"
#include "model/partset/OType_ZRPartSet.h"
#include "support/TempDir.h"

#include <fstream>

namespace {

using Kind = OFeatureTableValue::Kind;

std::string Error(std::string_view text, int family = 1) {
    OFeatureTable table;
    std::string error;
    EXPECT_FALSE(FeatureTableCsv::bRead(text, family, table, error)) << text;
    return error;
}

TEST(FeatureTableCsv, ReadsPartsWithHeaderCommentsAndBlanks) {
    const std::string text =
        "\xEF\xBB\xBF# sample table\r\n"
        "kind,type,orientation,Length,Area\r\n"
        "\r\n"
        "teach, 1, 2, 10.5, -3e2\r\n"
        "  # indented comment\n"
        "TEST,2,-1,+7,0.25";
    OFeatureTable table;
    std::string error;
    ASSERT_TRUE(FeatureTableCsv::bRead(text, 1, table, error)) << error;
    EXPECT_EQ(table.featureNames, (std::vector<std::string>{"Length", "Area"}));
    ASSERT_EQ(table.rows.size(), 2u);
    const OFeatureTableRow& first = table.rows[0];
    EXPECT_TRUE(first.teach);
    EXPECT_EQ(first.type, 1);
    EXPECT_EQ(first.orientation, 2);
    EXPECT_EQ(first.line, 4);
    EXPECT_EQ(first.features[0].number, 10.5);
    EXPECT_EQ(first.features[1].number, -300.0);
    const OFeatureTableRow& second = table.rows[1];
    EXPECT_FALSE(second.teach);
    EXPECT_EQ(second.orientation, -1);
    EXPECT_EQ(second.features[0].number, 7.0);
    EXPECT_EQ(second.line, 6);
}

TEST(FeatureTableCsv, NamesFeaturesWithoutHeader) {
    OFeatureTable table;
    std::string error;
    ASSERT_TRUE(FeatureTableCsv::bRead("teach,1,1,1,2,3\n", 1, table, error)) << error;
    EXPECT_EQ(table.featureNames, (std::vector<std::string>{"F1", "F2", "F3"}));
    ASSERT_TRUE(FeatureTableCsv::bRead("", 1, table, error));
    EXPECT_TRUE(table.rows.empty());
}

TEST(FeatureTableCsv, Family2ReadsTextAndInvalidValues) {
    OFeatureTable table;
    std::string error;
    ASSERT_TRUE(
        FeatureTableCsv::bRead("teach,1,1,\"LOT \"\"7\"\", A\",,4.5,\"\"\n", 2, table, error))
        << error;
    const auto& f = table.rows[0].features;
    ASSERT_EQ(f.size(), 4u);
    EXPECT_EQ(f[0].kind, Kind::Text);
    EXPECT_EQ(f[0].text, "LOT \"7\", A");
    EXPECT_EQ(f[1].kind, Kind::Invalid);
    EXPECT_EQ(f[2].kind, Kind::Number);
    EXPECT_EQ(f[3].kind, Kind::Text);
    EXPECT_EQ(f[3].text, "");
}

TEST(FeatureTableCsv, ErrorsNameLineAndColumn) {
    EXPECT_EQ(Error("teach,1,1,1\nfoo,1,1,2\n"),
              "line 2, column 1: the kind must be \"teach\" or \"test\", not \"foo\"");
    EXPECT_EQ(Error("teach,1,1,abc\n"),
              "line 1, column 11: \"abc\" is not a finite decimal number");
    EXPECT_EQ(Error("teach,1,1,1e999\n"),
              "line 1, column 11: \"1e999\" is not a finite decimal number");
    EXPECT_EQ(Error("teach,1,1,nan\n"),
              "line 1, column 11: \"nan\" is not a finite decimal number");
    EXPECT_EQ(Error("teach,17,1,1\n"), "line 1, column 7: the type 17 is outside 1..16");
    EXPECT_EQ(Error("teach,1,9,1\n"), "line 1, column 9: the orientation 9 is outside -8..8");
    EXPECT_EQ(Error("teach,1.5,1,1\n"),
              "line 1, column 7: the type must be a whole number, not \"1.5\"");
    EXPECT_EQ(Error("teach,1\n"),
              "line 1, column 1: a line needs at least kind, type and orientation");
    EXPECT_EQ(Error("teach,1,1,1,2\n\ntest,1,1,3\n"),
              "line 3, column 1: 1 features, but line 1 has 2");
    EXPECT_EQ(Error("teach,1,1,\"x\"\n"), "line 1, column 11: text features need --family 2");
    EXPECT_EQ(Error("teach,1,1,1,,2\n"),
              "line 1, column 13: the value is missing (invalid values need --family 2)");
    EXPECT_EQ(Error("teach,1,1,\"abc\n", 2),
              "line 1, column 11: the quoted text has no closing quote");
    EXPECT_EQ(Error("teach,1,1,\"a\"b\n", 2),
              "line 1, column 14: only a comma may follow the closing quote");
    EXPECT_EQ(Error("teach,1,1,a\"b\n", 2),
              "line 1, column 12: a quote may only enclose a whole field");
    EXPECT_EQ(Error(std::string("teach,1,1,1\0,2\n", 15)),
              "line 1, column 12: the line holds a zero byte");
    OFeatureTable table;
    std::string error;
    EXPECT_FALSE(FeatureTableCsv::bRead("teach,1,1,1\n", 3, table, error));
    EXPECT_EQ(error, "the device family must be 1 or 2, not 3");
}

TEST(FeatureTableCsv, FeatureLimitsOfTheFamilies) {
    std::string line = "teach,1,1";
    for (int i = 0; i < 33; ++i)
        line += ",1";
    EXPECT_EQ(Error(line), "line 1, column 75: more than 32 features");
    OFeatureTable table;
    std::string error;
    EXPECT_TRUE(FeatureTableCsv::bRead(line, 2, table, error)) << error;
    std::string wide = "teach,1,1";
    for (int i = 0; i < 257; ++i)
        wide += ",1";
    EXPECT_NE(Error(wide, 2).find("more than 256 features"), std::string::npos);
}

TEST(FeatureTableCsv, AddsNumberedPartsToBothLists) {
    OFeatureTable table;
    std::string error;
    ASSERT_TRUE(
        FeatureTableCsv::bRead("kind,type,orientation,L,T\n"
                               "teach,1,1,5,\"A\"\n"
                               "test,2,0,6,\n"
                               "teach,1,2,7,\"B\"\n",
                               2, table, error))
        << error;
    OType_ZRPartSet set;
    FeatureTableCsv::AddParts(table, set);
    ASSERT_EQ(set.TeachParts().iGetSize(), 2);
    ASSERT_EQ(set.TestParts().iGetSize(), 1);
    const OType_Part& second = *set.TeachParts().GetAt(1);
    EXPECT_EQ(second.iGetRecordNo(), 2);
    EXPECT_EQ(second.iGetOrientation(), 2);
    EXPECT_EQ(second.Features().At(0).value, 7.0);
    EXPECT_EQ(second.Features().At(0).name, "L");
    EXPECT_EQ(second.Features().At(1).type, 1);
    EXPECT_TRUE(second.Features().At(1).bIsText());
    EXPECT_EQ(second.Features().At(1).textValue, "B");
    const OType_Part& test = *set.TestParts().GetAt(0);
    EXPECT_FALSE(test.bIsTeachPart());
    EXPECT_EQ(test.iGetRecordNo(), 1);
    EXPECT_FALSE(test.Features().At(1).valid);
}

TEST(FeatureTableCsv, ReadsFilesAndNamesThemInErrors) {
    TempDir dir;
    const std::string path = (dir / "parts.csv").string();
    std::ofstream(path) << "teach,1,1,3\nteach,x,1,4\n";
    OFeatureTable table;
    std::string error;
    EXPECT_FALSE(FeatureTableCsv::bReadFile(path, 1, table, error));
    EXPECT_EQ(error, path + ": line 2, column 7: the type must be a whole number, not \"x\"");
    EXPECT_FALSE(FeatureTableCsv::bReadFile((dir / "missing.csv").string(), 1, table, error));
    EXPECT_NE(error.find("cannot open"), std::string::npos);
}

}  // namespace
