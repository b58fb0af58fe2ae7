// Family-2 extraction speed: 1000 grey parts of 640 x 480 with ten image tools of mixed kinds
// on one worker slot and on two, and the parts per second of each tool kind alone.
#include <benchmark/benchmark.h>

#include <iostream>
#include <memory>
#include <random>

#include "device/DeviceInfoBuilder.h"
#include "extraction/OHeadlessExtraction.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "platform/OUserInteraction_Console.h"
#include "tools/kvt/OType_ConfigTool_KVT.h"

namespace {

constexpr int kWidth = 640, kHeight = 480;
constexpr int kDistinctImages = 16;

// A dark part (a plate with a round hole and a notch) on a bright, slightly noisy ground.
std::shared_ptr<const OType_Image> PartImage(std::mt19937& rng) {
    std::uniform_int_distribution<int> shift(-40, 40), noise(-6, 6);
    const int cx = 320 + shift(rng), cy = 240 + shift(rng) / 2;
    OType_Image image(kWidth, kHeight, 1);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const int dx = x - cx, dy = y - cy;
            const bool plate = std::abs(dx) < 180 && std::abs(dy) < 110;
            const bool hole = (dx + 90) * (dx + 90) + dy * dy < 40 * 40;
            const bool notch = dx > 120 && std::abs(dy) < 25;
            const int base = plate && !hole && !notch ? 45 : 205;
            image.SetPixel(x, y, 0, static_cast<uint8_t>(base + noise(rng)));
        }
    }
    return std::make_shared<const OType_Image>(std::move(image));
}

struct OTool {
    int kind, subKind;
    ORect region;
};

// Ten tools of mixed kinds over the part.
const std::vector<OTool>& MixedTools() {
    static const std::vector<OTool> tools{
        {100, -1, {100, 100, 299, 249}},  {101, -1, {150, 60, 489, 419}},
        {102, 201, {80, 220, 559, 259}},  {102, 207, {80, 150, 559, 329}},
        {103, -1, {0, 0, 639, 479}},      {123, -1, {40, 40, 599, 439}},
        {105, 369, {10, 10, 629, 469}},   {114, 800, {60, 200, 339, 279}},
        {114, 803, {150, 140, 330, 340}}, {128, -1, {0, 0, 639, 479}},
    };
    return tools;
}

struct OBenchProject {
    OUserInteraction_Console ui{std::cerr};
    ZRINFO info;
    std::unique_ptr<OHeadlessExtraction> extraction;
    OType_ZRPartSet partSet;

    OBenchProject(int parts, const std::vector<OTool>& tools) {
        ODeviceInfoRequest request;
        request.target = {7, 818, 0, 16, 1, 8};
        request.fixedFeatures = 0;
        request.tools = 256;
        info = DeviceInfo::MakeWithoutDevice(request);
        extraction = std::make_unique<OHeadlessExtraction>(info, DeviceInfo::ReadTarget(info), ui);
        extraction->PreparePartSet(partSet);
        partSet.opAddSubType()->SetNumOrientations(2);
        for (const OTool& t : tools) {
            auto tool = partSet.ToolPrototypes().Create(t.kind);
            if (t.subKind >= 0) tool->SetFeatureType(t.subKind);
            tool->SetImageType(1);
            tool->SetRegion(t.region);
            partSet.Tools().Add(std::move(tool));
        }
        std::mt19937 rng(7);
        std::vector<std::shared_ptr<const OType_Image>> images;
        for (int i = 0; i < kDistinctImages; ++i)
            images.push_back(PartImage(rng));
        for (int i = 0; i < parts; ++i) {
            auto part = std::make_unique<OType_Part>();
            part->AddImage(images[static_cast<size_t>(i % kDistinctImages)]);
            part->SetOrientation(1 + i % 2);
            partSet.TeachParts().Add(std::move(part));
        }
    }
};

// Every part with every tool (all tools marked changed, nothing reused).
void BM_KvtExtractionMixedTools(benchmark::State& state) {
    OBenchProject project(1000, MixedTools());
    project.extraction->ImageEngine().SetWorkerCount(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        if (!project.extraction->Extract(project.partSet)) state.SkipWithError("extraction failed");
    }
    state.SetItemsProcessed(state.iterations() * 1000);
    state.counters["parts_per_s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * 1000, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_KvtExtractionMixedTools)
    ->ArgName("workers")
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

// One tool kind alone on one worker: parts per second of that kind.
void BM_KvtToolKind(benchmark::State& state) {
    const OTool& tool = MixedTools()[static_cast<size_t>(state.range(0))];
    OBenchProject project(200, {tool});
    project.extraction->ImageEngine().SetWorkerCount(1);
    state.SetLabel(project.partSet.Tools().opGetAt(0)->GetKindName());
    for (auto _ : state) {
        if (!project.extraction->Extract(project.partSet)) state.SkipWithError("extraction failed");
    }
    state.counters["parts_per_s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * 200, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_KvtToolKind)
    ->DenseRange(0, 9)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

}  // namespace
