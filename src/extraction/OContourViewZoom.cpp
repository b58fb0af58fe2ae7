#include "extraction/OContourViewZoom.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "extraction/OContourViewMapping.h"

namespace ContourViewZoom {

using namespace ContourView;

int SliderPosition(double zoom) {
    return static_cast<int>(std::lround(std::log(zoom) * 100.0 + 100.0));
}

bool bOnSlider(OContourViewState& s, int position, int& slider) {
    const double x = std::exp((position - 100) / 100.0);
    slider = position;
    if (std::fabs(s.zoom - x) < 0.01) return false;
    s.zoom = x;
    if (std::fabs(x - 1.0) < 0.2) {
        s.zoom = 1.0;
        slider = kSliderTick;
    }
    s.zoom = std::clamp(s.zoom, kMinZoom, kMaxZoom);
    if (s.zoom != x && s.zoom != 1.0) slider = SliderPosition(s.zoom);
    return true;
}

void ChangeMagnifier(OContourViewState& s, int delta, OPoint centre) {
    s.magnifierPercent = std::clamp(s.magnifierPercent + delta, kMinPercent, kMaxPercent);
    s.magnifierCentre = centre;
    s.magnifierCentrePending = true;
}

void RubberBandEnded(OContourViewState& s, OPoint start, OPoint end, int width, int height) {
    const int bandWidth = std::abs(end.x - start.x);
    const int bandHeight = std::abs(end.y - start.y);
    if (bandWidth <= kRubberBandMinMove && bandHeight <= kRubberBandMinMove) {
        if (bInDrawingArea(start, width, height)) ChangeMagnifier(s, -10, start);
        return;
    }
    double q = bandWidth == 0
                   ? 1.0
                   : std::fabs(static_cast<double>(width - kScaleBandLeft) / bandWidth / s.zoom);
    double r = bandHeight == 0
                   ? 1.0
                   : std::fabs(static_cast<double>(height - kScaleBandBottom) / bandHeight);
    if (q == 0.0) q = 1.0;
    if (r == 0.0) r = 1.0;
    const int percent =
        static_cast<int>(std::ceil(s.magnifierPercent / std::min(q, r) / 10.0)) * 10;
    s.magnifierPercent = std::clamp(percent, kMinPercent, kMaxPercent);
    s.magnifierCentre = {(start.x + end.x) / 2, (start.y + end.y) / 2};
    s.magnifierCentrePending = true;
}

bool bOnWheel(OContourViewState& s, bool towardsUser, OPoint point, int width, int height) {
    if (!bInDrawingArea(point, width, height)) return false;
    if (towardsUser ? s.magnifierPercent >= kMaxPercent : s.magnifierPercent <= kMinPercent)
        return false;
    ChangeMagnifier(s, towardsUser ? 10 : -10, point);
    if (s.magnifierOn != 1) s.magnifierOn = 2;
    return true;
}

void ToggleMagnifier(OContourViewState& s) {
    s.magnifierOn = s.magnifierOn == 1 ? 0 : 1;
    s.measuring = 0;
}

}  // namespace ContourViewZoom
