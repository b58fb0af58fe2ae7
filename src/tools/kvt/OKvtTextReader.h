// Text recognition in a grey picture with Tesseract (English model). The picture is made
// what Tesseract reads best: dark text on a light ground (a light-on-dark picture is
// inverted), small text enlarged, binarised with Otsu's threshold, a white margin around it.
//
// Loading the model takes a good part of a second, so a reader is made once and kept (a
// tool keeps its own); one reader must not be used by two threads at a time.
#pragma once

#include <memory>
#include <string>

#include <opencv2/core.hpp>

namespace tesseract {
class TessBaseAPI;
}

class OKvtTextReader {
  public:
    // How the text is laid out: one line, or several lines. (Tesseract's single-word mode
    // reads worse than its line mode even for one word, so there is none.)
    enum class Layout { Line = 0, Block = 1 };

    struct OResult {
        bool read = false;      // some text was recognised
        std::string text;       // UTF-8, trimmed; lines joined with a blank
        double confidence = 0;  // mean word confidence, 0 ... 100
        int characters = 0;     // characters of `text` that are not blanks
    };

    OKvtTextReader();
    ~OKvtTextReader();
    OKvtTextReader(const OKvtTextReader&) = delete;
    OKvtTextReader& operator=(const OKvtTextReader&) = delete;

    // False when the model could not be loaded; Read then reads nothing and `error` says why.
    bool bIsReady() const { return m_api != nullptr; }
    const std::string& Error() const { return m_error; }

    // Recognises the text of `grey` (CV_8UC1). `allowed`: the characters that may occur
    // (empty: any).
    OResult Read(const cv::Mat& grey, Layout layout, const std::string& allowed);

    // The picture as it is handed to Tesseract: the text cut out with a margin, scaled to
    // characters some 36 pixels high, binarised dark on white. Empty for a picture without
    // text (less than 20 grey levels of contrast).
    static cv::Mat Prepare(const cv::Mat& grey);

  private:
    std::unique_ptr<tesseract::TessBaseAPI> m_api;
    std::string m_error;
};
