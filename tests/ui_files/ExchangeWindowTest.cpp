// The list dialog of Export and Import as a real window, and Export and Import through the
// desktop's menu commands.
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "app/ODlg_SelectTask.h"
#include "app/ui/OListChoiceDialog.h"
#include "app/ui/OUserInteraction_Qt.h"
#include "document/CommandIds.h"
#include "document/ODoc.h"
#include "document/files/OProjectExchange.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/ResStr.h"
#include "ui_shell/ShellTestSupport.h"

namespace {

using namespace shelltest;

// Runs `act` on the list dialog once it is shown modally. A dialog that is still open a
// second later is a failure and is closed, so that a fault cannot hang the test.
void WhenListShows(std::function<void(OListChoiceDialog&)> act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<OListChoiceDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr) << "the list dialog is modal";
        act(*dialog);
        QPointer<OListChoiceDialog> open(dialog);
        QTimer::singleShot(1000, [open] {
            if (!open || !open->isVisible()) return;
            ADD_FAILURE() << "the dialog did not close";
            open->reject();
        });
    });
}

void SendMouse(QWidget* widget, QEvent::Type type, QPointF at) {
    QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

const std::vector<std::string> kEntries = {"Project text", "Sample part list",
                                           "Feature table of the sample parts"};

TEST(ListChoice, TheUserPicksAnEntryWithOkOrADoubleClick) {
    Application();
    OUserInteraction_Qt ui;
    int index = 1;
    WhenListShows([](OListChoiceDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Import / Export");
        ASSERT_EQ(dialog.List()->count(), 3);
        EXPECT_EQ(dialog.List()->item(2)->text(), "Feature table of the sample parts");
        EXPECT_EQ(dialog.iChosen(), 1) << "the preselected entry";
        dialog.List()->setCurrentRow(2);
        dialog.findChild<QPushButton*>("1")->click();
    });
    EXPECT_TRUE(ui.bChooseFromList(ResStr(5206), ResStr(5214), kEntries, index));
    EXPECT_EQ(index, 2);

    WhenListShows([](OListChoiceDialog& dialog) {
        QListWidget* list = dialog.List();
        const QPointF at = list->visualItemRect(list->item(0)).center();
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                  QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease})
            SendMouse(list->viewport(), type, at);
    });
    EXPECT_TRUE(ui.bChooseFromList(ResStr(5206), ResStr(5214), kEntries, index));
    EXPECT_EQ(index, 0);

    WhenListShows([](OListChoiceDialog& dialog) {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&dialog, &escape);
    });
    index = 1;
    EXPECT_FALSE(ui.bChooseFromList(ResStr(5206), ResStr(5214), kEntries, index));
    EXPECT_EQ(index, 1) << "Cancel leaves the index";
}

TEST(ListChoice, OkNeedsASelectedEntry) {
    Application();
    OListChoiceDialog dialog("Select part type",
                             "Please select an entry from the list:", {"Bolt", "Nut"}, -1, nullptr);
    auto* ok = dialog.findChild<QPushButton*>("1");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(dialog.iChosen(), 0) << "without a preselection the first entry";
    EXPECT_TRUE(ok->isEnabled());
    dialog.List()->clearSelection();
    EXPECT_EQ(dialog.iChosen(), -1);
    EXPECT_FALSE(ok->isEnabled());
    OListChoiceDialog empty("Select part type", "", {}, 0, nullptr);
    EXPECT_FALSE(empty.findChild<QPushButton*>("1")->isEnabled());
}

std::unique_ptr<OType_Part> Part(int i) {
    auto part = std::make_unique<OType_Part>();
    std::vector<int16_t> runs;
    for (int x = 0; x < 30; ++x) {
        runs.push_back(static_cast<int16_t>(10 + (x + i) % 5));
        runs.push_back(static_cast<int16_t>(-(40 + x % 9)));
    }
    part->SetConturData(std::move(runs));
    part->SetType(1);
    part->SetOrientation(1 + i % 2);
    return part;
}

TEST(ExchangeDesktop, ExportAndImportThroughTheFileMenu) {
    TempDir dir;
    Shell shell;
    ASSERT_TRUE(shell.desktop->Start());
    OFrame_Main& frame = shell.Frame();
    frame.resize(1024, 700);
    frame.show();
    frame.UpdateActions();
    frame.Action(Cmd::kFileNew)->trigger();
    ODoc* doc = shell.App().opGetDocument();
    ASSERT_NE(doc, nullptr);
    for (int i = 0; i < 6; ++i)
        doc->opGetActualPartSet()->TeachParts().Add(Part(i));
    doc->RecomputeAll(1, 0, 1, 1, 0);
    doc->RefreshViews();
    frame.UpdateActions();
    ASSERT_TRUE(frame.Action(Cmd::kFileExport)->isEnabled());
    ASSERT_TRUE(frame.Action(Cmd::kFileImport)->isEnabled());
    EXPECT_EQ(frame.Action(Cmd::kFileExport)->text(), "&Export...");

    // The list as the user sees it over the main window.
    std::vector<std::string> items;
    for (ExchangeKind kind : doc->Exchange().ExportEntries())
        items.push_back(ResStr(iExchangeTextId(kind)));
    OListChoiceDialog list(QString::fromStdString(ResStr(5206)),
                           QString::fromStdString(ResStr(5214)), items, 1, &frame);
    list.show();
    ProcessEvents();
    SaveScreenshot(Composite(frame, list), dir, "export_list");
    list.close();

    const std::string listPath = (dir / "samples.zrl").string();
    shell.ui.AnswerChoice(1);
    shell.ui.AnswerFileSave(listPath);
    frame.UpdateActions();
    frame.Action(Cmd::kFileExport)->trigger();
    EXPECT_TRUE(std::filesystem::exists(listPath));

    shell.ui.ExpectMessage(MsgResult::No, ResStr(5005));
    shell.ui.AnswerDialog(
        [](ODialogModel& m) {
            static_cast<ODlg_SelectTask&>(m).SetIndex(0);
            return true;
        },
        "ODlg_SelectTask");
    frame.UpdateActions();
    frame.Action(Cmd::kFileNew)->trigger();
    ProcessEvents();
    EXPECT_TRUE(doc->opGetActualPartSet()->TeachParts().bIsEmpty());
    shell.ui.AnswerChoice(1);  // the sample part list
    shell.ui.AnswerFileOpen({listPath});
    frame.UpdateActions();
    frame.Action(Cmd::kFileImport)->trigger();
    EXPECT_EQ(doc->opGetActualPartSet()->TeachParts().iGetSize(), 6);
    EXPECT_EQ(frame.windowTitle(), "Kalvor 4.0 en - Untitled*");
    ProcessEvents();
    SaveScreenshot(frame.grab().toImage(), dir, "imported_part_list");
    EXPECT_TRUE(shell.ui.Mismatches().empty()) << shell.ui.TranscriptText();
    EXPECT_TRUE(shell.ui.bAllScriptUsed()) << shell.ui.TranscriptText();
    doc->SetModifiedFlag(0);
}

}  // namespace
