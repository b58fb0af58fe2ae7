// The extraction run: guard, part limit, coordinate-transformation switch, brackets of tools
// and data outputs, classifier calls, feature counts and re-sorting.
#include <gtest/gtest.h>

#include "ExtractionTestHost.h"
#include "tools/OType_ConfigTool_ROI.h"

namespace {

using ContourFeatureType::kRoiArea;
using ContourToolKind::kROI;

// Records the bracket calls a run makes.
struct OCalls {
    std::vector<std::string> log;
};

class OBracketTool : public OType_ConfigTool_ROI {
  public:
    explicit OBracketTool(OCalls* calls = nullptr) : m_calls(calls) {}
    std::unique_ptr<OType_ConfigTool> CreateNew() const override {
        return std::make_unique<OBracketTool>(m_calls);
    }
    int iInitAfterCheckprogramLoad(OType_ZRPartSet&, const ZRINFO&) override {
        if (m_calls) m_calls->log.push_back("tool init");
        return 1;
    }
    int iFinalizeBeforeCheckprogramUnload(OType_ZRPartSet&, const ZRINFO&) override {
        if (m_calls) m_calls->log.push_back("tool finalize");
        return 1;
    }
    OToolMeasurement Measure(const OContourColumns& c, const OType_FeatureArray& f) const override {
        ++extractions;
        return OType_ConfigTool_ROI::Measure(c, f);
    }
    mutable int extractions = 0;

  private:
    OCalls* m_calls;
};

class ORecordingOutput : public OType_DeviceDataIO {
  public:
    explicit ORecordingOutput(OCalls* calls) : m_calls(calls) {}
    int iGetDataIOType() const override { return 1; }
    std::unique_ptr<OType_DeviceDataIO> CreateNew() const override {
        return std::make_unique<ORecordingOutput>(m_calls);
    }
    std::string GetKindName() const override { return "recording"; }
    int iBeginExtraction(OType_ZRPartSet&, const ZRINFO&) override {
        m_calls->log.push_back("output begin");
        return 1;
    }
    int iEndExtraction(OType_ZRPartSet&, const ZRINFO&) override {
        m_calls->log.push_back("output end");
        return 1;
    }
    std::vector<uint8_t> ResultForPart(const OType_ZRPartSet&,
                                       const OType_Part& part) const override {
        return {static_cast<uint8_t>(part.iGetRecordNo())};
    }
    void UpdateFeatureIndexList(const OType_ZRPartSet&) override { m_calls->log.push_back("lut"); }

  protected:
    void EncodePayload(OByteStream&) const override {}
    bool bDecodePayload(OByteStream&) override { return true; }

  private:
    OCalls* m_calls;
};

struct Run : ::testing::Test {
    OExtractionTestHost host;
    OType_ZRPartSet& ps = host.PartSet();
    OCalls calls;

    OBracketTool& Tool() {
        auto tool = std::make_unique<OBracketTool>(&calls);
        tool->SetRegion({0, 0, 4, 511});
        return static_cast<OBracketTool&>(*ps.Tools().Add(std::move(tool)));
    }
    void Parts(int teach, int test = 0) {
        for (int i = 0; i < teach; ++i)
            AddTeachPart(ps, Block(i + 1, 0, 10));
        for (int i = 0; i < test; ++i)
            AddTestPart(ps, Block(i + 1, 0, 10));
    }
    std::vector<int> TeachRecordNumbers() const {
        std::vector<int> n;
        for (int i = 0; i < ps.TeachParts().iGetSize(); ++i)
            n.push_back(ps.TeachParts().GetAt(i)->iGetRecordNo());
        return n;
    }
};

}  // namespace

TEST_F(Run, OrderOfTheStepsAndTheClassifierCalls) {
    Tool();
    ps.DataOutputs().Add(std::make_unique<ORecordingOutput>(&calls));
    Parts(2, 1);
    host.Recompute(ps, 0, 0, 1, 1, 0);
    EXPECT_EQ(host.lastRecomputeResult, 1);
    EXPECT_EQ(calls.log, (std::vector<std::string>{"lut", "tool init", "output begin",
                                                   "tool finalize", "output end"}));
    EXPECT_EQ(host.classifier.calls, (std::vector<std::string>{"teach", "evaluate 0"}));
    EXPECT_EQ(host.contourViewOpened, 2);  // made to exist for teach and for test parts
    // Every part holds the data output's result.
    const OType_Part& part = *ps.TestParts().GetAt(0);
    ASSERT_EQ(part.DataOutputResults().size(), 1u);
    EXPECT_EQ(part.DataOutputResults()[0].result, (std::vector<uint8_t>{1}));
    EXPECT_EQ(host.ui.iWaitCursorDepth(), 0);
    EXPECT_GT(host.ui.iWaitCursorShowCount(), 0);
}

