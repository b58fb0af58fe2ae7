// The pattern, ray, compare and reader tools in a part set, each against what was drawn:
// known pattern positions and turns, known code texts, known radii, known differences.
#include <gtest/gtest.h>

#include <cmath>

#include <opencv2/imgproc.hpp>

#include "FineCanvas.h"
#include "model/stream/OByteStream_Memory.h"
#include "tools/kvt/OKvtCodeReader.h"
#include "tools/kvt/OKvtPatternSearch.h"
#include "tools/kvt/OType_ConfigTool_KVT_IMGCOMPARE.h"
#include "tools/kvt/OType_ConfigTool_KVT_PMATCH.h"
#include "tools/kvt/OType_ConfigTool_KVT_RAYTOOL.h"
#include "tools_kvt/KvtTestSupport.h"

namespace {

constexpr double kDegree = CV_PI / 180.0;

OType_Image ImageOf(const cv::Mat& grey) {
    OType_Image image(grey.cols, grey.rows, 1);
    for (int y = 0; y < grey.rows; ++y)
        for (int x = 0; x < grey.cols; ++x)
            image.SetPixel(x, y, 0, grey.at<uint8_t>(y, x));
    return image;
}

// A bracket with a hole (not symmetric) around (cx, cy), turned and in the given ink.
void Bracket(OFineCanvas& c, cv::Point2d at, double angle, uint8_t ink) {
    const std::vector<cv::Point2d> outline = {{-30, -20}, {25, -20}, {25, -5},  {35, -5},
                                              {35, 5},    {25, 5},   {25, 20},  {-10, 20},
                                              {-10, 8},   {-22, 8},  {-22, 20}, {-30, 20}};
    const double co = std::cos(angle * kDegree), si = std::sin(angle * kDegree);
    auto place = [&](cv::Point2d p) {
        return cv::Point2d(at.x + p.x * co + p.y * si, at.y - p.x * si + p.y * co);
    };
    std::vector<cv::Point2d> polygon;
    for (const auto& p : outline)
        polygon.push_back(place(p));
    c.Polygon(polygon, ink);
    c.Circle(place({8, 0}), 6, 230);
}

// A cross of two bars: another shape for a second part type.
void Cross(OFineCanvas& c, cv::Point2d at, uint8_t ink) {
    c.Box(at + cv::Point2d(-30, -6), at + cv::Point2d(30, 6), ink);
    c.Box(at + cv::Point2d(-6, -30), at + cv::Point2d(6, 30), ink);
}

template <class Draw>
OType_Part PartOf(Draw draw, int type = 1, unsigned seed = 1) {
    OFineCanvas canvas({640, 480}, 205);
    draw(canvas);
    cv::Mat picture = canvas.Picture();
    AddNoise(picture, seed);
    OType_Part part = KvtTest::PartWithImage(ImageOf(picture));
    part.SetType(type);
    part.SetOrientation(1);
    return part;
}

void AddSample(OType_ZRPartSet& set, OType_Part part) {
    part.SetTeachPart(true);
    set.TeachParts().Add(part);
}

void Place(OType_ConfigTool_KVT& tool, double cx, double cy, double w, double h, double angle = 0) {
    ASSERT_TRUE(tool.bSetShape({cx, cy, w, h, angle}));
}

// The tool's features of a part, after teaching from the part set as a run would.
OType_FeatureArray Extracted(OType_ZRPartSet& set, OType_Part& part) {
    for (const auto& tool : set.Tools())
        tool->iInitAfterCheckprogramLoad(set, *set.opGetDeviceInfo());
    return KvtTest::Extract(set, part);
}

double Value(const OType_FeatureArray& f, int i) {
    EXPECT_TRUE(f.At(i).valid) << "feature " << i;
    return f.At(i).value;
}

struct VisionTools : ::testing::Test {
    ZRINFO info = KvtTest::CameraInfo();
    std::unique_ptr<OType_ZRPartSet> set = KvtTest::PartSet(info);
};

}  // namespace

// ---------------------------------------------------------------- registration and encoding

