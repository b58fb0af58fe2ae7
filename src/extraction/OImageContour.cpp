#include "extraction/OImageContour.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// Columns are handled in bands: the pixels are read row by row inside a band (in memory
// order), and a band's transitions are few enough to keep even for hostile pictures.
constexpr int kBandWidth = 512;

struct Transition {
    int32_t column;  // inside the band
    int32_t row;     // counted from the bottom image row
};

std::array<uint8_t, 256> MembershipTable(const OImageThreshold& t) {
    std::array<uint8_t, 256> table{};
    for (int v = 0; v < 256; ++v)
        table[static_cast<size_t>(v)] = ImageContour::bIsPart(v, t) ? 1 : 0;
    return table;
}

// Rows where membership changes, per column of the band [c0, c0 + width), found by comparing
// each row with the one below it (the row below the image and the row above the scanned ones
// count as background, so every run has both ends). Transitions of a column come out in
// ascending rows.
void FindTransitions(const OType_Image& image, const std::array<uint8_t, 256>& table, int c0,
                     int width, int rows, std::vector<Transition>& out) {
    out.clear();
    const int layers = image.iGetLayers();
    const size_t rowBytes = static_cast<size_t>(image.iGetWidth()) * layers;
    const uint8_t* pixels = image.Pixels().data();
    const size_t padded = (static_cast<size_t>(width) + 7) / 8 * 8;
    std::vector<uint8_t> below(padded, 0), here(padded, 0);
    for (int r = 0; r <= rows; ++r) {
        if (r == rows) {
            std::fill(here.begin(), here.end(), 0);
        } else {
            const uint8_t* src = pixels +
                                 static_cast<size_t>(image.iGetHeight() - 1 - r) * rowBytes +
                                 static_cast<size_t>(c0) * layers;
            if (layers == 1) {
                for (int x = 0; x < width; ++x)
                    here[static_cast<size_t>(x)] = table[src[x]];
            } else {
                for (int x = 0; x < width; ++x)
                    here[static_cast<size_t>(x)] = table[src[static_cast<size_t>(x) * layers]];
            }
        }
        // Eight columns at a time: most rows equal the one below them.
        for (size_t x = 0; x < padded; x += 8) {
            uint64_t a = 0, b = 0;
            std::memcpy(&a, &here[x], 8);
            std::memcpy(&b, &below[x], 8);
            if (a == b) continue;
            for (size_t k = x; k < x + 8; ++k)
                if (here[k] != below[k]) out.push_back({static_cast<int32_t>(k), r});
        }
        std::swap(here, below);
    }
}

}  // namespace

namespace ImageContour {

std::vector<int16_t> FromImage(const OType_Image& image, const OImageThreshold& threshold,
                               size_t maxValues) {
    std::vector<int16_t> runs;
    if (image.bIsEmpty()) return runs;
    const int x0 = std::max(image.iGetPosX(), 0);
    const int y0 = std::max(image.iGetPosY(), 0);
    // Run values are 16-bit: the end of a run (one above its last row) is at most 32767.
    const int rows = std::clamp(32767 - y0, 0, image.iGetHeight());
    const auto table = MembershipTable(threshold);
    auto fits = [&](size_t values) { return runs.size() + values <= maxValues; };

    runs.reserve(std::min(maxValues, static_cast<size_t>(x0 + image.iGetWidth()) * 2 + 64));
    for (int c = 0; c < x0; ++c) {
        if (!fits(2)) return runs;
        runs.insert(runs.end(), {1, -1});
    }
    std::vector<Transition> transitions;
    std::vector<uint32_t> first(kBandWidth + 1);
    std::vector<int32_t> byColumn;
    for (int c0 = 0; c0 < image.iGetWidth(); c0 += kBandWidth) {
        const int width = std::min(kBandWidth, image.iGetWidth() - c0);
        FindTransitions(image, table, c0, width, rows, transitions);
        // Group the transitions by column, keeping their row order.
        std::fill(first.begin(), first.end(), 0);
        for (const Transition& t : transitions)
            ++first[static_cast<size_t>(t.column) + 1];
        for (int c = 0; c < width; ++c)
            first[static_cast<size_t>(c) + 1] += first[static_cast<size_t>(c)];
        byColumn.resize(transitions.size());
        std::vector<uint32_t> next(first.begin(), first.end() - 1);
        for (const Transition& t : transitions)
            byColumn[next[static_cast<size_t>(t.column)]++] = t.row;
        for (int c = 0; c < width; ++c) {
            const uint32_t begin = first[static_cast<size_t>(c)];
            const uint32_t end = first[static_cast<size_t>(c) + 1];
            const size_t values = end == begin ? 2 : end - begin;
            if (!fits(values)) return runs;
            if (end == begin) {
                runs.insert(runs.end(), {1, -1});
                continue;
            }
            // Transitions alternate: the first row of a run, then the first row above it.
            for (uint32_t i = begin; i < end; ++i)
                runs.push_back(static_cast<int16_t>(y0 + byColumn[i]));
            runs.back() = static_cast<int16_t>(-runs.back());
        }
    }
    return runs;
}

}  // namespace ImageContour
