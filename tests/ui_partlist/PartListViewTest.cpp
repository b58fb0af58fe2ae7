// The part list view on the offscreen platform: its form, what the lists show, the
// selection timers, keys, clicks, the context menu, the buttons, the clipboard, dropped
// part data and the screenshots.
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QToolBar>

#include "PartListTestSupport.h"
#include "document/CommandIds.h"
#include "document/ODlg_PartProperties.h"
#include "model/strings/ResStr.h"

namespace {

using namespace partlisttest;

QPoint RowCentre(OPartListWidget* list, int row) {
    return list->visualRect(list->model()->index(row, 0)).center();
}

void Click(OPartListWidget* list, int row, Qt::KeyboardModifiers modifiers = {}) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, RowCentre(list, row));
}

QMimeData* PartData(const std::string& format, const std::vector<uint8_t>& bytes) {
    auto* data = new QMimeData;
    data->setData(QString::fromStdString(format),
                  QByteArray(reinterpret_cast<const char*>(bytes.data()),
                             static_cast<qsizetype>(bytes.size())));
    return data;
}

// Drops data on a list the way a drag from another program ends.
void Drop(OPartListWidget* list, QMimeData* data) {
    const QPoint at = list->viewport()->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDragMoveEvent move(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &move);
    QDropEvent drop(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    ProcessEvents();  // the drop is handled once the drag has ended
}

TEST(PartListView, TheFormHasEveryControlByItsId) {
    PartListDesk desk(12, 6);
    TempDir dir;
    OView_PartList& view = *desk.view;
    for (int id : {1007, 1006}) {
        auto* sort = view.findChild<QComboBox*>(QString::number(id));
        ASSERT_NE(sort, nullptr) << id;
        EXPECT_EQ(sort->count(), 6) << "every sort order, by feature among them";
        EXPECT_EQ(sort->itemText(4), "Feature");
    }
    for (int id : {1164, 1165})
        EXPECT_NE(view.findChild<OPartListWidget*>(QString::number(id)), nullptr) << id;
    const std::pair<int, const char*> buttons[] = {{1178, ">"},  {1179, "<"}, {1175, ">>"},
                                                   {1176, "<<"}, {1177, "<"}, {1180, ">"}};
    for (const auto& [id, text] : buttons) {
        QPushButton* button = view.Button(id);
        ASSERT_NE(button, nullptr) << id;
        EXPECT_EQ(button->text(), text) << id;
    }
    EXPECT_EQ(view.StatusPane(0)->width(), 120);
    EXPECT_EQ(view.StatusPane(1)->width(), 120);
    EXPECT_EQ(view.StatusPane(2)->width(), 140);
    ASSERT_NE(view.Toolbar(), nullptr);
    EXPECT_EQ(view.Toolbar()->objectName(), "129");
    EXPECT_EQ(desk.List(true)->header()->model()->headerData(0, Qt::Horizontal).toString(),
              "Feature:");
    EXPECT_EQ(desk.Rows(true), 12);
    EXPECT_EQ(desk.Rows(false), 6);
    EXPECT_EQ(desk.Text(true, 0), "1. Part Type= 1 Orient.= 1");
    EXPECT_EQ(desk.Text(true, 1), "2. Part Type= 1 Orient.= 2");
    // The lists share the width; the buttons sit between them.
    EXPECT_LE(std::abs(desk.List(true)->width() - desk.List(false)->width()), 1);
    EXPECT_LT(desk.List(true)->geometry().right(), view.Button(1178)->mapTo(&view, QPoint()).x());
    SaveScreenshot(desk.Frame().grab().toImage(), dir, "part_list_parts");
}

TEST(PartListView, TheSelectionReachesThePartsAfterTwoHundredMilliseconds) {
    PartListDesk desk(6, 4);
    OPartListWidget* list = desk.List(true);
    QTimer* timer = desk.view->SelectionTimer(true);
    EXPECT_EQ(timer->interval(), 200);
    EXPECT_EQ(timer->objectName(), "timer2");
    EXPECT_EQ(desk.view->SelectionTimer(false)->objectName(), "timer3");
    QItemSelection selection(list->model()->index(2, 0), list->model()->index(4, 0));
    list->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(desk.SelectedFlags(true), (std::vector<int>{0})) << "not yet";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !timer->isActive(); }, 2000));
    EXPECT_EQ(desk.SelectedFlags(true), (std::vector<int>{2, 3, 4}));
    // Every change starts the wait again.
    list->selectionModel()->select(list->model()->index(5, 0), QItemSelectionModel::Select);
    QTest::qWait(120);
    list->selectionModel()->select(list->model()->index(0, 0), QItemSelectionModel::Select);
    QTest::qWait(120);
    EXPECT_EQ(desk.SelectedFlags(true), (std::vector<int>{2, 3, 4}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !timer->isActive(); }, 2000));
    EXPECT_EQ(desk.SelectedFlags(true), (std::vector<int>{0, 2, 3, 4, 5}));
}

