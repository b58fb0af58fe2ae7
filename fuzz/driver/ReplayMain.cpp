// Replays a fuzz target without libFuzzer: every file of the given corpus folders,
// then a fixed number of pseudo-random inputs, each also cut at several lengths.
// Returns non-zero only by crashing, which is what the sanitizer builds watch for.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "../FuzzSeeds.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

// Targets without seeds leave this undefined.
__attribute__((weak)) std::vector<std::vector<uint8_t>> KalvorFuzzSeeds();

namespace {

void RunWithPrefixes(const std::vector<uint8_t>& bytes) {
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    for (size_t cut : {size_t{0}, size_t{1}, bytes.size() / 2, bytes.size() > 0 ? bytes.size() - 1 : 0}) {
        if (cut < bytes.size()) LLVMFuzzerTestOneInput(bytes.data(), cut);
    }
}

void RunCorpus(const std::filesystem::path& dir, std::vector<std::vector<uint8_t>>& seeds) {
    std::error_code ec;
    if (!std::filesystem::is_directory(dir, ec)) return;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir, ec)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        RunWithPrefixes(bytes);
        seeds.push_back(std::move(bytes));
    }
}

int WriteSeeds(const std::filesystem::path& dir) {
    if (&KalvorFuzzSeeds == nullptr) return 0;
    std::filesystem::create_directories(dir);
    int n = 0;
    for (const auto& seed : KalvorFuzzSeeds()) {
        std::ofstream out(dir / ("seed" + std::to_string(n++)), std::ios::binary);
        out.write(reinterpret_cast<const char*>(seed.data()), static_cast<std::streamsize>(seed.size()));
    }
    std::printf("wrote %d seeds to %s\n", n, dir.c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    long iterations = 1000;
    std::vector<std::vector<uint8_t>> seeds;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--write-seeds") == 0 && i + 1 < argc) {
            return WriteSeeds(argv[++i]);
        }
        if (std::strcmp(argv[i], "--iterations") == 0 && i + 1 < argc) {
            iterations = std::strtol(argv[++i], nullptr, 10);
        } else {
            RunCorpus(argv[i], seeds);
        }
    }
    if (&KalvorFuzzSeeds != nullptr) {
        for (auto& seed : KalvorFuzzSeeds()) {
            RunWithPrefixes(seed);
            seeds.push_back(std::move(seed));
        }
    }
    std::mt19937 rng(12345);
    for (long n = 0; n < iterations; ++n) {
        std::vector<uint8_t> bytes;
        if (!seeds.empty() && (n % 2 == 0)) {
            // Mutate a seed: flip a few bytes, so the decoder gets past its first checks.
            bytes = seeds[rng() % seeds.size()];
            if (!bytes.empty()) {
                const int flips = 1 + static_cast<int>(rng() % 8);
                for (int f = 0; f < flips; ++f) bytes[rng() % bytes.size()] = static_cast<uint8_t>(rng());
            }
        } else {
            bytes.resize(rng() % 512);
            for (auto& b : bytes) b = static_cast<uint8_t>(rng());
        }
        RunWithPrefixes(bytes);
    }
    std::printf("replayed %zu corpus files and %ld generated inputs\n", seeds.size(), iterations);
    return 0;
}
