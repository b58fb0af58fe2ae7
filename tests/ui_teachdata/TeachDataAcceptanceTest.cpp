// A new user's way through the Teach-Data desktop, driven through the real windows: parts of
// two orientations that are mirror images of each other, which the basic contour features
// cannot tell apart; the teach error in the teach-data window and the rating in the
// evaluation dialog; a CTool from the menu that tells them apart; the tolerance raised twice
// and one step undone; a feature's range locked by hand that survives a recompute; a point
// of the feature graph clicked and shown in the part contour window; the Teach-Data printed
// to PDF.
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <fstream>

#include "TeachDataTestSupport.h"
#include "analysis/ui/OView_FeatureGraph.h"
#include "app/ui/OPrintService.h"
#include "app/ui/OUserInteraction_Qt.h"
#include "classification/OClassifier.h"
#include "classification/ODlg_Classifier_TD_Evalute.h"
#include "extraction/ui/OExtr_DefaultWindow.h"
#include "model/teach/OType_Vector.h"
#include "ui_contour/ContourTestSupport.h"

namespace {

using namespace teachdatatest;

constexpr int kColumns = 80;

// A bar 80 columns wide with a notch in its upper outline (the high rows), near the left end
// or (mirrored) near the right end, and a bulge of its lower outline starting at column
// `bulge`. The bulges of
// one orientation's parts are the mirror images of the other's, so every basic feature
// spreads over the same range in both; only where the notch lies differs.
std::unique_ptr<OType_Part> NotchedBar(int bulge, bool notchLeft) {
    auto part = std::make_unique<OType_Part>();
    const int notch = notchLeft ? 20 : kColumns - 28;
    std::vector<int16_t> runs;
    for (int x = 0; x < kColumns; ++x) {
        const int top = x >= bulge && x < bulge + 10 ? 5 : 20;
        const int bottom = x >= notch && x < notch + 8 ? 44 : 56;
        runs.push_back(static_cast<int16_t>(top));
        runs.push_back(static_cast<int16_t>(-bottom));
    }
    part->SetConturData(std::move(runs));
    part->SetOrientation(notchLeft ? 1 : 2);
    part->SetType(1);
    part->SetTeachPart(true);
    return part;
}

QStringList EvaluationTexts(TeachDesk& desk) {
    QStringList texts;
    OUserInteraction_Qt& qt = desk.shell.desktop->QtInteraction();
    desk.Ui().AnswerDialog(
        [&](ODialogModel& model) {
            std::unique_ptr<QDialog> dialog(qt.CreateDialog(model, &desk.Frame()));
            auto* list = dialog->findChild<QListWidget*>(
                QString::number(ODlg_Classifier_TD_Evaluation::kList));
            EXPECT_NE(list, nullptr);
            for (int i = 0; list && i < list->count(); ++i)
                texts << list->item(i)->text();
            dialog->findChild<QPushButton*>("1")->click();
            return dialog->result() == QDialog::Accepted;
        },
        "ODlg_Classifier_Conf12_TD_Evalute");
    desk.Run(Cmd::kTeachDataEvaluation);
    ProcessEvents();
    EXPECT_TRUE(desk.Ui().bAllScriptUsed()) << desk.Ui().TranscriptText();
    return texts;
}

QString SeparationRow(const QStringList& texts) {
    for (const QString& text : texts) {
        if (text.startsWith("Separation of Orient. 1 from Orient. 2 is ")) return text;
    }
    return {};
}

void Type(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

TEST(TeachDataAcceptance, MirroredOrientationsToldApartByATool) {
    TeachDesk desk(0);
    desk.Frame().resize(1200, 800);
    OType_ZRPartSet& set = desk.Set();
    for (int i = 0; i < 22; ++i) {
        // Bulges at 10, 15, ... 60 in each orientation: mirrored sets.
        OType_Part* part = set.TeachParts().Add(NotchedBar(10 + 5 * (i / 2), i % 2 == 0));
        part->SetRecordNo(set.TeachParts().iGetSize());
    }
    desk.doc->Recompute(&set, 0, 0, 1, 1, 0);
    desk.doc->RefreshViews();
    desk.Open();
    ASSERT_NE(desk.teach, nullptr);
    ASSERT_NE(desk.vector, nullptr);

    // 1. The teach error instead of the learning curve.
    EXPECT_EQ(desk.doc->opGetClassifier()->iGetTeachErrorCode(), 20);
    EXPECT_TRUE(desk.teach->ErrorText()->isVisibleTo(desk.teach));
    EXPECT_FALSE(desk.teach->Chart()->isVisibleTo(desk.teach));
    EXPECT_TRUE(desk.teach->ErrorText()->toPlainText().startsWith("Error E 20:\n"))
        << desk.teach->ErrorText()->toPlainText().toStdString();
    EXPECT_TRUE(
        desk.teach->ErrorText()->toPlainText().contains("->Orientations/types are too similar"));

    // 2. The evaluation rates the separation and advises tools.
    QStringList texts = EvaluationTexts(desk);
    EXPECT_EQ(SeparationRow(texts), "Separation of Orient. 1 from Orient. 2 is not possible !!")
        << texts.join('\n').toStdString();
    EXPECT_TRUE(texts.contains("  Add tools to improove the orientation detection"));

    // 3. A CTool from the part contour window's menu: its region covers the notch of the
    //    first orientation only, and the error clears.
    ASSERT_TRUE(desk.doc->ShowPartContourView());
    ProcessEvents();
    desk.doc->Views().ActivateFrame(ViewKind::PartContour);
    desk.Frame().UpdateActions();
    desk.Frame().Action(contourtest::kAddCTool)->trigger();
    ProcessEvents();
    ASSERT_EQ(set.Tools().iGetNum(), 1);
    EXPECT_EQ(desk.doc->opGetClassifier()->iGetTeachErrorCode(), 0);
    EXPECT_FALSE(desk.teach->ErrorText()->isVisibleTo(desk.teach));
    EXPECT_TRUE(desk.teach->Chart()->isVisibleTo(desk.teach));
    const int toolFeature = set.Tools().GetFeatureIndex_First(0, set.iGetFixedFeatures());
    ASSERT_GT(desk.teach->List()->topLevelItemCount(), toolFeature);
    EXPECT_FALSE(desk.Cell(toolFeature, 1).isEmpty()) << "the tool's first feature names it";
    EXPECT_NE(desk.Cell(toolFeature, 1), " - ");
    EXPECT_FALSE(desk.Cell(toolFeature, 3).isEmpty()) << "the tool's feature separates";
    texts = EvaluationTexts(desk);
    const QString rated = SeparationRow(texts);
    EXPECT_FALSE(rated.isEmpty()) << texts.join('\n').toStdString();
    EXPECT_FALSE(rated.endsWith("not possible !!")) << rated.toStdString();
    EXPECT_TRUE(rated.endsWith(" is bad !") || rated.endsWith(" is acceptable") ||
                rated.endsWith(" is good") || rated.endsWith(" is very good"))
        << rated.toStdString();

    // 4. The tolerance of type 1 raised twice with the spin control's arrow, once undone.
    desk.doc->Views().ActivateFrame(ViewKind::TeachData);
    const int tolerance = desk.TypeTolerance();
    auto* spin = desk.teach->findChild<QSpinBox*>("1086");
    ASSERT_NE(spin, nullptr);
    spin->stepUp();
    spin->stepUp();
    ProcessEvents();
    EXPECT_EQ(desk.TypeTolerance(), (tolerance + 2) % 21);
    desk.Run(Cmd::kEditUndo);
    ProcessEvents();
    EXPECT_EQ(desk.TypeTolerance(), (tolerance + 1) % 21);
    EXPECT_EQ(desk.Tolerance(), QString("%1%").arg((tolerance + 1) % 21));
    EXPECT_EQ(spin->value(), (tolerance + 1) % 21);

    // 5. The tool's range locked by hand for orientation 1 survives a recompute.
    QTreeWidget* list = desk.teach->List();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->topLevelItem(toolFeature)).center());
    ProcessEvents();
    EXPECT_EQ(set.iShowFeatureGetNo(), toolFeature);
    EXPECT_EQ(desk.vector->ShownForm().orientation, 0);
    Type(qobject_cast<QLineEdit*>(desk.vector->Control(VectorProperties::kMinimum)), "100");
    Type(qobject_cast<QLineEdit*>(desk.vector->Control(VectorProperties::kMean)), "300");
    Type(qobject_cast<QLineEdit*>(desk.vector->Control(VectorProperties::kMaximum)), "500");
    qobject_cast<QRadioButton*>(desk.vector->Control(VectorProperties::kRangeManualLocked))
        ->click();
    ProcessEvents();
    const auto vector = [&] {
        return desk.Set().opGetSubType(0)->opGetVectorArray(0)->At(toolFeature);
    };
    EXPECT_EQ(vector().option & 7u, 2u);
    desk.doc->Recompute(&desk.Set(), 0, 0, 1, 1, 0);
    desk.doc->RefreshViews();
    ProcessEvents();
    EXPECT_DOUBLE_EQ(vector().minimum, 100.0);
    EXPECT_DOUBLE_EQ(vector().mean, 300.0);
    EXPECT_DOUBLE_EQ(vector().maximum, 500.0);
    EXPECT_EQ(vector().option & 7u, 2u);

