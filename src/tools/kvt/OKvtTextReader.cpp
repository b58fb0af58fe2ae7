#include "tools/kvt/OKvtTextReader.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include <tesseract/baseapi.h>
#include <opencv2/imgproc.hpp>

namespace {

// Tesseract reads best with characters some 30 to 40 pixels high.
constexpr double kCharacterHeight = 36;
constexpr int kMargin = 12;
// Less spread of grey values than this is an empty ground.
constexpr double kMinContrast = 20;

// Text pixels (255) of a binarised picture: the minority of the two kinds.
cv::Mat TextMask(const cv::Mat& grey) {
    cv::Mat binary;
    cv::threshold(grey, binary, 0, 255, cv::THRESH_BINARY | cv::THRESH_OTSU);
    if (static_cast<size_t>(cv::countNonZero(binary)) > binary.total() / 2)
        cv::bitwise_not(binary, binary);
    return binary;
}

// The usual height of a character: the median height of the text's pieces.
double CharacterHeight(const cv::Mat& mask) {
    cv::Mat labels, stats, centres;
    const int count = cv::connectedComponentsWithStats(mask, labels, stats, centres, 8, CV_32S);
    std::vector<int> heights;
    for (int i = 1; i < count; ++i)
        if (stats.at<int>(i, cv::CC_STAT_AREA) >= 4)
            heights.push_back(stats.at<int>(i, cv::CC_STAT_HEIGHT));
    if (heights.empty()) return 0;
    std::nth_element(heights.begin(), heights.begin() + long(heights.size() / 2), heights.end());
    return heights[heights.size() / 2];
}

std::string Tidy(const char* raw) {
    std::string text;
    bool blank = false;
    for (const char* p = raw; p && *p; ++p) {
        const bool space = std::isspace(static_cast<unsigned char>(*p)) != 0;
        if (space) {
            blank = !text.empty();
            continue;
        }
        if (blank) text += ' ';
        blank = false;
        text += *p;
    }
    return text;
}

int CountCharacters(const std::string& utf8) {
    int n = 0;
    for (unsigned char c : utf8)
        if ((c & 0xC0) != 0x80 && c != ' ') ++n;
    return n;
}

}  // namespace

OKvtTextReader::OKvtTextReader() : m_api(std::make_unique<tesseract::TessBaseAPI>()) {
    // Quiet: no debug output on the console, no guessing of the resolution.
    m_api->SetVariable("debug_file", "/dev/null");
    if (m_api->Init(nullptr, "eng", tesseract::OEM_LSTM_ONLY) != 0) {
        m_error = "The text recognition model (English) could not be loaded.";
        m_api.reset();
        return;
    }
    m_api->SetVariable("user_defined_dpi", "300");
}

OKvtTextReader::~OKvtTextReader() {
    if (m_api) m_api->End();
}

cv::Mat OKvtTextReader::Prepare(const cv::Mat& grey) {
    if (grey.empty()) return {};
    double low = 0, high = 0;
    cv::minMaxLoc(grey, &low, &high);
    if (high - low < kMinContrast) return {};
    const cv::Mat mask = TextMask(grey);
    std::vector<cv::Point> textPixels;
    cv::findNonZero(mask, textPixels);
    const double height = CharacterHeight(mask);
    if (textPixels.empty() || height <= 0) return {};
    // The text with half a character of ground around it, scaled to a good size.
    const int pad = int(std::ceil(height / 2));
    cv::Rect box = cv::boundingRect(textPixels);
    box = cv::Rect(box.x - pad, box.y - pad, box.width + 2 * pad, box.height + 2 * pad) &
          cv::Rect(0, 0, grey.cols, grey.rows);
    const double factor = std::clamp(kCharacterHeight / height, 0.5, 6.0);
    cv::Mat scaled;
    cv::resize(grey(box), scaled, cv::Size(), factor, factor,
               factor > 1 ? cv::INTER_CUBIC : cv::INTER_AREA);
    cv::Mat text = TextMask(scaled);
    cv::bitwise_not(text, text);  // dark text on white
    cv::Mat framed;
    cv::copyMakeBorder(text, framed, kMargin, kMargin, kMargin, kMargin, cv::BORDER_CONSTANT,
                       cv::Scalar(255));
    return framed;
}

OKvtTextReader::OResult OKvtTextReader::Read(const cv::Mat& grey, Layout layout,
                                             const std::string& allowed) {
    OResult result;
    if (!m_api || grey.empty() || grey.type() != CV_8UC1) return result;
    const cv::Mat picture = Prepare(grey);
    if (picture.empty()) return result;
    m_api->SetPageSegMode(layout == Layout::Block ? tesseract::PSM_SINGLE_BLOCK
                                                  : tesseract::PSM_SINGLE_LINE);
    m_api->SetVariable("tessedit_char_whitelist", allowed.c_str());
    m_api->SetImage(picture.data, picture.cols, picture.rows, 1, static_cast<int>(picture.step[0]));
    std::unique_ptr<char[]> raw(m_api->GetUTF8Text());
    result.text = Tidy(raw.get());
    result.characters = CountCharacters(result.text);
    result.read = result.characters > 0;
    result.confidence = result.read ? std::max(0, m_api->MeanTextConf()) : 0;
    m_api->Clear();
    return result;
}
