// The headless side of the family-2 part contour view: its state, the mapping of image
// pixels onto the window, the pointer and tape-measure texts, and the shape tracker's
// geometry (moving, resizing and turning a tool's rotatable region). The window paints and
// forwards events; everything it shows or decides is computed here.
//
// Image coordinates are pixels of the shown picture (the camera image, or the contour drawn
// as a picture): x to the right, y downwards, pixel (x, y) centred at (x, y).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/draw/OGeometry.h"
#include "tools/kvt/OKvtRegion.h"

class OCoordTrans_Tsai_Transformer;

struct OKvtViewState {
    // -1 the contour picture, 0 ... n-1 the part's camera image with that index.
    int shownImage = 0;
    // Set when the user switched by command: the selected tool no longer decides.
    bool manualImageChoice = false;
    // The visible range in image pixels (left, top edge of pixel space, width, height);
    // ShowImageRegion sets it to the shown picture.
    double rangeLeft = -0.5;
    double rangeTop = -0.5;
    double rangeWidth = 640;
    double rangeHeight = 480;
    // Image pixels under the pointer while the tape measure runs.
    bool measuring = false;
    OPointD measureStart{};
    OPointD measureEnd{};
    // Index of the tool owning the selected feature; -1 for none.
    int selectedTool = -1;
};

namespace KvtView {
inline constexpr int kScaleBandLeft = 30;    // pixels of the left scale band
inline constexpr int kScaleBandBottom = 20;  // pixels of the bottom scale band
inline constexpr double kMinRange = 4;       // smallest visible range (image pixels)
inline constexpr double kMaxRange = 65536;   // largest visible range
inline constexpr double kMaxAngle = 360;     // turns beyond ±360° are refused
}  // namespace KvtView

// Image pixels onto window pixels: the visible range fitted isotropically into the drawing
// area (the client area less the scale bands), its top left corner at the band's edge.
struct OKvtViewMapping {
    double scale = 1;  // window pixels per image pixel
    double offsetX = KvtView::kScaleBandLeft;
    double offsetY = 0;
    double rangeLeft = -0.5;
    double rangeTop = -0.5;

    static OKvtViewMapping Of(const OKvtViewState& state, int clientWidth, int clientHeight);
    OPointD ToWindow(OPointD image) const;
    OPointD ToImage(OPointD window) const;
    // The image pixel under a window point (rounded to the nearest pixel centre).
    OPoint PixelAt(OPoint window) const;
};

// The drawing area: right of the left band, above the bottom band.
bool bInKvtDrawingArea(OPoint window, int clientWidth, int clientHeight);

namespace KvtViewText {

// Hue on a 0 ... 191 scale from the three colour bytes of a pixel value (low, middle, high).
int iHue(int low, int middle, int high);

// What lies under the pointer.
struct OPointerInfo {
    OPoint pixel{0, 0};
    bool world = false;  // the transformation is active: xw, yw are shown instead
    double xw = 0;
    double yw = 0;
    // 0: no picture shown; 1 grey; 3 colour.
    int layers = 0;
    bool inside = false;  // the pixel lies inside the picture
    int grey = 0;
    int low = 0, middle = 0, high = 0;  // colour bytes (R, G, B)
};
// Status pane 0: "X:%d Y:%d" or "Xw:%3.2lf Yw:%3.2lf", followed by the brightness, the hue
// and the colour bytes as far as the picture has them.
std::string PointerPane(const OPointerInfo& info);

// The tape measure: four "[Pixel] " lines and, with world ends, four "[W] " lines more.
std::vector<std::string> TapeMeasureLines(OPoint start, OPoint end, double scaleX, double scaleY,
                                          const std::optional<OPointD>& worldStart,
                                          const std::optional<OPointD>& worldEnd);

// World coordinates of an image point on the plane at height z (the tape measure's Z, the
// view uses -Z); nullopt when the transformer cannot map it.
std::optional<OPointD> ImageToWorld(const OCoordTrans_Tsai_Transformer& transformer, OPointD image,
                                    double z);

// Scale label of the bands: the pixel value, or the world value with the transformation.
std::string ScaleLabel(double value);

}  // namespace KvtViewText

// The shape tracker: where the pointer grips a region and what a drag makes of it.
namespace KvtShapeTracker {

enum class Grip {
    None,
    Move,  // inside the region
    Left,
    Right,
    Top,
    Bottom,
    TopLeft,
    TopRight,
    BottomLeft,
    BottomRight,
    Turn,  // the knob above the middle of the top edge: turns about the centre
};

// Window pixels within which a handle grips, and the knob's distance above the top edge.
inline constexpr double kHandlePixels = 5;
inline constexpr double kKnobPixels = 18;

// The knob's image point for the region under the mapping.
OPointD TurnKnob(const OKvtRegion& region, const OKvtViewMapping& mapping);
// What the window point grips of the region.
Grip GripAt(const OKvtRegion& region, const OKvtViewMapping& mapping, OPointD window);

// The region after dragging `grip` from `from` to `to` (image pixels). Sizes never drop
// below one pixel, a turn beyond ±360° is refused, and a region that would leave the picture
// (imageWidth × imageHeight; 0 for no limit) is refused: nullopt.
std::optional<OKvtRegion> Dragged(const OKvtRegion& before, Grip grip, OPointD from, OPointD to,
                                  int imageWidth, int imageHeight);

}  // namespace KvtShapeTracker
