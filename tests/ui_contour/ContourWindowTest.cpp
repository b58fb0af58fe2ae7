// The part contour window and its part features pane as a user drives them: the contour on
// the screen, a tool added from the menu, moved with the mouse and the keys and put back by
// undo, stepping through the parts, the zoom slider, the context menu and the printout.
#include <QFile>
#include <QMdiArea>
#include <QMenu>
#include <QSlider>
#include <QSplitter>
#include <QToolBar>

#include "ContourTestSupport.h"
#include "app/ui/OPainter_Qt.h"
#include "app/ui/OPrintService.h"
#include "model/draw/OPageLayout.h"
#include "model/draw/ORecordingPainter.h"
#include "support/TempDir.h"

namespace {

using namespace contourtest;
using shelltest::ProcessEvents;

constexpr QRgb kTeach = 0xff106010;  // RGB(16, 96, 16)
constexpr QRgb kTest = 0xff606060;   // RGB(96, 96, 96)

void Drag(QWidget* canvas, QPoint from, QPoint to) {
    QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, from);
    for (int i = 1; i <= 4; ++i)
        QTest::mouseMove(canvas, from + (to - from) * i / 4);
    QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, to);
    ProcessEvents();
}

}  // namespace

TEST(ContourWindow, OpensInASplitFrameWithThePartFeaturesBeside) {
    ContourDesk desk;
    ASSERT_NE(desk.window, nullptr);
    ASSERT_NE(desk.features, nullptr);
    EXPECT_EQ(desk.frame->objectName(), "EXTRACTOR");
    EXPECT_EQ(desk.frame->Splitter()->indexOf(desk.window), 0);
    // The companion's width goes to the settings under its own value.
    desk.frame->Splitter()->setSizes({600, 333});
    desk.frame->StoreCompanionWidth();
    EXPECT_EQ(desk.shell.settings->iGetInt("Settings", "VIEW_PARTFEATURES_SEPERATOR", 0), 333);
}

TEST(ContourWindow, PaintsTheShownPartsContourInItsListsColour) {
    ContourDesk desk;
    // Part 0: column 0 runs from row 10 to row 40 (MakePart); above it is empty.
    desk.doc->ShowTeachPart(0);
    ProcessEvents();
    EXPECT_EQ(desk.PixelAt({3, 20}), kTeach);
    EXPECT_EQ(desk.PixelAt({6, 30}), kTeach);
    EXPECT_EQ(desk.PixelAt({1, 80}), 0xffffffff);
    EXPECT_NE(desk.PixelAt({45, 20}), kTeach);  // right of the part's 30 columns
    EXPECT_EQ(desk.window->StatusPane(1)->text(), "Sample part 1");

    desk.Run(Cmd::kSwitchTeachTest);
    ProcessEvents();
    EXPECT_EQ(desk.PixelAt({3, 20}), kTest);
    EXPECT_TRUE(desk.window->StatusPane(1)->text().startsWith("Test part"));
}

TEST(ContourWindow, ArrowKeysStepThroughTheParts) {
    ContourDesk desk;
    desk.doc->ShowTeachPart(2);
    ProcessEvents();
    desk.frame->setFocus();
    desk.window->Canvas()->setFocus();
    desk.Frame().UpdateActions();
    QTest::keyClick(desk.window->Canvas(), Qt::Key_Right);
    ProcessEvents();
    EXPECT_EQ(desk.Set().iShowTeachPartGetNo(), 3);
    QTest::keyClick(desk.window->Canvas(), Qt::Key_Left);
    QTest::keyClick(desk.window->Canvas(), Qt::Key_Left);
    ProcessEvents();
    EXPECT_EQ(desk.Set().iShowTeachPartGetNo(), 1);
    EXPECT_EQ(desk.window->StatusPane(1)->text(), "Sample part 2");
}

