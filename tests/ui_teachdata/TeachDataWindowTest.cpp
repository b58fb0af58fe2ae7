// The teach-data window on the offscreen platform: its frame with the vector properties,
// the form, the list and its refresh, the tolerance commands with undo, clicks, the error
// text, the learning curve, the dialogs, printing to PDF and the screenshots.
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <fstream>

#include "TeachDataTestSupport.h"
#include "app/ui/OPrintService.h"
#include "classification/OClassifier.h"
#include "classification/ODlg_Classifier_TD_Evalute.h"
#include "classification/ODlg_CounterProperties.h"
#include "classification/ui/ODlg_Classifier_TD_EvaluteWindow.h"
#include "classification/ui/ODlg_CounterPropertiesWindow.h"
#include "document/DocumentTexts.h"
#include "model/draw/OPrintableSequence.h"

namespace {

using namespace teachdatatest;

QPoint RowCentre(QTreeWidget* list, int row) {
    return list->visualItemRect(list->topLevelItem(row)).center();
}

TEST(TeachDataWindow, OpensInASplitFrameWithTheVectorProperties) {
    TeachDesk desk;
    ASSERT_NE(desk.frame, nullptr) << "the command opens the split frame";
    ASSERT_NE(desk.teach, nullptr);
    ASSERT_NE(desk.vector, nullptr);
    EXPECT_EQ(desk.frame->objectName(), "CLASSIFIER");
    EXPECT_EQ(desk.teach->objectName(), "248");
    EXPECT_EQ(desk.vector->objectName(), "322");
    EXPECT_EQ(desk.frame->iCompanionWidth(), 300);
    for (int id : {1259, 1015, 1162, 1161, 1086, 1035, 1001})
        EXPECT_NE(desk.teach->findChild<QWidget*>(QString::number(id)), nullptr) << id;
    for (int id : {1244, 1312, 1161, 1272, 1249, 1252, 1248, 1271, 1264, 1260, 1261, 1262, 1245,
                   1250, 1246, 1247, 1263})
        EXPECT_NE(desk.vector->Control(id), nullptr) << id;
    EXPECT_TRUE(desk.Frame().CommandState(Cmd::kViewTeachData, nullptr).enabled);
}

TEST(TeachDataWindow, TheListShowsTheShownClassFromTheEngine) {
    TeachDesk desk;
    QTreeWidget* list = desk.teach->List();
    const TeachDataView::ODisplay& display = desk.teach->Display();
    ASSERT_EQ(list->topLevelItemCount(), 12) << "the twelve basic contour features";
    ASSERT_EQ(static_cast<int>(display.rows.size()), 12);
    for (int r = 0; r < 12; ++r) {
        for (int c = 0; c < TeachDataView::kColumns; ++c)
            EXPECT_EQ(desk.Cell(r, c).toStdString(),
                      display.rows[static_cast<size_t>(r)].cells[static_cast<size_t>(c)]);
    }
    EXPECT_EQ(desk.Cell(0, 0), "1.");
    EXPECT_EQ(list->headerItem()->text(2), "Feature:");
    EXPECT_EQ(list->headerItem()->text(7), "Mean:");
    EXPECT_TRUE(list->isColumnHidden(4)) << "no factor other than 1";
    for (int c : {6, 9})
        EXPECT_EQ(list->isColumnHidden(c), display.columns[static_cast<size_t>(c)].width == 0) << c;
    EXPECT_EQ(list->topLevelItem(0)->textAlignment(5) & Qt::AlignRight, Qt::AlignRight);
    EXPECT_EQ(desk.Tolerance(), "5%");
    EXPECT_EQ(desk.teach->StatusPane(1)->text(), "5%");
    EXPECT_FALSE(desk.teach->StatusPane(0)->text().trimmed().isEmpty());

    // A refresh without a change rewrites no cell.
    desk.doc->RefreshViews();
    ProcessEvents();
    EXPECT_EQ(desk.teach->iCellsWrittenByLastRefresh(), 0);
}

TEST(TeachDataWindow, ToleranceCommandsCycleAndUndo) {
    TeachDesk desk;
    desk.Run(Cmd::kAddTolerance);
    desk.Run(Cmd::kAddTolerance);
    ProcessEvents();
    EXPECT_EQ(desk.TypeTolerance(), 7);
    EXPECT_EQ(desk.Tolerance(), "7%");
    EXPECT_TRUE(desk.doc->IsModified());
    desk.Run(Cmd::kEditUndo);
    ProcessEvents();
    EXPECT_EQ(desk.TypeTolerance(), 6) << "one undo step per change";
    EXPECT_EQ(desk.Tolerance(), "6%");

    auto* spin = desk.teach->findChild<OToleranceSpin*>("1086");
    ASSERT_NE(spin, nullptr);
    for (int i = 0; i < 6; ++i)
        spin->stepBy(-1);
    ProcessEvents();
    EXPECT_EQ(desk.TypeTolerance(), 0);
    spin->stepBy(-1);
    ProcessEvents();
    EXPECT_EQ(desk.TypeTolerance(), 20) << "decrease at 0 gives 20";
    EXPECT_EQ(spin->value(), 20);
    desk.Run(Cmd::kAddTolerance);
    EXPECT_EQ(desk.TypeTolerance(), 0) << "add at 20 gives 0";
}

TEST(TeachDataWindow, AClickMakesTheFeatureCurrentEverywhere) {
    TeachDesk desk;
    QTreeWidget* list = desk.teach->List();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, RowCentre(list, 3));
    ProcessEvents();
    EXPECT_EQ(desk.Set().iShowFeatureGetNo(), 3);
    EXPECT_EQ(list->currentItem(), list->topLevelItem(3));
    EXPECT_EQ(desk.vector->ShownForm().feature, 3) << "the vector properties follow";
    auto* combo = qobject_cast<QComboBox*>(desk.vector->Control(1161));
    EXPECT_EQ(combo->currentIndex(), 3);
}

