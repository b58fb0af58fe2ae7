// The contour view's commands through its controller: states, copy / cut / paste, delete,
// the quality toggle, tape-measure settings, mouse actions and the printed samples.
#include <gtest/gtest.h>

#include "ExtractionTestHost.h"
#include "classification/ODlg_CaliperSettings.h"
#include "extraction/OContourEditCommands.h"
#include "extraction/OContourViewController.h"
#include "extraction/ODlg_ContourLimits.h"
#include "model/strings/ResStr.h"
#include "tools/OType_ConfigTool_Combination.h"

namespace {

using namespace ContourViewCommand;
constexpr int kWidth = 630;
constexpr int kHeight = 420;

struct Commands : ::testing::Test {
    OExtractionTestHost host;
    OType_ZRPartSet& ps = host.PartSet();
    OContourViewController view{host.Engine(), host};
    const std::string format = ResStr(kToolClipboardFormat);

    void SetUp() override {
        view.SetClientSize(kWidth, kHeight);
        AddTeachPart(ps, Block(50, 0, 40));
    }
    OType_ConfigTool& Roi(const std::string& name, const ORect& r = {0, 0, 9, 9}) {
        OType_ConfigTool& t = AddTool(ps, 1, 30, r);
        t.SetName(name);
        return t;
    }
    void SelectTool(int position) {
        ps.iShowFeatureNo(ps.Tools().GetFeatureIndex_First(position, ps.iGetFixedFeatures()));
    }
    OType_ConfigTool_Combination& Math(int readsToolId) {
        auto& c = static_cast<OType_ConfigTool_Combination&>(AddTool(ps, 8, 50, {}));
        c.SetOperand(0, OCombinationOperand::Tool(readsToolId));
        c.SetOperand(1, OCombinationOperand::Constant(2));
        return c;
    }
};

}  // namespace

TEST_F(Commands, StatesFollowTheSelection) {
    ps.iShowFeatureNo(3);
    EXPECT_EQ(view.GetCommandState(kCopyTool), (OCommandState{false, false}));
    EXPECT_EQ(view.GetCommandState(kDelete), (OCommandState{true, false}));
    EXPECT_EQ(view.GetCommandState(kToolProperties), (OCommandState{true, false}));
    EXPECT_EQ(view.GetCommandState(kPartProperties), (OCommandState{true, false}));
    EXPECT_EQ(view.GetCommandState(kPasteTool), (OCommandState{false, false}));  // empty clipboard
    Roi("A");
    SelectTool(0);
    EXPECT_EQ(view.GetCommandState(kCutTool), (OCommandState{true, false}));
    EXPECT_EQ(host.Engine().ViewState().selectedTool, 0);
    // The test list is empty.
    ps.iShowSetTeachTest(0);
    EXPECT_FALSE(view.GetCommandState(kPrint).enabled);
    EXPECT_TRUE(view.GetCommandState(kToolProperties).enabled);
    EXPECT_FALSE(view.GetCommandState(ContourEditCommand::kCombineOr).enabled);
    // Magnifier check mark.
    EXPECT_FALSE(view.GetCommandState(kMagnifier).checked);
    view.bExecute(kMagnifier);
    EXPECT_TRUE(view.GetCommandState(kMagnifier).checked);
}

TEST_F(Commands, QualityToggleStates) {
    ps.iShowFeatureNo(2);
    EXPECT_EQ(view.GetCommandState(kUseForQuality), (OCommandState{true, true}));
    EXPECT_TRUE(view.bExecute(kUseForQuality));
    EXPECT_FALSE(ps.bIsFeatureEnabled(2));
    EXPECT_EQ(view.GetCommandState(kUseForQuality), (OCommandState{true, false}));
    EXPECT_EQ(host.recomputes.back(), (ORecomputeCall{0, 0, 1, 1, 0}));
    host.featureSelection = false;
    EXPECT_EQ(view.GetCommandState(kUseForQuality), (OCommandState{false, true}));
    EXPECT_FALSE(view.bExecute(kUseForQuality));
    host.featureSelection = true;
    ps.SetFixedFeatures(0);  // no feature at all
    EXPECT_EQ(view.GetCommandState(kUseForQuality), (OCommandState{false, false}));
}

