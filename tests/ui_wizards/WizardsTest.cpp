// The accuracy wizard and the optimising wizard as a user meets them: opened by their menu
// commands on a running desktop, their real windows driven offscreen page by page.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>
#include <memory>

#include "analysis/OAccuracyWizardDialog.h"
#include "analysis/OOptimizeWizardDialog.h"
#include "analysis/ui/OSheet_AccuracyWizardWindow.h"
#include "classification/OClassifier.h"
#include "document/CommandIds.h"
#include "document/ODoc.h"
#include "document/ODoc_Wizards.h"
#include "document/ViewHost.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "support/ToolSearchParts.h"
#include "ui_shell/ShellTestSupport.h"
#include "wizards/ui/OBar_ProjectWizardWindow.h"
#include "wizards/ui/OOptimizeWizardWindow.h"
#include "wizards/ui/OProjectWizardOptiSettingsPage.h"

namespace {

using namespace shelltest;

template <class T = QWidget>
T* Control(QWidget& window, int id) {
    T* control = window.findChild<T*>(QString::number(id));
    EXPECT_NE(control, nullptr) << "no control " << id;
    return control;
}

void Click(QWidget& window, int id) {
    QPushButton* button = Control<QPushButton>(window, id);
    ASSERT_TRUE(button);
    ASSERT_TRUE(button->isEnabled()) << "button " << id << " is disabled";
    ASSERT_TRUE(button->isVisible()) << "button " << id << " is hidden";
    QTest::mouseClick(button, Qt::LeftButton);
    ProcessEvents();
}

bool Enabled(QWidget& window, int id) {
    QWidget* w = Control(window, id);
    return w && w->isEnabled() && w->isVisible();
}

void Type(QWidget& window, int id, const QString& text) {
    QLineEdit* edit = Control<QLineEdit>(window, id);
    ASSERT_TRUE(edit);
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

QString Text(QWidget& window, int id) {
    if (auto* label = window.findChild<QLabel*>(QString::number(id))) return label->text();
    if (auto* edit = window.findChild<QLineEdit*>(QString::number(id))) return edit->text();
    return "<no control " + QString::number(id) + ">";
}

TempDir& ScreenshotDir() {
    static TempDir dir;
    return dir;
}

// Saves a page of a wizard for the manual when KALVOR_SCREENSHOT_DIR is set.
void Screenshot(QWidget& frame, QWidget& window, const std::string& name) {
    ProcessEvents();
    SaveScreenshot(Composite(frame, window), ScreenshotDir(), name);
}

// Saves the main window as it is.
void Screenshot(QWidget& frame, const std::string& name) {
    ProcessEvents();
    SaveScreenshot(frame.grab().toImage(), ScreenshotDir(), name);
}

// A running desktop with a new family-1 project that detects orientations.
struct WizardDesk {
    Shell shell{{"-ETH:1", "/nologo"}};
    ODoc* doc = nullptr;

    explicit WizardDesk(int hardware = 1, int software = 818) {
        shell.settings->SetInt("Settings", "TARGET_SYSTEM_HW", hardware);
        shell.settings->SetInt("Settings", "TARGET_SYSTEM_SW", software);
        shell.settings->SetInt("Settings", "TARGET_SYSTEM_ORI", 8);
        shell.settings->SetInt("Settings", "PROJECT_USE_ORIENTATION", 1);
        shell.settings->SetInt("Settings", "SHOW_WIZARD_BAR", 0);
        EXPECT_TRUE(shell.desktop->Start());
        shell.App().OnFileNew();
        doc = shell.App().opGetDocument();
        Frame().resize(1000, 680);
        Frame().show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&Frame()));
    }

    OFrame_Main& Frame() { return shell.Frame(); }
    OType_ZRPartSet& Set() { return *doc->opGetActualPartSet(); }
    void Run(int id) { Frame().ExecuteCommand(id, Frame().CurrentView()); }
    bool bEnabled(int id) { return Frame().CommandState(id, Frame().CurrentView()).enabled; }