TEST(TeachDataWindow, TheContextMenuOffersTheViewCommands) {
    TeachDesk desk;
    std::unique_ptr<QMenu> menu(desk.teach->CreateContextMenu());
    std::vector<int> ids;
    for (QAction* a : menu->actions()) {
        if (!a->isSeparator()) ids.push_back(a->objectName().toInt());
    }
    for (int id : {Cmd::kAddTolerance, Cmd::kDecreaseTolerance, Cmd::kDeletePartType,
                   Cmd::kPartTypeProperties, Cmd::kCounterProperties, Cmd::kTeachDataEvaluation,
                   Cmd::kFeatureForQuality})
        EXPECT_NE(std::find(ids.begin(), ids.end(), id), ids.end()) << id;
    QAction* quality = menu->findChild<QAction*>(QString::number(Cmd::kFeatureForQuality));
    ASSERT_NE(quality, nullptr);
    EXPECT_TRUE(quality->isChecked()) << "every feature is used at first";
}

TEST(TeachDataWindow, InseparableOrientationsShowTheErrorInsteadOfTheCurve) {
    TeachDesk desk(10, true);
    EXPECT_TRUE(desk.teach->ErrorText()->isVisibleTo(desk.teach));
    EXPECT_FALSE(desk.teach->Chart()->isVisibleTo(desk.teach));
    EXPECT_TRUE(desk.teach->ErrorText()->toPlainText().startsWith("Error E 20:"))
        << desk.teach->ErrorText()->toPlainText().toStdString();

    TeachDesk good(10, false);
    ASSERT_EQ(good.doc->opGetClassifier()->iGetTeachErrorCode(), 0);
    EXPECT_FALSE(good.teach->ErrorText()->isVisibleTo(good.teach));
    EXPECT_TRUE(good.teach->Chart()->isVisibleTo(good.teach));
    EXPECT_EQ(good.teach->Chart()->Curve().points.size(), 10u) << "every sample part of type 1";
}

