// The common part of the family-2 image tools: rotatable regions and their pixels, the
// image views, feature writing and names, properties, target checks and the encoding.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "KvtTestSupport.h"
#include "model/draw/ORecordingPainter.h"
#include "model/stream/OByteStream_Memory.h"
#include "model/stream/OObjectBlock.h"
#include "model/stream/ObjectIds.h"
#include "tools/kvt/OKvtPartImage.h"
#include "tools/kvt/OKvtRegion.h"
#include "tools/kvt/OType_ConfigTool_KVT_ROI.h"

using namespace KvtTest;

namespace {

// 0 .. 255 in a pattern that tells every pixel of a small image apart.
int Pattern(int x, int y) {
    return (x * 7 + y * 31) % 251;
}

}  // namespace

// --- regions ---

TEST(KvtRegion, AnUprightRegionCoversTheRectanglesPixels) {
    const OKvtRegion r = OKvtRegion::FromRect({10, 20, 29, 24});
    EXPECT_DOUBLE_EQ(r.centreX, 19.5);
    EXPECT_DOUBLE_EQ(r.centreY, 22);
    EXPECT_DOUBLE_EQ(r.width, 20);
    EXPECT_DOUBLE_EQ(r.height, 5);
    EXPECT_EQ(r.BoundingRect(), (ORect{10, 20, 29, 24}));
    const OPointD topLeftCentre = r.ToImage(0.5, 0.5);
    EXPECT_NEAR(topLeftCentre.x, 10, 1e-12);
    EXPECT_NEAR(topLeftCentre.y, 20, 1e-12);
    const OPointD back = r.ToLocal(29, 24);
    EXPECT_NEAR(back.x, 19.5, 1e-12);
    EXPECT_NEAR(back.y, 4.5, 1e-12);
}

TEST(KvtRegion, TurnsCounterClockwiseOnTheScreen) {
    OKvtRegion r{50, 50, 20, 10, 90};
    // The u axis points up the screen (y decreasing), the v axis to the right.
    EXPECT_NEAR(r.AxisU().x, 0, 1e-12);
    EXPECT_NEAR(r.AxisU().y, -1, 1e-12);
    EXPECT_NEAR(r.AxisV().x, 1, 1e-12);
    // Its edges run through pixel centres: the half pixels on both sides count.
    EXPECT_EQ(r.BoundingRect(), (ORect{45, 40, 55, 60}));
    r.angle = -270;
    EXPECT_NEAR(r.NormalisedAngle(), 90, 1e-12);
}

TEST(KvtRegion, LiesInsideOnlyWhenEverySampledPixelIsInTheImage) {
    EXPECT_TRUE(OKvtRegion::FromRect({0, 0, 99, 79}).bLiesInside(100, 80));
    EXPECT_FALSE(OKvtRegion::FromRect({0, 0, 100, 79}).bLiesInside(100, 80));
    EXPECT_FALSE(OKvtRegion::FromRect({-1, 0, 10, 10}).bLiesInside(100, 80));
    EXPECT_FALSE(OKvtRegion::FromRect({200, 200, 210, 210}).bLiesInside(100, 80));
    // A square turned by 45 degrees needs room for its diagonal.
    EXPECT_FALSE((OKvtRegion{50, 40, 79, 79, 45}).bLiesInside(100, 80));
    EXPECT_TRUE((OKvtRegion{50, 40, 50, 50, 45}).bLiesInside(100, 80));
}

TEST(KvtRegion, InsaneValuesAreNoRegion) {
    EXPECT_FALSE((OKvtRegion{NAN, 0, 10, 10, 0}).bIsSane());
    EXPECT_FALSE((OKvtRegion{0, 0, 0.5, 10, 0}).bIsSane());
    EXPECT_FALSE((OKvtRegion{0, 0, 10, 1e9, 0}).bIsSane());
    EXPECT_FALSE((OKvtRegion{0, 0, 10, 10, INFINITY}).bIsSane());
    EXPECT_FALSE((OKvtRegion{NAN, 0, 10, 10, 0}).bLiesInside(100, 100));
}

