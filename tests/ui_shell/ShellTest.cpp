// The desktop shell on the offscreen platform: the main frame's menus, toolbar and status
// bar, the splash, the about box, the welcome dialog, child frames and window placement.
#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QThread>
#include <QTimer>
#include <QToolBar>

#include "ShellTestSupport.h"
#include "app/AboutTexts.h"
#include "app/ODlg_SelectTask.h"
#include "app/ui/ODlg_About.h"
#include "app/ui/ODlg_SelectTaskWindow.h"
#include "app/ui/OFrame_Child.h"
#include "app/ui/OSettings_Qt.h"
#include "app/ui/OSplashWnd.h"
#include "app/ui/OUserInteraction_Qt.h"
#include "document/CommandIds.h"
#include "document/ODoc.h"
#include "document/ui/OPartListModel.h"
#include "document/ui/OViewWidget.h"
#include "document/ui/OView_PartList.h"
#include "kalvor/Version.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/ResStr.h"

namespace {

using namespace shelltest;

template <typename T = QWidget>
T* Child(QWidget& parent, const QString& name) {
    return parent.findChild<T*>(name);
}

TEST(Shell, MainWindowWithTheWelcomeDialog) {
    TempDir dir;
    Shell shell(std::vector<std::string>{});
    shell.ui.AnswerDialog([](ODialogModel& m) {
        static_cast<ODlg_SelectTask&>(m).SetIndex(0);
        return true;
    });
    ASSERT_TRUE(shell.desktop->Start());
    OFrame_Main& frame = shell.Frame();
    frame.resize(1024, 700);
    ProcessEvents();
    EXPECT_EQ(frame.windowTitle(), "Kalvor 4.0 en - Untitled");
    ASSERT_NE(shell.App().opGetDocument(), nullptr);

    shell.settings->SetInt("Settings", "START_TYPE", 3);
    ODlg_SelectTask model(*shell.settings,
                          {"/home/ann/projects/housing.zrp", "/home/ann/line 4.kvp"});
    ODlg_SelectTaskWindow window(model, &frame);
    window.show();
    ProcessEvents();
    EXPECT_EQ(window.windowTitle(), "Welcome to Kalvor");
    EXPECT_TRUE(window.Choice(2)->isChecked());
    EXPECT_EQ(window.Choice(0)->text(), "Create new project");
    EXPECT_EQ(window.Choice(1)->text(), "Open existing project file");
    EXPECT_EQ(window.Choice(2)->text(), "Open recently used project file");
    EXPECT_EQ(window.RecentList()->itemText(0), "housing.zrp");
    EXPECT_EQ(window.RecentList()->itemText(1), "line 4.kvp");
    EXPECT_EQ(Child<QPushButton>(window, "1")->text(), "Next >");
    EXPECT_EQ(Child<QPushButton>(window, "2")->text(), "Exit");
    frame.UpdateActions();
    const QImage shot = Composite(frame, window);
    SaveScreenshot(shot, dir, "main_window_welcome");
    EXPECT_EQ(shot.size(), frame.size());
    window.close();
}

TEST(Shell, MainWindowWithTheAboutBox) {
    TempDir dir;
    Shell shell;
    ASSERT_TRUE(shell.desktop->Start());
    shell.App().OnFileNew();
    OFrame_Main& frame = shell.Frame();
    frame.resize(1024, 700);
    ProcessEvents();
    ODlg_About about(QString::fromStdString(shell.App().GetDescription()),
                     QString::fromStdString(shell.App().GetCopyright()), &frame);
    about.show();
    ProcessEvents();
    EXPECT_EQ(about.windowTitle(), "Information on Kalvor");
    EXPECT_EQ(Child<QLabel>(about, "1337")->text(), kalvor::version::kDescription);
    EXPECT_EQ(Child<QLabel>(about, "1338")->text(), kalvor::version::kCopyright);
    EXPECT_EQ(Child<QLabel>(about, "1332")->text(), "3.5.0.0, 3.6.0.0");
    EXPECT_EQ(Child<QLabel>(about, "1333")->text(), "3.6.0.0");
    const QImage aboutImage = about.grab().toImage();
    const QPoint logo = about.LogoPosition();
    EXPECT_EQ(logo, QPoint(about.rect().right() - 93, 93));
    // The logo strip's dark edge is drawn there, not the dialog background.
    const QColor inside = aboutImage.pixelColor(logo + QPoint(2, 7));
    const QColor background = aboutImage.pixelColor(logo + QPoint(-20, 7));
    EXPECT_NE(inside, background);
    EXPECT_LT(inside.lightness(), 120);
    frame.UpdateActions();
    const QImage shot = Composite(frame, about);
    SaveScreenshot(shot, dir, "main_window_about");
    SaveScreenshot(aboutImage, dir, "about_box");
}

TEST(Shell, StatusBarPanesAndTheProgressBarOverPaneOne) {
    Shell shell;
    ASSERT_TRUE(shell.desktop->Start());
    OFrame_Main& frame = shell.Frame();
    ProcessEvents();
    QStatusBar* bar = Child<QStatusBar>(frame, "59393");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(frame.Pane(1)->objectName(), "500");
    EXPECT_EQ(frame.Pane(1)->width(), 180);
    EXPECT_EQ(frame.Pane(2)->width(), 380);
    EXPECT_EQ(frame.Pane(3)->width(), 130);
    EXPECT_GE(frame.Pane(0)->width(), 100);
    EXPECT_EQ(frame.Pane(2)->text().toStdString(), ResStr(9048));
    EXPECT_EQ(frame.Pane(3)->text().toStdString(), ResStr(9048));
    for (int size : {900, 1300, 760, 1600, 1024}) {
        frame.resize(size, 600 + size / 10);
        ProcessEvents();
        EXPECT_EQ(frame.findChildren<QProgressBar*>().size(), 1);
        ASSERT_NE(frame.ProgressBar(), nullptr);
        EXPECT_EQ(frame.ProgressBar()->geometry(), frame.Pane(1)->geometry()) << size;
        EXPECT_EQ(frame.ProgressBar()->objectName(), "99");
    }
    OProgressCtrl& progress = shell.desktop->Progress();
    progress.Start();
    progress.Length(8);
    progress.Increase(2);
    progress.SetStatusText("Loading check programs ...");
    progress.UpdateDisplay();
    EXPECT_EQ(frame.ProgressBar()->value(), 25);
    EXPECT_EQ(frame.Pane(0)->text(), "Loading check programs ...");
    progress.End();
    EXPECT_EQ(frame.ProgressBar()->value(), 0);
    EXPECT_EQ(frame.Pane(0)->text(), "For Help, press F1");
}

TEST(Shell, MenusAndToolbarComeFromTheCommandTable) {
    Shell shell;
    ASSERT_TRUE(shell.desktop->Start());
    shell.App().OnFileNew();
    OFrame_Main& frame = shell.Frame();
    QStringList menus;
    for (QAction* a : frame.menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus, (QStringList{"&File", "&Edit", "&View", "&Navigate", "&Project", "&Tools",
                                  "&Contour", "&Device", "E&xtras", "&Window", "&Help"}));
    QAction* partList = frame.Action(Cmd::kViewPartList);
    ASSERT_NE(partList, nullptr);
    EXPECT_EQ(partList->text(), "Part &list");
    EXPECT_EQ(partList->shortcut(), QKeySequence("Alt+L"));
    EXPECT_EQ(frame.Action(32921)->shortcut(), QKeySequence(Qt::Key_Left));
    EXPECT_EQ(frame.Action(33059)->shortcut(), QKeySequence()) << "Ctrl+1 belongs to orientation 1";
    EXPECT_EQ(frame.Action(32812)->shortcut(), QKeySequence("Ctrl+1"));

    QMenu* tools = frame.findChild<QMenu*>("&Tools/Add &tool");
    ASSERT_NE(tools, nullptr);
    frame.UpdateMenu(tools);
    EXPECT_FALSE(frame.Action(32855)->isEnabled()) << "no blob finder in this program yet";
    QMenu* file = frame.findChild<QMenu*>("&File");
    frame.UpdateMenu(file);
    EXPECT_TRUE(frame.Action(Cmd::kFileNew)->isEnabled());
    EXPECT_TRUE(frame.Action(Cmd::kFileSaveAs)->isEnabled());
    EXPECT_FALSE(frame.Action(Cmd::kFilePrint)->isEnabled());
    QMenu* view = frame.findChild<QMenu*>("&View");
    frame.UpdateMenu(view);
    EXPECT_TRUE(frame.Action(Cmd::kViewPartList)->isEnabled());
    EXPECT_TRUE(frame.Action(Cmd::kViewTeachData)->isEnabled());
    EXPECT_TRUE(frame.Action(Cmd::kToggleWizardBar)->isChecked());

    QToolBar* toolbar = frame.MainToolbar();
    ASSERT_NE(toolbar, nullptr);
    int checkButtons = 0;
    for (QAction* a : toolbar->actions())
        checkButtons += a->isCheckable() ? 1 : 0;
    EXPECT_EQ(checkButtons, 5);
    EXPECT_FALSE(frame.Action(Cmd::kConnect)->isEnabled());
}

TEST(Shell, TheTitleFollowsTheModifiedFlag) {
    Shell shell;
    ASSERT_TRUE(shell.desktop->Start());
    shell.App().OnFileNew();
    ODoc& doc = *shell.App().opGetDocument();
    doc.SetModifiedFlag(1);
    doc.SetModifiedFlag(1);
    EXPECT_EQ(shell.Frame().windowTitle(), "Kalvor 4.0 en - Untitled*");
    doc.SetModifiedFlag(0);
    EXPECT_EQ(shell.Frame().windowTitle(), "Kalvor 4.0 en - Untitled");
}

TEST(Shell, ClosingThePartListOnlyHidesIt) {
    Shell shell;
    ASSERT_TRUE(shell.desktop->Start());
    shell.App().OnFileNew();
    OFrame_Main& frame = shell.Frame();
    ProcessEvents();
    OFrame_Child* partList = frame.Frame(ViewKind::PartList);
    ASSERT_NE(partList, nullptr);
    EXPECT_FALSE(partList->bIsClosable());
    partList->close();
    ProcessEvents();
    ASSERT_EQ(frame.Frame(ViewKind::PartList), partList) << "still there";
    EXPECT_TRUE(partList->isHidden());
    frame.UpdateActions();
    frame.Action(Cmd::kViewPartList)->trigger();
    ProcessEvents();
    EXPECT_FALSE(partList->isHidden());
    EXPECT_EQ(frame.MdiArea()->subWindowList().size(), 1);
}

TEST(Shell, ChildCaptionsNameTheActualCheckProgram) {
    Shell shell;
    ASSERT_TRUE(shell.desktop->Start());
    shell.App().OnFileNew();
    ODoc& doc = *shell.App().opGetDocument();
    OFrame_Child* partList = shell.Frame().Frame(ViewKind::PartList);
    ASSERT_NE(partList, nullptr);
    EXPECT_EQ(partList->windowTitle(), "Part list");
    doc.opGetSession()->AddPartSet(std::string("Second\nline"));
    doc.opGetSession()->PartSets().iSetActualPartSetNo(1);
    doc.RefreshPartSetBar(0);
    doc.RefreshViews();
    EXPECT_EQ(partList->windowTitle(), "Part list - Second line");
    ASSERT_NE(shell.Frame().PartSetBar(), nullptr);
    auto* selector = shell.Frame().PartSetBar()->findChild<QComboBox*>("32784");
    ASSERT_NE(selector, nullptr);
    EXPECT_EQ(selector->count(), 2);
    EXPECT_EQ(selector->currentIndex(), 1);
    EXPECT_EQ(selector->width(), 200);
}

TEST(Shell, ThePartListShowsSampleAndTestParts) {
    Shell shell;
    ASSERT_TRUE(shell.desktop->Start());
    shell.App().OnFileNew();
    ODoc& doc = *shell.App().opGetDocument();
    doc.SetBusy(0);
    OType_ZRPartSet& set = *doc.opGetActualPartSet();
    for (int i = 0; i < 3; ++i) {
        auto part = std::make_unique<OType_Part>();
        part->SetOrientation(i - 1);
        part->SetComment(i == 2 ? "scratch" : "");
        part->SetRecordNo(i + 1);
        set.TeachParts().Add(std::move(part));
    }
    set.TestParts().Add(std::make_unique<OType_Part>())->SetRecordNo(1);
    doc.RefreshViews();
    auto* view = qobject_cast<OView_PartList*>(shell.Frame().Frame(ViewKind::PartList)->widget());
    ASSERT_NE(view, nullptr);
    const OPartListModel& teach = *view->Model(true);
    ASSERT_EQ(teach.rowCount(), 3);
    // A new project uses neither orientations nor types: the entries name the part, mark
    // the ignored one and add the comment.
    EXPECT_EQ(teach.Rows()[0].text, "1. Part (ignored)");
    EXPECT_EQ(teach.Rows()[1].text, "2. Part");
    EXPECT_EQ(teach.Rows()[2].text, "3. Part, scratch");
    EXPECT_EQ(view->Model(false)->rowCount(), 1);
}

// A view that claims Copy for itself and leaves every other command to the document.
class CopyingView : public QWidget, public OViewWidget {
  public:
    void OnUpdate() override {}
    std::optional<OCommandState> ViewCommandState(int id) override {
        if (id != Cmd::kEditCopy) return std::nullopt;
        return OCommandState{true, false, std::string("Copy the view")};
    }
    bool bOnViewCommand(int id) override {
        if (id != Cmd::kEditCopy) return false;
        ++copies;
        return true;
    }
    int copies = 0;
};

TEST(Shell, CommandsGoToTheActiveViewBeforeTheDocument) {
    Shell shell;
    ASSERT_TRUE(shell.desktop->Start());
    shell.App().OnFileNew();
    OFrame_Main& frame = shell.Frame();
    frame.show();
    ProcessEvents();
    EXPECT_FALSE(frame.CommandState(Cmd::kEditCopy, frame.CurrentView()).enabled)
        << "nothing to copy in a new project";

    auto* view = new CopyingView;
    auto* child = new OFrame_Child(ViewKind::FeatureGraph, view);
    frame.MdiArea()->addSubWindow(child);
    child->show();
    frame.MdiArea()->setActiveSubWindow(child);
    view->setFocus();
    ProcessEvents();
    ASSERT_EQ(frame.CurrentView(), view);
    const OCommandState copy = frame.CommandState(Cmd::kEditCopy, view);
    EXPECT_TRUE(copy.enabled);
    frame.UpdateActions();
    EXPECT_EQ(frame.Action(Cmd::kEditCopy)->text(), "Copy the view");
    frame.Action(Cmd::kEditCopy)->trigger();
    EXPECT_EQ(view->copies, 1);
    // Commands the view leaves alone still reach the document.
    EXPECT_TRUE(frame.CommandState(Cmd::kFileSave, view).enabled);
    EXPECT_FALSE(frame.CommandState(Cmd::kEditUndo, view).enabled);

    child->hide();
    ProcessEvents();
    EXPECT_NE(frame.CurrentView(), view) << "a hidden frame takes no commands";
    delete child;
}

TEST(Shell, AFrameOutsideTheMainWindowComesBackAtFiveFive) {
    Shell shell;
    ASSERT_TRUE(shell.desktop->Start());
    shell.App().OnFileNew();
    OFrame_Main& frame = shell.Frame();
    frame.resize(1000, 700);
    frame.show();
    ProcessEvents();
    OFrame_Child* partList = frame.Frame(ViewKind::PartList);
    partList->move(3000, 2500);
    frame.UpdateActions();
    frame.Action(Cmd::kViewPartList)->trigger();
    ProcessEvents();
    EXPECT_EQ(partList->pos(), QPoint(5, 5));
}

TEST(Shell, TheSplashShowsUnlessSwitchedOffAndAKeyHidesIt) {
    TempDir dir;
    {
        Shell shell({"-ETH:1"});
        ASSERT_TRUE(shell.desktop->Start());
        OSplashWnd* splash = OSplashWnd::Current();
        ASSERT_NE(splash, nullptr);
        EXPECT_EQ(splash->size(), QSize(520, 450));
        const QImage picture = splash->grab().toImage();
        SaveScreenshot(picture, dir, "splash");
        // The texts are drawn in their bands: light pixels on the dark picture.
        auto lightPixelsIn = [&](int top) {
            int light = 0;
            for (int y = top; y < top + 20; ++y)
                for (int x = 0; x < picture.width(); ++x)
                    light += picture.pixelColor(x, y).lightness() > 200 ? 1 : 0;
            return light;
        };
        EXPECT_GT(lightPixelsIn(390), 50);
        EXPECT_GT(lightPixelsIn(415), 50);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
        QApplication::sendEvent(&shell.Frame(), &press);
        EXPECT_EQ(OSplashWnd::Current(), nullptr);
        ProcessEvents();
    }
    {
        Shell shell({"/nologo", "-ETH:1"});
        ASSERT_TRUE(shell.desktop->Start());
        EXPECT_EQ(OSplashWnd::Current(), nullptr);
    }
    // A splash still shown when its main window goes is closed with it, so that it takes no
    // click meant for a later window.
    {
        Shell shell({"-ETH:1"});
        ASSERT_TRUE(shell.desktop->Start());
        ASSERT_NE(OSplashWnd::Current(), nullptr);
    }
    EXPECT_EQ(OSplashWnd::Current(), nullptr);
    ProcessEvents();
    QWidget target;
    int presses = 0;
    struct Counter : QObject {
        int& n;
        explicit Counter(int& count) : n(count) {}
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::MouseButtonPress) ++n;
            return false;
        }
    } counter(presses);
    target.installEventFilter(&counter);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &press);
    EXPECT_EQ(presses, 1) << "the press reached its window";
}

