// What the part list shows (entry texts, icons, the test statistics) and what its
// controller does: selection and the shown part, the copy, move and delete buttons under
// the part limit, the clipboard and dropped part data, bad input among it.
#include "DocTestSupport.h"
#include "document/CommandIds.h"
#include "document/OPartListController.h"
#include "document/PartListDisplay.h"
#include "model/project/OType_ProjectProperties.h"
#include "model/stream/OByteStream_Memory.h"
#include "model/strings/ResStr.h"

namespace {

using namespace doctest;

constexpr OTargetSystem kFamily1{1, 818, 0, 6, 2, 8};
constexpr OTargetSystem kFamily2{9, 818, 0, 20, 3, 4};

OType_Part Part(int recordNo, int type, int orientation, double result = 0,
                std::string comment = {}) {
    OType_Part part;
    part.SetRecordNo(recordNo);
    part.SetType(type);
    part.SetOrientation(orientation);
    part.SetResultValue(0, result);
    part.SetComment(std::move(comment));
    return part;
}

// --- what the lists show ---

TEST(PartListDisplay, EntryTextsNameTypeOrientationMarkerAndComment) {
    const OPartListSettings all{2, true, true};
    EXPECT_EQ(PartListDisplay::ItemText(Part(12, 2, 3), true, all), "12. Part Type= 2 Orient.= 3");
    EXPECT_EQ(PartListDisplay::ItemText(Part(4, 1, -3), true, all),
              "4. Part Type= 1 Orient.= 3 (ignored)")
        << "the sample list shows the orientation of an ignored part and marks it";
    EXPECT_EQ(PartListDisplay::ItemText(Part(4, 1, -3), false, all), "4. Part Type= 1 Orient.= -3")
        << "the test list shows it as it is";
    EXPECT_EQ(PartListDisplay::ItemText(Part(7, 1, 2, 100.5), false, all),
              "7. Part Type= 1 Orient.= 2 (Bad)");
    EXPECT_EQ(PartListDisplay::ItemText(Part(7, 1, 2, 100.0), false, all),
              "7. Part Type= 1 Orient.= 2")
        << "100 is still good";
    EXPECT_EQ(PartListDisplay::ItemText(Part(1, 1, 1, 0, "scratch\r\nleft"), true, all),
              "1. Part Type= 1 Orient.= 1, scratch left");
    const OPartListSettings plain{1, false, true};
    EXPECT_EQ(PartListDisplay::ItemText(Part(3, 2, 2, 0, "x"), true, plain), "3. Part, x");
}

TEST(PartListDisplay, SettingsComeFromTheProjectAndTheTarget) {
    OType_ProjectProperties properties;
    OTargetSystem target = kFamily1;
    properties.useTypes = 1;
    properties.useOrientation = 1;
    EXPECT_EQ(OPartListSettings::Of(properties, target), (OPartListSettings{2, true, true}));
    properties.useTypes = 0;
    EXPECT_EQ(OPartListSettings::Of(properties, target).typesShown, 1);
    properties.useTypes = 1;
    properties.useQuality = 0;
    EXPECT_EQ(OPartListSettings::Of(properties, target), (OPartListSettings{1, false, false}))
        << "without the quality decision neither types nor orientations are shown";
}

TEST(PartListDisplay, IconsTellUsedIgnoredGoodBadAndPlainParts) {
    const OPartListSettings quality{1, true, true};
    const OPartListSettings noQuality{1, false, false};
    EXPECT_EQ(PartListDisplay::Icon(Part(1, 1, 2), true, quality), PartListIcon::SampleUsed);
    EXPECT_EQ(PartListDisplay::Icon(Part(1, 1, -2), true, noQuality), PartListIcon::SampleIgnored);
    EXPECT_EQ(PartListDisplay::Icon(Part(1, 1, 2, 99), false, quality), PartListIcon::TestGood);
    EXPECT_EQ(PartListDisplay::Icon(Part(1, 1, 2, 101), false, quality), PartListIcon::TestBad);
    EXPECT_EQ(PartListDisplay::Icon(Part(1, 1, 2, 101), false, noQuality), PartListIcon::Plain);
}

TEST(PartListDisplay, TheStatusBarCountsGoodAndBadTestParts) {
    OType_PartArray test;
    EXPECT_EQ(PartListDisplay::StatusPanes(test, {1, true, true}),
              (std::array<std::string, 3>{" ", " ", " "}));
    test.Add(Part(1, 1, 1, 20));
    test.Add(Part(2, 1, 2, 150));
    test.Add(Part(3, 1, 2, 60));
    const auto panes = PartListDisplay::StatusPanes(test, {1, true, true});
    EXPECT_EQ(panes[0], "Good: 2 (66%)");
    EXPECT_EQ(panes[1], "Bad: 1 (34%)");
    EXPECT_EQ(panes[2], "Orient. > 1: 1 (33%)") << "good parts of an orientation above 1";
    EXPECT_EQ(PartListDisplay::StatusPanes(test, {1, false, true})[2], " ");
}

TEST(PartListDisplay, RowsFollowTheSortOrder) {
    OType_PartArray list;
    list.Add(Part(1, 1, 1, 0, "b"));
    list.Add(Part(2, 1, -2, 0, "a"));
    list.SetSortType(PartSortType::Comment);
    std::vector<OPartListRow> rows(5);
    PartListDisplay::BuildRows(list, true, {1, true, true}, rows);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].text, "2. Part Orient.= 2 (ignored), a");
    EXPECT_EQ(rows[0].icon, PartListIcon::SampleIgnored);
    EXPECT_EQ(rows[1].text, "1. Part Orient.= 1, b");
}