    // Rectangles whose length varies by a few columns: one real part recorded n times.
    void AddMeasuredParts(int n) {
        for (int i = 0; i < n; ++i) {
            auto part = std::make_unique<OType_Part>();
            std::vector<int16_t> runs;
            for (int x = 0; x < 200 + i % 5; ++x)
                runs.insert(runs.end(), {40, -140});
            part->SetConturData(std::move(runs));
            part->SetOrientation(1);
            part->SetType(1);
            OType_Part* added = Set().TeachParts().Add(std::move(part));
            added->SetRecordNo(i + 1);
        }
        doc->Recompute(&Set(), 1, 0, 1, 1, 0);
        doc->RefreshViews();
    }

    // Mirrored parts in orientations 1 and 2 that no basic feature tells apart ("[E20]").
    void AddMirroredParts(int perClass) {
        for (int i = 0; i < perClass; ++i) {
            for (int o = 1; o <= 2; ++o) {
                auto part = std::make_unique<OType_Part>();
                part->SetConturData(searchparts::BumpPart(searchparts::PartLength(i, 300, 101),
                                                          searchparts::PartHeight(i), o == 1));
                part->SetOrientation(o);
                part->SetType(1);
                OType_Part* added = Set().TeachParts().Add(std::move(part));
                added->SetRecordNo(Set().TeachParts().iGetSize());
            }
        }
        doc->Recompute(&Set(), 1, 0, 1, 1, 0);
        // The parts are the project's starting point, as after loading it: undo goes no further.
        Set().UndoRedo().bStartUndoRedo(Set());
        doc->RefreshViews();
    }

    int iTools() { return Set().Tools().iGetNum(); }

    // Opens the wizard of `command` through the menu; `drive` works its real window and
    // returns whether it ended accepted.
    template <class Window>
    void RunWizard(int command, const std::function<bool(Window&)>& drive) {
        bool shown = false;
        shell.ui.AnswerDialog([&](ODialogModel& model) {
            std::unique_ptr<QDialog> made(
                shell.desktop->QtInteraction().CreateDialog(model, &Frame()));
            auto* window = dynamic_cast<Window*>(made.get());
            EXPECT_NE(window, nullptr) << "the wizard has its own window";
            if (!window) return false;
            window->show();
            ProcessEvents();
            shown = true;
            return drive(*window);
        });
        Run(command);
        EXPECT_TRUE(shown);
        EXPECT_TRUE(shell.ui.bAllScriptUsed());
    }
};

}  // namespace

