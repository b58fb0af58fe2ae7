#include "sim/OSimPartFactory.h"

#include <algorithm>
#include <cmath>

#include <ZXing/BarcodeFormat.h>
#include <ZXing/BitMatrix.h>
#include <ZXing/MultiFormatWriter.h>
#include <opencv2/imgproc.hpp>

#include "sim/OSimShapes.h"
#include "tools/kvt/OKvtPartImage.h"

namespace {

struct ORgb {
    uint8_t r, g, b;
};

ORgb TypeColour(int type) {
    static constexpr ORgb kColours[] = {{190, 50, 40},  {40, 150, 60},  {50, 70, 180},
                                        {200, 160, 30}, {140, 60, 160}, {30, 150, 160}};
    return kColours[static_cast<size_t>(std::max(0, type - 1)) % std::size(kColours)];
}

constexpr uint8_t kInk = 20;

// Prints `text` as a data-matrix code with modules of `module` pixels, its top-left corner
// at (x, y), on a white field with a quiet zone of two modules.
void PrintCode(cv::Mat& image, const std::string& text, int x, int y, int module) {
    const ZXing::BitMatrix code =
        ZXing::MultiFormatWriter(ZXing::BarcodeFormat::DataMatrix).setMargin(0).encode(text, 0, 0);
    const cv::Scalar white = image.channels() == 3 ? cv::Scalar(255, 255, 255) : cv::Scalar(255);
    const cv::Scalar ink = image.channels() == 3 ? cv::Scalar(kInk, kInk, kInk) : cv::Scalar(kInk);
    const int quiet = 2 * module;
    cv::rectangle(
        image,
        cv::Rect(x, y, code.width() * module + 2 * quiet, code.height() * module + 2 * quiet),
        white, cv::FILLED);
    for (int r = 0; r < code.height(); ++r)
        for (int c = 0; c < code.width(); ++c)
            if (code.get(c, r))
                cv::rectangle(
                    image, cv::Rect(x + quiet + c * module, y + quiet + r * module, module, module),
                    ink, cv::FILLED);
}

// Prints a line of text with its baseline at (x, y).
void PrintText(cv::Mat& image, const std::string& text, int x, int y, double scale) {
    const cv::Scalar ink = image.channels() == 3 ? cv::Scalar(kInk, kInk, kInk) : cv::Scalar(kInk);
    cv::putText(image, text, cv::Point(x, y), cv::FONT_HERSHEY_SIMPLEX, scale, ink,
                std::max(1, static_cast<int>(std::lround(2 * scale))), cv::LINE_AA);
}

}  // namespace

std::string OSimPartFactory::CodeText(int type) {
    return "KVT-" + std::to_string(type);
}

std::string OSimPartFactory::LabelText(int type) {
    return "TYPE " + std::to_string(type) + " LOT 4711";
}

OSimPartFactory::OSimPartFactory(OSimPartGeometry geometry, bool variation, uint32_t seed)
    : m_geometry(geometry), m_variation(variation), m_random(seed) {}

double OSimPartFactory::Jitter(double amount) {
    if (!m_variation) return 0;
    return std::uniform_real_distribution<double>(-amount, amount)(m_random);
}

std::vector<std::vector<uint8_t>> OSimPartFactory::Mask(const OSimPartSpec& spec, int height) {
    const int shape = spec.type - 1;
    const double aspect = SimShapes::AspectRatio(shape);
    int h = std::max(8, static_cast<int>(std::lround(height * (1 + Jitter(0.03)))));
    int w = std::max(8, static_cast<int>(std::lround(height * aspect * (1 + Jitter(0.03)))));
    if (SimShapes::bSwapsAxes(spec.orientation)) std::swap(w, h);
    std::vector<std::vector<uint8_t>> mask(static_cast<size_t>(h),
                                           std::vector<uint8_t>(static_cast<size_t>(w)));
    for (int row = 0; row < h; ++row) {
        for (int col = 0; col < w; ++col) {
            double u = 0, v = 0;
            SimShapes::ToShape(spec.orientation, (col + 0.5) / w, (row + 0.5) / h, u, v);
            mask[static_cast<size_t>(row)][static_cast<size_t>(col)] =
                SimShapes::bInside(shape, u, v);
        }
    }
    if (m_variation) {
        // Ragged edges: now and then a boundary pixel flips.
        std::bernoulli_distribution flip(0.02);
        for (int row = 1; row + 1 < h; ++row) {
            for (int col = 1; col + 1 < w; ++col) {
                auto& m = mask[static_cast<size_t>(row)];
                if (m[static_cast<size_t>(col)] != m[static_cast<size_t>(col + 1)] &&
                    flip(m_random))
                    m[static_cast<size_t>(col)] = !m[static_cast<size_t>(col)];
            }
        }
    }
    return mask;
}

