// Encoding and decoding a family-1 part set of 4000 parts with about 400 contour columns
// each, beside a plain copy of the same number of bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>

#include "model/partset/OType_ZRPartSet.h"
#include "model/stream/OByteStream_Memory.h"

namespace {

std::unique_ptr<OType_ZRPartSet> MakeFamily1PartSet(int parts, int columns) {
    auto set = std::make_unique<OType_ZRPartSet>();
    set->SetNumSubTypes(1);
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> jitter(-3, 3);
    for (int p = 0; p < parts; ++p) {
        OType_Part part;
        std::vector<int16_t> runs;
        runs.reserve(static_cast<size_t>(columns) * 2);
        const int cols = columns + jitter(rng);
        for (int c = 0; c < cols; ++c) {
            const int top = 100 + jitter(rng);
            runs.push_back(static_cast<int16_t>(top));
            runs.push_back(static_cast<int16_t>(-(top + 200 + jitter(rng))));
        }
        part.SetConturData(std::move(runs));
        for (int f = 0; f < 12; ++f) {
            OType_Feature feature;
            feature.type = f;
            feature.value = 1000.0 + p + f;
            feature.name = "Feature";
            part.Features().Add(feature);
        }
        part.SetOrientation(1 + p % 4);
        part.SetRecordNo(p + 1);
        set->TeachParts().Add(std::move(part));
    }
    return set;
}

const OType_ZRPartSet& SharedSet() {
    static auto set = MakeFamily1PartSet(4000, 400);
    return *set;
}

void BM_PartSetEncode(benchmark::State& state) {
    const auto& set = SharedSet();
    size_t bytes = 0;
    for (auto _ : state) {
        auto encoded = set.Encode(1, 1);
        bytes = encoded.size();
        benchmark::DoNotOptimize(encoded.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_PartSetEncode)->Unit(benchmark::kMillisecond);

void BM_PartSetDecode(benchmark::State& state) {
    const auto encoded = SharedSet().Encode(1, 1);
    for (auto _ : state) {
        OType_ZRPartSet set;
        const int ok = set.iDecode(encoded);
        benchmark::DoNotOptimize(ok);
        if (!ok) state.SkipWithError("decode failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * encoded.size()));
}
BENCHMARK(BM_PartSetDecode)->Unit(benchmark::kMillisecond);

// The same number of bytes copied once: the floor any codec is measured against.
void BM_PlainCopySameBytes(benchmark::State& state) {
    const auto encoded = SharedSet().Encode(1, 1);
    for (auto _ : state) {
        std::vector<uint8_t> copy(encoded.size());
        std::memcpy(copy.data(), encoded.data(), encoded.size());
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * encoded.size()));
}
BENCHMARK(BM_PlainCopySameBytes)->Unit(benchmark::kMillisecond);

}  // namespace
