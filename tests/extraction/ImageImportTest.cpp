// Camera image import: the contour by thresholding against a plain column-by-column
// computation, the edge cases of the import, and the dialog model with its settings.
#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "extraction/ODlg_ImportImages.h"
#include "extraction/OImageContour.h"
#include "model/image/ImageCodec.h"
#include "model/strings/ResStr.h"
#include "platform/OSettings_Memory.h"
#include "platform/OUserInteraction_Scripted.h"
#include "support/TempDir.h"

namespace {

using Runs = std::vector<int16_t>;

// The contour as the import describes it, one column and one pixel at a time.
Runs PlainContour(const OType_Image& img, const OImageThreshold& t) {
    Runs out;
    const int x0 = img.iGetPosX(), y0 = img.iGetPosY();
    for (int c = 0; c < x0; ++c)
        out.insert(out.end(), {1, -1});
    for (int c = 0; c < img.iGetWidth(); ++c) {
        Runs column;
        bool open = false;
        int start = 0;
        for (int r = 0; r < img.iGetHeight(); ++r) {
            const int v = img.GetPixel(c, img.iGetHeight() - 1 - r, 0);
            const bool inside = t.dark <= v && v <= t.bright;
            const bool part = t.type == 0 ? inside : !inside;
            if (part && !open) {
                open = true;
                start = y0 + r;
            } else if (!part && open) {
                open = false;
                column.insert(column.end(), {int16_t(start), int16_t(y0 + r)});
            }
        }
        if (open) column.insert(column.end(), {int16_t(start), int16_t(y0 + img.iGetHeight())});
        if (column.empty()) column = {1, 1};
        column.back() = int16_t(-column.back());
        out.insert(out.end(), column.begin(), column.end());
    }
    return out;
}

OType_Image Filled(int w, int h, int layers, uint8_t value) {
    OType_Image img(w, h, layers);
    std::fill(img.Pixels().begin(), img.Pixels().end(), value);
    return img;
}

// A bright background with dark ellipses and rectangles and some noise.
OType_Image Scene(int w, int h, int layers, unsigned seed) {
    std::mt19937 rng(seed);
    OType_Image img = Filled(w, h, layers, 220);
    for (int shape = 0; shape < 6; ++shape) {
        const int cx = int(rng() % unsigned(w)), cy = int(rng() % unsigned(h));
        const int rx = 2 + int(rng() % unsigned(w / 3 + 1)),
                  ry = 2 + int(rng() % unsigned(h / 3 + 1));
        const bool ellipse = rng() % 2 == 0;
        const auto value = uint8_t(rng() % 120);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const double dx = double(x - cx) / rx, dy = double(y - cy) / ry;
                const bool in =
                    ellipse ? dx * dx + dy * dy <= 1.0 : std::abs(dx) <= 1 && std::abs(dy) <= 1;
                if (in)
                    for (int l = 0; l < layers; ++l)
                        img.SetPixel(x, y, l, uint8_t(value + l * 50));
            }
    }
    for (int n = 0; n < w * h / 50; ++n)
        img.SetPixel(int(rng() % unsigned(w)), int(rng() % unsigned(h)), 0, uint8_t(rng()));
    return img;
}

void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

}  // namespace

// ---------------------------------------------------------------- the contour

TEST(ImageContour, WhitePictureGivesEmptyOrFullColumns) {
    OType_Image white = Filled(6, 9, 1, 255);
    white.SetPos(3, 20);
    const OImageThreshold darkOnly{0, 0, 100};
    Runs expected;
    for (int c = 0; c < 9; ++c)
        expected.insert(expected.end(), {1, -1});
    EXPECT_EQ(ImageContour::FromImage(white, darkOnly), expected);
    // Type 1: every pixel is outside 0 ... 100, so each column is one run over the full
    // height, from the bottom row Y to one above the top row.
    const OImageThreshold outside{1, 0, 100};
    expected = {1, -1, 1, -1, 1, -1};
    for (int c = 0; c < 6; ++c)
        expected.insert(expected.end(), {20, -29});
    EXPECT_EQ(ImageContour::FromImage(white, outside), expected);
}

