// Extraction of one part and of the lists: kept values, tool features following the tool
// list, options, filters and the error flags.
#include <gtest/gtest.h>

#include "ExtractionTestHost.h"
#include "extraction/OContourFilters.h"
#include "tools/OType_ConfigTool_Combination.h"
#include "tools/OType_ConfigTool_ROI.h"

namespace {

using ContourFeatureType::kRoiArea;
using ContourToolKind::kCombination;
using ContourToolKind::kROI;

// A tool that counts its extractions and can report the tool-side condition.
class OCountingTool : public OType_ConfigTool_ROI {
  public:
    std::unique_ptr<OType_ConfigTool> CreateNew() const override {
        return std::make_unique<OCountingTool>();
    }
    OToolMeasurement Measure(const OContourColumns& c, const OType_FeatureArray& f) const override {
        ++calls;
        OToolMeasurement m = OType_ConfigTool_ROI::Measure(c, f);
        if (condition) m.result |= kToolResultConditionBit;
        return m;
    }
    mutable int calls = 0;
    bool condition = false;
};

struct Fixture : ::testing::Test {
    OExtractionTestHost host;
    OType_ZRPartSet& ps = host.PartSet();
    OExtr_Default& engine = host.Engine();

    OType_ConfigTool& Roi(int left, int right) {
        return AddTool(ps, kROI, kRoiArea, {left, 0, right, 511});
    }
    OCountingTool& Counting(int left, int right) {
        auto tool = std::make_unique<OCountingTool>();
        tool->SetRegion({left, 0, right, 511});
        return static_cast<OCountingTool&>(*ps.Tools().Add(std::move(tool)));
    }
};

}  // namespace

TEST_F(Fixture, PartWithoutContourKeepsAllStoredValues) {
    Roi(0, 4);
    Roi(5, 9);
    OType_Part& part = AddTeachPart(ps, {});
    for (int i = 0; i < 12; ++i) {
        OType_Feature f;
        f.value = 100 + i;
        part.Features().Add(f);
    }
    for (int k = 0; k < 2; ++k) {
        OType_Feature f;
        f.toolId = ps.Tools().opGetAt(k)->iGetToolId();
        f.value = 500 + k;
        part.Features().Add(f);
    }
    part.Features().SetModified(true);
    host.Recompute(ps, 1, 0, 1, 1, 0);
    ASSERT_EQ(part.Features().iGetNumOfFeatures(), 14);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(part.Features().At(i).value, 100 + i) << i;
    EXPECT_EQ(part.Features().At(12).value, 500);
    EXPECT_EQ(part.Features().At(13).value, 501);
    EXPECT_EQ(part.iGetColumns(), 0);
    EXPECT_FALSE(part.Features().At(13).modified);
}

TEST_F(Fixture, ToolFeaturesFollowTheToolList) {
    Roi(0, 4);  // area of 5 columns
    Roi(0, 9);  // 10 columns
    Roi(0, 1);  // 2 columns
    OType_Part& part = AddTeachPart(ps, Block(20, 0, 10));
    host.Recompute(ps, 1, 0, 1, 1, 0);
    ASSERT_EQ(part.Features().iGetNumOfFeatures(), 15);
    EXPECT_EQ(part.Features().At(12).value, 50);
    EXPECT_EQ(part.Features().At(13).value, 100);
    EXPECT_EQ(part.Features().At(14).value, 20);
    EXPECT_EQ(part.Features().At(13).name, "ROI area");
    EXPECT_EQ(part.Features().At(13).toolId, ps.Tools().opGetAt(1)->iGetToolId());

    // Deleting the first tool shifts the others down by one.
    ps.Tools().RemoveAt(0);
    host.Recompute(ps, 0, 0, 1, 1, 0);
    ASSERT_EQ(part.Features().iGetNumOfFeatures(), 14);
    EXPECT_EQ(part.Features().At(12).value, 100);
    EXPECT_EQ(part.Features().At(13).value, 20);

    // A tool inserted in front gets a new feature there; the others keep theirs.
    auto tool = ps.ToolPrototypes().Create(kROI);
    tool->SetRegion({0, 0, 2, 511});
    ps.Tools().Insert(0, std::move(tool));
    host.Recompute(ps, 0, 0, 1, 1, 0);
    ASSERT_EQ(part.Features().iGetNumOfFeatures(), 15);
    EXPECT_EQ(part.Features().At(12).value, 30);
    EXPECT_EQ(part.Features().At(13).value, 100);
    EXPECT_EQ(part.Features().At(14).value, 20);
    for (int t = 0; t < ps.iGetNum_SubTypes(); ++t)
        EXPECT_EQ(ps.opGetSubType(t)->iGetNumFeatures(), 15);
}

