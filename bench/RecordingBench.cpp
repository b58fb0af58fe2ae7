// The cost of handling one part notification that brings 21 family-1 parts: the
// document's 35100 handler with the link's re-arm, FetchReceivedParts (acceptance,
// sample-part assignment, the part limit) and the steps after the parts arrived (re-sort,
// show the newest part, beep, refresh the views), on a real link in diagnostic mode.
// The parts are contour parts recorded from kalvor-devsim. BM_RecordingNotification/0
// starts every notification with an empty list; /4000 keeps a full list of 4000 parts
// under the delete-oldest policy, so that every part also removes one.
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "document/CommandIds.h"
#include "document/OHeadlessDocument.h"
#include "link/OConnectionProfile.h"
#include "link/OQuillonComInterface_TCP.h"
#include "model/partset/OType_ZRPartSet.h"
#include "platform/OCommandQueue_Manual.h"
#include "platform/OSettings_Memory.h"
#include "platform/OUserInteraction_Scripted.h"
#include "support/DevsimProcess.h"

namespace {

// 21 contour parts of a Talon, recorded from a streaming simulator.
std::vector<OType_Part> RecordParts(int count) {
    DevsimProcess sim({"--hardware", "1", "--rate", "0", "--diag"});
    std::vector<OType_Part> parts;
    if (!sim.bIsReady()) return parts;
    OQuillonComInterface_TCP link(nullptr, nullptr, nullptr, nullptr, 0);
    link.SetAddress("127.0.0.1");
    link.SetPorts(sim.PortText(0), sim.PortText(1), sim.PortText(2));
    if (link.iConnect(0, 0, 0, 0, 0, true, true) != 1) return parts;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (static_cast<int>(parts.size()) < count && std::chrono::steady_clock::now() < end) {
        if (auto part = link.opTakeReceivedPart()) {
            parts.push_back(*part);
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    link.iDisConnect(0, 0);
    return parts;
}

void BM_RecordingNotification(benchmark::State& state) {
    constexpr int kPartsPerNotification = 21;
    const int keep = static_cast<int>(state.range(0));
    const std::vector<OType_Part> parts = RecordParts(kPartsPerNotification);
    if (static_cast<int>(parts.size()) < kPartsPerNotification) {
        state.SkipWithError("kalvor-devsim gave no parts");
        return;
    }
    // A device that sends nothing by itself, for the diagnostic mode of the link.
    DevsimProcess quiet({"--hardware", "1", "--rate", "0.001"});
    OSettings_Memory settings;
    OConnectionProfile profile;
    profile.ports = {quiet.PortText(0), quiet.PortText(1), quiet.PortText(2)};
    ConnectionProfiles::Save(settings, {profile});
    ConnectionProfiles::SetLast(settings, OConnectionProfile::Kind::Tcp, 1);
    ConnectionProfiles::SetAskAtLogin(settings, false);
    settings.SetInt("Settings", "CONTYPE", 3);
    settings.SetInt("Settings", "WARNING_DISABLE_DIAGON", 1);
    OUserInteraction_Scripted ui;
    OHeadlessDocument headless(settings, &ui);
    OQuillon& session = headless.Session();
    if (!session.SetDiagnosticMode(1)) {
        state.SkipWithError("no diagnostic mode");
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    OQuillonComInterface& link = *session.opGetConnection();
    link.bRemoveAllReceivedParts();
    session.SetRecordingTarget(1);
    session.Options().msgBeep = 1;
    session.Options().displayReceivedPart = 1;
    session.Options().partLimitPolicy = 3;
    session.Options().partBufferSize = keep > 0 ? keep : 1 << 20;
    OType_PartArray& list = session.opGetActualPartSet()->TeachParts();
    while (list.iGetSize() < keep)
        list.Add(parts[static_cast<size_t>(list.iGetSize()) % parts.size()]);
    OCommandQueue_Manual& queue = headless.Queue();

    for (auto _ : state) {
        state.PauseTiming();
        if (keep == 0) list.RemoveAll();
        link.bLockReceivedParts();
        for (const OType_Part& part : parts)
            link.ReceivedParts().Add(part);
        link.UnlockReceivedParts();
        queue.Clear();
        ui.Clear();
        state.ResumeTiming();
        headless.Doc().OnCommand(Cmd::kLinkContourPart, 0);
    }
    state.counters["parts_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kPartsPerNotification,
                           benchmark::Counter::kIsRate);
    state.counters["list"] = list.iGetSize();
}

BENCHMARK(BM_RecordingNotification)->Arg(0)->Arg(4000)->Unit(benchmark::kMicrosecond);

}  // namespace