TEST(ContourWindow, AToolAddedFromTheMenuOpensTheViewOnIt) {
    ContourDesk desk;
    desk.frame->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ProcessEvents();
    EXPECT_EQ(desk.Frame().Frame(ViewKind::PartContour), nullptr);
    OType_ConfigTool* tool = desk.AddCTool();
    ASSERT_NE(tool, nullptr);
    EXPECT_EQ(tool->iGetConfigToolType(), ContourToolKind::kCTool);
    auto* frame = qobject_cast<OFrame_SplitChild*>(desk.Frame().Frame(ViewKind::PartContour));
    ASSERT_NE(frame, nullptr);
    // The new tool's feature is the current one in both panes.
    const int feature = desk.Set().Tools().GetFeatureIndex_First(0, desk.Set().iGetFixedFeatures());
    EXPECT_EQ(desk.Set().iShowFeatureGetNo(), feature);
    auto* features = qobject_cast<OView_PartFeatures*>(frame->Companion());
    ASSERT_NE(features->FeatureList()->currentItem(), nullptr);
    EXPECT_EQ(features->FeatureList()->indexOfTopLevelItem(features->FeatureList()->currentItem()),
              features->iRowOfFeature(feature));
    EXPECT_TRUE(desk.Ui().Texts().empty()) << desk.Ui().TranscriptText();
}

TEST(ContourWindow, DraggingAToolChangesItsFeatureAndUndoPutsItBack) {
    ContourDesk desk;
    desk.doc->ShowTeachPart(0);
    OType_ConfigTool* tool = desk.AddCTool();
    ASSERT_NE(tool, nullptr);
    auto* window = qobject_cast<OExtr_DefaultWindow*>(
        qobject_cast<OFrame_SplitChild*>(desk.Frame().Frame(ViewKind::PartContour))->View());
    desk.window = window;
    desk.features = qobject_cast<OView_PartFeatures*>(
        qobject_cast<OFrame_SplitChild*>(desk.Frame().Frame(ViewKind::PartContour))->Companion());
    window->Canvas()->repaint();
    const int feature = desk.ToolFeature(0);
    const ORect before = tool->GetRegion();
    const std::string valueBefore = desk.FeatureText(feature, PartFeaturesDisplay::kValue);
    ASSERT_FALSE(valueBefore.empty());

    // Grab the tool in the middle of its left half and drag it 8 pixels to the left.
    const OPoint inside{before.left + (before.right - before.left) / 4,
                        (before.top + before.bottom) / 2};
    const QPoint from = desk.At(inside);
    Drag(window->Canvas(), from, from + QPoint(-8, 0));
    tool = desk.Set().Tools().opGetAt(0);
    const ORect after = tool->GetRegion();
    EXPECT_LT(after.left, before.left);
    EXPECT_EQ(after.right - after.left, before.right - before.left);  // a move keeps the size
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
    const std::string valueAfter = desk.FeatureText(feature, PartFeaturesDisplay::kValue);
    EXPECT_NE(valueAfter, valueBefore);

    desk.Run(Cmd::kEditUndo);
    ProcessEvents();
    EXPECT_EQ(desk.Set().Tools().opGetAt(0)->GetRegion(), before);
    EXPECT_EQ(desk.FeatureText(feature, PartFeaturesDisplay::kValue), valueBefore);
}

