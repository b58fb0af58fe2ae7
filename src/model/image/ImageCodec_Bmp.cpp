// BMP reading and writing. Read: the OS/2 core header and the Windows headers of 40 bytes and
// more; 1, 4 and 8 bits with a palette (also RLE4 and RLE8 compressed), 16 and 32 bits with
// the default or explicit bit fields, 24 bits; bottom-up and top-down rows. Written: 8-bit
// grey with a grey palette or 24-bit colour, bottom-up, with a 40-byte header.
#include <array>
#include <cstring>

#include "model/image/ImageCodec.h"

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;

uint16_t Le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}
uint32_t Le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
void Put16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, static_cast<uint16_t>(v));
    Put16(out, static_cast<uint16_t>(v >> 16));
}

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
};

// One colour channel of a bit-field pixel, scaled to 0 ... 255.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t maximum = 0;

    explicit Channel(uint32_t m) : mask(m) {
        if (mask == 0) return;
        while (((mask >> shift) & 1u) == 0)
            ++shift;
        maximum = mask >> shift;
    }
    uint8_t operator()(uint32_t pixel) const {
        if (maximum == 0) return 0;
        const uint64_t v = (pixel & mask) >> shift;
        return static_cast<uint8_t>((v * 255 + maximum / 2) / maximum);
    }
};

struct Header {
    int64_t width = 0;
    int64_t height = 0;  // positive; topDown says the row order
    bool topDown = false;
    int bitCount = 0;
    uint32_t compression = kRgb;
    uint32_t colorsUsed = 0;
    std::array<uint32_t, 3> masks{};
    size_t paletteStart = 0;
    size_t paletteEntrySize = 4;
    size_t pixelStart = 0;
};

bool bFail(std::string& error, std::string text) {
    error = std::move(text);
    return false;
}

bool bReadHeader(std::span<const uint8_t> bytes, Header& h, std::string& error) {
    if (bytes.size() < kFileHeaderSize + 4) return bFail(error, "The BMP file is truncated.");
    const uint8_t* p = bytes.data();
    h.pixelStart = Le32(p + 10);
    const uint32_t headerSize = Le32(p + 14);
    if (headerSize != kCoreHeaderSize && headerSize < kInfoHeaderSize) {
        return bFail(error, "The BMP header is of an unknown kind.");
    }
    if (bytes.size() < kFileHeaderSize + static_cast<uint64_t>(headerSize)) {
        return bFail(error, "The BMP file is truncated.");
    }
    int64_t rawHeight = 0;
    if (headerSize == kCoreHeaderSize) {
        h.width = Le16(p + 18);
        rawHeight = Le16(p + 20);
        h.bitCount = Le16(p + 24);
        h.paletteEntrySize = 3;
        h.paletteStart = kFileHeaderSize + kCoreHeaderSize;
    } else {
        h.width = static_cast<int32_t>(Le32(p + 18));
        rawHeight = static_cast<int32_t>(Le32(p + 22));
        h.bitCount = Le16(p + 28);
        h.compression = Le32(p + 30);
        h.colorsUsed = Le32(p + 46);
        h.paletteStart = kFileHeaderSize + headerSize;
        if (h.compression == kBitFields || h.compression == kAlphaBitFields) {
            // The masks follow a 40-byte header and lie inside the longer ones, at one place.
            const size_t maskBytes = h.compression == kBitFields ? 12 : 16;
            if (headerSize == kInfoHeaderSize) h.paletteStart += maskBytes;
            if (bytes.size() < kFileHeaderSize + kInfoHeaderSize + 12) {
                return bFail(error, "The BMP file is truncated.");
            }
            for (size_t i = 0; i < 3; ++i)
                h.masks[i] = Le32(p + kFileHeaderSize + kInfoHeaderSize + 4 * i);
        }
    }
    h.topDown = rawHeight < 0;
    h.height = rawHeight < 0 ? -rawHeight : rawHeight;

    const bool palette = h.bitCount == 1 || h.bitCount == 4 || h.bitCount == 8;
    const bool fields = h.compression == kBitFields || h.compression == kAlphaBitFields;
    const bool known = (h.compression == kRgb &&
                        (palette || h.bitCount == 16 || h.bitCount == 24 || h.bitCount == 32)) ||
                       (h.compression == kRle8 && h.bitCount == 8) ||
                       (h.compression == kRle4 && h.bitCount == 4) ||
                       (fields && (h.bitCount == 16 || h.bitCount == 32));
    if (!known) {
        return bFail(error, "The BMP file uses " + std::to_string(h.bitCount) +
                                " bits per pixel with compression " +
                                std::to_string(h.compression) + ", which is not supported.");
    }
    if ((h.compression == kRle8 || h.compression == kRle4) && h.topDown) {
        return bFail(error, "The BMP file is damaged: compressed rows cannot run top-down.");
    }
    if (!ImageCodec::bCheckSize(h.width, h.height, error)) return false;
    if (h.pixelStart >= bytes.size()) return bFail(error, "The BMP file has no pixel data.");
    return true;
}

