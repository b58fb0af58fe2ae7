#include "model/coordtrans/OCoordTrans_Tsai_Calibrator.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "model/coordtrans/OCoordTrans_SmallSvd.h"
#include "model/coordtrans/OCoordTrans_Tsai_Distortion.h"
#include "model/coordtrans/OCoordTrans_Tsai_Rotation.h"

namespace {

// Below this relative singular value a linear system counts as rank-deficient.
constexpr double kRankTolerance = 1e-9;
// f and Tz separate only through the perspective of a tilted plane; with the plane's
// normal within this sine of the optical axis they are taken as undetermined.
constexpr double kMinTiltSine = 1e-3;
constexpr int kMaxRefineIterations = 200;
constexpr double kMaxDamping = 1e12;

struct SensorPoint {
    double xd = 0;  // distorted sensor coordinates
    double yd = 0;
    double xw = 0;
    double yw = 0;
};

struct Pose {
    OCoordTrans_Tsai_Rotation::Matrix r{};
    double Tx = 0;
    double Ty = 0;
};

struct FocalFit {
    double f = 0;
    double Tz = 0;
    double kappa1 = 0;
};

bool ToSensorPoints(const OCoordTrans_Tsai_CameraParameters& camera,
                    std::span<const OCoordTrans_CalibPoint> points, std::vector<SensorPoint>& out) {
    out.clear();
    for (const auto& p : points) {
        if (!std::isfinite(p.imageX) || !std::isfinite(p.imageY) || !std::isfinite(p.worldX) ||
            !std::isfinite(p.worldY) || p.worldZ != 0.0)
            return false;
        out.push_back({camera.dpx * (p.imageX - camera.Cx) / camera.sx,
                       camera.dpy * (p.imageY - camera.Cy), p.worldX, p.worldY});
    }
    return true;
}

// Xd * yc - Yd * xc = 0 for every point, with xc = r1 xw + r2 yw + Tx, yc = r4 xw + r5 yw + Ty.
bool SolveRadialAlignment(const std::vector<SensorPoint>& pts, Pose& pose) {
    std::vector<double> a;
    a.reserve(pts.size() * 6);
    for (const auto& p : pts) {
        a.insert(a.end(), {-p.yd * p.xw, -p.yd * p.yw, -p.yd, p.xd * p.xw, p.xd * p.yw, p.xd});
    }
    OCoordTrans_SmallSvd svd;
    double v[6];
    if (!svd.bCompute(a, pts.size(), 6) || !svd.bNullVector(kRankTolerance, v)) return false;

    // The upper-left 2x2 block of a rotation matrix has largest singular value 1.
    const double sr = v[0] * v[0] + v[1] * v[1] + v[3] * v[3] + v[4] * v[4];
    const double det = v[0] * v[4] - v[1] * v[3];
    const double largest =
        std::sqrt(0.5 * (sr + std::sqrt(std::max(0.0, sr * sr - 4 * det * det))));
    if (!(largest > 1e-12)) return false;
    for (double& x : v)
        x /= largest;

    double side = 0.0;
    for (const auto& p : pts) {
        const double xc = v[0] * p.xw + v[1] * p.yw + v[2];
        const double yc = v[3] * p.xw + v[4] * p.yw + v[5];
        side += xc * p.xd + yc * p.yd;
    }
    if (side == 0.0 || !std::isfinite(side)) return false;
    if (side < 0.0) {
        for (double& x : v)
            x = -x;
    }
    pose.r = {v[0], v[1], 0, v[3], v[4], 0, 0, 0, 0};
    pose.Tx = v[2];
    pose.Ty = v[5];
    return true;
}

// Completes R from its upper-left block; `mirrored` picks the other sign of r3 and r6.
// The result is rebuilt from its Euler angles, so it is exactly orthonormal.
void CompleteRotation(Pose& pose, bool mirrored) {
    auto& r = pose.r;
    r[2] = std::sqrt(std::max(0.0, 1.0 - r[0] * r[0] - r[1] * r[1]));
    r[5] = std::sqrt(std::max(0.0, 1.0 - r[3] * r[3] - r[4] * r[4]));
    if (r[0] * r[3] + r[1] * r[4] > 0.0) r[5] = -r[5];
    if (mirrored) {
        r[2] = -r[2];
        r[5] = -r[5];
    }
    r[6] = r[1] * r[5] - r[2] * r[4];
    r[7] = r[2] * r[3] - r[0] * r[5];
    r[8] = r[0] * r[4] - r[1] * r[3];
    const auto angles = OCoordTrans_Tsai_Rotation::ToAngles(r);
    r = OCoordTrans_Tsai_Rotation::FromAngles(angles.Rx, angles.Ry, angles.Rz);
}

// Without distortion Xd * (wc + Tz) = f * xc (and likewise for y), linear in f and Tz.
bool EstimateFocalAndTz(const std::vector<SensorPoint>& pts, const Pose& pose, FocalFit& fit) {
    const auto& r = pose.r;
    std::vector<double> a;
    std::vector<double> b;
    for (const auto& p : pts) {
        const double xc = r[0] * p.xw + r[1] * p.yw + pose.Tx;
        const double yc = r[3] * p.xw + r[4] * p.yw + pose.Ty;
        const double wc = r[6] * p.xw + r[7] * p.yw;
        a.insert(a.end(), {xc, -p.xd, yc, -p.yd});
        b.insert(b.end(), {wc * p.xd, wc * p.yd});
    }
    OCoordTrans_SmallSvd svd;
    double x[2];
    if (!svd.bCompute(a, b.size(), 2) || !svd.bSolveLeastSquares(b, kRankTolerance, x))
        return false;
    fit = {x[0], x[1], 0.0};
    return true;
}

class FocalRefinement {
  public:
    FocalRefinement(const std::vector<SensorPoint>& pts, const Pose& pose) {
        const auto& r = pose.r;
        for (const auto& p : pts) {
            m_terms.push_back({p.xd, p.yd, p.xd * p.xd + p.yd * p.yd,
                               r[0] * p.xw + r[1] * p.yw + pose.Tx,
                               r[3] * p.xw + r[4] * p.yw + pose.Ty, r[6] * p.xw + r[7] * p.yw});
        }
    }

