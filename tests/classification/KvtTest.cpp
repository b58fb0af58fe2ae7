// Family-2 classifier: valid-part counts, class states, text features, the tools' teach calls
// and the test-case hand-over.
#include <gtest/gtest.h>

#include <vector>

#include "TestClassifierHost.h"
#include "classification/OClass_KVT.h"

using namespace TestParts;

namespace {

OType_Feature Num(double v) {
    OType_Feature f;
    f.value = v;
    return f;
}
OType_Feature Invalid() {
    OType_Feature f;
    f.valid = false;
    return f;
}
OType_Feature Text(std::string text) {
    OType_Feature f;
    f.valueType = FeatureValueType::Text;
    f.textValue = std::move(text);
    return f;
}

OType_Part* AddPart(OType_PartArray& list, int type, int orientation,
                    std::vector<OType_Feature> features) {
    OType_Part part;
    part.SetType(type);
    part.SetOrientation(orientation);
    for (size_t i = 0; i < features.size(); ++i) {
        features[i].type = static_cast<int>(i);
        features[i].name = "K" + std::to_string(i + 1);
        part.Features().Add(features[i]);
    }
    OType_Part* added = list.Add(std::move(part));
    added->SetRecordNo(list.iGetSize());
    return added;
}

class KvtTest : public ::testing::Test {
  protected:
    KvtTest() {
        host.SetDevice(7, 818);
        host.fixedFeatures = 0;
        host.toolCapacity = 256;
        host.partSet.SetFixedFeatures(0);
        AddTypes(host.partSet, 1, 5);
    }
    OClassCell Cell(int type, int orientation, int feature) const {
        OClassCell cell;
        EXPECT_TRUE(classifier.bGetCell(type, orientation, feature, cell));
        return cell;
    }
    OType_Part* Teach(int type, int orientation, std::vector<OType_Feature> features) {
        return AddPart(host.partSet.TeachParts(), type, orientation, std::move(features));
    }
    OType_Part* Test(std::vector<OType_Feature> features) {
        return AddPart(host.partSet.TestParts(), 1, 1, std::move(features));
    }
    void TeachAndEvaluate() {
        classifier.TeachFromParts(host.partSet);
        classifier.EvaluateTestParts(host.partSet, 0);
    }
    OType_Vector& StoredVector(int orientation, int feature) {
        return host.partSet.opGetSubType(0)->opGetVectorArray(orientation)->At(feature);
    }

