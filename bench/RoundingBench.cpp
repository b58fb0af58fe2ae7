#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "model/util/Rounding.h"

namespace {

std::vector<double> FeatureValues() {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> dist(-5000.0, 5000.0);
    std::vector<double> values(4096);
    for (auto& v : values)
        v = dist(rng);
    return values;
}

template <double (*Round)(double)>
void BM_Round(benchmark::State& state) {
    const std::vector<double> values = FeatureValues();
    for (auto _ : state) {
        double sum = 0.0;
        for (double v : values)
            sum += Round(v);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(values.size()));
}

BENCHMARK(BM_Round<dCBRound>)->Name("Rounding/dCBRound");
BENCHMARK(BM_Round<dZRRound>)->Name("Rounding/dZRRound");

}  // namespace
