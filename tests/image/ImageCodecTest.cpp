#include <gtest/gtest.h>
#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

#include <cstring>
#include <fstream>

#include "model/image/ImageCodec.h"
#include "support/TempDir.h"

using Bytes = std::vector<uint8_t>;

namespace {

// ---- building pictures by hand, so the readers are held against files they did not write ----

void Put16(Bytes& b, size_t at, uint16_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(Bytes& b, size_t at, uint32_t v) {
    Put16(b, at, static_cast<uint16_t>(v));
    Put16(b, at + 2, static_cast<uint16_t>(v >> 16));
}

struct BmpSpec {
    int32_t width = 0;
    int32_t height = 0;  // negative: top-down
    uint16_t bits = 8;
    uint32_t compression = 0;
    uint32_t headerSize = 40;
    std::vector<uint32_t> masks;    // written after a 40-byte header
    std::vector<uint32_t> palette;  // 0x00RRGGBB
    Bytes pixels;                   // as stored in the file
};

Bytes BuildBmp(const BmpSpec& s) {
    const size_t paletteEntry = s.headerSize == 12 ? 3 : 4;
    const size_t paletteStart = 14 + s.headerSize + 4 * s.masks.size();
    const size_t pixelStart = paletteStart + paletteEntry * s.palette.size();
    Bytes b(pixelStart, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<uint32_t>(pixelStart + s.pixels.size()));
    Put32(b, 10, static_cast<uint32_t>(pixelStart));
    Put32(b, 14, s.headerSize);
    if (s.headerSize == 12) {
        Put16(b, 18, static_cast<uint16_t>(s.width));
        Put16(b, 20, static_cast<uint16_t>(s.height));
        Put16(b, 22, 1);
        Put16(b, 24, s.bits);
    } else {
        Put32(b, 18, static_cast<uint32_t>(s.width));
        Put32(b, 22, static_cast<uint32_t>(s.height));
        Put16(b, 26, 1);
        Put16(b, 28, s.bits);
        Put32(b, 30, s.compression);
        Put32(b, 46, static_cast<uint32_t>(s.palette.size()));
    }
    for (size_t i = 0; i < s.masks.size(); ++i)
        Put32(b, 14 + s.headerSize + 4 * i, s.masks[i]);
    for (size_t i = 0; i < s.palette.size(); ++i) {
        const size_t at = paletteStart + paletteEntry * i;
        b[at] = static_cast<uint8_t>(s.palette[i]);
        b[at + 1] = static_cast<uint8_t>(s.palette[i] >> 8);
        b[at + 2] = static_cast<uint8_t>(s.palette[i] >> 16);
    }
    b.insert(b.end(), s.pixels.begin(), s.pixels.end());
    return b;
}

OType_Image Decode(const Bytes& bytes) {
    OType_Image image;
    std::string error;
    EXPECT_TRUE(ImageCodec::bDecode(bytes, image, error)) << error;
    return image;
}

std::string Refusal(const Bytes& bytes) {
    OType_Image image;
    std::string error;
    EXPECT_FALSE(ImageCodec::bDecode(bytes, image, error));
    EXPECT_TRUE(image.bIsEmpty());
    EXPECT_FALSE(error.empty());
    return error;
}

// A grey ramp that uses every byte value across its pixels.
OType_Image GreyPattern(int w, int h) {
    OType_Image img(w, h, 1);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.SetPixel(x, y, 0, static_cast<uint8_t>(x * 7 + y * 31));
    return img;
}

OType_Image ColourPattern(int w, int h) {
    OType_Image img(w, h, 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            img.SetPixel(x, y, 0, static_cast<uint8_t>(x * 13));
            img.SetPixel(x, y, 1, static_cast<uint8_t>(y * 17));
            img.SetPixel(x, y, 2, static_cast<uint8_t>(x * y));
        }
    return img;
}

// Smooth colours, which JPEG keeps within a few levels.
OType_Image SmoothColour(int w, int h) {
    OType_Image img(w, h, 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            img.SetPixel(x, y, 0, static_cast<uint8_t>(40 + x));
            img.SetPixel(x, y, 1, static_cast<uint8_t>(200 - y));
            img.SetPixel(x, y, 2, 120);
        }
    return img;
}

int MaxDifference(const OType_Image& a, const OType_Image& b) {
    int worst = 0;
    for (size_t i = 0; i < a.Pixels().size(); ++i)
        worst = std::max(worst, std::abs(int{a.Pixels()[i]} - int{b.Pixels()[i]}));
    return worst;
}

Bytes WritePng(const OType_Image& img, uint32_t format, const Bytes& pixels) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<uint32_t>(img.iGetWidth());
    png.height = static_cast<uint32_t>(img.iGetHeight());
    png.format = format;
    png_alloc_size_t size = 0;
    EXPECT_TRUE(png_image_write_to_memory(&png, nullptr, &size, 0, pixels.data(), 0, nullptr));
    Bytes out(size);
    EXPECT_TRUE(png_image_write_to_memory(&png, out.data(), &size, 0, pixels.data(), 0, nullptr));
    out.resize(size);
    return out;
}

Bytes PngOf(const OType_Image& img) {
    return WritePng(img, img.iGetLayers() == 1 ? PNG_FORMAT_GRAY : PNG_FORMAT_RGB,
                    Bytes(img.Pixels().begin(), img.Pixels().end()));
}

Bytes JpegOf(const OType_Image& img, int quality = 95) {
    Bytes out;
    std::string error;
    EXPECT_TRUE(ImageCodec::bEncodeJpeg(img, quality, out, error)) << error;
    return out;
}

// A CMYK JPEG as Adobe programs write it (libjpeg adds the Adobe marker for CMYK).
Bytes CmykJpeg(int w, int h, const uint8_t cmyk[4]) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(w);
    cinfo.image_height = static_cast<JDIMENSION>(h);
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 100, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    Bytes row(static_cast<size_t>(w) * 4);
    for (int x = 0; x < w; ++x)
        std::memcpy(&row[static_cast<size_t>(x) * 4], cmyk, 4);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW r[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, r, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

// Rewrites the size in a PNG's header chunk and its CRC, so that only the size is wrong.
void SetPngSize(Bytes& png, uint32_t w, uint32_t h) {
    auto be32 = [&](size_t at, uint32_t v) {
        png[at] = static_cast<uint8_t>(v >> 24);
        png[at + 1] = static_cast<uint8_t>(v >> 16);
        png[at + 2] = static_cast<uint8_t>(v >> 8);
        png[at + 3] = static_cast<uint8_t>(v);
    };
    be32(16, w);
    be32(20, h);
    be32(29, static_cast<uint32_t>(crc32(0, png.data() + 12, 17)));
}

// Rewrites the frame size of a baseline JPEG (its SOF0 segment).
void SetJpegSize(Bytes& jpeg, uint16_t w, uint16_t h) {
    for (size_t i = 2; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = static_cast<uint8_t>(h >> 8);
            jpeg[i + 6] = static_cast<uint8_t>(h);
            jpeg[i + 7] = static_cast<uint8_t>(w >> 8);
            jpeg[i + 8] = static_cast<uint8_t>(w);
            return;
        }
    }
    ADD_FAILURE() << "no SOF0 segment";
}

}  // namespace

