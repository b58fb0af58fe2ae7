// A mapping from logical units onto the painter's base units, written the way window and
// viewport are given for a drawing surface: a logical point p lands at
// viewportOrg + (p - windowOrg) * viewportExt / windowExt. A negative extent flips the axis
// (contour pixels count upwards, the screen counts downwards).
#pragma once

#include "model/draw/OGeometry.h"

struct OMapping {
    OPoint windowOrg{0, 0};
    OPoint windowExt{1, 1};
    OPoint viewportOrg{0, 0};
    OPoint viewportExt{1, 1};

    // One base unit per logical unit.
    static constexpr OMapping Identity() { return {}; }
    // `logical` (a rectangle of logical units, y counting upwards when `yUp`) stretched over
    // `target` (base units, y counting downwards).
    static OMapping Fit(const ORect& logical, const ORect& target, bool yUp);

    bool bIsIdentity() const;
    // Rounded to the nearest base unit.
    OPoint ToBase(OPoint logical) const;
    OPoint ToLogical(OPoint base) const;
    // Base units per logical unit in x and y (signed).
    double dScaleX() const;
    double dScaleY() const;
    bool operator==(const OMapping&) const = default;
};
