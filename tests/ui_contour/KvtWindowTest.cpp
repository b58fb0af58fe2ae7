// The family-2 part contour window tried as a new user would: camera pictures imported
// through File › Import, a pattern-matching tool added from the menu and turned with the
// mouse, the hue read under the pointer, contour and camera image switched, features
// renamed, tools deleted, the tape measure and the screenshots.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <QTreeWidget>
#include <cmath>

#include "ContourTestSupport.h"
#include "analysis/PartFeaturesDisplay.h"
#include "analysis/ui/OView_PartFeatures.h"
#include "app/ui/OFrame_SplitChild.h"
#include "app/ui/OPainter_Qt.h"
#include "app/ui/OPrintService.h"
#include "document/CommandIds.h"
#include "document/ODoc.h"
#include "document/files/OProjectExchange.h"
#include "extraction/OContourViewController.h"
#include "extraction/ODlg_ImportImages.h"
#include "extraction/OExtr_KVT.h"
#include "extraction/OKvtViewScene.h"
#include "extraction/ui/OExtr_KVTWindow.h"
#include "model/draw/ORecordingPainter.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/FormatPrintf.h"
#include "tools/kvt/KvtToolKinds.h"
#include "tools/kvt/OType_ConfigTool_KVT.h"
#include "ui_shell/CameraDeskSupport.h"

namespace {

using namespace shelltest;

constexpr int kAddPatternMatching = 32895;
constexpr int kAddBrightness = 33053;
// A desktop with a new project for a colour camera and its part contour window.
struct CameraDesk {
    Shell shell{{"-ETH:1", "/nologo"}};
    TempDir dir;
    ODoc* doc = nullptr;
    OFrame_SplitChild* frame = nullptr;
    OExtr_KVTWindow* window = nullptr;

    CameraDesk() {
        TargetSystemSettings::WriteTarget(*shell.settings, kColourCamera);
        shell.settings->SetInt("Settings", "SHOW_WIZARD_BAR", 0);
        EXPECT_TRUE(shell.desktop->Start());
        shell.App().OnFileNew();
        doc = shell.App().opGetDocument();
        Frame().resize(1200, 800);
        Frame().show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&Frame()));
    }
    ~CameraDesk() {
        if (doc) doc->SetModifiedFlag(0);
    }

    OFrame_Main& Frame() { return shell.Frame(); }
    OUserInteraction_Scripted& Ui() { return shell.ui; }
    OType_ZRPartSet& Set() { return *doc->opGetActualPartSet(); }
    OExtr_KVT& Engine() { return *window->opEngine(); }
    OKvtViewController View() { return *window->Controller(); }

    void Menu(int id) { TriggerMenu(Frame(), id); }
    void ImportPictures(int count) { ImportCameraPictures(Frame(), *doc, Ui(), dir.Path(), count); }
    void OpenWindow() {
        ASSERT_TRUE(doc->ShowPartContourView());
        ProcessEvents();
        frame = qobject_cast<OFrame_SplitChild*>(Frame().Frame(ViewKind::PartContour));
        ASSERT_NE(frame, nullptr) << "no split frame for the part contour view";
        window = qobject_cast<OExtr_KVTWindow*>(frame->View());
        ASSERT_NE(window, nullptr) << "the family-2 window is not the one shown";
        frame->showNormal();
        frame->resize(1000, 640);
        ProcessEvents();
        window->Canvas()->repaint();
    }
    // The canvas point that shows an image point.
    QPoint At(OPointD image) {
        const OPointD w = View().Mapping().ToWindow(image);
        return {static_cast<int>(std::floor(w.x)), static_cast<int>(std::floor(w.y))};
    }
    void Send(QEvent::Type type, QPoint at, Qt::MouseButtons buttons, Qt::MouseButton button) {
        QWidget* canvas = window->Canvas();
        QMouseEvent event(type, QPointF(at), canvas->mapToGlobal(QPointF(at)), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(canvas, &event);
    }
    // A left-button drag in steps, as the hand moves the mouse.
    void Drag(QPoint from, QPoint to, int steps = 8) {
        Send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        for (int i = 1; i <= steps; ++i) {
            const QPoint p = from + (to - from) * i / steps;
            Send(QEvent::MouseMove, p, Qt::LeftButton, Qt::NoButton);
        }
        Send(QEvent::MouseButtonRelease, to, Qt::NoButton, Qt::LeftButton);
        ProcessEvents();
    }
    void Hover(QPoint at) { Send(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton); }
    void ProcessAndPaint() {
        ProcessEvents();
        if (window) window->Canvas()->repaint();
    }
    std::string Pane(int index) { return window->StatusPane(index)->text().toStdString(); }
    OType_ConfigTool_KVT* Tool(int index) {
        return dynamic_cast<OType_ConfigTool_KVT*>(Set().Tools().opGetAt(index));
    }
    void ExpectScriptFollowed() {
        EXPECT_TRUE(Ui().Mismatches().empty()) << Ui().TranscriptText();
        EXPECT_TRUE(Ui().bAllScriptUsed()) << Ui().TranscriptText();
    }
};

