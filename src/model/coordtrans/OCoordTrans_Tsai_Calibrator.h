// Tsai's coplanar camera calibration: from points on the world plane z = 0 with known
// image positions and known camera constants, find the pose (R, T), the effective focal
// length f and the radial distortion kappa1.
//
//  1. Radial alignment: the distorted image point, seen from the image centre, points
//     the same way as the camera-frame point seen from the optical axis, whatever f and
//     kappa1 are. That gives one linear equation per point in r1, r2, Tx, r4, r5, Ty. It
//     is solved as a homogeneous system (null vector by SVD), so the world origin may lie
//     anywhere, also on the optical axis. The scale follows from the rows of R being unit
//     vectors, the sign from the points lying on the proper side of the centre.
//  2. R is completed from orthonormality; of its two possible completions the one giving
//     a positive f is kept.
//  3. f and Tz from a linear least-squares fit that ignores distortion.
//  4. f, Tz and kappa1 refined by Levenberg-Marquardt on the sensor-plane error.
//
// The calibration plane must be tilted against the image plane: when they are parallel,
// f and Tz cannot be told apart (only their ratio is determined) and calibration fails.
// Below a tilt of 1e-3 rad the plane counts as parallel; Tsai recommends 30 degrees or
// more for accurate results.
#pragma once

#include <cstddef>
#include <span>

#include "model/coordtrans/OCoordTrans_CalibPoint.h"
#include "model/coordtrans/OCoordTrans_Tsai_Parameters.h"

class OCoordTrans_Tsai_Calibrator {
  public:
    static constexpr size_t kMinPoints = 5;
    static constexpr size_t kMaxPoints = 256;

    // 1 and the result on success. 0 for invalid camera constants, fewer than kMinPoints
    // or more than kMaxPoints points, non-finite values, a world z other than 0, and
    // layouts that do not determine the solution (collinear points, plane parallel to
    // the image plane, points behind the camera).
    static int iCalibrateCoplanar(const OCoordTrans_Tsai_CameraParameters& camera,
                                  std::span<const OCoordTrans_CalibPoint> points,
                                  OCoordTrans_Tsai_CalibrationParameters& result);
};