    // Levenberg-Marquardt with Marquardt's scaling; each step solves the damped system
    // as an augmented least-squares problem.
    bool bRefine(FocalFit& fit) const {
        double cost = dCost(fit);
        if (!std::isfinite(cost)) return false;
        double damping = 1e-3;
        for (int iteration = 0; iteration < kMaxRefineIterations && cost > 0.0; ++iteration) {
            std::vector<double> jacobian;
            std::vector<double> residuals;
            Linearise(fit, jacobian, residuals);
            double scale[3];
            ColumnNorms(jacobian, scale);
            bool accepted = false;
            while (!accepted && damping <= kMaxDamping) {
                FocalFit trial;
                if (bStep(fit, jacobian, residuals, scale, damping, trial)) {
                    const double trialCost = dCost(trial);
                    if (trialCost < cost) {
                        const bool converged = cost - trialCost <= 1e-14 * cost;
                        fit = trial;
                        cost = trialCost;
                        damping = std::max(damping * 0.1, 1e-12);
                        accepted = true;
                        if (converged) return true;
                        break;
                    }
                }
                damping *= 10.0;
            }
            if (!accepted) break;
        }
        return true;
    }

  private:
    struct Term {
        double xd, yd, r2, xc, yc, wc;
    };

    double dCost(const FocalFit& fit) const {
        double cost = 0.0;
        for (const auto& t : m_terms) {
            const double zc = t.wc + fit.Tz;
            if (!(zc > 0.0)) return std::numeric_limits<double>::infinity();
            const double factor = 1.0 + fit.kappa1 * t.r2;
            const double ex = t.xd * factor - fit.f * t.xc / zc;
            const double ey = t.yd * factor - fit.f * t.yc / zc;
            cost += ex * ex + ey * ey;
        }
        return std::isfinite(cost) ? cost : std::numeric_limits<double>::infinity();
    }

    void Linearise(const FocalFit& fit, std::vector<double>& jacobian,
                   std::vector<double>& residuals) const {
        for (const auto& t : m_terms) {
            const double zc = t.wc + fit.Tz;
            const double factor = 1.0 + fit.kappa1 * t.r2;
            residuals.push_back(t.xd * factor - fit.f * t.xc / zc);
            residuals.push_back(t.yd * factor - fit.f * t.yc / zc);
            jacobian.insert(jacobian.end(), {-t.xc / zc, fit.f * t.xc / (zc * zc), t.xd * t.r2});
            jacobian.insert(jacobian.end(), {-t.yc / zc, fit.f * t.yc / (zc * zc), t.yd * t.r2});
        }
    }

