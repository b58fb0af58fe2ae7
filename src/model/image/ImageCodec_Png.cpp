// PNG reading through libpng's simplified interface, which handles every bit depth, palette,
// transparency and gamma, checks every chunk's CRC and refuses truncated data. Grey PNGs give
// one layer, all others three; transparent pixels are composed onto white.
#include <cstring>

#include <png.h>

#include "model/image/ImageCodec.h"

namespace ImageCodec {

bool bDecodePng(std::span<const uint8_t> bytes, OType_Image& image, std::string& error) {
    image = OType_Image();
    if (DetectFormat(bytes) != Format::Png) {
        error = "The file is not a PNG picture.";
        return false;
    }
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) {
        error = std::string("The PNG file is damaged: ") + png.message;
        png_image_free(&png);
        return false;
    }
    if (!bCheckSize(png.width, png.height, error)) {
        png_image_free(&png);
        return false;
    }
    const bool grey = (png.format & PNG_FORMAT_FLAG_COLOR) == 0;
    png.format = grey ? PNG_FORMAT_GRAY : PNG_FORMAT_RGB;
    OType_Image decoded(static_cast<int>(png.width), static_cast<int>(png.height), grey ? 1 : 3);
    // Pixels with alpha are composed onto what the buffer holds.
    std::memset(decoded.Pixels().data(), 0xFF, decoded.iGetByteSize());
    if (!png_image_finish_read(&png, nullptr, decoded.Pixels().data(), 0, nullptr)) {
        error = std::string("The PNG file is damaged: ") + png.message;
        png_image_free(&png);
        return false;
    }
    png_image_free(&png);
    image = std::move(decoded);
    return true;
}

}  // namespace ImageCodec