TEST(TeachDataWindow, EvaluationDialogShowsTheEvaluationList) {
    TeachDesk desk(10, true);
    ODlg_Classifier_Conf12_TD_Evalute model(*desk.doc->opGetClassifier());
    model.OnInitDialog();
    ODlg_Classifier_TD_EvaluteWindow window(model, &desk.Frame());
    EXPECT_EQ(window.objectName(), "160");
    EXPECT_EQ(window.windowTitle(), "Properties / evaluation of the Teach-Data:");
    QListWidget* list = window.List();
    ASSERT_EQ(list->count(), static_cast<int>(model.Rows().size()));
    ASSERT_GT(list->count(), 2);
    EXPECT_EQ(list->item(0)->text().toStdString(), model.Rows()[0].text);
    bool notPossible = false;
    for (int i = 0; i < list->count(); ++i)
        notPossible = notPossible || list->item(i)->text().contains("not possible !!");
    EXPECT_TRUE(notPossible) << "identical orientations cannot be separated";
    TempDir dir;
    window.show();
    ProcessEvents();
    SaveScreenshot(Composite(desk.Frame(), window), dir, "teach_data_evaluation");
}

TEST(TeachDataWindow, CounterDialogRefusesTargetsOutOfRange) {
    shelltest::Application();
    ODlg_CounterProperties model(1, 25, true);
    ODlg_CounterPropertiesWindow window(model, nullptr);
    auto* edit = window.findChild<QLineEdit*>("1163");
    auto* check = window.findChild<QCheckBox*>("1009");
    ASSERT_NE(edit, nullptr);
    ASSERT_NE(check, nullptr);
    EXPECT_EQ(edit->text(), "25");
    EXPECT_TRUE(check->isChecked());
    std::string message;
    for (const char* bad : {"0", "10000000", "many", ""}) {
        edit->setText(bad);
        window.accept();
        EXPECT_FALSE(model.bValidate(message)) << bad;
        EXPECT_FALSE(message.empty());
    }
    edit->setText("9999999");
    check->setChecked(false);
    window.accept();
    EXPECT_TRUE(model.bValidate(message));
    EXPECT_EQ(model.iGetTarget(), 9999999);
    EXPECT_FALSE(model.bGetIgnoreOrientation());
}

TEST(TeachDataWindow, SetCounterRunsTheDialogAndStoresItsAnswer) {
    TeachDesk desk;
    auto* button = desk.teach->findChild<QPushButton*>("1008");
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isVisibleTo(desk.teach)) << "hardware 1 has a counter";
    desk.Ui().AnswerDialog(
        [](ODialogModel& m) {
            auto& counter = static_cast<ODlg_CounterProperties&>(m);
            counter.SetTarget(40);
            counter.SetIgnoreOrientation(true);
            return true;
        },
        "ODlg_CounterProperties");
    QTest::mouseClick(button, Qt::LeftButton);
    ProcessEvents();
    EXPECT_TRUE(desk.Ui().bAllScriptUsed()) << desk.Ui().TranscriptText();
    EXPECT_EQ(desk.Set().opGetSubType(0)->iGetCounterTarget(), 40u);
    EXPECT_EQ(desk.Set().opGetSubType(0)->iGetCounterFlag(), 0xFFFFu);
    EXPECT_EQ(desk.teach->findChild<QLabel*>("1075")->text(), "40");
}

TEST(TeachDataWindow, PrintsTheShownTypeToPdf) {
    TeachDesk desk;
    TempDir dir;
    OPrintable* printable = desk.teach->opGetPrintable();
    ASSERT_NE(printable, nullptr);
    const QString path = QString::fromStdString((dir / "teach.pdf").string());
    std::string error;
    ASSERT_TRUE(OPrintService::bWritePdf(*printable, path, error)) << error;
    std::ifstream file(path.toStdString(), std::ios::binary);
    std::string head(5, '\0');
    file.read(head.data(), 5);
    EXPECT_EQ(head, "%PDF-");
    EXPECT_TRUE(desk.Frame().CommandState(Cmd::kFilePrint, desk.teach).enabled);
}