TEST(AccuracyWizardWindow, SixtyPartsEndWithTwoArtificialOrientationsInTeachData) {
    WizardDesk desk;
    desk.AddMeasuredParts(60);
    OClassifier* classifier = desk.doc->opGetClassifier();
    ASSERT_TRUE(classifier);
    ASSERT_EQ(classifier->iGetOrientationCount(0), 1);
    ASSERT_TRUE(desk.bEnabled(Cmd::kAccuracyWizard));

    QString summary;
    desk.RunWizard<OSheet_AccuracyWizardWindow>(Cmd::kAccuracyWizard, [&](auto& w) {
        EXPECT_EQ(w.windowTitle(), "Accuracy wizard");
        EXPECT_EQ(Control<QLabel>(w, 1000)->text().left(30), "This wizard evaluates one feat");
        EXPECT_FALSE(Enabled(w, OWizardDialog::kBackId));
        Screenshot(desk.Frame(), w, "accuracy_wizard_start");
        Click(w, OWizardDialog::kNextId);

        // The feature page: nothing computed before the measured value is typed.
        auto* feature = Control<QComboBox>(w, 1100);
        EXPECT_GE(feature->count(), 12) << "the basic contour features";
        feature->setCurrentIndex(0);  // the length in columns
        EXPECT_EQ(Text(w, 1002), "--");
        EXPECT_FALSE(Enabled(w, OWizardDialog::kNextId));
        Type(w, 1001, "40.4");
        ProcessEvents();
        EXPECT_EQ(Text(w, 1003), "202.0000") << "mean of 200..204";
        EXPECT_EQ(Text(w, 1002), "0.2000");
        EXPECT_EQ(Text(w, 1136), "0.4000") << "0.5 * (204 - 200) * 0.2";
        EXPECT_TRUE(Enabled(w, OWizardDialog::kNextId));
        Screenshot(desk.Frame(), w, "accuracy_wizard_feature");
        Click(w, OWizardDialog::kNextId);

        // The evaluation page starts from the measured value and ⌈10 e⌉ / 10 · 2.
        EXPECT_EQ(Text(w, 1114), "40.4000");
        EXPECT_EQ(Text(w, 1131), "0.8000");
        EXPECT_FALSE(Text(w, 1107).isEmpty());
        EXPECT_FALSE(Text(w, 1137).isEmpty());
        EXPECT_FALSE(Control(w, 1113)->isVisible()) << "the other mode's controls are hidden";
        // A tolerance below the maximum error is raised to it after the pause.
        Type(w, 1131, "0.1");
        EXPECT_TRUE(QTest::qWaitFor([&] { return Text(w, 1131) == "0.4000"; }, 3000));
        Type(w, 1131, "1.0");
        EXPECT_TRUE(QTest::qWaitFor([&] { return Text(w, 1131) == "1.0"; }, 3000));
        Screenshot(desk.Frame(), w, "accuracy_wizard_evaluation");
        Click(w, OWizardDialog::kNextId);  // takes the typed tolerance without waiting

        auto* table = Control<QTableWidget>(w, 1139);
        EXPECT_GT(table->rowCount(), 20);
        EXPECT_EQ(table->item(0, 0)->text(), "Feature");
        EXPECT_FALSE(Enabled(w, OWizardDialog::kNextId));
        EXPECT_TRUE(Enabled(w, OWizardDialog::kFinishId));
        Click(w, 1140);  // Copy summary
        summary = QApplication::clipboard()->text();
        Control<QCheckBox>(w, 1141)->setChecked(true);
        Screenshot(desk.Frame(), w, "accuracy_wizard_summary");
        Click(w, OWizardDialog::kFinishId);
        return w.result() == QDialog::Accepted;
    });

    EXPECT_TRUE(summary.startsWith("Type\tValue\tUnit\nFeature\t")) << summary.toStdString();
    EXPECT_TRUE(summary.contains("Tol. range\t39.4000 .. 41.4000\t(e.g. mm)"))
        << summary.toStdString();
    // Orientation 1 and the two uncertain ranges, each with one artificial sample part.
    EXPECT_EQ(classifier->iGetOrientationCount(0), 3);
    int artificial = 0;
    for (int i = 0; i < desk.Set().TeachParts().iGetSize(); ++i) {
        const int o = desk.Set().TeachParts().GetAt_NoSort(i)->iGetOrientation();
        artificial += o == 2 || o == 3;
    }
    EXPECT_EQ(artificial, 2);
    OClassCell low, high;
    ASSERT_TRUE(classifier->bGetCell(0, 1, 0, low));
    ASSERT_TRUE(classifier->bGetCell(0, 2, 0, high));
    // In pixels: (40.4 - 1.0 ± 0.4) / 0.2 and (40.4 + 1.0 ± 0.4) / 0.2.
    EXPECT_NEAR(low.minimum, 195.0, 1e-3);
    EXPECT_NEAR(low.maximum, 199.0, 1e-3);
    EXPECT_NEAR(high.minimum, 205.0, 1e-3);
    EXPECT_NEAR(high.maximum, 209.0, 1e-3);
    // One undo step takes it back.
    EXPECT_TRUE(desk.Set().UndoRedo().bHasUndoData());
}

