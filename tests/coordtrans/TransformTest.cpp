#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "coordtrans/SyntheticCamera.h"
#include "model/coordtrans/OCoordTrans_Tsai_Distortion.h"
#include "model/coordtrans/OCoordTrans_Tsai_Transformer.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

OCoordTrans_Tsai_Transformer MakeTransformer(const SyntheticCamera& cam) {
    OCoordTrans_Tsai_Transformer t;
    EXPECT_EQ(t.iSetCameraParameters(cam.camera), 1);
    EXPECT_EQ(t.iSetCalibrationParameters(cam.truth), 1);
    return t;
}

// Camera looking straight down the world z axis from 100 units, 10-unit lens,
// 0.01-unit pixels, image centre at pixel (0, 0).
SyntheticCamera MakeAxisCamera(double kappa1) {
    SyntheticCamera cam;
    cam.camera = OCoordTrans_Tsai_CameraParameters::FromSensor(1000, 1000, 0.01, 0.01, 0, 0, 1);
    cam.truth.f = 10;
    cam.truth.kappa1 = kappa1;
    cam.truth.Tz = 100;
    return cam;
}

TEST(TsaiTransform, HandComputedPinholeCase) {
    const auto t = MakeTransformer(MakeAxisCamera(0.0));
    double xw = 0, yw = 0;
    // Pixel (100, 50) is the sensor point (1, 0.5); the plane z = 0 lies 100 away: x 10x.
    ASSERT_EQ(t.Image2World(100, 50, 0, xw, yw), 1);
    EXPECT_NEAR(xw, 10.0, 1e-12);
    EXPECT_NEAR(yw, 5.0, 1e-12);
    // z = -50 is 50 units towards the camera: half the magnification.
    ASSERT_EQ(t.Image2World(100, 50, -50, xw, yw), 1);
    EXPECT_NEAR(xw, 5.0, 1e-12);
    EXPECT_NEAR(yw, 2.5, 1e-12);
    double xi = 0, yi = 0;
    ASSERT_EQ(t.World2Image(10, 5, 0, xi, yi), 1);
    EXPECT_NEAR(xi, 100.0, 1e-9);
    EXPECT_NEAR(yi, 50.0, 1e-9);
}

TEST(TsaiTransform, HandComputedDistortionCase) {
    const auto t = MakeTransformer(MakeAxisCamera(0.01));
    double xw = 0, yw = 0;
    // r^2 = 1.25, factor 1.0125: undistorted (1.0125, 0.50625), magnified 10x.
    ASSERT_EQ(t.Image2World(100, 50, 0, xw, yw), 1);
    EXPECT_NEAR(xw, 10.125, 1e-12);
    EXPECT_NEAR(yw, 5.0625, 1e-12);
    double xi = 0, yi = 0;
    ASSERT_EQ(t.World2Image(10.125, 5.0625, 0, xi, yi), 1);
    EXPECT_NEAR(xi, 100.0, 1e-9);
    EXPECT_NEAR(yi, 50.0, 1e-9);
}

class TsaiRoundTrip : public ::testing::TestWithParam<double> {};

TEST_P(TsaiRoundTrip, WorldImageWorldOverGridAndPlanes) {
    const SyntheticCamera cam = MakeTiltedCamera(GetParam());
    const auto t = MakeTransformer(cam);
    const double kappa = cam.truth.kappa1;
    int checked = 0, unreachable = 0;
    for (double zw : {0.0, -25.0, -80.0, 40.0}) {
        for (double xw = -60; xw <= 60; xw += 10) {
            for (double yw = -60; yw <= 60; yw += 10) {
                double xi = 0, yi = 0, ex = 0, ey = 0;
                // A negative kappa1 reaches undistorted radii below (2/3) / sqrt(-3 kappa1) only.
                const auto c = cam.ToCamera(xw, yw, zw);
                const double ru = cam.truth.f * std::hypot(c[0], c[1]) / c[2];
                if (kappa < 0 && ru >= (2.0 / 3.0) / std::sqrt(-3 * kappa)) {
                    EXPECT_EQ(t.World2Image(xw, yw, zw, xi, yi), 0);
                    ++unreachable;
                    continue;
                }
                ASSERT_EQ(t.World2Image(xw, yw, zw, xi, yi), 1) << xw << " " << yw << " " << zw;
                cam.Project(xw, yw, zw, ex, ey);
                EXPECT_NEAR(xi, ex, 1e-7);
                EXPECT_NEAR(yi, ey, 1e-7);
                double bx = 0, by = 0;
                ASSERT_EQ(t.Image2World(xi, yi, zw, bx, by), 1);
                EXPECT_NEAR(bx, xw, 1e-6);
                EXPECT_NEAR(by, yw, 1e-6);
                ++checked;
            }
        }
    }
    EXPECT_EQ(checked + unreachable, 4 * 13 * 13);
    EXPECT_GT(checked, 4 * 13 * 13 * 9 / 10);
}

