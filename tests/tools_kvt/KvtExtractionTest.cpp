// The threaded extraction of family-2 parts: the same features on one worker and on
// several, reuse of unchanged tools' features, references, the readers' single thread,
// busy locks, failing tools and the run's options.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <random>
#include <set>
#include <thread>

#include "KvtTestSupport.h"
#include "extraction/OExtr_KVT.h"
#include "extraction/OExtractionSlots.h"
#include "extraction/OHeadlessExtraction.h"
#include "model/strings/ResStr.h"
#include "platform/OUserInteraction_Scripted.h"
#include "tools/kvt/OType_ConfigTool_KVT_COMBINATION.h"

using namespace KvtTest;

namespace {

// An image tool that counts its extractions and notes the threads it ran on; its one
// feature is the mean brightness of its region. It can fail on purpose.
class OCountingTool : public OType_ConfigTool_KVT {
  public:
    explicit OCountingTool(int kind = 190) : OType_ConfigTool_KVT(kind, 9000) {}
    std::unique_ptr<OType_ConfigTool> CreateNew() const override {
        return std::make_unique<OCountingTool>(iGetConfigToolType());
    }
    std::string GetKindName() const override { return "Counter"; }
    std::vector<OKvtFeatureDef> FeatureDefs() const override { return {{9000, "Mean", ""}}; }
    mutable std::atomic<int> calls{0};
    mutable std::mutex mutex;
    mutable std::set<std::thread::id> threads;
    bool fail = false;
    // How long each measurement takes, and the most measurements seen running at once.
    std::chrono::milliseconds dwell{0};
    mutable int running = 0;
    mutable int peak = 0;

  protected:
    void MeasureRegion(const OKvtMeasureInput& in, OKvtMeasureOutput& out) const override {
        ++calls;
        {
            std::lock_guard lock(mutex);
            threads.insert(std::this_thread::get_id());
            peak = std::max(peak, ++running);
        }
        std::this_thread::sleep_for(dwell);
        {
            std::lock_guard lock(mutex);
            --running;
        }
        if (fail) throw std::runtime_error("the tool fails");
        out.Set(0, cv::mean(in.sample->Grey())[0]);
    }
};

OTargetSystem Camera() {
    return {7, 818, 0, 16, 1, 8};
}

struct ORun {
    ZRINFO info = CameraInfo();
    OUserInteraction_Scripted ui;
    OHeadlessExtraction extraction{info, Camera(), ui};
    OType_ZRPartSet set;

    ORun() {
        extraction.PreparePartSet(set);
        set.opAddSubType()->SetNumOrientations(2);
    }
    OType_ConfigTool_KVT& Add(int kind, int subKind, const ORect& region) {
        OType_ConfigTool_KVT& t = AddTool(set, kind, subKind);
        t.bSetShape(OKvtRegion::FromRect(region));
        return t;
    }
    OCountingTool& AddCounter(int kind = 190) {
        auto tool = std::make_unique<OCountingTool>(kind);
        tool->SetImageType(1);
        tool->bSetShape(OKvtRegion::FromRect({0, 0, 63, 47}));
        return static_cast<OCountingTool&>(*set.Tools().Add(std::move(tool)));
    }
    // Random grey parts with a few dark boxes.
    void AddParts(int count, uint32_t seed, bool teach = true) {
        std::mt19937 rng(seed);
        for (int i = 0; i < count; ++i) {
            std::uniform_int_distribution<int> x(0, 560), y(0, 400), size(10, 70);
            std::vector<ORect> boxes;
            for (int b = 0; b < 4; ++b) {
                const int l = x(rng), t = y(rng), s = size(rng);
                boxes.push_back({l, t, l + s, t + s / 2});
            }
            std::uniform_int_distribution<int> noise(-8, 8);
            OType_Part part = PartWithImage(GreyImage(640, 480, [&](int px, int py) {
                for (const ORect& r : boxes)
                    if (px >= r.left && px <= r.right && py >= r.top && py <= r.bottom)
                        return 50 + noise(rng);
                return 200 + noise(rng);
            }));
            part.SetOrientation(1 + i % 2);
            part.SetTeachPart(teach);
            (teach ? set.TeachParts() : set.TestParts()).Add(std::move(part));
        }
    }
    void MixedTools() {
        Add(KvtToolKind::kROI, -1, {100, 100, 299, 249});
        Add(KvtToolKind::kBlob, -1, {0, 0, 639, 479});
        Add(KvtToolKind::kBlobPlus, -1, {50, 50, 589, 429});
        Add(KvtToolKind::kColor, KvtSubKind::kBrightness, {10, 10, 629, 469});
        Add(KvtToolKind::kEdge, KvtSubKind::kEdgeFinder, {0, 200, 639, 239});
        Add(KvtToolKind::kMeasure, KvtSubKind::kMultipleMeasurement, {0, 100, 639, 379});
        Add(KvtToolKind::kCTool, -1, {200, 0, 439, 479});
        Add(KvtToolKind::kDeviceFeatures, -1, {0, 0, 639, 479});
    }
    std::vector<OType_FeatureArray> Features() const {
        std::vector<OType_FeatureArray> all;
        for (int i = 0; i < set.TeachParts().iGetSize(); ++i)
            all.push_back(set.TeachParts().GetAt_NoSort(i)->Features());
        for (int i = 0; i < set.TestParts().iGetSize(); ++i)
            all.push_back(set.TestParts().GetAt_NoSort(i)->Features());
        return all;
    }
};

}  // namespace

