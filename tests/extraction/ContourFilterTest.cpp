// Contour filters, combination and mirrors.
#include <gtest/gtest.h>

#include <random>

#include "ExtractionTestHost.h"
#include "extraction/OContourCombine.h"
#include "extraction/OContourEditCommands.h"
#include "extraction/OContourFilters.h"
#include "extraction/ODlg_ContourLimits.h"

namespace {

using V = std::vector<int16_t>;
using Columns = std::vector<std::vector<std::pair<int, int>>>;

V ContourOf(const OType_Part& p) {
    return {p.Contour().begin(), p.Contour().end()};
}

Columns RandomColumns(std::mt19937& rng, int maxRow = 500) {
    std::uniform_int_distribution<int> count(1, 60), runs(0, 4), gap(1, 12), len(1, 30);
    Columns columns(static_cast<size_t>(count(rng)));
    for (auto& column : columns) {
        int row = gap(rng);
        const int k = runs(rng);
        for (int i = 0; i < k && row < maxRow - 40; ++i) {
            const int bottom = row + len(rng);
            column.push_back({row, bottom});
            row = bottom + gap(rng);
        }
    }
    return columns;
}

long long Area(const V& runs) {
    long long a = 0;
    for (size_t i = 0; i + 1 < runs.size(); i += 2)
        a += std::max(0, std::abs(runs[i + 1]) - std::abs(runs[i]));
    return a;
}

}  // namespace

TEST(ContourFilters, ThinAreasDropLowRunsAndCloseColumns) {
    // Column 0: a thin run below a thick one; column 1: only thin; column 2: thick.
    const V in = Runs({{{10, 11}, {20, 40}}, {{5, 6}}, {{30, 35}}});
    // Column 1 keeps nothing and becomes (m, -m) with m = 20, the smallest kept top.
    EXPECT_EQ(FilterThinAreas(in, 2), (V{20, -40, 20, -20, 30, -35}));
    // Leading columns that keep nothing are dropped, trailing empty ones removed.
    EXPECT_EQ(FilterThinAreas(Runs({{{1, 2}}, {{10, 30}}, {{3, 4}}}), 2), (V{10, -30}));
    // A thin run that ended a column after a kept one: the kept run closes the column.
    EXPECT_EQ(FilterThinAreas(Runs({{{10, 30}, {40, 41}}}), 2), (V{10, -30}));
    EXPECT_TRUE(FilterThinAreas(Runs({{{1, 2}}}), 2).empty());
}

TEST(ContourFilters, HolesFillGapsUpToTheLimit) {
    const V in = Runs({{{10, 20}, {22, 30}, {40, 50}}, {}, {{5, 8}, {11, 12}}});
    // Gap 2 is filled, gaps 10 and 3 stay; the empty column becomes (m, -m) with m the
    // smallest top of a second or later run: 11.
    EXPECT_EQ(FilterHoles(in, 2), (V{10, 30, 40, -50, 11, -11, 5, 8, 11, -12}));
    EXPECT_EQ(FilterHoles(in, 3), (V{10, 30, 40, -50, 40, -40, 5, -12}));
}

// Columns without material marked at row 0 are the (1, -1) mark once written: trailing ones
// are dropped like any other, so filtering again changes nothing.
TEST(ContourFilters, HoleFilterDropsTrailingEmptyColumnsMarkedAtRowZero) {
    const V onlyEmpty = {0, 0, -15360, -9};
    EXPECT_EQ(FilterHoles(onlyEmpty, 0), V{});
    const V trailing = {10, -20, 0, 0, 300, -9};
    EXPECT_EQ(FilterHoles(trailing, 2), (V{10, -20}));
    // Inside the contour such a column becomes (m, -m) like every empty column.
    const V inside = {10, -20, 0, 0, 300, -9, 12, -20};
    const V once = FilterHoles(inside, 2);
    EXPECT_EQ(once, (V{10, -20, 10, -10, 12, -20}));
    EXPECT_EQ(FilterHoles(once, 2), once);
}

