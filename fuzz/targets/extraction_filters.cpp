// Contour filters, combination and mirrors on arbitrary run lists. The first byte chooses
// the operation, the next two the limits, the rest are little-endian 16-bit run values
// (split in the middle for the combinations). Every result must be a well-formed run list,
// and the round trips must hold: mirrors applied twice are stable, XOR with itself is
// empty, a filter undone gives the contour back, the hole filter is idempotent.
#include <algorithm>

#include "../FuzzSeeds.h"
#include "extraction/OContourCombine.h"
#include "extraction/OContourFilters.h"
#include "model/part/OType_Part.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

std::vector<int16_t> Values(const uint8_t* data, size_t size) {
    std::vector<int16_t> v(size / 2);
    for (size_t i = 0; i < v.size(); ++i)
        v[i] = static_cast<int16_t>(static_cast<uint16_t>(data[2 * i] | (data[2 * i + 1] << 8)));
    return v;
}

// Even length, the last value closes a column, tops are not negative and (unless the
// operation keeps runs as they came, as the vertical mirror does) no run goes down.
void CheckWellFormed(const std::vector<int16_t>& v, bool runsRebuilt = true) {
    Check(v.size() % 2 == 0);
    if (v.empty()) return;
    Check(v.back() < 0);
    for (size_t i = 0; i < v.size(); i += 2) {
        Check(v[i] >= 0);
        if (runsRebuilt) Check(std::abs(int32_t{v[i + 1]}) >= v[i]);
    }
    Check(OType_Part::iCountColumns(v) > 0);
}

std::vector<uint8_t> Bytes(uint8_t op, uint8_t a, uint8_t b, const std::vector<int16_t>& values) {
    std::vector<uint8_t> out = {op, a, b};
    for (int16_t v : values) {
        out.push_back(static_cast<uint8_t>(v & 0xFF));
        out.push_back(static_cast<uint8_t>((static_cast<uint16_t>(v) >> 8) & 0xFF));
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const int op = data[0] % 8;
    const int a = data[1];
    const int b = data[2] * 8;
    const std::vector<int16_t> runs = Values(data + 3, size - 3);
    switch (op) {
        case 0: {
            const auto out = FilterThinAreas(runs, a);
            CheckWellFormed(out);
            Check(FilterThinAreas(out, a) == out);
            break;
        }
        case 1: {
            const auto out = FilterHoles(runs, a);
            CheckWellFormed(out);
            Check(FilterHoles(out, a) == out);
            break;
        }
        case 2:
            CheckWellFormed(FilterViewingArea(runs, a, b));
            break;
        case 3: {
            const auto twice = MirrorContourVertical(MirrorContourVertical(runs));
            CheckWellFormed(twice, false);
            Check(MirrorContourVertical(MirrorContourVertical(twice)) == twice);
            break;
        }
        case 4: {
            const int height = 1 + b;
            const auto twice =
                MirrorContourHorizontal(MirrorContourHorizontal(runs, height), height);
            CheckWellFormed(twice);
            Check(MirrorContourHorizontal(MirrorContourHorizontal(twice, height), height) == twice);
            break;
        }
        case 5: {
            const size_t half = runs.size() / 2;
            const std::vector<int16_t> first(runs.begin(), runs.begin() + static_cast<long>(half));
            const std::vector<int16_t> second(runs.begin() + static_cast<long>(half), runs.end());
            for (ContourCombineOp c :
                 {ContourCombineOp::Or, ContourCombineOp::And, ContourCombineOp::Xor}) {
                const auto out = CombineContours(first, second, c);
                if (!first.empty() && !second.empty()) CheckWellFormed(out);
            }
            if (!runs.empty()) {
                const auto self = CombineContours(runs, runs, ContourCombineOp::Xor);
                for (size_t i = 0; i < self.size(); i += 2)
                    Check(self[i] == 1 && self[i + 1] == -1);
            }
            break;
        }
        default: {
            // On a part: a filter, the same filter again, another one, and undo.
            OType_Part part;
            part.SetConturData(runs);
            ApplyHoleFilter(part, std::max(a, 1));
            ApplyHoleFilter(part, std::max(a / 2, 1));
            // A part left without contour by the hole filter is skipped by the thin filter.
            const bool thin = ApplyThinAreaFilter(part, std::max(b % 7, 1));
            CheckWellFormed({part.Contour().begin(), part.Contour().end()});
            const std::vector<int16_t> before = thin ? FilterHoles(runs, std::max(a / 2, 1)) : runs;
            if (UndoLastFilter(part))
                Check(std::vector<int16_t>(part.Contour().begin(), part.Contour().end()) == before);
            ApplyViewingAreaFilter(part, a, b);
            UndoLastFilter(part);
            break;
        }
    }
    return 0;
}

std::vector<std::vector<uint8_t>> KalvorFuzzSeeds() {
    const std::vector<int16_t> sample = {10, 20, 22, -30, 1, -1, 5, 8, 11, -40, 0, -3};
    std::vector<std::vector<uint8_t>> seeds;
    for (uint8_t op = 0; op < 8; ++op)
        seeds.push_back(Bytes(op, 2, 6, sample));
    seeds.push_back(Bytes(5, 0, 0, {0, -32767, -32768, 32767}));
    seeds.push_back(Bytes(7, 3, 255, {10, 20, 30}));
    return seeds;
}
