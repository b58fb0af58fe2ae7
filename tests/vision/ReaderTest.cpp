// The code and text readers against symbols written with zxing-cpp's writer and text drawn
// with OpenCV, placed, turned and dimmed by known amounts.
#include <gtest/gtest.h>

#include <opencv2/imgproc.hpp>

#include "tools/kvt/OKvtCodeReader.h"
#include "tools/kvt/OKvtTextReader.h"

using KvtCode::Symbology;

namespace {

// The picture pasted at (x, y) into a light ground of w x h.
cv::Mat OnGround(const cv::Mat& symbol, int w, int h, int x, int y, uint8_t ground = 235) {
    cv::Mat picture(h, w, CV_8U, cv::Scalar(ground));
    symbol.copyTo(picture(cv::Rect(x, y, symbol.cols, symbol.rows)));
    return picture;
}

cv::Mat Turned(const cv::Mat& picture, double angle) {
    const cv::Mat map = cv::getRotationMatrix2D(
        cv::Point2f((picture.cols - 1) / 2.f, (picture.rows - 1) / 2.f), angle, 1.0);
    cv::Mat out;
    cv::warpAffine(picture, out, map, picture.size(), cv::INTER_LINEAR, cv::BORDER_REPLICATE);
    return out;
}

// Grey values squeezed into dark ... light.
cv::Mat Dimmed(const cv::Mat& picture, int dark, int light) {
    cv::Mat out;
    picture.convertTo(out, CV_8U, (light - dark) / 255.0, dark);
    return out;
}

cv::Mat TextPicture(const std::string& text, double scale, int thickness) {
    int baseline = 0;
    const cv::Size size =
        cv::getTextSize(text, cv::FONT_HERSHEY_SIMPLEX, scale, thickness, &baseline);
    cv::Mat picture(size.height + baseline + 24, size.width + 24, CV_8U, cv::Scalar(230));
    cv::putText(picture, text, {12, size.height + 12}, cv::FONT_HERSHEY_SIMPLEX, scale,
                cv::Scalar(25), thickness, cv::LINE_AA);
    return picture;
}

}  // namespace

TEST(CodeReader, DataMatrixTextPositionAngleSizeAndContrast) {
    const cv::Mat symbol = KvtCode::Write("KALVOR-4711", Symbology::DataMatrix, 5, 10);
    ASSERT_FALSE(symbol.empty());
    const cv::Mat picture = OnGround(symbol, 300, 220, 100, 60);
    const auto r = KvtCode::Read(picture, Symbology::DataMatrix, false);
    ASSERT_TRUE(r.read);
    EXPECT_EQ(r.text, "KALVOR-4711");
    EXPECT_EQ(r.symbology, "DataMatrix");
    // The symbol without its quiet zone, centred in the pasted picture; its size is the mean
    // of its four sides.
    EXPECT_NEAR(r.centre.x, 100 + symbol.cols / 2.0, 3);
    EXPECT_NEAR(r.centre.y, 60 + symbol.rows / 2.0, 3);
    EXPECT_NEAR(r.size, (symbol.cols - 20 + symbol.rows - 20) / 2.0, 6);
    EXPECT_NEAR(r.angle, 0, 3);
    EXPECT_NEAR(r.contrast, 100, 2);
    // Printed weakly: grey 100 on 180 is (180 - 100) / 255 of the range.
    const cv::Mat dim = Dimmed(picture, 100, 180);
    const cv::Mat before = dim.clone();
    const auto weak = KvtCode::Read(dim, Symbology::DataMatrix, false);
    EXPECT_EQ(cv::norm(dim, before, cv::NORM_INF), 0) << "the picture read is left as it was";
    ASSERT_TRUE(weak.read);
    EXPECT_NEAR(weak.contrast, 80.0 / 255 * 100, 3);
}

TEST(CodeReader, TurnedDataMatrixGivesItsAngle) {
    const cv::Mat symbol = KvtCode::Write("A1B2C3", Symbology::DataMatrix, 6, 12);
    const cv::Mat picture = OnGround(symbol, 320, 320, 100, 100);
    const cv::Point2d symbolCentre(100 + (symbol.cols - 1) / 2.0, 100 + (symbol.rows - 1) / 2.0);
    for (double angle : {25.0, -40.0, 90.0}) {
        const auto r = KvtCode::Read(Turned(picture, angle), Symbology::DataMatrix, true);
        ASSERT_TRUE(r.read) << angle;
        EXPECT_EQ(r.text, "A1B2C3");
        // Turned with the picture about the picture's centre.
        const cv::Mat map = cv::getRotationMatrix2D(cv::Point2f(159.5f, 159.5f), angle, 1.0);
        const double x = map.at<double>(0, 0) * symbolCentre.x +
                         map.at<double>(0, 1) * symbolCentre.y + map.at<double>(0, 2);
        const double y = map.at<double>(1, 0) * symbolCentre.x +
                         map.at<double>(1, 1) * symbolCentre.y + map.at<double>(1, 2);
        EXPECT_NEAR(r.centre.x, x, 4) << angle;
        EXPECT_NEAR(r.centre.y, y, 4) << angle;
        double difference = std::remainder(r.angle - angle, 360.0);
        EXPECT_NEAR(difference, 0, 4) << r.angle << " for " << angle;
    }
}

