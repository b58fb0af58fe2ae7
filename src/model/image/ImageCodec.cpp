#include "model/image/ImageCodec.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <system_error>

namespace ImageCodec {

Format DetectFormat(std::span<const uint8_t> bytes) {
    static constexpr uint8_t kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') return Format::Bmp;
    if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) {
        return Format::Jpeg;
    }
    if (bytes.size() >= 8 && std::equal(kPng, kPng + 8, bytes.begin())) return Format::Png;
    return Format::Unknown;
}

Format FormatFromFileName(const std::filesystem::path& path) {
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == ".bmp") return Format::Bmp;
    if (ext == ".jpg" || ext == ".jpeg") return Format::Jpeg;
    if (ext == ".png") return Format::Png;
    return Format::Unknown;
}

std::string_view FormatName(Format format) {
    switch (format) {
        case Format::Bmp:
            return "BMP";
        case Format::Jpeg:
            return "JPEG";
        case Format::Png:
            return "PNG";
        case Format::Unknown:
            break;
    }
    return "unknown";
}

bool bCheckSize(int64_t width, int64_t height, std::string& error) {
    if (width <= 0 || height <= 0) {
        error = "The picture has no pixels (" + std::to_string(width) + " x " +
                std::to_string(height) + ").";
        return false;
    }
    if (width > OType_Image::kMaxSide || height > OType_Image::kMaxSide ||
        static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > kMaxPixels) {
        error = "The picture is too large (" + std::to_string(width) + " x " +
                std::to_string(height) + " pixels; at most " +
                std::to_string(OType_Image::kMaxSide) + " per side and " +
                std::to_string(kMaxPixels / (1024 * 1024)) + " megapixels).";
        return false;
    }
    return true;
}

bool bDecode(std::span<const uint8_t> bytes, OType_Image& image, std::string& error) {
    switch (DetectFormat(bytes)) {
        case Format::Bmp:
            return bDecodeBmp(bytes, image, error);
        case Format::Jpeg:
            return bDecodeJpeg(bytes, image, error);
        case Format::Png:
            return bDecodePng(bytes, image, error);
        case Format::Unknown:
            break;
    }
    image = OType_Image();
    error = bytes.empty() ? "The file is empty." : "The file is not a BMP, JPEG or PNG picture.";
    return false;
}

bool bLoadFile(const std::filesystem::path& path, OType_Image& image, std::string& error) {
    image = OType_Image();
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) {
        error = "Cannot read " + path.string() + ": " + ec.message();
        return false;
    }
    if (size > kMaxFileBytes) {
        error = "Cannot read " + path.string() + ": the file is too large.";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (!in ||
        !in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
        error = "Cannot read " + path.string() + ".";
        return false;
    }
    if (!bDecode(bytes, image, error)) {
        error = path.filename().string() + ": " + error;
        return false;
    }
    return true;
}

bool bEncode(const OType_Image& image, Format format, std::vector<uint8_t>& bytes,
             std::string& error, int jpegQuality) {
    bytes.clear();
    if (image.bIsEmpty()) {
        error = "The image is empty.";
        return false;
    }
    switch (format) {
        case Format::Bmp:
            bytes = EncodeBmp(image);
            return true;
        case Format::Jpeg:
            return bEncodeJpeg(image, jpegQuality, bytes, error);
        case Format::Png:
        case Format::Unknown:
            break;
    }
    error = "Images are written as BMP or JPEG only.";
    return false;
}

}  // namespace ImageCodec