TEST(ImageContour, PositionXStartsWithThatManyEmptyColumns) {
    OType_Image img = Scene(30, 20, 1, 7);
    img.SetPos(10, 0);
    const Runs runs = ImageContour::FromImage(img, {0, 0, 127});
    ASSERT_GE(runs.size(), 20u);
    for (int c = 0; c < 10; ++c) {
        EXPECT_EQ(runs[size_t(2 * c)], 1);
        EXPECT_EQ(runs[size_t(2 * c + 1)], -1);
    }
    EXPECT_EQ(OType_Part::iCountColumns(runs), 40);
}

TEST(ImageContour, MatchesThePlainComputationOnScenes) {
    int seed = 1;
    for (int layers : {1, 3})
        for (auto [w, h] : {std::pair{1, 1}, {7, 3}, {64, 48}, {600, 37}, {13, 700}})
            for (const OImageThreshold& t :
                 {OImageThreshold{0, 0, 127}, OImageThreshold{1, 0, 127},
                  OImageThreshold{0, 60, 90}, OImageThreshold{1, 200, 255},
                  OImageThreshold{0, 0, 255}}) {
                OType_Image img = Scene(w, h, layers, unsigned(seed++));
                img.SetPos(seed % 5, seed % 40);
                EXPECT_EQ(ImageContour::FromImage(img, t), PlainContour(img, t))
                    << w << "x" << h << " layers " << layers << " type " << t.type;
            }
}

TEST(ImageContour, RunsTouchingTheBottomAndTheTopRow) {
    // One column, bottom to top: part, background, part: (0, 1) and (2, -3).
    OType_Image img(1, 3, 1);
    img.SetPixel(0, 2, 0, 10);  // bottom row
    img.SetPixel(0, 1, 0, 200);
    img.SetPixel(0, 0, 0, 10);  // top row
    EXPECT_EQ(ImageContour::FromImage(img, {0, 0, 100}), (Runs{0, 1, 2, -3}));
    img.SetPos(0, 5);
    EXPECT_EQ(ImageContour::FromImage(img, {0, 0, 100}), (Runs{5, 6, 7, -8}));
}

TEST(ImageContour, StopsBeforeTheColumnThatDoesNotFit) {
    // Stripes two rows high: 1024 rows give 256 runs, 512 values per column.
    OType_Image stripes(1280, 1024, 1);
    for (int y = 0; y < 1024; ++y)
        for (int x = 0; x < 1280; ++x)
            stripes.SetPixel(x, y, 0, (y / 2) % 2 ? 0 : 255);
    const Runs runs = ImageContour::FromImage(stripes, {0, 0, 100});
    EXPECT_EQ(runs.size(), 292u * 512u);  // 292 whole columns; a 293rd would pass 150000
    EXPECT_LT(runs.back(), 0);
    EXPECT_EQ(OType_Part::iCountColumns(runs), 292);
    const Runs plain = PlainContour(stripes, {0, 0, 100});
    EXPECT_TRUE(std::equal(runs.begin(), runs.end(), plain.begin()));
    // A limit inside the leading empty columns.
    OType_Image img = Filled(4, 4, 1, 0);
    img.SetPos(10, 0);
    EXPECT_EQ(ImageContour::FromImage(img, {0, 0, 100}, 7).size(), 6u);
}

TEST(ImageContour, RowsBeyondSixteenBitsAreNotScannedAndEmptyImagesGiveNothing) {
    OType_Image tall = Filled(2, 20, 1, 0);
    tall.SetPos(0, 32760);
    // Rows 32760 ... 32766 fit: their run ends at 32767.
    EXPECT_EQ(ImageContour::FromImage(tall, {0, 0, 100}), (Runs{32760, -32767, 32760, -32767}));
    tall.SetPos(0, 32767);
    EXPECT_EQ(ImageContour::FromImage(tall, {0, 0, 100}), (Runs{1, -1, 1, -1}));
    EXPECT_TRUE(ImageContour::FromImage(OType_Image(), {0, 0, 100}).empty());
    OType_Image negative = Filled(1, 2, 1, 0);
    negative.SetPos(-4, -9);  // counts as (0, 0)
    EXPECT_EQ(ImageContour::FromImage(negative, {0, 0, 100}), (Runs{0, -2}));
}