TEST_F(VisionTools, EveryKindIsRegisteredWithItsClassAndRoundTrips) {
    const std::vector<std::pair<int, std::string>> kinds = {
        {106, "Data matrix"},      {107, "Pattern matching"}, {108, "Ray tool"},
        {109, "Image compare"},    {111, "Bar code"},         {112, "Text recognition"},
        {122, "Pattern matching+"}};
    for (const auto& [kind, name] : kinds) {
        auto tool = set->ToolPrototypes().Create(kind);
        ASSERT_NE(tool, nullptr) << kind;
        EXPECT_EQ(tool->iGetConfigToolType(), kind);
        EXPECT_EQ(tool->GetKindName(), name);
        const bool pmatchClass = kind != 108 && kind != 109;
        EXPECT_EQ(dynamic_cast<OType_ConfigTool_KVT_PMATCH*>(tool.get()) != nullptr, pmatchClass)
            << kind;
        OByteStream_Memory first;
        ASSERT_EQ(tool->iEncode(first), 1);
        auto back = set->ToolPrototypes().Create(kind);
        auto in = OByteStream_Memory::View(first.Bytes());
        ASSERT_EQ(back->iDecodeInto(in), 1) << kind;
        OByteStream_Memory second;
        back->iEncode(second);
        EXPECT_EQ(std::vector<uint8_t>(first.Bytes().begin(), first.Bytes().end()),
                  std::vector<uint8_t>(second.Bytes().begin(), second.Bytes().end()))
            << kind;
        EXPECT_EQ(tool->Clone()->iGetConfigToolType(), kind);
    }
}

// ---------------------------------------------------------------- pattern matching

TEST_F(VisionTools, PatternIsTaughtFromTheFirstSamplePartAndFoundTurnedAndMoved) {
    AddSample(*set, PartOf([](OFineCanvas& c) { Bracket(c, {300, 220}, 0, 40); }));
    AddSample(*set, PartOf([](OFineCanvas& c) { Bracket(c, {310, 230}, 10, 40); }));
    auto& tool = KvtTest::AddTool(*set, 107);
    Place(tool, 300, 220, 200, 140);
    auto apply = [&](OPropertyValues v) {
        std::string error;
        ASSERT_TRUE(tool.bApplyProperties(v, {set.get(), &info}, error)) << error;
    };
    apply({{"pattern.width", int64_t{90}}, {"pattern.height", int64_t{60}}});
    OType_Part moved = PartOf([](OFineCanvas& c) { Bracket(c, {313.5, 211.25}, 7, 40); }, 1, 9);
    const OType_FeatureArray f = Extracted(*set, moved);
    const auto& search = static_cast<const OKvtPatternSearch&>(
        static_cast<OType_ConfigTool_KVT_PMATCH&>(tool).Recognizer());
    ASSERT_EQ(search.Templates().iGetSize(), 1);
    EXPECT_EQ(search.Templates().GetAt(0)->image.iGetWidth(), 90);
    ASSERT_EQ(f.iGetNumOfFeatures(), 5);
    EXPECT_GT(Value(f, 0), 90);            // score in percent
    EXPECT_NEAR(Value(f, 1), 313.5, 0.6);  // x of the pattern's middle
    EXPECT_NEAR(Value(f, 2), 211.25, 0.6);
    EXPECT_NEAR(Value(f, 3), 7, 0.6);  // against the taught pattern
    EXPECT_EQ(Value(f, 4), 1);
    // Nothing of the pattern in the region: a score, but no place and no match.
    OType_Part empty = PartOf([](OFineCanvas& c) { Cross(c, {300, 220}, 40); }, 1, 3);
    const OType_FeatureArray none = Extracted(*set, empty);
    EXPECT_TRUE(none.At(0).valid);
    EXPECT_LT(none.At(0).value, 80);
    EXPECT_FALSE(none.At(1).valid);
    EXPECT_FALSE(none.At(3).valid);
    EXPECT_EQ(Value(none, 4), 0);
    // Teaching again takes the (now) first sample part again: the same pattern.
    apply({{"pattern.teach", true}});
    EXPECT_EQ(search.Templates().iGetSize(), 0);
    Extracted(*set, moved);
    EXPECT_EQ(search.Templates().iGetSize(), 1);
}

