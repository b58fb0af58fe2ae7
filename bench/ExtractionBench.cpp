// Family-1 extraction speed: a full extraction of 25,000 parts (basic features and eight
// tools) beside a pass that only reads every run value once, and a recompute after one
// tool moved in a 4000-part project.
#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <random>
#include <sstream>

#include "device/DeviceInfoBuilder.h"
#include "extraction/OHeadlessExtraction.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "platform/OUserInteraction_Console.h"
#include "tools/OType_ConfigTool_Contour.h"

namespace {

// A part of 250 .. 400 columns: a body with a hole in its middle third and a sloped top.
std::vector<int16_t> SyntheticContour(std::mt19937& rng) {
    std::uniform_int_distribution<int> length(250, 400), jitter(0, 3);
    const int columns = length(rng);
    std::vector<int16_t> runs;
    runs.reserve(static_cast<size_t>(columns) * 4);
    for (int x = 0; x < columns; ++x) {
        const int bottom = 40 + jitter(rng);
        const int top = 200 + x / 4 + jitter(rng);
        if (x > columns / 3 && x < 2 * columns / 3) {
            runs.insert(runs.end(),
                        {static_cast<int16_t>(bottom), 110, 130, static_cast<int16_t>(-top)});
        } else {
            runs.insert(runs.end(), {static_cast<int16_t>(bottom), static_cast<int16_t>(-top)});
        }
    }
    return runs;
}

struct OBenchProject {
    OUserInteraction_Console ui{std::cerr};
    ZRINFO info;
    std::unique_ptr<OHeadlessExtraction> extraction;
    OType_ZRPartSet partSet;

    explicit OBenchProject(int parts) {
        ODeviceInfoRequest request;
        request.target = TargetSystem::kNewProjectDefaults;
        request.tools = 20;
        info = DeviceInfo::MakeWithoutDevice(request);
        extraction = std::make_unique<OHeadlessExtraction>(info, DeviceInfo::ReadTarget(info), ui);
        extraction->PreparePartSet(partSet);
        const struct {
            int kind, type;
            ORect region;
            int mode;
        } tools[8] = {
            {1, 30, {20, 100, 80, 180}, 1}, {2, 33, {100, 0, 130, 511}, 1},
            {3, 22, {40, 0, 200, 511}, 1},  {3, 23, {150, 180, 260, 300}, 2},
            {3, 25, {0, 0, 120, 511}, 3},   {4, 34, {0, 60, 400, 160}, 1},
            {4, 38, {10, 0, 240, 511}, 1},  {5, 46, {60, 0, 300, 511}, 1},
        };
        for (const auto& t : tools) {
            auto tool = partSet.ToolPrototypes().Create(t.kind);
            tool->SetFeatureType(t.type);
            tool->SetRegion(t.region);
            dynamic_cast<OType_ConfigTool_Contour&>(*tool).SetPlacementMode(t.mode);
            partSet.Tools().Add(std::move(tool));
        }
        std::mt19937 rng(42);
        for (int i = 0; i < parts; ++i) {
            auto part = std::make_unique<OType_Part>();
            part->SetConturData(SyntheticContour(rng));
            part->SetOrientation(1 + i % 2);
            part->SetRecordNo(i + 1);
            partSet.TeachParts().Add(std::move(part));
        }
    }

    void MarkAllModified() {
        for (int i = 0; i < partSet.TeachParts().iGetSize(); ++i)
            partSet.TeachParts().GetAt_NoSort(i)->Features().SetModified(true);
    }
};

// Reads every run value of every part once.
int64_t ReadEveryValue(const OType_ZRPartSet& partSet) {
    int64_t sum = 0;
    const OType_PartArray& list = partSet.TeachParts();
    for (int i = 0; i < list.iGetSize(); ++i) {
        for (int16_t v : list.GetAt_NoSort(i)->Contour())
            sum += v;
    }
    return sum;
}

// CPU time of this thread: the machine is shared, so both passes are compared by the time
// they spent on the processor rather than by the wall clock.
double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The read pass, best of several, in thread CPU seconds.
double SecondsOfReadPass(const OType_ZRPartSet& partSet) {
    constexpr int kRepeats = 9;
    double best = 1e30;
    for (int r = 0; r < kRepeats; ++r) {
        const double start = ThreadSeconds();
        benchmark::DoNotOptimize(ReadEveryValue(partSet));
        best = std::min(best, ThreadSeconds() - start);
    }
    return best;
}

OBenchProject& Project25k() {
    static OBenchProject project(25000);
    return project;
}

void BM_ReadEveryRunValue(benchmark::State& state) {
    OBenchProject& p = Project25k();
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadEveryValue(p.partSet));
    state.counters["parts/s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * p.partSet.TeachParts().iGetSize(),
        benchmark::Counter::kIsRate);
}

