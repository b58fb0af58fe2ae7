// What the part contour view paints, without a window: the shown part's runs, the tools
// (drawn by the tools themselves under their locks), the label of the selected feature,
// the quality disc and the bands of the printout. The Qt window supplies an OPainter that
// maps contour pixels to the screen (OContourViewMapping) and adds grid, scales and bars.
#pragma once

#include <string>

#include "model/draw/OGeometry.h"

class OExtr_Default;
class OPainter;
class OType_Part;
class OType_ZRPartSet;
class ZRINFO;
struct OContourViewState;

namespace ContourViewPaint {

inline constexpr ORgb kTeachFill{16, 96, 16};
inline constexpr ORgb kTestFill{96, 96, 96};
inline constexpr ORgb kTapeMeasure{255, 0, 0};
inline constexpr ORgb kGoodPart{0, 255, 0};
inline constexpr ORgb kBadPart{255, 0, 0};

struct OShownPart {
    const OType_Part* part = nullptr;  // nullptr: draw only the grid and scales
    bool teach = true;
    ORgb fill = kTeachFill;
};
// The shown teach part (none when its number is negative or the list is empty) or the
// shown test part, with its fill colour.
OShownPart ShownPart(const OType_ZRPartSet& partSet);

// Fills every run inside the visible columns as a rectangle one column wide; a part
// without contour data gets the no-contour text in the middle of the visible rows.
void PaintContour(OPainter& painter, const OType_Part& part, ORgb fill,
                  const OContourViewState& view);

// Lets every tool that owns a feature of the part draw itself, each only when its lock is
// free at once (a busy lock skips the tool and is recorded in the engine's error flags).
// Returns the number of tools drawn.
int PaintTools(OPainter& painter, OExtr_Default& engine, OType_ZRPartSet& partSet,
               const ZRINFO& deviceInfo, OType_Part& part, int selectedTool);

// "%s %s - %s": tool name, feature name and value text of the selected feature.
std::string SelectedFeatureLabel(const OType_ZRPartSet& partSet, const OType_Part& part,
                                 int feature);

// The 15 x 15 pixel disc at the lower left for a test part when the quality decision is
// on: green for an evaluation value up to 100, red above. False when none is drawn.
bool bQualityDisc(const OType_Part& part, bool teach, bool qualityOn, int clientHeight, ORect& disc,
                  ORgb& colour);

// The printed page divided vertically: head band 15 %, picture band 50 %, text band 35 %.
struct OPrintBands {
    ORect head;
    ORect picture;
    ORect text;
};
OPrintBands PrintBands(const ORect& page);

}  // namespace ContourViewPaint