// ---------------------------------------------------------------- format detection

TEST(ImageCodec, FormatsAreToldBySignatureAndByExtension) {
    using ImageCodec::Format;
    EXPECT_EQ(ImageCodec::DetectFormat(ImageCodec::EncodeBmp(GreyPattern(3, 2))), Format::Bmp);
    EXPECT_EQ(ImageCodec::DetectFormat(JpegOf(SmoothColour(8, 8))), Format::Jpeg);
    EXPECT_EQ(ImageCodec::DetectFormat(PngOf(GreyPattern(3, 2))), Format::Png);
    EXPECT_EQ(ImageCodec::DetectFormat(Bytes{'G', 'I', 'F', '8'}), Format::Unknown);
    EXPECT_EQ(ImageCodec::DetectFormat(Bytes{}), Format::Unknown);
    EXPECT_EQ(ImageCodec::FormatFromFileName("a/b.BMP"), Format::Bmp);
    EXPECT_EQ(ImageCodec::FormatFromFileName("x.Jpeg"), Format::Jpeg);
    EXPECT_EQ(ImageCodec::FormatFromFileName("x.jpg"), Format::Jpeg);
    EXPECT_EQ(ImageCodec::FormatFromFileName("x.png"), Format::Png);
    EXPECT_EQ(ImageCodec::FormatFromFileName("x.bmp.txt"), Format::Unknown);
    EXPECT_EQ(ImageCodec::FormatFromFileName("bmp"), Format::Unknown);
}