// A floor for any per-run measurement: only the area and the x and row sums of each run,
// nothing else (no edges, radii, columns, tools or feature arrays).
int64_t AreaAndRowSums(const OType_ZRPartSet& partSet) {
    int64_t total = 0;
    const OType_PartArray& list = partSet.TeachParts();
    for (int i = 0; i < list.iGetSize(); ++i) {
        const std::span<const int16_t> v = list.GetAt_NoSort(i)->Contour();
        int64_t area = 0, sx = 0, sy = 0, sy2 = 0, x = 0;
        for (size_t k = 0; k + 1 < v.size(); k += 2) {
            const int64_t t = std::abs(v[k]), b = std::abs(v[k + 1]);
            const int64_t d = b > t ? b - t : 0;
            area += d;
            sx += x * d;
            sy += (d * d >> 1) + t * d + (d >> 1);
            sy2 += d * (d + 1) * (2 * d + 1) / 6 + t * d * (t + d + 1);
            x += v[k + 1] < 0;
        }
        total += area + sx + sy + sy2;
    }
    return total;
}

void BM_AreaAndRowSumsOnly(benchmark::State& state) {
    OBenchProject& p = Project25k();
    for (auto _ : state)
        benchmark::DoNotOptimize(AreaAndRowSums(p.partSet));
    state.counters["parts/s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * p.partSet.TeachParts().iGetSize(),
        benchmark::Counter::kIsRate);
}

// The twelve basic features alone (no tools, no feature arrays).
void BM_BasicFeaturesOnly(benchmark::State& state) {
    OBenchProject& p = Project25k();
    OBasicContourMeasure measure;
    OBasicContourFeatures f;
    OContourColumns index;
    for (auto _ : state) {
        const OType_PartArray& list = p.partSet.TeachParts();
        for (int i = 0; i < list.iGetSize(); ++i) {
            measure.Measure(list.GetAt_NoSort(i)->Contour(), false, f, &index);
            benchmark::DoNotOptimize(f.values[0]);
        }
    }
    state.counters["parts/s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * p.partSet.TeachParts().iGetSize(),
        benchmark::Counter::kIsRate);
}

void BM_FullExtraction25k(benchmark::State& state) {
    OBenchProject& p = Project25k();
    OExtr_Default& engine = p.extraction->Engine();
    double best = 1e30;
    for (auto _ : state) {
        state.PauseTiming();
        p.MarkAllModified();
        state.ResumeTiming();
        const double start = ThreadSeconds();
        engine.ExtractTeachParts(p.partSet, 0);
        best = std::min(best, ThreadSeconds() - start);
    }
    const double parts = p.partSet.TeachParts().iGetSize();
    // Best runs of both passes, in CPU time of this thread.
    state.counters["parts/s"] = parts / best;
    state.counters["ratio_to_read"] = best / SecondsOfReadPass(p.partSet);
    state.counters["features"] = p.partSet.TeachParts().GetAt(0)->Features().iGetNumOfFeatures();
}

void BM_RecomputeAfterMovingOneTool(benchmark::State& state) {
    static OBenchProject p(4000);
    p.extraction->Extract(p.partSet);
    OType_ConfigTool& tool = *p.partSet.Tools().opGetAt(0);
    int step = 0;
    for (auto _ : state) {
        ORect r = tool.GetRegion();
        const int dx = (step++ % 2) ? -1 : 1;
        r.left += dx;
        r.right += dx;
        tool.SetRegion(r);
        tool.SetModifiedFlag(true);
        p.extraction->Recompute(p.partSet, 0, 0, 1, 1, 0);
    }
    state.counters["parts"] = p.partSet.TeachParts().iGetSize();
}

}  // namespace

BENCHMARK(BM_ReadEveryRunValue)
    ->Name("Extraction/ReadEveryRunValue_25000")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AreaAndRowSumsOnly)
    ->Name("Extraction/AreaAndRowSumsOnly_25000")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BasicFeaturesOnly)
    ->Name("Extraction/BasicFeaturesOnly_25000")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullExtraction25k)
    ->Name("Extraction/Full_25000_parts_8_tools")
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);
BENCHMARK(BM_RecomputeAfterMovingOneTool)
    ->Name("Extraction/Recompute_4000_parts_one_tool_moved")
    ->Unit(benchmark::kMillisecond);
