#include "sim/OSimShapes.h"

#include <cmath>

namespace SimShapes {
namespace {

bool bInCircle(double u, double v, double cu, double cv, double r) {
    return (u - cu) * (u - cu) + (v - cv) * (v - cv) <= r * r;
}

bool bInBox(double u, double v, double u0, double v0, double u1, double v1) {
    return u >= u0 && u <= u1 && v >= v0 && v <= v1;
}

// An angle bracket: a tall arm and a shorter foot, a hole in the arm.
bool bBracket(double u, double v) {
    const bool arm = bInBox(u, v, 0.0, 0.0, 0.32, 1.0);
    const bool foot = bInBox(u, v, 0.0, 0.0, 1.0, 0.28);
    return (arm || foot) && !bInCircle(u, v, 0.16, 0.74, 0.08);
}

// A key: a round bow with a hole, a shaft and two teeth below the shaft.
bool bKey(double u, double v) {
    const bool bow = bInCircle(u, v, 0.25, 0.5, 0.25) && !bInCircle(u, v, 0.22, 0.5, 0.09);
    const bool shaft = bInBox(u, v, 0.4, 0.42, 1.0, 0.58);
    const bool teeth = bInBox(u, v, 0.72, 0.22, 0.8, 0.42) || bInBox(u, v, 0.88, 0.28, 0.96, 0.42);
    return bow || shaft || teeth;
}

// A right triangle with a notch in its long leg and a hole near its right angle.
bool bTriangle(double u, double v) {
    const bool triangle = v <= 1.0 - u;
    const bool notch = bInBox(u, v, 0.0, 0.45, 0.12, 0.6);
    return triangle && !notch && !bInCircle(u, v, 0.2, 0.2, 0.07);
}

// A T-piece whose stem is off centre, with a slot in the bar.
bool bTee(double u, double v) {
    const bool bar = bInBox(u, v, 0.0, 0.7, 1.0, 1.0);
    const bool stem = bInBox(u, v, 0.58, 0.0, 0.8, 0.7);
    const bool slot = bInBox(u, v, 0.12, 0.8, 0.36, 0.9);
    return (bar || stem) && !slot;
}

}  // namespace

double AspectRatio(int shape) {
    static constexpr double kAspect[kNumShapes] = {0.8, 1.9, 1.0, 1.3};
    return kAspect[((shape % kNumShapes) + kNumShapes) % kNumShapes];
}

std::string_view ShapeName(int shape) {
    static constexpr std::string_view kNames[kNumShapes] = {"bracket", "key", "triangle", "tee"};
    return kNames[((shape % kNumShapes) + kNumShapes) % kNumShapes];
}

bool bInside(int shape, double u, double v) {
    if (u < 0 || u > 1 || v < 0 || v > 1) return false;
    switch (((shape % kNumShapes) + kNumShapes) % kNumShapes) {
        case 0:
            return bBracket(u, v);
        case 1:
            return bKey(u, v);
        case 2:
            return bTriangle(u, v);
        default:
            return bTee(u, v);
    }
}

bool bSwapsAxes(int orientation) {
    return ((orientation - 1) % kNumOrientations + kNumOrientations) % kNumOrientations >= 4;
}

void ToShape(int orientation, double p, double q, double& u, double& v) {
    switch (((orientation - 1) % kNumOrientations + kNumOrientations) % kNumOrientations) {
        case 0:  // as taught
            u = p, v = q;
            break;
        case 1:  // mirrored at the vertical axis
            u = 1 - p, v = q;
            break;
        case 2:  // mirrored at the horizontal axis
            u = p, v = 1 - q;
            break;
        case 3:  // turned by half a turn
            u = 1 - p, v = 1 - q;
            break;
        case 4:  // turned a quarter turn anticlockwise
            u = q, v = 1 - p;
            break;
        case 5:  // turned a quarter turn clockwise
            u = 1 - q, v = p;
            break;
        case 6:  // reflected at the main diagonal
            u = q, v = p;
            break;
        default:  // reflected at the other diagonal
            u = 1 - q, v = 1 - p;
            break;
    }
}

}  // namespace SimShapes
