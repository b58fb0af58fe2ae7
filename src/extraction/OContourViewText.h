// Texts and text-dependent layout of the part contour view: the grid step, the scale
// labels, the tape measure box and the status bar. Text sizes come from an OTextMeasurer
// (the window measures with its font, Arial 10 device pixels high; tests give fixed sizes).
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "model/draw/OGeometry.h"

class OType_Part;

class OTextMeasurer {
  public:
    virtual ~OTextMeasurer() = default;
    // Width and height of the text.
    virtual OPoint TextSize(std::string_view text) const = 0;
};

namespace ContourViewText {

inline constexpr int kGridBase = 25;  // contour pixels

// The grid step n (lines every 25 * n units) from the size of "00000" in logical units.
int GridStep(int textWidth, int textHeight);
int GridStep(const OTextMeasurer& logicalMeasurer);
// Positions of the grid lines (multiples of 25 * step) from `from` to `to`.
std::vector<int> GridLines(int from, int to, int step);
std::string ScaleLabel(int value);

// The four lines of the tape measure from `start` to `end` (contour pixels) with the
// scaling factors of "Settings for tape measure".
std::array<std::string, 4> TapeMeasureLines(OPoint start, OPoint end, double scaleX, double scaleY);
// The white text box next to the end point (window pixels): as wide as the widest line
// plus two character widths, right of the end point, left of it when dx < 0.
ORect TapeMeasureBox(const std::array<std::string, 4>& lines, OPoint endWindow, int dx,
                     const OTextMeasurer& deviceMeasurer);

// --- status bar ---
std::string PointerPane(OPoint contour);
inline constexpr std::string_view kPointerPaneIdle = "X:-- Y:--";

struct OStatusPanes {
    std::array<std::string, 4> text;
};
// Panes 1 to 3 for the shown part (nullptr: none); `teach` names the shown list.
OStatusPanes PartPanes(const OType_Part* part, bool teach, int deviceOrientations,
                       bool usesOrientations, bool usesTypes);
// Widths of panes 0 to 2 measured once at creation; pane 3 stretches (at least 50).
std::array<int, 4> PaneWidths(const OTextMeasurer& deviceMeasurer);

}  // namespace ContourViewText