TEST_F(Run, TestOnlyExtractsTestPartsAndPassesTheOption) {
    OBracketTool& tool = Tool();
    Parts(2, 3);
    host.Recompute(ps, 1, 1, 1, 1, 7);
    EXPECT_EQ(tool.extractions, 3);
    EXPECT_EQ(host.classifier.calls, (std::vector<std::string>{"evaluate 7"}));
}

TEST_F(Run, NothingWithoutPartSetOrSession) {
    Parts(1);
    EXPECT_EQ(OExtractionRun(host).Recompute(nullptr, 0, 0, 1, 1, 0), 0);
    host.session = false;
    host.Recompute(ps, 0, 0, 1, 1, 0);
    EXPECT_EQ(host.lastRecomputeResult, 0);
    EXPECT_TRUE(host.classifier.calls.empty());
    EXPECT_EQ(host.contourViewOpened, 0);
}

TEST_F(Run, ReentranceGuardReturnsAtOnce) {
    Parts(1);
    int nested = -1;
    host.classifier.onTeach = [&] {
        EXPECT_TRUE(OExtractionRun::bIsRunning());
        nested = OExtractionRun(host).Recompute(&ps, 0, 0, 1, 1, 0);
    };
    host.Recompute(ps, 0, 0, 1, 1, 0);
    EXPECT_EQ(nested, 0);
    EXPECT_EQ(host.lastRecomputeResult, 1);
    EXPECT_FALSE(OExtractionRun::bIsRunning());
}

