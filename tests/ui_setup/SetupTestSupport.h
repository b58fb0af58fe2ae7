// A desktop with a new project for a target and no device, for the set-up windows' tests;
// and answering a model dialog through its real window.
#pragma once

#include <QDialog>
#include <QPushButton>
#include <functional>

#include "document/ODoc.h"
#include "ui_device/DeviceTestSupport.h"

namespace setuptest {

using namespace devicetest;

struct SetupDesk {
    explicit SetupDesk(const OTargetSystem& target) {
        auto store = std::make_unique<OSettings_Memory>();
        TargetSystemSettings::WriteTarget(*store, target);
        shell = std::make_unique<Shell>(std::vector<std::string>{"-ETH:1"}, std::move(store));
        EXPECT_TRUE(shell->desktop->Start());
        shell->App().OnFileNew();
        shell->ui.Clear();
        shell->Frame().resize(1100, 800);
        ProcessEvents();
    }
    ODoc& Doc() { return *shell->App().opGetDocument(); }
    OQuillon& Session() { return *Doc().opGetSession(); }
    // Runs a menu command as the user would: it must be enabled.
    void Run(int command) {
        shell->Frame().UpdateActions();
        QAction* action = shell->Frame().Action(command);
        ASSERT_NE(action, nullptr) << command;
        ASSERT_TRUE(action->isEnabled()) << "command " << command << " is disabled";
        action->trigger();
        ProcessEvents();
    }
    std::unique_ptr<Shell> shell;
};

// Answers the next dialog of the model type through its window W: `use` works the controls,
// the window is saved as a screenshot named `shot` when given, then OK or Cancel is clicked.
template <class W, class M>
void AnswerWithWindow(Shell& shell, std::function<void(QWidget&)> use, bool ok, std::string shot,
                      std::string dialogName) {
    shell.ui.AnswerDialog(
        [&shell, use = std::move(use), ok, shot](ODialogModel& model) {
            W window(static_cast<M&>(model), &shell.Frame());
            window.show();
            ProcessEvents();
            use(window);
            ProcessEvents();
            if (!shot.empty()) {
                TempDir dir;
                SaveScreenshot(Composite(shell.Frame(), window), dir, shot);
            }
            Find<QPushButton>(window, ok ? "1" : "2")->click();
            return window.result() == QDialog::Accepted;
        },
        std::move(dialogName));
}

}  // namespace setuptest
