// The feature graph window: opened by its command in the frame "FEATURE", its combos, a click
// on a point that makes the part current everywhere, the description line, the context menu,
// printing to PDF and the screenshot.
#include <QComboBox>
#include <QMenu>
#include <QTest>
#include <memory>

#include "TeachDataTestSupport.h"
#include "analysis/ui/OView_FeatureGraph.h"
#include "app/ui/OPrintService.h"

namespace {

using namespace teachdatatest;

OView_FeatureGraph* OpenGraph(TeachDesk& desk) {
    desk.Run(Cmd::kViewFeatureGraph);
    ProcessEvents();
    OFrame_Child* frame = desk.Frame().Frame(ViewKind::FeatureGraph);
    return frame ? qobject_cast<OView_FeatureGraph*>(frame->widget()) : nullptr;
}

TEST(FeatureGraphView, OpensWithItsCombosAndPoints) {
    TeachDesk desk;
    OView_FeatureGraph* graph = OpenGraph(desk);
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(desk.Frame().Frame(ViewKind::FeatureGraph)->objectName(), "FEATURE");
    EXPECT_EQ(graph->objectName(), "188");
    EXPECT_EQ(graph->Combo(1161)->count(), 12) << "the basic features";
    EXPECT_EQ(graph->Combo(1007)->count(), 4) << "no transformed values";
    EXPECT_TRUE(graph->Combo(1008)->isVisibleTo(graph)) << "two orientations";
    EXPECT_EQ(graph->Area()->Points().size(), 12u);
    EXPECT_EQ(graph->Area()->Plot().markers.size(), 12u);

    // Orientation 2 only.
    graph->Combo(1008)->setCurrentIndex(3);
    emit graph->Combo(1008)->activated(3);
    ProcessEvents();
    EXPECT_EQ(graph->Area()->Points().size(), 6u);
}

TEST(FeatureGraphView, AClickOnAPointMakesThatPartCurrent) {
    TeachDesk desk;
    OView_FeatureGraph* graph = OpenGraph(desk);
    ASSERT_NE(graph, nullptr);
    desk.Frame().resize(1200, 800);
    ProcessEvents();
    graph->OnUpdate();
    ASSERT_GE(graph->Area()->Plot().markers.size(), 8u);
    QTest::mouseClick(graph->Area(), Qt::LeftButton, {}, graph->Area()->MarkerCentre(7));
    ProcessEvents();
    EXPECT_EQ(desk.Set().iShowTeachPartGetNo(), 7);
    EXPECT_TRUE(graph->DescriptionLabel()->text().startsWith("Part 8"))
        << graph->DescriptionLabel()->text().toStdString();
    // The part list shows the same part.
    EXPECT_EQ(desk.view->List(true)->currentIndex().row(), 7);

    std::unique_ptr<QMenu> menu(graph->CreateContextMenu());
    EXPECT_NE(menu->findChild<QAction*>(QString::number(Cmd::kPartProperties)), nullptr);
}

TEST(FeatureGraphView, PartCommandsActOnTheClickedPart) {
    TeachDesk desk;
    OView_FeatureGraph* graph = OpenGraph(desk);
    ASSERT_NE(graph, nullptr);
    desk.Frame().resize(1200, 800);
    ProcessEvents();
    graph->OnUpdate();
    OType_PartArray& parts = desk.Set().TeachParts();
    for (int i = 0; i < 4; ++i)
        parts.GetAt(i)->SetSelected(true);
    QTest::mouseClick(graph->Area(), Qt::RightButton, {}, graph->Area()->MarkerCentre(5));
    ProcessEvents();
    ASSERT_EQ(desk.Set().iShowTeachPartGetNo(), 5) << "a right click makes the part current too";
    QWidget* popup = QApplication::activePopupWidget();
    ASSERT_NE(popup, nullptr) << "the part context menu";
    EXPECT_EQ(popup->objectName(), "149");
    popup->close();
    const int record = parts.GetAt(5)->iGetRecordNo();
    const int before = parts.iGetSize();
    std::unique_ptr<QMenu> menu(graph->CreateContextMenu());
    for (int id : {Cmd::kEditCut, Cmd::kEditCopy, Cmd::kEditDelete, Cmd::kPartProperties}) {
        QAction* action = menu->findChild<QAction*>(QString::number(id));
        ASSERT_NE(action, nullptr) << id;
        EXPECT_TRUE(action->isEnabled()) << id;
    }

    desk.Frame().ExecuteCommand(Cmd::kEditCopy, graph);
    desk.Frame().ExecuteCommand(Cmd::kEditDelete, graph);
    ProcessEvents();
    ASSERT_EQ(parts.iGetSize(), before - 1) << "only the clicked part, not the selection";
    for (int i = 0; i < parts.iGetSize(); ++i)
        EXPECT_NE(parts.GetAt(i)->iGetRecordNo(), record);
    EXPECT_TRUE(desk.Frame().CommandState(Cmd::kEditPaste, graph).enabled);
    desk.Frame().ExecuteCommand(Cmd::kEditPaste, graph);
    ProcessEvents();
    EXPECT_EQ(parts.iGetSize(), before);
    EXPECT_EQ(graph->Area()->Points().size(), static_cast<size_t>(before));
}

TEST(FeatureGraphView, PrintsToPdfAndTakesItsScreenshot) {
    TeachDesk desk;
    OView_FeatureGraph* graph = OpenGraph(desk);
    ASSERT_NE(graph, nullptr);
    graph->Combo(1007)->setCurrentIndex(1);
    emit graph->Combo(1007)->activated(1);
    ProcessEvents();
    EXPECT_EQ(graph->Choice().mode, 1);
    TempDir dir;
    std::string error;
    ASSERT_TRUE(OPrintService::bWritePdf(
        *graph->opGetPrintable(), QString::fromStdString((dir / "graph.pdf").string()), error))
        << error;
    EXPECT_GT(std::filesystem::file_size(dir / "graph.pdf"), 1000u);
    desk.Frame().Frame(ViewKind::FeatureGraph)->showMaximized();
    desk.Frame().resize(1100, 700);
    ProcessEvents();
    graph->OnUpdate();
    SaveScreenshot(desk.Frame().Frame(ViewKind::FeatureGraph)->grab().toImage(), dir,
                   "feature_graph");
}

}  // namespace