TEST(PartListView, ClicksKeysAndTheShownPart) {
    PartListDesk desk(8, 4);
    OPartListWidget* sample = desk.List(true);
    OPartListWidget* test = desk.List(false);
    Click(test, 2);
    EXPECT_EQ(desk.Set().iShowGetTeachTest(), 0) << "a click in the test list shows test data";
    EXPECT_EQ(desk.Set().iShowTestPartGetNo(), 2);
    EXPECT_EQ(desk.SelectedFlags(false), (std::vector<int>{2})) << "taken at once";
    Click(sample, 3);
    Click(sample, 5, Qt::ShiftModifier);
    EXPECT_EQ(desk.SelectedFlags(true), (std::vector<int>{3, 4, 5}));
    EXPECT_EQ(desk.Set().iShowTeachPartGetNo(), 5);
    EXPECT_EQ(desk.Set().iShowGetTeachTest(), 1);

    // Left and right step through the parts (the menu's arrow shortcuts do not take them).
    sample->setFocus();
    QTest::keyClick(sample, Qt::Key_Right);
    EXPECT_EQ(desk.Set().iShowTeachPartGetNo(), 6);
    EXPECT_EQ(desk.SelectedFlags(true), (std::vector<int>{6})) << "the selection follows";
    EXPECT_EQ(sample->currentIndex().row(), 6);
    QTest::keyClick(sample, Qt::Key_Left);
    QTest::keyClick(sample, Qt::Key_Left);
    EXPECT_EQ(desk.Set().iShowTeachPartGetNo(), 4);
    // Up and down move in the list; the part there is shown once the timer has fired.
    const int feature = desk.Set().iShowFeatureGetNo();
    QTest::keyClick(sample, Qt::Key_Down);
    EXPECT_EQ(desk.Set().iShowFeatureGetNo(), feature) << "not the next feature";
    EXPECT_TRUE(QTest::qWaitFor([&] { return desk.Set().iShowTeachPartGetNo() == 5; }, 2000));
    EXPECT_EQ(desk.SelectedFlags(true), (std::vector<int>{5}));

    // The part contour view (or any command) moves the shown part: the list follows.
    desk.Run(Cmd::kTenPartsBack);
    EXPECT_EQ(sample->currentIndex().row(), 0);
    EXPECT_EQ(desk.SelectedFlags(true), (std::vector<int>{0}));
}

TEST(PartListView, TheContextMenuActsOnTheClickedPart) {
    PartListDesk desk(5, 2);
    OPartListWidget* sample = desk.List(true);
    Click(sample, 1);
    Click(sample, 3, Qt::ControlModifier);
    const QPoint at = RowCentre(sample, 3);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, sample->viewport()->mapToGlobal(at));
    QApplication::sendEvent(sample->viewport(), &event);
    QMenu* menu = desk.view->findChild<QMenu*>("245");
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible());
    QStringList texts;
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator()) texts << action->text().section('\t', 0, 0);
    }
    EXPECT_EQ(texts, (QStringList{"Select &all", "Cu&t", "&Copy", "&Paste", "&Delete",
                                  "Part properties", "Assign &orientation", "Assign t&ype",
                                  "Use parts at teach process", "Ignore parts at teach process"}));
    EXPECT_FALSE(menu->findChild<QAction*>("57637")->isEnabled()) << "nothing to paste";
    QAction* orientation2 = menu->findChild<QAction*>("32813");
    ASSERT_NE(orientation2, nullptr);
    EXPECT_TRUE(orientation2->isEnabled());
    EXPECT_EQ(orientation2->text(), "Assign orientation 2\tCtrl+2");
    EXPECT_FALSE(menu->findChild<QAction*>("32807")->isEnabled()) << "two part types only";
    orientation2->trigger();
    menu->close();
    ProcessEvents();
    EXPECT_EQ(desk.Set().TeachParts().GetAt(1)->iGetOrientation(), 2);
    EXPECT_EQ(desk.Set().TeachParts().GetAt(3)->iGetOrientation(), 2);
    EXPECT_EQ(desk.Set().TeachParts().GetAt(2)->iGetOrientation(), 1);
    EXPECT_EQ(desk.Text(true, 3), "4. Part Type= 1 Orient.= 2");
}

