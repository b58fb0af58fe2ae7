// The teach-data view without a window: list cells and columns, captions, error text,
// learning curve, printout, the view's commands and the counter and tape-measure dialogs.
#include <gtest/gtest.h>

#include <cmath>

#include "TestClassifierHost.h"
#include "classification/OClass_ConfV12.h"
#include "classification/OClass_KVT.h"
#include "classification/ODlg_CaliperSettings.h"
#include "classification/ODlg_CounterProperties.h"
#include "classification/TeachDataCommands.h"
#include "classification/TeachDataView.h"

using namespace TestParts;
using namespace TeachDataView;

namespace {

class TeachDataViewTest : public ::testing::Test {
  protected:
    TeachDataViewTest() { host.SetDevice(1, 818); }
    ODisplay Display(int displayMode = 1) {
        OContext context;
        context.displayMode = displayMode;
        context.useTypes = host.properties.useTypes != 0;
        context.deviceKind = host.info.u16(ZRINFO::kHardwareCode);
        context.chartWidth = 235;
        context.chartHeight = 120;
        return BuildDisplay(classifier, &host.partSet, context);
    }
    // Type 1 orientation 2 (200) and type 2 (210) overlap: orientation 2's upper tolerance is
    // reduced to 2 %.
    void TeachOverlappingTypes() {
        AddTypes(host.partSet, 2, 5);
        AddTeach(host.partSet, 1, 1, {100.0});
        AddTeach(host.partSet, 1, 2, {200.0});
        AddTeach(host.partSet, 2, 1, {210.0});
        classifier.TeachFromParts(host.partSet);
    }
    OTestClassifierHost host;
    OClass_ConfV12 classifier{host};
    OTeachDataCommands commands{classifier, host};
};

TEST(TeachDataViewFormat, ValuesFactorsIconsAndToleranceCells) {
    EXPECT_EQ(FormatValue(5.5), "05.50");
    EXPECT_EQ(FormatValue(-3.25), "-3.25");
    EXPECT_EQ(FormatValue(99999.994), "99999.99");
    EXPECT_EQ(FormatValue(123456.7), "1.2346e+05");
    EXPECT_EQ(FormatFactor(0.5), "0.50");
    EXPECT_EQ(FormatFactor(250000.0), "2.5000e+05");
    EXPECT_EQ(iRowIcon(0, 1), 0);
    EXPECT_EQ(iRowIcon(0, 0), 4);
    EXPECT_EQ(iRowIcon(1, 1), 2);
    EXPECT_EQ(iRowIcon(2, 1), 5);
    EXPECT_EQ(iRowIcon(3, 0), 1);
    EXPECT_EQ(ToleranceCell(5, 1.0, 5), "");
    EXPECT_EQ(ToleranceCell(5, 0.5, 5), "2.50%");
    EXPECT_EQ(ToleranceCell(2, 1.0, 5), "[2.00%]");
    EXPECT_EQ(ToleranceCell(10, 0.5, 5), "");  // 10 x 0.5 is the type's tolerance
    EXPECT_EQ(ClassColour(0), 0x000000u);
    EXPECT_EQ(ClassColour(1), 0x00FF00u);
    EXPECT_EQ(ClassColour(8), 0x7F7FFFu);
    EXPECT_EQ(ClassColour(-2), 0x000000u);
}

TEST(TeachDataViewFormat, ToleranceCyclesWithin0To20) {
    EXPECT_EQ(iNextTolerance(0, -1), 20);
    EXPECT_EQ(iNextTolerance(20, +1), 0);
    EXPECT_EQ(iNextTolerance(5, +1), 6);
    EXPECT_EQ(iNextTolerance(5, -1), 4);
}

TEST(TeachDataViewFormat, ErrorTextComposition) {
    EXPECT_EQ(ComposeErrorText(20, "1/1->1/2  ", "", ""),
              "Error E 20:\r\n1/1->1/2  \r\n->Orientations/types are too similar\r\n");
    EXPECT_EQ(ComposeErrorText(20, "1/1->1/2  ", "1/1->2/1  ", ""),
              "Error E 20:\r\n1/1->1/2  \r\n->Orientations/types are too similar\r\nError E 21: "
              "1/1->2/1  ");
    EXPECT_EQ(ComposeErrorText(21, "", "1/1->2/1  ", ""),
              "Error E 21:\r\n1/1->2/1  \r\n->Orientations/types are too similar\r\n");
    EXPECT_EQ(ComposeErrorText(0, "", "", "1/2->2/1 Tol.:2  "),
              "Warning for Marrow using OS 3.0:\r\nOrient./Types can be detected only upto the "
              "given tolerance.\r\n1/2->2/1 Tol.:2  \r\n");
    EXPECT_EQ(ComposeErrorText(7, "", "", ""),
              "Error:\r\nE7 :\r\n->No Description for Error available\r\n");
    EXPECT_EQ(ComposeErrorText(0, "", "", ""), "");
    EXPECT_FALSE(bShowsErrorText(0, ""));
    EXPECT_TRUE(bShowsErrorText(0, "x"));
    EXPECT_TRUE(bShowsErrorText(21, ""));
}

TEST_F(TeachDataViewTest, UnusedOptionalColumnsTakeNoRoom) {
    AddTypes(host.partSet, 1, 5);
    AddTeach(host.partSet, 1, 1, {10.0, 5.5});
    AddTeach(host.partSet, 1, 2, {20.0, 5.5});
    classifier.TeachFromParts(host.partSet);
    const ODisplay d = Display();
    ASSERT_EQ(d.rows.size(), 2u);
    EXPECT_EQ(d.columns[4].width, 0);
    EXPECT_EQ(d.columns[6].width, 0);
    EXPECT_EQ(d.columns[9].width, 0);
    EXPECT_EQ(d.columns[5].width, 75);
    EXPECT_EQ(d.columns[2].header, "Feature:");
    EXPECT_TRUE(d.columns[7].rightAligned);
    EXPECT_TRUE(d.columns[8].autoSize);
    EXPECT_EQ(d.rows[0].cells[0], "1.");
    EXPECT_EQ(d.rows[0].cells[2], "F1");
    EXPECT_EQ(d.rows[0].cells[3], "->2");  // one part type: orientation numbers only
    EXPECT_EQ(d.rows[1].cells[3], "");
    EXPECT_EQ(d.rows[1].cells[5], "05.50");
    EXPECT_EQ(d.rows[0].cells[7], "10.00");
    EXPECT_FALSE(d.errorShown);
    EXPECT_EQ(d.selectedRow, 0);
}

TEST_F(TeachDataViewTest, ReducedTolerancesAndFactorsAreShown) {
    TeachOverlappingTypes();
    host.partSet.iShowVectorNo(1);
    ODisplay d = Display();
    ASSERT_EQ(d.rows.size(), 1u);
    const ORow& row = d.rows[0];
    EXPECT_EQ(row.cells[3], "->1/1->2/1");
    EXPECT_EQ(row.cells[5], "200.00");
    EXPECT_EQ(row.cells[6], "");
    EXPECT_EQ(row.cells[9], "[2.00%]");
    EXPECT_EQ(d.columns[9].width, 30);
    EXPECT_EQ(d.columns[6].width, 0);
    EXPECT_EQ(d.columns[4].width, 0);
    EXPECT_EQ(row.icon, 0);

    // The decision bounds in the other display mode.
    d = Display(0);
    EXPECT_EQ(d.rows[0].cells[5], "190.00");
    EXPECT_EQ(d.rows[0].cells[8], "204.00");
    EXPECT_EQ(d.rows[0].icon, 4);
    EXPECT_EQ(d.statusDisplayMode, "Teach-Data: decision ranges");

    host.partSet.opGetSubType(0)->opGetVectorArray(1)->At(0).factor = 0.5;
    d = Display();
    EXPECT_EQ(d.rows[0].cells[4], "0.50");
    EXPECT_EQ(d.columns[4].width, 50);
    EXPECT_EQ(d.rows[0].cells[6], "2.50%");
    EXPECT_EQ(d.rows[0].cells[9], "[1.00%]");
}

TEST_F(TeachDataViewTest, ExcludedFeaturesShowDashes) {
    AddTypes(host.partSet, 1, 5);
    AddTeach(host.partSet, 1, 1, {10.0, 20.0, 30.0, 40.0});
    classifier.TeachFromParts(host.partSet);
    OType_VectorArray& vectors = *host.partSet.opGetSubType(0)->opGetVectorArray(0);
    vectors.At(0).option = 1;
    vectors.At(1).option = 2;
    vectors.At(2).option = 3;
    const ODisplay d = Display();
    EXPECT_EQ(d.rows[0].cells[5], " -- ");
    EXPECT_EQ(d.rows[0].cells[7], " -- ");
    EXPECT_EQ(d.rows[0].cells[8], " -- ");
    EXPECT_EQ(d.rows[0].cells[6], "");
    EXPECT_EQ(d.rows[0].icon, 2);
    EXPECT_EQ(d.rows[1].icon, 5);
    EXPECT_EQ(d.rows[2].icon, 1);
    EXPECT_EQ(d.rows[3].icon, 0);
    EXPECT_EQ(d.rows[1].cells[7], "20.00");
}

TEST_F(TeachDataViewTest, ToolColumnNamesEachToolOnce) {
    OType_ConfigTool* named = host.partSet.Tools().Add(std::make_unique<OTestTool>());
    named->SetName("Len");
    OType_ConfigTool* unnamed = host.partSet.Tools().Add(std::make_unique<OTestTool>());
    AddTypes(host.partSet, 1, 5);
    OType_Part* part = AddTeach(host.partSet, 1, 1, {1, 2, 3, 4, 5});
    part->Features().At(1).toolId = named->iGetToolId();
    part->Features().At(2).toolId = named->iGetToolId();
    part->Features().At(3).toolId = unnamed->iGetToolId();
    part->Features().At(4).toolId = 999;
    classifier.TeachFromParts(host.partSet);
    const ODisplay d = Display();
    ASSERT_EQ(d.rows.size(), 5u);
    EXPECT_EQ(d.rows[0].cells[1], "");
    EXPECT_EQ(d.rows[1].cells[1], "Len");
    EXPECT_EQ(d.rows[2].cells[1], "");
    EXPECT_EQ(d.rows[3].cells[1], "(unnamed tool)");
    EXPECT_EQ(d.rows[4].cells[1], " - ");
}

TEST_F(TeachDataViewTest, CaptionsCounterAndSelection) {
    AddTypes(host.partSet, 1, 7);
    AddTeach(host.partSet, 1, 1, {1.0, 2.0});
    AddTeach(host.partSet, 1, 2, {5.0, 9.0});
    classifier.TeachFromParts(host.partSet);
    host.partSet.iShowVectorNo(1);
    host.partSet.iShowFeatureNo(1);
    host.partSet.opGetSubType(0)->SetCounterTarget(250);
    ODisplay d = Display();
    EXPECT_EQ(d.orientationCaption, "Type/Ori.");
    EXPECT_EQ(d.orientationValue, "1 / 2");
    EXPECT_EQ(d.toleranceText, "7%");
    EXPECT_EQ(d.statusTolerance, "7%");
    EXPECT_EQ(d.spinValue, 7);
    EXPECT_TRUE(d.counterShown);  // Talon has a counter
    EXPECT_EQ(d.counterValue, "250");
    EXPECT_EQ(d.selectedRow, 1);
    EXPECT_EQ(d.statusDisplayMode, "Teach-Data: minimum and maximum");

    host.properties.useTypes = 0;
    host.SetDevice(3, 818);
    d = Display();
    EXPECT_EQ(d.orientationCaption, "Orientation:");
    EXPECT_EQ(d.orientationValue, "2");
    EXPECT_FALSE(d.counterShown);
}

TEST_F(TeachDataViewTest, WithoutAShownClassTheListIsEmpty) {
    ODisplay d = Display();
    EXPECT_TRUE(d.rows.empty());
    EXPECT_TRUE(d.orientationCaption.empty());
    EXPECT_TRUE(d.toleranceText.empty());

    AddTypes(host.partSet, 1, 5);
    AddTeach(host.partSet, 1, 1, {1.0});
    AddTeach(host.partSet, 1, 2, {5.0});
    classifier.TeachFromParts(host.partSet);
    host.partSet.iShowVectorNo(1);
    host.partSet.opGetSubType(0)->SetNumOrientations(1);  // orientation 2 beyond the type's
    d = Display();
    EXPECT_TRUE(d.rows.empty());
    EXPECT_FALSE(d.orientationCaption.empty());
}

TEST_F(TeachDataViewTest, ErrorsHideTheLearningCurve) {
    AddTypes(host.partSet, 1, 5);
    AddTeach(host.partSet, 1, 1, {10.0});
    AddTeach(host.partSet, 1, 1, {12.0});
    AddTeach(host.partSet, 1, 2, {11.0});
    classifier.TeachFromParts(host.partSet);
    ODisplay d = Display();
    EXPECT_TRUE(d.errorShown);
    EXPECT_EQ(d.errorText, "Error E 20:\r\n1/1->1/2  \r\n->Orientations/types are too similar\r\n");
    EXPECT_TRUE(d.learningCurve.points.empty());

    host.partSet.TeachParts().GetAt(2)->Features().At(0).value = 50.0;
    classifier.TeachFromParts(host.partSet);
    d = Display();
    EXPECT_FALSE(d.errorShown);
    EXPECT_TRUE(d.errorText.empty());
    EXPECT_EQ(d.learningCurve.points.size(), 3u);
}

TEST_F(TeachDataViewTest, MarrowWarningsAreShownWithoutTeachError) {
    host.SetDevice(2, 0x300);
    TeachOverlappingTypes();
    const ODisplay d = Display();
    EXPECT_EQ(classifier.GetTeachError(), 0);
    EXPECT_TRUE(d.errorShown);
    EXPECT_NE(d.errorText.find("Warning for Marrow using OS 3.0:"), std::string::npos);
    EXPECT_NE(d.errorText.find("1/2->2/1 Tol.:2  "), std::string::npos);
}

TEST_F(TeachDataViewTest, LearningCurveScalesBetweenTheSmallestAndLargestValue) {
    AddTypes(host.partSet, 2, 5);
    AddTeach(host.partSet, 1, 1, {10.0});
    AddTeach(host.partSet, 2, 1, {500.0});  // another type: not on the curve
    AddTeach(host.partSet, 1, 1, {30.0});
    AddTeach(host.partSet, 1, 1, {20.0});
    classifier.TeachFromParts(host.partSet);
    const OLearningCurve curve = BuildLearningCurve(host.partSet, 0, false, 235, 120);
    ASSERT_EQ(curve.points.size(), 3u);  // learning values 0, 100, 99
    EXPECT_EQ(curve.topLabel, "C=100");
    EXPECT_EQ(curve.bottomLabel, "C=0");
    EXPECT_EQ(curve.points[0].x, 25.0);
    EXPECT_EQ(curve.points[1].x, 125.0);
    EXPECT_EQ(curve.points[2].x, 225.0);
    EXPECT_EQ(curve.points[0].y, 100.0);
    EXPECT_EQ(curve.points[1].y, 10.0);
    EXPECT_DOUBLE_EQ(curve.points[2].y, 100.0 - 0.99 * 90.0);
    EXPECT_EQ(curve.points[1].colour, 0x00FF00u);
    ASSERT_EQ(curve.ticks.size(), 1u);
    EXPECT_EQ(curve.ticks[0].text, "1");
    ASSERT_EQ(curve.lines.size(), 2u);
    EXPECT_EQ(curve.lines[1].x1, 125.0);
    EXPECT_EQ(curve.font, "Arial");
    EXPECT_EQ(curve.markerSize, 4);
}

TEST_F(TeachDataViewTest, LearningCurveOfEqualValuesAndSeveralOrientations) {
    AddTypes(host.partSet, 1, 5);
    for (int i = 0; i < 12; ++i)
        AddTeach(host.partSet, 1, i % 2 + 1, {10.0 + 100 * (i % 2)});
    classifier.TeachFromParts(host.partSet);
    for (int i = 0; i < 12; ++i)
        host.partSet.TeachParts().GetAt(i)->SetResultValue(2, 40.0);
    const OLearningCurve curve = BuildLearningCurve(host.partSet, 0, false, 235, 120);
    EXPECT_EQ(curve.topLabel, "C=50");
    EXPECT_EQ(curve.bottomLabel, "C=40");
    EXPECT_EQ(curve.points[5].y, 100.0);
    EXPECT_EQ(curve.points[1].colour, 0xFF00FFu);
    ASSERT_EQ(curve.ticks.size(), 2u);
    EXPECT_EQ(curve.ticks[1].text, "11");
    // Points of one orientation are joined: 5 lines for each of the two orientations.
    ASSERT_EQ(curve.lines.size(), 10u);
    EXPECT_EQ(curve.lines[0].x1, curve.points[0].x);
    EXPECT_EQ(curve.lines[0].x2, curve.points[2].x);
}

TEST_F(TeachDataViewTest, PrintoutHasOneTablePerOrientation) {
    AddTypes(host.partSet, 1, 5);
    host.partSet.opGetSubType(0)->SetName("Bolt");
    AddTeach(host.partSet, 1, 1, {10.0});
    AddTeach(host.partSet, 1, 2, {20.0});
    classifier.TeachFromParts(host.partSet);
    const OPrintout printout = BuildPrintout(host.partSet, 1);
    EXPECT_EQ(printout.header, "Bolt: 5%");
    ASSERT_EQ(printout.tables.size(), 2u);
    EXPECT_EQ(printout.tables[1].heading, "Part type: 1, Orientation 2");
    EXPECT_EQ(printout.tables[1].columns[3], "Tol. F.:");
    ASSERT_EQ(printout.tables[1].rows.size(), 1u);
    EXPECT_EQ(printout.tables[1].rows[0][0], "20.00");
    EXPECT_EQ(printout.tables[1].rows[0][3], "1.00");
}

TEST_F(TeachDataViewTest, ToleranceCommandsCycleAndReEvaluate) {
    AddTypes(host.partSet, 1, 20);
    AddTeach(host.partSet, 1, 1, {10.0});
    AddTeach(host.partSet, 1, 1, {12.0});
    OType_Part* test = AddTest(host.partSet, 1, 2, {11.5});
    classifier.TeachFromParts(host.partSet);
    const int modified = host.modifiedCount;

    ASSERT_TRUE(commands.AddTolerance());
    EXPECT_EQ(host.partSet.opGetSubType(0)->iGetTolerance(), 0);
    EXPECT_EQ(classifier.iGetTolerance(0), 0);
    OClassCell cell;
    ASSERT_TRUE(classifier.bGetCell(0, 0, 0, cell));
    EXPECT_EQ(cell.upperBound, 12.0);  // the sample range at 0 %
    EXPECT_EQ(test->iGetOrientation(), 1);
    EXPECT_EQ(test->dGetResultValue(2), 1.0);
    EXPECT_GT(host.modifiedCount, modified);
    const OUndoRedoSupport& undo = host.partSet.UndoRedo();
    EXPECT_EQ(undo.GetUndoShortText(), "UNDO:Tolerance Changed");
    EXPECT_EQ(undo.GetUndoLongText(), "UNDO:Tolerance Changed ...");
    EXPECT_EQ(undo.iGetUndoViewCommand(), 32861);
    EXPECT_EQ(host.partSet.opGetSubType(0)->opGetVectorArray(0)->At(0).upperBound, 12.0);

    ASSERT_TRUE(commands.DecreaseTolerance());
    EXPECT_EQ(host.partSet.opGetSubType(0)->iGetTolerance(), 20);
    ASSERT_TRUE(commands.ChangeTolerance(-1));
    EXPECT_EQ(host.partSet.opGetSubType(0)->iGetTolerance(), 19);

    OTestClassifierHost empty;
    OClass_ConfV12 other(empty);
    OTeachDataCommands none(other, empty);
    EXPECT_FALSE(none.AddTolerance());
    EXPECT_FALSE(none.SetCounter());
}

TEST_F(TeachDataViewTest, DeletePartTypeClearsItsTeachData) {
    AddTypes(host.partSet, 2, 5);
    AddTeach(host.partSet, 1, 1, {10.0});
    AddTeach(host.partSet, 2, 1, {20.0});
    classifier.TeachFromParts(host.partSet);
    host.partSet.TeachParts().RemoveAt(1);  // type 2 keeps Teach-Data without parts
    host.partSet.iShowSubTypeNo(1);
    ASSERT_TRUE(commands.DeletePartType());
    const OType_ZRPartSet_SubType& record = *host.partSet.opGetSubType(1);
    EXPECT_EQ(record.iGetNumOrientations(), 0);
    EXPECT_FALSE(record.bHasData());
    EXPECT_EQ(classifier.iGetOrientationCount(1), 0);
    EXPECT_EQ(host.recomputeCount, 1);
    EXPECT_EQ(host.partSet.UndoRedo().GetUndoShortText(), "UNDO:Delete a Sub Type");
    EXPECT_EQ(host.partSet.UndoRedo().GetUndoLongText(), "UNDO:Delete a Sub Type ...");
    // Type 1 is untouched.
    EXPECT_EQ(host.partSet.opGetSubType(0)->opGetVectorArray(0)->At(0).mean, 10.0);
}

TEST_F(TeachDataViewTest, PartTypePropertiesRenameWithAnsiText) {
    AddTypes(host.partSet, 1, 5);
    host.ui.AnswerText("Gear");
    ASSERT_TRUE(commands.EditPartTypeProperties());
    EXPECT_EQ(host.partSet.opGetSubType(0)->GetName(), "Gear");
    EXPECT_EQ(host.recomputeCount, 1);
    EXPECT_EQ(host.modifiedCount, 1);
    EXPECT_EQ(host.partSet.UndoRedo().GetUndoShortText(), "TODO:PartSetSubTypeProperties");
    EXPECT_EQ(host.partSet.UndoRedo().GetUndoLongText(), "TODO:PartSetSubTypeProperties");
    ASSERT_FALSE(host.ui.Transcript().empty());
    EXPECT_EQ(host.ui.Transcript()[0].caption, "Properties of the selected part type");

    host.ui.AnswerText("\xE6\x97\xA5\xE6\x9C\xAC");  // not in Windows-1252
    host.ui.ExpectMessage(MsgResult::Ok, "8-bit code page");
    EXPECT_FALSE(commands.EditPartTypeProperties());
    EXPECT_EQ(host.partSet.opGetSubType(0)->GetName(), "Gear");
    host.ui.AnswerText("Gear");
    EXPECT_FALSE(commands.EditPartTypeProperties());  // unchanged: nothing to do
    host.ui.CancelText();
    EXPECT_FALSE(commands.EditPartTypeProperties());
    EXPECT_EQ(host.recomputeCount, 1);
    EXPECT_TRUE(host.ui.Mismatches().empty()) << host.ui.TranscriptText();
    EXPECT_TRUE(host.ui.bAllScriptUsed());
}

TEST_F(TeachDataViewTest, SetCounterValidatesAndStoresTheFlag) {
    AddTypes(host.partSet, 1, 5);
    host.ui.AnswerDialog(
        [](ODialogModel& m) {
            static_cast<ODlg_CounterProperties&>(m).SetTarget(0);
            return true;
        },
        "ODlg_CounterProperties");
    host.ui.ExpectMessage(MsgResult::Ok, "between 1 and 9999999");
    host.ui.AnswerDialog([](ODialogModel& m) {
        auto& dialog = static_cast<ODlg_CounterProperties&>(m);
        dialog.SetTarget(42);
        dialog.SetIgnoreOrientation(true);
        return true;
    });
    ASSERT_TRUE(commands.SetCounter());
    EXPECT_EQ(host.partSet.opGetSubType(0)->iGetCounterTarget(), 42u);
    EXPECT_EQ(host.partSet.opGetSubType(0)->iGetCounterFlag(), 0xFFFFu);
    EXPECT_EQ(host.modifiedCount, 1);
    EXPECT_TRUE(host.ui.Mismatches().empty()) << host.ui.TranscriptText();

    host.ui.ConfirmDialog();  // unchanged values: not modified
    ASSERT_TRUE(commands.SetCounter());
    EXPECT_EQ(host.modifiedCount, 1);
}

TEST(CounterDialog, TargetZeroOnlyForDeviceKind2) {
    std::string message;
    ODlg_CounterProperties talon(1, 5, false);
    talon.SetTarget(0);
    EXPECT_FALSE(talon.bValidate(message));
    EXPECT_EQ(message, "Please enter an integer between 1 and 9999999.");
    talon.SetTarget(9999999);
    EXPECT_TRUE(talon.bValidate(message));
    talon.SetTarget(10000000);
    EXPECT_FALSE(talon.bValidate(message));
    ODlg_CounterProperties marrow(2, 5, true);
    marrow.SetTarget(0);
    EXPECT_TRUE(marrow.bValidate(message));
    marrow.SetTarget(-1);
    EXPECT_FALSE(marrow.bValidate(message));
    EXPECT_EQ(message, "Please enter an integer between 0 and 9999999.");
    EXPECT_TRUE(marrow.bGetIgnoreOrientation());
    EXPECT_EQ(ODlg_CounterProperties::Title(), "Set counter properties");
}

TEST(CaliperDialog, ChangesAndValidation) {
    ODlg_CaliperSettings dialog(1.0, 1.0, 2.0, false);
    EXPECT_FALSE(dialog.bShowsZ());
    dialog.SetZ(5.0);
    EXPECT_FALSE(dialog.bChangedFrom(1.0, 1.0, 2.0));  // Z is not shown
    dialog.SetVertical(0.5);
    EXPECT_TRUE(dialog.bChangedFrom(1.0, 1.0, 2.0));
    std::string message;
    EXPECT_TRUE(dialog.bValidate(message));
    dialog.SetHorizontal(std::nan(""));
    EXPECT_FALSE(dialog.bValidate(message));
    EXPECT_EQ(message, "Please enter a number.");
    ODlg_CaliperSettings withZ(1.0, 1.0, 2.0, true);
    withZ.SetZ(3.0);
    EXPECT_TRUE(withZ.bChangedFrom(1.0, 1.0, 2.0));
    EXPECT_EQ(ODlg_CaliperSettings::Title(), "Settings for tape measure");
}

TEST_F(TeachDataViewTest, FeatureForQualityDecisionToggles) {
    AddTypes(host.partSet, 1, 5);
    host.partSet.iShowFeatureNo(3);
    OCommandState state = commands.FeatureForQualityState();
    EXPECT_TRUE(state.enabled);
    EXPECT_TRUE(state.checked);
    ASSERT_TRUE(commands.ToggleFeatureForQuality());
    EXPECT_FALSE(host.partSet.bIsFeatureEnabled(3));
    EXPECT_FALSE(commands.FeatureForQualityState().checked);
    EXPECT_EQ(host.recomputeCount, 1);
    EXPECT_EQ(host.updateCount, 1);

    host.properties.useQuality = 0;
    EXPECT_FALSE(commands.FeatureForQualityState().enabled);
    EXPECT_FALSE(commands.ToggleFeatureForQuality());
}

TEST_F(TeachDataViewTest, EvaluationDialogOfTheFamily) {
    AddTypes(host.partSet, 1, 5);
    host.ui.ConfirmDialog("ODlg_Classifier_Conf12_TD_Evalute");
    EXPECT_TRUE(commands.ShowEvaluation());
    EXPECT_TRUE(host.ui.Mismatches().empty()) << host.ui.TranscriptText();

    OClass_KVT kvt(host);
    OTeachDataCommands kvtCommands(kvt, host);
    host.ui.ConfirmDialog("ODlg_Classifier_KVT_TD_Evalute");
    EXPECT_TRUE(kvtCommands.ShowEvaluation());
    EXPECT_TRUE(host.ui.Mismatches().empty()) << host.ui.TranscriptText();
}

TEST(TeachDataViewKvt, TextFeaturesShowTheirClassText) {
    OTestClassifierHost host;
    host.SetDevice(7, 818);
    host.fixedFeatures = 0;
    host.toolCapacity = 256;
    AddTypes(host.partSet, 1, 5);
    OType_Part* part = AddTeach(host.partSet, 1, 1, {0.0});
    part->Features().At(0).valueType = FeatureValueType::Text;
    part->Features().At(0).textValue = "LOT-7";
    OClass_KVT classifier(host);
    classifier.TeachFromParts(host.partSet);
    OContext context;
    const ODisplay d = BuildDisplay(classifier, &host.partSet, context);
    ASSERT_EQ(d.rows.size(), 1u);
    EXPECT_EQ(d.rows[0].cells[7], "LOT-7");
    EXPECT_EQ(d.rows[0].cells[5], "");
}

}  // namespace
