// The whole part contour view painted through OPainter: white ground, the shown part's runs,
// the tools (under their locks on the screen, their print drawing on paper), the graphic of
// a selected basic feature, the grid with its scale bands and labels, the selected feature's
// label, the quality disc, the viewing-area bars and the tape measure. The window paints it
// into its buffer, the printout into the picture band of a page, the benchmark into an image.
#pragma once

#include "model/draw/OGeometry.h"
#include "model/draw/OMapping.h"

class OContourViewController;
class OPainter;
struct OBasicContourFeatures;
struct OViewMapping;

// Where the scene goes: a client area of `width` x `height` view pixels whose top left
// corner lies at `origin` (base units); one view pixel is `unit` base units (1 on the screen;
// on paper tenths of a millimetre per pixel).
struct OContourSceneArea {
    OPoint origin{0, 0};
    int width = 0;
    int height = 0;
    int unit = 1;
};

namespace ContourViewScene {

inline constexpr ORgb kButtonFace{240, 240, 240};
inline constexpr ORgb kGrid{0, 0, 0};
inline constexpr ORgb kBasicFeature{0, 64, 255};
inline constexpr ORgb kViewingAreaBar{255, 128, 0};
inline constexpr int kFontPixels = 10;

// Paints the view for its current visible range. `printing`: tools print themselves (no
// locks taken, no hit rectangles kept) and the tape measure is left out.
void Paint(OPainter& painter, OContourViewController& view, const OContourSceneArea& area,
           bool printing = false);

// The mapping of contour pixels onto the area's base units.
OMapping ContourMapping(const OViewMapping& mapping, const OContourSceneArea& area);
// View pixels of the area onto its base units.
OMapping PixelMapping(const OContourSceneArea& area);

// The graphic of basic feature `index` (0 ... 11) of a measured contour, in contour pixels;
// `value` is the feature's value. False for an index without a graphic.
bool bPaintBasicFeature(OPainter& painter, int index, const OBasicContourFeatures& measured,
                        double value);

}  // namespace ContourViewScene
