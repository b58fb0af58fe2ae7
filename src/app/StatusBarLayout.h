// The main frame's status bar: four panes and the progress bar placed over pane 1.
#pragma once

#include <array>

namespace StatusBarLayout {

inline constexpr int kStatusBarId = 59393;
inline constexpr int kProgressBarId = 99;

struct Pane {
    int id;     // indicator id (0 for the stretching text pane)
    int width;  // pixels; the first pane stretches from this minimum
};

inline constexpr std::array<Pane, 4> kPanes = {{{0, 100}, {500, 180}, {501, 380}, {502, 130}}};
inline constexpr int kProgressPane = 1;
// Panes 2 and 3 start with string 9048.
inline constexpr int kInitialLinkText = 9048;

}  // namespace StatusBarLayout
