// Automatic tool search speed on two classes of 50 parts of about 400 columns (a bump near
// the leading edge in orientation 1, near the trailing edge in orientation 2):
// - candidate evaluations per second on one core, as during the candidate stages (each
//   candidate measured on the reference parts and scored on the class pairs);
// - the check of kept candidates on all 100 teach parts, on one and on two threads;
// - a one-minute search (small steps, one thread) with the candidates tried, kept, left
//   after the check and selected.
#include <benchmark/benchmark.h>

#include <atomic>
#include <random>

#include "extraction/OToolSearch.h"
#include "platform/OClock_System.h"
#include "support/ToolSearchParts.h"
#include "tools/ContourToolTypes.h"

namespace {

OToolSearchInput BenchInput(int threads) {
    OToolSearchInput input;
    for (int i = 0; i < 50; ++i) {
        for (int o = 1; o <= 2; ++o) {
            input.parts.push_back({searchparts::BumpPart(searchparts::PartLength(i, 380, 41),
                                                         searchparts::PartHeight(i), o == 1),
                                   o, 1});
        }
    }
    input.maxMinutes = 1;
    input.step = OSearchStep::Small;
    input.freeSlots = 20;
    input.threads = threads;
    return input;
}

// Candidates like the stages make them: strips of the three CTool sub-kinds and VStrips
// over all rows, ROI rectangles, in the three placement modes, over 420 columns and the
// rows 40 .. 180.
std::vector<OSearchCandidateSpec> BenchCandidates(size_t count) {
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> column(0, 400), width(3, 200), mode(1, 3), shape(0, 4);
    std::uniform_int_distribution<int> row(40, 170), height(4, 100);
    constexpr int kSubKinds[] = {22, 23, 25};
    std::vector<OSearchCandidateSpec> specs;
    specs.reserve(count);
    while (specs.size() < count) {
        const int left = column(rng), right = left + width(rng) - 1;
        const int m = mode(rng);
        const int s = shape(rng);
        if (s < 3) {
            specs.push_back({ContourToolKind::kCTool,
                             kSubKinds[s],
                             m,
                             {left, m == 3 ? 0 : 40, right, m == 3 ? 140 : 180}});
        } else if (s == 3) {
            specs.push_back({ContourToolKind::kVStrip,
                             33,
                             m,
                             {left, m == 3 ? 0 : 40, right, m == 3 ? 140 : 180}});
        } else {
            const int top = row(rng);
            specs.push_back(
                {ContourToolKind::kROI,
                 30,
                 m,
                 {left, m == 3 ? top - 40 : top, right, (m == 3 ? top - 40 : top) + height(rng)}});
        }
    }
    return specs;
}

void BM_CandidateEvaluation(benchmark::State& state) {
    OToolSearch search(BenchInput(1));
    search.BuildReferenceParts();
    OToolSearchEvaluator evaluator(search.Classes());
    const std::vector<OSearchCandidateSpec> specs = BenchCandidates(100000);
    std::vector<OPairScore> scores;
    size_t i = 0;
    int64_t kept = 0;
    for (auto _ : state) {
        scores.clear();
        kept += evaluator.iScore(specs[i], search.ReferenceParts(), scores) >= 4 ? 1 : 0;
        i = i + 1 == specs.size() ? 0 : i + 1;
    }
    benchmark::DoNotOptimize(kept);
    state.SetItemsProcessed(state.iterations());
    state.counters["references"] = static_cast<double>(search.ReferenceParts().size());
    state.counters["evaluations/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CandidateEvaluation);

void BM_CheckOnTeachParts(benchmark::State& state) {
    const int threads = static_cast<int>(state.range(0));
    OToolSearch search(BenchInput(threads));
    search.BuildReferenceParts();
    const std::vector<OSearchCandidateSpec> specs = BenchCandidates(5000);
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<OSearchCandidate> candidates;
        for (const OSearchCandidateSpec& s : specs)
            candidates.push_back({s, {}});
        state.ResumeTiming();
        search.CheckOnTeachParts(candidates);
        benchmark::DoNotOptimize(candidates.data());
    }
    // One measurement per candidate and teach part.
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(specs.size()) * 100);
}
BENCHMARK(BM_CheckOnTeachParts)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_OneMinuteSearch(benchmark::State& state) {
    const OClock_System clock;
    class OQuiet : public OToolSearchObserver {
        void SetRange(int, int) override {}
        void SetPosition(int) override {}
        void SetStatus(const std::string&) override {}
    } quiet;
    for (auto _ : state) {
        OToolSearch search(BenchInput(1));
        const std::atomic<int> cancel{0};
        search.Run(quiet, cancel, clock);
        const OToolSearchStats& s = search.Stats();
        state.counters["tried"] = static_cast<double>(s.tried);
        state.counters["kept"] = static_cast<double>(s.kept);
        state.counters["checked"] = static_cast<double>(s.checked);
        state.counters["selected"] = s.selected;
        state.counters["stages"] = s.stages;
    }
}
BENCHMARK(BM_OneMinuteSearch)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
