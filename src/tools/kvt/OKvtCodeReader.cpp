#include "tools/kvt/OKvtCodeReader.h"

#include <algorithm>
#include <cmath>

#include <opencv2/imgproc.hpp>

// zxing-cpp's text() gives UTF-8 with this set (its wide-string form is on its way out).
#define ZX_USE_UTF8 1
#include <ZXing/BitMatrix.h>
#include <ZXing/MultiFormatWriter.h>
#include <ZXing/ReadBarcode.h>

namespace KvtCode {
namespace {

// The one format of a symbology (a bar code of any kind is written as Code 128).
ZXing::BarcodeFormat FormatOf(Symbology s) {
    using F = ZXing::BarcodeFormat;
    switch (s) {
        case Symbology::DataMatrix:
            return F::DataMatrix;
        case Symbology::AnyLinear:
            return F::Code128;
        case Symbology::Code128:
            return F::Code128;
        case Symbology::Code39:
            return F::Code39;
        case Symbology::Ean13:
            return F::EAN13;
        case Symbology::Ean8:
            return F::EAN8;
        case Symbology::UpcA:
            return F::UPCA;
        case Symbology::Interleaved2of5:
            return F::ITF;
        case Symbology::Codabar:
            return F::Codabar;
        case Symbology::QrCode:
            return F::QRCode;
    }
    return F::DataMatrix;
}

ZXing::BarcodeFormats FormatsOf(Symbology s) {
    if (s == Symbology::AnyLinear) return ZXing::BarcodeFormat::LinearCodes;
    return FormatOf(s);
}

bool bIsLinear(Symbology s) {
    return s != Symbology::DataMatrix && s != Symbology::QrCode;
}

double Distance(const OPoint2& a, const OPoint2& b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

}  // namespace

std::string SymbologyName(Symbology s) {
    static const char* const kNames[kSymbologyCount] = {
        "Data matrix", "Any bar code", "Code 128",           "Code 39", "EAN-13",
        "EAN-8",       "UPC-A",        "Interleaved 2 of 5", "Codabar", "QR code"};
    const int i = static_cast<int>(s);
    return i >= 0 && i < kSymbologyCount ? kNames[i] : "";
}

double SymbolContrast(const cv::Mat& grey, const std::array<OPoint2, 4>& corners) {
    if (grey.empty()) return 0;
    std::vector<cv::Point> polygon;
    for (const OPoint2& p : corners)
        polygon.emplace_back(cvRound(p.x), cvRound(p.y));
    cv::Mat mask = cv::Mat::zeros(grey.size(), CV_8U);
    cv::fillConvexPoly(mask, polygon, cv::Scalar(255));
    std::vector<uint8_t> values;
    for (int y = 0; y < grey.rows; ++y) {
        const uint8_t* m = mask.ptr<uint8_t>(y);
        const uint8_t* g = grey.ptr<uint8_t>(y);
        for (int x = 0; x < grey.cols; ++x)
            if (m[x]) values.push_back(g[x]);
    }
    if (values.size() < 2) return 0;
    cv::Mat column(static_cast<int>(values.size()), 1, CV_8U, values.data());
    cv::Mat split;
    const double threshold =
        cv::threshold(column, split, 0, 255, cv::THRESH_BINARY | cv::THRESH_OTSU);
    double darkSum = 0, lightSum = 0;
    size_t dark = 0, light = 0;
    for (uint8_t v : values) {
        if (v > threshold) {
            lightSum += v;
            ++light;
        } else {
            darkSum += v;
            ++dark;
        }
    }
    if (dark == 0 || light == 0) return 0;
    return (lightSum / double(light) - darkSum / double(dark)) * 100.0 / 255.0;
}

namespace {

// One attempt on a window of the picture; positions in the picture's pixels.
OReadResult ReadWindow(const cv::Mat& grey, cv::Rect window, Symbology symbology, bool tryHarder) {
    OReadResult result;
    const cv::Mat part = grey(window);
    const ZXing::ImageView view(part.data, part.cols, part.rows, ZXing::ImageFormat::Lum,
                                static_cast<int>(part.step[0]));
    ZXing::DecodeHints hints;
    hints.setFormats(FormatsOf(symbology));
    hints.setTryHarder(tryHarder);
    hints.setTryRotate(tryHarder);
    hints.setTryDownscale(tryHarder);
    const ZXing::Result found = ZXing::ReadBarcode(view, hints);
    if (!found.isValid()) return result;
    result.read = true;
    result.text = found.text();
    result.symbology = ZXing::ToString(found.format());
    const auto& q = found.position();
    for (size_t i = 0; i < 4; ++i)
        result.corners[i] = {double(q[i].x + window.x), double(q[i].y + window.y)};
    return result;
}

// Where the symbol lies, how it is turned, its size and contrast, from its corners.
void Grade(const cv::Mat& grey, Symbology symbology, OReadResult& result) {
    const auto& c = result.corners;
    for (const OPoint2& p : c) {
        result.centre.x += p.x / 4;
        result.centre.y += p.y / 4;
    }
    // The symbol's reading direction: from the middle of its left side to its right side.
    const double dx = (c[1].x + c[2].x - c[0].x - c[3].x) / 2;
    const double dy = (c[1].y + c[2].y - c[0].y - c[3].y) / 2;
    result.angle = (dx == 0 && dy == 0) ? 0 : std::atan2(-dy, dx) * 180.0 / CV_PI;
    if (result.angle <= -180) result.angle += 360;
    result.size = (Distance(c[0], c[1]) + Distance(c[1], c[2]) + Distance(c[2], c[3]) +
                   Distance(c[3], c[0])) /
                  4;
    // A linear code is found along a line: its size is that line's length, its contrast is
    // taken over a band of its bars.
    if (bIsLinear(symbology)) result.size = std::max(Distance(c[0], c[1]), Distance(c[3], c[2]));
    if (bIsLinear(symbology) && Distance(c[0], c[3]) < 4 && std::hypot(dx, dy) > 0) {
        const double half = std::max(2.0, Distance(c[0], c[1]) / 8);
        const double nx = -dy / std::hypot(dx, dy), ny = dx / std::hypot(dx, dy);
        const std::array<OPoint2, 4> band = {OPoint2{c[0].x + nx * half, c[0].y + ny * half},
                                             OPoint2{c[1].x + nx * half, c[1].y + ny * half},
                                             OPoint2{c[1].x - nx * half, c[1].y - ny * half},
                                             OPoint2{c[0].x - nx * half, c[0].y - ny * half}};
        result.contrast = SymbolContrast(grey, band);
    } else {
        result.contrast = SymbolContrast(grey, c);
    }
}

// Places that may hold a matrix symbol, largest first: areas dense with strong edges.
std::vector<cv::Rect> SymbolCandidates(const cv::Mat& grey) {
    cv::Mat edges;
    cv::morphologyEx(grey, edges, cv::MORPH_GRADIENT, cv::Mat());
    cv::threshold(edges, edges, 0, 255, cv::THRESH_BINARY | cv::THRESH_OTSU);
    const int close = std::max(3, std::min(grey.cols, grey.rows) / 30) | 1;
    cv::morphologyEx(edges, edges, cv::MORPH_CLOSE,
                     cv::getStructuringElement(cv::MORPH_RECT, {close, close}));
    std::vector<std::vector<cv::Point>> contours;
    cv::findContours(edges, contours, cv::RETR_EXTERNAL, cv::CHAIN_APPROX_SIMPLE);
    std::vector<cv::Rect> boxes;
    for (const auto& c : contours) {
        const cv::Rect box = cv::boundingRect(c);
        const double aspect =
            double(std::max(box.width, box.height)) / std::max(1, std::min(box.width, box.height));
        if (box.area() >= 64 && aspect <= 8) boxes.push_back(box);
    }
    std::sort(boxes.begin(), boxes.end(),
              [](const cv::Rect& a, const cv::Rect& b) { return a.area() > b.area(); });
    if (boxes.size() > 6) boxes.resize(6);
    return boxes;
}

}  // namespace

OReadResult Read(const cv::Mat& grey, Symbology symbology, bool tryHarder) {
    if (grey.empty() || grey.type() != CV_8UC1) return {};
    // A weakly printed or dimly lit symbol is looked for on the picture stretched to the full
    // grey range (zxing-cpp's binariser gives up on small differences); it is graded on the
    // picture as it is.
    double low = 0, high = 0;
    cv::minMaxLoc(grey, &low, &high);
    cv::Mat picture;  // a new buffer: normalising into a copy of the header would change `grey`
    if (high - low < 200 && high > low)
        cv::normalize(grey, picture, 0, 255, cv::NORM_MINMAX);
    else
        picture = grey;
    const cv::Rect whole(0, 0, grey.cols, grey.rows);
    OReadResult result = ReadWindow(picture, whole, symbology, tryHarder);
    // The matrix-code detector starts in the middle of the picture and finds a symbol that
    // lies away from it only by chance: the places that look like a symbol are tried again,
    // each in a window centred on it.
    if (!result.read && !bIsLinear(symbology)) {
        for (const cv::Rect& box : SymbolCandidates(picture)) {
            const int mx = box.width / 3 + 4, my = box.height / 3 + 4;
            const cv::Rect window =
                cv::Rect(box.x - mx, box.y - my, box.width + 2 * mx, box.height + 2 * my) & whole;
            result = ReadWindow(picture, window, symbology, tryHarder);
            if (result.read) break;
        }
    }
    if (result.read) Grade(grey, symbology, result);
    return result;
}

cv::Mat Write(const std::string& text, Symbology symbology, int moduleSize, int quiet) {
    try {
        ZXing::MultiFormatWriter writer(FormatOf(symbology));
        writer.setMargin(0);
        const ZXing::BitMatrix bits = writer.encode(text, 0, 0);
        const auto modules = ZXing::ToMatrix<uint8_t>(bits, 0, 255);
        cv::Mat one(modules.height(), modules.width(), CV_8U, const_cast<uint8_t*>(modules.data()));
        const int height =
            bIsLinear(symbology) ? std::max(30, 15 * moduleSize) : one.rows * moduleSize;
        cv::Mat scaled;
        cv::resize(one, scaled, cv::Size(one.cols * moduleSize, height), 0, 0, cv::INTER_NEAREST);
        cv::Mat framed;
        cv::copyMakeBorder(scaled, framed, quiet, quiet, quiet, quiet, cv::BORDER_CONSTANT,
                           cv::Scalar(255));
        return framed;
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace KvtCode