TEST(ImageCodec, SizeLimits) {
    std::string error;
    EXPECT_TRUE(ImageCodec::bCheckSize(1, 1, error));
    EXPECT_TRUE(ImageCodec::bCheckSize(OType_Image::kMaxSide, 4096, error));
    EXPECT_FALSE(ImageCodec::bCheckSize(0, 5, error));
    EXPECT_FALSE(ImageCodec::bCheckSize(5, -1, error));
    EXPECT_FALSE(ImageCodec::bCheckSize(OType_Image::kMaxSide + 1, 1, error));
    // Each side allowed, the product not.
    EXPECT_FALSE(ImageCodec::bCheckSize(OType_Image::kMaxSide, OType_Image::kMaxSide, error));
    EXPECT_NE(error.find("too large"), std::string::npos);
}

// ---------------------------------------------------------------- BMP

TEST(ImageCodecBmp, GreyAndColourRoundTripExactlyWithRowPadding) {
    for (int w : {1, 2, 3, 4, 5, 7}) {
        const OType_Image grey = GreyPattern(w, 3);
        const Bytes greyBmp = ImageCodec::EncodeBmp(grey);
        EXPECT_EQ(Decode(greyBmp), grey) << "width " << w;
        const OType_Image colour = ColourPattern(w, 4);
        EXPECT_EQ(Decode(ImageCodec::EncodeBmp(colour)), colour) << "width " << w;
    }
}

TEST(ImageCodecBmp, WrittenLayoutIsTheWindowsOne) {
    // 3 x 2 grey: 14 + 40 header bytes, 256 palette entries, rows of 4 bytes, bottom row first.
    OType_Image grey(3, 2, 1);
    grey.SetPixel(0, 1, 0, 77);  // bottom-left
    const Bytes g = ImageCodec::EncodeBmp(grey);
    ASSERT_EQ(g.size(), 14u + 40u + 1024u + 8u);
    EXPECT_EQ(g[28], 8);              // bits per pixel
    EXPECT_EQ(g[54 + 4 * 200], 200);  // palette entry 200 is grey 200
    EXPECT_EQ(g[1078], 77);           // first stored row is the bottom one
    // 2 x 1 colour: 24 bits, blue first in the file.
    OType_Image colour(2, 1, 3);
    colour.SetPixel(0, 0, 0, 10);
    colour.SetPixel(0, 0, 1, 20);
    colour.SetPixel(0, 0, 2, 30);
    const Bytes c = ImageCodec::EncodeBmp(colour);
    ASSERT_EQ(c.size(), 54u + 8u);
    EXPECT_EQ(c[28], 24);
    EXPECT_EQ((Bytes{c[54], c[55], c[56]}), (Bytes{30, 20, 10}));
    EXPECT_TRUE(ImageCodec::EncodeBmp(OType_Image()).empty());
}

