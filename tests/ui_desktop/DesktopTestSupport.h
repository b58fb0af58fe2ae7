// A started desktop with a new project, and pumping the event loop until a condition holds.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

#include "document/CommandIds.h"
#include "document/ODoc.h"
#include "ui_shell/ShellTestSupport.h"

namespace desktoptest {

inline bool PumpUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

// The desktop started without a project, then File New.
struct Desk : shelltest::Shell {
    explicit Desk(std::unique_ptr<OSettings_Memory> store = std::make_unique<OSettings_Memory>())
        : Shell({"-ETH:1"}, std::move(store)) {
        EXPECT_TRUE(desktop->Start());
        Frame().show();
        Frame().UpdateActions();
        Frame().Action(Cmd::kFileNew)->trigger();
        shelltest::ProcessEvents();
    }
    ODoc& Doc() { return *App().opGetDocument(); }
};

}  // namespace desktoptest
