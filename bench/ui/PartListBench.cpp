// The part list after one assignment in a project of 4000 sample parts: ten selected parts
// get another orientation, then the view refreshes (every entry's text and icon computed and
// compared, the changed entries repainted, the selection made equal to the parts' flags).
// BM_PartListRefreshAfterAssignment times the refresh alone; BM_AssignOrientationCommand the
// whole command as the user runs it (assignment, extraction run of the check program, undo
// step, refresh of the views).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <chrono>
#include <memory>

#include "document/CommandIds.h"
#include "document/OHeadlessDocument.h"
#include "document/ui/OView_PartList.h"
#include "model/partset/OType_ZRPartSet.h"
#include "platform/OSettings_Memory.h"
#include "platform/OUserInteraction_Scripted.h"

namespace {

constexpr int kParts = 4000;
constexpr int kAssigned = 10;

std::unique_ptr<OType_Part> Part(int i) {
    auto part = std::make_unique<OType_Part>();
    std::vector<int16_t> runs;
    for (int x = 0; x < 120; ++x) {
        runs.push_back(static_cast<int16_t>(20 + (x + i) % 9));
        runs.push_back(static_cast<int16_t>(-(80 + (x * 7 + i) % 13)));
    }
    part->SetConturData(std::move(runs));
    part->SetOrientation(1 + i % 2);
    part->SetRecordNo(i + 1);
    part->SetComment(i % 5 == 0 ? "checked by hand" : "");
    return part;
}

struct Project {
    OSettings_Memory settings;
    OUserInteraction_Scripted ui;
    std::unique_ptr<OHeadlessDocument> headless;
    std::unique_ptr<OView_PartList> view;

    Project() {
        settings.SetInt("Settings", "TARGET_SYSTEM_HW", 1);
        settings.SetInt("Settings", "TARGET_SYSTEM_SW", 818);
        settings.SetInt("Settings", "TARGET_SYSTEM_PARTSINSET", 2);
        settings.SetInt("Settings", "PROJECT_USE_ORIENTATION", 1);
        settings.SetInt("Settings", "PROJECT_USE_TYPES", 1);
        settings.SetInt("Settings", "PARTBUFFERSIZE", 5000);
        headless = std::make_unique<OHeadlessDocument>(settings, &ui);
        ODoc& doc = headless->Doc();
        doc.OnNewDocument();
        doc.SetBusy(0);
        OType_ZRPartSet& set = *doc.opGetActualPartSet();
        for (int i = 0; i < kParts; ++i)
            set.TeachParts().Add(Part(i));
        doc.Recompute(&set, 0, 0, 1, 1, 0);
        set.UndoRedo().bStartUndoRedo(set);
        view = std::make_unique<OView_PartList>(doc);
        view->resize(900, 600);
        view->show();
        QApplication::processEvents();
        // The user selected ten parts in the middle of the list.
        for (int i = 0; i < kParts; ++i)
            set.TeachParts().GetAt(i)->SetSelected(i >= 2000 && i < 2000 + kAssigned);
        view->OnUpdate();
    }
    OType_ZRPartSet& Set() { return *headless->Doc().opGetActualPartSet(); }
};

void BM_PartListRefreshAfterAssignment(benchmark::State& state) {
    Project project;
    OType_PartArray& parts = project.Set().TeachParts();
    int orientation = 3;
    for (auto _ : state) {
        for (int i = 2000; i < 2000 + kAssigned; ++i)
            parts.GetAt(i)->SetOrientation(orientation);
        orientation = orientation == 3 ? 4 : 3;
        const auto start = std::chrono::steady_clock::now();
        project.view->OnUpdate();
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    state.counters["parts"] = kParts;
}
BENCHMARK(BM_PartListRefreshAfterAssignment)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_PartListRefreshUnchanged(benchmark::State& state) {
    Project project;
    for (auto _ : state)
        project.view->OnUpdate();
    state.counters["parts"] = kParts;
}
BENCHMARK(BM_PartListRefreshUnchanged)->Unit(benchmark::kMillisecond);

void BM_AssignOrientationCommand(benchmark::State& state) {
    Project project;
    ODoc& doc = project.headless->Doc();
    // The document refreshes its views through the recording host; the list is refreshed
    // as the desktop's host would.
    int command = Cmd::kAssignOrientationFirst + 2;
    for (auto _ : state) {
        doc.OnCommand(command, 0);
        project.view->OnUpdate();
        command = command == Cmd::kAssignOrientationFirst + 2 ? Cmd::kAssignOrientationFirst + 3
                                                              : Cmd::kAssignOrientationFirst + 2;
    }
    state.counters["parts"] = kParts;
}
BENCHMARK(BM_AssignOrientationCommand)->Unit(benchmark::kMillisecond);

}  // namespace