TEST(KvtWindow, ANewUserTurnsAPatternToolReadsTheHueAndSwitchesToTheContour) {
    CameraDesk desk;
    desk.ImportPictures(2);
    ASSERT_EQ(desk.Set().TeachParts().iGetSize(), 2);
    desk.OpenWindow();
    ASSERT_NE(desk.window, nullptr);
    EXPECT_EQ(desk.window->objectName(), "163");

    // The camera picture fills the drawing area.
    const OKvtShownPicture picture = desk.View().ShownPicture();
    ASSERT_FALSE(picture.bIsEmpty());
    EXPECT_EQ(picture.width, 1280);
    EXPECT_EQ(picture.layers, 3);

    // Pattern matching from the main menu: a new tool, selected, drawn over the picture.
    desk.Menu(kAddPatternMatching);
    ASSERT_EQ(desk.Set().Tools().iGetNum(), 1);
    OType_ConfigTool_KVT* tool = desk.Tool(0);
    ASSERT_NE(tool, nullptr);
    EXPECT_EQ(tool->iGetConfigToolType(), KvtToolKind::kPatternMatching);
    desk.doc->ShowPartContourView();
    desk.ProcessAndPaint();
    EXPECT_EQ(desk.Engine().ViewState().selectedTool, 0);

    // Turned by 30° with the knob above the region: one undo step.
    const OKvtRegion before = tool->GetShape();
    const size_t steps = desk.Set().UndoRedo().iGetNumSteps();
    const OPointD knob = KvtShapeTracker::TurnKnob(before, desk.View().Mapping());
    const double radius = std::hypot(knob.x - before.centreX, knob.y - before.centreY);
    const double a = 30 / KvtGeometry::kDegreesPerRadian;
    const OPointD target{before.centreX - radius * std::sin(a),
                         before.centreY - radius * std::cos(a)};
    desk.Drag(desk.At(knob), desk.At(target));
    EXPECT_NEAR(tool->GetShape().angle, 30, 2.0);
    EXPECT_NEAR(tool->GetShape().centreX, before.centreX, 1e-9) << "turned about its centre";
    EXPECT_EQ(tool->GetShape().width, before.width);
    EXPECT_EQ(desk.Set().UndoRedo().iGetNumSteps(), steps + 1);
    EXPECT_EQ(desk.Set().UndoRedo().GetUndoShortText(), "UNDO:Changed Config Tool");
    EXPECT_EQ(desk.Set().UndoRedo().GetUndoLongText(), "UNDO:Changed the position and or rotation");

    // Moved into the picture's corner: the drag stops at the edge.
    const OKvtRegion turned = tool->GetShape();
    desk.Drag(desk.At({turned.centreX, turned.centreY}), desk.At({-300, -300}));
    EXPECT_TRUE(tool->GetShape().bLiesInside(1280, 1024));

    // The hue under the pointer over the pure red square.
    desk.Hover(desk.At({425, 325}));
    EXPECT_NE(desk.Pane(0).find("Hue:32"), std::string::npos) << desk.Pane(0);
    EXPECT_NE(desk.Pane(0).find("RGB:255,0,0"), std::string::npos) << desk.Pane(0);
    EXPECT_EQ(desk.Pane(0).rfind("X:425 Y:325", 0), 0u) << desk.Pane(0);
    const QImage image = desk.window->Screenshot();
    EXPECT_EQ(image.pixelColor(desk.At({425, 325})), QColor(255, 0, 0));
    SaveScreenshot(image, desk.dir, "kvt_camera_image");

    // The contour instead of the camera image, and back: the toolbar's switch.
    QAction* switchImage = desk.window->ToolbarAction(KvtViewCommand::kSwitchImage);
    ASSERT_NE(switchImage, nullptr);
    EXPECT_TRUE(switchImage->isChecked());
    switchImage->trigger();
    desk.ProcessAndPaint();
    EXPECT_EQ(desk.Engine().ViewState().shownImage, -1);
    EXPECT_TRUE(desk.View().ShownPicture().contour);
    desk.Hover(desk.At({425, 325}));
    EXPECT_EQ(desk.Pane(0).find("Hue"), std::string::npos) << "a contour has no colour";
    EXPECT_FALSE(switchImage->isChecked());
    switchImage->trigger();
    desk.ProcessAndPaint();
    EXPECT_EQ(desk.Engine().ViewState().shownImage, 0);
    EXPECT_TRUE(desk.Engine().ViewState().manualImageChoice);

    // Undo brings back the turned region, and the one before.
    desk.Menu(Cmd::kEditUndo);
    EXPECT_NEAR(tool->GetShape().angle, turned.angle, 1e-9);
    desk.Menu(Cmd::kEditUndo);
    EXPECT_NEAR(desk.Tool(0)->GetShape().angle, 0, 1e-9);
    desk.ExpectScriptFollowed();
}