// --- the controller ---

struct PartList : DocFixture {
    std::unique_ptr<OPartListController> list;

    void SetUp() override {
        settings.SetInt("Settings", "PROJECT_USE_ORIENTATION", 1);
        NewProject(kFamily1);
        list = std::make_unique<OPartListController>(doc());
        ui.Clear();
    }
    OType_ZRPartSet& Set() { return *doc().opGetActualPartSet(); }
    OType_PartArray& Teach() { return Set().TeachParts(); }
    OType_PartArray& Test() { return Set().TestParts(); }
    void Fill(int teach, int test) {
        AddParts(Set(), teach, test);
        for (int i = 0; i < teach; ++i)
            Teach().GetAt(i)->SetRecordNo(i + 1);
        for (int i = 0; i < test; ++i)
            Test().GetAt(i)->SetRecordNo(i + 1);
        Set().UndoRedo().bStartUndoRedo(Set());
    }
    void Select(OType_PartArray& parts, std::initializer_list<int> rows) {
        for (int i = 0; i < parts.iGetSize(); ++i)
            parts.GetAt(i)->SetSelected(false);
        for (int row : rows)
            parts.GetAt(row)->SetSelected(true);
    }
    std::vector<int> Selected(const OType_PartArray& parts) {
        std::vector<int> rows;
        for (int i = 0; i < parts.iGetSize(); ++i) {
            if (parts.GetAt(i)->bIsSelected()) rows.push_back(i);
        }
        return rows;
    }
    std::vector<std::string> Comments(const OType_PartArray& parts) {
        std::vector<std::string> comments;
        for (int i = 0; i < parts.iGetSize(); ++i)
            comments.push_back(parts.GetAt(i)->GetComment());
        return comments;
    }
    void Limit(int parts, int policy) {
        session().Options().partBufferSize = parts;
        session().Options().partLimitPolicy = policy;
        session().ResetPartLimit();
    }
};

TEST_F(PartList, AClickTakesTheSelectionAndShowsTheClickedPart) {
    Fill(5, 3);
    list->OnClick(false, std::vector<int>{0, 2}, 2);
    EXPECT_EQ(Selected(Test()), (std::vector<int>{0, 2}));
    EXPECT_EQ(Set().iShowTestPartGetNo(), 2);
    EXPECT_EQ(Set().iShowGetTeachTest(), 0) << "test data is shown";
    EXPECT_FALSE(list->bIsSampleListFocused());
    list->FollowShownPart(false);
    EXPECT_EQ(Selected(Test()), (std::vector<int>{0, 2})) << "the list moved it: nothing follows";
}