// "Print project" opens the missing printing views and prints them after one print dialog.
TEST(TeachDataWindow, PrintProjectPrintsTheViewsAsOneJob) {
    TeachDesk desk;
    EXPECT_TRUE(desk.Frame().CommandState(Cmd::kPrintProject, desk.teach).enabled);
    EXPECT_EQ(desk.Frame().Frame(ViewKind::PartContour), nullptr);
    QString shown;
    QTimer cancel;
    QObject::connect(&cancel, &QTimer::timeout, [&shown] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            shown = dialog->objectName();
            dialog->reject();
        }
    });
    cancel.start(20);
    desk.Run(Cmd::kPrintProject);
    cancel.stop();
    EXPECT_EQ(shown, "PrintDialog");
    ASSERT_NE(desk.Frame().Frame(ViewKind::PartContour), nullptr);
    ASSERT_NE(desk.Frame().Frame(ViewKind::FeatureGraph), nullptr);

    const std::vector<ViewKind> kinds = {ViewKind::PartContour, ViewKind::TeachData,
                                         ViewKind::FeatureGraph};
    int separately = 0;
    for (ViewKind kind : kinds) {
        OPrintableSequence one = desk.Frame().Printout({kind}, "one");
        const int pages = one.iPreparePages(kA4PortraitArea);
        one.EndPrinting();
        EXPECT_GT(pages, 0) << static_cast<int>(kind);
        separately += pages;
    }
    OPrintableSequence job = desk.Frame().Printout(kinds, "Project");
    EXPECT_EQ(job.iPreparePages(kA4PortraitArea), separately);
    EXPECT_EQ(job.PageCounts().size(), 3u);
    job.EndPrinting();
    TempDir dir;
    const QString path = QString::fromStdString((dir / "project.pdf").string());
    std::string error;
    ASSERT_TRUE(OPrintService::bWritePdf(job, path, error)) << error;
    EXPECT_GT(std::filesystem::file_size(dir / "project.pdf"), 1000u);
}

TEST(TeachDataWindow, Screenshots) {
    TeachDesk desk;
    desk.Frame().resize(1200, 760);
    desk.frame->showMaximized();
    ProcessEvents();
    QTreeWidget* list = desk.teach->List();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, RowCentre(list, 2));
    ProcessEvents();
    TempDir dir;
    SaveScreenshot(desk.frame->grab().toImage(), dir, "teach_data_window");
    TeachDesk bad(10, true);
    bad.Frame().resize(1200, 760);
    bad.frame->showMaximized();
    ProcessEvents();
    SaveScreenshot(bad.frame->grab().toImage(), dir, "teach_data_error");
}

}  // namespace

namespace {

TEST(TeachDataWindow, Family2OpensForm311WithTheInvalidDecisions) {
    Shell shell{{"-ETH:1", "/nologo"}};
    shell.settings->SetInt("Settings", "TARGET_SYSTEM_HW", 7);
    shell.settings->SetInt("Settings", "PROJECT_USE_ORIENTATION", 1);
    shell.settings->SetInt("Settings", "SHOW_WIZARD_BAR", 0);
    ASSERT_TRUE(shell.desktop->Start());
    shell.App().OnFileNew();
    ODoc* doc = shell.App().opGetDocument();
    ASSERT_EQ(doc->iGetFamily(), 2);
    shell.Frame().show();
    shell.Frame().ExecuteCommand(Cmd::kViewTeachData, shell.Frame().CurrentView());
    ProcessEvents();
    auto* frame = qobject_cast<OFrame_SplitChild*>(shell.Frame().Frame(ViewKind::TeachData));
    ASSERT_NE(frame, nullptr);
    auto* teach = qobject_cast<OClassifierWindow*>(frame->View());
    ASSERT_NE(teach, nullptr);
    EXPECT_EQ(teach->objectName(), "311");
    auto* vector = qobject_cast<OView_VectorProperties*>(frame->Companion());
    ASSERT_NE(vector, nullptr);
    EXPECT_TRUE(vector->Control(VectorProperties::kInvalidBad)->isVisibleTo(vector));
    EXPECT_TRUE(vector->Control(VectorProperties::kCheckExpression)->isVisibleTo(vector));
}

}  // namespace