TEST(ImageCodecBmp, PaletteKindsDecideTheLayers) {
    // 1 bit, black and white palette: grey. Row "10" padded to 4 bytes; the bottom row first.
    BmpSpec mono{.width = 2,
                 .height = 2,
                 .bits = 1,
                 .palette = {0x000000, 0xFFFFFF},
                 .pixels = {0x80, 0, 0, 0, 0x40, 0, 0, 0}};
    const OType_Image m = Decode(BuildBmp(mono));
    ASSERT_EQ(m.iGetLayers(), 1);
    EXPECT_EQ(m.GetPixel(0, 0), 0);  // top row is the second stored: 01
    EXPECT_EQ(m.GetPixel(1, 0), 255);
    EXPECT_EQ(m.GetPixel(0, 1), 255);
    EXPECT_EQ(m.GetPixel(1, 1), 0);
    // 4 bits with a colour palette: three layers; nibbles high first.
    BmpSpec four{.width = 3,
                 .height = 1,
                 .bits = 4,
                 .palette = {0x000000, 0xFF0000, 0x00FF00},
                 .pixels = {0x12, 0x00, 0, 0}};
    const OType_Image f = Decode(BuildBmp(four));
    ASSERT_EQ(f.iGetLayers(), 3);
    EXPECT_EQ(f.GetPixel(0, 0, 0), 255);
    EXPECT_EQ(f.GetPixel(1, 0, 1), 255);
    EXPECT_EQ(f.GetPixel(2, 0, 0), 0);
    // An index past the palette's end is black, not a read beyond it.
    BmpSpec beyond{
        .width = 1, .height = 1, .bits = 8, .palette = {0x808080}, .pixels = {9, 0, 0, 0}};
    EXPECT_EQ(Decode(BuildBmp(beyond)).GetPixel(0, 0), 0);
    // The OS/2 core header with three-byte palette entries.
    BmpSpec core{.width = 2,
                 .height = 1,
                 .bits = 8,
                 .headerSize = 12,
                 .palette = {0x101010, 0x202020},
                 .pixels = {1, 0, 0, 0}};
    const OType_Image c = Decode(BuildBmp(core));
    EXPECT_EQ(c.GetPixel(0, 0), 0x20);
    EXPECT_EQ(c.GetPixel(1, 0), 0x10);
}

