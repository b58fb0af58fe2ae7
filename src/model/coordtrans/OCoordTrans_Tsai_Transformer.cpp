#include "model/coordtrans/OCoordTrans_Tsai_Transformer.h"

#include <cmath>

#include "model/coordtrans/OCoordTrans_Tsai_Calibrator.h"
#include "model/coordtrans/OCoordTrans_Tsai_Distortion.h"
#include "model/coordtrans/OCoordTrans_Tsai_Rotation.h"

namespace {

// A viewing ray whose z component is this small against its length counts as parallel
// to the world plane.
constexpr double kParallelTolerance = 1e-12;

bool bIsAcceptableUnit(std::string_view unit) {
    if (unit.size() > OCoordTrans_Tsai_Transformer::kMaxUnitBytes) return false;
    for (char c : unit) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) return false;
    }
    return true;
}

}  // namespace

void OCoordTrans_Tsai_Transformer::Reset() {
    *this = OCoordTrans_Tsai_Transformer();
}

int OCoordTrans_Tsai_Transformer::iSetCameraParameters(
    const OCoordTrans_Tsai_CameraParameters& camera) {
    if (!camera.bIsValid()) return 0;
    m_camera = camera;
    m_cameraParametersSet = 1;
    return 1;
}

int OCoordTrans_Tsai_Transformer::iSetCalibrationParameters(
    const OCoordTrans_Tsai_CalibrationParameters& calibration) {
    if (!calibration.bIsValid()) return 0;
    m_calibration = calibration;
    m_rotation =
        OCoordTrans_Tsai_Rotation::FromAngles(calibration.Rx, calibration.Ry, calibration.Rz);
    m_calibrationSet = 1;
    return 1;
}

OCoordTrans_Tsai_Parameters OCoordTrans_Tsai_Transformer::oGetParameters() const {
    OCoordTrans_Tsai_Parameters p;
    p.camera = m_camera;
    p.calibration = m_calibration;
    p.r = m_rotation;
    p.iCameraParametersSet = m_cameraParametersSet;
    p.iCalibrationSet = m_calibrationSet;
    return p;
}

int OCoordTrans_Tsai_Transformer::iSetParameters(const OCoordTrans_Tsai_Parameters& parameters) {
    if (!parameters.bIsConsistent()) return 0;
    m_camera = parameters.camera;
    m_calibration = parameters.calibration;
    m_rotation =
        OCoordTrans_Tsai_Rotation::FromAngles(m_calibration.Rx, m_calibration.Ry, m_calibration.Rz);
    m_cameraParametersSet = parameters.iCameraParametersSet;
    m_calibrationSet = parameters.iCalibrationSet;
    return 1;
}

int OCoordTrans_Tsai_Transformer::iSetUnit(std::string_view unit) {
    if (!bIsAcceptableUnit(unit)) return 0;
    m_unit = unit;
    return 1;
}

int OCoordTrans_Tsai_Transformer::iCalibrateCoplanar(const std::vector<CalibPoint>& points) {
    if (m_cameraParametersSet == 0 || points.size() > kMaxCalibrationPoints) return 0;
    OCoordTrans_Tsai_CalibrationParameters calibration;
    if (!OCoordTrans_Tsai_Calibrator::iCalibrateCoplanar(m_camera, points, calibration)) return 0;
    if (!iSetCalibrationParameters(calibration)) return 0;
    m_points = points;
    return 1;
}

int OCoordTrans_Tsai_Transformer::Image2World(double xi, double yi, double zw, double& xw,
                                              double& yw) const {
    if (!bIsSetUp() || !std::isfinite(xi) || !std::isfinite(yi) || !std::isfinite(zw)) return 0;
    const auto& c = m_camera;
    const auto& k = m_calibration;
    const auto& r = m_rotation;
    const double xd = c.dpx * (xi - c.Cx) / c.sx;
    const double yd = c.dpy * (yi - c.Cy);
    double xu = 0, yu = 0;
    if (!OCoordTrans_Tsai_Distortion::bUndistort(k.kappa1, xd, yd, xu, yu)) return 0;

    // The ray from the camera centre -R^T T in direction R^T (xu, yu, f).
    const double ox = -(r[0] * k.Tx + r[3] * k.Ty + r[6] * k.Tz);
    const double oy = -(r[1] * k.Tx + r[4] * k.Ty + r[7] * k.Tz);
    const double oz = -(r[2] * k.Tx + r[5] * k.Ty + r[8] * k.Tz);
    const double dx = r[0] * xu + r[3] * yu + r[6] * k.f;
    const double dy = r[1] * xu + r[4] * yu + r[7] * k.f;
    const double dz = r[2] * xu + r[5] * yu + r[8] * k.f;
    const double length = std::sqrt(dx * dx + dy * dy + dz * dz);
    if (!(std::fabs(dz) > kParallelTolerance * length)) return 0;
    const double t = (zw - oz) / dz;
    if (!(t > 0.0)) return 0;
    const double x = ox + t * dx;
    const double y = oy + t * dy;
    if (!std::isfinite(x) || !std::isfinite(y)) return 0;
    xw = x;
    yw = y;
    return 1;
}

int OCoordTrans_Tsai_Transformer::World2Image(double xw, double yw, double zw, double& xi,
                                              double& yi) const {
    if (!bIsSetUp() || !std::isfinite(xw) || !std::isfinite(yw) || !std::isfinite(zw)) return 0;
    const auto& c = m_camera;
    const auto& k = m_calibration;
    const auto& r = m_rotation;
    const double xc = r[0] * xw + r[1] * yw + r[2] * zw + k.Tx;
    const double yc = r[3] * xw + r[4] * yw + r[5] * zw + k.Ty;
    const double zc = r[6] * xw + r[7] * yw + r[8] * zw + k.Tz;
    if (!(zc > 0.0)) return 0;
    const double xu = k.f * xc / zc;
    const double yu = k.f * yc / zc;
    double xd = 0, yd = 0;
    if (!OCoordTrans_Tsai_Distortion::bDistort(k.kappa1, xu, yu, xd, yd)) return 0;
    const double x = c.sx * xd / c.dpx + c.Cx;
    const double y = yd / c.dpy + c.Cy;
    if (!std::isfinite(x) || !std::isfinite(y)) return 0;
    xi = x;
    yi = y;
    return 1;
}

bool OCoordTrans_Tsai_Transformer::bIsSameTransformation(
    const OCoordTrans_Tsai_Transformer& other) const {
    return m_cameraParametersSet == other.m_cameraParametersSet &&
           m_calibrationSet == other.m_calibrationSet && m_camera == other.m_camera &&
           m_calibration == other.m_calibration && m_unit == other.m_unit;
}

bool OCoordTrans_Tsai_Transformer::bIsValidState() const {
    OCoordTrans_Tsai_Parameters parameters = oGetParameters();
    if (!parameters.bIsConsistent() || !bIsAcceptableUnit(m_unit)) return false;
    if (m_points.size() > kMaxCalibrationPoints) return false;
    for (const auto& p : m_points) {
        if (!std::isfinite(p.imageX) || !std::isfinite(p.imageY) || !std::isfinite(p.worldX) ||
            !std::isfinite(p.worldY) || !std::isfinite(p.worldZ))
            return false;
    }
    return true;
}