TEST(ContourWindow, CtrlArrowsMoveAndResizeTheSelectedTool) {
    ContourDesk desk;
    OType_ConfigTool* tool = desk.AddCTool();
    ASSERT_NE(tool, nullptr);
    auto* window = qobject_cast<OExtr_DefaultWindow*>(
        qobject_cast<OFrame_SplitChild*>(desk.Frame().Frame(ViewKind::PartContour))->View());
    const ORect before = tool->GetRegion();
    window->Canvas()->setFocus();
    QTest::keyClick(window->Canvas(), Qt::Key_Right, Qt::ControlModifier);
    ProcessEvents();
    ORect r = desk.Set().Tools().opGetAt(0)->GetRegion();
    EXPECT_EQ(r.left, before.left + 1);
    EXPECT_EQ(r.right, before.right + 1);
    QTest::keyClick(window->Canvas(), Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
    ProcessEvents();
    r = desk.Set().Tools().opGetAt(0)->GetRegion();
    EXPECT_EQ(r.left, before.left + 1);
    EXPECT_EQ(r.right, before.right);  // one narrower, the left edge stays
    // Each key press is one undo step.
    desk.Run(Cmd::kEditUndo);
    desk.Run(Cmd::kEditUndo);
    ProcessEvents();
    EXPECT_EQ(desk.Set().Tools().opGetAt(0)->GetRegion(), before);
}

TEST(ContourWindow, ClickingAFeatureRowMakesItTheCurrentFeature) {
    ContourDesk desk;
    QTreeWidget* list = desk.features->FeatureList();
    ASSERT_GE(list->topLevelItemCount(), 12);
    const QRect row = list->visualItemRect(list->topLevelItem(2));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, row.center());
    ProcessEvents();
    EXPECT_EQ(desk.Set().iShowFeatureGetNo(), 2);
    EXPECT_EQ(desk.FeatureText(2, PartFeaturesDisplay::kDependency), " X ");
    // A basic feature: no tool is selected in the contour view.
    EXPECT_FALSE(desk.window->ViewCommandState(ContourViewCommand::kCopyTool)->enabled);
}

TEST(ContourWindow, TheZoomSliderSnapsToOneNearTheTick) {
    ContourDesk desk;
    QSlider* slider = desk.window->ZoomSlider();
    slider->setValue(84);  // zoom 0.85
    ProcessEvents();
    EXPECT_DOUBLE_EQ(desk.Engine().ViewState().zoom, 1.0);
    EXPECT_EQ(slider->value(), 100);
    slider->setValue(330);
    ProcessEvents();
    EXPECT_NEAR(desk.Engine().ViewState().zoom, 9.97, 0.01);
    desk.window->Canvas()->repaint();
    // Ten times the pixels per column: column 0 and column 1 lie ten pixels apart.
    EXPECT_NEAR(desk.At({1, 20}).x() - desk.At({0, 20}).x(), 10, 1);
}

TEST(ContourWindow, TheContextMenuFollowsTheSelection) {
    ContourDesk desk;
    std::unique_ptr<QMenu> menu(desk.window->CreateContextMenu());
    const auto entry = [&](int id) { return menu->findChild<QAction*>(QString::number(id)); };
    ASSERT_NE(entry(ContourViewCommand::kDeletePart), nullptr);
    EXPECT_TRUE(entry(ContourViewCommand::kDeletePart)->isEnabled());
    EXPECT_FALSE(entry(ContourViewCommand::kCopyTool)->isEnabled());  // no tool selected
    EXPECT_TRUE(entry(kAddCTool)->isEnabled());
    desk.AddCTool();
    auto* window = qobject_cast<OExtr_DefaultWindow*>(
        qobject_cast<OFrame_SplitChild*>(desk.Frame().Frame(ViewKind::PartContour))->View());
    menu.reset(window->CreateContextMenu());
    EXPECT_TRUE(entry(ContourViewCommand::kCopyTool)->isEnabled());
    EXPECT_TRUE(entry(ContourViewCommand::kCutTool)->isEnabled());
}

TEST(ContourWindow, CopyAndPasteAToolThroughTheClipboard) {
    ContourDesk desk;
    OType_ConfigTool* tool = desk.AddCTool();
    ASSERT_NE(tool, nullptr);
    const std::string name = tool->GetName();
    auto* frame = qobject_cast<OFrame_SplitChild*>(desk.Frame().Frame(ViewKind::PartContour));
    frame->View()->setFocus();
    desk.Run(Cmd::kEditCopy);
    desk.Run(Cmd::kEditPaste);
    ProcessEvents();
    ASSERT_EQ(desk.Set().Tools().iGetNum(), 2);
    EXPECT_EQ(desk.Set().Tools().opGetAt(1)->GetName().rfind(name + " (", 0), 0u)
        << desk.Set().Tools().opGetAt(1)->GetName();
    // Delete removes the selected tool again after the confirmation.
    desk.Ui().ExpectMessage(MsgResult::Ok);
    desk.Run(Cmd::kEditDelete);
    ProcessEvents();
    EXPECT_EQ(desk.Set().Tools().iGetNum(), 1);
}

