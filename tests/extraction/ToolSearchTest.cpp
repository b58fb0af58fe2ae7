// The automatic tool search: classes and pair scores, the reference parts and the difference
// grid, the candidate stages with their stop rules, the selection and its names, and the
// search through the extraction engine with the device session's rules (free slots, kinds).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>

#include "ExtractionTestHost.h"
#include "extraction/OToolSearch.h"
#include "extraction/OToolSearchJob.h"
#include "model/part/OType_Part.h"
#include "platform/OClock_Manual.h"
#include "platform/OClock_System.h"
#include "support/ToolSearchParts.h"
#include "tools/ContourToolTypes.h"
#include "tools/OType_ConfigTool_Contour.h"

namespace {

using namespace searchparts;

// Records what the search reports; may advance a manual clock or cancel at a pump.
class ORecordingObserver : public OToolSearchObserver {
  public:
    void SetRange(int low, int high) override { ranges.push_back({low, high}); }
    void SetPosition(int p) override { positions.push_back(p); }
    void SetStatus(const std::string& text) override { statuses.push_back(text); }
    void Pump() override {
        ++pumps;
        if (onPump) onPump(pumps);
    }
    std::vector<std::pair<int, int>> ranges;
    std::vector<int> positions;
    std::vector<std::string> statuses;
    int pumps = 0;
    std::function<void(int)> onPump;
};

// Orientation 1 and 2 parts with the bump at the front and at the back.
std::vector<OToolSearchPartInput> MirroredParts(int perClass, int lengthBase = 300,
                                                int spread = 101) {
    std::vector<OToolSearchPartInput> parts;
    for (int i = 0; i < perClass; ++i) {
        for (int o = 1; o <= 2; ++o) {
            parts.push_back(
                {BumpPart(PartLength(i, lengthBase, spread), PartHeight(i), o == 1), o, 1});
        }
    }
    return parts;
}

OToolSearchInput Input(std::vector<OToolSearchPartInput> parts, int threads = 1) {
    OToolSearchInput input;
    input.parts = std::move(parts);
    input.maxMinutes = 10;
    input.freeSlots = 5;
    input.threads = threads;
    return input;
}

OClassRange Range(std::initializer_list<double> values) {
    OClassRange r;
    for (double v : values)
        r.Add(v);
    return r;
}

OSearchCandidate Candidate(int left, std::vector<OPairScore> scores) {
    return {{ContourToolKind::kROI, ContourFeatureType::kRoiArea, 1, {left, 0, left + 9, 99}},
            std::move(scores)};
}

}  // namespace

// --- classes and pair scores ---

TEST(ToolSearchClasses, PartsFallIntoClassesByTheProjectsDetection) {
    OSearchClasses orientations({true, false, false, false});
    EXPECT_EQ(orientations.iSlotOf(2, 5), OSearchClasses::iSlot(2, 1));  // types ignored
    EXPECT_EQ(orientations.iSlotOf(6, 1), OSearchClasses::iSlot(6, 1));
    EXPECT_EQ(orientations.iSlotOf(7, 1), -1);   // beyond 6 orientations
    EXPECT_EQ(orientations.iSlotOf(0, 1), -1);   // unassigned
    EXPECT_EQ(orientations.iSlotOf(-2, 1), -1);  // ignored at teach

    OSearchClasses none({false, false, false, false});
    EXPECT_EQ(none.iSlotOf(4, 3), OSearchClasses::iSlot(1, 1));
    EXPECT_EQ(none.iSlotOf(-1, 3), -1);

    OSearchClasses types({true, true, false, true});
    EXPECT_EQ(types.iSlotOf(0, 8), OSearchClasses::iSlot(0, 8));  // unassigned included
    EXPECT_EQ(types.iSlotOf(1, 9), -1);                           // beyond 8 types
}

