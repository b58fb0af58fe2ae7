#include "extraction/OContourViewMapping.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

using namespace ContourView;

// a * b / c rounded to the nearest integer (0 when c is 0).
int MulDiv(int64_t a, int64_t b, int64_t c) {
    if (c == 0) return 0;
    return static_cast<int>(
        std::llround(static_cast<double>(a) * static_cast<double>(b) / static_cast<double>(c)));
}

int Sign(int v) {
    return v < 0 ? -1 : 1;
}

// Equal units in x and y: the larger scale is reduced to the smaller one.
void MakeIsotropic(OViewMapping& m) {
    const double sx = std::fabs(static_cast<double>(m.viewportExtX) / m.windowExtX);
    const double sy = std::fabs(static_cast<double>(m.viewportExtY) / m.windowExtY);
    if (sx > sy) {
        m.viewportExtX =
            Sign(m.viewportExtX) * std::abs(MulDiv(m.windowExtX, m.viewportExtY, m.windowExtY));
    } else if (sy > sx) {
        m.viewportExtY =
            Sign(m.viewportExtY) * std::abs(MulDiv(m.windowExtY, m.viewportExtX, m.windowExtX));
    }
    if (m.viewportExtX == 0) m.viewportExtX = Sign(m.viewportExtX);
    if (m.viewportExtY == 0) m.viewportExtY = Sign(m.viewportExtY);
}

}  // namespace

OPoint OViewMapping::LogicalToDevice(OPoint p) const {
    if (identity) return p;
    return {MulDiv(p.x - windowOrgX, viewportExtX, windowExtX) + viewportOrgX,
            MulDiv(p.y - windowOrgY, viewportExtY, windowExtY) + viewportOrgY};
}

OPoint OViewMapping::DeviceToLogical(OPoint p) const {
    if (identity) return p;
    return {MulDiv(p.x - viewportOrgX, windowExtX, viewportExtX) + windowOrgX,
            MulDiv(p.y - viewportOrgY, windowExtY, viewportExtY) + windowOrgY};
}

int OViewMapping::iDeviceSizeX() const {
    return identity ? 10000 : std::abs(MulDiv(10000, viewportExtX, windowExtX));
}

int OViewMapping::iDeviceSizeY() const {
    return identity ? 10000 : std::abs(MulDiv(10000, viewportExtY, windowExtY));
}

OViewMapping ContourViewMapping(const OContourViewState& s, int width, int height) {
    OViewMapping m;
    int extX = s.windowRight - s.windowLeft;
    int extY = s.windowTop - s.windowBottom;
    if (width < kScaleBandLeft + 1 || height < kScaleBandBottom + 1 || extX == 0 || extY == 0) {
        m.identity = true;
        return m;
    }
    if (s.fitMode == 0) {
        extX += static_cast<int>(int64_t{extX} * 40 / (width + 1));
        extY += static_cast<int>(int64_t{extY} * 30 / (height + 1));
    }
    m.windowOrgX = s.windowLeft;
    m.windowOrgY = s.windowBottom;
    m.windowExtX = extX;
    m.windowExtY = extY;
    m.viewportOrgX = kScaleBandLeft;
    m.viewportOrgY = height - kScaleBandBottom;
    m.viewportExtX = width - kScaleBandLeft;
    m.viewportExtY = -(height - kScaleBandBottom);
    if (s.fitMode == 2) MakeIsotropic(m);
    return m;
}

OPoint WindowToContour(const OContourViewState& s, const OViewMapping& m, OPoint p) {
    const int sx = m.iDeviceSizeX();
    const int sy = m.iDeviceSizeY();
    if (sx <= 0 || sy <= 0) return {0, 0};
    const int64_t x = s.windowLeft + int64_t{p.x - kScaleBandLeft} * 10000 / sx;
    const int64_t y = s.windowTop - int64_t{p.y} * 10000 / sy - 1;
    return {static_cast<int32_t>(x), static_cast<int32_t>(y)};
}

OPoint ContourToWindow(const OContourViewState& s, const OViewMapping& m, OPoint c) {
    const int sx = m.iDeviceSizeX();
    const int sy = m.iDeviceSizeY();
    return {static_cast<int32_t>(kScaleBandLeft + int64_t{c.x - s.windowLeft} * sx / 10000),
            static_cast<int32_t>(int64_t{s.windowTop - 1 - c.y} * sy / 10000)};
}

bool bInDrawingArea(OPoint p, int width, int height) {
    return p.x > kScaleBandLeft && p.x < width && p.y < height - kScaleBandBottom;
}

OViewFrame PrepareContourView(OContourViewState& s, int width, int height) {
    OViewFrame frame;
    s.fitMode = std::fabs(s.zoom - 1.0) < 0.2 ? 2 : 1;
    const int visibleX = s.magnifierPercent * (width - kScaleBandLeft) / 100;
    s.windowRight = s.windowLeft + static_cast<int>(visibleX / s.zoom);
    s.windowTop = s.windowBottom + s.magnifierPercent * (height - kScaleBandBottom) / 100;
    if (s.magnifierCentrePending && s.magnifierOn != 0) {
        const OPoint centre =
            WindowToContour(s, ContourViewMapping(s, width, height), s.magnifierCentre);
        const int rangeX = s.windowRight - s.windowLeft;
        const int rangeY = s.windowTop - s.windowBottom;
        s.windowLeft = std::max(0, centre.x - rangeX / 2);
        s.windowRight = s.windowLeft + rangeX;
        s.windowBottom = std::max(0, centre.y - rangeY / 2);
        s.windowTop = s.windowBottom + rangeY;
        frame.movePointer = true;
        frame.pointer = ContourToWindow(s, ContourViewMapping(s, width, height), centre);
        s.magnifierCentrePending = false;
        if (s.magnifierOn == 2) s.magnifierOn = 0;
    }
    frame.scrollX = s.windowLeft;
    frame.scrollY = s.scrollRange.y - s.windowBottom;
    frame.mapping = ContourViewMapping(s, width, height);
    return frame;
}
