// Makes the parts the simulated device sees: a shape in an orientation, with a little
// random variation (size, position, ragged edges), as a family-1 contour run list and as
// a camera image (grey or colour) of the same part.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "model/part/OType_Image.h"

struct OSimPartSpec {
    int type = 1;         // 1.. ; the shape is (type - 1) modulo the number of shapes
    int orientation = 1;  // 1..8
};

struct OSimPartGeometry {
    int contourHeight = 512;  // rows of the contour image
    int imageWidth = 640;
    int imageHeight = 480;
    int imageLayers = 1;  // 1 grey, 3 colour
};

class OSimPartFactory {
  public:
    OSimPartFactory(OSimPartGeometry geometry, bool variation, uint32_t seed);

    // The shape's mask in its box for this orientation: mask[row][column], row 0 at the
    // bottom; the box scales with `height` rows.
    std::vector<std::vector<uint8_t>> Mask(const OSimPartSpec& spec, int height);
    // Contour run list: per column from x = 0 the runs (start row, end row) counting
    // upwards, the last end of each column negated; a column without material is (1, -1).
    std::vector<int16_t> Contour(const OSimPartSpec& spec);
    // The part in front of a bright background, with its label beside it: a data-matrix
    // code (top left) and a line of text (bottom left) naming the part's type.
    OType_Image Image(const OSimPartSpec& spec);
    // What the label of a part of the type says.
    static std::string CodeText(int type);
    static std::string LabelText(int type);

    // Run list of a mask (rows counting upwards from baseRow).
    static std::vector<int16_t> RunsOfMask(const std::vector<std::vector<uint8_t>>& mask,
                                           int baseRow);

    const OSimPartGeometry& Geometry() const { return m_geometry; }

  private:
    double Jitter(double amount);

    OSimPartGeometry m_geometry;
    bool m_variation;
    std::mt19937 m_random;
};