TEST(AccuracyWizardWindow, RefusesTooFewValuesAndMeasuredZero) {
    WizardDesk desk;
    desk.AddMeasuredParts(49);
    desk.RunWizard<OSheet_AccuracyWizardWindow>(Cmd::kAccuracyWizard, [&](auto& w) {
        // Fewer than 50 sample parts: the start page offers no way on.
        EXPECT_TRUE(Text(w, 1000).startsWith("Attention: Not enough sample parts."));
        EXPECT_FALSE(Enabled(w, OWizardDialog::kNextId));
        EXPECT_FALSE(Enabled(w, OWizardDialog::kBackId));
        Screenshot(desk.Frame(), w, "accuracy_wizard_not_enough_parts");
        Click(w, OWizardDialog::kCancelId);
        return false;
    });
    EXPECT_EQ(desk.doc->opGetClassifier()->iGetOrientationCount(0), 1);

    // 50 parts of which one has no valid length: 49 usable values are refused.
    desk.AddMeasuredParts(1);
    OType_Part* broken = desk.Set().TeachParts().GetAt_NoSort(0);
    broken->Features().At(0).valid = false;
    desk.RunWizard<OSheet_AccuracyWizardWindow>(Cmd::kAccuracyWizard, [&](auto& w) {
        Click(w, OWizardDialog::kNextId);
        Control<QComboBox>(w, 1100)->setCurrentIndex(0);
        ProcessEvents();
        EXPECT_TRUE(
            Text(w, 1199).startsWith("The evaluation can not be done since there are "
                                     "less than 50 values."));
        EXPECT_TRUE(Control(w, 1199)->isVisible());
        Type(w, 1001, "40");
        EXPECT_EQ(Text(w, 1002), "--");
        EXPECT_FALSE(Enabled(w, OWizardDialog::kNextId));
        EXPECT_TRUE(Enabled(w, OWizardDialog::kBackId));
        Screenshot(desk.Frame(), w, "accuracy_wizard_too_few_values");
        // Another feature with all 50 values valid, but measured 0: results stay open.
        Control<QComboBox>(w, 1100)->setCurrentIndex(1);
        Type(w, 1001, "0");
        EXPECT_EQ(Text(w, 1002), "--");
        EXPECT_EQ(Text(w, 1003), "--");
        EXPECT_FALSE(Control(w, 1199)->isVisible());
        EXPECT_FALSE(Enabled(w, OWizardDialog::kNextId));
        Click(w, OWizardDialog::kCancelId);
        return false;
    });
    EXPECT_EQ(desk.doc->opGetClassifier()->iGetOrientationCount(0), 1);
    EXPECT_FALSE(desk.Set().UndoRedo().bHasUndoData());
}

namespace {

// Whether the settings page shows the finished state (the search ended and installed).
bool bSearchEnded(QWidget& w) {
    return Text(w, 1214) == "Processing is finished, press 'Next'.";
}

bool WaitForSearchEnd(QWidget& w) {
    return QTest::qWaitFor([&] { return bSearchEnded(w); }, 120000);
}

}  // namespace

