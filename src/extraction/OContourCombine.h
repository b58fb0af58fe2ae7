// Combining two contour images row mask by row mask, and mirroring a contour.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

class OType_Part;

enum class ContourCombineOp { Or, And, Xor };

inline constexpr int kCombineMaskRows = 2049;  // rows 0 ... 2048
inline constexpr int kCombineMaxColumns = 65000;

// Column by column up to the end of the longer contour (at most kCombineMaxColumns): both
// columns are rasterised into masks of kCombineMaskRows rows (run ends clipped), combined
// and written back as runs; a column without material is written as (1, -1). When one of
// the contours is empty the other is returned.
std::vector<int16_t> CombineContours(std::span<const int16_t> a, std::span<const int16_t> b,
                                     ContourCombineOp op);

// The order of the columns reversed; an empty column becomes (1, -1).
std::vector<int16_t> MirrorContourVertical(std::span<const int16_t> runs);
// Every row r becomes height - r, so that each run's top and bottom swap; rows are first
// clamped into [0, height]; an empty column becomes (1, -1).
std::vector<int16_t> MirrorContourHorizontal(std::span<const int16_t> runs, int height);

// The part's contour and its filter backup mirrored.
void MirrorPartVertical(OType_Part& part);
void MirrorPartHorizontal(OType_Part& part, int height);
