// Synthetic family-1 parts for the tool search: a body of varying length with a small bump
// on its top, near the leading edge in orientation 1 and near the trailing edge in
// orientation 2 (the mirror image). Length and height vary from part to part so much that
// none of the twelve basic contour features tells the two orientations apart; a tool over
// the bump does.
#pragma once

#include <cstdint>
#include <vector>

namespace searchparts {

inline constexpr int kBodyBottom = 40;
inline constexpr int kBumpWidth = 20;
inline constexpr int kBumpHeight = 15;
inline constexpr int kBumpInset = 20;

// A body of `length` columns and `height` rows with the bump at the front or the back.
inline std::vector<int16_t> BumpPart(int length, int height, bool bumpAtFront) {
    const int bumpStart = bumpAtFront ? kBumpInset : length - kBumpInset - kBumpWidth;
    std::vector<int16_t> runs;
    runs.reserve(static_cast<size_t>(length) * 2);
    for (int x = 0; x < length; ++x) {
        const bool bump = x >= bumpStart && x < bumpStart + kBumpWidth;
        const int top = kBodyBottom + height + (bump ? kBumpHeight : 0);
        runs.push_back(static_cast<int16_t>(kBodyBottom));
        runs.push_back(static_cast<int16_t>(-top));
    }
    return runs;
}

// Length and height of the i-th part: lengths spread evenly over [base, base + spread).
inline int PartLength(int i, int base, int spread) {
    return base + (i * 37) % spread;
}
inline int PartHeight(int i) {
    return 120 + (i * 7) % 5;
}

}  // namespace searchparts
