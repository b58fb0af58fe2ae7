// The 16 x 16 icons of the teach-data displays: the six row icons of the teach-data list
// (by feature option and display mode) and the eight icons of the evaluation list (ratings,
// part counts, information and advice).
#pragma once

#include <QIcon>
#include <array>

namespace TeachDataIcons {

inline constexpr int kSize = 16;

// 0 statistics from the sample parts, 1 range entered by hand, 2 excluded feature, 3 spare,
// 4 decision bounds, 5 range entered by hand and locked.
std::array<QIcon, 6> RowIcons();
// 0 not possible, 1 bad, 2 acceptable, 3 good, 4 information, 5 note, 6 advice, 7 question.
std::array<QIcon, 8> EvaluationIcons();

}  // namespace TeachDataIcons