TEST(CodeReader, ASymbolAwayFromTheMiddleAmongOtherMarks) {
    // The detector starts in the middle; a symbol in a corner, beside a dark label and some
    // print, is still found.
    const cv::Mat symbol = KvtCode::Write("CORNER-77", Symbology::DataMatrix, 4, 8);
    cv::Mat picture = OnGround(symbol, 420, 320, 300, 210);
    cv::rectangle(picture, {30, 30}, {150, 90}, cv::Scalar(40), cv::FILLED);
    cv::putText(picture, "LOT 12", {40, 200}, cv::FONT_HERSHEY_SIMPLEX, 1.2, cv::Scalar(30), 2);
    const auto r = KvtCode::Read(picture, Symbology::DataMatrix, false);
    ASSERT_TRUE(r.read);
    EXPECT_EQ(r.text, "CORNER-77");
    EXPECT_NEAR(r.centre.x, 300 + symbol.cols / 2.0, 3);
}

TEST(CodeReader, BarCodesOfSeveralSymbologies) {
    struct Case {
        Symbology symbology;
        std::string text;
    };
    for (const Case& c :
         {Case{Symbology::Code128, "KV-2024/07"}, Case{Symbology::Code39, "LOT42"},
          Case{Symbology::Ean13, "4006381333931"}, Case{Symbology::Ean8, "96385074"},
          Case{Symbology::Interleaved2of5, "12345678"}}) {
        const cv::Mat symbol = KvtCode::Write(c.text, c.symbology, 3, 20);
        ASSERT_FALSE(symbol.empty()) << c.text;
        const cv::Mat picture = OnGround(symbol, symbol.cols + 80, symbol.rows + 60, 40, 30);
        const auto own = KvtCode::Read(picture, c.symbology, false);
        ASSERT_TRUE(own.read) << c.text;
        EXPECT_EQ(own.text, c.text);
        EXPECT_GT(own.contrast, 90);
        const auto any = KvtCode::Read(picture, Symbology::AnyLinear, false);
        ASSERT_TRUE(any.read) << c.text;
        EXPECT_EQ(any.text, c.text);
        // A data-matrix reader does not take a bar code.
        EXPECT_FALSE(KvtCode::Read(picture, Symbology::DataMatrix, false).read);
    }
}

TEST(CodeReader, NothingToReadAndBadInput) {
    cv::Mat noise(120, 160, CV_8U);
    cv::randu(noise, 0, 255);
    EXPECT_FALSE(KvtCode::Read(noise, Symbology::DataMatrix, true).read);
    EXPECT_FALSE(KvtCode::Read(cv::Mat(), Symbology::AnyLinear, true).read);
    EXPECT_FALSE(KvtCode::Read(cv::Mat(10, 10, CV_8UC3), Symbology::DataMatrix, true).read);
    // EAN-13 takes digits only.
    EXPECT_TRUE(KvtCode::Write("not digits", Symbology::Ean13, 2, 10).empty());
    EXPECT_EQ(KvtCode::SymbolContrast(noise, {}), 0);
}

TEST(TextReader, ReadsALineOfPrintedText) {
    OKvtTextReader reader;
    ASSERT_TRUE(reader.bIsReady()) << reader.Error();
    const auto r = reader.Read(TextPicture("LOT 4711 B", 1.4, 3), OKvtTextReader::Layout::Line,
                               "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ");
    ASSERT_TRUE(r.read);
    EXPECT_EQ(r.text, "LOT 4711 B");
    EXPECT_EQ(r.characters, 8);
    EXPECT_GT(r.confidence, 60);
    // Light text on a dark ground is read the same.
    cv::Mat inverted;
    cv::bitwise_not(TextPicture("AB12", 1.4, 3), inverted);
    EXPECT_EQ(
        reader.Read(inverted, OKvtTextReader::Layout::Line, "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789")
            .text,
        "AB12");
    // Small text is enlarged before reading.
    EXPECT_EQ(reader
                  .Read(TextPicture("Q5X7Z9", 0.8, 2), OKvtTextReader::Layout::Line,
                        "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789")
                  .text,
              "Q5X7Z9");
    // Two lines as a block.
    cv::Mat block(140, 300, CV_8U, cv::Scalar(230));
    cv::putText(block, "LINE 1", {15, 50}, cv::FONT_HERSHEY_SIMPLEX, 1.2, cv::Scalar(20), 2,
                cv::LINE_AA);
    cv::putText(block, "LINE 2", {15, 110}, cv::FONT_HERSHEY_SIMPLEX, 1.2, cv::Scalar(20), 2,
                cv::LINE_AA);
    EXPECT_EQ(
        reader.Read(block, OKvtTextReader::Layout::Block, "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ")
            .text,
        "LINE 1 LINE 2");
}

TEST(TextReader, AnEmptyGroundReadsNothing) {
    OKvtTextReader reader;
    ASSERT_TRUE(reader.bIsReady());
    const auto r =
        reader.Read(cv::Mat(60, 200, CV_8U, cv::Scalar(200)), OKvtTextReader::Layout::Line, "");
    EXPECT_FALSE(r.read);
    EXPECT_EQ(r.confidence, 0);
    EXPECT_FALSE(reader.Read(cv::Mat(), OKvtTextReader::Layout::Line, "").read);
}