TEST_F(PartList, TheSelectionFollowsAShownPartMovedElsewhere) {
    Fill(6, 0);
    list->FollowShownPart(true);
    list->OnClick(true, std::vector<int>{1, 2, 3}, 1);
    list->FollowShownPart(true);
    EXPECT_EQ(Selected(Teach()), (std::vector<int>{1, 2, 3}));
    doc().ShowNextTeachPart();  // the part contour view moved on
    list->FollowShownPart(true);
    EXPECT_EQ(Selected(Teach()), (std::vector<int>{2})) << "what is selected is what is shown";
}

TEST_F(PartList, TheTimerTakesTheSelectionAndAMovedFocusShowsItsPart) {
    Fill(5, 0);
    list->OnSelectionTimer(true, std::vector<int>{3, 4}, 0);
    EXPECT_EQ(Selected(Teach()), (std::vector<int>{3, 4}));
    EXPECT_EQ(Set().iShowTeachPartGetNo(), 0) << "the focus did not move";
    list->OnSelectionTimer(true, std::vector<int>{4}, 4);
    EXPECT_EQ(Set().iShowTeachPartGetNo(), 4);
    EXPECT_EQ(Selected(Teach()), (std::vector<int>{4}));
}

TEST_F(PartList, ArrowKeysStepThroughTheirList) {
    Fill(3, 3);
    list->OnArrowKey(false, 1);
    EXPECT_EQ(Set().iShowGetTeachTest(), 0);
    EXPECT_EQ(Set().iShowTestPartGetNo(), 1);
    list->OnArrowKey(false, 1);
    list->OnArrowKey(false, 1);
    EXPECT_EQ(Set().iShowTestPartGetNo(), 2) << "the last part stays";
    list->OnArrowKey(true, -1);
    EXPECT_EQ(Set().iShowTeachPartGetNo(), 0);
    EXPECT_EQ(Set().iShowGetTeachTest(), 1);
}

TEST_F(PartList, SortingByAFeatureTakesTheShownFeatureAndKeepsTheShownPart) {
    Fill(6, 0);
    doc().SelectFeature(2);  // area
    doc().ShowTeachPart(1);
    const OType_Part* shown = Teach().GetAt(1);
    list->OnSortSelection(true, static_cast<int>(PartSortType::Feature));
    EXPECT_EQ(Teach().GetSortType(), PartSortType::Feature);
    EXPECT_EQ(Teach().iGetSortFeature(), 2);
    EXPECT_EQ(Teach().GetAt(Set().iShowTeachPartGetNo()), shown);
    for (int i = 1; i < Teach().iGetSize(); ++i) {
        EXPECT_LE(Teach().GetAt(i - 1)->Features().dGetFeatureValueAt(2),
                  Teach().GetAt(i)->Features().dGetFeatureValueAt(2));
    }
    list->OnSortSelection(true, 17);
    EXPECT_EQ(Teach().GetSortType(), PartSortType::Feature) << "an unknown order is ignored";
}

TEST_F(PartList, CopyingAndMovingBetweenTheLists) {
    Fill(4, 2);
    Select(Teach(), {1, 3});
    list->CopyParts(true, false);
    ASSERT_EQ(Test().iGetSize(), 4);
    EXPECT_EQ(Test().GetAt(2)->GetComment(), "part 1");
    EXPECT_EQ(Test().GetAt(3)->GetComment(), "part 3");
    EXPECT_EQ(Test().GetAt(3)->iGetRecordNo(), 4);
    EXPECT_FALSE(Test().GetAt(3)->bIsTeachPart());
    EXPECT_EQ(Teach().iGetSize(), 4) << "a copy leaves the source";
    EXPECT_TRUE(Selected(Teach()).empty()) << "the source selection is cleared";
    EXPECT_EQ(Selected(Test()), (std::vector<int>{2, 3})) << "the copies are selected";
    EXPECT_EQ(Set().UndoRedo().GetUndoShortText(), "UNDO:Parts copied");
    EXPECT_TRUE(doc().IsModified());

    Select(Test(), {0, 1});
    doc().ShowTestPart(3);
    list->CopyParts(false, true);
    EXPECT_EQ(Test().iGetSize(), 2);
    EXPECT_EQ(Teach().iGetSize(), 6);
    EXPECT_TRUE(Teach().GetAt(5)->bIsTeachPart());
    EXPECT_EQ(Set().iShowTestPartGetNo(), 0) << "the part before the first moved one, or 0";
    EXPECT_EQ(Set().UndoRedo().GetUndoShortText(), "UNDO:Parts moved");
    doc().OnUndo();
    EXPECT_EQ(doc().opGetActualPartSet()->TestParts().iGetSize(), 4);
}