TEST(ImageCodecBmp, DirectColourKinds) {
    // 16 bits 5-6-5 through bit fields: pure red, pure green.
    BmpSpec f565{.width = 2,
                 .height = 1,
                 .bits = 16,
                 .compression = 3,
                 .masks = {0xF800, 0x07E0, 0x001F},
                 .pixels = {0x00, 0xF8, 0xE0, 0x07}};
    const OType_Image a = Decode(BuildBmp(f565));
    EXPECT_EQ(a.GetPixel(0, 0, 0), 255);
    EXPECT_EQ(a.GetPixel(0, 0, 1), 0);
    EXPECT_EQ(a.GetPixel(1, 0, 1), 255);
    // 16 bits without fields are 5-5-5: 0x7C00 is red, 0x001F blue; 0x4210 is mid grey.
    BmpSpec f555{
        .width = 3, .height = 1, .bits = 16, .pixels = {0x00, 0x7C, 0x1F, 0x00, 0x10, 0x42, 0, 0}};
    const OType_Image b = Decode(BuildBmp(f555));
    EXPECT_EQ(b.GetPixel(0, 0, 0), 255);
    EXPECT_EQ(b.GetPixel(1, 0, 2), 255);
    EXPECT_EQ(b.GetPixel(2, 0, 1), 132);  // 16 of 31 levels
    // 32 bits B, G, R, X; top-down rows.
    BmpSpec f32{.width = 1, .height = -2, .bits = 32, .pixels = {1, 2, 3, 0, 4, 5, 6, 0}};
    const OType_Image d = Decode(BuildBmp(f32));
    EXPECT_EQ((std::vector<int>{d.GetPixel(0, 0, 0), d.GetPixel(0, 0, 1), d.GetPixel(0, 0, 2)}),
              (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(d.GetPixel(0, 1, 0), 6);
}

TEST(ImageCodecBmp, RunLengthCompressedPictures) {
    const std::vector<uint32_t> greys = {0x000000, 0x404040, 0x808080, 0xC0C0C0, 0xFFFFFF};
    // RLE8, 4 x 3: bottom row "3 x index 1" then a pixel left out; end of line; a move from
    // (0, 1) to (1, 2); an absolute run of three pixels (padded) on the top row; end.
    BmpSpec rle8{.width = 4,
                 .height = 3,
                 .bits = 8,
                 .compression = 1,
                 .palette = greys,
                 .pixels = {3, 1, 0, 0, 0, 2, 1, 1, 0, 3, 4, 2, 3, 0, 0, 1}};
    const OType_Image a = Decode(BuildBmp(rle8));
    ASSERT_EQ(a.iGetLayers(), 1);
    EXPECT_EQ(a.GetPixel(0, 2), 0x40);
    EXPECT_EQ(a.GetPixel(2, 2), 0x40);
    EXPECT_EQ(a.GetPixel(3, 2), 0);  // left out: index 0
    EXPECT_EQ(a.GetPixel(0, 1), 0);  // the skipped middle row
    EXPECT_EQ(a.GetPixel(0, 0), 0);  // the move went to x 1 of the top row
    EXPECT_EQ(a.GetPixel(1, 0), 0xFF);
    EXPECT_EQ(a.GetPixel(2, 0), 0x80);
    EXPECT_EQ(a.GetPixel(3, 0), 0xC0);
    // RLE4: a run of 5 alternating 1, 2 then an absolute run 3, 4, 1 on one row of 8.
    BmpSpec rle4{.width = 8,
                 .height = 1,
                 .bits = 4,
                 .compression = 2,
                 .palette = greys,
                 .pixels = {5, 0x12, 0, 3, 0x34, 0x10, 0, 1}};
    const OType_Image b = Decode(BuildBmp(rle4));
    const std::vector<int> expected = {0x40, 0x80, 0x40, 0x80, 0x40, 0xC0, 0xFF, 0x40};
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(b.GetPixel(x, 0), expected[static_cast<size_t>(x)]) << x;
    // Runs past the right edge are clipped, not written into the next row.
    BmpSpec wide{.width = 2,
                 .height = 2,
                 .bits = 8,
                 .compression = 1,
                 .palette = greys,
                 .pixels = {9, 4, 0, 1}};
    const OType_Image c = Decode(BuildBmp(wide));
    EXPECT_EQ(c.GetPixel(0, 1), 0xFF);
    EXPECT_EQ(c.GetPixel(0, 0), 0);
}

TEST(ImageCodecBmp, DamagedAndHostileFilesAreRefused) {
    // Rows of 12 bytes need no padding, so every shorter prefix lacks pixels: all are refused.
    const Bytes good = ImageCodec::EncodeBmp(ColourPattern(4, 4));
    for (size_t n = 0; n < good.size(); ++n) {
        OType_Image img;
        std::string error;
        EXPECT_FALSE(ImageCodec::bDecodeBmp(
            Bytes(good.begin(), good.begin() + static_cast<long>(n)), img, error))
            << n;
        EXPECT_TRUE(img.bIsEmpty());
    }
    BmpSpec zero{.width = 0, .height = 4, .bits = 24, .pixels = Bytes(16)};
    EXPECT_NE(Refusal(BuildBmp(zero)).find("no pixels"), std::string::npos);
    // A header that claims 60000 x 60000 is refused by size, before any allocation.
    BmpSpec huge{.width = 60000, .height = 60000, .bits = 24, .pixels = Bytes(16)};
    EXPECT_NE(Refusal(BuildBmp(huge)).find("too large"), std::string::npos);
    BmpSpec hugeRle{.width = 16000,
                    .height = 16000,
                    .bits = 8,
                    .compression = 1,
                    .palette = {0},
                    .pixels = {0, 1}};
    EXPECT_NE(Refusal(BuildBmp(hugeRle)).find("too large"), std::string::npos);
    // Embedded JPEG compression, 2 bits per pixel, a palette image without palette.
    EXPECT_NE(
        Refusal(
            BuildBmp({.width = 1, .height = 1, .bits = 24, .compression = 4, .pixels = Bytes(4)}))
            .find("not supported"),
        std::string::npos);
    Refusal(BuildBmp({.width = 1, .height = 1, .bits = 2, .pixels = Bytes(4)}));
    EXPECT_NE(
        Refusal(BuildBmp({.width = 1, .height = 1, .bits = 8, .pixels = Bytes(4)})).find("palette"),
        std::string::npos);
    // Compressed data that ends without its end mark, and top-down compressed rows.
    Refusal(BuildBmp({.width = 4,
                      .height = 2,
                      .bits = 8,
                      .compression = 1,
                      .palette = {0},
                      .pixels = {2, 0, 0, 0}}));
    Refusal(BuildBmp(
        {.width = 4, .height = -2, .bits = 8, .compression = 1, .palette = {0}, .pixels = {0, 1}}));
    // A pixel offset beyond the file.
    Bytes pastEnd = good;
    Put32(pastEnd, 10, 100000);
    Refusal(pastEnd);
}

// ---------------------------------------------------------------- JPEG

TEST(ImageCodecJpeg, ColourAndGreyRoundTripClosely) {
    const OType_Image colour = SmoothColour(40, 30);
    const OType_Image c = Decode(JpegOf(colour));
    ASSERT_EQ(c.iGetLayers(), 3);
    ASSERT_EQ(c.iGetWidth(), 40);
    ASSERT_EQ(c.iGetHeight(), 30);
    EXPECT_LE(MaxDifference(c, colour), 6);
    OType_Image grey(17, 9, 1);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 17; ++x)
            grey.SetPixel(x, y, 0, static_cast<uint8_t>(100 + 3 * x + y));
    const OType_Image g = Decode(JpegOf(grey));
    ASSERT_EQ(g.iGetLayers(), 1);
    EXPECT_LE(MaxDifference(g, grey), 4);
    // Lower quality gives fewer bytes.
    EXPECT_LT(JpegOf(colour, 20).size(), JpegOf(colour, 95).size());
}

TEST(ImageCodecJpeg, AdobeCmykBecomesRgb) {
    // Adobe stores CMYK inverted: (255, 0, 0, 255) is no cyan, full magenta and yellow, no
    // black: red.
    const uint8_t red[4] = {255, 0, 0, 255};
    const OType_Image img = Decode(CmykJpeg(8, 8, red));
    ASSERT_EQ(img.iGetLayers(), 3);
    EXPECT_GE(img.GetPixel(3, 3, 0), 250);
    EXPECT_LE(img.GetPixel(3, 3, 1), 5);
    EXPECT_LE(img.GetPixel(3, 3, 2), 5);
}

TEST(ImageCodecJpeg, TruncatedDamagedAndHugePicturesAreRefused) {
    const Bytes good = JpegOf(SmoothColour(64, 64));
    for (size_t n : {size_t{3}, size_t{20}, good.size() / 3, good.size() / 2, good.size() - 2}) {
        Refusal(Bytes(good.begin(), good.begin() + static_cast<long>(n)));
    }
    Bytes huge = good;
    SetJpegSize(huge, 60000, 60000);
    EXPECT_NE(Refusal(huge).find("too large"), std::string::npos);
    Bytes zero = good;
    SetJpegSize(zero, 0, 64);
    Refusal(zero);
    // 12-bit samples are not what an 8-bit camera image can hold.
    Bytes twelveBits = good;
    for (size_t i = 2; i + 4 < twelveBits.size(); ++i) {
        if (twelveBits[i] == 0xFF && twelveBits[i + 1] == 0xC0) {
            twelveBits[i + 4] = 12;
            break;
        }
    }
    Refusal(twelveBits);
    OType_Image empty;
    Bytes out;
    std::string error;
    EXPECT_FALSE(ImageCodec::bEncodeJpeg(empty, 90, out, error));
}

// ---------------------------------------------------------------- PNG

TEST(ImageCodecPng, GreyColourAndTransparency) {
    const OType_Image grey = GreyPattern(6, 5);
    EXPECT_EQ(Decode(PngOf(grey)), grey);
    const OType_Image colour = ColourPattern(7, 3);
    EXPECT_EQ(Decode(PngOf(colour)), colour);
    // RGBA: an opaque blue pixel and a fully transparent one, which becomes white.
    OType_Image two(2, 1, 3);
    const Bytes rgba = {0, 0, 255, 255, 10, 20, 30, 0};
    const OType_Image t = Decode(WritePng(two, PNG_FORMAT_RGBA, rgba));
    ASSERT_EQ(t.iGetLayers(), 3);
    EXPECT_EQ((std::vector<int>{t.GetPixel(0, 0, 0), t.GetPixel(0, 0, 2)}),
              (std::vector<int>{0, 255}));
    EXPECT_EQ((std::vector<int>{t.GetPixel(1, 0, 0), t.GetPixel(1, 0, 1), t.GetPixel(1, 0, 2)}),
              (std::vector<int>{255, 255, 255}));
    // Grey with alpha stays grey.
    OType_Image ga(1, 1, 1);
    EXPECT_EQ(Decode(WritePng(ga, PNG_FORMAT_GA, {90, 255})).iGetLayers(), 1);
}

TEST(ImageCodecPng, TruncatedCorruptedAndHugePicturesAreRefused) {
    const Bytes good = PngOf(ColourPattern(20, 20));
    for (size_t n : {size_t{8}, size_t{20}, size_t{33}, good.size() / 2, good.size() - 13}) {
        Refusal(Bytes(good.begin(), good.begin() + static_cast<long>(n)));
    }
    Bytes crc = good;
    crc[good.size() / 2] ^= 0x55;  // inside the image data chunk: its checksum no longer fits
    Refusal(crc);
    Bytes huge = good;
    SetPngSize(huge, 20000, 20000);
    EXPECT_NE(Refusal(huge).find("too large"), std::string::npos);
}

// ---------------------------------------------------------------- files and dispatch

TEST(ImageCodec, FilesAreReadByContentWithClearErrors) {
    TempDir dir;
    auto write = [&](const std::string& name, const Bytes& bytes) {
        std::ofstream(dir / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return dir / name;
    };
    const OType_Image grey = GreyPattern(9, 4);
    OType_Image img;
    std::string error;
    // A PNG named .bmp still reads: the content decides.
    EXPECT_TRUE(ImageCodec::bLoadFile(write("named.bmp", PngOf(grey)), img, error)) << error;
    EXPECT_EQ(img, grey);
    EXPECT_FALSE(ImageCodec::bLoadFile(dir / "missing.png", img, error));
    EXPECT_TRUE(img.bIsEmpty());
    EXPECT_NE(error.find("missing.png"), std::string::npos);
    EXPECT_FALSE(ImageCodec::bLoadFile(write("empty.jpg", {}), img, error));
    EXPECT_NE(error.find("empty"), std::string::npos);
    EXPECT_FALSE(ImageCodec::bLoadFile(write("text.png", {'h', 'e', 'l', 'l', 'o'}), img, error));
    EXPECT_NE(error.find("text.png"), std::string::npos);
    EXPECT_FALSE(ImageCodec::bLoadFile(dir.Path(), img, error));  // a folder
}

TEST(ImageCodec, EncodeDispatchesByFormat) {
    const OType_Image colour = ColourPattern(4, 4);
    Bytes bytes;
    std::string error;
    ASSERT_TRUE(ImageCodec::bEncode(colour, ImageCodec::Format::Bmp, bytes, error));
    EXPECT_EQ(Decode(bytes), colour);
    ASSERT_TRUE(ImageCodec::bEncode(colour, ImageCodec::Format::Jpeg, bytes, error));
    EXPECT_EQ(ImageCodec::DetectFormat(bytes), ImageCodec::Format::Jpeg);
    EXPECT_FALSE(ImageCodec::bEncode(colour, ImageCodec::Format::Png, bytes, error));
    EXPECT_FALSE(ImageCodec::bEncode(OType_Image(), ImageCodec::Format::Bmp, bytes, error));
}