TEST(OptimizeWizardWindow, SearchFromTheMenuRemovesAnE20AndIsOneUndoStep) {
    WizardDesk desk;
    desk.AddMirroredParts(8);
    OClassifier* classifier = desk.doc->opGetClassifier();
    ASSERT_TRUE(classifier);
    ASSERT_EQ(classifier->GetTeachError(), 20) << "the basic features must not separate";
    ASSERT_TRUE(desk.bEnabled(Cmd::kOptimizeWizard));
    ASSERT_EQ(desk.iTools(), 0);

    desk.RunWizard<OOptimizeWizardWindow>(Cmd::kOptimizeWizard, [&](auto& w) {
        EXPECT_EQ(w.windowTitle(), "Opt");
        EXPECT_EQ(Text(w, 1214), "Change the settings, then press 'Start Optimization'.");
        EXPECT_EQ(Control<QPushButton>(w, 1196)->text(), "> Start Optimization <");
        EXPECT_EQ(Text(w, 1283), "3");
        EXPECT_TRUE(Control<QRadioButton>(w, 1290)->isChecked()) << "medium by default";
        EXPECT_TRUE(Enabled(w, OWizardDialog::kNextId));
        EXPECT_FALSE(Enabled(w, OWizardDialog::kBackId));
        Type(w, 1283, "1");
        QTest::mouseClick(Control<QRadioButton>(w, 1289), Qt::LeftButton);
        Screenshot(desk.Frame(), w, "optimize_wizard_settings");

        Click(w, 1196);
        // While the search runs the wizard cannot move on and the fields are locked, but the
        // window answers: the button now stops the search.
        EXPECT_EQ(Control<QPushButton>(w, 1196)->text(), "> Stop Optimization <");
        EXPECT_FALSE(Enabled(w, OWizardDialog::kNextId));
        EXPECT_FALSE(Control(w, 1283)->isEnabled());
        EXPECT_FALSE(desk.bEnabled(Cmd::kOptimizeWizard)) << "one search at a time";
        // A fast machine may finish the search before the first look at the status line.
        const auto searching = [&] {
            return Text(w, 1214).startsWith("Searching tools, please wait ...");
        };
        if (QTest::qWaitFor([&] { return searching() || bSearchEnded(w); }, 5000) && searching())
            Screenshot(desk.Frame(), w, "optimize_wizard_searching");
        EXPECT_TRUE(WaitForSearchEnd(w)) << Text(w, 1214).toStdString();
        EXPECT_EQ(Control<QPushButton>(w, 1196)->text(), "> Start Optimization <");
        auto* progress = Control<QProgressBar>(w, 1294);
        EXPECT_EQ(progress->maximum(), 100);
        EXPECT_EQ(progress->value(), 100);
        EXPECT_TRUE(Enabled(w, OWizardDialog::kNextId));
        EXPECT_EQ(desk.iTools(), 1) << "installed while the wizard is open";

        Click(w, OWizardDialog::kNextId);
        auto* list = Control<QListWidget>(w, 1224);
        EXPECT_GT(list->count(), 1);
        EXPECT_EQ(list->item(0)->text(), "Used tools: 1");
        for (int i = 0; i < list->count(); ++i)
            EXPECT_FALSE(list->item(i)->text().contains("[E20]"))
                << list->item(i)->text().toStdString();
        EXPECT_EQ(Text(w, 1225), "Press 'Finish'.");
        EXPECT_TRUE(Enabled(w, OWizardDialog::kFinishId));
        EXPECT_TRUE(Enabled(w, OWizardDialog::kBackId));
        Screenshot(desk.Frame(), w, "optimize_wizard_evaluation");

        // Back returns to the settings, ready for another search.
        Click(w, OWizardDialog::kBackId);
        EXPECT_EQ(Text(w, 1214), "Change the settings, then press 'Start Optimization'.");
        EXPECT_TRUE(Enabled(w, OWizardDialog::kNextId));
        EXPECT_FALSE(Enabled(w, OWizardDialog::kBackId));
        Click(w, OWizardDialog::kNextId);
        Click(w, OWizardDialog::kFinishId);
        return w.result() == QDialog::Accepted;
    });

    ASSERT_EQ(desk.iTools(), 1);
    EXPECT_EQ(desk.Set().Tools().opGetAt(0)->GetName(), "1/1->2/1");
    EXPECT_EQ(classifier->GetTeachError(), 0);
    EXPECT_TRUE(desk.bEnabled(Cmd::kOptimizeWizard));
    // Edit > Undo takes the installed tool back and with it the separation.
    ASSERT_TRUE(desk.bEnabled(Cmd::kEditUndo));
    desk.Run(Cmd::kEditUndo);
    EXPECT_EQ(desk.iTools(), 0);
    EXPECT_EQ(desk.Set().TeachParts().iGetSize(), 16) << "the recorded parts stay";
    EXPECT_EQ(desk.doc->opGetClassifier()->GetTeachError(), 20);
}