TEST_F(PartList, AFullListAndItsPolicies) {
    Fill(3, 3);
    Select(Test(), {0, 1, 2});
    Limit(3, 1);
    list->CopyParts(false, false);
    EXPECT_EQ(Teach().iGetSize(), 3) << "policy 1: a full list takes no copies";

    Limit(4, 0);
    ui.ExpectMessage(MsgResult::No, ResStr(3227));
    Select(Test(), {0, 1, 2});
    list->CopyParts(false, false);
    EXPECT_EQ(Teach().iGetSize(), 4) << "one fits, then No stops";
    EXPECT_EQ(session().iGetPartLimit(), 4);

    ui.ExpectMessage(MsgResult::Yes, ResStr(3227));
    Select(Test(), {0, 1, 2});
    list->CopyParts(false, false);
    EXPECT_EQ(Teach().iGetSize(), 7) << "Yes raises the limit by 500 once";
    EXPECT_EQ(session().iGetPartLimit(), 504);

    Limit(7, 2);
    Select(Test(), {0});
    list->CopyParts(false, false);
    EXPECT_EQ(Teach().iGetSize(), 8);
    EXPECT_EQ(session().iGetPartLimit(), 507) << "policy 2 raises without asking";

    // A move obeys the limit too: what the full list does not take stays where it was,
    // instead of being moved and then removed by the extraction run.
    Limit(9, 1);
    Select(Test(), {0, 1});
    list->CopyParts(false, true);
    EXPECT_EQ(Teach().iGetSize(), 9);
    ASSERT_EQ(Test().iGetSize(), 2);
    EXPECT_EQ(Test().GetAt(0)->GetComment(), "part 101") << "the first one was moved";

    // Pasted and dropped parts as well.
    Select(Test(), {0, 1});
    const OPartListTransfer drag = list->DragData(false);
    EXPECT_FALSE(list->bAddParts(true, drag.format, drag.bytes));
    EXPECT_EQ(Teach().iGetSize(), 9);
    ExpectNoMismatch();
}

TEST_F(PartList, DeletingShowsThePartBeforeTheFirstDeleted) {
    Fill(6, 0);
    Select(Teach(), {2, 4});
    list->DeleteSelectedParts(true);
    EXPECT_EQ(Comments(Teach()),
              (std::vector<std::string>{"part 0", "part 1", "part 3", "part 5"}));
    EXPECT_EQ(Set().iShowTeachPartGetNo(), 1);
    EXPECT_TRUE(Selected(Teach()).empty());
    Select(Teach(), {0, 1, 2, 3});
    list->DeleteSelectedParts(true);
    EXPECT_EQ(Teach().iGetSize(), 0);
    EXPECT_EQ(Set().iShowTeachPartGetNo(), 0);
    EXPECT_EQ(Set().opGetShowPart(), nullptr) << "nothing is shown";
    doc().OnUndo();
    EXPECT_EQ(doc().opGetActualPartSet()->TeachParts().iGetSize(), 4) << "undo brings them back";
}

