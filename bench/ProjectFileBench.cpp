// Saving and loading a family-1 project of 25,000 parts through the document, beside
// writing and reading the same number of bytes with plain buffered file I/O, in one run.
// The save includes what every save does: a temporary file, fsync and the rename.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <vector>

#include "document/OHeadlessDocument.h"
#include "document/files/ProjectFileFormat.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/stream/OByteStream_File.h"
#include "platform/OSettings_Memory.h"

namespace {

constexpr int kParts = 25000;
constexpr int kColumns = 160;

std::filesystem::path Folder() {
    static const std::filesystem::path folder = [] {
        auto path =
            std::filesystem::temp_directory_path() / ("kalvor-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder;
}

void FillProject(OQuillon& session) {
    OType_ZRPartSet& set = *session.opGetActualPartSet();
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> jitter(-3, 3);
    for (int p = 0; p < kParts; ++p) {
        auto part = std::make_unique<OType_Part>();
        std::vector<int16_t> runs;
        const int columns = kColumns + jitter(rng);
        runs.reserve(static_cast<size_t>(columns) * 2);
        for (int c = 0; c < columns; ++c) {
            const int top = 80 + jitter(rng);
            runs.push_back(static_cast<int16_t>(top));
            runs.push_back(static_cast<int16_t>(-(top + 150 + jitter(rng))));
        }
        part->SetConturData(std::move(runs));
        for (int f = 0; f < 12; ++f) {
            OType_Feature feature;
            feature.type = f;
            feature.value = 100.0 + p * 0.5 + f;
            part->Features().Add(feature);
        }
        part->SetOrientation(1 + p % 4);
        part->SetRecordNo(p + 1);
        if (p % 5 == 0) {
            set.TestParts().Add(std::move(part));
        } else {
            set.TeachParts().Add(std::move(part));
        }
    }
}

struct Project {
    OSettings_Memory settings;
    OHeadlessDocument headless{settings};
    std::string path = (Folder() / "bench.zrp").string();

    Project() {
        FillProject(headless.Session());
        std::string error;
        headless.Doc().WriteProjectFile(path, error);
    }
    static Project& Shared() {
        static Project project;
        return project;
    }
    uint64_t iFileSize() const { return std::filesystem::file_size(path); }
};

void BM_ProjectSave(benchmark::State& state) {
    Project& project = Project::Shared();
    for (auto _ : state) {
        std::string error;
        if (project.headless.Doc().WriteProjectFile(project.path, error) != 1)
            state.SkipWithError(error.c_str());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * project.iFileSize()));
    state.counters["bytes"] = static_cast<double>(project.iFileSize());
}
BENCHMARK(BM_ProjectSave)->Unit(benchmark::kMillisecond);

void BM_ProjectLoad(benchmark::State& state) {
    Project& project = Project::Shared();
    OSettings_Memory settings;
    OHeadlessDocument reader(settings);
    for (auto _ : state) {
        std::string error;
        if (reader.Doc().LoadProjectFile(project.path, error, 1) != 1)
            state.SkipWithError(error.c_str());
    }
    if (reader.Session().opGetActualPartSet()->TeachParts().iGetSize() +
            reader.Session().opGetActualPartSet()->TestParts().iGetSize() !=
        kParts)
        state.SkipWithError("the loaded project lost parts");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * project.iFileSize()));
}
BENCHMARK(BM_ProjectLoad)->Unit(benchmark::kMillisecond);

// The file layer alone: the blocks written to a file stream (no temporary file, no fsync)
// and read back into a session (no recompute, no undo snapshot).
void BM_ProjectWriteBlocks(benchmark::State& state) {
    Project& project = Project::Shared();
    const std::string path = (Folder() / "blocks.zrp").string();
    for (auto _ : state) {
        OByteStream_File file;
        file.bOpen(path, OByteStream_File::Mode::Write);
        std::string error;
        if (ProjectFile::WriteProjectBlocks(file, project.headless.Session(), nullptr, error) != 1)
            state.SkipWithError(error.c_str());
        file.bClose();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * project.iFileSize()));
}
BENCHMARK(BM_ProjectWriteBlocks)->Unit(benchmark::kMillisecond);

void BM_ProjectReadBlocks(benchmark::State& state) {
    Project& project = Project::Shared();
    OSettings_Memory settings;
    OHeadlessDocument reader(settings);
    for (auto _ : state) {
        state.PauseTiming();
        reader.Session().ResetSession();
        state.ResumeTiming();
        OByteStream_File file;
        file.bOpen(project.path, OByteStream_File::Mode::Read);
        std::string error;
        if (ProjectFile::ReadProjectBlocks(file, reader.Session(), settings, nullptr, error) != 1)
            state.SkipWithError(error.c_str());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * project.iFileSize()));
}
BENCHMARK(BM_ProjectReadBlocks)->Unit(benchmark::kMillisecond);

// The same number of bytes in 64 KiB pieces through stdio.
void BM_PlainWrite(benchmark::State& state) {
    const uint64_t size = Project::Shared().iFileSize();
    const std::vector<uint8_t> chunk(64 * 1024, 0x5A);
    const std::string path = (Folder() / "plain.bin").string();
    const bool sync = state.range(0) != 0;
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        for (uint64_t done = 0; done < size; done += chunk.size())
            std::fwrite(chunk.data(), 1, std::min<uint64_t>(chunk.size(), size - done), f);
        std::fflush(f);
        if (sync) ::fsync(::fileno(f));
        std::fclose(f);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
}
BENCHMARK(BM_PlainWrite)->Arg(0)->Arg(1)->ArgNames({"fsync"})->Unit(benchmark::kMillisecond);

void BM_PlainRead(benchmark::State& state) {
    const uint64_t size = Project::Shared().iFileSize();
    const std::string path = (Folder() / "plain.bin").string();
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
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
}
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond);

}  // namespace