TEST_P(TsaiRoundTrip, ImageToWorldMatchesIndependentBackProjection) {
    const SyntheticCamera cam = MakeTiltedCamera(GetParam());
    const auto t = MakeTransformer(cam);
    for (double zw : {0.0, -30.0}) {
        for (double xi = 0; xi <= 1280; xi += 160) {
            for (double yi = 0; yi <= 1024; yi += 128) {
                double xw = 0, yw = 0, ex = 0, ey = 0;
                ASSERT_EQ(t.Image2World(xi, yi, zw, xw, yw), 1);
                cam.BackProject(xi, yi, zw, ex, ey);
                EXPECT_NEAR(xw, ex, 1e-8);
                EXPECT_NEAR(yw, ey, 1e-8);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Kappa, TsaiRoundTrip, ::testing::Values(0.0, 4e-3, -4e-3, 2e-2, -1.5e-2));

TEST(TsaiTransform, ScaleFactorAndPitchAreApplied) {
    SyntheticCamera cam = MakeTiltedCamera(3e-3);
    cam.camera =
        OCoordTrans_Tsai_CameraParameters::FromSensor(1280, 1024, 0.0048, 0.0051, 512, 500, 1.02);
    EXPECT_DOUBLE_EQ(cam.camera.dpx, 0.0048 * 1280 / 1024);
    const auto t = MakeTransformer(cam);
    double xi = 0, yi = 0, ex = 0, ey = 0;
    ASSERT_EQ(t.World2Image(12, -7, -5, xi, yi), 1);
    cam.Project(12, -7, -5, ex, ey);
    EXPECT_NEAR(xi, ex, 1e-7);
    EXPECT_NEAR(yi, ey, 1e-7);
}

TEST(TsaiTransform, RefusesWhenNotSetUp) {
    const SyntheticCamera cam = MakeTiltedCamera(0.0);
    OCoordTrans_Tsai_Transformer empty;
    OCoordTrans_Tsai_Transformer cameraOnly;
    cameraOnly.iSetCameraParameters(cam.camera);
    OCoordTrans_Tsai_Transformer calibrationOnly;
    calibrationOnly.iSetCalibrationParameters(cam.truth);
    for (const auto* t : {&empty, &cameraOnly, &calibrationOnly}) {
        EXPECT_FALSE(t->bIsSetUp());
        double a = 7, b = 8;
        EXPECT_EQ(t->Image2World(100, 100, 0, a, b), 0);
        EXPECT_EQ(t->World2Image(1, 1, 0, a, b), 0);
        EXPECT_EQ(a, 7);  // outputs untouched
        EXPECT_EQ(b, 8);
    }
    EXPECT_TRUE(MakeTransformer(cam).bIsSetUp());
}

TEST(TsaiTransform, RejectsInvalidParameters) {
    OCoordTrans_Tsai_Transformer t;
    auto camera = MakeTiltedCamera(0).camera;
    camera.dpx = 0;
    EXPECT_EQ(t.iSetCameraParameters(camera), 0);
    camera.dpx = kNaN;
    EXPECT_EQ(t.iSetCameraParameters(camera), 0);
    camera = MakeTiltedCamera(0).camera;
    camera.sx = -1;
    EXPECT_EQ(t.iSetCameraParameters(camera), 0);
    auto calibration = MakeTiltedCamera(0).truth;
    calibration.f = 0;
    EXPECT_EQ(t.iSetCalibrationParameters(calibration), 0);
    calibration.f = 12;
    calibration.Tz = kInf;
    EXPECT_EQ(t.iSetCalibrationParameters(calibration), 0);
    EXPECT_EQ(t.iGetCameraParametersSet(), 0);
    EXPECT_EQ(t.iGetCalibrationSet(), 0);
}

TEST(TsaiTransform, NonFiniteInputsFail) {
    const auto t = MakeTransformer(MakeTiltedCamera(4e-3));
    double a = 0, b = 0;
    for (double bad : {kNaN, kInf, -kInf}) {
        EXPECT_EQ(t.Image2World(bad, 10, 0, a, b), 0);
        EXPECT_EQ(t.Image2World(10, bad, 0, a, b), 0);
        EXPECT_EQ(t.Image2World(10, 10, bad, a, b), 0);
        EXPECT_EQ(t.World2Image(bad, 10, 0, a, b), 0);
        EXPECT_EQ(t.World2Image(10, bad, 0, a, b), 0);
        EXPECT_EQ(t.World2Image(10, 10, bad, a, b), 0);
    }
}

TEST(TsaiTransform, ExtremeInputsNeverYieldNaN) {
    for (double kappa : {0.0, 4e-3, -4e-3}) {
        const auto t = MakeTransformer(MakeTiltedCamera(kappa));
        for (double v : {1e300, -1e300, 1e150, 1e20, -1e20, 5e-324}) {
            double a = 0, b = 0;
            if (t.Image2World(v, -v, 0, a, b)) {
                EXPECT_TRUE(std::isfinite(a) && std::isfinite(b)) << v;
            }
            if (t.World2Image(v, v, -v, a, b)) {
                EXPECT_TRUE(std::isfinite(a) && std::isfinite(b)) << v;
            }
        }
    }
}

TEST(TsaiTransform, PointsAtOrBehindTheCameraFail) {
    const auto t = MakeTransformer(MakeAxisCamera(0.0));  // camera centre at world z = -100
    double a = 0, b = 0;
    EXPECT_EQ(t.World2Image(0, 0, -100, a, b), 0);  // in the camera centre's plane
    EXPECT_EQ(t.World2Image(3, 4, -150, a, b), 0);  // behind
    EXPECT_EQ(t.World2Image(3, 4, -99, a, b), 1);
    EXPECT_EQ(t.Image2World(10, 10, -100, a, b), 0);
    EXPECT_EQ(t.Image2World(10, 10, -200, a, b), 0);  // the plane lies behind the camera
}

TEST(TsaiTransform, RayParallelToThePlaneFails) {
    SyntheticCamera cam = MakeAxisCamera(0.0);
    cam.truth.Rx = std::acos(0.0);  // optical axis turned into the plane z = const
    const auto t = MakeTransformer(cam);
    // The camera centre now lies in the plane z = 0; look at the plane z = 50 instead.
    double a = 0, b = 0;
    EXPECT_EQ(t.Image2World(0, 0, 50, a, b), 0);
    // Rays well off the centre row meet it, on one side in front of the camera.
    EXPECT_EQ(t.Image2World(0, 300, 50, a, b) + t.Image2World(0, -300, 50, a, b), 1);
}

TEST(TsaiTransform, NegativeKappaOutsideTheInvertibleRegionFails) {
    // kappa1 = -0.01: the distortion folds back at r = 1/sqrt(0.03) = 5.77 (577 pixels).
    const auto t = MakeTransformer(MakeAxisCamera(-0.01));
    double a = 0, b = 0;
    EXPECT_EQ(t.Image2World(570, 0, 0, a, b), 1);
    EXPECT_EQ(t.Image2World(580, 0, 0, a, b), 0);
    // The largest reachable undistorted radius is 2/3 * 5.77 = 3.85, i.e. world 38.5 on z = 0.
    EXPECT_EQ(t.World2Image(38.4, 0, 0, a, b), 1);
    EXPECT_EQ(t.World2Image(38.6, 0, 0, a, b), 0);
}

TEST(TsaiDistortion, DistortIsTheInverseOfUndistort) {
    for (double kappa : {0.0, 1e-6, 0.01, 1.0, 1e6, -1e-6, -0.01}) {
        for (double xd : {0.0, 0.3, -1.2, 2.5}) {
            for (double yd : {0.0, 0.7, -2.0}) {
                double xu = 0, yu = 0;
                if (!OCoordTrans_Tsai_Distortion::bUndistort(kappa, xd, yd, xu, yu)) {
                    EXPECT_LE(1 + 3 * kappa * (xd * xd + yd * yd), 0.0);
                    continue;
                }
                double x = 0, y = 0;
                ASSERT_TRUE(OCoordTrans_Tsai_Distortion::bDistort(kappa, xu, yu, x, y));
                EXPECT_NEAR(x, xd, 1e-12 * (1 + std::fabs(xd)));
                EXPECT_NEAR(y, yd, 1e-12 * (1 + std::fabs(yd)));
            }
        }
    }
}

TEST(TsaiTransform, UnitLabel) {
    OCoordTrans_Tsai_Transformer t;
    EXPECT_EQ(t.strGetUnit(), "mm");
    EXPECT_EQ(t.strGetUnitLabel(), "[mm]");
    EXPECT_EQ(t.iSetUnit("inch"), 1);
    EXPECT_EQ(t.strGetUnitLabel(), "[inch]");
    EXPECT_EQ(t.iSetUnit("a\nb"), 0);
    EXPECT_EQ(t.iSetUnit(std::string(65, 'm')), 0);
    EXPECT_EQ(t.strGetUnit(), "inch");
}

}  // namespace