TEST(KvtRegion, FittingMovesAndShrinksIntoTheImage) {
    const OKvtRegion moved = OKvtRegion::FromRect({90, 70, 119, 89}).FittedInto(100, 80);
    EXPECT_TRUE(moved.bLiesInside(100, 80));
    EXPECT_DOUBLE_EQ(moved.width, 30);
    EXPECT_DOUBLE_EQ(moved.height, 20);
    const OKvtRegion shrunk = OKvtRegion{0, 0, 500, 300, 30}.FittedInto(100, 80);
    EXPECT_TRUE(shrunk.bLiesInside(100, 80));
    EXPECT_DOUBLE_EQ(shrunk.angle, 30);
}

// --- region pixels ---

TEST(KvtRegionSample, AnUprightRegionIsAViewIntoTheImage) {
    const OType_Image image = GreyImage(40, 30, Pattern);
    const cv::Mat view = KvtImage::View(image);
    ASSERT_EQ(view.data, image.Pixels().data()) << "no copy of the image";
    const OKvtRegionSample sample(view, OKvtRegion::FromRect({5, 6, 14, 9}));
    ASSERT_FALSE(sample.bIsEmpty());
    EXPECT_EQ(sample.iGetWidth(), 10);
    EXPECT_EQ(sample.iGetHeight(), 4);
    EXPECT_EQ(sample.Pixels().data, view.ptr<uint8_t>(6) + 5) << "a view, not a copy";
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(sample.Pixels().at<uint8_t>(y, x), Pattern(x + 5, y + 6));
}

TEST(KvtRegionSample, AQuarterTurnReadsTheColumnsUpwards) {
    const OType_Image image = GreyImage(40, 30, Pattern);
    // 8 wide (along u, which points up), 4 high (along v, pointing right).
    const OKvtRegion region{20.5, 15.5, 8, 4, 90};
    const OKvtRegionSample sample(KvtImage::View(image), region);
    ASSERT_FALSE(sample.bIsEmpty());
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 8; ++col) {
            const OPointD p = sample.PixelToImage(col, row);
            const int x = static_cast<int>(std::lround(p.x)),
                      y = static_cast<int>(std::lround(p.y));
            ASSERT_NEAR(p.x, x, 1e-9);
            ASSERT_NEAR(p.y, y, 1e-9);
            EXPECT_EQ(sample.Pixels().at<uint8_t>(row, col), Pattern(x, y)) << col << "," << row;
        }
    }
    // Local column 0 is the bottom of the turned region, row 0 its left side.
    const OPointD first = sample.PixelToImage(0, 0);
    EXPECT_NEAR(first.x, 19, 1e-9);
    EXPECT_NEAR(first.y, 19, 1e-9);
}

TEST(KvtRegionSample, ColourImagesKeepTheirLayersAndGiveTheirLuminance) {
    OType_Image image(8, 8, 3);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            image.SetPixel(x, y, 0, static_cast<uint8_t>(x * 30));
            image.SetPixel(x, y, 1, static_cast<uint8_t>(y * 30));
            image.SetPixel(x, y, 2, 77);
        }
    const OKvtRegionSample sample(KvtImage::View(image), OKvtRegion::FromRect({0, 0, 7, 7}));
    ASSERT_EQ(sample.Pixels().channels(), 3);
    EXPECT_EQ(sample.Pixels().at<cv::Vec3b>(2, 3)[0], 90);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(sample.Grey().at<uint8_t>(y, x), image.GetPixel_Grey(x, y));
}

