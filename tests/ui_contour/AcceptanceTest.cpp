// A new user's first session with the family-1 desktop, driven through the real windows:
// record sample parts from the simulator, look at them in the part contour window, step
// through them with the arrow keys, assign orientation 2 to some in the part list, add a
// CTool from the menu, drag it and watch its feature change, undo, copy three parts to the
// test list, print the contour view to PDF, save and open the project again.
#include <QFile>
#include <QItemSelectionModel>
#include <chrono>
#include <thread>

#include "ContourTestSupport.h"
#include "app/ODlg_SelectTask.h"
#include "app/ui/OPrintService.h"
#include "link/OConnectionProfile.h"
#include "model/strings/ResStr.h"
#include "support/DevsimProcess.h"

namespace {

using namespace shelltest;

bool PumpUntil(const std::function<bool()>& done, std::chrono::seconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

template <typename View>
View* ViewOf(OFrame_Main& frame, ViewKind kind, bool companion = false) {
    QWidget* frameWidget = frame.Frame(kind);
    if (auto* split = qobject_cast<OFrame_SplitChild*>(frameWidget))
        return qobject_cast<View*>(companion ? split->Companion() : split->View());
    return frameWidget ? qobject_cast<View*>(frame.Frame(kind)->widget()) : nullptr;
}

void SelectRows(OPartListWidget* list, int first, int count) {
    auto* model = list->model();
    QItemSelection selection(model->index(first, 0), model->index(first + count - 1, 0));
    list->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

}  // namespace

TEST(Acceptance, FirstSessionWithTheFamily1Desktop) {
    DevsimProcess sim({"--hardware", "1", "--software", "778", "--serial", "pty", "--rate", "40"});
    ASSERT_TRUE(sim.bIsReady()) << sim.ReadyLine();
    TempDir dir;
    auto store = std::make_unique<OSettings_Memory>();
    OConnectionProfile line;
    line.name = "simulator";
    line.kind = OConnectionProfile::Kind::Serial;
    line.serialDevice = sim.SerialPath();
    ConnectionProfiles::Save(*store, {line});
    ConnectionProfiles::SetLast(*store, OConnectionProfile::Kind::Serial, 1);
    ConnectionProfiles::SetAskAtLogin(*store, false);
    store->SetInt("Settings", "MSG_BEEP", 0);
    store->SetInt("Settings", "PROJECT_USE_ORIENTATION", 1);
    store->SetInt("Settings", "SHOW_WIZARD_BAR", 0);
    Shell shell({"-ETH:1", "/nologo"}, std::move(store));
    ASSERT_TRUE(shell.desktop->Start());
    OFrame_Main& frame = shell.Frame();
    frame.resize(1200, 760);
    frame.show();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    const auto run = [&](int id) {
        frame.UpdateActions();
        frame.ExecuteCommand(id, frame.CurrentView());
        ProcessEvents();
    };
    run(Cmd::kFileNew);
    ODoc* doc = shell.App().opGetDocument();
    ASSERT_NE(doc, nullptr);

    // 1. Record sample parts.
    shell.ui.ExpectCheckMarkMessage(MsgResult::Ok, false, ResStr(7002));
    run(Cmd::kRecordSampleParts);
    ASSERT_TRUE(PumpUntil([&] { return doc->opGetActualPartSet()->TeachParts().iGetSize() >= 12; },
                          std::chrono::seconds(20)))
        << shell.ui.TranscriptText();
    run(Cmd::kRecordSampleParts);  // stop
    OType_ZRPartSet* set = doc->opGetActualPartSet();
    const int recorded = set->TeachParts().iGetSize();

    // 2. The part contour window, and the arrow keys step through the parts.
    run(Cmd::kViewPartContour);
    auto* contour = ViewOf<OExtr_DefaultWindow>(frame, ViewKind::PartContour);
    auto* features = ViewOf<OView_PartFeatures>(frame, ViewKind::PartContour, true);
    ASSERT_NE(contour, nullptr);
    ASSERT_NE(features, nullptr);
    doc->ShowTeachPart(5);
    contour->Canvas()->setFocus();
    frame.UpdateActions();
    QTest::keyClick(contour->Canvas(), Qt::Key_Right);
    QTest::keyClick(contour->Canvas(), Qt::Key_Right);
    QTest::keyClick(contour->Canvas(), Qt::Key_Left);
    ProcessEvents();
    EXPECT_EQ(set->iShowTeachPartGetNo(), 6);
    EXPECT_EQ(contour->StatusPane(1)->text(), "Sample part 7");

    // 3. In the part list, parts 1 to 4 get orientation 2.
    auto* list = ViewOf<OView_PartList>(frame, ViewKind::PartList);
    ASSERT_NE(list, nullptr);
    doc->Views().ActivateFrame(ViewKind::PartList);
    list->List(true)->setFocus();
    SelectRows(list->List(true), 0, 4);
    list->TakeOverSelection();
    run(Cmd::kAssignOrientationFirst + 1);
    int second = 0;
    for (int i = 0; i < set->TeachParts().iGetSize(); ++i)
        second += set->TeachParts().GetAt(i)->iGetOrientation() == 2 ? 1 : 0;
    EXPECT_GE(second, 4);

    // 4. A CTool from the menu; the contour window shows it selected.
    doc->Views().ActivateFrame(ViewKind::PartContour);
    run(contourtest::kAddCTool);
    contour = ViewOf<OExtr_DefaultWindow>(frame, ViewKind::PartContour);
    features = ViewOf<OView_PartFeatures>(frame, ViewKind::PartContour, true);
    ASSERT_EQ(set->Tools().iGetNum(), 1);
    const int feature = set->Tools().GetFeatureIndex_First(0, set->iGetFixedFeatures());
    EXPECT_EQ(set->iShowFeatureGetNo(), feature);
    contour->Canvas()->repaint();

    // 5. Drag it to the right; its value in the part features pane changes.
    const auto valueShown = [&] {
        const int row = features->iRowOfFeature(feature);
        return row < 0 ? std::string()
                       : features->FeatureList()
                             ->topLevelItem(row)
                             ->text(PartFeaturesDisplay::kValue)
                             .toStdString();
    };
    const std::string before = valueShown();
    const ORect region = set->Tools().opGetAt(0)->GetRegion();
    const OContourViewController view = *contour->Controller();
    const OPoint grip =
        ContourToWindow(contour->opEngine()->ViewState(), view.Mapping(),
                        {(region.left + region.right) / 2, (region.top + region.bottom) / 2});
    const QPoint from(grip.x, grip.y);
    QTest::mousePress(contour->Canvas(), Qt::LeftButton, Qt::NoModifier, from);
    for (int i = 1; i <= 5; ++i)
        QTest::mouseMove(contour->Canvas(), from + QPoint(12 * i, 0));
    QTest::mouseRelease(contour->Canvas(), Qt::LeftButton, Qt::NoModifier, from + QPoint(60, 0));
    ProcessEvents();
    EXPECT_GT(set->Tools().opGetAt(0)->GetRegion().left, region.left);
    const std::string after = valueShown();
    EXPECT_NE(after, before);

    // 6. Undo puts the tool and its value back.
    run(Cmd::kEditUndo);
    set = doc->opGetActualPartSet();
    EXPECT_EQ(set->Tools().opGetAt(0)->GetRegion(), region);
    EXPECT_EQ(valueShown(), before);

    // 7. Three sample parts copied to the test list.
    doc->Views().ActivateFrame(ViewKind::PartList);
    list->List(true)->setFocus();
    SelectRows(list->List(true), 5, 3);
    list->TakeOverSelection();
    QTest::mouseClick(list->Button(OView_PartList::kCopyToTest), Qt::LeftButton);
    ProcessEvents();
    EXPECT_EQ(set->TestParts().iGetSize(), 3);

    // 8. The contour view printed to PDF.
    const QString pdf = QString::fromStdString((dir / "contour.pdf").string());
    std::string error;
    ASSERT_TRUE(OPrintService::bWritePdf(*contour->opGetPrintable(), pdf, error)) << error;
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("%PDF"));

    // 9. Saved and opened again: everything is there.
    const std::string path = (dir / "first session.zrp").string();
    shell.ui.AnswerFileSave(path);
    run(Cmd::kFileSave);
    ASSERT_TRUE(std::filesystem::exists(path)) << shell.ui.TranscriptText();
    // A new project, and from the welcome dialog "open an existing project": the saved one.
    shell.ui.AnswerDialog(
        [](ODialogModel& model) {
            static_cast<ODlg_SelectTask&>(model).SetIndex(1);
            return true;
        },
        "ODlg_SelectTask");
    shell.ui.AnswerFileOpen({path});
    run(Cmd::kFileNew);
    ProcessEvents();
    EXPECT_EQ(shell.App().opGetDocument()->GetPathName(), path) << shell.ui.TranscriptText();
    ProcessEvents();
    set = shell.App().opGetDocument()->opGetActualPartSet();
    ASSERT_NE(set, nullptr) << shell.ui.TranscriptText();
    EXPECT_EQ(set->TeachParts().iGetSize(), recorded);
    EXPECT_EQ(set->TestParts().iGetSize(), 3);
    ASSERT_EQ(set->Tools().iGetNum(), 1);
    EXPECT_EQ(set->Tools().opGetAt(0)->GetRegion(), region);
    int reopenedSecond = 0;
    for (int i = 0; i < set->TeachParts().iGetSize(); ++i)
        reopenedSecond += set->TeachParts().GetAt(i)->iGetOrientation() == 2 ? 1 : 0;
    EXPECT_EQ(reopenedSecond, second);
    EXPECT_TRUE(shell.ui.Mismatches().empty()) << shell.ui.TranscriptText();
}