TEST_F(VisionTools, PatternToolWithoutSamplesOrOutsideTheImageGivesInvalidFeatures) {
    auto& tool = KvtTest::AddTool(*set, 107);
    Place(tool, 300, 220, 200, 140);
    OType_Part part = PartOf([](OFineCanvas& c) { Bracket(c, {300, 220}, 0, 40); });
    OType_FeatureArray f = Extracted(*set, part);
    for (int i = 0; i < f.iGetNumOfFeatures(); ++i)
        EXPECT_FALSE(f.At(i).valid) << i;
    // A flat sample part teaches nothing either.
    AddSample(*set, PartOf([](OFineCanvas&) {}));
    f = Extracted(*set, part);
    EXPECT_FALSE(f.At(0).valid);
    AddSample(*set, part);
    f = Extracted(*set, part);
    EXPECT_TRUE(f.At(0).valid);
    Place(tool, 630, 220, 200, 140);  // half outside
    f = Extracted(*set, part);
    EXPECT_FALSE(f.At(0).valid);
}

TEST_F(VisionTools, PatternMatchingPlusTellsWhichTypesPatternFits) {
    AddSample(*set, PartOf([](OFineCanvas& c) { Cross(c, {320, 240}, 40); }, 2));
    AddSample(*set, PartOf([](OFineCanvas& c) { Bracket(c, {320, 240}, 0, 40); }, 1));
    AddSample(*set, PartOf([](OFineCanvas& c) { Bracket(c, {322, 240}, 3, 40); }, 1, 5));
    auto& tool = KvtTest::AddTool(*set, 122);
    Place(tool, 320, 240, 220, 160);
    OType_Part cross = PartOf([](OFineCanvas& c) { Cross(c, {335, 232}, 40); }, 2, 7);
    const OType_FeatureArray f = Extracted(*set, cross);
    const auto& search = static_cast<const OKvtPatternSearch&>(
        static_cast<OType_ConfigTool_KVT_PMATCH&>(tool).Recognizer());
    ASSERT_EQ(search.Templates().iGetSize(), 2);
    EXPECT_EQ(search.Templates().GetAt(0)->name, "Type 1");
    EXPECT_EQ(search.Templates().GetAt(1)->name, "Type 2");
    ASSERT_EQ(f.iGetNumOfFeatures(), 7);
    EXPECT_EQ(Value(f, 6), 2);  // the pattern of type 2
    EXPECT_NEAR(Value(f, 1), 335, 0.6);
    EXPECT_NEAR(Value(f, 5), 100, 2);  // scale in percent
    OType_Part bracket = PartOf([](OFineCanvas& c) { Bracket(c, {318, 245}, -4, 40); }, 1, 8);
    EXPECT_EQ(Value(Extracted(*set, bracket), 6), 1);
    // The taught patterns travel with the tool.
    OByteStream_Memory s;
    tool.iEncode(s);
    auto copy = set->ToolPrototypes().Create(122);
    auto in = OByteStream_Memory::View(s.Bytes());
    ASSERT_EQ(copy->iDecodeInto(in), 1);
    const auto& copied = static_cast<const OKvtPatternSearch&>(
        static_cast<OType_ConfigTool_KVT_PMATCH&>(*copy).Recognizer());
    EXPECT_EQ(copied.Templates(), search.Templates());
}

// ---------------------------------------------------------------- readers

