// What one measurement of the pattern, reader, ray and compare tools costs on camera-sized
// pictures: a pattern search over a 640 x 480 picture (turned ±20°), a data-matrix code and a
// line of text read in their regions, 36 rays, a 200 x 150 comparison.
#include <benchmark/benchmark.h>

#include <cmath>

#include <opencv2/imgproc.hpp>

#include "tools/kvt/OKvtCodeReader.h"
#include "tools/kvt/OKvtImageCompare.h"
#include "tools/kvt/OKvtRays.h"
#include "tools/kvt/OKvtTeaching.h"
#include "tools/kvt/OKvtTextReader.h"
#include "tools/patternmatching/OPatternMatcher.h"

namespace {

cv::Mat Belt(int w, int h) {
    cv::Mat m(h, w, CV_8U);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            m.at<uint8_t>(y, x) = uint8_t(190 + (x * 7 + y * 13) % 17);
    return m;
}

// A bracket with a hole, turned by `angle` degrees about (cx, cy).
void Bracket(cv::Mat& m, double cx, double cy, double angle) {
    const double c = std::cos(angle * CV_PI / 180), s = std::sin(angle * CV_PI / 180);
    std::vector<cv::Point> outline;
    for (auto [x, y] : {std::pair{-30, -20}, {25, -20}, {25, -5}, {35, -5}, {35, 5}, {25, 5},
                        {25, 20}, {-10, 20}, {-10, 8}, {-22, 8}, {-22, 20}, {-30, 20}})
        outline.emplace_back(int(std::lround(cx + x * c + y * s)), int(std::lround(cy - x * s + y * c)));
    cv::fillPoly(m, std::vector<std::vector<cv::Point>>{outline}, cv::Scalar(40), cv::LINE_AA);
    cv::circle(m, {int(cx + 8 * c), int(cy - 8 * s)}, 6, cv::Scalar(230), cv::FILLED, cv::LINE_AA);
}

void BM_PatternSearch(benchmark::State& state) {
    cv::Mat taught = Belt(91, 61);
    Bracket(taught, 45, 30, 0);
    OPatternMatching_V2_Template t;
    t.image = KvtTeaching::ImageOf(taught);
    cv::Mat search = Belt(640, 480);
    Bracket(search, 330, 250, 12);
    OPatternMatching_V2_SearchParameter settings;
    settings.greediness = double(state.range(0)) / 100;
    double score = 0;
    for (auto _ : state) {
        const OPatternSearch found = PatternMatcher::Search(search, t, settings);
        score = found.bestScore;
        benchmark::DoNotOptimize(score);
    }
    state.counters["score"] = score;
}
BENCHMARK(BM_PatternSearch)->Arg(90)->Arg(30)->ArgName("greediness")->Unit(benchmark::kMillisecond);

void BM_DataMatrixRead(benchmark::State& state) {
    const cv::Mat symbol = KvtCode::Write("KV-2024-0815", KvtCode::Symbology::DataMatrix, 5, 8);
    cv::Mat region = Belt(240, 180);
    symbol.copyTo(region(cv::Rect(60, 40, symbol.cols, symbol.rows)));
    for (auto _ : state) {
        const auto r = KvtCode::Read(region, KvtCode::Symbology::DataMatrix, state.range(0) != 0);
        if (!r.read) state.SkipWithError("not read");
    }
}
BENCHMARK(BM_DataMatrixRead)->Arg(0)->Arg(1)->ArgName("thorough")->Unit(benchmark::kMillisecond);

void BM_TextRead(benchmark::State& state) {
    cv::Mat region = Belt(320, 80);
    cv::putText(region, "LOT 4711-B", {20, 55}, cv::FONT_HERSHEY_SIMPLEX, 1.2, cv::Scalar(30), 2,
                cv::LINE_AA);
    OKvtTextReader reader;
    if (!reader.bIsReady()) state.SkipWithError(reader.Error().c_str());
    for (auto _ : state) {
        const auto r = reader.Read(region, OKvtTextReader::Layout::Line, "");
        benchmark::DoNotOptimize(r.text.data());
    }
}
BENCHMARK(BM_TextRead)->Unit(benchmark::kMillisecond);

void BM_Rays(benchmark::State& state) {
    cv::Mat region = Belt(200, 200);
    cv::circle(region, {100, 100}, 60, cv::Scalar(40), cv::FILLED, cv::LINE_AA);
    KvtRays::OSettings s;
    s.rays = 36;
    for (auto _ : state)
        benchmark::DoNotOptimize(KvtRays::Cast(region, {99.5, 99.5}, s).meanRadius);
}
BENCHMARK(BM_Rays)->Unit(benchmark::kMicrosecond);

void BM_ImageCompare(benchmark::State& state) {
    cv::Mat reference = Belt(200, 150);
    Bracket(reference, 100, 75, 0);
    const int tolerance = int(state.range(0));
    cv::Mat sample = Belt(200 + 2 * tolerance, 150 + 2 * tolerance);
    Bracket(sample, 100 + tolerance + 2, 75 + tolerance - 1, 0);
    cv::rectangle(sample, {40, 40}, {52, 52}, cv::Scalar(10), cv::FILLED);
    KvtCompare::OSettings s;
    s.tolerance = tolerance;
    for (auto _ : state)
        benchmark::DoNotOptimize(KvtCompare::Compare(sample, reference, s).defects);
}
BENCHMARK(BM_ImageCompare)->Arg(0)->Arg(5)->ArgName("tolerance")->Unit(benchmark::kMicrosecond);

}  // namespace
