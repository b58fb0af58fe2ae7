// Family-1 classifier: teaching, bands, separation, classification and their edge cases.
#include <gtest/gtest.h>

#include "TestClassifierHost.h"
#include "classification/OClass_ConfV12.h"

using namespace TestParts;

namespace {

class ConfV12Test : public ::testing::Test {
  protected:
    OClassCell Cell(int type, int orientation, int feature) const {
        OClassCell cell;
        EXPECT_TRUE(classifier.bGetCell(type, orientation, feature, cell));
        return cell;
    }
    OType_ZRPartSet& set() { return host.partSet; }

    OTestClassifierHost host;
    OClass_ConfV12 classifier{host};
};

TEST_F(ConfV12Test, SingleSamplePartGivesItsValueAsMeanAndABandOfOneWidth) {
    AddTypes(set(), 1, 5);
    OType_Part* part = AddTeach(set(), 1, 1, {100.0, 37.5});
    classifier.TeachFromParts(set());

    EXPECT_EQ(part->dGetResultValue(2), 0.0);  // learning value of a class with one part
    EXPECT_EQ(part->dGetResultValue(0), 1.0);
    EXPECT_EQ(part->dGetResultValue(1), 1.0);
    const OClassCell a = Cell(0, 0, 0);
    EXPECT_EQ(a.mean, 100.0);
    EXPECT_EQ(a.lowerBound, 95.0);
    EXPECT_EQ(a.upperBound, 105.0);
    const OClassCell b = Cell(0, 0, 1);
    EXPECT_EQ(b.mean, 37.5);
    EXPECT_FLOAT_EQ(b.lowerBound, 37.5 - 1.875);
    EXPECT_FLOAT_EQ(b.upperBound, 37.5 + 1.875);
    EXPECT_EQ(classifier.GetTeachError(), 0);
    EXPECT_EQ(host.modifiedCount, 1);
    EXPECT_EQ(host.redrawCount, 1);

    // The stored Teach-Data: one vector per feature with statistics, bounds and count.
    const OType_ZRPartSet_SubType& record = *set().opGetSubType(0);
    EXPECT_EQ(record.iGetNumFeatures(), 2);
    EXPECT_EQ(record.iGetNumOrientations(), 1);
    EXPECT_TRUE(record.bHasData());
    const OType_VectorArray& vectors = *record.opGetVectorArray(0);
    EXPECT_EQ(vectors.iGetPartCount(), 1);
    ASSERT_EQ(vectors.iGetNumOfVectors(), 2);
    EXPECT_EQ(vectors.At(0).minimum, 100.0);
    EXPECT_EQ(vectors.At(0).lowerBound, 95.0);
    EXPECT_EQ(vectors.At(0).upperBound, 105.0);
    EXPECT_EQ(vectors.At(1).name, "F2");
    EXPECT_EQ(vectors.At(1).state, 1);
}

TEST_F(ConfV12Test, LearningValueUsesTheRoundedRangeOverTheRunningSum) {
    AddTypes(set(), 1, 5);
    OType_Part* first = AddTeach(set(), 1, 1, {10.0});
    OType_Part* second = AddTeach(set(), 1, 1, {30.0});
    OType_Part* third = AddTeach(set(), 1, 1, {20.0});
    classifier.TeachFromParts(set());
    EXPECT_EQ(first->dGetResultValue(2), 0.0);
    // 20 / 40 = 0.5, times 2 parts: 100.
    EXPECT_EQ(second->dGetResultValue(2), 100.0);
    // 20 / 60 rounds to 0.3333, times 3 parts: 0.9999, so 99 and not 100.
    EXPECT_EQ(third->dGetResultValue(2), 99.0);
    // Deviation of each sample part from the class mean 20 in percent of the half range.
    EXPECT_DOUBLE_EQ(first->Features().At(0).deviation, -100.0);
    EXPECT_DOUBLE_EQ(second->Features().At(0).deviation, 100.0);
    EXPECT_EQ(third->Features().At(0).deviation, 0.0);
}

TEST_F(ConfV12Test, MeansAreRoundedToTheDevicePrecision) {
    AddTypes(set(), 1, 5);
    AddTeach(set(), 1, 1, {1.5});
    AddTeach(set(), 1, 1, {2.0});
    AddTeach(set(), 1, 1, {2.25});
    classifier.TeachFromParts(set());
    // 5.75 / 3 = 1.91666...
    EXPECT_EQ(Cell(0, 0, 0).mean, static_cast<double>(1.9167f));
}

TEST_F(ConfV12Test, ToleranceZeroGivesTheSampleRangesAsBands) {
    AddTypes(set(), 1, 0);
    AddTeach(set(), 1, 1, {10.0});
    AddTeach(set(), 1, 1, {12.0});
    AddTeach(set(), 1, 2, {13.0});
    AddTeach(set(), 1, 2, {15.0});
    classifier.TeachFromParts(set());
    const OClassCell a = Cell(0, 0, 0);
    const OClassCell b = Cell(0, 1, 0);
    EXPECT_EQ(a.lowerBound, 10.0);
    EXPECT_EQ(a.upperBound, 12.0);
    EXPECT_EQ(b.lowerBound, 13.0);
    EXPECT_EQ(b.upperBound, 15.0);
    EXPECT_EQ(a.usedToleranceAbove, 0);
    EXPECT_EQ(b.usedToleranceBelow, 0);
    EXPECT_EQ(classifier.dGetDecisionThreshold(0, 1), 12.5);
}

TEST_F(ConfV12Test, TouchingOrientationsGiveE20) {
    AddTypes(set(), 1, 5);
    AddTeach(set(), 1, 1, {10.0, 20.0});
    AddTeach(set(), 1, 1, {12.0, 20.0});
    AddTeach(set(), 1, 2, {12.0, 20.0});
    AddTeach(set(), 1, 2, {14.0, 20.0});
    classifier.TeachFromParts(set());
    EXPECT_EQ(classifier.GetTeachError(), 20);
    EXPECT_EQ(classifier.GetE20List(), "1/1->1/2  ");
    EXPECT_EQ(classifier.GetE21List(), "");
    EXPECT_EQ(classifier.iGetSeparatingFeature(0, 0, 0, 1), -1);
    EXPECT_EQ(classifier.dGetDecisionThreshold(0, 1), 0.0);
    EXPECT_EQ(classifier.GetSeparation(0, 0, 0, 1, -1), -1.0);
    // Unseparated classes keep their full tolerance.
    EXPECT_EQ(Cell(0, 0, 0).usedToleranceAbove, 5);
    EXPECT_EQ(Cell(0, 1, 0).usedToleranceBelow, 5);
}

TEST_F(ConfV12Test, TouchingTypesGiveE21) {
    AddTypes(set(), 2, 5);
    AddTeach(set(), 1, 1, {10.0});
    AddTeach(set(), 1, 1, {12.0});
    AddTeach(set(), 2, 1, {12.0});
    AddTeach(set(), 2, 1, {14.0});
    classifier.TeachFromParts(set());
    EXPECT_EQ(classifier.GetTeachError(), 21);
    EXPECT_EQ(classifier.GetE21List(), "1/1->2/1  ");
    EXPECT_EQ(classifier.GetE20List(), "");
    EXPECT_EQ(classifier.iGetSeparatingFeature(0, 0, 1, 0), -1);
}

TEST_F(ConfV12Test, TwoOtherOrientationsOfOneTypeAreNeverCompared) {
    AddTypes(set(), 1, 5);
    AddTeach(set(), 1, 1, {10.0});
    AddTeach(set(), 1, 2, {20.0});
    AddTeach(set(), 1, 3, {20.0});
    classifier.TeachFromParts(set());
    EXPECT_EQ(classifier.GetTeachError(), 0);
    EXPECT_EQ(classifier.GetE20List(), "");
    EXPECT_EQ(classifier.iGetSeparatingFeature(0, 1, 0, 2), -1);
    EXPECT_EQ(classifier.iGetSeparatingFeature(0, 0, 0, 2), 0);
    EXPECT_EQ(classifier.iGetSeparatingFeature(0, 2, 0, 0), 0);  // both directions
}

TEST_F(ConfV12Test, ClassMeanZeroGivesNoToleranceWidth) {
    AddTypes(set(), 1, 20);
    AddTeach(set(), 1, 1, {-1.0});
    AddTeach(set(), 1, 1, {1.0});
    classifier.TeachFromParts(set());
    const OClassCell c = Cell(0, 0, 0);
    EXPECT_EQ(c.mean, 0.0);
    EXPECT_EQ(c.lowerBound, -1.0);
    EXPECT_EQ(c.upperBound, 1.0);
}

// Type 1 orientation 2 (200) and type 2 orientation 1 (210) overlap at 5 %.
void AddOverlappingTypes(OType_ZRPartSet& set) {
    AddTypes(set, 2, 5);
    AddTeach(set, 1, 1, {100.0});
    AddTeach(set, 1, 2, {200.0});
    AddTeach(set, 2, 1, {210.0});
}

TEST_F(ConfV12Test, OverlappingBandsAreNarrowedInWholeUnits) {
    AddOverlappingTypes(set());
    classifier.TeachFromParts(set());
    EXPECT_EQ(classifier.GetTeachError(), 0);
    // Step 2 finds the bands part at 2 %; steps 3 and 5 fit 2 units on each side.
    const OClassCell a = Cell(0, 1, 0);
    const OClassCell b = Cell(1, 0, 0);
    EXPECT_EQ(a.lowerBound, 190.0);
    EXPECT_EQ(a.upperBound, 204.0);
    EXPECT_EQ(a.usedToleranceAbove, 2);
    EXPECT_EQ(a.usedToleranceBelow, 5);
    EXPECT_FLOAT_EQ(b.lowerBound, 205.8f);
    EXPECT_FLOAT_EQ(b.upperBound, 220.5f);
    EXPECT_EQ(b.usedToleranceBelow, 2);
    EXPECT_EQ(b.usedToleranceAbove, 5);
    EXPECT_EQ(classifier.dGetDecisionThreshold(0, 1), (105.0 + 190.0) / 2.0);
    EXPECT_TRUE(classifier.GetWarningList().empty());
}

TEST_F(ConfV12Test, MarrowWithOs30WarnsAndFormsBandsOnlyFromTheFirstClass) {
    host.SetDevice(2, 0x300);
    AddOverlappingTypes(set());
    classifier.TeachFromParts(set());
    EXPECT_EQ(classifier.GetTeachError(), 0);
    // 10 / 410 = 0.024: "Tol.:2".
    EXPECT_EQ(classifier.GetWarningList(), "1/2->2/1 Tol.:2  ");
    EXPECT_EQ(Cell(0, 1, 0).upperBound, 210.0);
    EXPECT_FLOAT_EQ(Cell(1, 0, 0).lowerBound, 199.5f);
}

TEST_F(ConfV12Test, TooManyFeaturesStopsWithTheMessage) {
    host.toolCapacity = 21;
    AddTypes(set(), 1, 5);
    AddTeach(set(), 1, 1, {10.0});
    host.ui.ExpectMessage(MsgResult::Ok);
    classifier.TeachFromParts(set());
    ASSERT_EQ(host.ui.Texts().size(), 1u);
    EXPECT_EQ(host.ui.Texts()[0],
              "Error:\nData can not be created\nToo many features.\nMaximum Number of "
              "Features: 32");
    EXPECT_EQ(set().opGetSubType(0)->Vectors().iGetNum(), 0);
    EXPECT_EQ(host.modifiedCount, 0);
}

TEST_F(ConfV12Test, OutOfRangeAssignmentsAreCorrectedAndIgnored) {
    host.deviceTypes = 2;
    host.deviceOrientations = 2;
    AddTypes(set(), 1, 5);
    OType_Part* good = AddTeach(set(), 1, 1, {10.0});
    OType_Part* badType = AddTeach(set(), 3, 2, {50.0});
    OType_Part* badOrientation = AddTeach(set(), 1, 3, {70.0});
    classifier.TeachFromParts(set());
    EXPECT_EQ(good->iGetOrientation(), 1);
    EXPECT_EQ(badType->iGetType(), 1);
    EXPECT_EQ(badType->iGetOrientation(), -2);
    EXPECT_EQ(badOrientation->iGetOrientation(), 0);
    EXPECT_EQ(classifier.iGetPartCount(0, 0), 1);
    EXPECT_EQ(classifier.iGetOrientationCount(0), 1);
    EXPECT_EQ(Cell(0, 0, 0).maximum, 10.0);
}

TEST_F(ConfV12Test, WithoutTypeDetectionEveryTypeButOneIsOutOfRange) {
    host.properties.useTypes = 0;
    AddTypes(set(), 2, 5);
    OType_Part* second = AddTeach(set(), 2, 1, {10.0});
    AddTeach(set(), 1, 1, {20.0});
    classifier.TeachFromParts(set());
    EXPECT_EQ(second->iGetType(), 1);
    EXPECT_EQ(second->iGetOrientation(), -1);
    EXPECT_EQ(classifier.iGetPartCount(0, 0), 1);
}

// Orientation 1 mean 100 on every feature, orientation 2 mean 200 on feature 0 and 120 on
// the others, tolerance 8: a part at 120 deviates (2.5, 2.5, 2.5) from orientation 1 and
// (-5, 0, 0) from orientation 2.
void AddRuleClasses(OType_ZRPartSet& set) {
    AddTypes(set, 1, 8);
    AddTeach(set, 1, 1, {100.0, 100.0, 100.0});
    AddTeach(set, 1, 2, {200.0, 120.0, 120.0});
}

TEST_F(ConfV12Test, NewerRuleTakesTheSmallestSumOfDeviations) {
    host.SetDevice(2, 818);
    AddRuleClasses(set());
    OType_Part* test = AddTest(set(), 1, 1, {120.0, 120.0, 120.0});
    classifier.TeachFromParts(set());
    classifier.EvaluateTestParts(set(), 0);
    EXPECT_EQ(test->iGetType(), 1);
    EXPECT_EQ(test->iGetOrientation(), 2);
    EXPECT_EQ(test->dGetResultValue(0), 500.0);
    EXPECT_EQ(test->dGetResultValue(2), 0.0);
    // Threshold (108 + 184) / 2 = 146; 25 * 32 / 26 = 30.77.
    EXPECT_EQ(test->dGetResultValue(1), 30.0);
    EXPECT_EQ(test->iGetTolerance(), 8);
    EXPECT_DOUBLE_EQ(test->Features().At(0).deviation, -500.0);
    EXPECT_EQ(test->Features().At(1).deviation, 0.0);
}

TEST_F(ConfV12Test, OlderRuleTakesTheSmallestLargestDeviation) {
    host.SetDevice(1, 0x300);
    AddRuleClasses(set());
    OType_Part* test = AddTest(set(), 1, 2, {120.0, 120.0, 120.0});
    classifier.TeachFromParts(set());
    classifier.EvaluateTestParts(set(), 0);
    EXPECT_EQ(test->iGetOrientation(), 1);
    EXPECT_EQ(test->dGetResultValue(0), 250.0);
    EXPECT_EQ(test->dGetResultValue(1), 30.0);
    EXPECT_DOUBLE_EQ(test->Features().At(2).deviation, 250.0);
}

TEST_F(ConfV12Test, NewerRuleAlsoAppliesToCompactDevices) {
    host.SetDevice(4, 0x300);
    AddRuleClasses(set());
    OType_Part* test = AddTest(set(), 1, 1, {120.0, 120.0, 120.0});
    classifier.TeachFromParts(set());
    classifier.EvaluateTestParts(set(), 0);
    EXPECT_EQ(test->iGetOrientation(), 2);
}

TEST_F(ConfV12Test, FirstResultIs101JustOutsideAndInsideFlagAtTheEdge) {
    AddTypes(set(), 1, 5);
    AddTeach(set(), 1, 1, {100.0});
    OType_Part* outside = AddTest(set(), 1, 1, {105.001});
    OType_Part* edge = AddTest(set(), 1, 1, {105.0});
    OType_Part* far = AddTest(set(), 1, 1, {300.0});
    classifier.TeachFromParts(set());
    classifier.EvaluateTestParts(set(), 0);
    EXPECT_EQ(outside->dGetResultValue(0), 101.0);
    EXPECT_EQ(outside->dGetResultValue(2), 0.0);
    EXPECT_EQ(edge->dGetResultValue(0), 100.0);
    EXPECT_EQ(edge->dGetResultValue(2), 1.0);
    EXPECT_EQ(edge->dGetResultValue(1), 0.0);  // a single orientation has no margin
    EXPECT_EQ(far->dGetResultValue(0), 999.0);
}

TEST_F(ConfV12Test, ExcludedFeatureTakesNoPartAndMarksTheParts) {
    AddTypes(set(), 1, 5);
    AddTeach(set(), 1, 1, {10.0, 100.0});
    AddTeach(set(), 1, 2, {20.0, 100.0});
    classifier.TeachFromParts(set());
    EXPECT_EQ(classifier.iGetSeparatingFeature(0, 0, 0, 1), 0);
    // Exclude feature 0 in one stored vector: every class then excludes it.
    set().opGetSubType(0)->opGetVectorArray(1)->At(0).option = 1;
    OType_Part* test = AddTest(set(), 1, 1, {10.0, 100.0});
    classifier.EvaluateTestParts(set(), 0);
    EXPECT_EQ(classifier.GetTeachError(), 20);
    EXPECT_EQ(Cell(0, 0, 0).optionMean, 1);
    EXPECT_EQ(classifier.GetSeparation(0, 0, 0, 1, 0), -1.0);
    EXPECT_EQ(test->Features().At(0).option & 7u, 1u);
    EXPECT_EQ(test->Features().At(1).option & 7u, 0u);
}

TEST_F(ConfV12Test, FixedStatisticsSurviveTeaching) {
    AddTypes(set(), 1, 5);
    AddTeach(set(), 1, 1, {10.0});
    classifier.TeachFromParts(set());
    OType_Vector& v = set().opGetSubType(0)->opGetVectorArray(0)->At(0);
    v.minimum = 5.0;
    v.mean = 7.0;
    v.maximum = 9.0;
    v.option = 2;
    OType_Part* part = set().TeachParts().GetAt(0);
    classifier.TeachFromParts(set());
    const OClassCell c = Cell(0, 0, 0);
    EXPECT_EQ(c.minimum, 5.0);
    EXPECT_EQ(c.mean, 7.0);
    EXPECT_EQ(c.maximum, 9.0);
    EXPECT_EQ(part->Features().At(0).option & 7u, 2u);
}

TEST_F(ConfV12Test, FactorIsUnifiedToTheSmallestOfTheClasses) {
    AddTypes(set(), 1, 5);
    AddTeach(set(), 1, 1, {100.0, 100.0});
    AddTeach(set(), 1, 2, {200.0, 200.0});
    classifier.TeachFromParts(set());
    OType_ZRPartSet_SubType& record = *set().opGetSubType(0);
    record.opGetVectorArray(0)->At(0).factor = 0.5;
    record.opGetVectorArray(0)->At(1).factor = 3.0;
    record.opGetVectorArray(1)->At(1).factor = 3.0;
    classifier.ReloadTeachData(set());
    EXPECT_EQ(Cell(0, 1, 0).factor, 0.5);
    EXPECT_EQ(Cell(5, 7, 0).factor, 0.5);
    // A factor above 1 on every class of the feature is kept.
    EXPECT_EQ(Cell(0, 0, 1).factor, 3.0);
    classifier.FormToleranceBands();
    EXPECT_EQ(Cell(0, 0, 1).upperBound, 100.0 + 15.0);
}

TEST_F(ConfV12Test, GetSeparationRefusesIndexesOutsideTheTables) {
    AddTypes(set(), 1, 5);
    AddTeach(set(), 1, 1, {100.0, 10.0});
    AddTeach(set(), 1, 2, {150.0, 30.0});
    classifier.TeachFromParts(set());
    EXPECT_EQ(classifier.GetSeparation(0, 0, 0, 2, -1), -1.0);
    EXPECT_EQ(classifier.GetSeparation(1, 0, 0, 1, -1), -1.0);
    EXPECT_EQ(classifier.GetSeparation(0, 0, 0, 1, -2), -1.0);
    EXPECT_EQ(classifier.GetSeparation(0, 0, 0, 1, 2), -1.0);
    EXPECT_EQ(classifier.GetSeparation(0, 0, 0, 1, 32), -1.0);
    EXPECT_EQ(classifier.GetSeparation(-1, 0, 0, 1, -1), -1.0);
    EXPECT_DOUBLE_EQ(classifier.GetSeparation(0, 0, 0, 1, 0), 50.0 / 250.0);
    EXPECT_DOUBLE_EQ(classifier.GetSeparation(0, 0, 0, 1, 1), 20.0 / 40.0);
    EXPECT_DOUBLE_EQ(classifier.GetSeparation(0, 0, 0, 1, -1), 0.5);
    EXPECT_EQ(classifier.iGetSeparatingFeature(0, 0, 0, 1), 1);
}

TEST_F(ConfV12Test, EvaluateClassifiesFromStoredTeachDataAlone) {
    // Teach-Data entered by hand, no sample parts: the reference features are stored.
    AddTypes(set(), 1, 10);
    OType_ZRPartSet_SubType& record = *set().opGetSubType(0);
    record.SetNumOrientations(2);
    for (double mean : {50.0, 80.0}) {
        OType_VectorArray& vectors = record.Vectors().Add();
        OType_Vector v;
        v.minimum = mean - 1;
        v.mean = mean;
        v.maximum = mean + 1;
        vectors.Add(v);
    }
    OType_Part* test = AddTest(set(), 1, 1, {79.0});
    classifier.EvaluateTestParts(set(), 7);
    EXPECT_EQ(test->iGetOrientation(), 2);
    EXPECT_EQ(test->dGetResultValue(2), 1.0);
    EXPECT_EQ(classifier.iGetPartCount(0, 0), 0);
    EXPECT_EQ(Cell(0, 1, 0).upperBound, 81.0 + 8.0);
    EXPECT_EQ(record.opGetVectorArray(1)->At(0).upperBound, 89.0);

    // Teaching with no sample parts rebuilds the vectors from the reference features.
    classifier.TeachFromParts(set());
    const OType_VectorArray& rebuilt = *set().opGetSubType(0)->opGetVectorArray(0);
    ASSERT_EQ(rebuilt.iGetNumOfVectors(), 12);
    EXPECT_EQ(rebuilt.At(0).featureType, 3);
    EXPECT_EQ(rebuilt.At(11).featureType, 8);
    EXPECT_EQ(rebuilt.At(0).mean, 50.0);
    EXPECT_EQ(rebuilt.At(1).mean, 0.0);
}

TEST_F(ConfV12Test, AccuracyOrientationsAddTwoFixedClassesAndArtificialParts) {
    AddTypes(set(), 1, 5);
    AddTeach(set(), 1, 1, {100.0, 10.0});
    AddTeach(set(), 1, 1, {102.0, 12.0});
    classifier.TeachFromParts(set());
    EXPECT_EQ(classifier.AddAccuracyOrientations(32, 1, 2, 3, 4, 5, 6), 0);
    host.properties.useOrientation = 0;
    EXPECT_EQ(classifier.AddAccuracyOrientations(0, 1, 2, 3, 4, 5, 6), 0);
    host.properties.useOrientation = 1;

    ASSERT_EQ(classifier.AddAccuracyOrientations(0, 99, 103, 95, 99, 103, 107), 1);
    EXPECT_EQ(classifier.iGetOrientationCount(0), 3);
    EXPECT_EQ(Cell(0, 0, 0).mean, 101.0);
    EXPECT_EQ(Cell(0, 1, 0).minimum, 95.0);
    EXPECT_EQ(Cell(0, 1, 0).mean, 97.0);
    EXPECT_EQ(Cell(0, 2, 0).maximum, 107.0);
    EXPECT_EQ(Cell(0, 2, 0).factor, 0.0);
    EXPECT_EQ(Cell(0, 1, 1).mean, 11.0);  // copied from orientation 1
    EXPECT_EQ(Cell(0, 1, 1).optionMean, 2);
    EXPECT_EQ(classifier.iGetPartCount(0, 1), 1);
    ASSERT_EQ(set().TeachParts().iGetSize(), 4);
    const OType_Part& artificial = *set().TeachParts().GetAt(3);
    EXPECT_EQ(artificial.iGetOrientation(), 3);
    EXPECT_EQ(artificial.iGetRecordNo(), 4);
    EXPECT_EQ(artificial.Features().At(0).value, 105.0);
    EXPECT_NE(artificial.Features().At(0).option & FeatureOption::kKeepValue, 0u);
    EXPECT_EQ(set().opGetSubType(0)->iGetNumOrientations(), 3);
    EXPECT_EQ(host.recomputeCount, 1);
    EXPECT_EQ(host.updateCount, 1);

    // With 3 orientations and a device of 4, g + 1 reaches the device's count.
    host.deviceOrientations = 4;
    EXPECT_EQ(classifier.AddAccuracyOrientations(0, 1, 2, 3, 4, 5, 6), 0);
    host.hasPartSet = false;
    EXPECT_EQ(classifier.AddAccuracyOrientations(0, 1, 2, 3, 4, 5, 6), 0);
}

TEST_F(ConfV12Test, FeaturesOfNewToolsKeepTheirTableValuesUntilStored) {
    // The vectors of a type without sample parts hold 12 features, the tables 13: feature
    // 12 belongs to a tool not yet in the stored vectors and keeps its table values.
    AddTypes(set(), 1, 5);
    AddTeach(set(), 1, 1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13});
    classifier.TeachFromParts(set());
    ASSERT_EQ(classifier.iGetFeatureCount(), 13);
    set().TeachParts().RemoveAll();
    set().opGetSubType(0)->opGetVectorArray(0)->RemoveAt(12);
    set().Tools().Add(std::make_unique<OTestTool>());
    classifier.LoadTeachData(set());
    EXPECT_EQ(Cell(0, 0, 12).mean, 13.0);
    EXPECT_EQ(classifier.iGetFeatureCount(), 12);
    // The next load remembers 12 features: feature 12 is cleared now.
    classifier.LoadTeachData(set());
    EXPECT_EQ(Cell(0, 0, 12).mean, 0.0);
    EXPECT_EQ(Cell(0, 0, 11).mean, 12.0);
}

}  // namespace