TEST(PartListView, ButtonsCopyMoveAndDelete) {
    PartListDesk desk(4, 2);
    OPartListWidget* sample = desk.List(true);
    EXPECT_TRUE(desk.view->Button(1179)->isEnabled()) << "the shown test part is selected";
    Click(desk.List(false), 0, Qt::ControlModifier);
    EXPECT_FALSE(desk.view->Button(1179)->isEnabled()) << "no test part selected";
    Click(sample, 0);
    Click(sample, 2, Qt::ControlModifier);
    EXPECT_TRUE(desk.view->Button(1178)->isEnabled());
    QTest::mouseClick(desk.view->Button(1178), Qt::LeftButton);
    EXPECT_EQ(desk.Rows(false), 4);
    EXPECT_EQ(desk.Rows(true), 4);
    EXPECT_EQ(desk.Text(false, 3), "4. Part Type= 1 Orient.= 1");
    Click(desk.List(false), 3);
    QTest::mouseClick(desk.view->Button(1176), Qt::LeftButton);
    EXPECT_EQ(desk.Rows(false), 3);
    EXPECT_EQ(desk.Rows(true), 5);
    Click(sample, 4);
    QTest::mouseClick(desk.view->Button(1177), Qt::LeftButton);
    EXPECT_EQ(desk.Rows(true), 4);
    EXPECT_EQ(desk.Set().iShowTeachPartGetNo(), 3) << "the part before the deleted one";
    EXPECT_EQ(desk.SelectedFlags(true), (std::vector<int>{3}));
}