// -32768 means row 32768, beyond what a run value can hold: the filters work on row 32767,
// so a run that would shrink to nothing when written is dropped at once.
TEST(ContourFilters, TheLowestRunValueIsTakenAsTheLastRowThatCanBeWritten) {
    const V edge = {-32767, -32768, -32768, 32767};
    const V once = FilterThinAreas(edge, 0);
    EXPECT_EQ(FilterThinAreas(once, 0), once);
    const V tall = {100, -32768};
    EXPECT_EQ(FilterThinAreas(tall, 5), (V{100, -32767}));
    EXPECT_EQ(FilterHoles(tall, 5), (V{100, -32767}));
}

TEST(ContourFilters, ViewingAreaClampsIntoTheBand) {
    const V in = Runs({{{5, 15}, {20, 60}}, {{70, 90}}, {{1, 4}}, {{30, 40}}, {{2, 3}}});
    // Band 10..50: column 1 lies above (closed as empty), column 2 below, the last column
    // below too and is removed at the end.
    EXPECT_EQ(FilterViewingArea(in, 10, 50), (V{10, 15, 20, -50, 10, -10, 10, -10, 30, -40}));
    // Leading columns without material are dropped.
    EXPECT_EQ(FilterViewingArea(Runs({{{1, 4}}, {{30, 40}}}), 10, 50), (V{30, -40}));
    // A lower limit of 0 still writes empty columns with a column-end mark.
    const V low = FilterViewingArea(Runs({{{30, 40}}, {{70, 80}}, {{30, 40}}}), 0, 50);
    EXPECT_EQ(OType_Part::iCountColumns(low), 3);
    EXPECT_EQ(low, (V{30, -40, 1, -1, 30, -40}));
}

TEST(ContourFilters, HoleFilterTwiceRestartsFromTheBackup) {
    OType_Part twice, once;
    const V in = Runs({{{10, 20}, {24, 30}, {33, 40}}, {{0, 5}, {8, 9}}});
    twice.SetConturData(in);
    once.SetConturData(in);
    twice.SetComment("note");
    ASSERT_TRUE(ApplyHoleFilter(twice, 5));
    ASSERT_TRUE(ApplyHoleFilter(twice, 2));
    ASSERT_TRUE(ApplyHoleFilter(once, 2));
    EXPECT_EQ(ContourOf(twice), ContourOf(once));
    EXPECT_EQ(twice.BackupContour(), in);
    EXPECT_EQ(twice.GetComment(), "note(filtered: holes < 2)");
}

TEST(ContourFilters, ThinAfterHolesStacksAndUndoGoesBackOneKind) {
    OType_Part part;
    const V in = Runs({{{10, 20}, {21, 30}, {50, 51}}, {{10, 30}}});
    part.SetConturData(in);
    ASSERT_TRUE(ApplyHoleFilter(part, 2));
    const V holesFilled = ContourOf(part);
    EXPECT_EQ(holesFilled, Runs({{{10, 30}, {50, 51}}, {{10, 30}}}));
    ASSERT_TRUE(ApplyThinAreaFilter(part, 2));
    EXPECT_EQ(ContourOf(part), Runs({{{10, 30}}, {{10, 30}}}));
    EXPECT_EQ(part.iGetAppliedFilter(), ContourFilterKind::kThinAreas);
    ASSERT_TRUE(UndoLastFilter(part));
    EXPECT_EQ(ContourOf(part), holesFilled);
    EXPECT_EQ(part.iGetAppliedFilter(), 0);
    EXPECT_EQ(part.GetComment(), "(filtered: holes < 2)");
    // Nothing more to undo: the contour and the comment stay.
    part.SetComment("keep (this)");
    EXPECT_FALSE(UndoLastFilter(part));
    EXPECT_EQ(ContourOf(part), holesFilled);
    EXPECT_EQ(part.GetComment(), "keep (this)");
}