TEST(ToolSearchClasses, PairsCompareOrientationsAndTypeOneWithinAnOrientation) {
    OSearchClasses classes({true, true, false, false});
    const int o1t1 = OSearchClasses::iSlot(1, 1), o1t2 = OSearchClasses::iSlot(1, 2),
              o1t3 = OSearchClasses::iSlot(1, 3), o2t2 = OSearchClasses::iSlot(2, 2);
    classes.SetPresent({o2t2, o1t3, o1t1, o1t2, o1t1});
    ASSERT_EQ(classes.iCount(), 4);
    std::vector<std::string> names;
    for (size_t p = 0; p < classes.Pairs().size(); ++p)
        names.push_back(classes.PairName(static_cast<int>(p)));
    // 1/2 against 1/3 shares the orientation and neither is type 1: not compared.
    EXPECT_EQ(names, (std::vector<std::string>{"1/1->1/2", "1/1->1/3", "1/1->2/2", "1/2->2/2",
                                               "1/3->2/2"}));
    OSearchClasses all({true, true, true, false});
    all.SetPresent({o1t1, o1t2, o1t3, o2t2});
    EXPECT_EQ(all.Pairs().size(), 6u);
}

TEST(ToolSearchClasses, PairScoreLevelsFollowTheMarginOfTheMeans) {
    // Ranges 99..101 and 159..161, means 100 and 160: 159 - 160k > 101 + 100k up to
    // k = 0.223, separated at 20 % but not at 30 %; either way round.
    EXPECT_EQ(OSearchClasses::iPairScore(Range({100}), Range({160})), 64);
    EXPECT_EQ(OSearchClasses::iPairScore(Range({160}), Range({100})), 64);
    // 100 against 150: up to k = 0.192, so 15 %.
    EXPECT_EQ(OSearchClasses::iPairScore(Range({100}), Range({150})), 32);
    EXPECT_EQ(OSearchClasses::iPairScore(Range({100}), Range({400})), 128);
    EXPECT_EQ(OSearchClasses::iPairScore(Range({200}), Range({170})), 4);
    EXPECT_EQ(OSearchClasses::iPairScore(Range({200}), Range({190})), 0);
    // One part per class still has a spread of 2 and scores.
    EXPECT_EQ(OSearchClasses::iPairScore(Range({0}), Range({10})), 128);
    // A class without values never scores.
    EXPECT_EQ(OSearchClasses::iPairScore(OClassRange(), Range({10})), 0);
}

// --- reference parts and the grid ---

TEST(ToolSearch, ReferencePartsAreUnionAndIntersectionOfEachClass) {
    OToolSearch search(Input({{BumpPart(100, 100, true), 1, 1},
                              {BumpPart(120, 100, true), 1, 1},
                              {BumpPart(100, 100, false), 2, 1},
                              {{}, 2, 1},          // no contour: no part
                              {{1, -1}, 3, 1}}));  // no material: no class
    search.BuildReferenceParts();
    ASSERT_EQ(search.Classes().iCount(), 2);
    const auto& refs = search.ReferenceParts();
    ASSERT_EQ(refs.size(), 4u);
    EXPECT_EQ(refs[0].classIndex, 0);
    EXPECT_EQ(refs[0].index.iGetColumns(), 120);  // union
    EXPECT_EQ(refs[1].index.iGetColumns(), 120);  // intersection, closed by empty columns
    EXPECT_EQ(refs[1].index.Measure(2, 33, 1, {0, 0, 119, 511}), 100.0 * 100 + 20 * 15);
    EXPECT_EQ(search.iTargetScore(), 2 * 1 * 128);
}

TEST(ToolSearch, DifferenceGridMarksWhereTheClassesDiffer) {
    OToolSearch search(Input(MirroredParts(1, 400, 1)));
    search.BuildReferenceParts();
    const std::vector<int16_t> difference = search.DifferenceImage();
    search.BuildGrid(difference);
    const OSearchGrid& g = search.Grid();
    // 400 columns, rows 40 .. 175: 8 grid columns of 50, 2 grid rows of 67.
    EXPECT_EQ(g.columns, 8);
    EXPECT_EQ(g.cellWidth, 50);
    EXPECT_EQ(g.rows, 2);
    EXPECT_EQ(g.iRowEnd(1), 40 + 120 + 15);
    // The bumps lie in columns 20..39 and 360..379, in the upper grid row.
    for (int i = 0; i < g.columns; ++i) {
        const bool bump = i == 0 || i == 7;
        EXPECT_EQ(g.At(i, 1), bump ? 300.0 : 0.0) << i;
        EXPECT_EQ(g.At(i, 0), 0.0) << i;
    }
}