    // 6. A point of the feature graph clicked: the part contour window shows that part.
    desk.Run(Cmd::kViewFeatureGraph);
    ProcessEvents();
    auto* graph =
        qobject_cast<OView_FeatureGraph*>(desk.Frame().Frame(ViewKind::FeatureGraph)->widget());
    ASSERT_NE(graph, nullptr);
    graph->OnUpdate();
    ASSERT_EQ(graph->Area()->Plot().markers.size(), 22u);
    QTest::mouseClick(graph->Area(), Qt::LeftButton, {}, graph->Area()->MarkerCentre(9));
    ProcessEvents();
    EXPECT_EQ(desk.Set().iShowTeachPartGetNo(), 9);
    auto* contourFrame =
        qobject_cast<OFrame_SplitChild*>(desk.Frame().Frame(ViewKind::PartContour));
    ASSERT_NE(contourFrame, nullptr);
    auto* contour = qobject_cast<OExtr_DefaultWindow*>(contourFrame->View());
    ASSERT_NE(contour, nullptr);
    EXPECT_EQ(contour->StatusPane(1)->text(), "Sample part 10");

    // 7. The Teach-Data printed to PDF through the print service.
    TempDir dir;
    const QString pdf = QString::fromStdString((dir / "teach data.pdf").string());
    std::string error;
    ASSERT_TRUE(OPrintService::bWritePdf(*desk.teach->opGetPrintable(), pdf, error)) << error;
    std::ifstream file(pdf.toStdString(), std::ios::binary);
    std::string head(5, '\0');
    file.read(head.data(), 5);
    EXPECT_EQ(head, "%PDF-");
    EXPECT_TRUE(desk.Ui().Mismatches().empty()) << desk.Ui().TranscriptText();
}

}  // namespace
