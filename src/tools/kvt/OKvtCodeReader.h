// Reading data-matrix and bar codes in a grey picture with zxing-cpp, and grading what was
// read: where the symbol lies, how it is turned, how large it is and its symbol contrast
// (the difference between the mean brightness of its light and its dark parts, in percent
// of the full grey range, as print-quality checks measure it).
#pragma once

#include <array>
#include <string>
#include <vector>

#include <opencv2/core.hpp>

namespace KvtCode {

// What a reader looks for.
enum class Symbology {
    DataMatrix = 0,
    AnyLinear = 1,  // every linear symbology below and GS1 DataBar, UPC-E, Code 93
    Code128 = 2,
    Code39 = 3,
    Ean13 = 4,
    Ean8 = 5,
    UpcA = 6,
    Interleaved2of5 = 7,
    Codabar = 8,
    QrCode = 9,
};
inline constexpr int kSymbologyCount = 10;
std::string SymbologyName(Symbology s);

struct OPoint2 {
    double x = 0;
    double y = 0;
};

struct OReadResult {
    bool read = false;
    std::string text;                // UTF-8
    std::string symbology;           // the symbology read, e.g. "DataMatrix", "Code128"
    std::array<OPoint2, 4> corners;  // of the symbol in picture pixels
    OPoint2 centre;
    double angle = 0;     // degrees, counter-clockwise on the screen, (-180, 180]
    double size = 0;      // mean side length in pixels; the length of a bar code
    double contrast = 0;  // symbol contrast in percent
};

// Reads the first symbol of the symbology in `grey` (CV_8UC1). `tryHarder` also tries
// turned and smaller pictures, which costs time.
OReadResult Read(const cv::Mat& grey, Symbology symbology, bool tryHarder);

// Symbol contrast in percent of the grey pixels inside the quadrilateral: the pixels are
// split into dark and light by Otsu's threshold, and the difference of the two means is
// taken. 0 when the quadrilateral holds fewer than two pixels.
double SymbolContrast(const cv::Mat& grey, const std::array<OPoint2, 4>& corners);

// A symbol of `text` as a grey picture (modules `moduleSize` pixels, dark on white, with a
// quiet zone of `quiet` pixels): for tests and for the simulator's synthetic parts. Empty when
// the text cannot be written in that symbology.
cv::Mat Write(const std::string& text, Symbology symbology, int moduleSize, int quiet);

}  // namespace KvtCode