TEST(ToolSearch, SingleClassRunsNoStageAndSelectsNothing) {
    std::vector<OToolSearchPartInput> parts;
    for (int i = 0; i < 5; ++i)
        parts.push_back({BumpPart(PartLength(i, 300, 50), PartHeight(i), true), 1, 1});
    OToolSearch search(Input(parts));
    ORecordingObserver observer;
    const std::atomic<int> cancel{0};
    search.Run(observer, cancel, OClock_System());
    EXPECT_EQ(search.Stats().stages, 0);
    EXPECT_EQ(search.Stats().tried, 0);
    EXPECT_TRUE(search.Selected().empty());
}

TEST(ToolSearch, PartsWithoutContourGiveNothingToSearch) {
    OToolSearch search(Input({{{}, 1, 1}, {{}, 2, 1}, {{7}, 2, 1}}));
    ORecordingObserver observer;
    const std::atomic<int> cancel{0};
    search.Run(observer, cancel, OClock_System());
    EXPECT_EQ(search.Classes().iCount(), 0);
    EXPECT_TRUE(search.Selected().empty());
}

// --- stages ---

TEST(ToolSearch, FindsAToolThatSeparatesTheMirroredOrientations) {
    OToolSearch search(Input(MirroredParts(12)));
    ORecordingObserver observer;
    const std::atomic<int> cancel{0};
    OClock_Manual clock;
    search.Run(observer, cancel, clock);
    const OToolSearchStats& stats = search.Stats();
    EXPECT_GT(stats.tried, 100);
    EXPECT_GT(stats.kept, 0);
    EXPECT_GT(stats.checked, 0);
    ASSERT_EQ(search.Selected().size(), 1u);
    const OSelectedTool& tool = search.Selected().front();
    EXPECT_EQ(tool.name, "1/1->2/1");
    // The chosen region really separates the orientations by 30 % on every part.
    OSearchClasses classes({true, false, false, false});
    classes.SetPresent({OSearchClasses::iSlot(1, 1), OSearchClasses::iSlot(2, 1)});
    OToolSearchEvaluator evaluator(classes);
    std::vector<OSearchPart> parts;
    for (const OToolSearchPartInput& p : MirroredParts(12))
        parts.push_back({classes.iIndexOf(p.orientation, p.type), OContourPartIndex(p.runs)});
    std::vector<OPairScore> scores;
    EXPECT_EQ(evaluator.iScore(tool.spec, parts, scores), 128);
    // Progress: the range of the budget in seconds, the selection status line.
    ASSERT_FALSE(observer.ranges.empty());
    EXPECT_EQ(observer.ranges.front(), std::make_pair(0, 600));
    EXPECT_EQ(observer.positions.front(), 1);
    EXPECT_NE(
        std::find(observer.statuses.begin(), observer.statuses.end(),
                  std::to_string(stats.kept) + " Tools were found; selecting now, please wait..."),
        observer.statuses.end());
}

TEST(ToolSearch, TheResultIsTheSameWithOneAndTwoThreads) {
    const auto run = [](int threads) {
        OToolSearchInput input = Input(MirroredParts(10), threads);
        input.step = OSearchStep::Medium;
        OToolSearch search(std::move(input));
        ORecordingObserver observer;
        const std::atomic<int> cancel{0};
        OClock_Manual clock;
        search.Run(observer, cancel, clock);
        return std::make_pair(search.Stats(), search.Selected());
    };
    const auto [one, selectedOne] = run(1);
    const auto [two, selectedTwo] = run(2);
    EXPECT_EQ(one.tried, two.tried);
    EXPECT_EQ(one.kept, two.kept);
    EXPECT_EQ(one.checked, two.checked);
    ASSERT_EQ(selectedOne.size(), selectedTwo.size());
    for (size_t i = 0; i < selectedOne.size(); ++i) {
        EXPECT_EQ(selectedOne[i].spec, selectedTwo[i].spec);
        EXPECT_EQ(selectedOne[i].name, selectedTwo[i].name);
    }
}

