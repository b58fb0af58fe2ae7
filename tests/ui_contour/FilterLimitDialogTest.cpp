// The height limit dialog of the thin-area and hole filters, run through the desktop's Qt
// interaction as the contour view's commands run it: the prompt, a refused value with its
// message and a second try, and cancel.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "extraction/OContourEditCommands.h"
#include "extraction/ODlg_ContourLimits.h"
#include "extraction/ui/ODlg_FilterLimitWindow.h"
#include "ui_shell/ShellTestSupport.h"

namespace {

using namespace shelltest;

struct DialogRun {
    QStringList messages;
    QStringList prompts;
    int tries = 0;
};

// Plays the user on every modal window: message boxes are read and closed, the limit dialog
// gets the next of the typed texts and OK, or Cancel when the texts are used up.
bool RunTyping(OUserInteraction_Qt& qt, ODlg_FilterLimit& model, QStringList typed,
               DialogRun& run) {
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            run.messages << box->text();
            box->accept();
        } else if (auto* window = qobject_cast<ODlg_FilterLimitWindow*>(modal)) {
            run.prompts << window->findChild<QLabel*>()->text();
            auto* edit = window->findChild<QLineEdit*>(ODlg_FilterLimitWindow::kLimitEdit);
            if (run.tries >= typed.size()) {
                window->findChild<QPushButton*>("2")->click();
                return;
            }
            edit->selectAll();
            QTest::keyClicks(edit, typed[run.tries++]);
            window->findChild<QPushButton*>("1")->click();
        }
    });
    driver.start(20);
    const bool accepted = qt.bRunDialog(model);
    driver.stop();
    return accepted;
}

}  // namespace

TEST(FilterLimitDialog, ALimitBelowOneIsExplainedAndTheDialogStaysOpen) {
    Shell shell;
    ASSERT_TRUE(shell.desktop->Start());
    ODlg_FilterLimit model(ContourEditCommand::kPromptThinAreas, 2);
    DialogRun run;
    EXPECT_TRUE(RunTyping(shell.desktop->QtInteraction(), model, {"0", "4"}, run));
    EXPECT_EQ(run.tries, 2);
    ASSERT_EQ(run.messages.size(), 1);
    EXPECT_EQ(run.messages[0], "Limit can not be set to a Value less than 1");
    ASSERT_FALSE(run.prompts.isEmpty());
    EXPECT_EQ(run.prompts[0], "Ignore part areas with a height less than...");
    EXPECT_EQ(model.limit, 4);
}

TEST(FilterLimitDialog, TheHolePromptAndLettersThatNeverReachTheModel) {
    Shell shell;
    ASSERT_TRUE(shell.desktop->Start());
    ODlg_FilterLimit model(ContourEditCommand::kPromptHoles, 2);
    DialogRun run;
    // The field takes digits only: "x7" arrives as 7.
    EXPECT_TRUE(RunTyping(shell.desktop->QtInteraction(), model, {"x7"}, run));
    EXPECT_TRUE(run.messages.isEmpty());
    ASSERT_FALSE(run.prompts.isEmpty());
    EXPECT_EQ(run.prompts[0], "Ignore part holes with a height less than...");
    EXPECT_EQ(model.limit, 7);
}

TEST(FilterLimitDialog, CancelKeepsTheProposal) {
    Shell shell;
    ASSERT_TRUE(shell.desktop->Start());
    ODlg_FilterLimit model(ContourEditCommand::kPromptHoles, 3);
    DialogRun run;
    EXPECT_FALSE(RunTyping(shell.desktop->QtInteraction(), model, {}, run));
    EXPECT_EQ(model.limit, 3);
}
