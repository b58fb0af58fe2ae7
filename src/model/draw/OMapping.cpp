#include "model/draw/OMapping.h"

#include <cmath>

namespace {

int Scale(int value, int numerator, int denominator) {
    if (denominator == 0) return 0;
    return static_cast<int>(std::llround(static_cast<double>(value) * numerator / denominator));
}

}  // namespace

OMapping OMapping::Fit(const ORect& logical, const ORect& target, bool yUp) {
    OMapping m;
    m.windowOrg = {logical.left, logical.top};
    m.windowExt = {logical.right - logical.left, logical.bottom - logical.top};
    if (m.windowExt.x == 0) m.windowExt.x = 1;
    if (m.windowExt.y == 0) m.windowExt.y = 1;
    const int height = target.bottom - target.top;
    m.viewportOrg = {target.left, yUp ? target.bottom : target.top};
    m.viewportExt = {target.right - target.left, yUp ? -height : height};
    return m;
}

bool OMapping::bIsIdentity() const {
    return windowOrg == viewportOrg && windowExt == viewportExt;
}

OPoint OMapping::ToBase(OPoint p) const {
    return {Scale(p.x - windowOrg.x, viewportExt.x, windowExt.x) + viewportOrg.x,
            Scale(p.y - windowOrg.y, viewportExt.y, windowExt.y) + viewportOrg.y};
}

OPoint OMapping::ToLogical(OPoint p) const {
    return {Scale(p.x - viewportOrg.x, windowExt.x, viewportExt.x) + windowOrg.x,
            Scale(p.y - viewportOrg.y, windowExt.y, viewportExt.y) + windowOrg.y};
}

double OMapping::dScaleX() const {
    return windowExt.x == 0 ? 0.0 : static_cast<double>(viewportExt.x) / windowExt.x;
}

double OMapping::dScaleY() const {
    return windowExt.y == 0 ? 0.0 : static_cast<double>(viewportExt.y) / windowExt.y;
}