std::vector<int16_t> OSimPartFactory::RunsOfMask(const std::vector<std::vector<uint8_t>>& mask,
                                                 int baseRow) {
    std::vector<int16_t> runs;
    const int h = static_cast<int>(mask.size());
    const int w = h ? static_cast<int>(mask[0].size()) : 0;
    for (int col = 0; col < w; ++col) {
        const size_t columnStart = runs.size();
        for (int row = 0; row < h;) {
            if (!mask[static_cast<size_t>(row)][static_cast<size_t>(col)]) {
                ++row;
                continue;
            }
            const int start = row;
            while (row < h && mask[static_cast<size_t>(row)][static_cast<size_t>(col)])
                ++row;
            runs.push_back(static_cast<int16_t>(baseRow + start));
            runs.push_back(static_cast<int16_t>(baseRow + row));
        }
        if (runs.size() == columnStart) {
            runs.push_back(1);
            runs.push_back(-1);
        } else {
            runs.back() = static_cast<int16_t>(-runs.back());
        }
    }
    // A contour starts at its first column with material and ends at its last.
    size_t first = 0;
    while (first + 1 < runs.size() && runs[first] == 1 && runs[first + 1] == -1)
        first += 2;
    size_t end = runs.size();
    while (end >= first + 2 && runs[end - 2] == 1 && runs[end - 1] == -1)
        end -= 2;
    return {runs.begin() + static_cast<std::ptrdiff_t>(first),
            runs.begin() + static_cast<std::ptrdiff_t>(end)};
}

std::vector<int16_t> OSimPartFactory::Contour(const OSimPartSpec& spec) {
    const int rows = std::clamp(m_geometry.contourHeight, 32, 4096);
    const auto mask = Mask(spec, rows * 3 / 10);
    const int height = static_cast<int>(mask.size());
    const int spare = rows - height - 2;
    const int base = std::max(1, spare / 2 + static_cast<int>(std::lround(Jitter(spare / 4.0))));
    return RunsOfMask(mask, base);
}

OType_Image OSimPartFactory::Image(const OSimPartSpec& spec) {
    const int w = m_geometry.imageWidth;
    const int h = m_geometry.imageHeight;
    const int layers = m_geometry.imageLayers == 3 ? 3 : 1;
    OType_Image image(w, h, layers);
    if (image.bIsEmpty()) return image;
    const ORgb background{214, 214, 204};
    const ORgb colour = layers == 3 ? TypeColour(spec.type) : ORgb{48, 48, 48};
    auto pixels = image.Pixels();
    for (size_t i = 0; i < pixels.size(); i += static_cast<size_t>(layers)) {
        if (layers == 3) {
            pixels[i] = background.r;
            pixels[i + 1] = background.g;
            pixels[i + 2] = background.b;
        } else {
            pixels[i] = background.g;
        }
    }
    // A third of the image: room for the label in the corners in every orientation.
    const auto mask = Mask(spec, std::min(w, h) / 3);
    const int mh = static_cast<int>(mask.size());
    const int mw = mh ? static_cast<int>(mask[0].size()) : 0;
    const int x0 = std::max(0, (w - mw) / 2 + static_cast<int>(std::lround(Jitter(w / 10.0))));
    const int y0 = std::max(0, (h - mh) / 2 + static_cast<int>(std::lround(Jitter(h / 10.0))));
    std::uniform_int_distribution<int> noise(-6, 6);
    for (int row = 0; row < mh && y0 + row < h; ++row) {
        // Image rows run downwards, mask rows upwards.
        const int y = y0 + (mh - 1 - row);
        for (int col = 0; col < mw && x0 + col < w; ++col) {
            if (!mask[static_cast<size_t>(row)][static_cast<size_t>(col)]) continue;
            const int n = m_variation ? noise(m_random) : 0;
            auto level = [n](uint8_t c) { return static_cast<uint8_t>(std::clamp(c + n, 0, 255)); };
            if (layers == 3) {
                image.SetPixel(x0 + col, y, 0, level(colour.r));
                image.SetPixel(x0 + col, y, 1, level(colour.g));
                image.SetPixel(x0 + col, y, 2, level(colour.b));
            } else {
                image.SetPixel(x0 + col, y, 0, level(colour.g));
            }
        }
    }
    // The label beside the part: in the corners the part never reaches.
    cv::Mat view = KvtImage::View(image);
    const double scale = std::min(w, h) / 480.0;
    const int module = std::max(2, static_cast<int>(std::lround(4 * scale)));
    PrintCode(view, CodeText(spec.type), std::max(1, w / 40), std::max(1, h / 60), module);
    PrintText(view, LabelText(spec.type), std::max(1, w / 40), h - std::max(4, h / 40),
              0.8 * scale);
    return image;
}
