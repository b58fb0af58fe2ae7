// Zoom and magnifier rules of the part contour view.
#pragma once

#include "extraction/OContourViewState.h"

namespace ContourViewZoom {

// The zoom slider (id 32783) that replaces toolbar button 32782: 80 pixels wide.
inline constexpr int kSliderId = 32783;
inline constexpr int kSliderMin = -130;
inline constexpr int kSliderMax = 330;
inline constexpr int kSliderTick = 100;
inline constexpr int kSliderWidth = 80;
inline constexpr int kRubberBandMinMove = 5;

// ln(zoom) * 100 + 100, rounded.
int SliderPosition(double zoom);
// A slider change; false when the zoom stays (closer than 0.01). `slider` receives the
// position the slider shows afterwards (100 when the zoom snapped to 1).
bool bOnSlider(OContourViewState& state, int position, int& slider);

// Changes the visible range by `delta` percent (kept in 10 ... 1000), centred on a window
// point at the next preparation.
void ChangeMagnifier(OContourViewState& state, int delta, OPoint centre);
// The magnifier's rubber band ended: a band of more than 5 pixels in x or y zooms onto it,
// anything smaller is a click (-10 %).
void RubberBandEnded(OContourViewState& state, OPoint start, OPoint end, int clientWidth,
                     int clientHeight);
// The mouse wheel inside the drawing area: towards the user +10, away -10; false when
// nothing changed (at a limit or outside the drawing area).
bool bOnWheel(OContourViewState& state, bool towardsUser, OPoint point, int clientWidth,
              int clientHeight);
// Command 32865: magnifier on or off; ends a running tape measure.
void ToggleMagnifier(OContourViewState& state);

}  // namespace ContourViewZoom
