// The image a test case sends to the device for an approved part: its first camera image,
// made grey for a grey device and placed on a white canvas of the device's size when it was
// cut out of the sensor.
#pragma once

#include "model/part/OType_Image.h"

struct OTestDeviceImage {
    int width = 0;
    int height = 0;
    int pixelFormat = 8;  // 8 grey, 24 colour
};

namespace TestImage {
// The image as the device takes it.
OType_Image Prepare(const OType_Image& recorded, const OTestDeviceImage& device);
}  // namespace TestImage