// The palette entries that lie in the file; at least one for palette images.
bool bReadPalette(std::span<const uint8_t> bytes, const Header& h, std::vector<Rgb>& palette,
                  std::string& error) {
    if (h.bitCount > 8) return true;
    uint64_t wanted = uint64_t{1} << h.bitCount;
    if (h.colorsUsed != 0 && h.colorsUsed < wanted) wanted = h.colorsUsed;
    const size_t end = std::min(bytes.size(), std::max(h.pixelStart, h.paletteStart));
    const uint64_t present = end > h.paletteStart ? (end - h.paletteStart) / h.paletteEntrySize : 0;
    const uint64_t count = std::min(wanted, present);
    if (count == 0) return bFail(error, "The BMP file is damaged: its palette is missing.");
    palette.resize(static_cast<size_t>(count));
    for (size_t i = 0; i < palette.size(); ++i) {
        const uint8_t* e = bytes.data() + h.paletteStart + i * h.paletteEntrySize;
        palette[i] = {e[2], e[1], e[0]};
    }
    return true;
}

bool bIsGrey(const std::vector<Rgb>& palette) {
    for (const Rgb& c : palette)
        if (c.r != c.g || c.g != c.b) return false;
    return true;
}

// Unpacks rows of palette indices (uncompressed, 1/4/8 bits) into one index per pixel,
// top row first.
bool bReadIndexRows(std::span<const uint8_t> bytes, const Header& h, std::vector<uint8_t>& indices,
                    std::string& error) {
    const uint64_t stride = (static_cast<uint64_t>(h.width) * h.bitCount + 31) / 32 * 4;
    const uint64_t rowBytes = (static_cast<uint64_t>(h.width) * h.bitCount + 7) / 8;
    if (h.pixelStart + stride * (h.height - 1) + rowBytes > bytes.size()) {
        return bFail(error, "The BMP file is truncated.");
    }
    const auto w = static_cast<size_t>(h.width);
    indices.assign(w * static_cast<size_t>(h.height), 0);
    const int perByte = 8 / h.bitCount;
    const uint8_t mask = static_cast<uint8_t>((1 << h.bitCount) - 1);
    for (int64_t row = 0; row < h.height; ++row) {
        const int64_t fileRow = h.topDown ? row : h.height - 1 - row;
        const uint8_t* src = bytes.data() + h.pixelStart + stride * static_cast<uint64_t>(fileRow);
        uint8_t* dst = indices.data() + static_cast<size_t>(row) * w;
        if (h.bitCount == 8) {
            std::memcpy(dst, src, w);
            continue;
        }
        for (size_t x = 0; x < w; ++x) {
            const int shift = 8 - h.bitCount * (1 + static_cast<int>(x % perByte));
            dst[x] = static_cast<uint8_t>((src[x / perByte] >> shift) & mask);
        }
    }
    return true;
}

