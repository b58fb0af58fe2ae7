// The part-editing commands of the document: moving through parts and everything else the
// shown state names, assignments to the selected sample parts, standard references,
// mirrors, camera images and the check programs, each with its enable rule.
#include <climits>

#include "DocTestSupport.h"
#include "document/CommandIds.h"
#include "document/CommandTable.h"
#include "document/DocumentTexts.h"
#include "document/ODlg_CheckProgramProperties.h"
#include "document/ODlg_PartProperties.h"
#include "model/strings/ResStr.h"
#include "model/tools/OType_ConfigToolArray.h"

namespace {

using namespace doctest;

constexpr OTargetSystem kFamily1{1, 818, 0, 6, 2, 8};
constexpr OTargetSystem kFamily2{9, 818, 0, 20, 3, 4};

struct PartCommands : DocFixture {
    void SetUp() override {
        settings.SetInt("Settings", "PROJECT_USE_ORIENTATION", 1);
        settings.SetInt("Settings", "PROJECT_USE_TYPES", 1);
        NewProject(kFamily1);
        ui.Clear();
    }
    OType_ZRPartSet& Set() { return *doc().opGetActualPartSet(); }
    OCommandState State(int id) { return doc().GetCommandState(id); }
    bool Enabled(int id) { return State(id).enabled; }
    void Run(int id, int64_t argument = 0) { doc().OnCommand(id, argument); }
    // Parts 0..n-1 with orientation 1 + i % 4; the given ones selected.
    void TeachParts(int n, std::initializer_list<int> selected = {}) {
        AddParts(Set(), n, 0);
        for (int i = 0; i < n; ++i)
            Set().TeachParts().GetAt(i)->SetRecordNo(i + 1);
        for (int i : selected)
            Set().TeachParts().GetAt(i)->SetSelected(true);
    }
    std::vector<int> Orientations(const OType_PartArray& list) {
        std::vector<int> values;
        for (int i = 0; i < list.iGetSize(); ++i)
            values.push_back(list.GetAt(i)->iGetOrientation());
        return values;
    }
    void StartLoggingToFile() {
        ui.AnswerFileSave(Path("log.zrl"));
        ASSERT_EQ(session().StartLogging(), 1) << ui.TranscriptText();
        ASSERT_TRUE(session().bIsLoggingToFile());
    }
};

// --- navigation ---

TEST_F(PartCommands, PartStepsFollowTheShownListAndItsEnds) {
    TeachParts(5);
    AddParts(Set(), 0, 2);
    EXPECT_FALSE(Enabled(Cmd::kPrevPart)) << "part 0 is shown";
    EXPECT_TRUE(Enabled(Cmd::kNextPart));
    Run(Cmd::kTenPartsForward);
    EXPECT_EQ(Set().iShowTeachPartGetNo(), 4) << "10 forward on 5 parts shows the last";
    EXPECT_FALSE(Enabled(Cmd::kNextPart));
    EXPECT_TRUE(Enabled(Cmd::kPrevPart));
    Run(Cmd::kPrevPart);
    EXPECT_EQ(Set().iShowTeachPartGetNo(), 3);
    Run(Cmd::kTenPartsBack);
    EXPECT_EQ(Set().iShowTeachPartGetNo(), 0);

    Run(Cmd::kSwitchTeachTest);
    EXPECT_EQ(Set().iShowGetTeachTest(), 0);
    EXPECT_TRUE(State(Cmd::kSwitchTeachTest).checked) << "checked while test data is shown";
    Run(Cmd::kNextPart);
    EXPECT_EQ(Set().iShowTestPartGetNo(), 1) << "the test list moves now";
    EXPECT_EQ(Set().iShowTeachPartGetNo(), 0);
    EXPECT_FALSE(Enabled(Cmd::kNextPart));
    Run(Cmd::kNextPart);
    EXPECT_EQ(Set().iShowTestPartGetNo(), 1) << "a disabled step does nothing";
}

TEST_F(PartCommands, TenPartsBackAndForwardInALongList) {
    TeachParts(40);
    Set().iShowTeachPartNo(15);
    Run(Cmd::kTenPartsBack);
    EXPECT_EQ(Set().iShowTeachPartGetNo(), 5);
    Run(Cmd::kTenPartsBack);
    EXPECT_EQ(Set().iShowTeachPartGetNo(), 0) << "5 is not above 10";
    Set().iShowTeachPartNo(29);
    Run(Cmd::kTenPartsForward);
    EXPECT_EQ(Set().iShowTeachPartGetNo(), 39) << "29 is below 40 - 10";
    Set().iShowTeachPartNo(30);
    Run(Cmd::kTenPartsForward);
    EXPECT_EQ(Set().iShowTeachPartGetNo(), 39);
}

TEST_F(PartCommands, GotoPartTakesTheEntryNumberAndShowsItsSortPosition) {
    TeachParts(6);
    // Sorted by comment, descending numbers come first: "part 5" ... "part 0".
    for (int i = 0; i < 6; ++i)
        Set().TeachParts().GetAt_NoSort(i)->SetComment(std::string(1, static_cast<char>('f' - i)));
    Set().TeachParts().SetSortType(PartSortType::Comment);
    ui.AnswerNumber(2);
    Run(Cmd::kGotoPart);
    EXPECT_EQ(Set().iShowTeachPartGetNo(), 4) << "entry 2 ('e') sorts to position 4";
    EXPECT_EQ(ui.Transcript().back().text, ResStr(2080));
    EXPECT_EQ(ui.Transcript().back().number, 2);
    ui.AnswerNumber(0);
    Run(Cmd::kGotoPart);
    EXPECT_EQ(Set().iShowTeachPartGetNo(), 5) << "0 shows the last part";
    Set().iShowTeachPartNo(1);
    ui.AnswerNumber(4000);
    Run(Cmd::kGotoPart);
    EXPECT_EQ(Set().iShowTeachPartGetNo(), 5) << "a number beyond the list shows the last part";
    Set().iShowTeachPartNo(2);
    ui.CancelNumber();
    Run(Cmd::kGotoPart);
    EXPECT_EQ(Set().iShowTeachPartGetNo(), 2);
    EXPECT_EQ(ui.Transcript().back().number, 3) << "the dialog proposes the shown number + 1";
    ExpectNoMismatch();
}

TEST_F(PartCommands, NavigationIsOffWhileRecordingToFile) {
    TeachParts(3);
    EXPECT_TRUE(Enabled(Cmd::kNextPart));
    EXPECT_TRUE(Enabled(Cmd::kSwitchTeachTest));
    StartLoggingToFile();
    for (int id : {Cmd::kNextPart, Cmd::kGotoPart, Cmd::kTenPartsForward, Cmd::kSwitchTeachTest,
                   Cmd::kNextFeature, Cmd::kNextPartType, Cmd::kIgnoreParts, 32812,
                   Cmd::kPartSetProperties}) {
        EXPECT_FALSE(Enabled(id)) << id;
    }
    Run(Cmd::kNextPart);
    EXPECT_EQ(Set().iShowTeachPartGetNo(), 0);
    session().StopLogging();
    EXPECT_TRUE(Enabled(Cmd::kNextPart));
}

TEST_F(PartCommands, FeaturesToolsOrientationsAndPartTypes) {
    TeachParts(2);
    for (int k = 0; k < 3; ++k)
        Set().Tools().Add(std::make_unique<OType_ConfigTool_Opaque>(3));
    EXPECT_EQ(Set().iGetNumOfFeatures(), 15);
    EXPECT_FALSE(Enabled(Cmd::kPrevFeature));
    EXPECT_FALSE(Enabled(Cmd::kPrevTool)) << "a basic feature belongs to no tool";
    EXPECT_FALSE(Enabled(Cmd::kNextTool));
    doc().SelectFeature(12);
    EXPECT_FALSE(Enabled(Cmd::kPrevTool)) << "the first tool is shown";
    EXPECT_TRUE(Enabled(Cmd::kNextTool));
    Run(Cmd::kNextTool);
    EXPECT_EQ(Set().iShowFeatureGetNo(), 13);
    Run(Cmd::kNextTool);
    EXPECT_EQ(Set().iShowFeatureGetNo(), 14);
    EXPECT_FALSE(Enabled(Cmd::kNextTool)) << "no tool after the last";
    EXPECT_FALSE(Enabled(Cmd::kNextFeature));
    Run(Cmd::kPrevTool);
    EXPECT_EQ(Set().iShowFeatureGetNo(), 13);
    Run(Cmd::kPrevFeature);
    EXPECT_EQ(Set().iShowFeatureGetNo(), 12);

    EXPECT_EQ(Set().iGetNum_SubTypes(), 2);
    EXPECT_FALSE(Enabled(Cmd::kPrevPartType));
    Run(Cmd::kNextPartType);
    EXPECT_EQ(Set().iShowSubTypeGetNo(), 1);
    EXPECT_FALSE(Enabled(Cmd::kNextPartType));
    EXPECT_FALSE(Enabled(Cmd::kPrevOrientation));
    const int orientations = Set().opGetSubType(1)->iGetNumOrientations();
    if (orientations > 1) {
        Run(Cmd::kNextOrientation);
        EXPECT_EQ(Set().iShowVectorGetNo(), 1);
        EXPECT_TRUE(Enabled(Cmd::kPrevOrientation));
    }
    EXPECT_FALSE(Enabled(Cmd::kPrevDataOutput));
    EXPECT_FALSE(Enabled(Cmd::kNextDataOutput)) << "no data outputs";
}

// --- assignments ---

TEST_F(PartCommands, OrientationsGoToTheSelectedSamplePartsOnly) {
    // The classifier gives test parts the orientation it detects, so the test list is
    // compared with the same project whose test parts were not selected.
    const auto assign = [this](bool selectTestParts) {
        NewProject(kFamily1);
        TeachParts(4, {1, 2});
        AddParts(Set(), 0, 2);
        for (int i = 0; i < 2; ++i)
            Set().TestParts().GetAt(i)->SetSelected(selectTestParts);
        Set().UndoRedo().bStartUndoRedo(Set());
        EXPECT_TRUE(Enabled(Cmd::kAssignOrientationFirst + 2));
        Run(Cmd::kAssignOrientationFirst + 2);
        EXPECT_EQ(Orientations(Set().TeachParts()), (std::vector<int>{1, 3, 3, 4}));
        return Orientations(Set().TestParts());
    };
    const std::vector<int> unselected = assign(false);
    EXPECT_EQ(assign(true), unselected) << "assignments never change test parts";
    EXPECT_TRUE(doc().IsModified());
    EXPECT_EQ(Set().UndoRedo().GetUndoShortText(), "UNDO:Orientation assigned");
    doc().OnUndo();
    EXPECT_EQ(Orientations(doc().opGetActualPartSet()->TeachParts()),
              (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(PartCommands, OrientationAndTypeRulesFollowTheProjectAndTheTarget) {
    TeachParts(2, {0});
    EXPECT_TRUE(Enabled(Cmd::kAssignOrientationFirst + 7)) << "eight orientations";
    EXPECT_TRUE(Enabled(Cmd::kAssignTypeCommands[1]));
    EXPECT_FALSE(Enabled(Cmd::kAssignTypeCommands[2])) << "two part types per check program";
    session().ProjectProperties().useOrientation = 0;
    EXPECT_FALSE(Enabled(Cmd::kAssignOrientationFirst));
    EXPECT_TRUE(Enabled(Cmd::kIgnoreParts)) << "teach use needs no orientations";
    session().ProjectProperties().useTypes = 0;
    EXPECT_FALSE(Enabled(Cmd::kAssignTypeCommands[0]));
    session().ProjectProperties().useOrientation = 1;
    session().ProjectProperties().useTypes = 1;
    doc().ShowTeachOrTestList(0);
    EXPECT_FALSE(Enabled(Cmd::kAssignOrientationFirst)) << "only while sample parts are shown";
    EXPECT_FALSE(Enabled(Cmd::kAssignTypeCommands[0]));
    EXPECT_FALSE(Enabled(Cmd::kUseParts));
    Run(Cmd::kAssignOrientationFirst + 5);
    EXPECT_EQ(Set().TeachParts().GetAt(0)->iGetOrientation(), 1) << "disabled: nothing happens";
}

TEST_F(PartCommands, IgnoringUsingAndTypesKeepTheOrientationBehindTheSign) {
    TeachParts(4, {0, 1, 2});
    Set().TeachParts().GetAt(1)->SetOrientation(-3);
    Run(Cmd::kIgnoreParts);
    EXPECT_EQ(Orientations(Set().TeachParts()), (std::vector<int>{-1, -3, -3, 4}))
        << "an ignored part stays ignored";
    Run(Cmd::kUseParts);
    EXPECT_EQ(Orientations(Set().TeachParts()), (std::vector<int>{1, 3, 3, 4}))
        << "used again with the orientation it had";
    Run(Cmd::kIgnoreParts);
    Run(Cmd::kAssignTypeCommands[1]);
    EXPECT_EQ(Orientations(Set().TeachParts()), (std::vector<int>{1, 3, 3, 4}))
        << "a type makes an ignored part used again";
    for (int i : {0, 1, 2})
        EXPECT_EQ(Set().TeachParts().GetAt(i)->iGetType(), 2);
    EXPECT_EQ(Set().TeachParts().GetAt(3)->iGetType(), 1);
    Set().TeachParts().GetAt(0)->SetOrientation(0);
    Run(Cmd::kUseParts);
    EXPECT_EQ(Set().TeachParts().GetAt(0)->iGetOrientation(), 1) << "an unassigned part gets 1";
}

TEST_F(PartCommands, AnAssignmentWithNothingSelectedStoresNoUndoStep) {
    TeachParts(3);
    const size_t steps = Set().UndoRedo().iGetNumSteps();
    Run(Cmd::kAssignOrientationFirst + 1);
    EXPECT_EQ(Set().UndoRedo().iGetNumSteps(), steps);
}

// --- standard references ---

struct StandardReferences : PartCommands {
    void SetUp() override {
        NewProject(kFamily2);
        ui.Clear();
    }
    // A tool whose only feature is of the kind.
    void AddTool(int featureKind) {
        auto tool = std::make_unique<OType_ConfigTool_Opaque>(101);
        tool->SetFeatureType(featureKind);
        Set().Tools().Add(std::move(tool));
    }
};

TEST_F(StandardReferences, OnlyFamilyTwoAssignsTheShownFeature) {
    EXPECT_FALSE(Enabled(33093)) << "no feature to assign";
    EXPECT_TRUE(Enabled(Cmd::kResetReferences));
    AddTool(6);
    AddTool(3);
    doc().SelectFeature(1);
    ASSERT_TRUE(Enabled(33095));
    Run(33095);  // X
    EXPECT_EQ(Set().DefaultReferences().iGetAt(2), 1);
    EXPECT_TRUE(State(33095).checked) << "the reference is the shown feature";
    EXPECT_FALSE(State(33093).checked);
    EXPECT_EQ(Set().UndoRedo().GetUndoShortText(), "UNDO:Changed standard references");
    EXPECT_EQ(Set().UndoRedo().GetUndoLongText(), "UNDO:Changed standard references ...");
    EXPECT_EQ(Set().UndoRedo().iGetUndoViewCommand(), 32860);
    Run(Cmd::kResetReferences);
    EXPECT_EQ(Set().DefaultReferences(), OType_DefaultReferenceFeatures());
    EXPECT_TRUE(doc().IsModified());

    NewProject(kFamily1);
    doc().SelectFeature(0);
    EXPECT_FALSE(Enabled(33093));
    EXPECT_FALSE(Enabled(Cmd::kAutoAssignReferences));
}

TEST_F(StandardReferences, AutomaticAssignmentFindsTheFirstFeatureOfEachKind) {
    const size_t steps = Set().UndoRedo().iGetNumSteps();
    Run(Cmd::kAutoAssignReferences);
    EXPECT_EQ(Set().DefaultReferences(), OType_DefaultReferenceFeatures())
        << "no tool features, no change";
    EXPECT_EQ(Set().UndoRedo().iGetNumSteps(), steps) << "and no undo step";
    EXPECT_FALSE(doc().IsModified());

    for (int kind : {4, 6, 3, 11, 6, 13, 37, 7})
        AddTool(kind);
    Run(Cmd::kAutoAssignReferences);
    const OType_DefaultReferenceFeatures& refs = Set().DefaultReferences();
    EXPECT_EQ(refs.iGetAt(0), 1) << "H: the first width/height feature";
    EXPECT_EQ(refs.iGetAt(1), 1) << "W: the same kind";
    EXPECT_EQ(refs.iGetAt(2), 2);
    EXPECT_EQ(refs.iGetAt(3), 0);
    EXPECT_EQ(refs.iGetAt(4), -1) << "index 4 is never assigned automatically";
    EXPECT_EQ(refs.iGetAt(5), 6);
    EXPECT_EQ(refs.iGetAt(6), 7);
    EXPECT_EQ(refs.iGetAt(7), 2);
    EXPECT_EQ(refs.iGetAt(8), 0);
    EXPECT_EQ(refs.iGetAt(9), -1);
    EXPECT_EQ(refs.iGetAt(10), 3);
    EXPECT_EQ(refs.iGetAt(12), 5);
    EXPECT_EQ(Set().UndoRedo().iGetNumSteps(), steps + 1);

    // From the shown feature on: the later width feature.
    doc().SelectFeature(2);
    Run(Cmd::kAutoAssignReferences);
    EXPECT_EQ(Set().DefaultReferences().iGetAt(0), 4);
    EXPECT_EQ(Set().DefaultReferences().iGetAt(3), 0) << "nothing of kind 4 from 2 on: kept";
}

// --- mirrors and camera images ---

TEST_F(PartCommands, MirroringAppendsMirroredCopiesOfTheSelectedParts) {
    TeachParts(3, {1});
    const OType_Part original = *Set().TeachParts().GetAt(1);
    const size_t steps = Set().UndoRedo().iGetNumSteps();
    ASSERT_TRUE(Enabled(Cmd::kMirrorVertical));
    Run(Cmd::kMirrorVertical);
    ASSERT_EQ(Set().TeachParts().iGetSize(), 4);
    const OType_Part& copy = *Set().TeachParts().GetAt(3);
    EXPECT_EQ(copy.iGetRecordNo(), 4);
    EXPECT_TRUE(copy.bIsSelected()) << "the copy keeps the selection";
    EXPECT_EQ(Set().TeachParts().GetAt(1)->Contour().size(), original.Contour().size());
    EXPECT_TRUE(std::equal(original.Contour().begin(), original.Contour().end(),
                           Set().TeachParts().GetAt(1)->Contour().begin()))
        << "the original is unchanged";
    EXPECT_NE(std::vector<int16_t>(copy.Contour().begin(), copy.Contour().end()),
              std::vector<int16_t>(original.Contour().begin(), original.Contour().end()));
    EXPECT_EQ(copy.iGetColumns(), original.iGetColumns());
    EXPECT_EQ(Set().UndoRedo().iGetNumSteps(), steps) << "mirrors store no undo step";

    Run(Cmd::kMirrorVertical);
    EXPECT_EQ(Set().TeachParts().iGetSize(), 6) << "both selected parts, once each";
    NewProject(kFamily2);
    EXPECT_FALSE(Enabled(Cmd::kMirrorVertical)) << "camera parts have no contour to mirror";
}

TEST_F(PartCommands, CameraImagesAreDeletedOnCameraTargetsOnly) {
    TeachParts(2);
    EXPECT_FALSE(Enabled(Cmd::kDeleteCameraImages)) << "a contour sensor";
    NewProject(kFamily2);
    AddParts(Set(), 2, 1);
    EXPECT_FALSE(Enabled(Cmd::kDeleteCameraImages)) << "no part has an image";
    const OType_Image image(8, 6, 1);
    Set().TestParts().GetAt(0)->AddImage(image);
    Set().TeachParts().GetAt(1)->AddImage(image);
    Set().UndoRedo().bStartUndoRedo(Set());
    ASSERT_TRUE(Enabled(Cmd::kDeleteCameraImages));
    Run(Cmd::kDeleteCameraImages);
    EXPECT_FALSE(ODoc::bAnyPartHasImages(Set()));
    EXPECT_FALSE(Enabled(Cmd::kDeleteCameraImages));
    doc().OnUndo();
    EXPECT_TRUE(ODoc::bAnyPartHasImages(*doc().opGetActualPartSet())) << "undo brings them back";
}

// --- check programs ---

TEST_F(PartCommands, AddingSelectingAndDeletingCheckPrograms) {
    EXPECT_FALSE(Enabled(Cmd::kDeletePartSet)) << "the only check program stays";
    Run(Cmd::kDeletePartSet);
    EXPECT_EQ(session().PartSets().iGetNum(), 1);
    Run(Cmd::kAddPartSet);
    ASSERT_EQ(session().PartSets().iGetNum(), 2);
    EXPECT_EQ(session().PartSets().iGetActualPartSetNo(), 1) << "the new one is the actual one";
    EXPECT_EQ(views().PartSetBarEntries().size(), 2u);
    EXPECT_EQ(views().iPartSetBarSelection(), 1);
    EXPECT_TRUE(Enabled(Cmd::kPrevPartSet));
    EXPECT_FALSE(Enabled(Cmd::kNextPartSet));
    Run(Cmd::kSelectPartSet, 0);
    EXPECT_EQ(session().PartSets().iGetActualPartSetNo(), 0);
    EXPECT_EQ(views().iPartSetBarSelection(), 0);
    Run(Cmd::kNextPartSet);
    EXPECT_EQ(session().PartSets().iGetActualPartSetNo(), 1);

    OType_ZRPartSet* second = doc().opGetActualPartSet();
    ui.ExpectMessage(MsgResult::Cancel, ResStr(3285));
    Run(Cmd::kDeletePartSet);
    EXPECT_EQ(session().PartSets().iGetNum(), 2);
    ui.ExpectMessage(MsgResult::Ok, ResStr(3285));
    Run(Cmd::kDeletePartSet);
    ASSERT_EQ(session().PartSets().iGetNum(), 1);
    EXPECT_NE(doc().opGetActualPartSet(), second);
    ExpectNoMismatch();
}

TEST_F(PartCommands, ACheckProgramTravelsThroughTheClipboard) {
    TeachParts(3);
    Set().SetName("Housing");
    Set().Tools().Add(std::make_unique<OType_ConfigTool_Opaque>(3));
    EXPECT_FALSE(Enabled(Cmd::kPastePartSet));
    Run(Cmd::kCopyPartSet);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(headless->ClipboardStore().bGetData(ResStr(5346), bytes));
    ASSERT_TRUE(Enabled(Cmd::kPastePartSet));
    Run(Cmd::kPastePartSet);
    ASSERT_EQ(session().PartSets().iGetNum(), 2);
    const OType_ZRPartSet& pasted = *doc().opGetActualPartSet();
    EXPECT_EQ(session().PartSets().iGetActualPartSetNo(), 1);
    EXPECT_EQ(pasted.GetName(), "Housing");
    EXPECT_EQ(pasted.TeachParts().iGetSize(), 3);
    EXPECT_EQ(pasted.Tools().iGetNum(), 1);
    EXPECT_FALSE(pasted.UndoRedo().bHasUndoData()) << "its history starts fresh";
    EXPECT_TRUE(doc().IsModified());
}

TEST_F(PartCommands, ACheckProgramOfTheOtherFamilyOrDamagedIsRefused) {
    OClipboard_Memory& clipboard = headless->ClipboardStore();
    OType_ZRPartSet other;
    const std::vector<uint8_t> bytes = other.Encode();
    clipboard.bSetData(ResStr(5347), bytes);
    ASSERT_TRUE(Enabled(Cmd::kPastePartSet));
    ui.ExpectMessage(MsgResult::Ok, ResStr(21012));
    Run(Cmd::kPastePartSet);
    EXPECT_EQ(session().PartSets().iGetNum(), 1);

    std::vector<uint8_t> damaged = Set().Encode();
    damaged.resize(damaged.size() - 7);
    clipboard.bSetData(ResStr(5346), damaged);
    OType_ZRPartSet* actual = doc().opGetActualPartSet();
    ui.ExpectMessage(MsgResult::Ok, ResStr(21013));
    Run(Cmd::kPastePartSet);
    EXPECT_EQ(session().PartSets().iGetNum(), 1) << "the project is unchanged";
    EXPECT_EQ(doc().opGetActualPartSet(), actual);
    EXPECT_FALSE(doc().IsModified());
    ExpectNoMismatch();
}

TEST_F(PartCommands, AFailedCopyOfACheckProgramIsReported) {
    headless->ClipboardStore().FailNextWrite();
    ui.ExpectMessage(MsgResult::Ok, ResStr(3300));
    Run(Cmd::kCopyPartSet);
    ExpectNoMismatch();
}

TEST_F(PartCommands, ALargeFamilyTwoCheckProgramMayLeaveItsImagesBehind) {
    NewProject(kFamily2);
    AddParts(Set(), 1, 0);
    const OType_Image image(5000, 4100, 1);  // 20.5 million bytes
    Set().TeachParts().GetAt(0)->AddImage(image);
    ui.ExpectMessage(MsgResult::No, ResStr(3322));
    Run(Cmd::kCopyPartSet);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(headless->ClipboardStore().bGetData(ResStr(5347), bytes));
    EXPECT_LT(bytes.size(), 1'000'000u) << "copied without its camera images";
    EXPECT_EQ(ui.Transcript().front().buttons, MsgButtons::YesNo);
    ui.ExpectMessage(MsgResult::Yes, ResStr(3322));
    Run(Cmd::kCopyPartSet);
    ASSERT_TRUE(headless->ClipboardStore().bGetData(ResStr(5347), bytes));
    EXPECT_GT(bytes.size(), 20'000'000u);
    ExpectNoMismatch();
}

TEST_F(PartCommands, CheckProgramPropertiesRenameWithOneUndoStep) {
    Run(Cmd::kAddPartSet);
    ui.AnswerDialog(
        [](ODialogModel& m) {
            auto& d = static_cast<ODlg_CheckProgramProperties&>(m);
            EXPECT_FALSE(d.bZShown()) << "family 1";
            d.name = "Cover, left";
            return true;
        },
        "ODlg_CheckProgramProperties");
    Run(Cmd::kPartSetProperties);
    EXPECT_EQ(Set().GetName(), "Cover, left");
    EXPECT_EQ(views().PartSetBarEntries().back(), "2. Cover, left");
    EXPECT_EQ(Set().UndoRedo().GetUndoShortText(), "UNDO:Partsetproperties");
    EXPECT_EQ(Set().UndoRedo().GetUndoLongText(), "UNDO:PropertiesChanged");
    EXPECT_EQ(Set().UndoRedo().iGetUndoViewCommand(), 0);
    EXPECT_TRUE(doc().IsModified());

    // A name the 8-bit code page cannot hold is refused; the dialog stays open.
    const size_t steps = Set().UndoRedo().iGetNumSteps();
    ui.AnswerDialog([](ODialogModel& m) {
        static_cast<ODlg_CheckProgramProperties&>(m).name = "Deckel \u4e00";
        return true;
    });
    ui.ExpectMessage(MsgResult::Ok, ResStr(20407));
    ui.CancelDialog();
    Run(Cmd::kPartSetProperties);
    EXPECT_EQ(Set().GetName(), "Cover, left");
    EXPECT_EQ(Set().UndoRedo().iGetNumSteps(), steps);
    ExpectNoMismatch();
}

TEST_F(PartCommands, TheZCoordinateOfFamilyTwoWarnsUntilTheMarkIsTicked) {
    settings.SetInt("Settings", "PROJECT_USE_ALTERNATIVE_VALUE", 1);
    NewProject(kFamily2);
    ASSERT_EQ(session().ProjectProperties().useAlternativeValue, 1);
    const auto setZ = [](const char* z) {
        return [z](ODialogModel& m) {
            auto& d = static_cast<ODlg_CheckProgramProperties&>(m);
            EXPECT_TRUE(d.bZShown());
            EXPECT_EQ(d.UnitLabel(), "[mm]");
            d.zText = z;
            return true;
        };
    };
    ui.AnswerDialog(setZ("12,5"));
    ui.ExpectCheckMarkMessage(MsgResult::Ok, true, ResStr(9835));
    Run(Cmd::kPartSetProperties);
    EXPECT_DOUBLE_EQ(Set().dGetZCoordinate(), 12.5);
    EXPECT_EQ(settings.iGetInt("Settings", "WARNING_DISABLE_COORDTRANS_Z_0", 0), 1);
    EXPECT_EQ(ui.Transcript().back().caption, ResStr(128));
    ui.AnswerDialog(setZ("-3"));
    Run(Cmd::kPartSetProperties);
    EXPECT_DOUBLE_EQ(Set().dGetZCoordinate(), -3.0) << "no warning once the mark was ticked";

    ui.AnswerDialog(setZ("3 mm"));
    ui.ExpectMessage(MsgResult::Ok, ResStr(20413));
    ui.CancelDialog();
    Run(Cmd::kPartSetProperties);
    EXPECT_DOUBLE_EQ(Set().dGetZCoordinate(), -3.0);

    settings.SetInt("Settings", "PROJECT_USE_ALTERNATIVE_VALUE", 0);
    NewProject(kFamily2);
    ui.AnswerDialog([](ODialogModel& m) {
        EXPECT_FALSE(static_cast<ODlg_CheckProgramProperties&>(m).bZShown());
        return true;
    });
    Run(Cmd::kPartSetProperties);
    ExpectNoMismatch();
}

// --- part properties ---

TEST_F(PartCommands, PartPropertiesOfTheSelectionKeepWhatDiffers) {
    TeachParts(3, {0, 1});
    Set().TeachParts().GetAt(0)->SetComment("same");
    Set().TeachParts().GetAt(1)->SetComment("other");
    Set().TeachParts().GetAt(1)->SetType(2);
    ui.AnswerDialog(
        [](ODialogModel& m) {
            auto& d = static_cast<ODlg_PartProperties&>(m);
            EXPECT_EQ(d.comment, "") << "comments differ";
            EXPECT_EQ(d.typeEntry, -1) << "types differ";
            EXPECT_EQ(d.orientationEntry, -1) << "orientations 1 and 2 differ";
            d.orientationEntry = 3;
            return true;
        },
        "ODlg_PartProperties");
    ASSERT_TRUE(doc().bEditPartProperties(true));
    EXPECT_EQ(Orientations(Set().TeachParts()), (std::vector<int>{3, 3, 3}));
    EXPECT_EQ(Set().TeachParts().GetAt(0)->GetComment(), "same");
    EXPECT_EQ(Set().TeachParts().GetAt(1)->GetComment(), "other");
    EXPECT_EQ(Set().TeachParts().GetAt(1)->iGetType(), 2);
    EXPECT_EQ(Set().UndoRedo().GetUndoShortText(), "UNDO:Part properties changed");

    ui.ConfirmDialog("ODlg_PartProperties");
    EXPECT_FALSE(doc().bEditPartProperties(true)) << "OK without a change reports none";
    ExpectNoMismatch();
}

TEST_F(PartCommands, PartPropertiesOfTestPartsStoreTheCommentOnly) {
    AddParts(Set(), 0, 2);
    doc().ShowTeachOrTestList(0);
    Set().TestParts().GetAt(0)->SetSelected(true);
    const int orientation = Set().TestParts().GetAt(0)->iGetOrientation();
    ui.AnswerDialog([](ODialogModel& m) {
        auto& d = static_cast<ODlg_PartProperties&>(m);
        EXPECT_EQ(d.TypeControl(), ODlg_PartProperties::Control::Disabled);
        EXPECT_EQ(d.OrientationControl(), ODlg_PartProperties::Control::Disabled);
        d.comment = "scratch\r\non the left";
        d.orientationEntry = 0;
        d.typeEntry = 1;
        return true;
    });
    ASSERT_TRUE(doc().bEditPartProperties(true));
    const OType_Part& part = *Set().TestParts().GetAt(0);
    EXPECT_EQ(part.GetComment(), "scratch\r\non the left");
    EXPECT_EQ(part.iGetOrientation(), orientation);
    EXPECT_EQ(part.iGetType(), 1);
    ExpectNoMismatch();
}

}  // namespace