TEST(KvtRegionSample, ARegionOutsideTheImageGivesNoPixels) {
    const OType_Image image = GreyImage(40, 30, Pattern);
    EXPECT_TRUE(
        OKvtRegionSample(KvtImage::View(image), OKvtRegion::FromRect({35, 0, 44, 9})).bIsEmpty());
    EXPECT_TRUE(OKvtRegionSample(KvtImage::View(image), OKvtRegion{20, 15, 40, 4, 90}).bIsEmpty());
    EXPECT_TRUE(OKvtRegionSample(cv::Mat(), OKvtRegion::FromRect({0, 0, 1, 1})).bIsEmpty());
}

TEST(KvtPartImage, TheContourPictureShowsMaterialDarkWithRowsFromTheTop) {
    OType_Part part;
    // Column 0: rows 2..4 (3 pixels); column 1 empty; column 2: rows 0..0 and 6..7.
    part.SetConturData({2, -5, 1, -1, 0, 1, 6, -8});
    const cv::Mat picture = KvtImage::ContourPicture(part, 10);
    ASSERT_EQ(picture.cols, 3);
    ASSERT_EQ(picture.rows, 10);
    auto material = [&](int column, int contourRow) {
        return picture.at<uint8_t>(9 - contourRow, column) == KvtImage::kContourMaterial;
    };
    for (int r = 0; r < 10; ++r) {
        EXPECT_EQ(material(0, r), r >= 2 && r <= 4) << r;
        EXPECT_FALSE(material(1, r)) << r;
        EXPECT_EQ(material(2, r), r == 0 || r == 6 || r == 7) << r;
    }
    EXPECT_TRUE(KvtImage::ContourPicture(OType_Part(), 10).empty());
}

// --- features, names and drawing ---

TEST(KvtTool, ARegionOutsideTheImageGivesInvalidFeaturesAndAFailureMark) {
    const ZRINFO info = CameraInfo();
    auto set = PartSet(info);
    OType_ConfigTool_KVT& roi = AddTool(*set, KvtToolKind::kROI);
    ASSERT_TRUE(roi.bSetShape(OKvtRegion::FromRect({600, 400, 700, 500})));
    OType_Part part = PartWithImage(GreyImage(640, 480, [](int, int) { return 0; }));
    const OType_FeatureArray features = Extract(*set, part);
    ASSERT_EQ(features.iGetNumOfFeatures(), 2);
    EXPECT_FALSE(features.At(0).valid);
    EXPECT_FALSE(features.At(1).valid);
    const OKvtMeasureOutput out = roi.Measure(*set, info, part, {}, false);
    EXPECT_EQ(out.drawing.iCount(OKvtMarkRole::Failure), 2) << "region and note";
    // A part without a camera image: invalid as well.
    OType_Part bare;
    EXPECT_FALSE(Extract(*set, bare).At(0).valid);
}

TEST(KvtTool, WritesItsFeaturesInPlaceKeepingOptionsOrAppendsThem) {
    const ZRINFO info = CameraInfo();
    auto set = PartSet(info);
    OType_ConfigTool_KVT& roi = AddTool(*set, KvtToolKind::kROI);
    roi.bSetShape(OKvtRegion::FromRect({0, 0, 9, 9}));
    OType_Part part = PartWithImage(GreyImage(20, 20, [](int x, int) { return x < 5 ? 0 : 200; }));
    OType_FeatureArray features;
    OType_Feature other;
    other.toolId = 999;
    features.Add(other);
    roi.iExtractObject_Test(*set, info, part, features, 0, nullptr, 0, {});
    ASSERT_EQ(features.iGetNumOfFeatures(), 3);
    EXPECT_EQ(features.At(1).toolId, roi.iGetToolId());
    EXPECT_EQ(features.At(1).type, KvtFeatureType::kRoiArea);
    EXPECT_DOUBLE_EQ(features.At(1).value, 50);
    EXPECT_DOUBLE_EQ(features.At(2).value, 50);
    EXPECT_EQ(features.At(1).name, roi.GetName() + ": Area");
    features.At(1).option = 3;
    features.At(1).factor = 1.5;
    roi.iExtractObject_Teach(*set, info, part, features, 0, nullptr, 0, {});
    ASSERT_EQ(features.iGetNumOfFeatures(), 3);
    EXPECT_EQ(features.At(1).option, 3u);
    EXPECT_DOUBLE_EQ(features.At(1).factor, 1.5);
}