TEST(Shell, WindowPlacementIsKeptBetweenRuns) {
    auto store = std::make_unique<OSettings_Memory>();
    OSettings_Memory* settings = store.get();
    OSettings_Memory keep;
    {
        Shell shell({"-ETH:1"}, std::move(store));
        ASSERT_TRUE(shell.desktop->Start());
        shell.Frame().setGeometry(40, 50, 900, 640);
        ProcessEvents();
        shell.Frame().close();
        ProcessEvents();
        EXPECT_EQ(settings->GetText("WndPos", "MAIN", ""), "1,1,-1,-1,-1,-1,40,50,940,690");
        for (const std::string& line : settings->Dump())
            (void)line;
        keep.SetText("WndPos", "MAIN", settings->GetText("WndPos", "MAIN", ""));
        EXPECT_EQ(shell.desktop->Finish(), 0);
    }
    auto next = std::make_unique<OSettings_Memory>();
    next->SetText("WndPos", "MAIN", keep.GetText("WndPos", "MAIN", ""));
    Shell again({"-ETH:1"}, std::move(next));
    ASSERT_TRUE(again.desktop->Start());
    ProcessEvents();
    EXPECT_EQ(again.Frame().geometry(), QRect(40, 50, 900, 640));
}

TEST(Shell, WelcomeWindowChoices) {
    Application();
    OSettings_Memory settings;
    settings.SetInt("Settings", "START_TYPE", 0);
    {
        ODlg_SelectTask model(settings, {"/a/one.zrp"});
        ODlg_SelectTaskWindow window(model);
        for (int i = 0; i < 3; ++i)
            EXPECT_FALSE(window.Choice(i)->isChecked());
        window.findChild<QPushButton*>("1")->click();
        EXPECT_EQ(window.result(), QDialog::Accepted);
        EXPECT_EQ(model.iGetIndex(), -1);
        model.OnOk();
        EXPECT_EQ(settings.iGetInt("Settings", "START_TYPE", -1), 0);
    }
    {
        ODlg_SelectTask model(settings, {"/a/one.zrp", "/b/two.zrp"});
        ODlg_SelectTaskWindow window(model);
        window.show();
        const QPointF at(5, 5);
        QMouseEvent doubleClick(QEvent::MouseButtonDblClick, at, window.Choice(1)->mapToGlobal(at),
                                Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.Choice(1), &doubleClick);
        EXPECT_EQ(window.result(), QDialog::Accepted) << "a double click acts as Next";
        EXPECT_EQ(model.iGetIndex(), 1);
    }
    {
        ODlg_SelectTask model(settings, {"/a/one.zrp", "/b/two.zrp"});
        ODlg_SelectTaskWindow window(model);
        window.show();
        emit window.RecentList()->activated(1);
        EXPECT_EQ(window.result(), QDialog::Accepted);
        EXPECT_EQ(model.iGetIndex(), 2);
        EXPECT_EQ(model.StartFile(), "/b/two.zrp");
    }
}