TEST(ToolSearch, CancellingDuringTheCToolStageStillSelectsFromTheKeptCandidates) {
    // Small steps give the first CTool stage more than one batch of candidates.
    OToolSearchInput input = Input(MirroredParts(8));
    input.step = OSearchStep::Small;
    OToolSearch search(std::move(input));
    std::atomic<int> cancel{0};
    ORecordingObserver observer;
    observer.onPump = [&](int) { cancel.store(1); };
    OClock_Manual clock;
    search.Run(observer, cancel, clock);
    EXPECT_TRUE(search.Stats().cancelled);
    EXPECT_EQ(search.Stats().stages, 1);  // the CTool stage of the first block only
    EXPECT_EQ(search.Stats().tried, ToolSearch::kBatch);
    ASSERT_FALSE(search.Selected().empty());
    for (const OSelectedTool& t : search.Selected())
        EXPECT_EQ(t.spec.kind, ContourToolKind::kCTool);
    for (const std::string& s : observer.statuses) {
        if (s.rfind("Searching", 0) == 0) {
            EXPECT_NE(s.find("(CTool: "), std::string::npos) << s;
        }
    }
}

TEST(ToolSearch, AStageEndsWhenItsBudgetIsSpent) {
    // Every batch of 500 candidates takes 10 s. With one minute each stage may spend a few
    // seconds, so it ends at its second clock check; with 1000 minutes the stages run out
    // of candidates first.
    const auto run = [](double minutes, std::vector<int>* positions) {
        OToolSearchInput input = Input(MirroredParts(6));
        input.maxMinutes = minutes;
        input.step = OSearchStep::Small;
        OToolSearch search(std::move(input));
        OClock_Manual clock;
        ORecordingObserver observer;
        observer.onPump = [&](int) { clock.Advance(std::chrono::seconds(10)); };
        const std::atomic<int> cancel{0};
        search.Run(observer, cancel, clock);
        if (positions) *positions = observer.positions;
        return search.Stats();
    };
    std::vector<int> positions;
    const OToolSearchStats limited = run(1, &positions);
    const OToolSearchStats open = run(1000, nullptr);
    EXPECT_FALSE(limited.cancelled);
    EXPECT_GT(limited.stages, 2);
    EXPECT_EQ(limited.stages, open.stages);
    EXPECT_LE(limited.tried, 3 * int64_t{ToolSearch::kBatch} * limited.stages);
    EXPECT_LT(limited.tried, open.tried);
    // The progress position follows the seconds spent, within the minute.
    ASSERT_FALSE(positions.empty());
    EXPECT_GE(*std::max_element(positions.begin(), positions.end()), 11);
}

TEST(ToolSearch, AKindTheDeviceRefusesHasNoStage) {
    const auto name = [](int kind) { return kind == ContourToolKind::kROI ? "ROI" : "CTool"; };
    for (const int allowed : {ContourToolKind::kROI, ContourToolKind::kCTool}) {
        OToolSearchInput input = Input(MirroredParts(6));
        input.allowROI = allowed == ContourToolKind::kROI;
        input.allowCTool = allowed == ContourToolKind::kCTool;
        input.allowVStrip = false;
        OToolSearch search(std::move(input));
        ORecordingObserver observer;
        const std::atomic<int> cancel{0};
        search.Run(observer, cancel, OClock_Manual());
        ASSERT_FALSE(search.Selected().empty()) << allowed;
        for (const OSelectedTool& t : search.Selected())
            EXPECT_EQ(t.spec.kind, allowed);
        for (const std::string& status : observer.statuses) {
            if (status.rfind("Searching", 0) != 0) continue;
            EXPECT_NE(status.find(std::string("(") + name(allowed) + ":"), std::string::npos)
                << status;
        }
    }
}

// --- selection ---