TEST_F(Commands, CopyAndPasteNamesTheCopy) {
    Roi("Edge", {3, 4, 13, 14});
    Roi("Edge (copy 1)");
    SelectTool(0);
    ASSERT_TRUE(view.bExecute(kCopyTool));
    ASSERT_TRUE(host.clipboard.count(format));
    EXPECT_TRUE(view.GetCommandState(kPasteTool).enabled);
    ASSERT_TRUE(view.bExecute(kPasteTool));
    ASSERT_EQ(ps.Tools().iGetNum(), 3);
    const OType_ConfigTool& pasted = *ps.Tools().opGetAt(2);
    EXPECT_EQ(pasted.GetName(), "Edge (copy 2)");
    EXPECT_EQ(pasted.GetRegion(), (ORect{3, 4, 13, 14}));
    EXPECT_NE(pasted.iGetToolId(), ps.Tools().opGetAt(0)->iGetToolId());
    EXPECT_EQ(ps.UndoRedo().GetUndoShortText(), "UNDO:Added tool");
    EXPECT_EQ(ps.UndoRedo().GetUndoLongText(), "UNDO:Added the tool ...");
    EXPECT_EQ(ps.UndoRedo().iGetUndoViewCommand(), 32860);
    // The pasted tool was extracted.
    EXPECT_EQ(ps.TeachParts().GetAt(0)->Features().At(14).value, 11 * 11);
}

TEST_F(Commands, CopyFailureShowsTheMessage) {
    Roi("A");
    SelectTool(0);
    host.clipboardWriteWorks = false;
    host.ui.ExpectMessage(MsgResult::Ok, "clipboard");
    EXPECT_FALSE(view.bExecute(kCopyTool));
    // Cut does not delete what it could not copy.
    host.ui.ExpectMessage(MsgResult::Ok, "clipboard");
    EXPECT_FALSE(view.bExecute(kCutTool));
    EXPECT_EQ(ps.Tools().iGetNum(), 1);
    EXPECT_TRUE(host.ui.bAllScriptUsed());
}

TEST_F(Commands, CutCopiesAndDeletes) {
    Roi("A");
    SelectTool(0);
    host.ui.ExpectMessage(MsgResult::Ok, "'A'");
    EXPECT_TRUE(view.bExecute(kCutTool));
    EXPECT_EQ(ps.Tools().iGetNum(), 0);
    EXPECT_TRUE(host.clipboard.count(format));
}

TEST_F(Commands, PasteOfAToolThatNeedsAdjusting) {
    Roi("Tall", {0, 0, 9, 900});  // above the 512-row image: bit 1
    SelectTool(0);
    view.bExecute(kCopyTool);
    host.ui.ExpectMessage(MsgResult::Cancel, "Tall");
    host.ui.ExpectMessage(MsgResult::Ok, "not been pasted");
    EXPECT_FALSE(view.bExecute(kPasteTool));
    EXPECT_EQ(ps.Tools().iGetNum(), 1);
    host.ui.ExpectMessage(MsgResult::Ok, "Tall");
    EXPECT_TRUE(view.bExecute(kPasteTool));
    ASSERT_EQ(ps.Tools().iGetNum(), 2);
    EXPECT_EQ(ps.Tools().opGetAt(1)->GetRegion(), (ORect{0, 0, 9, 511}));
    EXPECT_TRUE(host.ui.bAllScriptUsed()) << host.ui.TranscriptText();
}

