#include "sim/ODeviceResultProvider.h"

#include "model/part/OType_Part.h"

ODeviceResult ODeviceResultProvider_Fixed::Evaluate(const OType_Part& /*part*/,
                                                    const std::optional<OSimPartSpec>& truth,
                                                    std::span<const uint8_t> /*program*/) {
    ODeviceResult r;
    if (truth) {
        r.type = truth->type;
        r.orientation = truth->orientation;
    }
    r.deviation = m_deviation;
    r.distance = 100 - m_deviation;
    r.inside = 1;
    return r;
}

void ApplyDeviceResult(const ODeviceResult& r, OType_Part& part) {
    part.SetType(r.type);
    part.SetOrientation(r.orientation);
    part.SetResultValue(0, r.deviation);
    part.SetResultValue(1, r.distance);
    part.SetResultValue(2, r.inside);
    part.SetTolerance(r.tolerance);
    if (r.features) part.Features() = *r.features;
}