TEST(ContourFilters, EmptyContoursAreSkipped) {
    OType_Part part;
    EXPECT_FALSE(ApplyThinAreaFilter(part, 2));
    EXPECT_FALSE(ApplyViewingAreaFilter(part, 1, 5));
    EXPECT_EQ(part.iGetAppliedFilter(), 0);
    EXPECT_TRUE(part.Contour().empty());
}

TEST(ContourFilters, ThinAndHoleFiltersChangeTheAreaByExactlyWhatTheyRemoveOrFill) {
    std::mt19937 rng(99);
    for (int trial = 0; trial < 300; ++trial) {
        const Columns columns = RandomColumns(rng);
        const V in = Runs(columns);
        long long thin = 0, holes = 0;
        for (const auto& column : columns) {
            for (size_t i = 0; i < column.size(); ++i) {
                if (column[i].second - column[i].first <= 3)
                    thin += column[i].second - column[i].first;
                if (i > 0 && column[i].first - column[i - 1].second <= 3)
                    holes += column[i].first - column[i - 1].second;
            }
        }
        EXPECT_EQ(Area(FilterThinAreas(in, 3)), Area(in) - thin);
        EXPECT_EQ(Area(FilterHoles(in, 3)), Area(in) + holes);
        const V filled = FilterHoles(in, 3);
        EXPECT_EQ(FilterHoles(filled, 3), filled);
    }
}

TEST(ContourCombine, XorWithItselfEmptiesEveryColumn) {
    std::mt19937 rng(5);
    for (int trial = 0; trial < 100; ++trial) {
        const V in = Runs(RandomColumns(rng));
        const V x = CombineContours(in, in, ContourCombineOp::Xor);
        EXPECT_EQ(OType_Part::iCountColumns(x), OType_Part::iCountColumns(in));
        for (size_t i = 0; i < x.size(); i += 2) {
            EXPECT_EQ(x[i], 1);
            EXPECT_EQ(x[i + 1], -1);
        }
        EXPECT_EQ(CombineContours(in, in, ContourCombineOp::Or), in);
        EXPECT_EQ(CombineContours(in, in, ContourCombineOp::And), in);
    }
}

TEST(ContourCombine, OrAndAndOfTwoContours) {
    const V a = Runs({{{0, 10}}, {{5, 8}}});
    const V b = Runs({{{5, 20}}, {}, {{3, 4}}});
    EXPECT_EQ(CombineContours(a, b, ContourCombineOp::Or), Runs({{{0, 20}}, {{5, 8}}, {{3, 4}}}));
    EXPECT_EQ(CombineContours(a, b, ContourCombineOp::And), Runs({{{5, 10}}, {}, {}}));
    EXPECT_EQ(CombineContours(a, b, ContourCombineOp::Xor),
              Runs({{{0, 5}, {10, 20}}, {{5, 8}}, {{3, 4}}}));
    EXPECT_EQ(CombineContours({}, b, ContourCombineOp::And), b);
    EXPECT_EQ(CombineContours(a, {}, ContourCombineOp::And), a);
    // Rows beyond the mask are clipped.
    EXPECT_EQ(CombineContours(Runs({{{2040, 3000}}}), Runs({{{0, 1}}}), ContourCombineOp::Or),
              Runs({{{0, 1}, {2040, 2048}}}));
}

TEST(ContourMirror, TwiceGivesTheStart) {
    std::mt19937 rng(11);
    for (int trial = 0; trial < 200; ++trial) {
        const V in = Runs(RandomColumns(rng));
        EXPECT_EQ(MirrorContourVertical(MirrorContourVertical(in)), in);
        EXPECT_EQ(MirrorContourHorizontal(MirrorContourHorizontal(in, 512), 512), in);
    }
    // Empty columns become (1, -1).
    const V empty = {7, -7, 10, -20};
    EXPECT_EQ(MirrorContourVertical(empty), (V{10, -20, 1, -1}));
    EXPECT_EQ(MirrorContourVertical(MirrorContourVertical(empty)), (V{1, -1, 10, -20}));
}