TEST_F(VisionTools, DataMatrixReaderReadsTextPlaceAndGradesTheSymbol) {
    const cv::Mat symbol = KvtCode::Write("KV-123/A", KvtCode::Symbology::DataMatrix, 5, 8);
    cv::Mat picture(480, 640, CV_8U, cv::Scalar(210));
    symbol.copyTo(picture(cv::Rect(250, 180, symbol.cols, symbol.rows)));
    OType_Part part = KvtTest::PartWithImage(ImageOf(picture));
    auto& tool = KvtTest::AddTool(*set, 106);
    Place(tool, 299.5, 219.5, 240, 180);  // on whole pixels: read as they are
    const OType_FeatureArray f = Extracted(*set, part);
    ASSERT_EQ(f.iGetNumOfFeatures(), 8);
    EXPECT_TRUE(f.At(0).bIsText());
    EXPECT_TRUE(f.At(0).valid);
    EXPECT_EQ(f.At(0).textValue, "KV-123/A");
    EXPECT_EQ(Value(f, 1), 1);
    EXPECT_NEAR(Value(f, 2), 250 + symbol.cols / 2.0, 3);
    EXPECT_NEAR(Value(f, 3), 180 + symbol.rows / 2.0, 3);
    EXPECT_NEAR(Value(f, 5), 100, 2);  // black on white: full contrast
    EXPECT_EQ(Value(f, 7), 1);         // quality above the least contrast
    // Printed weakly the code still reads, but the checker's quality fails.
    cv::Mat weak;
    picture.convertTo(weak, CV_8U, 60.0 / 255, 120);
    OType_Part pale = KvtTest::PartWithImage(ImageOf(weak));
    const OType_FeatureArray w = Extracted(*set, pale);
    EXPECT_EQ(w.At(0).textValue, "KV-123/A");
    EXPECT_NEAR(Value(w, 5), 60.0 / 255 * 100, 3);
    EXPECT_EQ(Value(w, 7), 0);
    // No code in the region: "read" is a valid 0, the text is not valid.
    OType_Part blank = KvtTest::PartWithImage(ImageOf(cv::Mat(480, 640, CV_8U, cv::Scalar(200))));
    const OType_FeatureArray n = Extracted(*set, blank);
    EXPECT_FALSE(n.At(0).valid);
    EXPECT_EQ(Value(n, 1), 0);
    EXPECT_EQ(Value(n, 7), 0);
    EXPECT_FALSE(n.At(2).valid);
}

TEST_F(VisionTools, BarCodeReaderReadsTheSymbologyAskedFor) {
    const cv::Mat symbol = KvtCode::Write("4006381333931", KvtCode::Symbology::Ean13, 3, 12);
    cv::Mat picture(480, 640, CV_8U, cv::Scalar(220));
    symbol.copyTo(picture(cv::Rect(150, 200, symbol.cols, symbol.rows)));
    OType_Part part = KvtTest::PartWithImage(ImageOf(picture));
    auto& tool = KvtTest::AddTool(*set, 111);
    Place(tool, 150 + symbol.cols / 2.0, 200 + symbol.rows / 2.0, symbol.cols + 40,
          symbol.rows + 40);
    OType_FeatureArray f = Extracted(*set, part);
    EXPECT_EQ(f.At(0).textValue, "4006381333931");
    EXPECT_NEAR(Value(f, 4), 0, 2);  // upright
    EXPECT_NEAR(Value(f, 6), symbol.cols - 24, 12);
    std::string error;
    ASSERT_TRUE(tool.bApplyProperties({{"code.symbology", int64_t{2}}}, {set.get(), &info}, error))
        << error;  // Code 128 only
    f = Extracted(*set, part);
    EXPECT_EQ(Value(f, 1), 0);
    ASSERT_TRUE(tool.bApplyProperties({{"code.symbology", int64_t{4}}}, {set.get(), &info}, error));
    EXPECT_EQ(Extracted(*set, part).At(0).textValue, "4006381333931");
}

TEST_F(VisionTools, TextRecognitionReadsThePrintedLine) {
    cv::Mat picture(480, 640, CV_8U, cv::Scalar(215));
    cv::putText(picture, "LOT 4711-B", {200, 260}, cv::FONT_HERSHEY_SIMPLEX, 1.2, cv::Scalar(30), 2,
                cv::LINE_AA);
    OType_Part part = KvtTest::PartWithImage(ImageOf(picture));
    auto& tool = KvtTest::AddTool(*set, 112);
    Place(tool, 300, 245, 320, 80);
    const OType_FeatureArray f = Extracted(*set, part);
    ASSERT_EQ(f.iGetNumOfFeatures(), 4);
    EXPECT_TRUE(f.At(0).bIsText());
    EXPECT_EQ(f.At(0).textValue, "LOT 4711-B");
    EXPECT_EQ(Value(f, 1), 1);
    EXPECT_EQ(Value(f, 2), 9);
    EXPECT_GT(Value(f, 3), 50);
    // Digits only: the letters are not read as letters.
    std::string error;
    ASSERT_TRUE(tool.bApplyProperties({{"text.allowed", std::string("0123456789")}},
                                      {set.get(), &info}, error));
    EXPECT_NE(Extracted(*set, part).At(0).textValue, "LOT 4711-B");
}

// ---------------------------------------------------------------- ray tool