TEST(KvtExtraction, SeveralWorkersGiveTheFeaturesOfOne) {
    ORun one, two;
    for (ORun* run : {&one, &two}) {
        run->MixedTools();
        run->AddParts(24, 7);
        run->AddParts(6, 8, false);
    }
    one.extraction.ImageEngine().SetWorkerCount(1);
    two.extraction.ImageEngine().SetWorkerCount(3);
    ASSERT_EQ(one.extraction.Extract(one.set), 1);
    ASSERT_EQ(two.extraction.Extract(two.set), 1);
    const auto a = one.Features(), b = two.Features();
    ASSERT_EQ(a.size(), 30u);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a[0].iGetNumOfFeatures(), one.set.Tools().iGetNumOfFeatures());
    EXPECT_EQ(one.set.opGetSubType(0)->iGetNumFeatures(), one.set.Tools().iGetNumOfFeatures());
    EXPECT_EQ(two.extraction.ImageEngine().GetExtractionErrorFlags(), 0u);
}

TEST(KvtExtraction, WorkersRunOnSeveralThreadsButReadersOnOne) {
    ORun run;
    OCountingTool& counter = run.AddCounter();
    run.AddParts(16, 3);
    run.extraction.ImageEngine().SetWorkerCount(4);
    ASSERT_EQ(run.extraction.Extract(run.set), 1);
    EXPECT_EQ(counter.calls, 16);
    EXPECT_FALSE(counter.threads.count(std::this_thread::get_id())) << "the caller only waits";
    EXPECT_TRUE(OExtr_KVT::bUsesThreads(run.set));
    // A code reader in the list: every part on the calling thread.
    OCountingTool& reader = run.AddCounter(KvtToolKind::kDataMatrix);
    EXPECT_FALSE(OExtr_KVT::bUsesThreads(run.set));
    ASSERT_EQ(run.extraction.Extract(run.set), 1);
    EXPECT_EQ(reader.threads, std::set<std::thread::id>{std::this_thread::get_id()});
}

// Measuring changes nothing in a tool, so the workers share it instead of taking turns.
TEST(KvtExtraction, TwoWorkersMeasureWithTheSameToolAtOnce) {
    ORun run;
    OCountingTool& counter = run.AddCounter();
    counter.dwell = std::chrono::milliseconds(30);
    run.AddParts(8, 3);
    run.extraction.ImageEngine().SetWorkerCount(2);
    ASSERT_EQ(run.extraction.Extract(run.set), 1);
    EXPECT_EQ(counter.calls, 8);
    EXPECT_EQ(counter.peak, 2);
    EXPECT_EQ(run.extraction.ImageEngine().GetExtractionErrorFlags(), 0u);
}

TEST(KvtExtraction, UnchangedToolsKeepTheirFeaturesAndReadersOfChangedOnesFollow) {
    ORun run;
    OCountingTool& a = run.AddCounter();
    OCountingTool& b = run.AddCounter();
    auto& math =
        static_cast<OType_ConfigTool_KVT_COMBINATION&>(AddTool(run.set, KvtToolKind::kCombination));
    math.GetSettings().a = {a.iGetToolId(), 0};
    math.GetSettings().constant = 1;
    OType_ConfigTool_KVT& input = AddTool(run.set, KvtToolKind::kIOAccess);
    run.AddParts(5, 11);
    run.extraction.ImageEngine().SetWorkerCount(2);
    ASSERT_EQ(run.extraction.Extract(run.set), 1);  // every tool marked changed
    ASSERT_EQ(a.calls, 5);
    ASSERT_EQ(b.calls, 5);
    const auto before = run.Features();

    // Nothing changed: only the I/O tool is asked again.
    OType_Part& first = *run.set.TeachParts().GetAt_NoSort(0);
    first.SetInputs(1);
    run.extraction.Recompute(run.set, 0, 0, 0, 0, 0);
    EXPECT_EQ(a.calls, 5);
    EXPECT_EQ(b.calls, 5);
    EXPECT_DOUBLE_EQ(first.Features().At(3).value, 1) << "I/O is read again";
    EXPECT_EQ(first.Features().At(0), before[0].At(0));

    // Tool a changes: it and the math tool reading it are computed again, b is not.
    a.bSetShape(OKvtRegion::FromRect({100, 100, 163, 147}));
    a.SetModifiedFlag(true);
    run.extraction.Recompute(run.set, 0, 0, 0, 0, 0);
    EXPECT_EQ(a.calls, 10);
    EXPECT_EQ(b.calls, 5);
    for (int i = 0; i < 5; ++i) {
        const OType_FeatureArray& f = run.set.TeachParts().GetAt_NoSort(i)->Features();
        EXPECT_DOUBLE_EQ(f.At(2).value, f.At(0).value + 1) << "the math tool follows tool a";
    }
    // A part that changed is computed whole.
    first.SetModified(true);
    run.extraction.Recompute(run.set, 0, 0, 0, 0, 0);
    EXPECT_EQ(b.calls, 6);
    (void)input;
}