TEST(ContourMirror, HorizontalSwapsTopAndBottom) {
    EXPECT_EQ(MirrorContourHorizontal(Runs({{{10, 20}, {30, 40}}}), 100),
              Runs({{{60, 70}, {80, 90}}}));
    // A run at the top of the image; rows above the image are clamped.
    EXPECT_EQ(MirrorContourHorizontal(Runs({{{90, 130}}}), 100), Runs({{{0, 10}}}));
    EXPECT_EQ(MirrorContourHorizontal(Runs({{{100, 130}}}), 100), (V{1, -1}));
}

TEST(ContourMirror, EngineUsesTheDeviceImageHeight) {
    OExtractionTestHost host;
    OType_Part part;
    part.SetConturData(Runs({{{10, 20}}}));
    part.SetBackupContour(Runs({{{0, 30}}}));
    host.info.SetU16(ZRINFO::kPixels, 0);  // not positive: 512
    host.Engine().MirrorHorizontal(part);
    EXPECT_EQ(ContourOf(part), Runs({{{492, 502}}}));
    EXPECT_EQ(part.BackupContour(), Runs({{{482, 512}}}));
    host.info.SetU16(ZRINFO::kPixels, 100);
    host.Engine().MirrorHorizontal(part);
    EXPECT_EQ(ContourOf(part), (V{1, -1}));  // the run lies above the smaller image
}

TEST(FilterLimitDialog, RejectsValuesBelowOne) {
    ODlg_FilterLimit dialog(3401, 2);
    std::string message;
    EXPECT_TRUE(dialog.bValidate(message));
    dialog.limit = 0;
    EXPECT_FALSE(dialog.bValidate(message));
    EXPECT_EQ(message, "Limit can not be set to a Value less than 1");
    EXPECT_EQ(dialog.Prompt(), "Ignore part areas with a height less than...");
}

namespace {
struct EditCommands : ::testing::Test {
    OExtractionTestHost host;
    OType_ZRPartSet& ps = host.PartSet();
    OContourEditCommands commands{host};
};
}  // namespace

TEST_F(EditCommands, ViewingAreaOnOffAndOnAgain) {
    OType_Part& a = AddTeachPart(ps, Runs({{{5, 60}}, {{8, 30}}}));
    OType_Part& b = AddTestPart(ps, Runs({{{12, 45}}}));
    host.ui.ExpectMessage(MsgResult::Ok, "viewing area");
    EXPECT_TRUE(commands.bExecute(ContourEditCommand::kViewingArea));
    EXPECT_EQ(ps.iGetFilterMode(), 1);
    EXPECT_EQ(ps.iGetFilterLimit1(), 5);
    EXPECT_EQ(ps.iGetFilterLimit2(), 60);
    EXPECT_EQ(host.recomputes.back(), (ORecomputeCall{1, 0, 1, 1, 0}));
    EXPECT_EQ(a.GetComment(), "(filtered viewing area: 5...60)");
    EXPECT_EQ(host.resultWindowClosed, 1);

    // Off: the contours stay clipped; the dragged limits had clipped part b.
    ps.SetFilterLimits(10, 40);
    commands.ReapplyViewingArea(ps);
    EXPECT_EQ(ContourOf(b), Runs({{{12, 40}}}));
    const int recomputes = static_cast<int>(host.recomputes.size());
    EXPECT_TRUE(commands.bExecute(ContourEditCommand::kViewingArea));
    EXPECT_EQ(ps.iGetFilterMode(), 0);
    EXPECT_EQ(static_cast<int>(host.recomputes.size()), recomputes);
    EXPECT_EQ(ContourOf(b), Runs({{{12, 40}}}));

    // On again: the limits come from the clipped data.
    host.ui.ExpectMessage(MsgResult::Ok);
    commands.bExecute(ContourEditCommand::kViewingArea);
    EXPECT_EQ(ps.iGetFilterLimit1(), 10);
    EXPECT_EQ(ps.iGetFilterLimit2(), 40);
    EXPECT_TRUE(host.ui.bAllScriptUsed());
}