TEST(KvtWindow, RenameResetAndDeleteFromTheMenusWithUndo) {
    CameraDesk desk;
    desk.ImportPictures(1);
    desk.OpenWindow();
    desk.Menu(kAddBrightness);
    desk.doc->ShowPartContourView();
    desk.ProcessAndPaint();
    ASSERT_EQ(desk.Set().Tools().iGetNum(), 1);
    OType_ConfigTool_KVT* tool = desk.Tool(0);
    const std::string original = tool->FeatureName(0, &desk.Set());

    // F2: the name the user types (what Windows-1252 cannot hold becomes "?").
    desk.Ui().AnswerText("Brightness of the label \u2603");
    desk.Menu(KvtViewCommand::kRenameFeature);
    EXPECT_EQ(desk.Tool(0)->FeatureName(0, &desk.Set()), "Brightness of the label ?");
    EXPECT_EQ(desk.Set().UndoRedo().GetUndoShortText(), "UNDO:Renamed Config Tool");
    EXPECT_EQ(desk.Set().TeachParts().GetAt(0)->Features().At(0).name, "Brightness of the label ?")
        << "the parts carry the new name after the recompute";

    desk.Menu(KvtViewCommand::kResetFeatureNames);
    EXPECT_EQ(desk.Tool(0)->FeatureName(0, &desk.Set()), original);
    desk.Menu(Cmd::kEditUndo);
    EXPECT_EQ(desk.Tool(0)->FeatureName(0, &desk.Set()), "Brightness of the label ?");

    // Delete asks first; cancelled, the tool stays; confirmed, it goes.
    desk.Ui().ExpectMessage(MsgResult::Cancel);
    desk.Menu(ContourViewCommand::kDelete);
    EXPECT_EQ(desk.Set().Tools().iGetNum(), 1);
    desk.Ui().ExpectMessage(MsgResult::Ok);
    desk.Menu(ContourViewCommand::kDelete);
    EXPECT_EQ(desk.Set().Tools().iGetNum(), 0);
    desk.Menu(Cmd::kEditUndo);
    EXPECT_EQ(desk.Set().Tools().iGetNum(), 1);
    desk.ExpectScriptFollowed();
}