TEST_F(Fixture, OnlyModifiedToolsAreExtractedAgain) {
    OCountingTool& a = Counting(0, 4);
    OCountingTool& b = Counting(5, 9);
    AddTeachPart(ps, Block(20, 0, 10));
    AddTestPart(ps, Block(20, 0, 10));
    host.Recompute(ps, 1, 0, 1, 1, 0);
    EXPECT_EQ(a.calls, 2);
    EXPECT_EQ(b.calls, 2);
    b.SetModifiedFlag(true);
    host.Recompute(ps, 0, 0, 1, 1, 0);
    EXPECT_EQ(a.calls, 2);
    EXPECT_EQ(b.calls, 4);
    EXPECT_FALSE(b.iGetModifiedFlag());
}

TEST_F(Fixture, CombinationReadsItsOperandsWhereverTheyStand) {
    auto& comb = static_cast<OType_ConfigTool_Combination&>(AddTool(ps, kCombination, 50, {}));
    OType_ConfigTool& roi = Roi(0, 4);
    comb.SetOperand(0, OCombinationOperand::Tool(roi.iGetToolId()));
    comb.SetOperand(1, OCombinationOperand::Basic(BasicFeature::kArea));
    comb.SetOperation(CombinationOp::Subtract);
    OType_Part& part = AddTeachPart(ps, Block(10, 0, 10));
    host.Recompute(ps, 1, 0, 1, 1, 0);
    EXPECT_TRUE(part.Features().At(12).valid);
    EXPECT_EQ(part.Features().At(12).value, 50 - 100);
    EXPECT_EQ(comb.GetDirectReferencedFeatures(ps), (std::vector<int>{13, BasicFeature::kArea}));

    // Moving the ROI re-extracts the combination too.
    roi.SetRegion({0, 0, 1, 511});
    roi.SetModifiedFlag(true);
    host.Recompute(ps, 0, 0, 1, 1, 0);
    EXPECT_EQ(part.Features().At(12).value, 20 - 100);
}

TEST_F(Fixture, CircularCombinationsAreNotValid) {
    auto& a = static_cast<OType_ConfigTool_Combination&>(AddTool(ps, kCombination, 50, {}));
    auto& b = static_cast<OType_ConfigTool_Combination&>(AddTool(ps, kCombination, 50, {}));
    a.SetOperand(0, OCombinationOperand::Tool(b.iGetToolId()));
    a.SetOperand(1, OCombinationOperand::Constant(1));
    b.SetOperand(0, OCombinationOperand::Tool(a.iGetToolId()));
    b.SetOperand(1, OCombinationOperand::Constant(1));
    OType_Part& part = AddTeachPart(ps, Block(10, 0, 10));
    host.Recompute(ps, 1, 0, 1, 1, 0);
    EXPECT_FALSE(part.Features().At(12).valid);
    EXPECT_FALSE(part.Features().At(13).valid);
    EXPECT_EQ(engine.GetExtractionErrorFlags(), 0u);
}

TEST_F(Fixture, SwitchedOffFeaturesGetOption7) {
    Roi(0, 4);
    auto* vectors = ps.opGetSubType(1)->Vectors().opGetAt(0);
    if (!vectors) {
        ps.opGetSubType(1)->Vectors().Resize(1);
        vectors = ps.opGetSubType(1)->Vectors().opGetAt(0);
    }
    for (int j = 0; j < 13; ++j)
        vectors->Add(OType_Vector());
    vectors->At(3).option = FeatureOption::Set(0, FeatureOption::kNotForQuality, true);
    vectors->At(12).option = FeatureOption::Set(0, FeatureOption::kNotForQuality, true);
    OType_Part& part = AddTeachPart(ps, Block(10, 0, 10));
    host.Recompute(ps, 1, 0, 1, 1, 0);
    EXPECT_EQ(engine.BasicFeatureFlags()[3], 1);
    EXPECT_EQ(engine.BasicFeatureFlags()[4], 0);
    for (int i = 0; i < 13; ++i) {
        const bool off =
            FeatureOption::bGet(part.Features().At(i).option, FeatureOption::kNotForQuality);
        EXPECT_EQ(off, i == 3 || i == 12) << i;
    }
}

