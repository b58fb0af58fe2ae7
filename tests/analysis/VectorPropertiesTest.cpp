// The vector properties editor without a window: the tolerance-factor steps, the radio
// groups' stored values, the apply delays, refused entries that change nothing, small
// changes that are not stored, and a locked range that survives a new computation.
#include <gtest/gtest.h>

#include "analysis/VectorPropertiesEditor.h"
#include "classification/OClass_ConfV12.h"
#include "classification/TestClassifierHost.h"
#include "model/part/OType_Feature.h"

using namespace VectorProperties;
using namespace TestParts;

namespace {

TEST(VectorPropertiesRules, ToleranceFactorSteps) {
    EXPECT_DOUBLE_EQ(NormaliseFactor(0.005), 0.0);
    EXPECT_DOUBLE_EQ(NormaliseFactor(3.7), 3.0);
    EXPECT_DOUBLE_EQ(NormaliseFactor(500.0), 127.0);
    EXPECT_DOUBLE_EQ(NormaliseFactor(0.256), 0.25);
    EXPECT_DOUBLE_EQ(NormaliseFactor(0.29), 0.29) << "hundredths survive their binary form";
    EXPECT_DOUBLE_EQ(NormaliseFactor(-2.5), 2.0) << "the magnitude is taken";
    EXPECT_DOUBLE_EQ(NormaliseFactor(1.0), 1.0);
}

TEST(VectorPropertiesRules, RadioGroupsMapToStoredValues) {
    EXPECT_EQ(OptionOfRange(ValueRange::Automatic), 0u);
    EXPECT_EQ(OptionOfRange(ValueRange::Manual), 3u);
    EXPECT_EQ(OptionOfRange(ValueRange::ManualLocked), 2u);
    for (auto range : {ValueRange::Automatic, ValueRange::Manual, ValueRange::ManualLocked})
        EXPECT_EQ(RangeOfOption(OptionOfRange(range)), range);
    EXPECT_EQ(RangeOfOption(1), ValueRange::Automatic) << "an excluded feature";
    EXPECT_EQ(RangeOfOption(8 | 2), ValueRange::ManualLocked) << "flags above the value";

    EXPECT_EQ(StateOfDecision(InvalidDecision::Bad, 9), 11);
    EXPECT_EQ(StateOfDecision(InvalidDecision::GoodAlways, 9), 10);
    EXPECT_EQ(StateOfDecision(InvalidDecision::GoodOnlyInvalid, 9), 15);
    for (int state : {10, 11, 15})
        EXPECT_EQ(StateOfDecision(InvalidDecision::Automatic, state), 9) << state;
    for (int state : {8, 9, 13, 1})
        EXPECT_EQ(StateOfDecision(InvalidDecision::Automatic, state), state) << state;
    EXPECT_EQ(DecisionOfState(11), InvalidDecision::Bad);
    EXPECT_EQ(DecisionOfState(10), InvalidDecision::GoodAlways);
    EXPECT_EQ(DecisionOfState(15), InvalidDecision::GoodOnlyInvalid);
    EXPECT_EQ(DecisionOfState(8), InvalidDecision::Automatic);
}

TEST(VectorPropertiesRules, ApplyDelaysAndNumberFields) {
    EXPECT_EQ(iApplyDelayMs("12"), 800);
    EXPECT_EQ(iApplyDelayMs(""), 2400);
    EXPECT_EQ(iApplyDelayMs("12."), 2400);
    double v = 0.0;
    std::string error;
    EXPECT_TRUE(bParseValue(" -12.5 ", v, error));
    EXPECT_DOUBLE_EQ(v, -12.5);
    EXPECT_TRUE(bParseValue("1e20", v, error));
    for (const char* bad : {"", "  ", "abc", "12abc", "1e21", "-1e21", "nan", "inf", "0x10"}) {
        error.clear();
        EXPECT_FALSE(bParseValue(bad, v, error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
}

// Two orientations of one type, three features each.
class VectorPropertiesEditorTest : public ::testing::Test {
  protected:
    VectorPropertiesEditorTest() {
        host.SetDevice(1, 818);
        host.fixedFeatures = 0;
        AddTypes(host.partSet, 1, 5);
        AddTeach(host.partSet, 1, 1, {10.0, 100.0, 5.0});
        AddTeach(host.partSet, 1, 1, {12.0, 104.0, 5.0});
        AddTeach(host.partSet, 1, 2, {30.0, 100.0, 5.0});
        AddTeach(host.partSet, 1, 2, {32.0, 102.0, 5.0});
        classifier.TeachFromParts(host.partSet);
    }
    const OType_Vector& Vector(int orientation, int feature) {
        return host.partSet.opGetSubType(0)->opGetVectorArray(orientation)->At(feature);
    }
    OTestClassifierHost host;
    OClass_ConfV12 classifier{host};
    OVectorPropertiesEditor editor{host.partSet, 1};
};

TEST_F(VectorPropertiesEditorTest, ReadsTheFeatureAndTheChosenClass) {
    const OVectorForm form = editor.Read(1, 0, 1);
    ASSERT_TRUE(form.hasFeature);
    ASSERT_TRUE(form.hasClass);
    EXPECT_EQ(form.name, "F2");
    EXPECT_TRUE(form.usedForQuality);
    EXPECT_EQ(form.factor, "1");
    EXPECT_EQ(form.minimum, "100");
    EXPECT_EQ(form.mean, "101");
    EXPECT_EQ(form.maximum, "102");
    EXPECT_EQ(form.range, ValueRange::Automatic);
    EXPECT_EQ(form.featureEntries.size(), 3u);
    EXPECT_EQ(form.featureEntries[0], "1. F1");
    EXPECT_EQ(form.orientationEntries.size(), 2u);

    const OVectorForm clamped = editor.Read(0, 7, 9);
    EXPECT_EQ(clamped.type, 0);
    EXPECT_EQ(clamped.orientation, 1);
    EXPECT_FALSE(editor.Read(-1, 0, 0).hasFeature);
    EXPECT_FALSE(editor.Read(3, 0, 0).hasFeature);
}

TEST_F(VectorPropertiesEditorTest, RefusedEntriesChangeNothing) {
    const OVectorForm read = editor.Read(0, 0, 0);
    const auto before = host.partSet.opGetSubType(0)->opGetVectorArray(0)->At(0);
    struct OCase {
        std::string OVectorForm::*field;
        std::string text;
        int control;
    };
    const OCase cases[] = {
        {&OVectorForm::factor, "", kFactor},       {&OVectorForm::factor, "two", kFactor},
        {&OVectorForm::minimum, "", kMinimum},     {&OVectorForm::mean, "1,5", kMean},
        {&OVectorForm::maximum, "2e25", kMaximum}, {&OVectorForm::minimum, "-1e21", kMinimum},
    };
    for (const OCase& c : cases) {
        OVectorForm edited = read;
        edited.name = "renamed";        // would be applied if the form were taken
        edited.usedForQuality = false;  // likewise
        edited.*c.field = c.text;
        const OVectorApplyResult result = editor.Apply(read, edited);
        EXPECT_FALSE(result.changed) << c.text;
        EXPECT_FALSE(result.error.empty()) << c.text;
        EXPECT_EQ(result.errorControl, c.control) << c.text;
        EXPECT_EQ(Vector(0, 0), before) << c.text;
    }
    OVectorForm edited = read;
    edited.minimum = "50";
    edited.maximum = "40";
    const OVectorApplyResult result = editor.Apply(read, edited);
    EXPECT_EQ(result.error, "The minimum must not be greater than the maximum.");
    EXPECT_EQ(Vector(0, 0), before);
}

TEST_F(VectorPropertiesEditorTest, FactorIsNormalisedAndStoredInEveryVector) {
    OVectorForm edited = editor.Read(2, 0, 0);
    edited.factor = "3.7";
    const OVectorApplyResult result = editor.Apply(editor.Read(2, 0, 0), edited);
    EXPECT_TRUE(result.changed);
    EXPECT_DOUBLE_EQ(result.factor, 3.0);
    EXPECT_DOUBLE_EQ(Vector(0, 2).factor, 3.0);
    EXPECT_DOUBLE_EQ(Vector(1, 2).factor, 3.0);
    EXPECT_DOUBLE_EQ(Vector(0, 1).factor, 1.0) << "other features keep theirs";
    EXPECT_EQ(editor.Read(2, 0, 0).factor, "3");
}

TEST_F(VectorPropertiesEditorTest, SmallValueChangesAreNotStored) {
    const OVectorForm read = editor.Read(1, 0, 0);
    OVectorForm edited = read;
    edited.minimum = "100.00004";
    const OVectorApplyResult result = editor.Apply(read, edited);
    EXPECT_TRUE(result.error.empty());
    EXPECT_FALSE(result.changed) << "a change below 0.0001 is no change (no undo entry)";
    EXPECT_DOUBLE_EQ(Vector(0, 1).minimum, 100.0);
}

TEST_F(VectorPropertiesEditorTest, UncheckingExcludesTheFeatureInVectorsAndParts) {
    const OVectorForm read = editor.Read(0, 0, 0);
    OVectorForm edited = read;
    edited.usedForQuality = false;
    ASSERT_TRUE(editor.Apply(read, edited).changed);
    for (int o : {0, 1})
        EXPECT_EQ(Vector(o, 0).option & 7u, 1u);
    for (int i = 0; i < host.partSet.TeachParts().iGetSize(); ++i)
        EXPECT_EQ(host.partSet.TeachParts().GetAt(i)->Features().At(0).option & 7u, 1u);
    EXPECT_FALSE(editor.Read(0, 0, 0).usedForQuality);

    OVectorForm again = editor.Read(0, 0, 0);
    again.usedForQuality = true;
    ASSERT_TRUE(editor.Apply(editor.Read(0, 0, 0), again).changed);
    EXPECT_EQ(Vector(0, 0).option & 7u, 0u);
    EXPECT_EQ(host.partSet.TeachParts().GetAt(0)->Features().At(0).option & 7u, 0u);
}

TEST_F(VectorPropertiesEditorTest, LockedRangeSurvivesANewComputation) {
    const OVectorForm read = editor.Read(0, 0, 0);
    OVectorForm edited = read;
    edited.range = ValueRange::ManualLocked;
    edited.minimum = "5";
    edited.mean = "11";
    edited.maximum = "20";
    ASSERT_TRUE(editor.Apply(read, edited).changed);
    EXPECT_EQ(Vector(0, 0).option & 7u, 2u);
    EXPECT_EQ(host.partSet.TeachParts().GetAt(0)->Features().At(0).option & 7u, 2u)
        << "the option goes into the parts of the class";
    EXPECT_EQ(host.partSet.TeachParts().GetAt(2)->Features().At(0).option & 7u, 0u)
        << "not into the parts of another orientation";

    classifier.TeachFromParts(host.partSet);
    EXPECT_DOUBLE_EQ(Vector(0, 0).minimum, 5.0);
    EXPECT_DOUBLE_EQ(Vector(0, 0).mean, 11.0);
    EXPECT_DOUBLE_EQ(Vector(0, 0).maximum, 20.0);
    EXPECT_EQ(editor.Read(0, 0, 0).range, ValueRange::ManualLocked);
    EXPECT_DOUBLE_EQ(Vector(1, 0).minimum, 30.0) << "the other orientation is still computed";
}

TEST_F(VectorPropertiesEditorTest, ANameIsGivenToTheFeatureEverywhere) {
    const OVectorForm read = editor.Read(1, 0, 0);
    OVectorForm edited = read;
    edited.name = "Length";
    const OVectorApplyResult result = editor.Apply(read, edited);
    EXPECT_TRUE(result.nameChanged);
    EXPECT_EQ(Vector(0, 1).name, "Length");
    EXPECT_EQ(Vector(1, 1).name, "Length");
    EXPECT_EQ(host.partSet.TeachParts().GetAt(3)->Features().At(1).name, "Length");
    EXPECT_EQ(*host.partSet.FindFeatureName(1), "Length") << "family 1: the name table";
}

TEST_F(VectorPropertiesEditorTest, AFormOfAnotherFeatureOrClassIsNotApplied) {
    const OVectorForm read = editor.Read(0, 0, 0);
    OVectorForm edited = read;
    edited.feature = 1;
    edited.name = "x";
    EXPECT_FALSE(editor.Apply(read, edited).changed);
    EXPECT_EQ(Vector(0, 0).name, "F1");
}

}  // namespace