TEST(OptimizeWizardWindow, TimeIsValidatedAndStopKeepsWhatWasFound) {
    WizardDesk desk;
    desk.AddMirroredParts(8);
    desk.RunWizard<OOptimizeWizardWindow>(Cmd::kOptimizeWizard, [&](auto& w) {
        for (const char* bad : {"1441", "0", ""}) {
            desk.shell.ui.ExpectMessage(MsgResult::Ok,
                                        "Please enter an integer between 1 and 1440.");
            Type(w, 1283, bad);
            Click(w, 1196);
            EXPECT_TRUE(desk.shell.ui.bAllScriptUsed()) << "time " << bad;
            EXPECT_EQ(Control<QPushButton>(w, 1196)->text(), "> Start Optimization <");
            EXPECT_TRUE(Enabled(w, OWizardDialog::kNextId));
        }
        EXPECT_EQ(desk.iTools(), 0);

        // Stop at once: the search ends at its next check and installs what it kept so far.
        Type(w, 1283, "1440");
        Click(w, 1196);
        Click(w, 1196);
        EXPECT_FALSE(Control(w, 1196)->isEnabled()) << "stopping";
        EXPECT_TRUE(WaitForSearchEnd(w));
        EXPECT_TRUE(Control(w, 1196)->isEnabled());
        EXPECT_EQ(Control<QPushButton>(w, 1196)->text(), "> Start Optimization <");
        EXPECT_TRUE(Enabled(w, OWizardDialog::kNextId));
        EXPECT_LE(desk.iTools(), 1);
        for (int i = 0; i < desk.iTools(); ++i)
            EXPECT_EQ(desk.Set().Tools().opGetAt(i)->GetName(), "1/1->2/1");
        Click(w, OWizardDialog::kCancelId);
        return false;
    });
    EXPECT_TRUE(desk.bEnabled(Cmd::kOptimizeWizard));
}

TEST(OptimizeWizardWindow, CancelDuringASearchStopsItAndInstallsNothing) {
    WizardDesk desk;
    desk.AddMirroredParts(8);
    bool closed = false;
    desk.RunWizard<OOptimizeWizardWindow>(Cmd::kOptimizeWizard, [&](auto& w) {
        QTest::mouseClick(Control<QRadioButton>(w, 1291), Qt::LeftButton);
        Type(w, 1283, "1440");
        Click(w, 1196);
        Click(w, OWizardDialog::kCancelId);
        // The wizard closes once the search has ended; until then nothing can be pressed.
        EXPECT_FALSE(Enabled(w, OWizardDialog::kNextId));
        EXPECT_FALSE(Control(w, 1196)->isEnabled());
        closed = QTest::qWaitFor([&] { return !w.isVisible(); }, 120000);
        return w.result() == QDialog::Accepted;
    });
    EXPECT_TRUE(closed);
    EXPECT_EQ(desk.iTools(), 0);
    EXPECT_FALSE(desk.Set().UndoRedo().bHasUndoData());
    EXPECT_TRUE(desk.bEnabled(Cmd::kOptimizeWizard)) << "the running flag is cleared";
}

TEST(OptimizeWizardWindow, OnlyFamilyOneProjectsSearchTools) {
    WizardDesk classic;
    EXPECT_TRUE(classic.bEnabled(Cmd::kOptimizeWizard));
    EXPECT_TRUE(classic.bEnabled(Cmd::kAccuracyWizard));
    WizardDesk camera(512, 828);
    ASSERT_EQ(camera.doc->iGetFamily(), 2);
    EXPECT_FALSE(camera.bEnabled(Cmd::kOptimizeWizard)) << "no contour tools to search";
    EXPECT_TRUE(camera.bEnabled(Cmd::kAccuracyWizard));
}

