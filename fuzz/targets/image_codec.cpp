// Decodes a BMP, JPEG or PNG picture. An accepted picture lies within the size limits, is
// written as BMP and read back pixel for pixel, and is written as JPEG and read back with
// its size and layers. A refused one leaves an empty image and a message.
#include <png.h>

#include <cstring>
#include <string>

#include "../FuzzSeeds.h"
#include "model/image/ImageCodec.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Check(bool condition) {
    if (!condition) std::abort();
}

OType_Image Pattern(int w, int h, int layers) {
    OType_Image img(w, h, layers);
    auto px = img.Pixels();
    for (size_t i = 0; i < px.size(); ++i)
        px[i] = static_cast<uint8_t>(i * 29 + i / 7);
    return img;
}

Bytes Png(const OType_Image& img, uint32_t format) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<uint32_t>(img.iGetWidth());
    png.height = static_cast<uint32_t>(img.iGetHeight());
    png.format = format;
    Bytes pixels(img.Pixels().begin(), img.Pixels().end());
    if (format == PNG_FORMAT_RGBA) {
        pixels.clear();
        for (size_t i = 0; i + 2 < img.Pixels().size(); i += 3)
            pixels.insert(pixels.end(), {img.Pixels()[i], img.Pixels()[i + 1], img.Pixels()[i + 2],
                                         static_cast<uint8_t>(i * 5)});
    }
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&png, nullptr, &size, 0, pixels.data(), 0, nullptr);
    Bytes out(size);
    png_image_write_to_memory(&png, out.data(), &size, 0, pixels.data(), 0, nullptr);
    out.resize(size);
    return out;
}

// A 4 x 3 RLE8 picture with every kind of escape: run, end of line, move, absolute, end.
Bytes Rle8() {
    // File header (pixels at 62), 40-byte header: 4 x 3, 1 plane, 8 bits, RLE8, 2 colours.
    Bytes b = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0, 40, 0, 0,
               0,   4,   0, 0, 0, 3, 0, 0, 0, 1, 0,  8, 0, 1, 0,  0, 0};
    b.resize(54, 0);
    b[46] = 2;
    b.insert(b.end(), {0, 0, 0, 0, 255, 255, 255, 0});
    b.insert(b.end(), {3, 1, 0, 0, 0, 2, 1, 1, 0, 3, 1, 0, 1, 0, 0, 1});
    return b;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    OType_Image image;
    std::string error;
    if (!ImageCodec::bDecode({data, size}, image, error)) {
        Check(image.bIsEmpty());
        Check(!error.empty());
        return 0;
    }
    Check(ImageCodec::bCheckSize(image.iGetWidth(), image.iGetHeight(), error));
    Check(image.iGetByteSize() ==
          static_cast<size_t>(image.iGetWidth()) * image.iGetHeight() * image.iGetLayers());
    OType_Image again;
    Check(ImageCodec::bDecodeBmp(ImageCodec::EncodeBmp(image), again, error));
    Check(again == image);
    // JPEG only for small pictures, to keep each run short.
    if (image.iGetByteSize() <= 1 << 16) {
        Bytes jpeg;
        Check(ImageCodec::bEncodeJpeg(image, 75, jpeg, error));
        Check(ImageCodec::bDecodeJpeg(jpeg, again, error));
        Check(again.iGetWidth() == image.iGetWidth() && again.iGetHeight() == image.iGetHeight() &&
              again.iGetLayers() == image.iGetLayers());
    }
    return 0;
}

std::vector<std::vector<uint8_t>> KalvorFuzzSeeds() {
    const OType_Image grey = Pattern(13, 7, 1);
    const OType_Image colour = Pattern(9, 6, 3);
    std::vector<Bytes> seeds = {
        ImageCodec::EncodeBmp(grey), ImageCodec::EncodeBmp(colour), Rle8(),
        Png(grey, PNG_FORMAT_GRAY),  Png(colour, PNG_FORMAT_RGB),   Png(colour, PNG_FORMAT_RGBA)};
    for (const OType_Image* img : {&grey, &colour}) {
        Bytes jpeg;
        std::string error;
        ImageCodec::bEncodeJpeg(*img, 80, jpeg, error);
        seeds.push_back(std::move(jpeg));
    }
    return seeds;
}
