#include "testcases/TestImage.h"

#include <algorithm>

namespace TestImage {

namespace {

OType_Image Grey(const OType_Image& colour) {
    OType_Image grey(colour.iGetWidth(), colour.iGetHeight(), 1);
    for (int y = 0; y < colour.iGetHeight(); ++y)
        for (int x = 0; x < colour.iGetWidth(); ++x)
            grey.SetPixel(x, y, 0, colour.GetPixel_Grey(x, y));
    grey.SetPos(colour.iGetPosX(), colour.iGetPosY());
    return grey;
}

}  // namespace

OType_Image Prepare(const OType_Image& recorded, const OTestDeviceImage& device) {
    OType_Image image =
        device.pixelFormat == 8 && recorded.iGetLayers() == 3 ? Grey(recorded) : recorded;
    const bool placed = image.iGetPosX() == 0 && image.iGetPosY() == 0 &&
                        image.iGetWidth() == device.width && image.iGetHeight() == device.height;
    if (placed || device.width <= 0 || device.height <= 0) return image;
    // White canvas of the device's size, the image at its offset, then turned upside down.
    const int layers = image.iGetLayers();
    OType_Image canvas(device.width, device.height, layers);
    std::fill(canvas.Pixels().begin(), canvas.Pixels().end(), uint8_t{255});
    const int x0 = image.iGetPosX();
    const int y0 = image.iGetPosY();
    for (int y = 0; y < image.iGetHeight(); ++y) {
        const int cy = y0 + y;
        if (cy < 0 || cy >= device.height) continue;
        for (int x = 0; x < image.iGetWidth(); ++x) {
            const int cx = x0 + x;
            if (cx < 0 || cx >= device.width) continue;
            for (int l = 0; l < layers; ++l)
                canvas.SetPixel(cx, device.height - 1 - cy, l, image.GetPixel(x, y, l));
        }
    }
    canvas.SetPos(0, 0);
    return canvas;
}

}  // namespace TestImage
