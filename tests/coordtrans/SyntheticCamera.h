// A camera with known Tsai parameters and the test's own projection formulas, written
// independently of the transformer: the rotation is the product of three elementary
// rotations, distortion is inverted by bisection, and back-projection onto a plane
// solves the two projection equations by Cramer's rule.
#pragma once

#include <array>
#include <cmath>

#include "model/coordtrans/OCoordTrans_Tsai_Parameters.h"

struct SyntheticCamera {
    OCoordTrans_Tsai_CameraParameters camera;
    OCoordTrans_Tsai_CalibrationParameters truth;

    using Mat3 = std::array<std::array<double, 3>, 3>;

    static Mat3 Multiply(const Mat3& a, const Mat3& b) {
        Mat3 c{};
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                for (int k = 0; k < 3; ++k)
                    c[i][j] += a[i][k] * b[k][j];
        return c;
    }

    Mat3 Rotation() const {
        const double a = truth.Rx, b = truth.Ry, c = truth.Rz;
        const Mat3 rx{{{1, 0, 0}, {0, std::cos(a), -std::sin(a)}, {0, std::sin(a), std::cos(a)}}};
        const Mat3 ry{{{std::cos(b), 0, std::sin(b)}, {0, 1, 0}, {-std::sin(b), 0, std::cos(b)}}};
        const Mat3 rz{{{std::cos(c), -std::sin(c), 0}, {std::sin(c), std::cos(c), 0}, {0, 0, 1}}};
        return Multiply(rz, Multiply(ry, rx));
    }

    std::array<double, 3> ToCamera(double xw, double yw, double zw) const {
        const Mat3 r = Rotation();
        const double p[3] = {xw, yw, zw};
        const double t[3] = {truth.Tx, truth.Ty, truth.Tz};
        std::array<double, 3> c{};
        for (int i = 0; i < 3; ++i)
            c[i] = r[i][0] * p[0] + r[i][1] * p[1] + r[i][2] * p[2] + t[i];
        return c;
    }

    // Distorted radius for an undistorted one, by bisection on the rising branch.
    double DistortedRadius(double ru) const {
        const double k = truth.kappa1;
        double lo = 0, hi = ru;
        if (k < 0) {
            lo = ru;
            hi = 1.0 / std::sqrt(-3.0 * k);
        }
        for (int i = 0; i < 300; ++i) {
            const double mid = 0.5 * (lo + hi);
            if (mid * (1 + k * mid * mid) < ru) {
                lo = mid;
            } else {
                hi = mid;
            }
        }
        return 0.5 * (lo + hi);
    }

    // World -> pixel with distortion.
    void Project(double xw, double yw, double zw, double& xi, double& yi) const {
        const auto c = ToCamera(xw, yw, zw);
        const double xu = truth.f * c[0] / c[2];
        const double yu = truth.f * c[1] / c[2];
        const double ru = std::hypot(xu, yu);
        const double scale = ru > 0 ? DistortedRadius(ru) / ru : 1.0;
        xi = camera.sx * xu * scale / camera.dpx + camera.Cx;
        yi = yu * scale / camera.dpy + camera.Cy;
    }

    // Pixel -> world on z = zw: xu * zc = f * xc and yu * zc = f * yc are linear in xw, yw.
    void BackProject(double xi, double yi, double zw, double& xw, double& yw) const {
        const double xd = (xi - camera.Cx) * camera.dpx / camera.sx;
        const double yd = (yi - camera.Cy) * camera.dpy;
        const double factor = 1 + truth.kappa1 * (xd * xd + yd * yd);
        const double xu = xd * factor, yu = yd * factor;
        const Mat3 r = Rotation();
        const double f = truth.f;
        const double a11 = xu * r[2][0] - f * r[0][0], a12 = xu * r[2][1] - f * r[0][1];
        const double a21 = yu * r[2][0] - f * r[1][0], a22 = yu * r[2][1] - f * r[1][1];
        const double b1 = f * (r[0][2] * zw + truth.Tx) - xu * (r[2][2] * zw + truth.Tz);
        const double b2 = f * (r[1][2] * zw + truth.Ty) - yu * (r[2][2] * zw + truth.Tz);
        const double det = a11 * a22 - a12 * a21;
        xw = (b1 * a22 - a12 * b2) / det;
        yw = (a11 * b2 - b1 * a21) / det;
    }
};

// A 1280 x 1024 camera with 4.8 um pixels, 12 mm lens, about half a metre above a plane
// tilted by roughly 30 degrees.
inline SyntheticCamera MakeTiltedCamera(double kappa1) {
    SyntheticCamera cam;
    cam.camera.Ncx = 1280;
    cam.camera.Nfx = 1280;
    cam.camera.dx = 0.0048;
    cam.camera.dy = 0.0048;
    cam.camera.dpx = 0.0048;
    cam.camera.dpy = 0.0048;
    cam.camera.Cx = 640.5;
    cam.camera.Cy = 511.25;
    cam.camera.sx = 1.0;
    cam.truth.f = 12.0;
    cam.truth.kappa1 = kappa1;
    cam.truth.Tx = -20.0;
    cam.truth.Ty = 15.0;
    cam.truth.Tz = 480.0;
    cam.truth.Rx = 0.5;
    cam.truth.Ry = -0.15;
    cam.truth.Rz = 0.3;
    return cam;
}