// Decodes RLE8 or RLE4 data into indices (top row first). Pixels the data skips keep index 0.
bool bReadRleRows(std::span<const uint8_t> bytes, const Header& h, std::vector<uint8_t>& indices,
                  std::string& error) {
    const auto w = static_cast<int64_t>(h.width);
    indices.assign(static_cast<size_t>(w * h.height), 0);
    const bool four = h.compression == kRle4;
    size_t pos = h.pixelStart;
    int64_t x = 0, y = 0;  // y counts from the bottom row
    auto put = [&](uint8_t index) {
        if (x < w && y < h.height) {
            indices[static_cast<size_t>((h.height - 1 - y) * w + x)] = index;
        }
        ++x;
    };
    while (true) {
        if (pos + 2 > bytes.size()) return bFail(error, "The BMP file is truncated.");
        const uint8_t count = bytes[pos];
        const uint8_t value = bytes[pos + 1];
        pos += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i)
                put(four ? static_cast<uint8_t>(i % 2 == 0 ? value >> 4 : value & 15) : value);
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++y;
        } else if (value == 1) {  // end of picture
            return true;
        } else if (value == 2) {  // move right and up
            if (pos + 2 > bytes.size()) return bFail(error, "The BMP file is truncated.");
            x += bytes[pos];
            y += bytes[pos + 1];
            pos += 2;
        } else {  // `value` pixels stored as they are, padded to 16 bits
            const size_t dataBytes = four ? (value + 1u) / 2 : value;
            if (pos + dataBytes > bytes.size()) return bFail(error, "The BMP file is truncated.");
            for (int i = 0; i < value; ++i) {
                const uint8_t b = bytes[pos + static_cast<size_t>(four ? i / 2 : i)];
                put(four ? static_cast<uint8_t>(i % 2 == 0 ? b >> 4 : b & 15) : b);
            }
            pos += dataBytes + (dataBytes & 1);
        }
        if (y >= h.height) return true;  // everything after the last row is ignored
    }
}

bool bDecodePalette(std::span<const uint8_t> bytes, const Header& h, OType_Image& image,
                    std::string& error) {
    std::vector<Rgb> palette;
    std::vector<uint8_t> indices;
    if (!bReadPalette(bytes, h, palette, error)) return false;
    const bool rle = h.compression == kRle8 || h.compression == kRle4;
    if (!(rle ? bReadRleRows(bytes, h, indices, error) : bReadIndexRows(bytes, h, indices, error)))
        return false;
    palette.resize(256);  // indices beyond the file's palette are black
    const bool grey = bIsGrey(palette);
    image = OType_Image(static_cast<int>(h.width), static_cast<int>(h.height), grey ? 1 : 3);
    auto out = image.Pixels();
    for (size_t i = 0; i < indices.size(); ++i) {
        const Rgb& c = palette[indices[i]];
        if (grey) {
            out[i] = c.r;
        } else {
            out[3 * i] = c.r;
            out[3 * i + 1] = c.g;
            out[3 * i + 2] = c.b;
        }
    }
    return true;
}