namespace {

QTreeWidgetItem* BarLine(QTreeWidget& list, const QString& text) {
    for (int i = 0; i < list.topLevelItemCount(); ++i)
        if (list.topLevelItem(i)->text(0) == text) return list.topLevelItem(i);
    return nullptr;
}

void Activate(QTreeWidget& list, QTreeWidgetItem* item, bool byKey) {
    ASSERT_TRUE(item);
    list.setCurrentItem(item);
    list.scrollToItem(item);  // as the user scrolls to a line before clicking it
    list.setFocus();
    if (byKey) {
        QTest::keyClick(&list, Qt::Key_Return);
    } else {
        // A real double click: QTest's double click alone is only the second press.
        const QRect r = list.visualItemRect(item);
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, r.center());
    }
    ProcessEvents();
}

}  // namespace

TEST(WizardBarWindow, ChecklistFollowsTheProjectAndItsLinesOpenWhatTheyName) {
    WizardDesk desk;
    desk.shell.settings->SetInt("Settings", "SHOW_WIZARD_BAR", 1);
    desk.Run(Cmd::kToggleWizardBar);  // the desk starts without the bar
    ProcessEvents();
    OBar_ProjectWizardWindow* bar = desk.Frame().WizardBar();
    ASSERT_TRUE(bar);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->windowTitle(), "Project Wizard Bar");
    EXPECT_TRUE(desk.Frame().CommandState(Cmd::kToggleWizardBar, nullptr).checked);
    QTreeWidget& list = *bar->List();
    ASSERT_GE(list.topLevelItemCount(), 4);
    EXPECT_EQ(list.topLevelItem(0)->text(0),
              "Prepare the device for the parts (e.g. mechanical settings, parameter etc.)");
    EXPECT_EQ(list.topLevelItem(list.topLevelItemCount() - 1)->text(0),
              "The Teach-Data created in Kalvor have to be transfered to the device.");
    const QString teach =
        "Teach via device connection - show at least 10 sample parts per possible orientation.";
    ASSERT_TRUE(BarLine(list, teach));
    const QImage empty = BarLine(list, teach)->icon(0).pixmap(16, 16).toImage();

    // Recorded parts change the checklist at the next refresh.
    desk.AddMirroredParts(12);
    ProcessEvents();
    ASSERT_TRUE(BarLine(list, teach));
    EXPECT_NE(BarLine(list, teach)->icon(0).pixmap(16, 16).toImage(), empty)
        << "taught: the step is no longer open";
    EXPECT_TRUE(BarLine(list, "  Separation of Orient. 1 from Orient. 2 is not possible !!"))
        << "the mirrored parts cannot be told apart";
    Screenshot(desk.Frame(), "wizard_bar");

    // Enter on a line runs its command: the part contour opens; a double click on the
    // orientation check opens the Teach-Data.
    Activate(list,
             BarLine(list,
                     "Check the sample parts regarding their assigned orientation "
                     "and quality."),
             true);
    EXPECT_TRUE(desk.Frame().bHasView(ViewKind::PartContour));
    Activate(list, BarLine(list, "Check for a reliable orientation detection."), false);
    EXPECT_TRUE(desk.Frame().bHasView(ViewKind::TeachData));
    Activate(list, BarLine(list, "  Check sample parts for correct orientation assignment."), true);
    EXPECT_TRUE(desk.Frame().bHasView(ViewKind::PartList));

    // The close button hides the bar through the document, which remembers it.
    bar->close();
    ProcessEvents();
    EXPECT_FALSE(bar->isVisible());
    EXPECT_FALSE(desk.Frame().CommandState(Cmd::kToggleWizardBar, nullptr).checked);
    EXPECT_EQ(desk.shell.settings->iGetInt("Settings", "SHOW_WIZARD_BAR", -1), 0);
    desk.Run(Cmd::kToggleWizardBar);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(desk.shell.settings->iGetInt("Settings", "SHOW_WIZARD_BAR", -1), 1);
}
