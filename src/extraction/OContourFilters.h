// Contour image filters of family-1 parts: the viewing area (a band of rows), thin areas
// and holes, with restart from the backup, stacking of different kinds, the comment notes
// and "Undo last filter". Run lists are read by the rules of tools/OContourColumns.h; what
// the filters write is always well formed.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class OType_Part;
class OType_ZRPartSet;

namespace ContourFilterKind {
inline constexpr int kNone = 0;
inline constexpr int kViewingArea = 1;
inline constexpr int kThinAreas = 2;
inline constexpr int kHoles = 3;
inline constexpr int kDefaultLimit = 2;
}  // namespace ContourFilterKind

// --- run-list transforms ---
// Clamps every row into [lower, upper] and drops what no longer holds material.
std::vector<int16_t> FilterViewingArea(std::span<const int16_t> runs, int lower, int upper);
// Drops runs whose height is not greater than `limit`.
std::vector<int16_t> FilterThinAreas(std::span<const int16_t> runs, int limit);
// Fills the gaps of a column that are not higher than `limit`.
std::vector<int16_t> FilterHoles(std::span<const int16_t> runs, int limit);

// --- per part: backup, restart, appliedFilter and the comment note ---
// Each returns false when the part was skipped (no contour).
bool ApplyViewingAreaFilter(OType_Part& part, int lower, int upper);
bool ApplyThinAreaFilter(OType_Part& part, int limit);
bool ApplyHoleFilter(OType_Part& part, int limit);
// Applies the part set's filter mode with its limits (nothing for mode 0).
bool ApplyPartSetFilter(const OType_ZRPartSet& partSet, OType_Part& part);
// Restores the contour before the latest filter kind; false when no filter was applied.
bool UndoLastFilter(OType_Part& part);

// The comment without its last note (everything from its last "(" on).
std::string CutLastNote(const std::string& comment);
std::string ViewingAreaNote(int lower, int upper);
std::string ThinAreaNote(int limit);
std::string HoleNote(int limit);

// Initial limits of the viewing area over all parts of the part set: lower = the smallest
// absolute run value, upper = the largest absolute column-end value. False without contours.
bool bInitialViewingArea(const OType_ZRPartSet& partSet, int& lower, int& upper);
