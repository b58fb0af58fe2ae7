#include <gtest/gtest.h>

#include <fstream>

#include "model/partset/OContourCsv.h"
#include "model/partset/OType_ZRPartSet.h"
#include "platform/OProgressCtrl.h"
#include "platform/OProgressDisplay_Recording.h"
#include "support/TempDir.h"

namespace {

OType_Part MakePart(int type, int orientation, std::vector<int16_t> runs) {
    OType_Part p;
    p.SetType(type);
    p.SetOrientation(orientation);
    p.SetConturData(std::move(runs));
    p.SetComment("note");
    OType_Feature f;
    f.value = 42.5;
    f.name = "Area";
    p.Features().Add(f);
    OType_Image img(3, 2, 1);
    img.SetPixel(1, 1, 0, 200);
    p.AddImage(img);
    return p;
}

void WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

TEST(ContourCsv, ParsesRowsAndSkipsCommentsAndBlankLines) {
    std::vector<OContourCsvRow> rows;
    std::string error;
    ASSERT_TRUE(
        bParseContourCsv("# header\nteach,1,2,10,-20\n\n test , 3 , -1 , 1 , -1 \r\n", rows, error))
        << error;
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_TRUE(rows[0].teach);
    EXPECT_EQ(rows[0].orientation, 2);
    EXPECT_EQ(rows[0].runs, (std::vector<int16_t>{10, -20}));
    EXPECT_FALSE(rows[1].teach);
    EXPECT_EQ(rows[1].orientation, -1);
    EXPECT_EQ(FormatContourCsvRow(rows[0]), "teach,1,2,10,-20");
}

TEST(ContourCsv, ReportsLineAndColumnOfBadFields) {
    std::vector<OContourCsvRow> rows;
    std::string error;
    EXPECT_FALSE(bParseContourCsv("teach,1,1,5,-9\nteach,1,1,5,40000\n", rows, error));
    EXPECT_NE(error.find("line 2, column 5"), std::string::npos) << error;
    EXPECT_TRUE(rows.empty());
    EXPECT_FALSE(bParseContourCsv("sample,1,1\n", rows, error));
    EXPECT_NE(error.find("line 1, column 1"), std::string::npos) << error;
    EXPECT_FALSE(bParseContourCsv("teach,1\n", rows, error));
    EXPECT_FALSE(bParseContourCsv("teach,x,1\n", rows, error));
    EXPECT_NE(error.find("column 2"), std::string::npos) << error;
    EXPECT_TRUE(bParseContourCsv("teach,1,1,-32768,32767\n", rows, error))
        << "the full 16-bit range is allowed";
}

TEST(PartListFile, BinaryListKeepsEveryPartIntactAndAppends) {
    TempDir dir;
    OType_ZRPartSet source;
    source.TeachParts().Add(MakePart(1, 1, {10, -20}));
    source.TeachParts().Add(MakePart(2, 3, {1, -1, 5, -9}));
    OProgressDisplay_Recording display;
    OProgressCtrl progress(&display);
    const auto path = dir / "parts.zrl";
    ASSERT_EQ(source.iParts2File(true, path, 1, &progress), 1);
    EXPECT_FALSE(display.Updates().empty());

    OType_ZRPartSet target;
    target.TestParts().Add(MakePart(5, 5, {0, 0}));
    std::string error;
    ASSERT_EQ(target.iLoadParts(path, false, &error), 1) << error;
    ASSERT_EQ(target.TestParts().iGetSize(), 3);
    const OType_Part& loaded = *target.TestParts().GetAt_NoSort(2);
    EXPECT_EQ(loaded.Contour().size(), 4u);
    EXPECT_EQ(loaded.iGetOrientation(), 3);
    EXPECT_EQ(loaded.GetComment(), "note");
    EXPECT_EQ(loaded.Features().dGetFeatureValueAt(0), 42.5);
    ASSERT_EQ(loaded.iGetNumImages(), 1);
    EXPECT_EQ(loaded.opGetImage(0)->GetPixel(1, 1), 200);
    EXPECT_EQ(loaded.iGetRecordNo(), 3) << "record number = list size after adding";
    EXPECT_FALSE(loaded.bIsTeachPart());
}

TEST(PartListFile, TextListHoldsContours) {
    TempDir dir;
    OType_ZRPartSet source;
    source.TestParts().Add(MakePart(2, -4, {7, -8}));
    const auto path = dir / "parts.txt";
    ASSERT_EQ(source.iParts2File(false, path, 0, nullptr), 1);
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "test,2,-4,7,-8");

    OType_ZRPartSet target;
    ASSERT_EQ(target.iLoadParts(path, true, nullptr), 1);
    ASSERT_EQ(target.TeachParts().iGetSize(), 1);
    EXPECT_EQ(target.TeachParts().GetAt(0)->iGetOrientation(), -4);
    EXPECT_EQ(target.TeachParts().GetAt(0)->iGetColumns(), 1);
}

TEST(PartListFile, DamagedFilesAppendNothing) {
    TempDir dir;
    OType_ZRPartSet source;
    for (int i = 0; i < 3; ++i)
        source.TeachParts().Add(MakePart(1, 1, {10, -20}));
    const auto path = dir / "parts.zrl";
    ASSERT_EQ(source.iParts2File(true, path, 1, nullptr), 1);
    const auto full = std::filesystem::file_size(path);
    std::filesystem::resize_file(path, full - 7);

    OType_ZRPartSet target;
    std::string error;
    EXPECT_EQ(target.iLoadParts(path, true, &error), 0);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(target.TeachParts().iGetSize(), 0);

    WriteFile(dir / "bad.txt", "teach,1,1,3,-4\nnonsense\n");
    EXPECT_EQ(target.iLoadParts(dir / "bad.txt", true, &error), 0);
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    EXPECT_EQ(target.TeachParts().iGetSize(), 0);

    EXPECT_EQ(target.iLoadParts(dir / "missing.zrl", true, &error), 0);
}

TEST(PartListFile, UncreatableFileReportsMinusOne) {
    OType_ZRPartSet source;
    EXPECT_EQ(source.iParts2File(true, "/nonexistent-folder/x.zrl", 1, nullptr), -1);
    EXPECT_EQ(source.iParts2File(true, "/nonexistent-folder/x.txt", 0, nullptr), -1);
}

}  // namespace