TEST(PartListView, KeysCopyPasteAndDeleteThroughTheMenus) {
    PartListDesk desk(4, 1);
    QApplication::clipboard()->clear();
    OPartListWidget* sample = desk.List(true);
    OPartListWidget* test = desk.List(false);
    Click(sample, 1);
    Click(sample, 2, Qt::ShiftModifier);
    sample->setFocus();
    desk.Frame().UpdateActions();
    QTest::keyClick(sample, Qt::Key_C, Qt::ControlModifier);
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    ASSERT_TRUE(data->hasFormat(QString::fromStdString(ResStr(5319))));

    Click(test, 0);
    test->setFocus();
    desk.Frame().UpdateActions();
    QTest::keyClick(test, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(desk.Rows(false), 3);
    EXPECT_EQ(desk.Text(false, 2), "3. Part Type= 1 Orient.= 1");
    EXPECT_EQ(desk.SelectedFlags(false), (std::vector<int>{1, 2}));

    // Del removes the selected test parts while test data is shown.
    desk.Frame().UpdateActions();
    QTest::keyClick(test, Qt::Key_Delete);
    EXPECT_EQ(desk.Rows(false), 1);
    // Ignoring needs sample data shown, which a click in the sample list brings.
    desk.Run(Cmd::kIgnoreParts);
    EXPECT_GT(desk.Set().TeachParts().GetAt(1)->iGetOrientation(), 0) << "test data is shown";
    Click(sample, 0);
    desk.Run(Cmd::kEditSelectAll);
    desk.Run(Cmd::kIgnoreParts);
    for (int i = 0; i < 4; ++i)
        EXPECT_LT(desk.Set().TeachParts().GetAt(i)->iGetOrientation(), 0) << i;
    EXPECT_EQ(desk.Text(true, 0), "1. Part Type= 1 Orient.= 1 (ignored)");
    EXPECT_TRUE(desk.Ui().Mismatches().empty()) << desk.Ui().TranscriptText();
}

TEST(PartListView, PartsOfTheOtherFamilyOnTheClipboardAreRefused) {
    PartListDesk desk(2, 0);
    OType_Part part;
    QApplication::clipboard()->setMimeData(PartData(ResStr(5341), part.Encode()));
    OPartListWidget* sample = desk.List(true);
    sample->setFocus();
    desk.Frame().UpdateActions();
    desk.Ui().ExpectMessage(MsgResult::Ok, ResStr(21010));
    QTest::keyClick(sample, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(desk.Rows(true), 2);
    EXPECT_TRUE(desk.Ui().Mismatches().empty()) << desk.Ui().TranscriptText();
    EXPECT_TRUE(desk.Ui().bAllScriptUsed());
}

TEST(PartListView, PartsDroppedFromAnotherProgramJoinTheList) {
    PartListDesk desk(3, 1);
    for (int i = 0; i < 3; ++i)
        desk.Set().TeachParts().GetAt(i)->SetSelected(i == 2);
    const OPartListTransfer drag = desk.view->Controller().DragData(true);
    Drop(desk.List(false), PartData(drag.format, drag.bytes));
    EXPECT_EQ(desk.Rows(false), 2);
    EXPECT_EQ(desk.Set().TestParts().GetAt(1)->iGetRecordNo(), 2);

    // The other family's parts and damaged data are refused with a message.
    desk.Ui().ExpectMessage(MsgResult::Ok, ResStr(21010));
    Drop(desk.List(false), PartData(ResStr(5341), drag.bytes));
    std::vector<uint8_t> damaged = drag.bytes;
    damaged.resize(damaged.size() / 2);
    desk.Ui().ExpectMessage(MsgResult::Ok, ResStr(21011));
    Drop(desk.List(true), PartData(drag.format, damaged));
    EXPECT_EQ(desk.Rows(false), 2);
    EXPECT_EQ(desk.Rows(true), 3);
    EXPECT_TRUE(desk.Ui().Mismatches().empty()) << desk.Ui().TranscriptText();
    EXPECT_TRUE(desk.Ui().bAllScriptUsed());

    // Other data is not taken at all.
    auto* text = new QMimeData;
    text->setText("parts");
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(desk.List(true)->viewport(), &enter);
    EXPECT_FALSE(enter.isAccepted());
    delete text;
}

TEST(PartListView, SortSelectorsAndTheStatusBar) {
    PartListDesk desk(5, 3);
    OType_PartArray& test = desk.Set().TestParts();
    test.GetAt(0)->SetResultValue(0, 140);
    for (int i = 0; i < 5; ++i)
        desk.Set().TeachParts().GetAt(i)->SetComment(std::string(1, static_cast<char>('e' - i)));
    desk.doc->RefreshViews();
    QComboBox* sort = desk.view->SortSelector(true);
    sort->setCurrentIndex(5);
    emit sort->activated(5);
    EXPECT_EQ(desk.Text(true, 0), "5. Part Type= 1 Orient.= 1, a");
    desk.doc->SelectFeature(2);
    sort->setCurrentIndex(4);
    emit sort->activated(4);
    EXPECT_TRUE(
        desk.List(true)->model()->headerData(0, Qt::Horizontal).toString().startsWith("Feature: "));
    EXPECT_EQ(desk.Set().TeachParts().iGetSortFeature(), 2);
    const QString tip = desk.List(true)->model()->index(0, 0).data(Qt::ToolTipRole).toString();
    EXPECT_TRUE(tip.contains('\n')) << tip.toStdString();
    // The status bar counts the test parts as the classifier left them.
    int good = 0;
    for (int i = 0; i < test.iGetSize(); ++i)
        good += test.GetAt(i)->dGetResultValue(0) <= 100 ? 1 : 0;
    EXPECT_EQ(desk.view->StatusPane(0)->text(),
              QString("Good: %1 (%2%)").arg(good).arg(good * 100 / 3));
}

TEST(PartListView, ScreenshotsGoToAFileAndTheClipboard) {
    PartListDesk desk(3, 0);
    TempDir dir;
    const std::string path = (dir / "list.bmp").string();
    desk.Ui().AnswerFileSave(path);
    desk.doc->SetLastFolder(dir.Path().string());
    desk.List(true)->setFocus();
    desk.Run(Cmd::kScreenshotToFile);
    QImage saved(QString::fromStdString(path));
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.size(), desk.view->size());
    EXPECT_EQ(desk.Ui().Transcript().back().fileRequest.defaultExtension, "bmp");
    EXPECT_EQ(desk.Ui().Transcript().back().fileRequest.initialPath, dir.Path().string())
        << "the save dialog starts in the project's last folder";
    desk.Run(Cmd::kScreenshotToClipboard);
    EXPECT_EQ(QApplication::clipboard()->image().size(), desk.view->size());

    desk.Ui().AnswerFileSave("/nonexistent-folder/list.bmp");
    desk.Ui().ExpectMessage(MsgResult::Ok, ResStr(8226));
    desk.Run(Cmd::kScreenshotToFile);
    EXPECT_TRUE(desk.Ui().Mismatches().empty()) << desk.Ui().TranscriptText();
}

TEST(PartListView, ADoubleClickOpensThePartPropertiesOfTheSelection) {
    PartListDesk desk(4, 0);
    Click(desk.List(true), 1);
    desk.Ui().AnswerDialog(
        [](ODialogModel& m) {
            auto& d = static_cast<ODlg_PartProperties&>(m);
            EXPECT_EQ(d.iGetNumParts(), 1);
            d.comment = "bent";
            return true;
        },
        "ODlg_PartProperties");
    QTest::mouseDClick(desk.List(true)->viewport(), Qt::LeftButton, {},
                       RowCentre(desk.List(true), 1));
    EXPECT_EQ(desk.Text(true, 1), "2. Part Type= 1 Orient.= 2, bent");
    EXPECT_TRUE(desk.Ui().Mismatches().empty()) << desk.Ui().TranscriptText();
}

TEST(PartListView, ThePlacementIsKeptUnderPartList) {
    auto store = std::make_unique<OSettings_Memory>();
    OSettings_Memory* settings = store.get();
    std::string kept;
    QRect placed;
    {
        Shell shell({"-ETH:1"}, std::move(store));
        ASSERT_TRUE(shell.desktop->Start());
        shell.App().OnFileNew();
        OFrame_Child* frame = shell.Frame().Frame(ViewKind::PartList);
        frame->setGeometry(30, 40, 700, 450);
        placed = frame->geometry();
        shell.Frame().SaveFramePlacements();
        kept = settings->GetText("WndPos", "PARTLIST", "");
        EXPECT_EQ(kept, "1,1,-1,-1,-1,-1,30,40,730,490");
    }
    auto next = std::make_unique<OSettings_Memory>();
    next->SetText("WndPos", "PARTLIST", kept);
    Shell again({"-ETH:1"}, std::move(next));
    ASSERT_TRUE(again.desktop->Start());
    again.App().OnFileNew();
    EXPECT_EQ(again.Frame().Frame(ViewKind::PartList)->geometry(), placed);
}

}  // namespace

namespace {

TEST(PartListView, ThePartSetBarChoosesTheCheckProgramTheListShows) {
    PartListDesk desk(3, 0);
    desk.Run(Cmd::kAddPartSet);
    ASSERT_EQ(desk.doc->opGetSession()->PartSets().iGetNum(), 2);
    EXPECT_EQ(desk.Rows(true), 0) << "the new check program is the actual one";
    auto* selector = desk.Frame().PartSetBar()->findChild<QComboBox*>("32784");
    ASSERT_NE(selector, nullptr);
    EXPECT_EQ(selector->count(), 2);
    desk.Frame().UpdateActions();
    EXPECT_TRUE(selector->isEnabled());
    selector->setCurrentIndex(0);
    emit selector->activated(0);
    EXPECT_EQ(desk.doc->opGetSession()->PartSets().iGetActualPartSetNo(), 0);
    EXPECT_EQ(desk.Rows(true), 3);
    EXPECT_EQ(desk.Frame().Frame(ViewKind::PartList)->windowTitle().left(12), "Part list - ");
}

}  // namespace
