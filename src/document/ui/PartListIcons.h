// The 16 x 16 icons of the part lists, in the order of PartListIcon: a sample part used at
// teach, one ignored at teach, a good and a bad test part, and a test part of a project
// without quality decision.
#pragma once

#include <QIcon>
#include <array>

#include "document/PartListDisplay.h"

namespace PartListIcons {

inline constexpr int kSize = 16;

std::array<QIcon, kNumPartListIcons> Icons();

}  // namespace PartListIcons