TEST(ToolSearchSelection, NamesAToolAfterEveryPairItSeparates) {
    std::vector<OToolSearchPartInput> parts;
    for (int o = 1; o <= 3; ++o)
        parts.push_back({BumpPart(100, 100, true), o, 1});
    OToolSearch search(Input(parts));
    search.BuildReferenceParts();
    ASSERT_EQ(search.Classes().Pairs().size(), 3u);  // 1->2, 1->3, 2->3
    std::vector<OSearchCandidate> candidates = {
        Candidate(0, {{0, 64}, {1, 64}}),  // 1/1->2/1 and 1/1->3/1
        Candidate(10, {{2, 16}}),          // 2/1->3/1
    };
    const std::vector<OSelectedTool> selected = search.Select(candidates, 5, nullptr);
    ASSERT_EQ(selected.size(), 2u);
    EXPECT_EQ(selected[0].name, "1/1->2/1,1/1->3/1");
    EXPECT_EQ(selected[0].spec.region.left, 0);
    EXPECT_EQ(selected[1].name, "2/1->3/1");
    EXPECT_EQ(search.Select(candidates, 1, nullptr).size(), 1u);
}

TEST(ToolSearchSelection, EqualSumsGoToTheLaterCandidateAndLowScoresToTheBest) {
    std::vector<OToolSearchPartInput> parts;
    for (int o = 1; o <= 3; ++o)
        parts.push_back({BumpPart(100, 100, true), o, 1});
    OToolSearch search(Input(parts));
    search.BuildReferenceParts();
    {
        const auto selected =
            search.Select({Candidate(0, {{0, 32}}), Candidate(10, {{0, 32}})}, 5, nullptr);
        ASSERT_EQ(selected.size(), 1u);
        EXPECT_EQ(selected[0].spec.region.left, 10);
    }
    {
        // The widest candidate scores 4 on each pair, each of which another one serves
        // better: it is passed over instead of being chosen again and again.
        const auto selected =
            search.Select({Candidate(0, {{0, 16}}), Candidate(10, {{1, 16}}),
                           Candidate(20, {{2, 16}}), Candidate(30, {{0, 4}, {1, 4}, {2, 4}}),
                           Candidate(40, {{0, 4}, {1, 4}, {2, 4}, {0, 4}})},
                          5, nullptr);
        std::vector<int> lefts;
        for (const auto& s : selected)
            lefts.push_back(s.spec.region.left);
        EXPECT_EQ(lefts, (std::vector<int>{0, 10, 20}));
    }
    EXPECT_TRUE(search.Select({}, 5, nullptr).empty());
}

// --- through the extraction engine and the session's rules ---

namespace {

void AddMirroredTeachParts(OExtractionTestHost& host, int perClass) {
    for (const OToolSearchPartInput& p : MirroredParts(perClass))
        AddTeachPart(host.PartSet(), p.runs, p.orientation, p.type);
}

}  // namespace

TEST(SearchTools, InstallsTheFoundToolsNamedAfterTheirPairs) {
    OExtractionTestHost host;
    AddMirroredTeachParts(host, 8);
    host.Recompute(host.PartSet(), 1, 0, 1, 1, 0);
    host.recomputes.clear();
    std::string status;
    EXPECT_EQ(host.Engine().SearchTools(1, 0, 0, 0, &host.progress, &status), 1);
    const OType_ConfigToolArray& tools = host.PartSet().Tools();
    ASSERT_EQ(tools.iGetNum(), 1);
    EXPECT_EQ(tools.opGetAt(0)->GetName(), "1/1->2/1");
    // One undo step, the recompute with all tools changed, the views updated.
    ASSERT_FALSE(host.recomputes.empty());
    EXPECT_EQ(host.recomputes.back(), (ORecomputeCall{1, 0, 1, 1, 0}));
    EXPECT_GT(host.updates, 0);
    EXPECT_EQ(host.progress.iLength(), 100);
    EXPECT_EQ(host.progress.iPosition(), 100);
    EXPECT_EQ(status, host.progress.StatusText());
    // The installed tool's feature separates the orientations in every part.
    double lowest[3] = {1e9, 1e9, 1e9}, highest[3] = {-1e9, -1e9, -1e9};
    for (int i = 0; i < host.PartSet().TeachParts().iGetSize(); ++i) {
        const OType_Part& p = *host.PartSet().TeachParts().GetAt(i);
        const double v = p.Features().At(12).value;
        lowest[p.iGetOrientation()] = std::min(lowest[p.iGetOrientation()], v);
        highest[p.iGetOrientation()] = std::max(highest[p.iGetOrientation()], v);
    }
    EXPECT_TRUE(highest[1] < lowest[2] || highest[2] < lowest[1]);
}

