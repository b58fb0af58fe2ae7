#include "model/coordtrans/OCoordTrans_Tsai_Rotation.h"

#include <cmath>

OCoordTrans_Tsai_Rotation::Matrix OCoordTrans_Tsai_Rotation::FromAngles(double Rx, double Ry,
                                                                        double Rz) {
    const double sa = std::sin(Rx), ca = std::cos(Rx);
    const double sb = std::sin(Ry), cb = std::cos(Ry);
    const double sc = std::sin(Rz), cc = std::cos(Rz);
    // clang-format off
    return {cc * cb, cc * sb * sa - sc * ca, cc * sb * ca + sc * sa,
            sc * cb, sc * sb * sa + cc * ca, sc * sb * ca - cc * sa,
            -sb,     cb * sa,                cb * ca};
    // clang-format on
}

OCoordTrans_Tsai_Rotation::Angles OCoordTrans_Tsai_Rotation::ToAngles(const Matrix& r) {
    // Rz from the first column, Ry from its length and r7, Rx from the second row of
    // Rz^T * R = Ry * Rx, which is (0, cos Rx, -sin Rx).
    Angles a;
    a.Rz = std::atan2(r[3], r[0]);
    const double sc = std::sin(a.Rz), cc = std::cos(a.Rz);
    a.Ry = std::atan2(-r[6], r[0] * cc + r[3] * sc);
    a.Rx = std::atan2(r[2] * sc - r[5] * cc, r[4] * cc - r[1] * sc);
    return a;
}
