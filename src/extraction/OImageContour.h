// The contour image (vertical runs) of a camera image by brightness thresholding, as camera
// images imported from files get theirs.
//
// The image lies at its position (X, Y) in the device's field: its columns are contour
// columns X ... X + w - 1 (columns 0 ... X - 1 come first, empty), its bottom row is contour
// row Y and rows count upwards. A pixel (its grey value, or the first byte of a colour
// pixel) belongs to the part when it lies within [dark, bright] (threshold type 0) or
// outside that range (type 1). Each run is written (first row, first row above it not of the
// part); the last bottom of a column is negated; a column without material is (1, -1).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/part/OType_Image.h"

struct OImageThreshold {
    int type = 0;  // 0: part within [dark, bright]; 1: part outside it
    int dark = 0;
    int bright = 127;
};

namespace ImageContour {

// The most run values a contour made from an image holds.
inline constexpr size_t kMaxValues = 150000;

// Whether a pixel of this value belongs to the part.
inline bool bIsPart(int value, const OImageThreshold& t) {
    const bool inside = t.dark <= value && value <= t.bright;
    return t.type == 0 ? inside : !inside;
}

// The run list of `image` at its position. An empty image gives an empty list. Negative
// positions count as 0; rows that a 16-bit run value cannot hold (above 32767) are not
// scanned. The list stops before the first column that would take it past `maxValues`, so
// it always ends with a whole column.
std::vector<int16_t> FromImage(const OType_Image& image, const OImageThreshold& threshold,
                               size_t maxValues = kMaxValues);

}  // namespace ImageContour