TEST_F(Commands, PasteRefusals) {
    Roi("A");
    SelectTool(0);
    view.bExecute(kCopyTool);
    // Not allowed by the session: the tool-limit message.
    host.toolAllowed = false;
    host.ui.ExpectMessage(MsgResult::Ok, "cannot be added");
    EXPECT_FALSE(view.bExecute(kPasteTool));
    host.toolAllowed = true;
    // The device's tool capacity reached.
    host.SetTarget(host.target, 1);
    host.ui.ExpectMessage(MsgResult::Ok, "largest number of tools");
    EXPECT_FALSE(view.bExecute(kPasteTool));
    EXPECT_FALSE(view.GetCommandState(kPasteTool).enabled);
    host.SetTarget(host.target, 20);
    // Unreadable clipboard.
    host.clipboard[format] = {1, 2, 3};
    host.ui.ExpectMessage(MsgResult::Ok, "could not be read");
    EXPECT_FALSE(view.bExecute(kPasteTool));
    // A kind the device does not offer (presence byte 0): not adaptable.
    host.info.SetU8(ZRINFO::kPresence + 3, 0);
    Roi("M");
    auto& measure = AddTool(ps, 4, 34, {0, 0, 5, 5});
    measure.SetName("M");
    SelectTool(2);
    view.bExecute(kCopyTool);
    host.ui.ExpectMessage(MsgResult::Ok, "cannot be adapted");
    EXPECT_FALSE(view.bExecute(kPasteTool));
    EXPECT_EQ(ps.Tools().iGetNum(), 3);
    EXPECT_TRUE(host.ui.bAllScriptUsed()) << host.ui.TranscriptText();
}

TEST_F(Commands, DeleteToolWithItsDependentCombinations) {
    OType_ConfigTool& roi = Roi("Base");
    Roi("Other");
    auto& m1 = Math(roi.iGetToolId());
    m1.SetName("Double");
    auto& m2 = Math(roi.iGetToolId());
    m2.SetName("Twice");
    auto& m3 = Math(m2.iGetToolId());  // reads a collected tool: goes too
    m3.SetName("Chain");
    ps.opGetSubType(0)->Vectors().Resize(1);
    OType_VectorArray& vectors = *ps.opGetSubType(0)->Vectors().opGetAt(0);
    for (int i = 0; i < 17; ++i) {
        OType_Vector v;
        v.mean = i;
        vectors.Add(v);
    }
    SelectTool(0);
    host.ui.ExpectMessage(
        MsgResult::Ok,
        "'Base'?\nThe following tools use it and will be deleted as well:\nDouble\nTwice\nChain");
    EXPECT_TRUE(view.bExecute(kDelete));
    EXPECT_TRUE(host.ui.bAllScriptUsed()) << host.ui.TranscriptText();
    ASSERT_EQ(ps.Tools().iGetNum(), 1);
    EXPECT_EQ(ps.Tools().opGetAt(0)->GetName(), "Other");
    // The feature records of the removed tools went with them.
    ASSERT_EQ(vectors.iGetNumOfVectors(), 13);
    EXPECT_EQ(vectors.At(12).mean, 13);
    EXPECT_EQ(ps.UndoRedo().GetUndoShortText(), "UNDO:Removed Config Tool");
    EXPECT_EQ(ps.UndoRedo().GetUndoLongText(), "UNDO:Removed the tool ...");
    EXPECT_EQ(host.selectedFeatures.back(), 12);
    EXPECT_EQ(ps.TeachParts().GetAt(0)->Features().iGetNumOfFeatures(), 13);
}

TEST_F(Commands, DeleteCancelledChangesNothing) {
    Roi("A");
    SelectTool(0);
    host.ui.ExpectMessage(MsgResult::Cancel, "'A'");
    EXPECT_FALSE(view.bExecute(kDelete));
    EXPECT_EQ(ps.Tools().iGetNum(), 1);
    EXPECT_TRUE(host.recomputes.empty());
}

TEST_F(Commands, DeletingABasicFeatureSwitchesItOff) {
    host.Recompute(ps, 0, 0, 1, 1, 0);
    ps.opGetSubType(1)->Vectors().Resize(2);
    for (int o = 0; o < 2; ++o)
        for (int i = 0; i < 12; ++i)
            ps.opGetSubType(1)->Vectors().opGetAt(o)->Add(OType_Vector());
    ps.iShowFeatureNo(BasicFeature::kArea);
    host.ui.ExpectMessage(MsgResult::Ok, "'Area'");
    EXPECT_TRUE(view.bExecute(kDelete));
    for (int o = 0; o < 2; ++o)
        EXPECT_TRUE(FeatureOption::bGet(ps.opGetSubType(1)->Vectors().opGetAt(o)->At(2).option,
                                        FeatureOption::kNotForQuality));
    // The next run marks the feature of every part.
    EXPECT_TRUE(FeatureOption::bGet(ps.TeachParts().GetAt(0)->Features().At(2).option,
                                    FeatureOption::kNotForQuality));
    EXPECT_EQ(ps.UndoRedo().GetUndoShortText(), "UNDO:Removed Config Tool");
}

