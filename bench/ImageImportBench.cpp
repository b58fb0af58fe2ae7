// Camera image import: the contour of a 1280 x 1024 picture by thresholding (grey and
// colour), beside a plain read of every pixel, and decoding that picture from BMP, JPEG and
// PNG files in memory.
#include <benchmark/benchmark.h>
#include <png.h>

#include <cstring>

#include "extraction/OImageContour.h"
#include "model/image/ImageCodec.h"

namespace {

// A lit belt with a dark part: a plate with two holes and a notch, some noise.
OType_Image PartPicture(int layers) {
    OType_Image img(1280, 1024, layers);
    uint32_t noise = 12345;
    for (int y = 0; y < 1024; ++y)
        for (int x = 0; x < 1280; ++x) {
            noise = noise * 1664525u + 1013904223u;
            const double dx1 = (x - 520) / 70.0, dy1 = (y - 500) / 70.0;
            const double dx2 = (x - 820) / 50.0, dy2 = (y - 560) / 50.0;
            const bool plate = x > 300 && x < 1000 && y > 300 && y < 760 && !(x > 900 && y < 420);
            const bool hole = dx1 * dx1 + dy1 * dy1 < 1 || dx2 * dx2 + dy2 * dy2 < 1;
            const int base = plate && !hole ? 40 : 210;
            for (int l = 0; l < layers; ++l)
                img.SetPixel(x, y, l, static_cast<uint8_t>(base + (noise >> 28) + 4 * l));
        }
    return img;
}

void BM_ContourFromImage(benchmark::State& state) {
    const OType_Image img = PartPicture(static_cast<int>(state.range(0)));
    const OImageThreshold threshold{0, 0, 127};
    size_t values = 0;
    for (auto _ : state) {
        auto runs = ImageContour::FromImage(img, threshold);
        values = runs.size();
        benchmark::DoNotOptimize(runs.data());
    }
    state.counters["run_values"] = static_cast<double>(values);
    state.SetItemsProcessed(state.iterations() * 1280 * 1024);
}
BENCHMARK(BM_ContourFromImage)->Arg(1)->Arg(3)->Unit(benchmark::kMicrosecond);

// What reading every pixel once costs, for scale.
void BM_ReadEveryPixel(benchmark::State& state) {
    const OType_Image img = PartPicture(1);
    for (auto _ : state) {
        uint32_t sum = 0;
        for (uint8_t v : img.Pixels())
            sum += v;
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 1280 * 1024);
}
BENCHMARK(BM_ReadEveryPixel)->Unit(benchmark::kMicrosecond);

std::vector<uint8_t> Encoded(const OType_Image& img, int format) {
    std::vector<uint8_t> bytes;
    std::string error;
    if (format == 0) return ImageCodec::EncodeBmp(img);
    if (format == 1) {
        ImageCodec::bEncodeJpeg(img, 90, bytes, error);
        return bytes;
    }
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = 1280;
    png.height = 1024;
    png.format = img.iGetLayers() == 1 ? PNG_FORMAT_GRAY : PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&png, nullptr, &size, 0, img.Pixels().data(), 0, nullptr);
    bytes.resize(size);
    png_image_write_to_memory(&png, bytes.data(), &size, 0, img.Pixels().data(), 0, nullptr);
    bytes.resize(size);
    return bytes;
}

// Arguments: format (0 BMP, 1 JPEG, 2 PNG), layers.
void BM_DecodePicture(benchmark::State& state) {
    const std::vector<uint8_t> bytes =
        Encoded(PartPicture(static_cast<int>(state.range(1))), static_cast<int>(state.range(0)));
    for (auto _ : state) {
        OType_Image img;
        std::string error;
        if (!ImageCodec::bDecode(bytes, img, error)) state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(img.Pixels().data());
    }
    state.counters["file_bytes"] = static_cast<double>(bytes.size());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_DecodePicture)
    ->ArgsProduct({{0, 1, 2}, {1, 3}})
    ->ArgNames({"format", "layers"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