TEST(SearchTools, NoFreeToolSlotShowsTheMessageAndChangesNothing) {
    OExtractionTestHost host;
    host.SetTarget(TargetSystem::kNewProjectDefaults, 2);
    AddMirroredTeachParts(host, 4);
    AddTool(host.PartSet(), 1, 30, {0, 0, 10, 10});
    AddTool(host.PartSet(), 2, 33, {0, 0, 10, 10});
    host.Recompute(host.PartSet(), 1, 0, 1, 1, 0);
    const size_t recomputes = host.recomputes.size();
    EXPECT_EQ(host.Engine().SearchTools(1, 0, 0, 0, &host.progress, nullptr), 0);
    EXPECT_EQ(host.ui.Texts(), std::vector<std::string>{OToolSearchJob::NoFreeSlotText()});
    EXPECT_EQ(host.PartSet().Tools().iGetNum(), 2);
    EXPECT_EQ(host.recomputes.size(), recomputes);
}

TEST(SearchTools, ASingleClassAddsNoToolAndDoesNotRecompute) {
    OExtractionTestHost host;
    for (int i = 0; i < 4; ++i)
        AddTeachPart(host.PartSet(), BumpPart(PartLength(i, 300, 90), PartHeight(i), true), 1);
    EXPECT_EQ(host.Engine().SearchTools(1, 0, 0, 0, nullptr, nullptr), 1);
    EXPECT_EQ(host.PartSet().Tools().iGetNum(), 0);
    EXPECT_TRUE(host.recomputes.empty());
    EXPECT_TRUE(host.ui.Texts().empty());
}

TEST(SearchTools, RefusedKindsAreNotInstalled) {
    OExtractionTestHost host;
    AddMirroredTeachParts(host, 4);
    host.toolAllowed = false;
    EXPECT_EQ(host.Engine().SearchTools(1, 0, 0, 0, nullptr, nullptr), 1);
    EXPECT_EQ(host.PartSet().Tools().iGetNum(), 0);
}

TEST(SearchTools, AWorkerRunsTheSearchWhileAnotherThreadCancelsIt) {
    OExtractionTestHost host;
    AddMirroredTeachParts(host, 10);
    std::unique_ptr<OToolSearchJob> job = host.Engine().StartToolSearch({60, 2, 0, 0, 1});
    ASSERT_TRUE(job);
    EXPECT_EQ(job->iGetFreeSlots(), 20);
    OToolSearchMonitor monitor;
    const OClock_System clock;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        job->Run(monitor, clock);
        done = true;
    });
    // The user-interface thread sees the progress while the worker runs, then cancels.
    while (!done && monitor.State().status.rfind("Searching", 0) != 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    host.Engine().CancelToolSearch();
    worker.join();
    EXPECT_EQ(host.Engine().iGetSearchCancel(), 1);
    EXPECT_EQ(monitor.State().low, 0);
    EXPECT_TRUE(job->Search().Stats().cancelled || job->Search().Stats().stages > 0);
    EXPECT_EQ(host.PartSet().Tools().iGetNum(), 0);  // nothing installed by the worker
    const int installed = job->Install(&monitor);
    EXPECT_EQ(installed, static_cast<int>(job->Search().Selected().size()));
    EXPECT_EQ(host.PartSet().Tools().iGetNum(), installed);
    EXPECT_EQ(monitor.State().position, 100);
    // A new search starts with the cancel flag cleared.
    host.Engine().CancelToolSearch();
    EXPECT_TRUE(host.Engine().StartToolSearch({1, 0, 0, 0, 1}));
    EXPECT_EQ(host.Engine().iGetSearchCancel(), 0);
}