TEST_F(Commands, MovingAToolKeepsItsSizeAndRecomputes) {
    OType_ConfigTool& tool = Roi("A", {10, 5, 29, 24});
    host.Recompute(ps, 1, 0, 1, 1, 0);
    EXPECT_EQ(ps.TeachParts().GetAt(0)->Features().At(12).value, 400);
    // Click inside the tool: it is picked and tracked.
    const OLeftButtonDown down = view.OnLeftButtonDown({50, 385});
    ASSERT_EQ(down.action, OLeftButtonDown::Action::TrackTool);
    EXPECT_EQ(down.tool, 0);
    EXPECT_EQ(host.selectedFeatures.back(), 12);
    const ORect after{down.tracker.left + 30, down.tracker.top, down.tracker.right + 30,
                      down.tracker.bottom};
    ASSERT_TRUE(view.OnToolTracked(0, down.tracker, after));
    EXPECT_EQ(tool.GetRegion(), (ORect{40, 5, 59, 24}));
    // Ten columns of the moved region lie on the 50-column part.
    EXPECT_EQ(ps.TeachParts().GetAt(0)->Features().At(12).value, 200);
    EXPECT_EQ(ps.UndoRedo().GetUndoShortText(), "UNDO:Changed Config Tool");
    EXPECT_EQ(ps.UndoRedo().GetUndoLongText(), "UNDO:Changed the position and or rotation");
    EXPECT_EQ(ps.UndoRedo().iGetUndoViewCommand(), 32860);
}

TEST_F(Commands, TheKeyboardMovesAndResizesTheSelectedTool) {
    OType_ConfigTool& tool = Roi("A", {10, 5, 29, 24});
    host.Recompute(ps, 1, 0, 1, 1, 0);
    EXPECT_FALSE(view.bNudgeSelectedTool(1, 0, 0, 0)) << "the basic feature is selected";
    SelectTool(0);
    const size_t recomputes = host.recomputes.size();
    ASSERT_TRUE(view.bNudgeSelectedTool(1, -1, 0, 0));
    EXPECT_EQ(tool.GetRegion(), (ORect{11, 4, 30, 23}));
    EXPECT_EQ(host.recomputes.size(), recomputes + 1);
    EXPECT_EQ(ps.UndoRedo().GetUndoShortText(), "UNDO:Changed Config Tool");
    ASSERT_TRUE(view.bNudgeSelectedTool(0, 0, 5, -3));
    EXPECT_EQ(tool.GetRegion(), (ORect{11, 4, 35, 20})) << "left and lower edges stay";
    EXPECT_EQ(ps.TeachParts().GetAt(0)->Features().At(12).value, 25 * 17);
    // Narrowing below one column stops at one column; a step that changes nothing is none.
    ASSERT_TRUE(view.bNudgeSelectedTool(0, 0, -100, 0));
    EXPECT_EQ(tool.GetRegion().Width(), 0);
    EXPECT_FALSE(view.bNudgeSelectedTool(0, 0, -1, 0));
    EXPECT_EQ(host.recomputes.size(), recomputes + 3);
}

