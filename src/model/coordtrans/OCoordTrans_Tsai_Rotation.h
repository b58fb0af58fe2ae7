// Rotation matrix of the Tsai model from its three Euler angles and back.
// R = Rz(Rz) * Ry(Ry) * Rx(Rx), stored row by row as r1..r9, so that
// camera = R * world + T.
#pragma once

#include <array>

class OCoordTrans_Tsai_Rotation {
  public:
    using Matrix = std::array<double, 9>;
    struct Angles {
        double Rx = 0;
        double Ry = 0;
        double Rz = 0;
    };

    static Matrix FromAngles(double Rx, double Ry, double Rz);
    // Angles of a rotation matrix. For a matrix that is only nearly orthonormal they
    // describe a nearby rotation, from which an exact matrix can be rebuilt.
    static Angles ToAngles(const Matrix& r);
};