TEST(KvtWindow, UnselectedToolsTapeMeasureAndAPartWithoutPictures) {
    CameraDesk desk;
    desk.ImportPictures(1);
    desk.OpenWindow();
    desk.Menu(kAddBrightness);
    desk.Menu(kAddBrightness);
    desk.doc->ShowPartContourView();
    desk.ProcessAndPaint();
    ASSERT_EQ(desk.Set().Tools().iGetNum(), 2);

    // Only the selected tool is drawn until the positions of all are asked for (kept).
    EXPECT_EQ(desk.View().ToolsToDraw().size(), 1u);
    desk.window->ToolbarAction(KvtViewCommand::kShowUnselectedTools)->trigger();
    desk.ProcessAndPaint();
    EXPECT_EQ(desk.View().ToolsToDraw().size(), 2u);
    EXPECT_EQ(desk.shell.settings->iGetInt("Settings", "SHOW_UNSELECTED_TOOLS", 0), 1);

    // The tape measure runs while the button is down: four pixel lines, no world lines.
    const QPoint from = desk.At({20, 400});
    const QPoint to = desk.At({60, 430});
    desk.Send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    desk.Send(QEvent::MouseMove, to, Qt::LeftButton, Qt::NoButton);
    const std::vector<std::string> lines = desk.View().TapeMeasureText();
    ASSERT_EQ(lines.size(), 4u);
    for (const std::string& line : lines)
        EXPECT_EQ(line.rfind("[Pixel] ", 0), 0u) << line;
    // Below full size one window pixel spans more than one image pixel: the line names the
    // image pixels under the two window points, which are at most one pixel off the aim.
    const OPoint a = desk.View().Mapping().PixelAt(OPoint{from.x(), from.y()});
    const OPoint b = desk.View().Mapping().PixelAt(OPoint{to.x(), to.y()});
    EXPECT_LE(std::abs(a.x - 20) + std::abs(a.y - 400) + std::abs(b.x - 60) + std::abs(b.y - 430),
              4);
    EXPECT_EQ(lines[0], FormatPrintf("[Pixel] X:%d Y:%d - X:%d Y:%d", a.x, a.y, b.x, b.y));
    SaveScreenshot(desk.window->Screenshot(), desk.dir, "kvt_tape_measure");
    desk.Send(QEvent::MouseButtonRelease, to, Qt::NoButton, Qt::LeftButton);
    EXPECT_TRUE(desk.View().TapeMeasureText().empty());

    // A part without camera images: only the ground and the scales.
    auto part = std::make_unique<OType_Part>();
    part->SetTeachPart(true);
    desk.Set().TeachParts().Add(std::move(part));
    desk.Set().iShowTeachPartNo(desk.Set().TeachParts().iGetSize() - 1);
    desk.doc->RefreshViews();
    desk.ProcessAndPaint();
    EXPECT_TRUE(desk.View().ShownPicture().bIsEmpty());
    const QImage empty = desk.window->Screenshot();
    const ORgb ground = KvtViewScene::kBackground;
    EXPECT_EQ(empty.pixelColor(empty.width() / 2, empty.height() / 3),
              QColor(ground.r, ground.g, ground.b));
    // The context menu names the view's own commands with their states.
    std::unique_ptr<QMenu> menu(desk.window->CreateContextMenu());
    EXPECT_EQ(menu->objectName(), "243");
    EXPECT_NE(menu->findChild<QAction*>("32897"), nullptr);
    EXPECT_NE(menu->findChild<QAction*>("33046"), nullptr);
    desk.ExpectScriptFollowed();
}

// Print, preview and PDF share one printable: the camera picture with the tools over it,
// under the page head, and the features below.
TEST(KvtWindow, TheScreenshotCommandsWriteTheCanvasToAFileAndTheClipboard) {
    CameraDesk desk;
    desk.ImportPictures(1);
    desk.OpenWindow();
    contourtest::ExpectScreenshotCommandsWork(desk.Frame(), *desk.window, *desk.doc, desk.Ui());
}