// ---------------------------------------------------------------- the dialog model

struct ImportDialog : ::testing::Test {
    OSettings_Memory settings;
    OUserInteraction_Scripted ui;
    TempDir dir;

    std::string Picture(const std::string& name, const std::vector<uint8_t>& bytes) {
        WriteFile(dir / name, bytes);
        return (dir / name).string();
    }
};

TEST_F(ImportDialog, SettingsAreReadWhenMadeAndWrittenWhenDestroyed) {
    {
        ODlg_ImportImages fresh(settings, {});
        EXPECT_EQ(fresh.iGetPositionX(), 0);
        EXPECT_EQ(fresh.iGetPositionY(), 0);
        EXPECT_EQ(fresh.iGetThresholdType(), 0);
        EXPECT_EQ(fresh.iGetDark(), 0);
        EXPECT_EQ(fresh.iGetBright(), 127);
        fresh.SetPositionX(12);
        fresh.SetPositionY(34);
        fresh.SetThresholdType(1);
        fresh.SetDark(5);
        fresh.SetBright(99);
        EXPECT_FALSE(settings.bHasValue("Settings", "VIEWINGAREALEFTLIMIT"));
    }
    EXPECT_EQ(settings.iGetInt("Settings", "VIEWINGAREALEFTLIMIT", -1), 12);
    EXPECT_EQ(settings.iGetInt("Settings", "VIEWINGAREALOWERLIMIT", -1), 34);
    EXPECT_EQ(settings.iGetInt("Settings", "THRESHOLDFUNCTION", -1), 1);
    EXPECT_EQ(settings.iGetInt("Settings", "THRESHOLDDARK", -1), 5);
    EXPECT_EQ(settings.iGetInt("Settings", "THRESHOLDBRIGHT", -1), 99);
    ODlg_ImportImages again(settings, {});
    EXPECT_EQ(again.iGetPositionY(), 34);
    EXPECT_EQ(again.iGetBright(), 99);
    EXPECT_EQ(ODlg_ImportImages::ThresholdTypeNames().size(), 2u);
    EXPECT_NE(ODlg_ImportImages::PositionYLabel().find("Lower limit of viewing area"),
              std::string::npos);
}

TEST_F(ImportDialog, ValidationRefusesValuesThatMakeNoContour) {
    ODlg_ImportImages d(settings, {});
    std::string message;
    EXPECT_TRUE(d.bValidate(message));
    d.SetDark(120);
    d.SetBright(119);
    EXPECT_FALSE(d.bValidate(message));
    EXPECT_NE(message.find("lower brightness limit"), std::string::npos);
    d.SetDark(0);
    d.SetBright(256);
    EXPECT_FALSE(d.bValidate(message));
    d.SetBright(255);
    d.SetThresholdType(2);
    EXPECT_FALSE(d.bValidate(message));
    d.SetThresholdType(1);
    d.SetPositionX(-30000);
    EXPECT_TRUE(d.bValidate(message));
    d.SetPositionY(30001);
    EXPECT_FALSE(d.bValidate(message));
}