    static void ColumnNorms(const std::vector<double>& jacobian, double scale[3]) {
        for (int j = 0; j < 3; ++j) {
            double norm2 = 0.0;
            for (size_t i = j; i < jacobian.size(); i += 3)
                norm2 += jacobian[i] * jacobian[i];
            scale[j] = norm2 > 0.0 ? std::sqrt(norm2) : 1.0;
        }
    }

    // Solves min |J d + e|^2 + damping * |D d|^2 and returns fit + d.
    static bool bStep(const FocalFit& fit, const std::vector<double>& jacobian,
                      const std::vector<double>& residuals, const double scale[3], double damping,
                      FocalFit& trial) {
        std::vector<double> a = jacobian;
        std::vector<double> b;
        b.reserve(residuals.size() + 3);
        for (double e : residuals)
            b.push_back(-e);
        const double root = std::sqrt(damping);
        for (int j = 0; j < 3; ++j) {
            for (int k = 0; k < 3; ++k)
                a.push_back(j == k ? root * scale[j] : 0.0);
            b.push_back(0.0);
        }
        OCoordTrans_SmallSvd svd;
        double d[3];
        if (!svd.bCompute(a, b.size(), 3) || !svd.bSolveLeastSquares(b, 1e-15, d)) return false;
        trial = {fit.f + d[0], fit.Tz + d[1], fit.kappa1 + d[2]};
        return true;
    }

    std::vector<Term> m_terms;
};

bool bIsPlausible(const std::vector<SensorPoint>& pts, const Pose& pose, const FocalFit& fit) {
    if (!(fit.f > 0.0) || !std::isfinite(fit.f) || !std::isfinite(fit.Tz) ||
        !std::isfinite(fit.kappa1))
        return false;
    for (const auto& p : pts) {
        if (!(pose.r[6] * p.xw + pose.r[7] * p.yw + fit.Tz > 0.0)) return false;
        if (!OCoordTrans_Tsai_Distortion::bIsInvertible(fit.kappa1, p.xd * p.xd + p.yd * p.yd))
            return false;
    }
    return true;
}

}  // namespace

int OCoordTrans_Tsai_Calibrator::iCalibrateCoplanar(
    const OCoordTrans_Tsai_CameraParameters& camera, std::span<const OCoordTrans_CalibPoint> points,
    OCoordTrans_Tsai_CalibrationParameters& result) {
    if (!camera.bIsValid() || points.size() < kMinPoints || points.size() > kMaxPoints) return 0;
    std::vector<SensorPoint> pts;
    if (!ToSensorPoints(camera, points, pts)) return 0;

    Pose linear;
    if (!SolveRadialAlignment(pts, linear)) return 0;
    Pose pose = linear;
    CompleteRotation(pose, false);
    if (std::hypot(pose.r[6], pose.r[7]) < kMinTiltSine) return 0;
    FocalFit fit;
    if (!EstimateFocalAndTz(pts, pose, fit)) return 0;
    if (fit.f < 0.0) {
        pose = linear;
        CompleteRotation(pose, true);
        if (!EstimateFocalAndTz(pts, pose, fit)) return 0;
    }
    if (!bIsPlausible(pts, pose, fit)) return 0;

    FocalRefinement refinement(pts, pose);
    if (!refinement.bRefine(fit) || !bIsPlausible(pts, pose, fit)) return 0;

    const auto angles = OCoordTrans_Tsai_Rotation::ToAngles(pose.r);
    OCoordTrans_Tsai_CalibrationParameters calibration;
    calibration.f = fit.f;
    calibration.kappa1 = fit.kappa1;
    calibration.Tx = pose.Tx;
    calibration.Ty = pose.Ty;
    calibration.Tz = fit.Tz;
    calibration.Rx = angles.Rx;
    calibration.Ry = angles.Ry;
    calibration.Rz = angles.Rz;
    if (!calibration.bIsValid()) return 0;
    result = calibration;
    return 1;
}
