// The tool manager's headless side over a real document: list texts with the numbering
// offset, which pages the sheet shows, applying a tool's pages (recompute, one undo step,
// refusals that change nothing) and moving tools of family 2 with their feature records.
#include "ManagersTestSupport.h"
#include "device/OQuillon.h"
#include "document/ODoc.h"
#include "managers/OToolManagerController.h"
#include "model/device/ZRINFO.h"
#include "model/strings/ResStr.h"
#include "tools/ContourToolProperties.h"
#include "tools/OType_ConfigTool_CTOOL.h"

using namespace managerstest;
using namespace ContourToolProperties;

namespace {

constexpr OTargetSystem kTalon{1, 778, 0, 6, 1, 8};
constexpr OTargetSystem kKesta{7, 818, 0, 6, 1, 8};
constexpr int kCTool = 32854;
constexpr int kRoi = 32852;

struct ToolManager : DocFixture {
    OToolManagerController& Manager() {
        if (!manager) manager = std::make_unique<OToolManagerController>(doc());
        return *manager;
    }
    std::unique_ptr<OToolManagerController> manager;
};

}  // namespace

TEST(ToolManagerText, EntriesNumberTheFeaturesWithTheOffset) {
    OType_ZRPartSet set;
    set.SetFixedFeatures(12);
    OType_ConfigTool* roi = set.Tools().Add(std::make_unique<OTestTool3>());
    roi->SetName("Triple 1");
    set.Tools().Add(std::make_unique<OType_ConfigTool_CTOOL>())->SetName("CTool 1");
    EXPECT_EQ(ToolManagerText::Entries(set, 12),
              (std::vector<std::string>{"13.-15. Triple 1", "16. CTool 1"}));
    EXPECT_EQ(ToolManagerText::Entries(set, 0),
              (std::vector<std::string>{"1.-3. Triple 1", "4. CTool 1"}));

    ZRINFO info;
    EXPECT_EQ(ToolManagerText::iNumberingOffset(&info, 12), 12)
        << "a record without counts: the check program's basic features";
    info.SetU16(ZRINFO::kFeatureCapacity, 32);
    info.SetU16(ZRINFO::kToolCapacity, 20);
    EXPECT_EQ(ToolManagerText::iNumberingOffset(&info, 0), 12);
    info.SetU16(ZRINFO::kFeatureCapacity, 64);
    info.SetU16(ZRINFO::kToolCapacity, 64);
    EXPECT_EQ(ToolManagerText::iNumberingOffset(&info, 12), 0) << "a zero offset";
    EXPECT_EQ(ToolManagerText::iNumberingOffset(nullptr, 0), 0);
}

TEST(ToolManagerText, DropDownWidthAndDescriptions) {
    EXPECT_EQ(ToolManagerText::iDropDownWidth(50, 7, 2, 17), 200 + 4 + 17) << "at least 200";
    EXPECT_EQ(ToolManagerText::iDropDownWidth(300, 7, 2, 17), 307 + 4 + 17);
    EXPECT_EQ(ToolManagerText::iDropDownWidth(900, 7, 2, 17), 600) << "at most 600";
    for (int i = 0; i < 12; ++i)
        EXPECT_FALSE(ToolManagerText::BasicFeatureDescription(i).empty()) << i;
    EXPECT_TRUE(ToolManagerText::BasicFeatureDescription(12).empty());
    EXPECT_NE(ToolManagerText::BasicFeatureDescription(0),
              ToolManagerText::BasicFeatureDescription(1));
}

TEST_F(ToolManager, TheSheetFollowsTheSelectedFeature) {
    NewProject(kTalon);
    AddSampleParts(3);
    doc().SelectFeature(2);
    OToolSheetContent content = Manager().WantedSheet();
    EXPECT_EQ(content.pages, OToolPageSet::BasicFeature);
    EXPECT_EQ(Manager().iSelectedEntry(), -1) << "a basic feature selects no entry";
    EXPECT_EQ(Manager().InfoText(content), ToolManagerText::BasicFeatureDescription(2));
    EXPECT_EQ(Manager().InfoLines(content).front().second, "3. Area");
    EXPECT_TRUE(Manager().DescribeProperties(content).empty());

    doc().OnCommand(kCTool, 0);
    doc().OnCommand(kRoi, 0);
    ASSERT_EQ(set().Tools().iGetNum(), 2);
    EXPECT_EQ(Manager().Entries(), (std::vector<std::string>{"13. ROI 1", "14. CTool 1"}))
        << "classic tools are grouped by kind";
    content = Manager().WantedSheet();
    ASSERT_EQ(content.pages, OToolPageSet::Tool) << "a new tool is selected";
    EXPECT_EQ(content.tool->GetName(), "ROI 1");
    EXPECT_EQ(Manager().iSelectedEntry(), 0);
    EXPECT_EQ(Manager().InfoTitle(content), "ROI 1");

    Manager().SelectEntry(1);
    EXPECT_EQ(set().iShowFeatureGetNo(), 13);
    content = Manager().WantedSheet();
    EXPECT_EQ(content.tool->GetName(), "CTool 1");
    EXPECT_EQ(Manager().DescribeProperties(content).size(), 7u);
    Manager().SelectEntry(7);
    EXPECT_EQ(set().iShowFeatureGetNo(), 13) << "an entry that does not exist selects nothing";
}