TEST_F(EditCommands, ThinAreaFilterAsksForTheLimitAndRecordsIt) {
    OType_Part& part = AddTeachPart(ps, Runs({{{10, 12}, {20, 40}}}));
    host.ui.AnswerDialog(
        [](ODialogModel& m) {
            auto& d = dynamic_cast<ODlg_FilterLimit&>(m);
            EXPECT_EQ(d.limit, 2);
            EXPECT_EQ(d.iGetPromptId(), 3401);
            d.limit = 0;
            return true;
        },
        "ODlg_FilterLimit");
    host.ui.ExpectMessage(MsgResult::Ok, "less than 1");
    host.ui.AnswerDialog([](ODialogModel& m) {
        dynamic_cast<ODlg_FilterLimit&>(m).limit = 3;
        return true;
    });
    EXPECT_TRUE(commands.bExecute(ContourEditCommand::kThinAreas));
    EXPECT_TRUE(host.ui.bAllScriptUsed()) << host.ui.TranscriptText();
    EXPECT_EQ(ps.iGetFilterMode(), 2);
    EXPECT_EQ(ps.iGetFilterLimit1(), 3);
    EXPECT_EQ(ContourOf(part), (V{20, -40}));
    EXPECT_EQ(part.GetComment(), "(filtered: thin areas < 3)");

    // Cancelled: nothing changes.
    host.ui.CancelDialog();
    const size_t recomputes = host.recomputes.size();
    EXPECT_TRUE(commands.bExecute(ContourEditCommand::kHoles));
    EXPECT_EQ(ps.iGetFilterMode(), 2);
    EXPECT_EQ(host.recomputes.size(), recomputes);
}

TEST_F(EditCommands, UndoLastFilterRestoresEveryPart) {
    OType_Part& part = AddTeachPart(ps, Runs({{{10, 20}, {22, 30}}}));
    ApplyHoleFilter(part, 2);
    ps.SetFilterMode(3);
    EXPECT_TRUE(commands.bExecute(ContourEditCommand::kUndoFilter));
    EXPECT_EQ(ContourOf(part), Runs({{{10, 20}, {22, 30}}}));
    EXPECT_EQ(ps.iGetFilterMode(), 0);
    EXPECT_EQ(host.recomputes.back(), (ORecomputeCall{1, 0, 1, 1, 0}));
}

TEST_F(EditCommands, CombineSelectedPartsIntoANewPart) {
    AddTeachPart(ps, Runs({{{0, 10}}}), 2, 1).SetSelected(true);
    AddTeachPart(ps, Runs({{{50, 60}}}));
    AddTeachPart(ps, Runs({{{5, 20}}, {{1, 2}}})).SetSelected(true);
    EXPECT_TRUE(commands.bExecute(ContourEditCommand::kCombineOr));
    ASSERT_EQ(ps.TeachParts().iGetSize(), 4);
    const OType_Part& made = *ps.TeachParts().GetAt_NoSort(3);
    EXPECT_EQ(ContourOf(made), Runs({{{0, 20}}, {{1, 2}}}));
    EXPECT_EQ(made.iGetRecordNo(), 4);
    EXPECT_EQ(made.iGetOrientation(), 2);
    EXPECT_EQ(host.recomputes.back(), (ORecomputeCall{0, 0, 1, 1, 0}));

    // Test data shown, nothing selected: an empty test part, test-only recompute.
    ps.iShowSetTeachTest(0);
    AddTestPart(ps, Runs({{{0, 10}}}));
    commands.bExecute(ContourEditCommand::kCombineXor);
    ASSERT_EQ(ps.TestParts().iGetSize(), 2);
    EXPECT_TRUE(ps.TestParts().GetAt_NoSort(1)->Contour().empty());
    EXPECT_EQ(host.recomputes.back(), (ORecomputeCall{0, 1, 1, 1, 0}));
}
