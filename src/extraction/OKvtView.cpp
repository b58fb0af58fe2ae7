#include "extraction/OKvtView.h"

#include <algorithm>
#include <cmath>

#include "model/coordtrans/OCoordTrans_Tsai_Transformer.h"
#include "model/strings/ResStr.h"

namespace {

constexpr int kBrightnessLabel = 26200;
constexpr int kHueLabel = 26201;

double Distance(OPointD a, OPointD b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

// The angle of the vector (dx, dy) in image coordinates, counter-clockwise on the screen.
double ScreenAngle(double dx, double dy) {
    return std::atan2(-dy, dx) * KvtGeometry::kDegreesPerRadian;
}

std::string AlphaLine(const char* prefix, double dx, double dy) {
    if (dx == 0) return std::string(prefix) + (dy > 0 ? "Alpha:90" : "Alpha:-90");
    double alpha = std::atan(dy / dx) * KvtGeometry::kDegreesPerRadian;
    if (dx < 0 && dy > 0) alpha += 180.0;
    if (dx < 0 && dy <= 0) alpha -= 180.0;
    return FormatPrintf("%sAlpha:%3.2lf", prefix, alpha);
}

}  // namespace

// --- mapping ---

OKvtViewMapping OKvtViewMapping::Of(const OKvtViewState& s, int width, int height) {
    OKvtViewMapping m;
    const double areaW = std::max(1, width - KvtView::kScaleBandLeft);
    const double areaH = std::max(1, height - KvtView::kScaleBandBottom);
    const double rangeW = std::max(s.rangeWidth, 1.0);
    const double rangeH = std::max(s.rangeHeight, 1.0);
    m.scale = std::min(areaW / rangeW, areaH / rangeH);
    m.rangeLeft = s.rangeLeft;
    m.rangeTop = s.rangeTop;
    return m;
}

OPointD OKvtViewMapping::ToWindow(OPointD p) const {
    return {offsetX + (p.x - rangeLeft) * scale, offsetY + (p.y - rangeTop) * scale};
}

OPointD OKvtViewMapping::ToImage(OPointD w) const {
    return {rangeLeft + (w.x - offsetX) / scale, rangeTop + (w.y - offsetY) / scale};
}

OPoint OKvtViewMapping::PixelAt(OPoint window) const {
    // The window pixel's centre decides which image pixel it shows.
    const OPointD p = ToImage({window.x + 0.5, window.y + 0.5});
    return {static_cast<int32_t>(std::floor(p.x + 0.5)),
            static_cast<int32_t>(std::floor(p.y + 0.5))};
}

bool bInKvtDrawingArea(OPoint p, int width, int height) {
    return p.x >= KvtView::kScaleBandLeft && p.x < width && p.y >= 0 &&
           p.y < height - KvtView::kScaleBandBottom;
}

// --- texts ---

namespace KvtViewText {

int iHue(int low, int middle, int high) {
    const int max = std::max({low, middle, high});
    const int min = std::min({low, middle, high});
    const int range = max - min;
    if (range == 0) return 0;
    if (low == max) return 32 + 32 * (middle - high) / range;
    if (middle == max) return 96 + 32 * (high - low) / range;
    return 160 + 32 * (low - middle) / range;
}

std::string PointerPane(const OPointerInfo& i) {
    std::string text = i.world ? FormatPrintf("Xw:%3.2lf Yw:%3.2lf", i.xw, i.yw)
                               : FormatPrintf("X:%d Y:%d", i.pixel.x, i.pixel.y);
    if (i.layers == 0 || !i.inside) return text;
    text += FormatPrintf("  %s:%d", ResStr(kBrightnessLabel), i.grey);
    if (i.layers < 2) return text;
    text += FormatPrintf("  %s:%d  RGB:%d,%d,%d", ResStr(kHueLabel), iHue(i.low, i.middle, i.high),
                         i.low, i.middle, i.high);
    return text;
}

std::vector<std::string> TapeMeasureLines(OPoint start, OPoint end, double fx, double fy,
                                          const std::optional<OPointD>& ws,
                                          const std::optional<OPointD>& we) {
    const int dx = end.x - start.x;
    const int dy = end.y - start.y;
    const bool scaled = fx != 1.0 || fy != 1.0;
    const double length = std::sqrt(double(dx) * dx * fx * fx + double(dy) * dy * fy * fy);
    std::vector<std::string> lines;
    lines.push_back(FormatPrintf("[Pixel] X:%d Y:%d - X:%d Y:%d", start.x, start.y, end.x, end.y));
    lines.push_back(scaled ? FormatPrintf("[Pixel] Dx:%3.0lf (%3.3lf), Dy:%3.0lf (%3.3lf)", fx * dx,
                                          fx, fy * dy, fy)
                           : FormatPrintf("[Pixel] Dx:%3.0lf , Dy:%3.0lf", fx * dx, fy * dy));
    lines.push_back(scaled ? FormatPrintf("[Pixel] D:%3.2lf (x:%3.3lf, y:%3.3lf)", length, fx, fy)
                           : FormatPrintf("[Pixel] D:%3.2lf", length));
    lines.push_back(AlphaLine("[Pixel] ", fx * dx, fy * dy));
    if (!ws || !we) return lines;
    const double wdx = we->x - ws->x;
    const double wdy = we->y - ws->y;
    lines.push_back(
        FormatPrintf("[W] X:%3.2lf Y:%3.2lf - X:%3.2lf Y:%3.2lf", ws->x, ws->y, we->x, we->y));
    lines.push_back(FormatPrintf("[W] Dx:%3.2lf , Dy:%3.2lf", wdx, wdy));
    lines.push_back(FormatPrintf("[W] D:%3.2lf", std::hypot(wdx, wdy)));
    lines.push_back(AlphaLine("[W] ", wdx, wdy));
    return lines;
}

std::optional<OPointD> ImageToWorld(const OCoordTrans_Tsai_Transformer& transformer, OPointD p,
                                    double z) {
    OPointD w;
    if (!transformer.Image2World(p.x, p.y, z, w.x, w.y)) return std::nullopt;
    return w;
}

std::string ScaleLabel(double value) {
    return std::abs(value - std::round(value)) < 1e-9 ? FormatPrintf("%d", int(std::lround(value)))
                                                      : FormatPrintf("%3.1lf", value);
}

}  // namespace KvtViewText

// --- the shape tracker ---

namespace KvtShapeTracker {

OPointD TurnKnob(const OKvtRegion& r, const OKvtViewMapping& m) {
    const OPointD top = r.ToImage(r.width / 2, 0);
    const OPointD up = r.AxisV();
    const double lift = kKnobPixels / std::max(m.scale, 1e-9);
    return {top.x - up.x * lift, top.y - up.y * lift};
}

Grip GripAt(const OKvtRegion& r, const OKvtViewMapping& m, OPointD window) {
    const double tolerance = kHandlePixels / std::max(m.scale, 1e-9);
    const OPointD image = m.ToImage(window);
    if (Distance(m.ToWindow(TurnKnob(r, m)), window) <= kHandlePixels + 1) return Grip::Turn;
    const OPointD local = r.ToLocal(image.x, image.y);
    // Local pixel space runs from -0.5 to side - 0.5.
    const double u0 = -0.5, u1 = r.width - 0.5, v0 = -0.5, v1 = r.height - 0.5;
    if (local.x < u0 - tolerance || local.x > u1 + tolerance || local.y < v0 - tolerance ||
        local.y > v1 + tolerance)
        return Grip::None;
    // Regions too small for two handles move from anywhere.
    const bool narrow = (u1 - u0) < 3 * tolerance;
    const bool low = (v1 - v0) < 3 * tolerance;
    const bool left = !narrow && std::abs(local.x - u0) <= tolerance;
    const bool right = !narrow && std::abs(local.x - u1) <= tolerance;
    const bool top = !low && std::abs(local.y - v0) <= tolerance;
    const bool bottom = !low && std::abs(local.y - v1) <= tolerance;
    if (top && left) return Grip::TopLeft;
    if (top && right) return Grip::TopRight;
    if (bottom && left) return Grip::BottomLeft;
    if (bottom && right) return Grip::BottomRight;
    if (left) return Grip::Left;
    if (right) return Grip::Right;
    if (top) return Grip::Top;
    if (bottom) return Grip::Bottom;
    return Grip::Move;
}

std::optional<OKvtRegion> Dragged(const OKvtRegion& before, Grip grip, OPointD from, OPointD to,
                                  int imageWidth, int imageHeight) {
    OKvtRegion r = before;
    const double dx = to.x - from.x;
    const double dy = to.y - from.y;
    switch (grip) {
        case Grip::None:
            return std::nullopt;
        case Grip::Move:
            r.centreX += dx;
            r.centreY += dy;
            break;
        case Grip::Turn: {
            const double a0 = ScreenAngle(from.x - before.centreX, from.y - before.centreY);
            const double a1 = ScreenAngle(to.x - before.centreX, to.y - before.centreY);
            double turn = a1 - a0;
            if (turn > 180) turn -= 360;
            if (turn <= -180) turn += 360;
            r.angle = before.angle + turn;
            if (std::abs(r.angle) > KvtView::kMaxAngle) return std::nullopt;
            break;
        }
        default: {
            // The pointer's move along the region's own axes; the opposite edge stays.
            const OPointD eu = before.AxisU(), ev = before.AxisV();
            double du = dx * eu.x + dy * eu.y;
            double dv = dx * ev.x + dy * ev.y;
            const bool left =
                grip == Grip::Left || grip == Grip::TopLeft || grip == Grip::BottomLeft;
            const bool right =
                grip == Grip::Right || grip == Grip::TopRight || grip == Grip::BottomRight;
            const bool top = grip == Grip::Top || grip == Grip::TopLeft || grip == Grip::TopRight;
            const bool bottom =
                grip == Grip::Bottom || grip == Grip::BottomLeft || grip == Grip::BottomRight;
            double shiftU = 0, shiftV = 0;
            if (left || right) {
                const double grown = std::max(1.0, before.width + (right ? du : -du));
                du = right ? grown - before.width : before.width - grown;
                r.width = grown;
                shiftU = du / 2;
            }
            if (top || bottom) {
                const double grown = std::max(1.0, before.height + (bottom ? dv : -dv));
                dv = bottom ? grown - before.height : before.height - grown;
                r.height = grown;
                shiftV = dv / 2;
            }
            r.centreX += shiftU * eu.x + shiftV * ev.x;
            r.centreY += shiftU * eu.y + shiftV * ev.y;
            break;
        }
    }
    if (!r.bIsSane()) return std::nullopt;
    if (imageWidth > 0 && imageHeight > 0 && !r.bLiesInside(imageWidth, imageHeight))
        return std::nullopt;
    return r;
}

}  // namespace KvtShapeTracker