TEST(ContourKeyboard, NudgedRegionsKeepTheirSizeAndStayInRange) {
    const ORect r{10, 20, 19, 39};
    EXPECT_EQ(OContourViewController::NudgedRegion(r, 10, 10, 0, 0), (ORect{20, 30, 29, 49}));
    EXPECT_EQ(OContourViewController::NudgedRegion(r, 0, 0, 0, 0), std::nullopt);
    EXPECT_EQ(OContourViewController::NudgedRegion(r, 0, 0, -50, -50), (ORect{10, 20, 10, 20}));
    // At the end of the coordinate range a move would squeeze the region: refused.
    const ORect edge{32760, 0, 32767, 10};
    EXPECT_EQ(OContourViewController::NudgedRegion(edge, 1, 0, 0, 0), std::nullopt);
    EXPECT_EQ(OContourViewController::NudgedRegion(edge, -1, 0, 0, 0), (ORect{32759, 0, 32766, 10}));
}

TEST_F(Commands, ClickOnEmptyAreaStartsTheTapeMeasure) {
    const OLeftButtonDown down = view.OnLeftButtonDown({300, 100});
    EXPECT_EQ(down.action, OLeftButtonDown::Action::TapeMeasure);
    EXPECT_EQ(view.OnMouseMove({330, 60}, true), "X:300 Y:339");
    const auto lines = view.TapeMeasureText();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "X:270 Y:299 - X:300 Y:339");
    EXPECT_EQ(lines[2], "D:50.00");
    view.OnLeftButtonUp();
    EXPECT_TRUE(view.TapeMeasureText().empty());
    // In the scale band nothing starts.
    EXPECT_EQ(view.OnLeftButtonDown({10, 100}).action, OLeftButtonDown::Action::None);
}

TEST_F(Commands, MagnifierMouseRules) {
    OContourViewState& s = host.Engine().ViewState();
    view.bExecute(kMagnifier);
    EXPECT_EQ(view.OnLeftButtonDown({300, 100}).action, OLeftButtonDown::Action::RubberBand);
    EXPECT_FALSE(view.OnRightButtonDown({300, 100}));
    EXPECT_EQ(s.magnifierPercent, 110);
    view.OnRightDoubleClick({300, 100});
    EXPECT_EQ(s.magnifierPercent, 140);
    view.OnLeftDoubleClick({300, 100});
    EXPECT_EQ(s.magnifierPercent, 110);
    s.magnifierPercent = 1000;
    EXPECT_TRUE(view.OnRightButtonDown({300, 100}));  // context menu
    EXPECT_EQ(view.CursorAt({300, 100}, false), OContourCursor::Magnifier);
    view.bExecute(kMagnifier);
    EXPECT_EQ(view.CursorAt({300, 100}, true), OContourCursor::TrackerHandle);
    EXPECT_EQ(view.CursorAt({300, 100}, false), OContourCursor::Measure);
    EXPECT_EQ(view.CursorAt({10, 100}, false), OContourCursor::Arrow);
}

TEST_F(Commands, ViewingAreaBarsAreDraggedAndReapplied) {
    ps.SetFilterMode(1);
    ps.SetFilterLimits(0, 40);
    view.UpdateViewingAreaBars();
    const OContourViewState& s = host.Engine().ViewState();
    ASSERT_EQ(s.viewingAreaBarsShown, 1);
    // The upper bar at row 40 is at window y 359.
    EXPECT_EQ(view.OnLeftButtonDown({200, 359}).action, OLeftButtonDown::Action::DragUpperBar);
    view.OnMouseMove({200, 389}, true);  // row 10
    EXPECT_EQ(ps.iGetFilterLimit2(), 10);
    view.OnMouseMove({200, 398}, true);  // row 1
    view.OnLeftButtonUp();
    EXPECT_EQ(ps.iGetFilterLimit2(), 1);
    EXPECT_EQ(ps.iGetFilterLimit1(), 0);
    EXPECT_EQ(host.recomputes.back(), (ORecomputeCall{1, 0, 1, 1, 0}));
    const OType_Part& part = *ps.TeachParts().GetAt(0);
    EXPECT_EQ(part.iGetAppliedFilter(), 1);
    EXPECT_EQ(part.Features().At(BasicFeature::kArea).value, 50);
}

