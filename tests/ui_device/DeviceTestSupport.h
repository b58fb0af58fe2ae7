// The desktop program against kalvor-devsim over TCP for the device windows' tests: a shell
// whose connection profile reaches the simulator without asking, helpers that pump the event
// loop, click widgets found by their object names and save screenshots.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QTreeWidget>
#include <chrono>
#include <functional>
#include <thread>

#include "app/ui/OFrame_Child.h"
#include "device/TargetSystemSettings.h"
#include "document/CommandIds.h"
#include "session/SessionTestSupport.h"
#include "ui_shell/ShellTestSupport.h"

namespace devicetest {

using namespace shelltest;

inline bool PumpUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds limit = std::chrono::seconds(20)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

template <class T>
T* Find(QWidget& root, const QString& name) {
    T* w = root.findChild<T*>(name);
    EXPECT_NE(w, nullptr) << "no widget " << name.toStdString();
    return w;
}

inline void Click(QWidget& root, int controlId) {
    auto* button = Find<QAbstractButton>(root, QString::number(controlId));
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isEnabled()) << "control " << controlId << " is disabled";
    button->click();
    ProcessEvents();
}

// Selects exactly these rows of a list, as the user clicks them.
inline void SelectRows(QTreeWidget* list, const std::vector<int>& rows) {
    list->clearSelection();
    for (int r : rows) {
        QTreeWidgetItem* item = list->topLevelItem(r);
        if (!item) {
            ADD_FAILURE() << "the list has no row " << r;
            continue;
        }
        item->setSelected(true);
    }
    ProcessEvents();
}

// A desktop with a new project for `target`, connected on demand to a simulator of it.
struct ODesktopWithDevice {
    ODesktopWithDevice(const OTargetSystem& target, std::vector<std::string> simOptions)
        : sim(WithTarget(target, std::move(simOptions))) {
        auto store = std::make_unique<OSettings_Memory>();
        sessiontest::ReachSimulator(*store, sim);
        TargetSystemSettings::WriteTarget(*store, target);
        store->SetInt("Settings", "MSG_BEEP", 0);
        store->SetInt("Settings", "WARNING_DISABLE_DIAGON", 1);
        shell = std::make_unique<Shell>(std::vector<std::string>{"-ETH:1"}, std::move(store));
        EXPECT_TRUE(sim.bIsReady()) << sim.ReadyLine();
        EXPECT_TRUE(shell->desktop->Start());
        Frame().resize(1280, 860);
        Frame().show();
        Frame().UpdateActions();
        Frame().Action(Cmd::kFileNew)->trigger();
        ProcessEvents();
    }
    static std::vector<std::string> WithTarget(const OTargetSystem& t, std::vector<std::string> o) {
        o.insert(o.end(),
                 {"--hardware", std::to_string(t.hardware), "--part-types",
                  std::to_string(t.partTypes), "--parts-in-set", std::to_string(t.partsInSet)});
        return o;
    }
    OFrame_Main& Frame() { return shell->Frame(); }
    ODoc& Doc() { return *shell->App().opGetDocument(); }
    OQuillon& Session() { return *Doc().opGetSession(); }
    OUserInteraction_Scripted& Ui() { return shell->ui; }
    OSettings_Memory& Settings() { return *shell->settings; }
    void Run(int command) {
        Frame().UpdateActions();
        QAction* action = Frame().Action(command);
        ASSERT_NE(action, nullptr) << command;
        ASSERT_TRUE(action->isEnabled()) << "command " << command << " is disabled";
        action->trigger();
        ProcessEvents();
    }
    QWidget* View(ViewKind kind) {
        OFrame_Child* frame = Frame().Frame(kind);
        return frame ? frame->widget() : nullptr;
    }

    DevsimProcess sim;
    std::unique_ptr<Shell> shell;
};

}  // namespace devicetest