    OTestClassifierHost host;
    OClass_KVT classifier{host};
};

TEST_F(KvtTest, MeansAreUnroundedAndDivideByTheValidParts) {
    Teach(1, 1, {Num(10.0), Num(1.00004)});
    Teach(1, 1, {Invalid(), Num(1.00005)});
    Teach(1, 1, {Num(20.0), Num(1.00005)});
    classifier.TeachFromParts(host.partSet);
    const OClassCell a = Cell(0, 0, 0);
    EXPECT_EQ(a.mean, 15.0);
    EXPECT_EQ(a.validCount, 2);
    EXPECT_EQ(a.state, ClassState::kInvalid);
    EXPECT_EQ(classifier.iGetPartCount(0, 0), 3);
    EXPECT_DOUBLE_EQ(Cell(0, 0, 1).mean, (1.00004 + 1.00005 + 1.00005) / 3.0);
    // Band 15 +- 5 % of 15 unrounded, on the sample range 10..20.
    EXPECT_DOUBLE_EQ(a.lowerBound, 10.0 - 0.75);
    EXPECT_EQ(StoredVector(0, 0).state, 0);  // invalid is stored as 0
    EXPECT_EQ(StoredVector(0, 1).state, 1);
}

TEST_F(KvtTest, FeatureCountIsTheLargestSeen) {
    Teach(1, 1, {Num(1), Num(2), Num(3)});
    Teach(1, 1, {Num(1)});
    classifier.TeachFromParts(host.partSet);
    EXPECT_EQ(classifier.iGetFeatureCount(), 3);
}

TEST_F(KvtTest, FeatureInvalidInAllPartsOfAClassDoesNotSeparate) {
    Teach(1, 1, {Num(10.0), Num(100.0)});
    Teach(1, 1, {Num(11.0), Num(101.0)});
    Teach(1, 2, {Invalid(), Num(200.0)});
    Teach(1, 2, {Invalid(), Num(201.0)});
    classifier.TeachFromParts(host.partSet);
    EXPECT_EQ(classifier.GetTeachError(), 0);
    EXPECT_EQ(classifier.iGetSeparatingFeature(0, 0, 0, 1), 1);
    EXPECT_EQ(Cell(0, 1, 0).state, ClassState::kInvalid);
    EXPECT_EQ(Cell(0, 1, 0).validCount, 0);
    EXPECT_EQ(classifier.GetSeparation(0, 0, 0, 1, 0), -1.0);

    // On its own the feature separates nothing.
    OTestClassifierHost other;
    other.SetDevice(7, 818);
    other.fixedFeatures = 0;
    other.toolCapacity = 256;
    AddTypes(other.partSet, 1, 5);
    AddPart(other.partSet.TeachParts(), 1, 1, {Num(10.0)});
    AddPart(other.partSet.TeachParts(), 1, 2, {Invalid()});
    OClass_KVT alone(other);
    alone.TeachFromParts(other.partSet);
    EXPECT_EQ(alone.GetTeachError(), 20);
    EXPECT_EQ(alone.GetE20List(), "1/1->1/2  ");
}

TEST_F(KvtTest, InvalidFeatureOfATestPartMatchesTheClassWhereItIsInvalid) {
    Teach(1, 1, {Num(10.0), Num(50.0)});
    Teach(1, 2, {Invalid(), Num(50.0)});
    Teach(1, 2, {Invalid(), Num(51.0)});
    OType_Part* test = Test({Invalid(), Num(50.5)});
    TeachAndEvaluate();
    EXPECT_EQ(test->iGetOrientation(), 2);
    EXPECT_EQ(test->dGetResultValue(2), 1.0);
    OType_Part* valid = Test({Num(10.0), Num(50.0)});
    classifier.EvaluateTestParts(host.partSet, 0);
    EXPECT_EQ(valid->iGetOrientation(), 1);
    // Against orientation 2 the valid value would deviate by 9.9999.
    EXPECT_EQ(test->Features().At(0).deviation, 0.0);
}

TEST_F(KvtTest, TextFeatureSeparatesOnlyThroughClassification) {
    Teach(1, 1, {Text("ABC")});
    Teach(1, 1, {Text("ABC")});
    Teach(1, 2, {Text("XYZ")});
    Teach(1, 2, {Text("XYZ")});
    OType_Part* same = Test({Text("ABC")});
    OType_Part* second = Test({Text("XYZ")});
    OType_Part* shorter = Test({Text("AB")});
    OType_Part* oneOff = Test({Text("ABD")});
    TeachAndEvaluate();
    EXPECT_EQ(classifier.GetTeachError(), 20);
    EXPECT_EQ(classifier.iGetSeparatingFeature(0, 0, 0, 1), -1);
    EXPECT_EQ(classifier.dGetDecisionThreshold(0, 1), 0.0);
    EXPECT_EQ(Cell(0, 0, 0).classText, "ABC");
    EXPECT_TRUE(Cell(0, 0, 0).textFeature);
    const OType_Vector& stored = StoredVector(1, 0);
    EXPECT_TRUE(stored.textFeature);
    EXPECT_EQ(stored.classText, "XYZ");
    EXPECT_EQ(stored.mean, 0.0);

    EXPECT_EQ(same->iGetOrientation(), 1);
    EXPECT_EQ(same->dGetResultValue(0), 0.0);
    EXPECT_EQ(second->iGetOrientation(), 2);
    EXPECT_EQ(second->dGetResultValue(2), 1.0);
    // Shorter by one: 10.01 against both classes, the first is kept; negative deviation.
    EXPECT_EQ(shorter->iGetOrientation(), 1);
    EXPECT_EQ(shorter->dGetResultValue(0), 999.0);
    EXPECT_DOUBLE_EQ(shorter->Features().At(0).deviation, -1001.0);
    // "ABD" differs from "ABC" at the third character (1.03) and from "XYZ" at the first
    // (1.01): the smaller deviation wins.
    EXPECT_EQ(oneOff->iGetOrientation(), 2);
    EXPECT_DOUBLE_EQ(oneOff->dGetResultValue(0), 101.0);
    EXPECT_DOUBLE_EQ(oneOff->Features().At(0).deviation, 101.0);
    EXPECT_EQ(oneOff->dGetResultValue(2), 0.0);
}

TEST_F(KvtTest, DifferingTextsAcceptAnyText) {
    OType_Part* first = Teach(1, 1, {Text("ABC")});
    OType_Part* second = Teach(1, 1, {Text("ABD")});
    OType_Part* test = Test({Text("QQQQ")});
    TeachAndEvaluate();
    EXPECT_EQ(Cell(0, 0, 0).classText, "*");
    EXPECT_EQ(StoredVector(0, 0).classText, "*");
    EXPECT_EQ(first->dGetResultValue(2), 0.0);
    EXPECT_EQ(second->dGetResultValue(2), 100.0);  // a "*" class counts 1.0
    EXPECT_EQ(test->dGetResultValue(0), 0.0);
    EXPECT_EQ(test->dGetResultValue(2), 1.0);
}

TEST_F(KvtTest, PartWithoutFeaturesGetsTheFirstClassAndTheLargestDeviation) {
    Teach(1, 1, {Num(10.0)});
    OType_Part* test = Test({});
    test->SetOrientation(3);
    test->SetTolerance(9);
    TeachAndEvaluate();
    EXPECT_EQ(test->iGetType(), 1);
    EXPECT_EQ(test->iGetOrientation(), 1);
    EXPECT_EQ(test->dGetResultValue(0), 999.0);
    EXPECT_EQ(test->dGetResultValue(1), 0.0);
    EXPECT_EQ(test->dGetResultValue(2), 0.0);
    EXPECT_EQ(test->iGetTolerance(), 0);
}

TEST_F(KvtTest, OutOfBandStatesSeparateAtFixedValueAndAreWrittenBack) {
    Teach(1, 1, {Num(100.0), Num(10.0)});
    Teach(1, 2, {Num(100.0), Num(10.0)});
    classifier.TeachFromParts(host.partSet);
    ASSERT_EQ(classifier.GetTeachError(), 20);

    StoredVector(1, 0).state = 13;
    StoredVector(0, 1).state = 11;
    OType_Part* validPart = Test({Num(100.0), Num(10.0)});
    OType_Part* invalidPart = Test({Invalid(), Num(10.0)});
    classifier.EvaluateTestParts(host.partSet, 0);
    EXPECT_EQ(classifier.GetTeachError(), 0);
    EXPECT_DOUBLE_EQ(classifier.GetSeparation(0, 0, 0, 1, 0), 0.2);
    EXPECT_EQ(classifier.GetSeparation(0, 0, 0, 1, 1), -1.0);
    EXPECT_EQ(classifier.iGetSeparatingFeature(0, 0, 0, 1), 0);
    // No band on a state-13 feature; the threshold is orientation 1's mean.
    EXPECT_EQ(Cell(0, 1, 0).upperBound, ClassTables::kEmptyMaximum);
    EXPECT_EQ(classifier.dGetDecisionThreshold(0, 1), 100.0);
    EXPECT_EQ(StoredVector(1, 0).state, 13);
    EXPECT_EQ(StoredVector(0, 1).state, 11);
    EXPECT_EQ(Cell(0, 0, 1).state, 11);

    EXPECT_EQ(validPart->iGetOrientation(), 1);
    EXPECT_EQ(validPart->dGetResultValue(2), 1.0);
    // Invalid where orientation 1 expects a value (9.9999), accepted by state 13.
    EXPECT_EQ(invalidPart->iGetOrientation(), 2);
    EXPECT_EQ(invalidPart->dGetResultValue(2), 1.0);
    EXPECT_EQ(invalidPart->Features().At(0).deviation, 0.0);
}

TEST_F(KvtTest, FirstTestPartGoesToTheRunningTestCase) {
    Teach(1, 1, {Num(10.0)});
    Teach(1, 2, {Num(20.0)});
    OType_Part* first = Test({Num(20.5)});
    OType_Part* next = Test({Num(20.5)});
    host.testCaseRunning = true;
    TeachAndEvaluate();
    ASSERT_EQ(host.handedOver.size(), 1u);
    const OTestCaseClassification& r = host.handedOver[0];
    EXPECT_EQ(r.type, 1);
    EXPECT_EQ(r.orientation, 2);
    EXPECT_EQ(r.inside, 1);
    EXPECT_DOUBLE_EQ(r.deviation, 50.0);  // 0.5 of the half band width 1.0
    // Threshold (10.5 + 19) / 2 = 14.75; 25 * 2 / 5.75 = 8.7.
    EXPECT_EQ(r.margin, 8.0);
    EXPECT_EQ(first->iGetOrientation(), 1);  // left as it was
    EXPECT_EQ(first->dGetResultValue(0), 0.0);
    EXPECT_EQ(next->iGetOrientation(), 2);
    EXPECT_EQ(next->dGetResultValue(1), 8.0);

    host.testCaseRunning = false;
    classifier.EvaluateTestParts(host.partSet, 0);
    EXPECT_EQ(first->iGetOrientation(), 2);
    EXPECT_EQ(host.handedOver.size(), 1u);
}

TEST_F(KvtTest, ToolsAndDataOutputsAreTaughtEverySamplePart) {
    std::vector<std::string> log;
    host.partSet.Tools().Add(std::make_unique<OTestTool>(&log))->SetName("T1");
    host.partSet.Tools().Add(std::make_unique<OTestTool>(&log))->SetName("T2");
    host.partSet.DataOutputs().Add(std::make_unique<OTestDataOutput>(&log))->SetName("O1");
    Teach(1, 1, {Num(1.0), Num(2.0)});
    Teach(1, 0, {Num(1.0), Num(2.0)});  // unassigned: not taught
    Teach(1, 1, {Num(1.0), Num(2.0)});
    classifier.TeachFromParts(host.partSet);
    const std::vector<std::string> expected = {
        "tool T1 part 1 features 2", "tool T2 part 1 features 2", "output O1",
        "tool T1 part 3 features 2", "tool T2 part 3 features 2", "output O1"};
    EXPECT_EQ(log, expected);
}

TEST_F(KvtTest, TooManyFeaturesNamesTheFamilyLimit) {
    host.toolCapacity = 257;
    Teach(1, 1, {Num(1.0)});
    host.ui.ExpectMessage(MsgResult::Ok);
    classifier.TeachFromParts(host.partSet);
    ASSERT_EQ(host.ui.Texts().size(), 1u);
    EXPECT_EQ(host.ui.Texts()[0],
              "Error:\nData can not be created\nToo many features.\nMaximum Number of "
              "Features: 256");
}

TEST_F(KvtTest, WithoutSamplePartsTheStoredTeachDataStays) {
    OType_ZRPartSet_SubType& record = *host.partSet.opGetSubType(0);
    OType_Vector v;
    v.minimum = 4.0;
    v.mean = 5.0;
    v.maximum = 6.0;
    record.Vectors().Add().Add(v);
    classifier.TeachFromParts(host.partSet);
    ASSERT_EQ(record.Vectors().iGetNum(), 1);
    ASSERT_EQ(record.opGetVectorArray(0)->iGetNumOfVectors(), 1);
    EXPECT_EQ(record.opGetVectorArray(0)->At(0).mean, 5.0);
    EXPECT_EQ(Cell(0, 0, 0).mean, 5.0);
}

TEST_F(KvtTest, MeanOptionAboveThreeLoadsAsNormal) {
    Teach(1, 1, {Num(1.0)});
    classifier.TeachFromParts(host.partSet);
    StoredVector(0, 0).option = 5;
    classifier.ReloadTeachData(host.partSet);
    EXPECT_EQ(Cell(0, 0, 0).optionMean, 0);
    EXPECT_EQ(Cell(0, 0, 0).optionMinimum, 5);
}

TEST_F(KvtTest, AccuracyOrientationsCopyTheClassState) {
    Teach(1, 1, {Num(10.0), Text("A")});
    Teach(1, 1, {Num(12.0), Text("A")});
    classifier.TeachFromParts(host.partSet);
    ASSERT_EQ(classifier.AddAccuracyOrientations(0, 10, 12, 8, 10, 12, 14), 1);
    EXPECT_EQ(classifier.iGetOrientationCount(0), 3);
    EXPECT_EQ(Cell(0, 1, 0).mean, 9.0);
    EXPECT_EQ(Cell(0, 2, 1).classText, "A");
    const OType_Part& artificial = *host.partSet.TeachParts().GetAt(3);
    EXPECT_EQ(artificial.Features().At(0).value, 13.0);
    EXPECT_EQ(artificial.Features().At(1).textValue, "A");
    EXPECT_EQ(classifier.AddAccuracyOrientations(256, 1, 2, 3, 4, 5, 6), 0);
}

}  // namespace