TEST_F(Commands, TapeMeasureSettingsMarkTheDocumentModified) {
    host.ui.AnswerDialog([](ODialogModel& m) {
        auto& d = dynamic_cast<ODlg_CaliperSettings&>(m);
        EXPECT_FALSE(d.bShowsZ()) << "contour images have no world coordinates";
        d.SetHorizontal(0.5);
        return true;
    });
    EXPECT_TRUE(view.bExecute(kTapeMeasureSettings));
    EXPECT_EQ(host.tapeX, 0.5);
    EXPECT_EQ(host.modified, 1);
    host.ui.ConfirmDialog();
    view.bExecute(kTapeMeasureSettings);
    EXPECT_EQ(host.modified, 1);  // unchanged values
}

TEST_F(Commands, DeletePartAndPartProperties) {
    AddTeachPart(ps, Block(3, 0, 4));
    AddTestPart(ps, Block(3, 0, 4));
    ps.iShowTeachPartNo(1);
    EXPECT_TRUE(view.bExecute(kDeletePart));
    EXPECT_EQ(ps.TeachParts().iGetSize(), 1);
    EXPECT_EQ(ps.iShowTeachPartGetNo(), 0);
    EXPECT_EQ(host.recomputes.size(), 1u);
    ps.iShowSetTeachTest(0);
    EXPECT_TRUE(view.bExecute(kDeletePart));
    EXPECT_TRUE(ps.TestParts().bIsEmpty());
    EXPECT_EQ(host.recomputes.size(), 1u);  // a test part: no recompute
    EXPECT_FALSE(view.bExecute(kDeletePart));
    ps.iShowSetTeachTest(1);
    host.partPropertiesChange = true;
    EXPECT_TRUE(view.bExecute(kPartProperties));
    EXPECT_EQ(host.recomputes.size(), 2u);
    EXPECT_FALSE(view.bExecute(kScreenshotToFile));  // the window's
}

TEST_F(Commands, StatusPanesAndSelectedTool) {
    Roi("A");
    SelectTool(0);
    host.Engine().ViewState().selectedTool = -1;
    const auto panes = view.StatusPanes();
    EXPECT_EQ(panes.text[1], "Sample part 1");
    EXPECT_EQ(host.Engine().ViewState().selectedTool, 0);
}

TEST(OrientationSamples, FirstTeachPartOfEachClassOrThePreviousSelection) {
    OExtractionTestHost host;
    OType_ZRPartSet& ps = host.PartSet();
    AddTeachPart(ps, Block(2, 0, 2), 2, 1);  // 0
    AddTeachPart(ps, Block(2, 0, 2), 1, 2);  // 1
    AddTeachPart(ps, Block(2, 0, 2), 1, 1);  // 2
    AddTeachPart(ps, Block(2, 0, 2), 2, 1);  // 3
    ps.iShowSetTeachTest(0);
    ps.iShowTeachPartNo(3);
    const auto pages = OExtr_Default::OrientationSampleSequence(ps);
    ASSERT_EQ(pages.size(), 4u);  // two types of two orientations
    EXPECT_EQ(pages[0], (OOrientationSample{0, 1, 2, true}));
    EXPECT_EQ(pages[1], (OOrientationSample{0, 2, 0, true}));
    EXPECT_EQ(pages[2], (OOrientationSample{1, 1, 1, true}));
    EXPECT_EQ(pages[3], (OOrientationSample{1, 2, 1, false}));
    host.Engine().PrintOrientationSamples();
    EXPECT_EQ(host.printedTeachParts, (std::vector<int>{2, 0, 1, 1}));
    EXPECT_EQ(ps.iShowGetTeachTest(), 0);
    EXPECT_EQ(ps.iShowTeachPartGetNo(), 3);
}

TEST(ViewReset, RestoresTheDefaults) {
    OExtractionTestHost host;
    OContourViewState& s = host.Engine().ViewState();
    s.zoom = 3;
    s.magnifierOn = 1;
    s.windowTop = 17;
    s.selectedTool = 4;
    host.keepMarked = 1;
    host.Engine().CancelToolSearch();
    host.Engine().ResetView();
    EXPECT_EQ(s, OContourViewState());
    EXPECT_EQ(host.Engine().iGetKeepMarkedBasicValues(), 1);
    EXPECT_EQ(host.Engine().iGetSearchCancel(), 0);
}
