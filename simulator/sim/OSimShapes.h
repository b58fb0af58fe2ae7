// The synthetic parts of the simulator: a few distinct flat shapes, and the eight
// orientations a part can lie in, each a real geometric transformation of the shape
// (identity, mirror images, quarter and half turns, and both diagonal reflections).
#pragma once

#include <string_view>

namespace SimShapes {

inline constexpr int kNumShapes = 4;
inline constexpr int kNumOrientations = 8;

// Width and height of a shape's bounding box, relative to its height.
double AspectRatio(int shape);
std::string_view ShapeName(int shape);

// Whether the point (u, v) of the unit square lies on the material of the shape; v runs
// upwards. Shapes are 0-based (shape = part type - 1, taken modulo kNumShapes).
bool bInside(int shape, double u, double v);

// Maps a point of the shown (transformed) unit square back onto the shape for the given
// orientation (1..8). Orientations 5 to 8 swap the box's width and height.
void ToShape(int orientation, double p, double q, double& u, double& v);
bool bSwapsAxes(int orientation);

}  // namespace SimShapes