TEST_F(PartList, ViewCommandStatesFollowTheFocusedList) {
    Fill(3, 2);
    Select(Teach(), {});
    EXPECT_FALSE(list->CommandState(Cmd::kEditCopy).enabled);
    EXPECT_TRUE(list->CommandState(Cmd::kEditSelectAll).enabled);
    EXPECT_FALSE(list->CommandState(Cmd::kEditPaste).enabled);
    Select(Teach(), {1});
    EXPECT_TRUE(list->CommandState(Cmd::kEditCopy).enabled);
    EXPECT_TRUE(list->CommandState(Cmd::kEditDelete).enabled);
    EXPECT_TRUE(list->CommandState(Cmd::kPartProperties).enabled);
    list->SetFocusedList(false);
    EXPECT_FALSE(list->CommandState(Cmd::kEditCopy).enabled) << "the test list has no selection";
    Select(Test(), {0});
    EXPECT_TRUE(list->CommandState(Cmd::kEditCopy).enabled);
    EXPECT_FALSE(list->CommandState(Cmd::kEditDelete).enabled)
        << "deleting test parts needs test data shown";
    doc().ShowTeachOrTestList(0);
    EXPECT_TRUE(list->CommandState(Cmd::kEditDelete).enabled);
    list->bExecute(Cmd::kEditSelectAll);
    EXPECT_EQ(Selected(Test()), (std::vector<int>{0, 1}));
    EXPECT_FALSE(list->bExecute(Cmd::kFileSave)) << "not a command of the list";
}

TEST_F(PartList, PartsTravelThroughTheClipboardToTheFocusedList) {
    Fill(4, 1);
    Select(Teach(), {0, 2});
    ASSERT_TRUE(list->bExecute(Cmd::kEditCopy));
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(headless->ClipboardStore().bGetData(ResStr(5319), bytes));
    std::vector<std::unique_ptr<OType_Part>> decoded;
    ASSERT_TRUE(OPartListController::bDecodeParts(bytes, 100, decoded));
    ASSERT_EQ(decoded.size(), 2u);
    EXPECT_EQ(decoded[1]->GetComment(), "part 2");
    EXPECT_EQ(decoded[1]->Contour().size(), Teach().GetAt(2)->Contour().size());

    list->SetFocusedList(false);
    EXPECT_TRUE(list->CommandState(Cmd::kEditPaste).enabled);
    list->bExecute(Cmd::kEditPaste);
    ASSERT_EQ(Test().iGetSize(), 3);
    EXPECT_EQ(Comments(Test()), (std::vector<std::string>{"part 100", "part 0", "part 2"}));
    EXPECT_EQ(Test().GetAt(2)->iGetRecordNo(), 3);
    EXPECT_FALSE(Test().GetAt(2)->bIsTeachPart());
    EXPECT_EQ(Selected(Test()), (std::vector<int>{1, 2})) << "the pasted parts are selected";
    EXPECT_EQ(Set().UndoRedo().GetUndoShortText(), "UNDO:Parts pasted");

    // Cut: copied, then deleted from the focused list.
    list->SetFocusedList(true);
    Select(Teach(), {3});
    list->bExecute(Cmd::kEditCut);
    EXPECT_EQ(Teach().iGetSize(), 3);
    ASSERT_TRUE(headless->ClipboardStore().bGetData(ResStr(5319), bytes));
    ASSERT_TRUE(OPartListController::bDecodeParts(bytes, 100, decoded));
    EXPECT_EQ(decoded.front()->GetComment(), "part 3");
}

TEST_F(PartList, ACutWhoseCopyFailsDeletesNothing) {
    Fill(2, 0);
    Select(Teach(), {0});
    headless->ClipboardStore().FailNextWrite();
    ui.ExpectMessage(MsgResult::Ok, ResStr(3300));
    list->bExecute(Cmd::kEditCut);
    EXPECT_EQ(Teach().iGetSize(), 2);
    ExpectNoMismatch();
}

