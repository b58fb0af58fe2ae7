#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "coordtrans/SyntheticCamera.h"
#include "model/coordtrans/OCoordTrans_Tsai_Transformer.h"

namespace {

using CalibPoint = OCoordTrans_Tsai_Transformer::CalibPoint;

std::vector<CalibPoint> GridPoints(const SyntheticCamera& cam, double step = 15, double half = 60) {
    std::vector<CalibPoint> points;
    for (double xw = -half; xw <= half; xw += step) {
        for (double yw = -half; yw <= half; yw += step) {
            CalibPoint p;
            p.worldX = xw;
            p.worldY = yw;
            cam.Project(xw, yw, 0, p.imageX, p.imageY);
            points.push_back(p);
        }
    }
    return points;
}

OCoordTrans_Tsai_Transformer CameraOnly(const SyntheticCamera& cam) {
    OCoordTrans_Tsai_Transformer t;
    EXPECT_EQ(t.iSetCameraParameters(cam.camera), 1);
    return t;
}

void ExpectRecovers(const SyntheticCamera& cam, const OCoordTrans_Tsai_Transformer& t) {
    const auto& k = t.GetCalibrationParameters();
    EXPECT_NEAR(k.f, cam.truth.f, 1e-7 * cam.truth.f);
    EXPECT_NEAR(k.Tz, cam.truth.Tz, 1e-7 * cam.truth.Tz);
    EXPECT_NEAR(k.kappa1, cam.truth.kappa1, 1e-9);
    EXPECT_NEAR(k.Tx, cam.truth.Tx, 1e-6);
    EXPECT_NEAR(k.Ty, cam.truth.Ty, 1e-6);
    EXPECT_NEAR(k.Rx, cam.truth.Rx, 1e-9);
    EXPECT_NEAR(k.Ry, cam.truth.Ry, 1e-9);
    EXPECT_NEAR(k.Rz, cam.truth.Rz, 1e-9);
}

class TsaiCalibration : public ::testing::TestWithParam<double> {};

TEST_P(TsaiCalibration, NoiseFreePointsRecoverTheCamera) {
    const SyntheticCamera cam = MakeTiltedCamera(GetParam());
    auto t = CameraOnly(cam);
    const auto points = GridPoints(cam);
    ASSERT_EQ(t.iCalibrateCoplanar(points), 1);
    EXPECT_TRUE(t.bIsSetUp());
    ExpectRecovers(cam, t);
    EXPECT_EQ(t.GetCalibrationPoints(), points);
    // The calibrated transformer maps the points back onto themselves.
    for (const auto& p : points) {
        double xw = 0, yw = 0;
        ASSERT_EQ(t.Image2World(p.imageX, p.imageY, 0, xw, yw), 1);
        EXPECT_NEAR(xw, p.worldX, 1e-6);
        EXPECT_NEAR(yw, p.worldY, 1e-6);
    }
}

INSTANTIATE_TEST_SUITE_P(Kappa, TsaiCalibration, ::testing::Values(0.0, 4e-3, -4e-3));

TEST(TsaiCalibrationLayouts, WorldOriginOnTheOpticalAxis) {
    SyntheticCamera cam = MakeTiltedCamera(2e-3);
    cam.truth.Tx = 0;
    cam.truth.Ty = 0;
    auto t = CameraOnly(cam);
    ASSERT_EQ(t.iCalibrateCoplanar(GridPoints(cam)), 1);
    ExpectRecovers(cam, t);
}

TEST(TsaiCalibrationLayouts, NonSquarePixelsAndScaleFactor) {
    SyntheticCamera cam = MakeTiltedCamera(-3e-3);
    cam.camera =
        OCoordTrans_Tsai_CameraParameters::FromSensor(1280, 1024, 0.0048, 0.0051, 512, 500, 1.02);
    cam.truth.Rz = -2.5;  // also a camera turned far about its axis
    auto t = CameraOnly(cam);
    ASSERT_EQ(t.iCalibrateCoplanar(GridPoints(cam)), 1);
    ExpectRecovers(cam, t);
}

TEST(TsaiCalibrationLayouts, FivePointsInGeneralPositionSuffice) {
    const SyntheticCamera cam = MakeTiltedCamera(4e-3);
    std::vector<CalibPoint> points;
    for (auto [x, y] :
         {std::pair{-50.0, -40.0}, {55.0, -35.0}, {45.0, 50.0}, {-40.0, 45.0}, {5.0, 10.0}}) {
        CalibPoint p;
        p.worldX = x;
        p.worldY = y;
        cam.Project(x, y, 0, p.imageX, p.imageY);
        points.push_back(p);
    }
    auto t = CameraOnly(cam);
    ASSERT_EQ(t.iCalibrateCoplanar(points), 1);
    ExpectRecovers(cam, t);
}

TEST(TsaiCalibrationNoise, SmallNoiseGivesSmallReprojectionError) {
    const SyntheticCamera cam = MakeTiltedCamera(4e-3);
    auto points = GridPoints(cam, 10);
    std::mt19937 rng(4711);
    std::normal_distribution<double> noise(0.0, 0.1);  // pixels
    for (auto& p : points) {
        p.imageX += noise(rng);
        p.imageY += noise(rng);
    }
    auto t = CameraOnly(cam);
    ASSERT_EQ(t.iCalibrateCoplanar(points), 1);

    // Re-project with the recovered parameters through the test's own camera model.
    SyntheticCamera recovered = cam;
    recovered.truth = t.GetCalibrationParameters();
    double sum2 = 0;
    for (const auto& p : points) {
        double xi = 0, yi = 0;
        recovered.Project(p.worldX, p.worldY, 0, xi, yi);
        sum2 += (xi - p.imageX) * (xi - p.imageX) + (yi - p.imageY) * (yi - p.imageY);
    }
    const double rms = std::sqrt(sum2 / points.size());
    EXPECT_LT(rms, 0.2);  // about sqrt(2) * 0.1 for a perfect fit
    EXPECT_NEAR(t.GetCalibrationParameters().f, cam.truth.f, 0.02 * cam.truth.f);
    EXPECT_NEAR(t.GetCalibrationParameters().Tz, cam.truth.Tz, 0.02 * cam.truth.Tz);
    EXPECT_NEAR(t.GetCalibrationParameters().kappa1, cam.truth.kappa1, 1e-3);
    // World positions on the calibration plane come out well within a tenth of a unit.
    for (double xi : {200.0, 640.0, 1100.0}) {
        double xw = 0, yw = 0, ex = 0, ey = 0;
        ASSERT_EQ(t.Image2World(xi, 400, 0, xw, yw), 1);
        cam.BackProject(xi, 400, 0, ex, ey);
        EXPECT_NEAR(xw, ex, 0.1);
        EXPECT_NEAR(yw, ey, 0.1);
    }
}

class TsaiCalibrationRefusal : public ::testing::Test {
  protected:
    // A transformer that is already calibrated; a refused calibration must not touch it.
    void SetUp() override {
        cam = MakeTiltedCamera(4e-3);
        t = CameraOnly(cam);
        good = GridPoints(cam);
        ASSERT_EQ(t.iCalibrateCoplanar(good), 1);
        before = t;
    }
    void ExpectRefused(const std::vector<CalibPoint>& points) {
        EXPECT_EQ(t.iCalibrateCoplanar(points), 0);
        EXPECT_TRUE(t.bIsSameTransformation(before));
        EXPECT_EQ(t.GetCalibrationPoints(), good);
    }
    SyntheticCamera cam;
    OCoordTrans_Tsai_Transformer t;
    OCoordTrans_Tsai_Transformer before;
    std::vector<CalibPoint> good;
};

TEST_F(TsaiCalibrationRefusal, TooFewPoints) {
    ExpectRefused({});
    ExpectRefused({good.begin(), good.begin() + 4});
}

TEST_F(TsaiCalibrationRefusal, TooManyPoints) {
    std::vector<CalibPoint> many;
    while (many.size() <= OCoordTrans_Tsai_Transformer::kMaxCalibrationPoints) {
        many.insert(many.end(), good.begin(), good.end());
    }
    ExpectRefused(many);
}

TEST_F(TsaiCalibrationRefusal, CollinearPoints) {
    std::vector<CalibPoint> line;
    for (double x = -50; x <= 50; x += 5) {
        CalibPoint p;
        p.worldX = x;
        p.worldY = 0.5 * x + 7;
        cam.Project(p.worldX, p.worldY, 0, p.imageX, p.imageY);
        line.push_back(p);
    }
    ExpectRefused(line);
}

TEST_F(TsaiCalibrationRefusal, IdenticalPoints) {
    ExpectRefused(std::vector<CalibPoint>(10, good[3]));
}

TEST_F(TsaiCalibrationRefusal, NonFiniteValues) {
    const double bad[] = {std::numeric_limits<double>::quiet_NaN(),
                          std::numeric_limits<double>::infinity()};
    for (double value : bad) {
        for (double CalibPoint::*field :
             {&CalibPoint::imageX, &CalibPoint::imageY, &CalibPoint::worldX, &CalibPoint::worldY,
              &CalibPoint::worldZ}) {
            auto points = good;
            points[7].*field = value;
            ExpectRefused(points);
        }
    }
}

TEST_F(TsaiCalibrationRefusal, PointsOffThePlaneZeroAreNotCoplanarCalibration) {
    auto points = good;
    points[2].worldZ = 1.0;
    ExpectRefused(points);
}

TEST_F(TsaiCalibrationRefusal, PlaneParallelToTheImagePlane) {
    // Straight down onto the plane: only f / Tz is determined, not f and Tz.
    SyntheticCamera flat = MakeTiltedCamera(4e-3);
    flat.truth.Rx = 0;
    flat.truth.Ry = 0;
    ExpectRefused(GridPoints(flat));
}

TEST(TsaiCalibrationPreconditions, NeedsCameraParameters) {
    const SyntheticCamera cam = MakeTiltedCamera(0);
    OCoordTrans_Tsai_Transformer t;
    EXPECT_EQ(t.iCalibrateCoplanar(GridPoints(cam)), 0);
    EXPECT_EQ(t.iGetCalibrationSet(), 0);
    EXPECT_TRUE(t.GetCalibrationPoints().empty());
}

}  // namespace
