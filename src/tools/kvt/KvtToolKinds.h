// Kinds of the family-2 image tools, their sub-kinds, and the feature types their features
// carry. A feature type is the number of the feature's entry in the part set's feature-name
// table; every kind owns a block of numbers so that types never collide.
// docs/tools-family2.md says what each kind measures.
#pragma once

namespace KvtToolKind {
inline constexpr int kROI = 100;
inline constexpr int kCTool = 101;
inline constexpr int kMeasure = 102;
inline constexpr int kBlob = 103;
inline constexpr int kCombination = 104;
inline constexpr int kColor = 105;
inline constexpr int kDataMatrix = 106;
inline constexpr int kPatternMatching = 107;
inline constexpr int kRay = 108;
inline constexpr int kImageCompare = 109;
inline constexpr int kCoordTrans = 110;
inline constexpr int kBarCode = 111;
inline constexpr int kTextRecognition = 112;
inline constexpr int kFlagword = 113;
inline constexpr int kEdge = 114;
inline constexpr int kIOAccess = 115;
inline constexpr int kPatternMatchingPlus = 122;
inline constexpr int kBlobPlus = 123;
inline constexpr int kDeviceFeatures = 128;

inline bool bIsImageToolKind(int kind) {
    return kind >= 100;
}
// The code and text readers: extraction does not run them on worker threads.
inline bool bIsReaderKind(int kind) {
    return kind == kDataMatrix || kind == kBarCode || kind == kTextRecognition;
}
}  // namespace KvtToolKind

// Sub-kinds: the function a tool of a kind performs (-1 when the kind has one function).
namespace KvtSubKind {
inline constexpr int kRoiArea = 104;
inline constexpr int kSingleMeasurement = 201;
inline constexpr int kMultipleMeasurement = 207;
inline constexpr int kMathLogic = 302;
inline constexpr int kGeometry = 314;
inline constexpr int kColourDetection = 360;
inline constexpr int kBrightness = 369;
inline constexpr int kEdgeFinder = 800;
inline constexpr int kCircleFinder = 803;
}  // namespace KvtSubKind

// Feature types. Blocks per kind (first .. last):
//   ROI 104-105, CTool 110-119, measurements 201-215, blob finder 230-239, blob finder+
//   240-259, math / logic 302-303, geometry 314-319, colour 360-368, brightness 369-379,
//   pattern matching 400-419, ray tool 420-439, image compare 440-459, code and text
//   readers 460-499, coordinate transformation 500-509, flagword 600-609, I/O 610-619,
//   device features 700-719, edge finder 800-802 and 807-809, circle finder 803-806.
namespace KvtFeatureType {
inline constexpr int kRoiArea = 104;
inline constexpr int kRoiShare = 105;

inline constexpr int kContourArea = 110;
inline constexpr int kContourWidth = 112;
inline constexpr int kContourHeight = 113;
inline constexpr int kContourAngle = 114;

inline constexpr int kDistance = 201;
inline constexpr int kFirstEdge = 202;
inline constexpr int kSecondEdge = 203;
inline constexpr int kMeanDistance = 207;
inline constexpr int kMinDistance = 208;
inline constexpr int kMaxDistance = 209;
inline constexpr int kMeasuredLines = 210;

inline constexpr int kBlobCount = 230;
inline constexpr int kBlobTotalArea = 231;
inline constexpr int kBlobLargestArea = 232;
inline constexpr int kBlobMeanArea = 233;
inline constexpr int kBlobPlusCount = 240;
inline constexpr int kBlobPlusArea = 241;
inline constexpr int kBlobPlusCentreX = 242;
inline constexpr int kBlobPlusCentreY = 243;
inline constexpr int kBlobPlusWidth = 244;
inline constexpr int kBlobPlusHeight = 245;
inline constexpr int kBlobPlusAngle = 246;
inline constexpr int kBlobPlusCircularity = 247;
inline constexpr int kBlobPlusPerimeter = 248;

inline constexpr int kMathResult = 302;
inline constexpr int kGeometryDistance = 314;
inline constexpr int kGeometryAngle = 315;
inline constexpr int kGeometryMidX = 316;
inline constexpr int kGeometryMidY = 317;

inline constexpr int kColourShare = 360;
inline constexpr int kMeanRed = 361;
inline constexpr int kMeanGreen = 362;
inline constexpr int kMeanBlue = 363;
inline constexpr int kBrightnessMean = 369;
inline constexpr int kBrightnessDeviation = 372;
inline constexpr int kBrightnessMinimum = 373;
inline constexpr int kBrightnessMaximum = 374;

inline constexpr int kPatternScore = 400;
inline constexpr int kPatternX = 401;
inline constexpr int kPatternY = 402;
inline constexpr int kPatternAngle = 403;
inline constexpr int kPatternCount = 404;
inline constexpr int kPatternScale = 405;
inline constexpr int kPatternTemplate = 406;

inline constexpr int kRayEdges = 420;
inline constexpr int kRayMeanRadius = 421;
inline constexpr int kRaySmallestRadius = 422;
inline constexpr int kRayLargestRadius = 423;
inline constexpr int kRaySpread = 424;
inline constexpr int kRaySmallestAngle = 425;

inline constexpr int kCompareMeanDifference = 440;
inline constexpr int kCompareDifferingShare = 441;
inline constexpr int kCompareDefects = 442;
inline constexpr int kCompareLargestDefect = 443;
inline constexpr int kCompareShiftX = 444;
inline constexpr int kCompareShiftY = 445;

inline constexpr int kMatrixText = 460;
inline constexpr int kMatrixRead = 461;
inline constexpr int kMatrixX = 462;
inline constexpr int kMatrixY = 463;
inline constexpr int kMatrixAngle = 464;
inline constexpr int kMatrixContrast = 465;
inline constexpr int kMatrixSize = 466;
inline constexpr int kMatrixQuality = 467;
inline constexpr int kBarText = 470;
inline constexpr int kBarRead = 471;
inline constexpr int kBarX = 472;
inline constexpr int kBarY = 473;
inline constexpr int kBarAngle = 474;
inline constexpr int kBarContrast = 475;
inline constexpr int kBarLength = 476;
inline constexpr int kOcrText = 480;
inline constexpr int kOcrRead = 481;
inline constexpr int kOcrCharacters = 482;
inline constexpr int kOcrConfidence = 483;

inline constexpr int kWorldX = 500;
inline constexpr int kWorldY = 501;

inline constexpr int kFlagwordValue = 600;
inline constexpr int kInputValue = 610;

inline constexpr int kPartArea = 700;
inline constexpr int kPartCentreX = 701;
inline constexpr int kPartCentreY = 702;
inline constexpr int kPartWidth = 703;
inline constexpr int kPartHeight = 704;
inline constexpr int kPartAngle = 705;
inline constexpr int kPartBrightness = 706;

inline constexpr int kEdgePosition = 800;
inline constexpr int kEdgeStrength = 801;
inline constexpr int kEdgeAngle = 802;
inline constexpr int kCircleRadius = 803;
inline constexpr int kCircleCentreX = 804;
inline constexpr int kCircleCentreY = 805;
inline constexpr int kCircleRoundness = 806;
inline constexpr int kEdgeX = 807;
inline constexpr int kEdgeY = 808;
}  // namespace KvtFeatureType