TEST_F(ImportDialog, EveryReadableFileBecomesAPartAndTheRestAreNamed) {
    OType_Image grey = Scene(40, 30, 1, 3);
    OType_Image colour = Scene(20, 10, 3, 4);
    const std::string bmp = Picture("a.bmp", ImageCodec::EncodeBmp(grey));
    std::vector<uint8_t> jpeg;
    std::string error;
    ASSERT_TRUE(ImageCodec::bEncodeJpeg(colour, 95, jpeg, error));
    const std::string jpg = Picture("b.jpg", jpeg);
    const std::string broken = Picture("broken.bmp", {'B', 'M', 1, 2, 3});
    const std::string missing = (dir / "missing.png").string();
    ODlg_ImportImages d(settings, {bmp, broken, jpg, missing});
    d.SetPositionX(-7);  // its amount is used, and it is worth a warning
    d.SetPositionY(11);
    ASSERT_EQ(d.iImport(), 2);
    ASSERT_EQ(d.Parts().size(), 2u);
    const OType_Part& first = *d.Parts()[0];
    EXPECT_EQ(first.GetComment(), bmp);
    ASSERT_EQ(first.iGetNumImages(), 1);
    EXPECT_EQ(first.opGetImage(0)->iGetPosX(), 7);
    EXPECT_EQ(first.opGetImage(0)->iGetPosY(), 11);
    OType_Image placed = grey;
    placed.SetPos(7, 11);
    EXPECT_EQ(std::vector<int16_t>(first.Contour().begin(), first.Contour().end()),
              PlainContour(placed, d.Threshold()));
    EXPECT_EQ(first.iGetColumns(), 47);
    EXPECT_EQ(d.Parts()[1]->GetComment(), jpg);
    EXPECT_EQ(d.Parts()[1]->opGetImage(0)->iGetLayers(), 3);
    ASSERT_EQ(d.SkippedFiles().size(), 2u);
    EXPECT_EQ(d.SkippedFiles()[0].path, broken);
    EXPECT_NE(d.SkippedFiles()[1].reason.find("missing.png"), std::string::npos);
    EXPECT_TRUE(d.bOutsideFieldOfView());
    // A second import starts afresh.
    d.SetPositionX(0);
    ASSERT_EQ(d.iImport(), 2);
    EXPECT_FALSE(d.bOutsideFieldOfView());
    EXPECT_EQ(d.TakeParts().size(), 2u);
    EXPECT_TRUE(d.Parts().empty());
}

TEST_F(ImportDialog, FieldOfViewIsTheWholeSensor) {
    EXPECT_FALSE(ODlg_ImportImages::bIsOutsideField(0, 0, 1280, 1024));
    EXPECT_TRUE(ODlg_ImportImages::bIsOutsideField(1, 0, 1280, 1024));
    EXPECT_TRUE(ODlg_ImportImages::bIsOutsideField(0, 1, 1280, 1024));
    EXPECT_FALSE(ODlg_ImportImages::bIsOutsideField(1000, 900, 280, 124));
    EXPECT_TRUE(ODlg_ImportImages::bIsOutsideField(-1, 0, 10, 10));
    EXPECT_TRUE(ODlg_ImportImages::bIsOutsideField(0, -1, 10, 10));
}

TEST_F(ImportDialog, OkShowsTheFieldOfViewMessageOnceAndListsUnreadableFiles) {
    const std::string big = Picture("big.bmp", ImageCodec::EncodeBmp(Filled(700, 600, 1, 0)));
    const std::string big2 = Picture("big2.bmp", ImageCodec::EncodeBmp(Filled(700, 600, 1, 9)));
    const std::string text = Picture("notes.png", {'n', 'o'});
    ODlg_ImportImages d(settings, {big, text, big2}, &ui);
    d.SetPositionX(600);
    ui.ExpectMessage(MsgResult::Ok, ResStr(5356));
    ui.ExpectMessage(MsgResult::Ok, "notes.png");
    d.OnOk();
    EXPECT_EQ(d.Parts().size(), 2u);
    EXPECT_TRUE(ui.Mismatches().empty()) << ui.TranscriptText();
    EXPECT_TRUE(ui.bAllScriptUsed()) << ui.TranscriptText();
    EXPECT_EQ(ui.Texts().size(), 2u);
    EXPECT_EQ(ui.iWaitCursorShowCount(), 1);
    // Inside the field and everything readable: no message.
    ui.Clear();
    ODlg_ImportImages quiet(settings, {big}, &ui);
    quiet.SetPositionX(0);
    quiet.OnOk();
    EXPECT_TRUE(ui.Texts().empty());
}