TEST_F(PartList, PartsOfTheOtherFamilyAreRefused) {
    Fill(2, 0);
    OType_Part part = Part(1, 1, 1);
    headless->ClipboardStore().bSetData(ResStr(5341), part.Encode());
    EXPECT_TRUE(list->CommandState(Cmd::kEditPaste).enabled) << "to say why it cannot";
    ui.ExpectMessage(MsgResult::Ok, ResStr(21010));
    list->bExecute(Cmd::kEditPaste);
    EXPECT_EQ(Teach().iGetSize(), 2);
    ui.ExpectMessage(MsgResult::Ok, ResStr(21010));
    EXPECT_FALSE(list->bAddParts(false, ResStr(5341), part.Encode()));
    EXPECT_EQ(Test().iGetSize(), 0);

    NewProject(kFamily2);
    headless->ClipboardStore().bSetData(ResStr(5319), part.Encode());
    ui.ExpectMessage(MsgResult::Ok, ResStr(21010));
    list->bExecute(Cmd::kEditPaste);
    EXPECT_EQ(doc().opGetActualPartSet()->TeachParts().iGetSize(), 0)
        << "family-1 parts do not enter a family-2 project";
    ExpectNoMismatch();
}

TEST_F(PartList, DamagedPartDataChangesNothing) {
    Fill(3, 0);
    const std::vector<uint8_t> one = Teach().GetAt(0)->Encode();
    const std::vector<uint8_t> two = Teach().GetAt(1)->Encode();
    std::vector<uint8_t> good = one;
    good.insert(good.end(), two.begin(), two.end());
    std::vector<std::vector<uint8_t>> damaged;
    damaged.push_back({});                                                  // nothing at all
    damaged.push_back(std::vector<uint8_t>(good.begin(), good.end() - 5));  // cut short
    damaged.push_back(good);
    damaged.back().push_back(0x42);  // a stray byte after the last part
    damaged.push_back(good);
    damaged.back()[one.size() + 4] ^= 0xFF;  // the second part's object id
    std::vector<uint8_t> noise(300);
    for (size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<uint8_t>(i * 37 + 11);
    damaged.push_back(noise);
    for (size_t k = 0; k < damaged.size(); ++k) {
        const std::vector<std::string> before = Comments(Teach());
        const size_t steps = Set().UndoRedo().iGetNumSteps();
        ui.ExpectMessage(MsgResult::Ok, ResStr(21011));
        EXPECT_FALSE(list->bAddParts(true, ResStr(5319), damaged[k])) << k;
        EXPECT_EQ(Comments(Teach()), before) << k << ": a paste failing half-way adds nothing";
        EXPECT_EQ(Set().UndoRedo().iGetNumSteps(), steps) << k;
    }
    EXPECT_FALSE(doc().IsModified());
    EXPECT_TRUE(list->bAddParts(true, ResStr(5319), good));
    EXPECT_EQ(Teach().iGetSize(), 5);
    ExpectNoMismatch();
}

TEST_F(PartList, DecodingStopsAtItsLimitBeforeReadingFurther) {
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 4; ++i) {
        const std::vector<uint8_t> part = Part(i + 1, 1, 1).Encode();
        bytes.insert(bytes.end(), part.begin(), part.end());
    }
    std::vector<std::unique_ptr<OType_Part>> parts;
    EXPECT_TRUE(OPartListController::bDecodeParts(bytes, 4, parts));
    EXPECT_EQ(parts.size(), 4u);
    EXPECT_FALSE(OPartListController::bDecodeParts(bytes, 3, parts));
    EXPECT_TRUE(parts.empty());
}

TEST_F(PartList, DraggedPartsAreTheSelectedOnesInTheFamilysFormat) {
    Fill(3, 0);
    Select(Teach(), {2});
    const OPartListTransfer drag = list->DragData(true);
    EXPECT_EQ(drag.format, ResStr(5319));
    std::vector<std::unique_ptr<OType_Part>> parts;
    ASSERT_TRUE(OPartListController::bDecodeParts(drag.bytes, 10, parts));
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_EQ(parts[0]->GetComment(), "part 2");
    EXPECT_TRUE(list->bAddParts(false, drag.format, drag.bytes));
    EXPECT_EQ(Comments(Test()), (std::vector<std::string>{"part 2"}));
}

}  // namespace