bool bDecodeDirect(std::span<const uint8_t> bytes, const Header& h, OType_Image& image,
                   std::string& error) {
    const int bytesPerPixel = h.bitCount / 8;
    const uint64_t stride = (static_cast<uint64_t>(h.width) * h.bitCount + 31) / 32 * 4;
    const uint64_t rowBytes = static_cast<uint64_t>(h.width) * bytesPerPixel;
    if (h.pixelStart + stride * (h.height - 1) + rowBytes > bytes.size()) {
        return bFail(error, "The BMP file is truncated.");
    }
    std::array<uint32_t, 3> masks = h.masks;
    if (h.compression == kRgb && h.bitCount == 16) masks = {0x7C00, 0x03E0, 0x001F};
    if (h.compression == kRgb && h.bitCount == 32) masks = {0xFF0000, 0xFF00, 0xFF};
    const Channel r(masks[0]), g(masks[1]), b(masks[2]);
    image = OType_Image(static_cast<int>(h.width), static_cast<int>(h.height), 3);
    auto out = image.Pixels();
    const auto w = static_cast<size_t>(h.width);
    for (int64_t row = 0; row < h.height; ++row) {
        const int64_t fileRow = h.topDown ? row : h.height - 1 - row;
        const uint8_t* src = bytes.data() + h.pixelStart + stride * static_cast<uint64_t>(fileRow);
        uint8_t* dst = out.data() + static_cast<size_t>(row) * w * 3;
        for (size_t x = 0; x < w; ++x, src += bytesPerPixel, dst += 3) {
            if (h.bitCount == 24) {
                dst[0] = src[2];
                dst[1] = src[1];
                dst[2] = src[0];
                continue;
            }
            const uint32_t pixel = h.bitCount == 16 ? Le16(src) : Le32(src);
            dst[0] = r(pixel);
            dst[1] = g(pixel);
            dst[2] = b(pixel);
        }
    }
    return true;
}

}  // namespace

namespace ImageCodec {

bool bDecodeBmp(std::span<const uint8_t> bytes, OType_Image& image, std::string& error) {
    image = OType_Image();
    Header h;
    if (DetectFormat(bytes) != Format::Bmp) return bFail(error, "The file is not a BMP picture.");
    if (!bReadHeader(bytes, h, error)) return false;
    const bool ok = h.bitCount <= 8 ? bDecodePalette(bytes, h, image, error)
                                    : bDecodeDirect(bytes, h, image, error);
    if (!ok) image = OType_Image();
    return ok;
}

std::vector<uint8_t> EncodeBmp(const OType_Image& image) {
    std::vector<uint8_t> out;
    if (image.bIsEmpty()) return out;
    const bool grey = image.iGetLayers() == 1;
    const auto w = static_cast<uint32_t>(image.iGetWidth());
    const auto h = static_cast<uint32_t>(image.iGetHeight());
    const uint32_t stride = (w * (grey ? 1 : 3) + 3) & ~3u;
    const uint32_t paletteBytes = grey ? 256 * 4 : 0;
    const uint32_t pixelStart = kFileHeaderSize + kInfoHeaderSize + paletteBytes;
    const uint32_t imageBytes = stride * h;
    out.reserve(pixelStart + imageBytes);
    out.push_back('B');
    out.push_back('M');
    Put32(out, pixelStart + imageBytes);
    Put32(out, 0);
    Put32(out, pixelStart);
    Put32(out, kInfoHeaderSize);
    Put32(out, w);
    Put32(out, h);  // positive: rows bottom up
    Put16(out, 1);
    Put16(out, grey ? 8 : 24);
    Put32(out, kRgb);
    Put32(out, imageBytes);
    Put32(out, 2835);  // 72 dots per inch
    Put32(out, 2835);
    Put32(out, grey ? 256 : 0);
    Put32(out, 0);
    for (uint32_t i = 0; grey && i < 256; ++i) {
        const auto v = static_cast<uint8_t>(i);
        out.insert(out.end(), {v, v, v, 0});
    }
    const auto pixels = image.Pixels();
    const size_t rowLength = static_cast<size_t>(w) * (grey ? 1 : 3);
    for (uint32_t row = h; row-- > 0;) {
        const uint8_t* src = pixels.data() + row * rowLength;
        if (grey) {
            out.insert(out.end(), src, src + rowLength);
        } else {
            for (size_t x = 0; x < rowLength; x += 3)
                out.insert(out.end(), {src[x + 2], src[x + 1], src[x]});
        }
        out.resize(out.size() + (stride - rowLength), 0);
    }
    return out;
}

}  // namespace ImageCodec
