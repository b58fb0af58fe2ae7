#include "model/coordtrans/OCoordTrans_Tsai_Parameters.h"

#include <cmath>
#include <limits>

#include "model/coordtrans/OCoordTrans_Tsai_Rotation.h"
#include "model/stream/OByteStream.h"

namespace {

bool AllFinite(std::span<const double> values) {
    for (double v : values) {
        if (!std::isfinite(v)) return false;
    }
    return true;
}

bool ToIndicator(double value, int32_t& indicator) {
    if (!std::isfinite(value) || value != std::trunc(value)) return false;
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
        return false;
    indicator = static_cast<int32_t>(value);
    return true;
}

}  // namespace

OCoordTrans_Tsai_CameraParameters OCoordTrans_Tsai_CameraParameters::FromSensor(
    double Ncx, double Nfx, double dx, double dy, double Cx, double Cy, double sx) {
    OCoordTrans_Tsai_CameraParameters p;
    p.Ncx = Ncx;
    p.Nfx = Nfx;
    p.dx = dx;
    p.dy = dy;
    p.dpx = Nfx != 0 ? dx * Ncx / Nfx : 0.0;
    p.dpy = dy;
    p.Cx = Cx;
    p.Cy = Cy;
    p.sx = sx;
    return p;
}

bool OCoordTrans_Tsai_CameraParameters::bIsValid() const {
    const double all[] = {Ncx, Nfx, dx, dy, dpx, dpy, Cx, Cy, sx};
    return AllFinite(all) && Ncx > 0 && Nfx > 0 && dx > 0 && dy > 0 && dpx > 0 && dpy > 0 && sx > 0;
}

bool OCoordTrans_Tsai_CalibrationParameters::bIsValid() const {
    const double all[] = {f, kappa1, Tx, Ty, Tz, Rx, Ry, Rz};
    return AllFinite(all) && f > 0;
}

std::array<double, OCoordTrans_Tsai_Parameters::kCount> OCoordTrans_Tsai_Parameters::ToDoubles()
    const {
    const auto& c = camera;
    const auto& k = calibration;
    // clang-format off
    return {c.Ncx, c.Nfx, c.dx, c.dy, c.dpx, c.dpy, c.Cx, c.Cy, c.sx,
            k.f, k.kappa1, k.Tx, k.Ty, k.Tz, k.Rx, k.Ry, k.Rz,
            r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7], r[8],
            static_cast<double>(iCameraParametersSet), static_cast<double>(iCalibrationSet)};
    // clang-format on
}

int OCoordTrans_Tsai_Parameters::iFromDoubles(std::span<const double> v,
                                              OCoordTrans_Tsai_Parameters& out) {
    if (v.size() != kCount) return 0;
    OCoordTrans_Tsai_Parameters p;
    if (!ToIndicator(v[26], p.iCameraParametersSet) || !ToIndicator(v[27], p.iCalibrationSet))
        return 0;
    p.camera = {v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]};
    p.calibration = {v[9], v[10], v[11], v[12], v[13], v[14], v[15], v[16]};
    for (size_t i = 0; i < 9; ++i)
        p.r[i] = v[17 + i];
    out = p;
    return 1;
}

bool OCoordTrans_Tsai_Parameters::bIsConsistent() const {
    if (!AllFinite(ToDoubles())) return false;
    if (iCameraParametersSet != 0 && !camera.bIsValid()) return false;
    if (iCalibrationSet != 0) {
        if (!calibration.bIsValid()) return false;
        const auto expected =
            OCoordTrans_Tsai_Rotation::FromAngles(calibration.Rx, calibration.Ry, calibration.Rz);
        for (size_t i = 0; i < 9; ++i) {
            if (std::fabs(expected[i] - r[i]) > kRotationTolerance) return false;
        }
    }
    return true;
}

bool OCoordTrans_Tsai_Parameters::bWrite(OByteStream& stream) const {
    for (double v : ToDoubles())
        stream.bWriteDouble(v);
    return stream.bIsOk();
}

bool OCoordTrans_Tsai_Parameters::bRead(OByteStream& stream) {
    std::array<double, kCount> values{};
    for (double& v : values)
        stream.bReadDouble(v);
    if (!stream.bIsOk()) return false;
    if (!iFromDoubles(values, *this)) return stream.Fail();
    return true;
}