TEST(KvtTool, FeatureNamesCanBeChangedAndReset) {
    const ZRINFO info = CameraInfo();
    auto set = PartSet(info);
    OType_ConfigTool_KVT& roi = AddTool(*set, KvtToolKind::kROI);
    EXPECT_EQ(roi.GetName(), "ROI 1");
    EXPECT_EQ(AddTool(*set, KvtToolKind::kROI).GetName(), "ROI 2");
    EXPECT_TRUE(roi.bSetFeatureName(1, "Fill"));
    EXPECT_FALSE(roi.bSetFeatureName(2, "none"));
    EXPECT_EQ(roi.FeatureName(1, set.get()), "Fill");
    roi.SetName("Left pad");
    EXPECT_EQ(roi.FeatureName(0, set.get()), "Left pad: Area") << "defaults follow the tool's name";
    EXPECT_TRUE(roi.bResetFeatureNames());
    EXPECT_FALSE(roi.bResetFeatureNames());
    EXPECT_EQ(roi.FeatureName(1, set.get()), "Left pad: Area share");
}

TEST(KvtTool, DrawsItsTurnedRegionAsFourLines) {
    const ZRINFO info = CameraInfo();
    auto set = PartSet(info);
    OType_ConfigTool_KVT& roi = AddTool(*set, KvtToolKind::kROI);
    roi.bSetShape({100, 100, 40, 20, 30});
    OType_Part part = PartWithImage(GreyImage(640, 480, [](int, int) { return 90; }));
    ORecordingPainter painter;
    roi.iExtractObject_Test(*set, info, part, part.Features(), 0, &painter, 0, {});
    EXPECT_EQ(painter.Of(ORecordingPainter::Kind::Line).size(), 4u);
    EXPECT_EQ(painter.Of(ORecordingPainter::Kind::Text).size(), 1u);
}

// --- properties ---

TEST(KvtTool, PropertiesSetTheRegionAndRefuseWithoutChanging) {
    const ZRINFO info = CameraInfo();
    auto set = PartSet(info);
    OType_ConfigTool_KVT& roi = AddTool(*set, KvtToolKind::kROI);
    const OPropertyContext context{set.get(), &info};
    std::string error;
    roi.SetModifiedFlag(false);
    ASSERT_TRUE(roi.bApplyProperties({{"region.x", 200.0},
                                      {"region.y", int64_t{150}},
                                      {"region.width", 50.0},
                                      {"region.angle", -15.0},
                                      {"feature.1.name", std::string("Pad")}},
                                     context, error))
        << error;
    EXPECT_TRUE(roi.iGetModifiedFlag());
    EXPECT_EQ(roi.GetShape(), (OKvtRegion{200, 150, 50, roi.GetShape().height, -15}));
    EXPECT_EQ(roi.FeatureName(0, set.get()), "Pad");
    EXPECT_EQ(roi.GetRegion(), roi.GetShape().BoundingRect());
    const OKvtRegion before = roi.GetShape();
    EXPECT_FALSE(roi.bApplyProperties(
        {{"region.x", 10.0}, {"material.low", int64_t{200}}, {"material.high", int64_t{100}}},
        context, error));
    EXPECT_EQ(roi.GetShape(), before) << "a refused apply changes nothing";
    EXPECT_FALSE(roi.bApplyProperties({{"region.width", 0.0}}, context, error));
    EXPECT_FALSE(roi.bApplyProperties({{"region.left", int64_t{1}}}, context, error))
        << "image tools describe their region by centre, size and angle";
    // Giving back the default name clears the user's.
    ASSERT_TRUE(roi.bApplyProperties({{"feature.1.name", roi.DefaultFeatureName(0, set.get())}},
                                     context, error));
    roi.SetName("Renamed");
    EXPECT_EQ(roi.FeatureName(0, set.get()), "Renamed: Area");
}

