// JPEG reading and writing through libjpeg-turbo. Grey JPEGs give one layer, everything else
// three (CMYK and YCCK pictures, as Adobe programs write them, are converted to RGB). A file
// that ends before its last scan is refused rather than shown half grey; pictures with more
// than a few hundred progressive scans are refused, as no encoder writes them and decoding
// them can take minutes.
#include <csetjmp>
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

#include "model/image/ImageCodec.h"

namespace {

constexpr int kMaxScans = 500;

struct ErrorManager {
    jpeg_error_mgr base{};
    std::jmp_buf jump{};
    bool truncated = false;
    char message[JMSG_LENGTH_MAX] = {};
};

[[noreturn]] void OnError(j_common_ptr cinfo) {
    auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, manager->message);
    std::longjmp(manager->jump, 1);
}

void OnMessage(j_common_ptr cinfo, int level) {
    auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
    // Level -1 is a warning about damaged data; the end of the data coming too early means
    // that the rest of the picture would be made up.
    if (level == -1 && cinfo->err->msg_code == JWRN_JPEG_EOF) manager->truncated = true;
}

void OnProgress(j_common_ptr cinfo) {
    if (cinfo->is_decompressor == 0) return;
    const auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > kMaxScans) {
        auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
        std::snprintf(manager->message, sizeof manager->message,
                      "The picture has more than %d scans.", kMaxScans);
        std::longjmp(manager->jump, 1);
    }
}

void InstallErrorManager(ErrorManager& manager) {
    jpeg_std_error(&manager.base);
    manager.base.error_exit = OnError;
    manager.base.emit_message = OnMessage;
}

uint8_t Scale(unsigned a, unsigned b) {
    return static_cast<uint8_t>((a * b + 127) / 255);
}

// Reads the decompressor's rows into `image`; the caller has called jpeg_start_decompress.
// `row` is the caller's, so that an error's jump out of here leaves nothing to destroy.
void ReadRows(jpeg_decompress_struct& cinfo, OType_Image& image, bool cmyk, bool inverted,
              std::vector<uint8_t>& row) {
    const size_t width = cinfo.output_width;
    const size_t components = static_cast<size_t>(cinfo.output_components);
    if (cmyk) row.resize(width * components);
    auto pixels = image.Pixels();
    while (cinfo.output_scanline < cinfo.output_height) {
        const size_t y = cinfo.output_scanline;
        JSAMPROW rows[1] = {cmyk ? row.data() : pixels.data() + y * width * components};
        if (jpeg_read_scanlines(&cinfo, rows, 1) != 1) break;
        if (!cmyk) continue;
        uint8_t* dst = pixels.data() + y * width * 3;
        for (size_t x = 0; x < width; ++x) {
            unsigned c = row[4 * x], m = row[4 * x + 1], yy = row[4 * x + 2], k = row[4 * x + 3];
            if (!inverted) {
                c = 255 - c;
                m = 255 - m;
                yy = 255 - yy;
                k = 255 - k;
            }
            dst[3 * x] = Scale(c, k);
            dst[3 * x + 1] = Scale(m, k);
            dst[3 * x + 2] = Scale(yy, k);
        }
    }
}

struct Destination {
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    ~Destination() { std::free(buffer); }
};

}  // namespace

namespace ImageCodec {

bool bDecodeJpeg(std::span<const uint8_t> bytes, OType_Image& image, std::string& error) {
    image = OType_Image();
    if (DetectFormat(bytes) != Format::Jpeg) {
        error = "The file is not a JPEG picture.";
        return false;
    }
    jpeg_decompress_struct cinfo{};
    ErrorManager manager;
    jpeg_progress_mgr progress{};
    progress.progress_monitor = OnProgress;
    std::vector<uint8_t> cmykRow;
    cinfo.err = &manager.base;
    InstallErrorManager(manager);
    // Objects with automatic storage that change after setjmp are not touched after a jump.
    if (setjmp(manager.jump)) {
        jpeg_destroy_decompress(&cinfo);
        image = OType_Image();
        error = std::string("The JPEG file is damaged: ") + manager.message;
        return false;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.progress = &progress;
    jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    if (!bCheckSize(cinfo.image_width, cinfo.image_height, error)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    const bool grey = cinfo.num_components == 1;
    cinfo.out_color_space = cmyk ? JCS_CMYK : grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_start_decompress(&cinfo);
    image = OType_Image(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height),
                        grey ? 1 : 3);
    ReadRows(cinfo, image, cmyk, cinfo.saw_Adobe_marker != 0, cmykRow);
    const bool truncated = manager.truncated || cinfo.output_scanline < cinfo.output_height;
    if (!truncated) jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    if (truncated) {
        image = OType_Image();
        error = "The JPEG file is truncated.";
        return false;
    }
    return true;
}

bool bEncodeJpeg(const OType_Image& image, int quality, std::vector<uint8_t>& bytes,
                 std::string& error) {
    bytes.clear();
    if (image.bIsEmpty()) {
        error = "The image is empty.";
        return false;
    }
    jpeg_compress_struct cinfo{};
    ErrorManager manager;
    Destination destination;
    cinfo.err = &manager.base;
    InstallErrorManager(manager);
    if (setjmp(manager.jump)) {
        jpeg_destroy_compress(&cinfo);
        error = std::string("The JPEG picture could not be written: ") + manager.message;
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &destination.buffer, &destination.size);
    const bool grey = image.iGetLayers() == 1;
    cinfo.image_width = static_cast<JDIMENSION>(image.iGetWidth());
    cinfo.image_height = static_cast<JDIMENSION>(image.iGetHeight());
    cinfo.input_components = grey ? 1 : 3;
    cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality < 1 ? 1 : quality > 100 ? 100 : quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    const size_t rowLength = static_cast<size_t>(image.iGetWidth()) * image.iGetLayers();
    const uint8_t* pixels = image.Pixels().data();
    while (cinfo.next_scanline < cinfo.image_height) {
        // libjpeg takes non-const rows but only reads them.
        JSAMPROW row[1] = {const_cast<uint8_t*>(pixels + cinfo.next_scanline * rowLength)};
        jpeg_write_scanlines(&cinfo, row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    bytes.assign(destination.buffer, destination.buffer + destination.size);
    return true;
}

}  // namespace ImageCodec