TEST(Shell, QtSettingsKeepSectionsAndValues) {
    TempDir dir;
    const QString file = QString::fromStdString((dir / "store.ini").string());
    {
        OSettings_Qt settings(file);
        settings.SetInt("Settings", "PARTBUFFERSIZE", 25000);
        settings.SetText("WndPos", "MAIN", "1,1,-1,-1,-1,-1,0,0,10,10");
        settings.SetText("Settings", "PATH", "/home/ann/projects");
        EXPECT_TRUE(settings.bFlush());
    }
    OSettings_Qt settings(file);
    EXPECT_EQ(settings.iGetInt("Settings", "PARTBUFFERSIZE", 0), 25000);
    EXPECT_EQ(settings.GetText("Settings", "PARTBUFFERSIZE", ""), "25000");
    EXPECT_EQ(settings.GetText("WndPos", "MAIN", ""), "1,1,-1,-1,-1,-1,0,0,10,10");
    EXPECT_EQ(settings.iGetInt("Settings", "PATH", -3), -3) << "a text that is no integer";
    EXPECT_TRUE(settings.bHasValue("Settings", "PATH"));
    settings.RemoveValue("Settings", "PATH");
    EXPECT_FALSE(settings.bHasValue("Settings", "PATH"));
}

class Recorder : public CommandTarget {
  public:
    void OnCommand(int id, int64_t arg) override { seen.emplace_back(id, arg); }
    std::vector<std::pair<int, int64_t>> seen;
};