TEST(KvtTool, TheContourImageIsOfferedUnlessTheKindNeedsACamera) {
    const ZRINFO info = CameraInfo();
    auto set = PartSet(info);
    const OPropertyList list =
        AddTool(*set, KvtToolKind::kROI).DescribeProperties({set.get(), &info});
    const OProperty* image = PropertyList::Find(list, "image");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->choices.front().text, "Contour image");
}

// --- target checks ---

TEST(KvtTool, TargetChecksFitTheRegionAndRefuseMissingKinds) {
    ZRINFO info = CameraInfo();
    auto set = PartSet(info);
    OType_ConfigTool_KVT& roi = AddTool(*set, KvtToolKind::kROI);
    // A new tool sits in the middle of the device image, a quarter of its size.
    EXPECT_EQ(roi.GetShape(), (OKvtRegion{319.5, 239.5, 160, 120, 0}));
    std::string text;
    EXPECT_EQ(roi.iCheckPropertyCompatibility(info, text), 0) << text;
    roi.bSetShape(OKvtRegion::FromRect({600, 0, 700, 10}));
    EXPECT_EQ(roi.iCheckPropertyCompatibility(info, text), ToolCompatibility::kAdjustable1);
    EXPECT_EQ(roi.iAdjustPropertyCompatibility(info), 1);
    EXPECT_TRUE(roi.GetShape().bLiesInside(640, 480));
    EXPECT_DOUBLE_EQ(roi.GetShape().width, 101);
    // A contour device: the camera image becomes the contour image.
    ODeviceInfoRequest contour;
    contour.target = {16, 818, 0, 16, 1, 8};
    contour.fixedFeatures = 0;
    contour.tools = 256;
    const ZRINFO tamrin = DeviceInfo::MakeWithoutDevice(contour);
    EXPECT_EQ(roi.iCheckPropertyCompatibility(tamrin, text) & ToolCompatibility::kAdjustable2,
              ToolCompatibility::kAdjustable2);
    EXPECT_EQ(roi.iAdjustPropertyCompatibility(tamrin), 1);
    EXPECT_EQ(roi.iGetImageType(), 0);
    info.SetU8(ZRINFO::ToolAvailabilityByte(KvtToolKind::kROI), 0);
    EXPECT_EQ(roi.iCheckPropertyCompatibility(info, text) & ToolCompatibility::kIncompatible,
              ToolCompatibility::kIncompatible);
    EXPECT_EQ(roi.iAdjustPropertyCompatibility(info), 0);
}

TEST(KvtTool, MirroringTurnsTheRegion) {
    const ZRINFO info = CameraInfo();
    auto set = PartSet(info);
    OType_ConfigTool_KVT& roi = AddTool(*set, KvtToolKind::kROI);
    roi.bSetShape({100, 50, 40, 20, 30});
    ASSERT_EQ(roi.iChangePositionSymmetrical(2, info), 1);
    EXPECT_DOUBLE_EQ(roi.GetShape().centreX, 539);
    EXPECT_DOUBLE_EQ(roi.GetShape().angle, 150);
    ASSERT_EQ(roi.iChangePositionSymmetrical(1, info), 1);
    EXPECT_DOUBLE_EQ(roi.GetShape().centreY, 429);
    EXPECT_DOUBLE_EQ(roi.GetShape().angle, -150);
    EXPECT_EQ(roi.iChangePositionSymmetrical(7, info), 0);
}

// --- encoding ---

namespace {
std::vector<uint8_t> Encoded(const OType_ConfigTool& tool) {
    OByteStream_Memory s;
    tool.iEncode(s);
    return {s.Bytes().begin(), s.Bytes().end()};
}
std::unique_ptr<OType_ConfigTool> Decoded(const std::vector<uint8_t>& bytes,
                                          const OType_ZRPartSet& set) {
    auto s = OByteStream_Memory::View(bytes);
    return OType_ConfigToolArray::opCreateCFToolFromStream(s, set.ToolPrototypes());
}
}  // namespace