TEST_F(ToolManager, ApplyingChangesTheFeatureValuesInOneUndoStep) {
    NewProject(kTalon);
    AddSampleParts(4, 100, 40);
    doc().OnCommand(kCTool, 0);
    OType_ConfigTool* tool = set().Tools().opGetAt(0);
    ASSERT_NE(tool, nullptr);
    // The region covers columns 10 ... 49: 30 columns of height 60 and 10 of height 80.
    const OType_Part& first = *set().TeachParts().GetAt_NoSort(0);
    EXPECT_EQ(first.Features().dGetFeatureValueAt(12), 30 * 60 + 10 * 80);
    const int steps = set().UndoRedo().iGetNumSteps();

    const OToolSheetContent content = Manager().WantedSheet();
    std::string error;
    ASSERT_TRUE(Manager().bApply(
        content, {{kSubKind, int64_t{25}}, {kRegionLeft, int64_t{20}}, {kRegionRight, int64_t{59}}},
        error))
        << error;
    EXPECT_EQ(tool->iGetFeatureType(), 25);
    EXPECT_EQ(first.Features().dGetFeatureValueAt(12), 20) << "contour height: the step of 20 rows";
    EXPECT_EQ(set().UndoRedo().iGetNumSteps(), steps + 1);
    EXPECT_EQ(set().UndoRedo().GetUndoShortText(), "UNDO:Tool properties changed");

    ASSERT_TRUE(Manager().bApply(content, {}, error));
    ASSERT_TRUE(Manager().bApply(content, {{kRegionLeft, int64_t{20}}}, error));
    EXPECT_EQ(set().UndoRedo().iGetNumSteps(), steps + 1) << "no change, no undo step";

    EXPECT_FALSE(Manager().bApply(content, {{kRegionBottom, int64_t{5000}}}, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(tool->GetRegion().bottom, 511) << "a value outside the range applies nothing";
    EXPECT_EQ(set().UndoRedo().iGetNumSteps(), steps + 1);

    doc().OnUndo();
    tool = set().Tools().opGetAt(0);
    EXPECT_EQ(tool->iGetFeatureType(), 22);
    EXPECT_EQ(tool->GetRegion().left, 10);
    EXPECT_EQ(set().TeachParts().GetAt_NoSort(0)->Features().dGetFeatureValueAt(12),
              30 * 60 + 10 * 80)
        << "undo brings the values back";
}

TEST_F(ToolManager, ApplyingToAToolThatWentDoesNothing) {
    NewProject(kTalon);
    AddSampleParts(1);
    doc().OnCommand(kCTool, 0);
    const OToolSheetContent content = Manager().WantedSheet();
    set().Tools().RemoveAt(0);
    std::string error;
    EXPECT_FALSE(Manager().bApply(content, {{kName, std::string("x")}}, error));
}

TEST_F(ToolManager, MovingToolsOfFamily2StopsAtToolsTheyDependOn) {
    NewProject(kKesta);
    OType_ZRPartSet& s = set();
    s.RegisterToolKind(std::make_unique<OTestTool3>());
    auto* a = static_cast<OTestTool3*>(s.Tools().Add(std::make_unique<OTestTool3>()));
    a->SetName("A");
    auto* b = static_cast<OTestTool3*>(s.Tools().Add(std::make_unique<OTestTool3>()));
    b->SetName("B");
    auto* c = static_cast<OTestTool3*>(s.Tools().Add(std::make_unique<OTestTool3>()));
    c->SetName("C");
    c->reads = {{a->iGetToolId(), 1}};  // C reads a feature of A
    EXPECT_EQ(Manager().Entries(), (std::vector<std::string>{"1.-3. A", "4.-6. B", "7.-9. C"}));

    s.iShowFeatureNo(3);  // B
    EXPECT_TRUE(Manager().GetCommandState(32901).enabled);
    ASSERT_TRUE(Manager().bMoveUp());
    EXPECT_EQ(Manager().Entries(), (std::vector<std::string>{"1.-3. B", "4.-6. A", "7.-9. C"}));
    EXPECT_EQ(s.iShowFeatureGetNo(), 0) << "B stays selected";
    EXPECT_EQ(s.UndoRedo().GetUndoShortText(), "UNDO:Moved tool upwards");
    EXPECT_FALSE(Manager().GetCommandState(32901).enabled) << "the first tool";
    EXPECT_TRUE(Manager().GetCommandState(32902).enabled);

    s.iShowFeatureNo(6);  // C reads A, which stands above it
    ui.ExpectMessage(MsgResult::Ok, "A");
    EXPECT_FALSE(Manager().bMoveUp());
    EXPECT_EQ(Manager().Entries()[2], "7.-9. C");
    s.iShowFeatureNo(3);  // A: C below reads it
    ui.ExpectMessage(MsgResult::Ok, "C");
    EXPECT_FALSE(Manager().bMoveDown());
    ExpectNoMismatch();
    s.iShowFeatureNo(0);  // B down
    ASSERT_TRUE(Manager().bMoveDown());
    EXPECT_EQ(Manager().Entries(), (std::vector<std::string>{"1.-3. A", "4.-6. B", "7.-9. C"}));
    EXPECT_EQ(s.UndoRedo().GetUndoShortText(), "UNDO:Moved tool downwards");
}

TEST_F(ToolManager, MovingIsOfferedOnlyForFamily2) {
    NewProject(kTalon);
    AddSampleParts(1);
    doc().OnCommand(kCTool, 0);
    doc().OnCommand(kRoi, 0);
    EXPECT_FALSE(Manager().GetCommandState(32901).enabled);
    EXPECT_FALSE(Manager().GetCommandState(32902).enabled);
    EXPECT_FALSE(Manager().bMoveDown());
}
