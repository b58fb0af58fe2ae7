// The family-2 part contour view painted through OPainter: the shown picture (camera image
// or contour), the tools by their own drawing data, the selected tool's tracker handles,
// the scale bands with pixel or world labels, the selected feature's label and the tape
// measure. The window paints it into its buffer, the printout into the picture band of a
// page, the benchmark into an image.
#pragma once

#include "extraction/OContourViewScene.h"
#include "model/draw/OMapping.h"

class OKvtViewController;
struct OKvtViewMapping;

namespace KvtViewScene {

inline constexpr ORgb kBackground{64, 64, 64};  // around the picture
inline constexpr ORgb kHandle{255, 255, 255};

// Paints the view for the controller's visible range. `printing`: no tracker handles and no
// tape measure.
void Paint(OPainter& painter, OKvtViewController& view, const OContourSceneArea& area,
           bool printing = false);

// Image pixels onto the area's base units (whole units: close enough for lines and marks).
OMapping ImageMapping(const OKvtViewMapping& mapping, const OContourSceneArea& area);

// The step of the scale labels in image pixels: 1, 2 or 5 times a power of ten, so that
// neighbouring labels of `labelPixels` width do not touch at `scale` window pixels per
// image pixel.
double LabelStep(double scale, int labelPixels);

}  // namespace KvtViewScene