TEST_F(VisionTools, RayToolMeasuresTheRadiusOfADisk) {
    OType_Part part = PartOf([](OFineCanvas& c) { c.Circle({321.5, 238.25}, 55, 40); });
    auto& tool = KvtTest::AddTool(*set, 108);
    Place(tool, 321.5, 238.25, 180, 180);
    std::string error;
    ASSERT_TRUE(tool.bApplyProperties({{"rays.count", int64_t{24}}}, {set.get(), &info}, error));
    const OType_FeatureArray f = Extracted(*set, part);
    ASSERT_EQ(f.iGetNumOfFeatures(), 6);
    EXPECT_EQ(Value(f, 0), 24);
    EXPECT_NEAR(Value(f, 1), 55, 0.3);
    EXPECT_NEAR(Value(f, 2), 55, 0.6);
    EXPECT_NEAR(Value(f, 3), 55, 0.6);
    EXPECT_LT(Value(f, 4), 1.2);
    // A turned region turns the directions with it: an ellipse's short axis, seen by a region
    // turned by 30 degrees, lies at 90 degrees on the screen.
    OType_Part ellipse = PartOf([](OFineCanvas& c) { c.Ellipse({320, 240}, 70, 40, 40); });
    Place(tool, 320, 240, 200, 200, 30);
    ASSERT_TRUE(tool.bApplyProperties({{"rays.count", int64_t{72}}}, {set.get(), &info}, error));
    const OType_FeatureArray e = Extracted(*set, ellipse);
    EXPECT_NEAR(Value(e, 2), 40, 0.6);
    EXPECT_NEAR(Value(e, 3), 70, 0.8);
    EXPECT_NEAR(std::abs(Value(e, 5)), 90, 5.1);
    // No edge: only the count is valid.
    OType_Part flat = PartOf([](OFineCanvas&) {});
    const OType_FeatureArray n = Extracted(*set, flat);
    EXPECT_EQ(Value(n, 0), 0);
    EXPECT_FALSE(n.At(1).valid);
}

// ---------------------------------------------------------------- image compare

TEST_F(VisionTools, ImageCompareFindsAKnownDefect) {
    auto good = [](OFineCanvas& c) { Bracket(c, {320, 240}, 0, 40); };
    AddSample(*set, PartOf(good));
    auto& tool = KvtTest::AddTool(*set, 109);
    Place(tool, 319.5, 239.5, 120, 80);  // on whole pixels
    OType_Part same = PartOf(good);
    OType_FeatureArray f = Extracted(*set, same);
    const auto& compare = static_cast<OType_ConfigTool_KVT_IMGCOMPARE&>(tool);
    ASSERT_EQ(compare.Reference().iGetWidth(), 120);
    ASSERT_EQ(f.iGetNumOfFeatures(), 6);
    EXPECT_EQ(Value(f, 2), 0);
    EXPECT_LT(Value(f, 0), 0.5);
    // A dark spot of exactly 12 x 12 pixels on the light ground beside the bracket.
    OType_Part spotted = PartOf([&](OFineCanvas& c) {
        good(c);
        c.Box({349.5, 261.5}, {361.5, 273.5}, 20);
    });
    f = Extracted(*set, spotted);
    EXPECT_EQ(Value(f, 2), 1);
    EXPECT_EQ(Value(f, 3), 144);
    EXPECT_NEAR(Value(f, 1), 100.0 * 144 / (120 * 80), 1e-9);
    // Moved by 3 pixels: without tolerance a large difference, with tolerance none.
    OType_Part moved = PartOf([](OFineCanvas& c) { Bracket(c, {323, 238}, 0, 40); });
    EXPECT_GT(Value(Extracted(*set, moved), 2), 0);
    std::string error;
    ASSERT_TRUE(
        tool.bApplyProperties({{"compare.tolerance", int64_t{5}}}, {set.get(), &info}, error));
    f = Extracted(*set, moved);
    EXPECT_EQ(Value(f, 2), 0);
    EXPECT_EQ(Value(f, 4), 3);
    EXPECT_EQ(Value(f, 5), -2);
    // A region of another size teaches the reference again.
    Place(tool, 319.5, 239.5, 100, 70);
    Extracted(*set, same);
    EXPECT_EQ(compare.Reference().iGetWidth(), 100);
}
