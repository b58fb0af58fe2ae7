// The teach-data window after one tolerance change, with 32 features and 16 classes (two
// part types of eight orientations, five sample and two test parts per class):
// BM_TeachDataToleranceChange times the engine's part (reload, separating features, bands,
// decision ranges, test parts classified, undo step) together with the list's refresh (every
// cell text built, the changed cells rewritten, columns sized). BM_TeachDataListRefresh
// times the refresh alone.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "classification/OClass_ConfV12.h"
#include "classification/TeachDataCommands.h"
#include "classification/TeachDataView.h"
#include "classification/TestClassifierHost.h"
#include "classification/ui/OTeachDataList.h"

namespace {

constexpr int kFeatures = 32;
constexpr int kTypes = 2;
constexpr int kOrientations = 8;

struct Project {
    OTestClassifierHost host;
    OClass_ConfV12 classifier{host};
    OTeachDataCommands commands{classifier, host};
    OTeachDataList list;

    Project() {
        host.SetDevice(2, 818);
        host.fixedFeatures = 0;
        host.toolCapacity = kFeatures;
        TestParts::AddTypes(host.partSet, kTypes, 5);
        for (int t = 1; t <= kTypes; ++t) {
            for (int o = 1; o <= kOrientations; ++o) {
                for (int i = 0; i < 7; ++i) {
                    OType_Part part = TestParts::Make(t, o, {});
                    for (int f = 0; f < kFeatures; ++f)
                        part.Features().Add(TestParts::Number(
                            100.0 * t + 10.0 * o + f * 0.25 + (i % 5) * 0.1 * (f % 3), f));
                    OType_PartArray& to =
                        i < 5 ? host.partSet.TeachParts() : host.partSet.TestParts();
                    part.SetTeachPart(i < 5);
                    to.Add(std::move(part))->SetRecordNo(to.iGetSize());
                }
            }
        }
        classifier.TeachFromParts(host.partSet);
        classifier.EvaluateTestParts(host.partSet, 0);
        host.partSet.UndoRedo().bStartUndoRedo(host.partSet);
        list.resize(700, 500);
        list.show();
        Refresh();
        QApplication::processEvents();
    }
    int Refresh() {
        TeachDataView::OContext context;
        context.displayMode = 1;
        context.deviceKind = 2;
        return list.Show(TeachDataView::BuildDisplay(classifier, &host.partSet, context));
    }
};

void BM_TeachDataToleranceChange(benchmark::State& state) {
    Project project;
    int written = 0;
    for (auto _ : state) {
        project.commands.AddTolerance();
        written = project.Refresh();
    }
    state.counters["features"] = kFeatures;
    state.counters["classes"] = kTypes * kOrientations;
    state.counters["cells_written"] = written;
}
BENCHMARK(BM_TeachDataToleranceChange)->Unit(benchmark::kMillisecond);

void BM_TeachDataListRefresh(benchmark::State& state) {
    Project project;
    for (auto _ : state)
        benchmark::DoNotOptimize(project.Refresh());
    state.counters["features"] = kFeatures;
}
BENCHMARK(BM_TeachDataListRefresh)->Unit(benchmark::kMillisecond);

}  // namespace
