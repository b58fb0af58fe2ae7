// The comparisons of a verified part and the preparation of its test image.
#include <gtest/gtest.h>

#include "model/part/OType_Part.h"
#include "testcases/TestCaseComparison.h"
#include "testcases/TestImage.h"

namespace {

using namespace TestCaseComparison;

OType_Feature Feature(const std::string& name, double value, int toolId = 3) {
    OType_Feature f;
    f.name = name;
    f.value = value;
    f.toolId = toolId;
    return f;
}

OType_FeatureArray Features(std::initializer_list<OType_Feature> list) {
    OType_FeatureArray a;
    for (const OType_Feature& f : list)
        a.Add(f);
    return a;
}

std::string Tool(int id) {
    return id == 3 ? "Blob 1" : "";
}

// --- thresholds and formats ---

TEST(FeatureComparison, SmallRelativeDifferencesPassWhateverTheAbsoluteLimit) {
    EXPECT_FALSE(bDiffers(10.000, 10.010, 0.0)) << "relative difference about 0.001";
    EXPECT_TRUE(bDiffers(10.0, 10.1, 0.0015));
    EXPECT_FALSE(bDiffers(10.0, 10.1, 0.2)) << "the absolute limit holds as well";
    EXPECT_TRUE(bDiffers(10.0, 10.25, 0.25)) << "an absolute difference at the limit counts";
    EXPECT_FALSE(bDiffers(0.0, 0.0, 0.0));
    EXPECT_TRUE(bDiffers(-1.0, 1.0, 0.0015)) << "a zero mean with different values";
}

TEST(FeatureComparison, ValuesAreWrittenShortBelowOneHundredThousand) {
    EXPECT_EQ(FormatValue(3.14159), "03.14");
    EXPECT_EQ(FormatValue(-2.5), "-2.50");
    EXPECT_EQ(FormatValue(99999.994), "99999.99");
    EXPECT_EQ(FormatValue(123456.0), "1.234560e+05");
    EXPECT_EQ(FormatValue(-250000.0), "-2.500000e+05");
}

// --- extractor comparison ---

TEST(FeatureComparison, EqualFeaturesReportNothing) {
    const OType_FeatureArray a = Features({Feature("Area", 100.0), Feature("Angle", 5.0)});
    const OFeatureDifferences d = FeatureDifferences(a, a, a, 0.0015, Tool);
    EXPECT_FALSE(d.bAny());
    EXPECT_EQ(d.Mode(), "EX: ");
}

TEST(FeatureComparison, EachPairIsNamedWithItsValues) {
    const OType_FeatureArray pc = Features({Feature("Area", 100.0), Feature("Angle", 5.0, -1)});
    const OType_FeatureArray cam = Features({Feature("Area", 110.0), Feature("Angle", 5.0, -1)});
    const OType_FeatureArray approved = pc;
    const OFeatureDifferences d = FeatureDifferences(pc, cam, approved, 0.0015, Tool);
    EXPECT_TRUE(d.pcCam);
    EXPECT_TRUE(d.approvedCam);
    EXPECT_FALSE(d.approvedPc);
    EXPECT_EQ(d.Mode(), "EX: P<>C A<>C ");
    EXPECT_EQ(WithoutLastSeparator(d.text),
              " 1. Blob 1 - Area: 0.095238 (PC <> Cam: 100.00 <> 110.00) |  1. Blob 1 - Area: "
              "0.095238 (Approved <> Cam: 100.00 <> 110.00)");
}

TEST(FeatureComparison, WorldCoordinatesAndTheApprovedPartAreComparedToo) {
    OType_Feature pcX = Feature("X", 10.0, -1);
    pcX.alternativeValue = 50.0;
    OType_Feature camX = pcX;
    camX.alternativeValue = 55.0;
    OType_Feature approvedX = Feature("X", 12.0, -1);
    const OFeatureDifferences d =
        FeatureDifferences(Features({pcX}), Features({camX}), Features({approvedX}), 0.0015, Tool);
    EXPECT_EQ(d.Mode(), "EX: P<>C A<>C A<>P ");
    EXPECT_NE(d.text.find("Global feature - X"), std::string::npos) << d.text;
    EXPECT_NE(d.text.find("(PC_World <> Cam_World: 50.00 <> 55.00)"), std::string::npos);
    EXPECT_NE(d.text.find("(Approved <> PC: 12.00 <> 10.00)"), std::string::npos);
    EXPECT_EQ(d.text.find("(PC <> Cam:"), std::string::npos) << "the plain values agree";
}

TEST(FeatureComparison, AFeatureTheDeviceDidNotSendIsADifference) {
    const OType_FeatureArray two = Features({Feature("Area", 1.0), Feature("Count", 2.0)});
    const OType_FeatureArray one = Features({Feature("Area", 1.0)});
    const OFeatureDifferences d = FeatureDifferences(two, one, two, 0.0015, Tool);
    EXPECT_TRUE(d.pcCam);
    EXPECT_TRUE(d.approvedCam);
    EXPECT_FALSE(d.approvedPc);
    EXPECT_NE(d.text.find(" 2. Blob 1 - Count"), std::string::npos) << d.text;
    EXPECT_NE(d.text.find("present <> missing <> present"), std::string::npos) << d.text;
}

TEST(FeatureComparison, TextFeaturesAreNotComparedAsNumbers) {
    OType_Feature code = Feature("Code", 0.0);
    code.valueType = FeatureValueType::Text;
    OType_Feature other = code;
    other.value = 99.0;
    const OFeatureDifferences d =
        FeatureDifferences(Features({code}), Features({other}), Features({code}), 0.0015, Tool);
    EXPECT_FALSE(d.bAny());
}

// --- classification comparison ---

OType_Part Classified(int orientation, int type, int tolerance, double margin, double deviation) {
    OType_Part p;
    p.SetOrientation(orientation);
    p.SetType(type);
    p.SetTolerance(tolerance);
    p.SetResultValue(1, margin);
    p.SetResultValue(0, deviation);
    return p;
}

TEST(ClassificationComparison, ListsTheDifferencesInTheirOrder) {
    const OType_Part approved = Classified(1, 2, 0, 10.0, 20.0);
    EXPECT_EQ(ClassificationDifferences(approved, Classified(1, 2, 0, 10.9, 20.9), {}, Tool), "")
        << "result values closer than 1 agree";
    EXPECT_EQ(ClassificationDifferences(approved, Classified(2, 3, 1, 11.0, 19.0), {}, Tool),
              "Orientation | Type | Tolerance | Orientation deviation | Deviation | ");
}

TEST(ClassificationComparison, FeatureDeviationsAreComparedWithTheDevicesFractions) {
    const OType_Part approved = Classified(1, 1, 0, 0, 0);
    OType_Part device = approved;
    OType_Feature camArea = Feature("Area", 1.0);
    camArea.deviation = 0.25;  // the device's fraction: 25 %
    OType_Feature camAngle = Feature("Angle", 1.0);
    camAngle.deviation = 0.10;
    device.Features() = Features({camArea, camAngle});
    OType_Feature pcArea = Feature("Area", 1.0);
    pcArea.deviation = 25.9;
    OType_Feature pcAngle = Feature("Angle", 1.0);
    pcAngle.deviation = 12.0;
    const std::string text =
        ClassificationDifferences(approved, device, Features({pcArea, pcAngle}), Tool);
    EXPECT_EQ(text, " 2. Blob 1 - Angle: 2.000000 (PC <> Cam: 12.000 <> 10.000) | ");
}

// --- the test image ---

TEST(TestImage, AWholeSensorImageIsSentAsItIs) {
    OType_Image image(4, 3, 1);
    image.SetPixel(1, 1, 0, 77);
    const OType_Image sent = TestImage::Prepare(image, {4, 3, 8});
    EXPECT_EQ(sent, image);
}

TEST(TestImage, ColourBecomesGreyForAGreyDevice) {
    OType_Image colour(2, 1, 3);
    colour.SetPixel(0, 0, 0, 255);  // red
    colour.SetPixel(1, 0, 2, 255);  // blue
    const OType_Image grey = TestImage::Prepare(colour, {2, 1, 8});
    ASSERT_EQ(grey.iGetLayers(), 1);
    EXPECT_EQ(grey.GetPixel(0, 0), colour.GetPixel_Grey(0, 0));
    EXPECT_EQ(grey.GetPixel(1, 0), colour.GetPixel_Grey(1, 0));
    EXPECT_EQ(TestImage::Prepare(colour, {2, 1, 24}).iGetLayers(), 3) << "a colour device";
}

TEST(TestImage, ACutOutIsPlacedOnWhiteAtItsOffsetAndTurnedUpsideDown) {
    OType_Image cut(2, 2, 1);
    cut.SetPixel(0, 0, 0, 10);
    cut.SetPixel(1, 0, 0, 20);
    cut.SetPixel(0, 1, 0, 30);
    cut.SetPixel(1, 1, 0, 40);
    cut.SetPos(3, 1);
    const OType_Image sent = TestImage::Prepare(cut, {6, 4, 8});
    ASSERT_EQ(sent.iGetWidth(), 6);
    ASSERT_EQ(sent.iGetHeight(), 4);
    EXPECT_EQ(sent.iGetPosX(), 0);
    EXPECT_EQ(sent.iGetPosY(), 0);
    // Row 1 of the sensor is row 2 after the flip, row 2 is row 1.
    EXPECT_EQ(sent.GetPixel(3, 2), 10);
    EXPECT_EQ(sent.GetPixel(4, 2), 20);
    EXPECT_EQ(sent.GetPixel(3, 1), 30);
    EXPECT_EQ(sent.GetPixel(4, 1), 40);
    EXPECT_EQ(sent.GetPixel(0, 0), 255);
    EXPECT_EQ(sent.GetPixel(5, 3), 255);
}

TEST(TestImage, WhatLiesOutsideTheSensorIsCropped) {
    OType_Image cut(3, 1, 1);
    std::fill(cut.Pixels().begin(), cut.Pixels().end(), uint8_t{5});
    cut.SetPos(2, 0);
    const OType_Image sent = TestImage::Prepare(cut, {3, 2, 8});
    EXPECT_EQ(sent.iGetWidth(), 3);
    EXPECT_EQ(sent.GetPixel(2, 1), 5);
    EXPECT_EQ(sent.GetPixel(1, 1), 255);
}

}  // namespace