TEST_F(Fixture, MarkedBasicValuesAreKeptOnlyWhenTheSettingIsOn) {
    OType_Part& part = AddTeachPart(ps, Block(10, 0, 10));
    host.Recompute(ps, 0, 0, 1, 1, 0);
    OType_Feature& area = part.Features().At(BasicFeature::kArea);
    ASSERT_EQ(area.value, 100);
    area.value = 7;
    area.option = FeatureOption::kKeepValue;
    area.name = "renamed";
    part.Features().SetModified(true);
    host.keepMarked = 1;
    host.Recompute(ps, 0, 0, 1, 1, 0);
    EXPECT_EQ(part.Features().At(BasicFeature::kArea).value, 7);
    EXPECT_EQ(part.Features().At(BasicFeature::kArea).name, "Area");
    EXPECT_EQ(part.Features().At(BasicFeature::kArea).option, FeatureOption::kKeepValue);
    part.Features().SetModified(true);
    host.keepMarked = 0;
    host.Recompute(ps, 0, 0, 1, 1, 0);
    EXPECT_EQ(part.Features().At(BasicFeature::kArea).value, 100);
    EXPECT_EQ(part.Features().At(BasicFeature::kArea).option, 0u);
}

TEST_F(Fixture, BusyToolStopsTheRunWithTheMessage) {
    OType_ConfigTool& roi = Roi(0, 4);
    AddTeachPart(ps, Block(10, 0, 10));
    ASSERT_TRUE(roi.bTryLock(std::chrono::milliseconds(0)));
    host.ui.ExpectMessage(MsgResult::Ok, "could not be extracted");
    host.Recompute(ps, 1, 0, 1, 1, 0);
    roi.Unlock();
    EXPECT_EQ(host.lastRecomputeResult, 0);
    EXPECT_EQ(engine.GetExtractionErrorFlags(), ExtractionError::kToolBusy);
    EXPECT_TRUE(host.ui.bAllScriptUsed());
    EXPECT_TRUE(host.classifier.calls.empty());
    // The flags stay: every later run stops at the same point.
    host.ui.ExpectMessage(MsgResult::Ok, "could not be extracted");
    host.Recompute(ps, 0, 0, 1, 1, 0);
    EXPECT_EQ(host.lastRecomputeResult, 0);
    EXPECT_TRUE(host.ui.bAllScriptUsed());
    EXPECT_FALSE(OExtractionRun::bIsRunning());
    EXPECT_EQ(host.ui.iWaitCursorDepth(), 0);
}

TEST_F(Fixture, ToolConditionSetsErrorBit3) {
    Counting(0, 4).condition = true;
    AddTeachPart(ps, Block(10, 0, 10));
    host.ui.ExpectMessage(MsgResult::Ok);
    host.Recompute(ps, 1, 0, 1, 1, 0);
    EXPECT_EQ(engine.GetExtractionErrorFlags(), ExtractionError::kToolCondition);
}

TEST_F(Fixture, PartSetFilterIsAppliedToNewParts) {
    OType_Part& part = AddTeachPart(ps, Runs({{{10, 11}, {20, 40}}}));
    ps.SetFilterMode(ContourFilterKind::kThinAreas);
    ps.SetFilterLimits(2, 0);
    host.Recompute(ps, 0, 0, 1, 1, 0);
    EXPECT_EQ(part.iGetAppliedFilter(), ContourFilterKind::kThinAreas);
    EXPECT_EQ(std::vector<int16_t>(part.Contour().begin(), part.Contour().end()),
              (std::vector<int16_t>{20, -40}));
    EXPECT_EQ(part.Features().At(BasicFeature::kArea).value, 20);
}

TEST_F(Fixture, BasicCountWarningAndShownPart) {
    host.info.SetU16(ZRINFO::kBasicFeatures, 0);
    AddTeachPart(ps, Block(3, 0, 5));
    ps.iShowTeachPartNo(-1, 1);
    host.ui.ExpectMessage(MsgResult::Ok, "12 basic");
    host.Recompute(ps, 0, 0, 1, 1, 0);
    EXPECT_TRUE(host.ui.bAllScriptUsed());
    EXPECT_EQ(ps.iShowTeachPartGetNo(), 0);
}

TEST_F(Fixture, TypesAndNamesOfTheBasicFeatures) {
    OType_Part& part = AddTeachPart(ps, Block(3, 0, 5));
    host.Recompute(ps, 0, 0, 1, 1, 0);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(part.Features().At(i).type, BasicFeature::kTypes[i]);
        EXPECT_EQ(part.Features().At(i).name, ps.GetFeatureNameOrDash(BasicFeature::kTypes[i]));
        EXPECT_EQ(part.Features().At(i).toolId, -1);
    }
    EXPECT_EQ(part.Features().At(0).name, "Length");
    EXPECT_FALSE(part.Features().bGetModified());
}
