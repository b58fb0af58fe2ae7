// The state of the family-1 part contour view that the engine keeps (restored by ResetView).
// Window points are client pixels of the view; contour points are contour pixels.
#pragma once

#include "model/draw/OGeometry.h"

namespace ContourView {
inline constexpr int kScaleBandLeft = 30;    // pixels of the left scale band
inline constexpr int kScaleBandBottom = 20;  // pixels of the bottom scale band
inline constexpr int kMinPercent = 10;
inline constexpr int kMaxPercent = 1000;
inline constexpr double kMinZoom = 0.1;
inline constexpr double kMaxZoom = 10.0;
}  // namespace ContourView

struct OContourViewState {
    double zoom = 1.0;
    // 1 = magnifier mode; the wheel sets 2 (a one-shot re-centre); anything else is normal mode.
    int magnifierOn = 0;
    int magnifierPercent = 100;
    OPoint magnifierCentre{0, 0};
    bool magnifierCentrePending = false;
    // 2 isotropic, 1 anisotropic, 0 free anisotropic.
    int fitMode = 2;
    int windowLeft = 0;
    int windowTop = 400;
    int windowRight = 2048;
    int windowBottom = 0;
    OPoint scrollRange{2048, 4000};
    int measuring = 0;
    OPoint measureStart{0, 0};
    OPoint measureEnd{0, 0};
    int viewingAreaBarsShown = 0;
    int draggingLowerBar = 0;
    int draggingUpperBar = 0;
    ORect lowerBarRect{};
    ORect upperBarRect{};
    // Index of the selected tool, -1 when the selected feature is a basic feature.
    int selectedTool = -1;

    bool operator==(const OContourViewState&) const = default;
};
