// The desktop with a family-1 project, parts and its part contour window open: the window,
// its part features pane and helpers to find where a contour point lies on the screen.
#pragma once

#include <gtest/gtest.h>

#include <QClipboard>
#include <QTest>
#include <QTreeWidget>

#include "analysis/ui/OView_PartFeatures.h"
#include "app/ui/OFrame_SplitChild.h"
#include "app/ui/OViewScreenshot.h"
#include "document/CommandIds.h"
#include "extraction/OContourViewMapping.h"
#include "extraction/OExtr_Default.h"
#include "extraction/ui/OExtr_DefaultWindow.h"
#include "model/strings/ResStr.h"
#include "support/TempDir.h"
#include "tools/OType_ConfigTool_Contour.h"
#include "ui_partlist/PartListTestSupport.h"

namespace contourtest {

inline constexpr int kAddCTool = 32854;

struct ContourDesk : partlisttest::PartListDesk {
    OFrame_SplitChild* frame = nullptr;
    OExtr_DefaultWindow* window = nullptr;
    OView_PartFeatures* features = nullptr;

    explicit ContourDesk(int sampleParts = 6, int testParts = 3)
        : PartListDesk(sampleParts, testParts) {
        EXPECT_TRUE(doc->ShowPartContourView());
        shelltest::ProcessEvents();
        frame = qobject_cast<OFrame_SplitChild*>(Frame().Frame(ViewKind::PartContour));
        if (!frame) {
            ADD_FAILURE() << "no split frame for the part contour view";
            return;
        }
        window = qobject_cast<OExtr_DefaultWindow*>(frame->View());
        features = qobject_cast<OView_PartFeatures*>(frame->Companion());
        frame->resize(1000, 560);
        shelltest::ProcessEvents();
        window->Canvas()->repaint();
    }

    OExtr_Default& Engine() { return *window->opEngine(); }
    // The window point of a contour point with the view's current mapping.
    QPoint At(OPoint contour) {
        const OContourViewController view = *window->Controller();
        const OPoint p = ContourToWindow(Engine().ViewState(), view.Mapping(), contour);
        return {p.x, p.y};
    }
    QRgb PixelAt(OPoint contour) {
        const QImage image = window->Screenshot();
        const QPoint p = At(contour);
        return image.pixel(p);
    }
    // Adds a CTool from the menu, as the user does; the new tool.
    OType_ConfigTool* AddCTool() {
        Frame().UpdateActions();
        Frame().Action(kAddCTool)->trigger();
        shelltest::ProcessEvents();
        return Set().Tools().opGetAt(Set().Tools().iGetNum() - 1);
    }
    // The text in a column of the feature list's row of `feature`.
    std::string FeatureText(int feature, int column) {
        const int row = features->iRowOfFeature(feature);
        if (row < 0) return {};
        return features->FeatureList()->topLevelItem(row)->text(column).toStdString();
    }
    int ToolFeature(int toolIndex) {
        return Set().Tools().GetFeatureIndex_First(toolIndex, Set().iGetFixedFeatures());
    }
};

// The screenshot commands of a part contour window as the user runs them: the canvas into
// the file chosen, onto the clipboard, and a folder that cannot be written reported.
inline void ExpectScreenshotCommandsWork(OFrame_Main& frame, OPartContourWindow& window, ODoc& doc,
                                         OUserInteraction_Scripted& ui) {
    TempDir dir;
    doc.SetLastFolder(dir.Path().string());
    const std::string path = (dir / "contour.bmp").string();
    window.Canvas()->setFocus();
    shelltest::ProcessEvents();
    ASSERT_EQ(frame.CurrentView(), &window);
    ui.AnswerFileSave(path);
    frame.ExecuteCommand(ContourViewCommand::kScreenshotToFile, &window);
    const QImage saved(QString::fromStdString(path));
    ASSERT_FALSE(saved.isNull()) << "no picture written";
    EXPECT_EQ(saved.size(), window.Canvas()->size());
    EXPECT_EQ(ui.Transcript().back().fileRequest.defaultExtension, "bmp");
    EXPECT_EQ(ui.Transcript().back().fileRequest.initialPath, dir.Path().string());
    frame.ExecuteCommand(ContourViewCommand::kScreenshotToClipboard, &window);
    EXPECT_EQ(QApplication::clipboard()->image().size(), window.Canvas()->size());

    ui.AnswerFileSave("/nonexistent-folder/contour.bmp");
    ui.ExpectMessage(MsgResult::Ok, ResStr(ViewScreenshot::kWriteFailedText));
    frame.ExecuteCommand(ContourViewCommand::kScreenshotToFile, &window);
    EXPECT_TRUE(ui.Mismatches().empty()) << ui.TranscriptText();
}

}  // namespace contourtest