TEST(KvtToolEncoding, RoundTripsEverySetting) {
    const ZRINFO info = CameraInfo();
    auto set = PartSet(info);
    OType_ConfigTool_KVT& roi = AddTool(*set, KvtToolKind::kROI);
    std::string error;
    ASSERT_TRUE(roi.bApplyProperties({{"region.angle", 12.5},
                                      {"material.low", int64_t{40}},
                                      {"material.outside", int64_t{1}},
                                      {"feature.2.name", std::string("Share")}},
                                     {set.get(), &info}, error));
    const std::vector<uint8_t> bytes = Encoded(roi);
    auto copy = Decoded(bytes, *set);
    ASSERT_NE(copy, nullptr);
    auto* decoded = dynamic_cast<OType_ConfigTool_KVT_ROI*>(copy.get());
    ASSERT_NE(decoded, nullptr);
    EXPECT_EQ(decoded->GetShape(), roi.GetShape());
    EXPECT_EQ(decoded->Material(), dynamic_cast<OType_ConfigTool_KVT_ROI&>(roi).Material());
    EXPECT_EQ(decoded->FeatureName(1, set.get()), "Share");
    EXPECT_EQ(Encoded(*decoded), bytes);
    EXPECT_EQ(Encoded(*roi.Clone()), bytes);
}

TEST(KvtToolEncoding, TruncatedOrHostileBytesAreRefusedNotCrashed) {
    const ZRINFO info = CameraInfo();
    auto set = PartSet(info);
    const std::vector<uint8_t> bytes = Encoded(AddTool(*set, KvtToolKind::kROI));
    for (size_t n = 0; n < bytes.size(); ++n) {
        const std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<long>(n));
        EXPECT_EQ(Decoded(cut, *set), nullptr) << n;
    }
    // Every single byte flipped: decoding may succeed, but a decoded tool must be usable.
    OType_Part part = PartWithImage(GreyImage(64, 48, Pattern));
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::vector<uint8_t> bad = bytes;
        bad[i] ^= 0xA5;
        auto tool = Decoded(bad, *set);
        // A flipped kind decodes into another class (or a kept unknown tool).
        if (!dynamic_cast<OType_ConfigTool_KVT*>(tool.get())) continue;
        OType_FeatureArray features;
        tool->iExtractObject_Test(*set, info, part, features, 0, nullptr, 0, {});
        EXPECT_EQ(features.iGetNumOfFeatures(), tool->iGetNumOfFeatures());
    }
}

TEST(KvtToolEncoding, ANotANumberRegionIsRefused) {
    const ZRINFO info = CameraInfo();
    auto set = PartSet(info);
    OType_ConfigTool_KVT& roi = AddTool(*set, KvtToolKind::kROI);
    roi.bSetShape({10, 10, 10, 10, 0});
    std::vector<uint8_t> bytes = Encoded(roi);
    // Find the centre x (10.0) and make it NaN.
    const double ten = 10.0, nan = NAN;
    uint8_t pattern[8], replacement[8];
    std::memcpy(pattern, &ten, 8);
    std::memcpy(replacement, &nan, 8);
    auto it = std::search(bytes.begin(), bytes.end(), pattern, pattern + 8);
    ASSERT_NE(it, bytes.end());
    std::copy(replacement, replacement + 8, it);
    EXPECT_EQ(Decoded(bytes, *set), nullptr);
}

