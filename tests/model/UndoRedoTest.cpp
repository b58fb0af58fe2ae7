#include <gtest/gtest.h>

#include "ModelTestSupport.h"
#include "PartSetSamples.h"
#include "model/partset/OType_ZRPartSet.h"

using namespace modeltest;

namespace {

// The part set's state as bytes: everything undo must bring back.
Bytes State(const OType_ZRPartSet& ps) {
    return ps.Encode();
}

// An editing step as the document performs it: change, then store.
void Edit(OType_ZRPartSet& ps, const std::string& what, int view = 32860) {
    ps.SetName(what);
    ps.UndoRedo().bStoreUndoData(ps, "UNDO:" + what, "UNDO:" + what + " ...", view);
}

TEST(UndoRedo, ANewPartSetHasNothingToUndoOrRedo) {
    OType_ZRPartSet ps;
    const Bytes start = State(ps);
    EXPECT_FALSE(ps.UndoRedo().bHasUndoData());
    EXPECT_FALSE(ps.UndoRedo().bHasRedoData());
    EXPECT_FALSE(ps.UndoRedo().bMakeUndo(ps, 1));
    EXPECT_FALSE(ps.UndoRedo().bMakeRedo(ps, 1));
    EXPECT_EQ(State(ps), start);
    EXPECT_EQ(ps.UndoRedo().GetUndoShortText(), "");
    EXPECT_EQ(ps.UndoRedo().GetRedoLongText(), "");
    EXPECT_EQ(ps.UndoRedo().iGetUndoViewCommand(), 0);
}

TEST(UndoRedo, UndoAndRedoWalkTheStepsWithTheirTextsAndViews) {
    OType_ZRPartSet ps;
    const Bytes s0 = State(ps);
    Edit(ps, "first", 32860);
    const Bytes s1 = State(ps);
    Edit(ps, "second", 32791);
    const Bytes s2 = State(ps);
    OUndoRedoSupport& undo = ps.UndoRedo();
    EXPECT_EQ(undo.GetUndoShortText(), "UNDO:second");
    EXPECT_EQ(undo.GetUndoLongText(), "UNDO:second ...");
    EXPECT_EQ(undo.iGetUndoViewCommand(), 32791);
    EXPECT_FALSE(undo.bHasRedoData());

    ASSERT_TRUE(undo.bMakeUndo(ps, 1));
    EXPECT_EQ(State(ps), s1);
    EXPECT_EQ(undo.GetUndoShortText(), "UNDO:first");
    EXPECT_EQ(undo.iGetUndoViewCommand(), 32860);
    EXPECT_EQ(undo.GetRedoShortText(), "UNDO:second");
    EXPECT_EQ(undo.GetRedoLongText(), "UNDO:second ...");
    EXPECT_EQ(undo.iGetRedoViewCommand(), 32791);

    ASSERT_TRUE(undo.bMakeUndo(ps, 1));
    EXPECT_EQ(State(ps), s0);
    EXPECT_FALSE(undo.bHasUndoData());
    EXPECT_FALSE(undo.bMakeUndo(ps, 1)) << "nothing before the start";
    EXPECT_EQ(State(ps), s0);
    EXPECT_EQ(undo.GetRedoShortText(), "UNDO:first");

    ASSERT_TRUE(undo.bMakeRedo(ps, 1));
    EXPECT_EQ(State(ps), s1);
    ASSERT_TRUE(undo.bMakeRedo(ps, 1));
    EXPECT_EQ(State(ps), s2);
    EXPECT_FALSE(undo.bMakeRedo(ps, 1)) << "nothing after the end";
    EXPECT_EQ(State(ps), s2);
    EXPECT_EQ(undo.GetRedoShortText(), "");
    EXPECT_EQ(undo.iGetRedoViewCommand(), 0);
}

TEST(UndoRedo, StoringAfterAnUndoDropsTheRedoBranch) {
    OType_ZRPartSet ps;
    Edit(ps, "a");
    Edit(ps, "b");
    Edit(ps, "c");
    ps.UndoRedo().bMakeUndo(ps, 1);
    ps.UndoRedo().bMakeUndo(ps, 1);  // at "a"
    EXPECT_EQ(ps.GetName(), "a");
    Edit(ps, "d");
    EXPECT_FALSE(ps.UndoRedo().bHasRedoData());
    EXPECT_EQ(ps.UndoRedo().iGetNumSteps(), 3u);  // start, a, d
    ps.UndoRedo().bMakeUndo(ps, 1);
    EXPECT_EQ(ps.GetName(), "a");
    ps.UndoRedo().bMakeUndo(ps, 1);
    EXPECT_EQ(ps.GetName(), "");
    ps.UndoRedo().bMakeRedo(ps, 1);
    ps.UndoRedo().bMakeRedo(ps, 1);
    EXPECT_EQ(ps.GetName(), "d");
}

TEST(UndoRedo, MovingWithoutRestoreLeavesThePartSetAlone) {
    OType_ZRPartSet ps;
    Edit(ps, "a");
    Edit(ps, "b");
    EXPECT_TRUE(ps.UndoRedo().bMakeUndo(ps, 0));
    EXPECT_EQ(ps.GetName(), "b");
    EXPECT_TRUE(ps.UndoRedo().bHasRedoData());
    EXPECT_TRUE(ps.UndoRedo().bMakeRedo(ps, 0));
    EXPECT_FALSE(ps.UndoRedo().bHasRedoData());
}

TEST(UndoRedo, EveryPartSetHasItsOwnHistory) {
    OType_ZRPartSet one, two, three;
    Edit(one, "one-a");
    Edit(two, "two-a");
    Edit(one, "one-b");
    Edit(three, "three-a");
    Edit(two, "two-b");
    Edit(two, "two-c");

    EXPECT_TRUE(two.UndoRedo().bMakeUndo(two, 1));
    EXPECT_EQ(two.GetName(), "two-b");
    EXPECT_EQ(one.GetName(), "one-b") << "undo in one part set leaves the others";
    EXPECT_TRUE(one.UndoRedo().bMakeUndo(one, 1));
    EXPECT_EQ(one.GetName(), "one-a");
    EXPECT_EQ(two.GetName(), "two-b");
    EXPECT_TRUE(three.UndoRedo().bMakeUndo(three, 1));
    EXPECT_EQ(three.GetName(), "");
    EXPECT_FALSE(three.UndoRedo().bHasUndoData());
    EXPECT_TRUE(two.UndoRedo().bMakeUndo(two, 1));
    EXPECT_EQ(two.GetName(), "two-a");
    EXPECT_TRUE(two.UndoRedo().bMakeRedo(two, 1));
    EXPECT_TRUE(two.UndoRedo().bMakeRedo(two, 1));
    EXPECT_EQ(two.GetName(), "two-c");
    EXPECT_EQ(one.GetName(), "one-a");
    EXPECT_EQ(one.UndoRedo().GetRedoShortText(), "UNDO:one-b");
}

TEST(UndoRedo, RestartingStartsFromTheCurrentState) {
    OType_ZRPartSet ps;
    Edit(ps, "a");
    Edit(ps, "b");
    ps.UndoRedo().bMakeUndo(ps, 1);
    ps.SetName("loaded");
    EXPECT_TRUE(ps.UndoRedo().bStartUndoRedo(ps));
    EXPECT_FALSE(ps.UndoRedo().bHasUndoData());
    EXPECT_FALSE(ps.UndoRedo().bHasRedoData());
    EXPECT_EQ(ps.UndoRedo().iGetNumSteps(), 1u);
    Edit(ps, "c");
    ps.UndoRedo().bMakeUndo(ps, 1);
    EXPECT_EQ(ps.GetName(), "loaded");
}

TEST(UndoRedo, UndoRestoresPartsToolsTypesAndShowStateExactly) {
    OType_ZRPartSet ps;
    FillSamplePartSet(ps);
    ps.UndoRedo().bStartUndoRedo(ps);
    const Bytes before = State(ps);

    ps.TeachParts().RemoveAt(1);
    ps.TeachParts().GetAt(0)->SetOrientation(-1);
    ps.TestParts().GetAt(0)->Features().At(3).value = -99.0;
    ps.TestParts().SetSortType(PartSortType::Comment);
    ps.Tools().RemoveAt(0);
    dynamic_cast<OTestTool&>(*ps.Tools().opGetAt(0)).SetThreshold(7.0);
    ps.DataOutputs().Swap(0, 1);
    ps.opGetSubType(1)->SetTolerance(20);
    ps.opGetSubType(2)->Vectors().opGetAt(0)->At(0).mean = 1.0;
    ps.RemoveSubTypeAt(0);
    ps.SetFeatureEnable(2, 0);
    ps.bSetFeatureName(3, "renamed");
    ps.DefaultReferences().Reset();
    ps.iShowSetTeachTest(1);
    ps.iShowTeachPartNo(0);
    ps.iShowFeatureNo(3);
    ps.iShowToolNo(0);
    ps.UndoRedo().bStoreUndoData(ps, "UNDO:many", "UNDO:many ...", 0);
    const Bytes after = State(ps);
    ASSERT_NE(after, before);

    ASSERT_TRUE(ps.UndoRedo().bMakeUndo(ps, 1));
    EXPECT_EQ(State(ps), before);
    EXPECT_NE(dynamic_cast<OTestTool*>(ps.Tools().opGetAt(0)), nullptr)
        << "restored tools keep their kind";
    EXPECT_NE(dynamic_cast<OType_ConfigTool_Opaque*>(ps.Tools().opGetAt(2)), nullptr);
    EXPECT_EQ(ps.iShowFeatureGetNo(), 14);
    EXPECT_EQ(ps.TestParts().GetSortType(), PartSortType::RecordNo);
    ASSERT_TRUE(ps.UndoRedo().bMakeRedo(ps, 1));
    EXPECT_EQ(State(ps), after);
}

TEST(UndoRedo, StepsAreNotChangedByLaterEditsButShareCameraImages) {
    OType_ZRPartSet ps;
    FillSamplePartSet(ps);
    ps.UndoRedo().bStartUndoRedo(ps);
    const Bytes before = State(ps);
    const OType_Image* image = ps.TestParts().GetAt(0)->opGetImage(0);

    // Edit the live objects in place, without storing a step.
    OType_Part* part = ps.TestParts().GetAt(0);
    part->SetComment("edited in place");
    part->Features().At(0).value = 12345.0;
    ps.Tools().opGetAt(1)->SetName("edited tool");
    ps.DataOutputs().opGetAt(0)->SetName("edited output");
    ps.opGetSubType(0)->SetName("edited type");
    ps.opGetSubType(0)->Vectors().opGetAt(0)->At(0).maximum = 5.0;
    ps.UndoRedo().bStoreUndoData(ps, "UNDO:edit", "UNDO:edit ...", 0);
    part->SetComment("edited after the store");
    ps.Tools().opGetAt(1)->SetName("edited again");

    ASSERT_TRUE(ps.UndoRedo().bMakeUndo(ps, 1));
    EXPECT_EQ(State(ps), before) << "the first step kept its own copy";
    EXPECT_EQ(ps.TestParts().GetAt(0)->opGetImage(0), image) << "images are shared";
    ASSERT_TRUE(ps.UndoRedo().bMakeRedo(ps, 1));
    EXPECT_EQ(ps.TestParts().GetAt(0)->GetComment(), "edited in place");
    EXPECT_EQ(ps.Tools().opGetAt(1)->GetName(), "edited tool");
    EXPECT_EQ(ps.TestParts().GetAt(0)->opGetImage(0), image);

    // Restored objects are copies too: editing them leaves the step alone.
    ps.TestParts().GetAt(0)->SetComment("edited restored");
    ASSERT_TRUE(ps.UndoRedo().bMakeUndo(ps, 1));
    ASSERT_TRUE(ps.UndoRedo().bMakeRedo(ps, 1));
    EXPECT_EQ(ps.TestParts().GetAt(0)->GetComment(), "edited in place");
}

// A step must not cost a copy of every part: unchanged contours and features are shared
// with the live part set, and a change separates only the part it touches.
TEST(UndoRedo, StepsShareUnchangedPartDataWithTheLivePartSet) {
    OType_ZRPartSet ps;
    FillSamplePartSet(ps);
    ps.UndoRedo().bStartUndoRedo(ps);
    const Bytes before = State(ps);
    std::vector<const int16_t*> runs;
    for (int i = 0; i < ps.TeachParts().iGetSize(); ++i)
        runs.push_back(ps.TeachParts().GetAt(i)->opGetConturData());

    ps.TeachParts().GetAt(1)->Features().At(0).value = -1.0;
    ps.UndoRedo().bStoreUndoData(ps, "UNDO:one", "UNDO:one ...", 0);
    const Bytes after = State(ps);
    ps.TeachParts().GetAt(2)->SetConturData({4, -9});

    ASSERT_TRUE(ps.UndoRedo().bMakeUndo(ps, 1));
    EXPECT_EQ(State(ps), before);
    for (int i = 0; i < ps.TeachParts().iGetSize(); ++i) {
        EXPECT_EQ(ps.TeachParts().GetAt(i)->opGetConturData(), runs[static_cast<size_t>(i)])
            << "part " << i << ": restored runs are the shared ones";
    }
    ASSERT_TRUE(ps.UndoRedo().bMakeRedo(ps, 1));
    EXPECT_EQ(State(ps), after) << "the later change of part 2 did not reach the step";
    EXPECT_EQ(ps.TeachParts().GetAt(1)->Features().dGetFeatureValueAt(0), -1.0);
}

TEST(UndoRedo, StepLimitDropsTheOldestAndKeepsTheCurrentState) {
    OType_ZRPartSet ps;
    ps.UndoRedo().SetLimits(3, UINT64_MAX);
    for (const char* n : {"a", "b", "c", "d", "e"})
        Edit(ps, n);
    EXPECT_EQ(ps.UndoRedo().iGetNumSteps(), 3u);
    EXPECT_EQ(ps.GetName(), "e");
    ASSERT_TRUE(ps.UndoRedo().bMakeUndo(ps, 1));
    EXPECT_EQ(ps.GetName(), "d");
    ASSERT_TRUE(ps.UndoRedo().bMakeUndo(ps, 1));
    EXPECT_EQ(ps.GetName(), "c");
    EXPECT_FALSE(ps.UndoRedo().bMakeUndo(ps, 1)) << "older steps were dropped";
    ASSERT_TRUE(ps.UndoRedo().bMakeRedo(ps, 1));
    ASSERT_TRUE(ps.UndoRedo().bMakeRedo(ps, 1));
    EXPECT_EQ(ps.GetName(), "e");

    ps.UndoRedo().SetLimits(0, UINT64_MAX);  // at least two steps stay
    EXPECT_EQ(ps.UndoRedo().iGetNumSteps(), 2u);
    ASSERT_TRUE(ps.UndoRedo().bMakeUndo(ps, 1));
    EXPECT_EQ(ps.GetName(), "d");
}

TEST(UndoRedo, ByteLimitDropsTheOldestButNeverTheCurrentState) {
    OType_ZRPartSet ps;
    FillSamplePartSet(ps);
    ps.UndoRedo().bStartUndoRedo(ps);
    ps.UndoRedo().SetLimits(100, 1);  // every step is larger than the budget
    Edit(ps, "a");
    Edit(ps, "b");
    EXPECT_EQ(ps.UndoRedo().iGetNumSteps(), 1u);
    EXPECT_FALSE(ps.UndoRedo().bHasUndoData());
    EXPECT_EQ(ps.GetName(), "b");

    // After undoing, limits never drop the state that is shown.
    ps.UndoRedo().SetLimits(100, UINT64_MAX);
    Edit(ps, "c");
    Edit(ps, "d");
    ps.UndoRedo().bMakeUndo(ps, 1);
    ps.UndoRedo().bMakeUndo(ps, 1);  // at "b", redo c and d
    ps.UndoRedo().SetLimits(100, 1);
    EXPECT_TRUE(ps.UndoRedo().bHasRedoData());
    ASSERT_TRUE(ps.UndoRedo().bMakeRedo(ps, 1));
    EXPECT_EQ(ps.GetName(), "c");
}

}  // namespace