TEST(KvtWindow, PrintsTheCameraPictureWithItsToolsToPdf) {
    CameraDesk desk;
    desk.ImportPictures(1);
    desk.OpenWindow();
    desk.Menu(kAddPatternMatching);
    desk.doc->ShowPartContourView();
    desk.ProcessAndPaint();
    OPrintable* printable = desk.window->opGetPrintable();
    ASSERT_NE(printable, nullptr);

    const QString path = QString::fromStdString((desk.dir / "camera.pdf").string());
    std::string error;
    ASSERT_TRUE(OPrintService::bWritePdf(*printable, path, error)) << error;
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_GT(bytes.size(), 20000) << "the camera picture is in the file";

    ORecordingPainter page;
    ASSERT_GE(printable->iPreparePages(kA4PortraitArea), 1);
    printable->PaintPage(page, 0, kA4PortraitArea);
    EXPECT_NE(page.FindText("Part contour"), nullptr) << "the page head";
    const auto images = page.Of(ORecordingPainter::Kind::Image);
    ASSERT_EQ(images.size(), 1u) << "the camera picture";
    EXPECT_EQ(images[0].to, (OPoint{1280, 1024})) << "drawn from the full picture";
    // The picture's rectangle on the page, in page units (top may lie below bottom).
    const OPoint a = images[0].mapping.ToBase({images[0].rect.left, images[0].rect.top});
    const OPoint b = images[0].mapping.ToBase({images[0].rect.right, images[0].rect.bottom});
    const ORect target{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x),
                       std::max(a.y, b.y)};
    EXPECT_GT(target.Width(), 0);
    EXPECT_LE(target.right, kA4PortraitArea.width) << "the picture fits the page";
    // The selected tool is drawn over the picture, inside it.
    const auto lines = page.Of(ORecordingPainter::Kind::Line);
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const auto& op) {
        const OPoint p = op.mapping.ToBase(op.from);
        return p.x > target.left && p.x < target.right && p.y > target.top && p.y < target.bottom;
    })) << "no tool outline over the picture";
    const std::string feature = desk.Set().Tools().opGetAt(0)->GetName();
    EXPECT_NE(page.FindText(feature), nullptr) << "the tool's feature in the table: " << feature;

    // A picture of the printout for the manual.
    SaveScreenshot(PrintedPage(*printable, 0), desk.dir, "kvt_printout");
    desk.ExpectScriptFollowed();
}

}  // namespace

namespace {

// The reference label the part-features pane shows beside a feature.
std::string ReferenceShown(CameraDesk& desk, int feature) {
    auto* pane = desk.frame->findChild<OView_PartFeatures*>();
    if (!pane) return "<no pane>";
    const int row = pane->iRowOfFeature(feature);
    if (row < 0) return "<no row>";
    return pane->FeatureList()
        ->topLevelItem(row)
        ->text(PartFeaturesDisplay::kReference)
        .toStdString();
}

}  // namespace

// A standard reference assigned from the menu shows in the part-features pane beside its
// feature; resetting clears it, and undo brings it back.
TEST(KvtWindow, StandardReferencesShowBesideTheirFeature) {
    CameraDesk desk;
    desk.ImportPictures(1);
    desk.OpenWindow();
    desk.Menu(kAddBrightness);
    desk.doc->ShowPartContourView();
    desk.ProcessAndPaint();
    const int feature = desk.Set().iShowFeatureGetNo();
    ASSERT_GE(feature, desk.Set().iGetFixedFeatures()) << "the new tool's feature is shown";
    EXPECT_EQ(ReferenceShown(desk, feature), "");

    desk.Menu(33102);  // Assign Blo (lower brightness threshold)
    EXPECT_EQ(ReferenceShown(desk, feature), "Blo");
    EXPECT_EQ(desk.Set().UndoRedo().GetUndoShortText(), "UNDO:Changed standard references");
    // One feature may serve as both thresholds; the pane names the later reference.
    desk.Menu(33103);  // Assign Bup (upper brightness threshold)
    EXPECT_EQ(ReferenceShown(desk, feature), "Bup");
    EXPECT_EQ(desk.Set().DefaultReferences().iGetAt(10), feature);

    desk.Menu(Cmd::kResetReferences);
    EXPECT_EQ(ReferenceShown(desk, feature), "");
    desk.Menu(Cmd::kEditUndo);
    EXPECT_NE(ReferenceShown(desk, feature), "") << "undo brings the references back";
    desk.ExpectScriptFollowed();
}
