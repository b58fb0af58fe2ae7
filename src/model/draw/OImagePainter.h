// Painters that can draw pictures as well (the screen, printer pages, PDF, the recording
// painter of the tests): the camera image of the family-2 view goes through it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/draw/OGeometry.h"

// The pixels of a picture: rows from the top, `layers` bytes per pixel (1 grey, 3 R, G, B),
// rows `stride` bytes apart. The data belong to the caller and must outlive the call.
struct OImageView {
    const uint8_t* data = nullptr;
    int width = 0;
    int height = 0;
    int layers = 1;
    size_t stride = 0;
    bool bIsEmpty() const { return !data || width <= 0 || height <= 0; }
};

class OImagePainter {
  public:
    virtual ~OImagePainter() = default;
    // The picture stretched over `target` (logical units of the painter's mapping), pixel
    // by pixel without smoothing.
    virtual void DrawImage(const ORect& target, const OImageView& image) = 0;
};