TEST(KvtExtraction, AFailingToolEndsOnlyItsOwnFeatures) {
    ORun run;
    OCountingTool& bad = run.AddCounter();
    run.Add(KvtToolKind::kROI, -1, {0, 0, 99, 99});
    bad.fail = true;
    run.AddParts(6, 5);
    run.extraction.ImageEngine().SetWorkerCount(2);
    ASSERT_EQ(run.extraction.Extract(run.set), 1);
    for (const OType_FeatureArray& f : run.Features()) {
        ASSERT_EQ(f.iGetNumOfFeatures(), 2)
            << "the failing tool wrote nothing, the next one its own";
        EXPECT_EQ(f.At(0).type, KvtFeatureType::kRoiArea);
    }
}

TEST(KvtExtraction, ABusyToolIsSkippedAndFlagged) {
    ORun run;
    OCountingTool& busy = run.AddCounter();
    run.AddParts(2, 5);
    run.extraction.ImageEngine().SetWaitTimeout(std::chrono::milliseconds(20));
    ASSERT_TRUE(busy.bTryLock(std::chrono::milliseconds(0)));
    EXPECT_EQ(run.extraction.Extract(run.set), 0) << "the run stops at the error";
    busy.Unlock();
    EXPECT_EQ(busy.calls, 0);
    EXPECT_EQ(run.extraction.ImageEngine().GetExtractionErrorFlags(), ExtractionError::kToolBusy);
}

TEST(KvtExtraction, OptionOneSkipsPartsThatNeedNothing) {
    ORun run;
    OCountingTool& counter = run.AddCounter();
    run.AddParts(4, 5);
    ASSERT_EQ(run.extraction.Extract(run.set), 1);
    ASSERT_EQ(counter.calls, 4);
    run.set.TeachParts().GetAt_NoSort(2)->SetState(2);
    run.set.TeachParts().GetAt_NoSort(2)->SetModified(true);
    run.set.TeachParts().GetAt_NoSort(3)->SetModified(true);
    run.extraction.Recompute(run.set, 0, 0, 0, 0, 1);
    EXPECT_EQ(counter.calls, 5) << "only the part in state 2";
}

namespace {
struct ORecordingDisplay : ProgressDisplay {
    std::vector<int> percents;
    std::vector<std::string> texts;
    void ShowProgress(int percent) override { percents.push_back(percent); }
    void ShowStatusText(std::string_view text) override { texts.emplace_back(text); }
};
}  // namespace

TEST(KvtExtraction, ProgressCountsEveryPartAndEndsIdle) {
    ORun run;
    run.AddCounter();
    run.AddParts(9, 5);
    run.extraction.ImageEngine().SetWorkerCount(2);
    ORecordingDisplay display;
    OProgressCtrl& progress = *run.extraction.opGetProgress();
    progress.SetDisplay(&display);
    ASSERT_EQ(run.extraction.Extract(run.set), 1);
    progress.SetDisplay(nullptr);
    ASSERT_GE(display.percents.size(), 2u);
    EXPECT_EQ(display.percents[display.percents.size() - 2], 100) << "all parts done";
    EXPECT_EQ(display.percents.back(), 0) << "the bar is cleared";
    ASSERT_FALSE(display.texts.empty());
    EXPECT_EQ(display.texts.front(), ResStr(26100));
    EXPECT_EQ(display.texts.back(), OProgressCtrl::kIdleStatusText);
    EXPECT_FALSE(progress.bIsRunning());
}

TEST(KvtExtractionSlots, StartWaitAndTimeOut) {
    OExtractionSlots slots(2);
    std::mutex gate;
    gate.lock();
    std::atomic<int> done{0};
    for (int i = 0; i < 2; ++i)
        ASSERT_TRUE(slots.bStart(
            [&] {
                std::lock_guard wait(gate);
                ++done;
            },
            std::chrono::milliseconds(100)));
    EXPECT_FALSE(slots.bStart([] {}, std::chrono::milliseconds(10))) << "both slots busy";
    EXPECT_FALSE(slots.bWaitAll(std::chrono::milliseconds(10)));
    gate.unlock();
    EXPECT_TRUE(slots.bWaitAll(std::chrono::seconds(10)));
    EXPECT_EQ(done, 2);
    EXPECT_TRUE(slots.bStart([] { throw 1; }, std::chrono::seconds(1)));
    EXPECT_TRUE(slots.bWaitAll(std::chrono::seconds(10))) << "a throwing job frees its slot";
}
