// Export and import of a 25,000-part list (".zrl") and its feature table, beside plain
// buffered writing and reading of the same byte counts, in one run. The exports go through
// the document's Export (with the temporary file, fsync and rename of every export); the
// imports read the file into the program's objects (the part list into a part set, the
// table into its rows), without the feature extraction that follows an import.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <vector>

#include "classification/FeatureTableCsv.h"
#include "document/OHeadlessDocument.h"
#include "document/files/OProjectExchange.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "platform/OSettings_Memory.h"

namespace {

constexpr int kParts = 25000;
constexpr int kColumns = 160;
constexpr int kFeatures = 20;

std::filesystem::path Folder() {
    static const std::filesystem::path folder = [] {
        auto path = std::filesystem::temp_directory_path() /
                    ("kalvor-exchange-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder;
}

// 25,000 sample parts of about 160 contour columns with 20 features each.
struct Parts {
    OSettings_Memory settings;
    OHeadlessDocument headless{settings};
    std::string list = (Folder() / "parts.zrl").string();
    std::string table = (Folder() / "parts.xls").string();

    Parts() {
        OType_ZRPartSet& set = *headless.Session().opGetActualPartSet();
        std::mt19937 rng(7);
        std::uniform_int_distribution<int> jitter(-3, 3);
        std::uniform_real_distribution<double> value(0.0, 5000.0);
        for (int p = 0; p < kParts; ++p) {
            auto part = std::make_unique<OType_Part>();
            std::vector<int16_t> runs;
            const int columns = kColumns + jitter(rng);
            for (int c = 0; c < columns; ++c) {
                const int top = 80 + jitter(rng);
                runs.push_back(static_cast<int16_t>(top));
                runs.push_back(static_cast<int16_t>(-(top + 150 + jitter(rng))));
            }
            part->SetConturData(std::move(runs));
            for (int f = 0; f < kFeatures; ++f) {
                OType_Feature feature;
                feature.type = f;
                feature.name = "Feature " + std::to_string(f + 1);
                feature.value = value(rng);
                part->Features().Add(feature);
            }
            part->SetOrientation(1 + p % 4);
            part->SetRecordNo(p + 1);
            set.TeachParts().Add(std::move(part));
        }
        Export(ExchangeKind::TeachPartList, list);
        Export(ExchangeKind::TeachFeatureTable, table);
    }
    bool Export(ExchangeKind kind, const std::string& path) {
        return headless.Doc().Exchange().Export(kind, path).bDone();
    }
    static Parts& Shared() {
        static Parts parts;
        return parts;
    }
    static uint64_t Size(const std::string& path) { return std::filesystem::file_size(path); }
};

void Report(benchmark::State& state, uint64_t bytes) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["bytes"] = static_cast<double>(bytes);
}

void BM_PartListExport(benchmark::State& state) {
    Parts& parts = Parts::Shared();
    for (auto _ : state) {
        if (!parts.Export(ExchangeKind::TeachPartList, parts.list))
            state.SkipWithError("the part list could not be exported");
    }
    Report(state, Parts::Size(parts.list));
}
BENCHMARK(BM_PartListExport)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PartListImport(benchmark::State& state) {
    Parts& parts = Parts::Shared();
    for (auto _ : state) {
        OType_ZRPartSet set;
        std::string error;
        if (set.iLoadParts(parts.list, true, &error) != 1 || set.TeachParts().iGetSize() != kParts)
            state.SkipWithError(error.c_str());
        state.PauseTiming();  // freeing 25,000 parts is not part of reading them
        set.TeachParts().RemoveAll();
        state.ResumeTiming();
    }
    Report(state, Parts::Size(parts.list));
}
BENCHMARK(BM_PartListImport)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FeatureTableExport(benchmark::State& state) {
    Parts& parts = Parts::Shared();
    for (auto _ : state) {
        if (!parts.Export(ExchangeKind::TeachFeatureTable, parts.table))
            state.SkipWithError("the feature table could not be exported");
    }
    Report(state, Parts::Size(parts.table));
}
BENCHMARK(BM_FeatureTableExport)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FeatureTableImport(benchmark::State& state) {
    Parts& parts = Parts::Shared();
    for (auto _ : state) {
        OFeatureTable table;
        std::string error;
        if (!FeatureTableCsv::bReadFile(parts.table, 1, table, error) ||
            table.rows.size() != static_cast<size_t>(kParts))
            state.SkipWithError(error.c_str());
    }
    Report(state, Parts::Size(parts.table));
}
BENCHMARK(BM_FeatureTableImport)->Unit(benchmark::kMillisecond)->UseRealTime();

// The byte count of the list (0) or the table (1) in 64 KiB pieces through stdio, with the
// fsync the exports make.
uint64_t PlainSize(const benchmark::State& state) {
    Parts& parts = Parts::Shared();
    return Parts::Size(state.range(0) == 0 ? parts.list : parts.table);
}

void BM_PlainWriteSameBytes(benchmark::State& state) {
    const uint64_t size = PlainSize(state);
    const std::vector<uint8_t> chunk(64 * 1024, 0x5A);
    const std::string path = (Folder() / "plain.bin").string();
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        for (uint64_t done = 0; done < size; done += chunk.size())
            std::fwrite(chunk.data(), 1, std::min<uint64_t>(chunk.size(), size - done), f);
        std::fflush(f);
        ::fsync(::fileno(f));
        std::fclose(f);
    }
    Report(state, size);
}
BENCHMARK(BM_PlainWriteSameBytes)
    ->Arg(0)
    ->Arg(1)
    ->ArgNames({"table"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_PlainReadSameBytes(benchmark::State& state) {
    const uint64_t size = PlainSize(state);
    const std::string path = (Folder() / "plain-read.bin").string();
    {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        const std::vector<uint8_t> all(size, 0x5A);
        std::fwrite(all.data(), 1, all.size(), f);
        std::fclose(f);
    }
    std::vector<uint8_t> chunk(64 * 1024);
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "rb");
        uint64_t total = 0;
        while (const size_t n = std::fread(chunk.data(), 1, chunk.size(), f))
            total += n;
        std::fclose(f);
        benchmark::DoNotOptimize(total);
    }
    Report(state, size);
}
BENCHMARK(BM_PlainReadSameBytes)
    ->Arg(0)
    ->Arg(1)
    ->ArgNames({"table"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
