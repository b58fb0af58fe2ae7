// Coordinate mapping of the part contour view: the visible range of contour pixels mapped
// onto the drawing area (the client area less the 30-pixel scale band at the left and the
// 20-pixel band at the bottom), y counting upwards. The window applies the mapping to its
// painter; the engine uses it for every mouse computation.
#pragma once

#include "extraction/OContourViewState.h"

struct OViewMapping {
    bool identity = false;  // one device pixel per unit (degenerate client area or range)
    int windowOrgX = 0, windowOrgY = 0, windowExtX = 1, windowExtY = 1;
    int viewportOrgX = 0, viewportOrgY = 0, viewportExtX = 1, viewportExtY = 1;

    OPoint LogicalToDevice(OPoint logical) const;
    OPoint DeviceToLogical(OPoint device) const;
    // Device size (absolute) of 10000 logical units in x and y.
    int iDeviceSizeX() const;
    int iDeviceSizeY() const;
};

// What one preparation gives the window: the mapping, the scroll positions, and where to
// move the mouse pointer after a magnifier re-centre.
struct OViewFrame {
    OViewMapping mapping;
    int scrollX = 0;
    int scrollY = 0;
    bool movePointer = false;
    OPoint pointer{0, 0};
};

// The steps before each paint and mouse computation: fit mode from the zoom, visible range
// from the magnifier, a pending magnifier centre, scroll positions, mapping.
OViewFrame PrepareContourView(OContourViewState& state, int clientWidth, int clientHeight);
// The mapping of the current state without changing it.
OViewMapping ContourViewMapping(const OContourViewState& state, int clientWidth, int clientHeight);

// A window point in contour pixels (both 0 when the mapping has no positive size).
OPoint WindowToContour(const OContourViewState& state, const OViewMapping& mapping, OPoint window);
OPoint ContourToWindow(const OContourViewState& state, const OViewMapping& mapping, OPoint contour);
// The drawing area: x > 30, x < client right, y < client bottom - 20.
bool bInDrawingArea(OPoint window, int clientWidth, int clientHeight);
