// First-order radial lens distortion of the Tsai model on the sensor plane:
// undistorted = distorted * (1 + kappa1 * r^2), r = radius of the distorted point.
// The model is used only where it is invertible, i.e. where the undistorted radius grows
// with the distorted radius (1 + 3 * kappa1 * r^2 > 0); beyond that a negative kappa1
// folds the image back onto itself.
#pragma once

class OCoordTrans_Tsai_Distortion {
  public:
    // Distorted -> undistorted sensor coordinates. False outside the invertible region or
    // on non-finite values.
    static bool bUndistort(double kappa1, double xd, double yd, double& xu, double& yu);
    // Undistorted -> distorted sensor coordinates: solves the cubic for the radius on the
    // invertible branch. False when no such radius exists (negative kappa1, point too far
    // out) or on non-finite values.
    static bool bDistort(double kappa1, double xu, double yu, double& xd, double& yd);
    // Whether a distorted radius^2 lies in the invertible region.
    static bool bIsInvertible(double kappa1, double rdSquared);
};