TEST(ContourWindow, PrintsToAPdfFileWithPages) {
    ContourDesk desk;
    desk.AddCTool();
    auto* window = qobject_cast<OExtr_DefaultWindow*>(
        qobject_cast<OFrame_SplitChild*>(desk.Frame().Frame(ViewKind::PartContour))->View());
    TempDir dir;
    const QString path = QString::fromStdString((dir / "contour.pdf").string());
    std::string error;
    ASSERT_TRUE(OPrintService::bWritePdf(*window->opGetPrintable(), path, error)) << error;
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(
        bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "),
        1)
        << "one page for thirteen features";

    // On a short page the feature table continues on further pages, each under a head line.
    OPrintable& printable = *window->opGetPrintable();
    const OPage shortPage{1900, 900};
    const int pages = printable.iPreparePages(shortPage);
    EXPECT_GT(pages, 1);
    for (int i = 0; i < pages; ++i) {
        ORecordingPainter painter;
        printable.PaintPage(painter, i, shortPage);
        EXPECT_NE(painter.FindText("Part contour"), nullptr) << i;
        EXPECT_NE(painter.FindText(PageLayout::PageNumberText(i + 1, pages)), nullptr) << i;
    }
    // The first page carries the picture: the runs in the sample list's colour.
    ORecordingPainter first;
    printable.iPreparePages(kA4PortraitArea);
    printable.PaintPage(first, 0, kA4PortraitArea);
    const auto fills = first.Of(ORecordingPainter::Kind::Fill);
    EXPECT_TRUE(std::any_of(fills.begin(), fills.end(), [](const auto& op) {
        return op.colour == ORgb{16, 96, 16};
    }));

    // A picture of the printout for the manual.
    shelltest::SaveScreenshot(shelltest::PrintedPage(printable, 0), dir, "part_contour_printout");
}

TEST(ContourWindow, ANewWindowAndARestoredOneLieInsideTheFrameArea) {
    partlisttest::PartListDesk desk(3, 0);
    desk.Frame().resize(900, 600);
    ProcessEvents();
    const QRect area = desk.Frame().MdiArea()->viewport()->rect();
    ASSERT_TRUE(desk.doc->ShowPartContourView());
    ProcessEvents();
    QWidget* frame = desk.Frame().Frame(ViewKind::PartContour);
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(area.contains(frame->geometry())) << "not cut off at the right or the bottom";

    // A placement saved on a larger screen is moved and shrunk into the area.
    desk.Frame().DestroyView(ViewKind::PartContour);
    ProcessEvents();
    desk.shell.settings->SetText("WndPos", "EXTRACTOR", "1,1,-1,-1,-1,-1,700,400,2300,1600");
    ASSERT_TRUE(desk.doc->ShowPartContourView());
    ProcessEvents();
    frame = desk.Frame().Frame(ViewKind::PartContour);
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(area.contains(frame->geometry()));
}

TEST(ContourWindow, TheScreenshotCommandsWriteTheCanvasToAFileAndTheClipboard) {
    ContourDesk desk;
    desk.AddCTool();
    ExpectScreenshotCommandsWork(desk.Frame(), *desk.window, *desk.doc, desk.Ui());
}

TEST(ContourWindow, Screenshot) {
    ContourDesk desk;
    desk.doc->ShowTeachPart(1);
    desk.AddCTool();
    auto* frame = qobject_cast<OFrame_SplitChild*>(desk.Frame().Frame(ViewKind::PartContour));
    frame->resize(1000, 560);
    ProcessEvents();
    TempDir dir;
    const QImage image = frame->grab().toImage();
    EXPECT_FALSE(image.isNull());
    shelltest::SaveScreenshot(image, dir, "part_contour_test");
}