TEST(Shell, TheCommandQueueDispatchesPostsFromOtherThreadsInOrder) {
    Application();
    Recorder recorder;
    OCommandQueue_Qt queue(&recorder);
    QThread* poster = QThread::create([&] {
        for (int i = 0; i < 50; ++i)
            queue.Post(35100, i);
    });
    poster->start();
    poster->wait();
    delete poster;
    queue.Post(35108);
    queue.Post(35108);
    queue.Post(35102);
    EXPECT_TRUE(queue.bHasPending(35108));
    ProcessEvents();
    ASSERT_EQ(recorder.seen.size(), 53u);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(recorder.seen[static_cast<size_t>(i)], (std::pair<int, int64_t>{35100, i}));
    recorder.seen.clear();
    queue.Post(35108);
    queue.Post(35108);
    queue.Post(35102);
    EXPECT_EQ(queue.iRemovePendingAtHead(35108, 100), 2);
    ProcessEvents();
    EXPECT_EQ(recorder.seen, (std::vector<std::pair<int, int64_t>>{{35102, 0}}));
}

}  // namespace

namespace {

using namespace shelltest;

TEST(ShellFiles, NewSaveOpenSaveAsCloseAndExitThroughTheMenus) {
    TempDir dir;
    Shell shell;
    ASSERT_TRUE(shell.desktop->Start());
    OFrame_Main& frame = shell.Frame();
    frame.show();
    frame.UpdateActions();
    frame.Action(Cmd::kFileNew)->trigger();
    ODoc* doc = shell.App().opGetDocument();
    ASSERT_NE(doc, nullptr);
    doc->opGetActualPartSet()->TeachParts().Add(std::make_unique<OType_Part>());
    doc->SetModifiedFlag(1);

    const std::string first = (dir / "first.zrp").string();
    shell.ui.AnswerFileSave(first);
    frame.UpdateActions();
    frame.Action(Cmd::kFileSave)->trigger();
    EXPECT_TRUE(std::filesystem::exists(first));
    EXPECT_EQ(frame.windowTitle(), "Kalvor 4.0 en - first.zrp");

    const std::string second = (dir / "second.zrp").string();
    shell.ui.AnswerFileSave(second);
    frame.Action(Cmd::kFileSaveAs)->trigger();
    EXPECT_TRUE(std::filesystem::exists(second));
    frame.UpdateActions();
    EXPECT_EQ(frame.Action(Cmd::kRecentFileFirst)->text(), "&1 second.zrp");
    EXPECT_TRUE(frame.Action(Cmd::kRecentFileFirst + 1)->isVisible());
    EXPECT_FALSE(frame.Action(Cmd::kRecentFileFirst + 2)->isVisible());

    // File New asks nothing for a saved project and shows the welcome dialog again.
    shell.ui.AnswerDialog(
        [](ODialogModel& m) {
            static_cast<ODlg_SelectTask&>(m).SetIndex(0);
            return true;
        },
        "ODlg_SelectTask");
    frame.Action(Cmd::kFileNew)->trigger();
    EXPECT_TRUE(doc->opGetActualPartSet()->TeachParts().bIsEmpty());
    ProcessEvents();  // runs the posted project-properties command (not built yet: nothing)

    shell.ui.AnswerFileOpen({first});
    frame.UpdateActions();
    frame.Action(Cmd::kFileOpen)->trigger();
    EXPECT_EQ(doc->opGetActualPartSet()->TeachParts().iGetSize(), 1);
    EXPECT_EQ(frame.windowTitle(), "Kalvor 4.0 en - first.zrp");

    doc->SetModifiedFlag(1);
    shell.ui.ExpectMessage(MsgResult::No, ResStr(5005));
    frame.Action(Cmd::kFileClose)->trigger();
    EXPECT_TRUE(doc->IsModified());

    shell.ui.ExpectMessage(MsgResult::Cancel, ResStr(5005));
    frame.Action(Cmd::kAppExit)->trigger();
    ProcessEvents();
    EXPECT_TRUE(frame.isVisible()) << "Cancel keeps the program running";
    shell.ui.ExpectMessage(MsgResult::No, ResStr(5005));
    frame.Action(Cmd::kAppExit)->trigger();
    ProcessEvents();
    EXPECT_FALSE(frame.isVisible());
    EXPECT_NE(shell.settings->GetText("WndPos", "MAIN", ""), "");
    EXPECT_NE(shell.settings->GetText("WndPos", "PARTLIST", ""), "");
    EXPECT_TRUE(shell.ui.Mismatches().empty()) << shell.ui.TranscriptText();
    EXPECT_TRUE(shell.ui.bAllScriptUsed()) << shell.ui.TranscriptText();
}

// A dialog model nobody gave a window is refused with a message naming it, and counts as
// cancelled; it never turns into an empty form the user could "confirm".
TEST(Shell, AModelWithoutAWindowIsRefusedAndCancelled) {
    struct Orphan : ODialogModel {
        bool ok = false, cancelled = false;
        std::string DialogName() const override { return "ODlg_NoSuchDialog"; }
        void OnOk() override { ok = true; }
        void OnCancel() override { cancelled = true; }
    } orphan;
    Shell shell;
    ASSERT_TRUE(shell.desktop->Start());
    OUserInteraction_Qt& qt = shell.desktop->QtInteraction();
    EXPECT_EQ(qt.CreateDialog(orphan, &shell.Frame()), nullptr);

    QStringList messages;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            messages << box->text();
            box->accept();
        }
    });
    closer.start(20);
    EXPECT_FALSE(qt.bRunDialog(orphan));
    closer.stop();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("ODlg_NoSuchDialog"));
    EXPECT_FALSE(orphan.ok);
    EXPECT_TRUE(orphan.cancelled);
}

}  // namespace
