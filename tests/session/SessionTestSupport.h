// Shared pieces of the session tests: a simulator with a trace of every request it was
// sent, a headless document whose connection profile reaches that simulator, a scripted
// user and a manual clock, and helpers that pump the posted notifications.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "device/OQuillon.h"
#include "device/TargetSystemSettings.h"
#include "document/OHeadlessDocument.h"
#include "link/LinkProtocol.h"
#include "link/OConnectionProfile.h"
#include "link/OQuillonComInterface.h"
#include "model/partset/OType_ZRPartSet.h"
#include "platform/OClock_Manual.h"
#include "platform/OSettings_Memory.h"
#include "platform/OUserInteraction_Scripted.h"
#include "support/DevsimProcess.h"
#include "support/TempDir.h"

namespace sessiontest {

// One request the simulator was sent.
struct OTraceLine {
    uint32_t session = 0;
    int channel = 0;
    uint32_t op = 0;
    std::string name;  // package name, "-" for other requests
    uint32_t number = 0;
    int result = 0;
};

// A simulator that writes its trace into a temporary folder.
class OTracedSim {
  public:
    explicit OTracedSim(std::vector<std::string> options = {})
        : m_trace((m_dir / "trace.txt").string()) {
        options.push_back("--trace");
        options.push_back(m_trace);
        m_sim = std::make_unique<DevsimProcess>(std::move(options));
    }
    DevsimProcess& Sim() { return *m_sim; }
    bool bIsReady() const { return m_sim->bIsReady(); }
    std::vector<OTraceLine> Trace() const {
        std::vector<OTraceLine> lines;
        std::ifstream in(m_trace);
        std::string text;
        while (std::getline(in, text)) {
            std::istringstream words(text);
            OTraceLine l;
            std::string op;
            words >> l.session >> l.channel >> op >> l.name >> l.number >> l.result;
            l.op = static_cast<uint32_t>(std::stoul(op, nullptr, 16));
            lines.push_back(l);
        }
        return lines;
    }
    // Requests of an operation (and package name) in the trace.
    int iCount(uint32_t op, const std::string& name = {}) const {
        int n = 0;
        for (const OTraceLine& l : Trace())
            n += l.op == op && (name.empty() || l.name == name) ? 1 : 0;
        return n;
    }
    size_t iSize() const { return Trace().size(); }

  private:
    TempDir m_dir;
    std::string m_trace;
    std::unique_ptr<DevsimProcess> m_sim;
};

// Settings whose connection profile reaches the simulator without asking.
inline void ReachSimulator(OSettings_Memory& settings, const DevsimProcess& sim) {
    OConnectionProfile p;
    p.name = "simulator";
    p.kind = OConnectionProfile::Kind::Tcp;
    p.host = "127.0.0.1";
    p.ports = {sim.PortText(0), sim.PortText(1), sim.PortText(2)};
    ConnectionProfiles::Save(settings, {p});
    ConnectionProfiles::SetLast(settings, OConnectionProfile::Kind::Tcp, 1);
    ConnectionProfiles::SetAskAtLogin(settings, false);
    settings.SetInt("Settings", "CONTYPE", 3);
}

// A headless document connected (on demand) to a traced simulator.
struct OSessionSetup {
    std::vector<std::string> simOptions;
    OTargetSystem target = TargetSystem::kNewProjectDefaults;
    bool withApplication = false;
    int linkTimeOutSec = 5;
};

class OSessionFixture {
    // First, so that the simulator outlives the document that disconnects from it.
    OTracedSim m_sim;

  public:
    explicit OSessionFixture(const OSessionSetup& setup) : m_sim(setup.simOptions) {
        ReachSimulator(settings, m_sim.Sim());
        TargetSystemSettings::WriteTarget(settings, setup.target);
        settings.SetInt("Settings", "MSG_BEEP", 0);
        OHeadlessOptions options;
        options.withApplication = setup.withApplication;
        options.clock = &clock;
        headless = std::make_unique<OHeadlessDocument>(settings, &ui, options);
        Link().SetTimeOut_SEC(setup.linkTimeOutSec);
    }

    OTracedSim& Sim() { return m_sim; }
    ODoc& Doc() { return headless->Doc(); }
    OQuillon& Session() { return headless->Session(); }
    OQuillonComInterface& Link() { return *Session().opGetConnection(); }
    OType_ZRPartSet& Set() { return *Session().opGetActualPartSet(); }

    // Dispatches posted commands until `done` holds or the time is up.
    bool bPumpUntil(const std::function<bool()>& done,
                    std::chrono::milliseconds limit = std::chrono::seconds(10)) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (!done()) {
            if (std::chrono::steady_clock::now() > end) return false;
            headless->Queue().bWaitForPost(std::chrono::milliseconds(20));
            headless->iDispatchPosted();
        }
        return true;
    }
    void Pump(std::chrono::milliseconds duration) {
        bPumpUntil([] { return false; }, duration);
    }

    OSettings_Memory settings;
    OUserInteraction_Scripted ui;
    OClock_Manual clock;
    std::unique_ptr<OHeadlessDocument> headless;
};

// Waits (without dispatching) until the link holds `count` received parts.
inline bool bWaitForReceived(OQuillonComInterface& link, int count,
                             std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (link.iGetNumReceivedParts() < count) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// Waits until `done` holds (a state the link's receive thread brings).
inline bool bWaitFor(const std::function<bool()>& done,
                     std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// The texts the scripted user was shown, one per line, for failure output.
inline std::string Shown(const OUserInteraction_Scripted& ui) {
    return ui.TranscriptText();
}

}  // namespace sessiontest
