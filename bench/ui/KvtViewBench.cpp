// Painting the family-2 part contour view: one 1280 × 1024 colour camera image with ten
// tools of the kinds a user places most, fitted into a window of 1030 × 840 pixels and
// painted as the window paints it (picture, tools by their drawing data, handles of the
// selected one, scales, label) through the Qt painter into an offscreen image; and the
// status texts of one pointer move over the picture.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <memory>

#include "app/ui/OPainter_Qt.h"
#include "device/OQuillon.h"
#include "document/ODocKvtViewHost.h"
#include "document/OHeadlessDocument.h"
#include "extraction/OExtr_KVT.h"
#include "extraction/OKvtViewController.h"
#include "extraction/OKvtViewScene.h"
#include "model/partset/OType_ZRPartSet.h"
#include "platform/OSettings_Memory.h"
#include "platform/OUserInteraction_Scripted.h"
#include "tools/kvt/KvtToolKinds.h"
#include "tools/kvt/OType_ConfigTool_KVT.h"

namespace {

constexpr int kWidth = 1030;
constexpr int kHeight = 840;
constexpr int kImageWidth = 1280;
constexpr int kImageHeight = 1024;

std::unique_ptr<OType_Part> CameraPart() {
    OType_Image image(kImageWidth, kImageHeight, 3);
    for (int y = 0; y < kImageHeight; ++y) {
        for (int x = 0; x < kImageWidth; ++x) {
            const bool part = (x - 640) * (x - 640) + (y - 512) * (y - 512) < 300 * 300;
            image.SetPixel(x, y, 0, static_cast<uint8_t>(part ? 200 : 40 + x % 50));
            image.SetPixel(x, y, 1, static_cast<uint8_t>(part ? 60 : 40 + y % 50));
            image.SetPixel(x, y, 2, static_cast<uint8_t>(part ? 30 : 60));
        }
    }
    auto part = std::make_unique<OType_Part>();
    part->AddImage(std::move(image));
    part->SetOrientation(1);
    part->SetType(1);
    part->SetTeachPart(true);
    return part;
}

struct Project {
    OSettings_Memory settings;
    OUserInteraction_Scripted ui;
    std::unique_ptr<OHeadlessDocument> headless;
    OExtr_KVT* engine = nullptr;
    int tools = 0;

    Project() {
        settings.SetInt("Settings", "TARGET_SYSTEM_HW", 9);
        settings.SetInt("Settings", "TARGET_SYSTEM_SW", 818);
        settings.SetInt("Settings", "SHOW_UNSELECTED_TOOLS", 1);
        headless = std::make_unique<OHeadlessDocument>(settings, &ui);
        ODoc& doc = headless->Doc();
        doc.OnNewDocument();
        doc.SetBusy(0);
        OType_ZRPartSet& set = *doc.opGetActualPartSet();
        set.TeachParts().Add(CameraPart());
        using namespace KvtToolKind;
        const int kinds[] = {kROI, kMeasure, kBlob, kColor, kEdge,
                             kROI, kMeasure, kBlob, kColor, kPatternMatching};
        for (int kind : kinds) {
            if (doc.opGetSession()->AddTool(set, kind, -1, 0)) ++tools;
        }
        doc.Recompute(&set, 1, 0, 1, 1, 0);
        set.iShowTeachPartNo(0);
        set.iShowFeatureNo(0);
        engine = dynamic_cast<OExtr_KVT*>(doc.opEnsureExtractor());
        if (engine) engine->ShowImageRegion();
    }
};

void BM_PaintKvtView(benchmark::State& state) {
    Project project;
    if (!project.engine) {
        state.SkipWithError("no family-2 engine");
        return;
    }
    ODocKvtViewHost viewHost(project.headless->Doc());
    OKvtViewController view(*project.engine, project.headless->Doc().ExtractorHost(), viewHost);
    view.SetClientSize(kWidth, kHeight);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    OContourSceneArea area;
    area.width = kWidth;
    area.height = kHeight;
    // The tools measure the shown part once per project change, not per paint.
    view.ToolsToDraw();
    for (auto _ : state) {
        QPainter painter(&image);
        OPainter_Qt drawing(painter);
        KvtViewScene::Paint(drawing, view, area);
    }
    state.counters["tools"] = project.tools;
    state.counters["drawn_tools"] = static_cast<double>(view.ToolsToDraw().size());
    if (const char* out = std::getenv("KALVOR_BENCH_IMAGE")) image.save(out);
}
BENCHMARK(BM_PaintKvtView)->Unit(benchmark::kMillisecond);

// The first paint after a change: the tools measure the part for their drawings.
void BM_PaintKvtViewAfterChange(benchmark::State& state) {
    Project project;
    if (!project.engine) {
        state.SkipWithError("no family-2 engine");
        return;
    }
    ODocKvtViewHost viewHost(project.headless->Doc());
    OKvtViewController view(*project.engine, project.headless->Doc().ExtractorHost(), viewHost);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    OContourSceneArea area;
    area.width = kWidth;
    area.height = kHeight;
    for (auto _ : state) {
        project.engine->InvalidateDrawings();
        QPainter painter(&image);
        OPainter_Qt drawing(painter);
        KvtViewScene::Paint(drawing, view, area);
    }
}
BENCHMARK(BM_PaintKvtViewAfterChange)->Unit(benchmark::kMillisecond);

void BM_KvtPointerTexts(benchmark::State& state) {
    Project project;
    if (!project.engine) {
        state.SkipWithError("no family-2 engine");
        return;
    }
    ODocKvtViewHost viewHost(project.headless->Doc());
    OKvtViewController view(*project.engine, project.headless->Doc().ExtractorHost(), viewHost);
    view.SetClientSize(kWidth, kHeight);
    int x = 40;
    for (auto _ : state) {
        x = x < kWidth - 10 ? x + 7 : 40;
        benchmark::DoNotOptimize(view.OnMouseMove({x, 400}));
    }
}
BENCHMARK(BM_KvtPointerTexts)->Unit(benchmark::kMicrosecond);

}  // namespace