TEST_F(Run, PolicyRemoveNewestBeforeExtraction) {
    host.maxParts = 5;
    host.policy = 1;
    Parts(6);
    host.Recompute(ps, 0, 1, 1, 1, 0);  // test only, but teach parts went: extracted anyway
    EXPECT_EQ(TeachRecordNumbers(), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(host.classifier.calls.front(), "teach");
    EXPECT_EQ(host.maxParts, 5);
}

TEST_F(Run, PolicyRemoveOldest) {
    host.maxParts = 4;
    host.policy = 3;
    Parts(6, 5);
    host.Recompute(ps, 0, 0, 1, 1, 0);
    EXPECT_EQ(TeachRecordNumbers(), (std::vector<int>{3, 4, 5, 6}));
    EXPECT_EQ(ps.TestParts().iGetSize(), 4);
}

TEST_F(Run, PolicyAskYesRaisesNoRemovesOldest) {
    host.maxParts = 4;
    host.policy = 0;
    Parts(6);
    host.ui.ExpectMessage(MsgResult::Yes);
    host.Recompute(ps, 0, 0, 1, 1, 0);
    EXPECT_EQ(host.maxParts, 11);
    EXPECT_EQ(ps.TeachParts().iGetSize(), 6);

    host.maxParts = 4;
    host.ui.ExpectMessage(MsgResult::No);
    host.Recompute(ps, 0, 0, 1, 1, 0);
    EXPECT_EQ(TeachRecordNumbers(), (std::vector<int>{3, 4, 5, 6}));
    EXPECT_TRUE(host.ui.bAllScriptUsed());
}

TEST_F(Run, OtherPoliciesRaiseTheLimit) {
    host.maxParts = 2;
    host.policy = 7;
    Parts(3, 4);
    host.Recompute(ps, 0, 0, 1, 1, 0);
    EXPECT_EQ(host.maxParts, 9);
    EXPECT_EQ(ps.TestParts().iGetSize(), 4);
}

TEST_F(Run, UseAlternativeValueSwitchesEveryToolAndReextractsAll) {
    host.SetTarget({7, 818, 0, 256, 16, 8});
    OBracketTool& tool = Tool();
    Parts(2, 2);
    host.Recompute(ps, 0, 0, 1, 1, 0);
    EXPECT_FALSE(ps.bGetCoordTransSwitch());
    const int before = tool.extractions;
    host.properties.useAlternativeValue = 1;
    host.Recompute(ps, 0, 1, 1, 1, 0);
    EXPECT_TRUE(ps.bGetCoordTransSwitch());
    EXPECT_TRUE(tool.bGetCoordTransSwitch());
    EXPECT_EQ(tool.extractions - before, 4);  // teach and test parts despite test-only
    EXPECT_FALSE(tool.iGetModifiedFlag());
}

TEST_F(Run, CoordinateSwitchNeedsACameraEditionAndFirmware818) {
    host.properties.useAlternativeValue = 1;
    Tool();
    for (auto [hw, sw] : {std::pair{16, 818}, {1024, 828}, {7, 808}, {1, 818}}) {
        host.SetTarget({hw, sw, 0, 6, 1, 8});
        host.Recompute(ps, 0, 0, 1, 1, 0);
        EXPECT_FALSE(ps.bGetCoordTransSwitch()) << hw << " " << sw;
    }
    host.SetTarget({512, 818, 0, 6, 1, 8});
    host.Recompute(ps, 0, 0, 1, 1, 0);
    EXPECT_TRUE(ps.bGetCoordTransSwitch());
}

TEST_F(Run, WithoutQualityCameraEditionsMarkEveryFeature) {
    host.SetTarget({9, 818, 0, 6, 1, 8});
    host.properties.useQuality = 0;
    Parts(1, 1);
    ps.opGetSubType(0)->Vectors().Resize(1);
    ps.opGetSubType(0)->Vectors().opGetAt(0)->Add(OType_Vector());
    host.Recompute(ps, 0, 0, 1, 1, 0);
    EXPECT_TRUE(FeatureOption::bGet(ps.opGetSubType(0)->Vectors().opGetAt(0)->At(0).option,
                                    FeatureOption::kNotForQuality));
}

TEST_F(Run, ResortKeepsTheShownPart) {
    Parts(4);
    const int orientations[] = {2, 1, 2, 1};
    for (int i = 0; i < 4; ++i)
        ps.TeachParts().GetAt_NoSort(i)->SetOrientation(orientations[i]);
    ps.TeachParts().SetSortType(PartSortType::Orientation);
    ASSERT_EQ(TeachRecordNumbers(), (std::vector<int>{2, 4, 1, 3}));
    ps.iShowTeachPartNo(3);
    OType_Part* shown = ps.TeachParts().GetAt(3);
    ASSERT_EQ(shown->iGetRecordNo(), 3);
    shown->SetOrientation(1);
    host.Recompute(ps, 0, 0, 1, 0, 0);
    EXPECT_EQ(TeachRecordNumbers(), (std::vector<int>{2, 3, 4, 1}));
    EXPECT_EQ(ps.iShowTeachPartGetNo(), 1);
}

TEST_F(Run, ModifiedToolForcesResortingAndFlagsAreCleared) {
    OBracketTool& tool = Tool();
    Parts(2, 2);
    host.Recompute(ps, 1, 0, 0, 0, 0);
    EXPECT_FALSE(tool.iGetModifiedFlag());
    for (int i = 0; i < 2; ++i) {
        EXPECT_FALSE(ps.TeachParts().GetAt(i)->bGetModified());
        EXPECT_FALSE(ps.TestParts().GetAt(i)->bGetModified());
    }
}

TEST_F(Run, InvalidShownPartsBecomePartZero) {
    Parts(2, 2);
    ps.iShowTestPartNo(-1, 1);
    host.Recompute(ps, 0, 0, 0, 0, 0);
    EXPECT_EQ(ps.iShowTestPartGetNo(), 0);
}

TEST_F(Run, ContourViewThatCannotBeCreatedStopsTheRun) {
    ps.DataOutputs().Add(std::make_unique<ORecordingOutput>(&calls));
    Parts(1);
    host.contourViewFails = true;
    host.Recompute(ps, 0, 0, 1, 1, 0);
    EXPECT_EQ(host.lastRecomputeResult, 0);
    EXPECT_TRUE(host.classifier.calls.empty());
    // The data outputs' bracket is closed all the same.
    EXPECT_EQ(calls.log.back(), "output end");
    EXPECT_FALSE(OExtractionRun::bIsRunning());
}

TEST_F(Run, RecomputeAllEnforcesTheLimitOverAllSetsAndEndsWithTheActualOne) {
    OType_ZRPartSet& first = ps;
    AddTeachPart(first, Block(2, 0, 4));
    OType_ZRPartSet& second = host.AddPartSet();
    for (int i = 0; i < 7; ++i)
        AddTeachPart(second, Block(2, 0, 4));
    host.sets.iSetActualPartSetNo(0);
    host.maxParts = 3;
    host.policy = 2;
    EXPECT_EQ(OExtractionRun(host).RecomputeAll(0, 0, 1, 1, 0), 1);
    EXPECT_EQ(host.maxParts, 12);
    EXPECT_EQ(host.classifier.teachSets, (std::vector<const OType_ZRPartSet*>{&second, &first}));
    EXPECT_EQ(first.TeachParts().GetAt(0)->Features().iGetNumOfFeatures(), 12);
    EXPECT_EQ(second.TeachParts().GetAt(6)->Features().iGetNumOfFeatures(), 12);
}
