// Painting the part contour view: one part of 2000 columns (with holes in a third of its
// columns) and eight tools, the view fitted to show the whole part, painted as the window
// paints it (preparation, runs, tools under their locks, grid, scales, labels) through the
// Qt painter into an offscreen image of 1030 x 620 pixels. And a tool dropped in a 4000-part
// project: the region written, every part's features recomputed, the undo step stored, the
// view painted again.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <memory>

#include "app/ui/OPainter_Qt.h"
#include "device/OQuillon.h"
#include "document/OHeadlessDocument.h"
#include "extraction/OContourViewController.h"
#include "extraction/OContourViewScene.h"
#include "extraction/OExtr_Default.h"
#include "model/partset/OType_ZRPartSet.h"
#include "platform/OSettings_Memory.h"
#include "platform/OUserInteraction_Scripted.h"

namespace {

constexpr int kColumns = 2000;
constexpr int kWidth = 1030;
constexpr int kHeight = 620;

std::unique_ptr<OType_Part> LongPart(int columns = kColumns, int variant = 0) {
    auto part = std::make_unique<OType_Part>();
    std::vector<int16_t> runs;
    for (int x = 0; x < columns; ++x) {
        const int top = 20 + (x * 7) % 13;
        const int bottom = 300 + (x * 11 + variant) % 90;
        if (x % 3 == 0) {
            runs.insert(runs.end(), {static_cast<int16_t>(top), static_cast<int16_t>(150),
                                     static_cast<int16_t>(170), static_cast<int16_t>(-bottom)});
        } else {
            runs.insert(runs.end(), {static_cast<int16_t>(top), static_cast<int16_t>(-bottom)});
        }
    }
    part->SetConturData(std::move(runs));
    part->SetOrientation(1);
    return part;
}

struct Project {
    OSettings_Memory settings;
    OUserInteraction_Scripted ui;
    std::unique_ptr<OHeadlessDocument> headless;
    int tools = 0;

    explicit Project(int parts = 1, int columns = kColumns) {
        settings.SetInt("Settings", "TARGET_SYSTEM_HW", 1);
        settings.SetInt("Settings", "TARGET_SYSTEM_SW", 818);
        headless = std::make_unique<OHeadlessDocument>(settings, &ui);
        ODoc& doc = headless->Doc();
        doc.OnNewDocument();
        doc.SetBusy(0);
        OType_ZRPartSet& set = *doc.opGetActualPartSet();
        for (int i = 0; i < parts; ++i)
            set.TeachParts().Add(LongPart(columns, i % 17));
        // Eight tools of the kinds a user places most: areas, strips, contour tools, distances.
        const std::pair<int, int> kinds[] = {{1, 30}, {2, 33}, {3, 22}, {3, 23},
                                             {3, 25}, {4, 34}, {4, 36}, {1, 30}};
        for (const auto& [kind, subKind] : kinds) {
            if (doc.opGetSession()->AddTool(set, kind, subKind, 0)) ++tools;
        }
        doc.Recompute(&set, 1, 0, 1, 1, 0);
        set.iShowTeachPartNo(0);
        set.iShowFeatureNo(set.iGetFixedFeatures());  // the first tool selected
    }
};

void BM_PaintContourView(benchmark::State& state) {
    Project project;
    ODoc& doc = project.headless->Doc();
    auto* engine = dynamic_cast<OExtr_Default*>(doc.opEnsureExtractor());
    if (!engine) {
        state.SkipWithError("no family-1 engine");
        return;
    }
    OContourViewController view(*engine, doc.ExtractorHost());
    view.SetClientSize(kWidth, kHeight);
    // Fit to the window: the magnifier's range shows all columns.
    OContourViewState& s = engine->ViewState();
    s.magnifierPercent = (kColumns * 100 + kWidth - 31) / (kWidth - 30);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    OContourSceneArea area;
    area.width = kWidth;
    area.height = kHeight;
    for (auto _ : state) {
        PrepareContourView(s, kWidth, kHeight);
        QPainter painter(&image);
        OPainter_Qt drawing(painter);
        ContourViewScene::Paint(drawing, view, area);
    }
    state.counters["tools"] = project.tools;
    state.counters["visible_columns"] = s.windowRight - s.windowLeft;
    if (const char* out = std::getenv("KALVOR_BENCH_IMAGE")) image.save(out);
}
BENCHMARK(BM_PaintContourView)->Unit(benchmark::kMillisecond);

// The first tool moved by one pixel to and fro, as a drop of the mouse commits it, then the
// view painted: 4000 sample parts of 400 columns.
void BM_DropToolIn4000PartProject(benchmark::State& state) {
    Project project(4000, 400);
    ODoc& doc = project.headless->Doc();
    auto* engine = dynamic_cast<OExtr_Default*>(doc.opEnsureExtractor());
    if (!engine) {
        state.SkipWithError("no family-1 engine");
        return;
    }
    OContourViewController view(*engine, doc.ExtractorHost());
    view.SetClientSize(kWidth, kHeight);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    OContourSceneArea area;
    area.width = kWidth;
    area.height = kHeight;
    int step = 1;
    for (auto _ : state) {
        if (!view.bNudgeSelectedTool(step, 0, 0, 0)) {
            state.SkipWithError("the tool did not move");
            return;
        }
        step = -step;
        PrepareContourView(engine->ViewState(), kWidth, kHeight);
        QPainter painter(&image);
        OPainter_Qt drawing(painter);
        ContourViewScene::Paint(drawing, view, area);
    }
    state.counters["parts"] = doc.opGetActualPartSet()->TeachParts().iGetSize();
}
BENCHMARK(BM_DropToolIn4000PartProject)->Unit(benchmark::kMillisecond);

}  // namespace