namespace {
// A tool's bytes written by hand: the common settings, then `kind` bytes as the kind's block
// and `extra` bytes after it.
std::vector<uint8_t> HandWrittenRoi(const std::vector<uint8_t>& kind,
                                    const std::vector<uint8_t>& extra = {}) {
    OByteStream_Memory payload;
    {
        OObjectBlockWriter base(payload, ObjectId::kImageTool);
        for (double v : {50.0, 40.0, 20.0, 10.0, 0.0})
            payload.bWriteDouble(v);
        payload.bWriteU32(0);
    }
    {
        OObjectBlockWriter block(payload, ObjectId::kImageToolKind);
        payload.bWriteRaw(kind.data(), kind.size());
    }
    payload.bWriteRaw(extra.data(), extra.size());
    OByteStream_Memory s;
    {
        OObjectBlockWriter tool(s, ObjectId::kConfigTool);
        s.bWriteI32(KvtToolKind::kROI);
        s.bWriteI32(7);
        s.bWriteString("Hand");
        s.bWriteI32(KvtSubKind::kRoiArea);
        for (int v : {40, 35, 59, 44})
            s.bWriteI32(v);
        s.bWriteBool(false);
        s.bWriteBool(false);
        s.bWriteI32(1);
        s.bWriteByteArray(payload.Bytes());
    }
    return {s.Bytes().begin(), s.Bytes().end()};
}
}  // namespace

TEST(KvtToolEncoding, AnOlderKindBlockKeepsDefaultsAndANewerOneItsTrailer) {
    const ZRINFO info = CameraInfo();
    auto set = PartSet(info);
    // Only the lower brightness: the rest keeps its defaults.
    auto older = Decoded(HandWrittenRoi({33, 0, 0, 0}), *set);
    ASSERT_NE(older, nullptr);
    const auto& roi = dynamic_cast<const OType_ConfigTool_KVT_ROI&>(*older);
    EXPECT_EQ(roi.Material().low, 33);
    EXPECT_EQ(roi.Material().high, OKvtThreshold().high);
    EXPECT_EQ(roi.GetShape(), (OKvtRegion{50, 40, 20, 10, 0}));
    EXPECT_EQ(roi.GetName(), "Hand");
    // Bytes too few for the next field end the fields read (the later ones, though shorter,
    // are not taken from them); they are kept and written after the fields.
    auto kept = Decoded(HandWrittenRoi({33, 0, 0, 0, 1, 0}), *set);
    ASSERT_NE(kept, nullptr);
    const auto& threshold = dynamic_cast<const OType_ConfigTool_KVT_ROI&>(*kept).Material();
    EXPECT_EQ(threshold.low, 33);
    EXPECT_EQ(threshold.high, OKvtThreshold().high);
    EXPECT_FALSE(threshold.outside) << "not read from the stray byte";
    const std::vector<uint8_t> upgraded = Encoded(*kept);
    EXPECT_EQ(Encoded(*Decoded(upgraded, *set)), upgraded);
    // A value the kind cannot use is refused.
    EXPECT_EQ(Decoded(HandWrittenRoi({0, 1, 0, 0}), *set), nullptr) << "brightness 256";
    // Newer fields and newer blocks are kept and written back.
    const std::vector<uint8_t> newer =
        HandWrittenRoi({10, 0, 0, 0, 20, 0, 0, 0, 1, 0, 0xEE, 0xEF}, {1, 2, 3});
    auto back = Decoded(newer, *set);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(Encoded(*back), newer);
    EXPECT_EQ(Encoded(*back->Clone()), newer);
}

TEST(KvtToolEncoding, ToolListsKeepTheBytes) {
    const ZRINFO info = CameraInfo();
    auto set = PartSet(info);
    OType_ConfigTool_KVT& roi = AddTool(*set, KvtToolKind::kROI);
    std::vector<uint8_t> bytes = Encoded(roi);
    OByteStream_Memory s;
    ASSERT_EQ(set->Tools().iEncode(s), 1);
    OType_ConfigToolArray back;
    auto view = OByteStream_Memory::View(s.Bytes());
    ASSERT_EQ(back.iDecode(view, set->ToolPrototypes()), 1);
    ASSERT_EQ(back.iGetNum(), 1);
    EXPECT_EQ(Encoded(*back.opGetAt(0)), bytes);
}
