// Fuzz targets may define KalvorFuzzSeeds(): valid encodings built in code, which the
// replay driver mutates and which `fuzzreplay_<name> --write-seeds DIR` writes out as a
// starting corpus for libFuzzer.
#pragma once

#include <cstdint>
#include <vector>

std::vector<std::vector<uint8_t>> KalvorFuzzSeeds();
