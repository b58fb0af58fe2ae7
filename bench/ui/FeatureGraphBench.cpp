// The feature graph of 25,000 sample parts in two orientations with its histogram: the
// points collected, the scale and bins computed and everything painted into an offscreen
// 1000 x 600 image through OPainter_Qt, as the window does on each update.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "analysis/FeatureGraph.h"
#include "app/ui/OPainter_Qt.h"
#include "classification/TestClassifierHost.h"

namespace {

constexpr int kParts = 25000;

void BM_FeatureGraphWithHistogram(benchmark::State& state) {
    OType_ZRPartSet set;
    TestParts::AddTypes(set, 1, 5);
    set.opGetSubType(0)->SetNumOrientations(2);
    for (int i = 0; i < kParts; ++i) {
        const double value = (i % 2 ? 150.0 : 100.0) + (i * 7919 % 1000) / 50.0;
        TestParts::AddTeach(set, 1, 1 + i % 2, {value, value * 0.5, 3.0});
    }
    FeatureGraph::OChoice choice;
    choice.mode = 1;
    choice.orientationsShown = true;
    QImage image(1000, 600, QImage::Format_RGB32);
    size_t points = 0;
    for (auto _ : state) {
        const auto collected = FeatureGraph::CollectPoints(set, choice);
        const auto bounds = FeatureGraph::CollectBounds(set, choice);
        const auto scale = FeatureGraph::ComputeScale(collected, bounds, true);
        QPainter painter(&image);
        OPainter_Qt surface(painter);
        const auto plot =
            FeatureGraph::Paint(surface, {0, 0, 999, 599}, collected, bounds, scale, choice.mode);
        points = plot.markers.size();
    }
    state.counters["parts"] = kParts;
    state.counters["points"] = static_cast<double>(points);
}
BENCHMARK(BM_FeatureGraphWithHistogram)->Unit(benchmark::kMillisecond);

}  // namespace
