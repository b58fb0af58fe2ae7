// The image codecs of the model library: camera images (OType_Image) from and to BMP, JPEG
// and PNG files. BMP is read and written here; JPEG goes through libjpeg-turbo, PNG is read
// with libpng. Every decoder takes untrusted bytes: the header is checked against the size
// limits below before any pixel memory is allocated, damaged or truncated data is refused
// with a message, and a refused image is left empty.
//
// Decoded images keep their kind: grey pictures (8-bit grey, grey palettes, grey PNG) give
// one layer, everything else three layers in R, G, B order. Alpha channels are composed
// onto white. Writing a one-layer image gives an 8-bit grey BMP or JPEG, a three-layer image
// a 24-bit BMP or a colour JPEG.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/part/OType_Image.h"

namespace ImageCodec {

enum class Format { Unknown, Bmp, Jpeg, Png };

// The largest picture a decoder accepts: each side at most OType_Image::kMaxSide and at most
// this many pixels in all (a 64-megapixel photo still reads; a header that claims more is
// refused before anything is allocated).
inline constexpr uint64_t kMaxPixels = uint64_t{64} * 1024 * 1024;
// Files larger than this are refused before they are read.
inline constexpr uint64_t kMaxFileBytes = uint64_t{512} * 1024 * 1024;
inline constexpr int kDefaultJpegQuality = 90;

// The format of encoded bytes, told by their signature.
Format DetectFormat(std::span<const uint8_t> bytes);
// The format a file name asks for by its extension (".bmp", ".jpg", ".jpeg", ".png", any
// case); Unknown for anything else.
Format FormatFromFileName(const std::filesystem::path& path);
// "BMP", "JPEG", "PNG" or "unknown".
std::string_view FormatName(Format format);

// Whether a picture of this size may be decoded (sides 1 ... kMaxSide, pixels up to
// kMaxPixels); `error` says why not.
bool bCheckSize(int64_t width, int64_t height, std::string& error);

// Decodes a BMP, JPEG or PNG picture (told by its signature). On failure `image` is empty and
// `error` says why. The image position is (0, 0).
bool bDecode(std::span<const uint8_t> bytes, OType_Image& image, std::string& error);
bool bDecodeBmp(std::span<const uint8_t> bytes, OType_Image& image, std::string& error);
bool bDecodeJpeg(std::span<const uint8_t> bytes, OType_Image& image, std::string& error);
bool bDecodePng(std::span<const uint8_t> bytes, OType_Image& image, std::string& error);

// Reads a picture file of any of the three formats (told by its content, not its name).
bool bLoadFile(const std::filesystem::path& path, OType_Image& image, std::string& error);

// Encodes the image as BMP (8-bit grey with a grey palette, or 24-bit colour, rows bottom
// up). An empty image gives no bytes.
std::vector<uint8_t> EncodeBmp(const OType_Image& image);
// Encodes the image as baseline JPEG of the given quality (1 ... 100, clamped). False with
// `error` for an empty image.
bool bEncodeJpeg(const OType_Image& image, int quality, std::vector<uint8_t>& bytes,
                 std::string& error);
// BMP or JPEG as `format` says (PNG is not written; false with `error`).
bool bEncode(const OType_Image& image, Format format, std::vector<uint8_t>& bytes,
             std::string& error, int jpegQuality = kDefaultJpegQuality);

}  // namespace ImageCodec
