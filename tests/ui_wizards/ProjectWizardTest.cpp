// The project wizard as a new user meets it: opened by its menu command on a desktop connected
// to kalvor-devsim, its real window driven offscreen from the connection test through
// recording two orientations, the Teach-Data, a tool search that removes an "[E20]", the
// evaluation, to the transfer and the saved project.
//
// The simulator streams nothing by itself; the test places the parts the device "sees" in the
// link's received-part array, as the link's receive thread does, and lets the document take
// them, so that the parts and their order are known.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <fstream>

#include "classification/OClassifier.h"
#include "document/ODoc.h"
#include "link/OQuillonComInterface.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/ResStr.h"
#include "support/ToolSearchParts.h"
#include "ui_device/DeviceTestSupport.h"
#include "wizards/OProjectWizardSheet.h"
#include "wizards/ui/OProjectWizardSheetWindow.h"

namespace {

using namespace devicetest;
using W = OProjectWizardSheetWindow;

constexpr OTargetSystem kClassic{1, 818, 0, 6, 1, 8};

TempDir& ScreenshotDir() {
    static TempDir dir;
    return dir;
}

void Screenshot(QWidget& frame, QWidget& window, const std::string& name) {
    ProcessEvents();
    SaveScreenshot(Composite(frame, window), ScreenshotDir(), name);
}

QString Text(QWidget& w, int id) {
    if (auto* label = w.findChild<QLabel*>(QString::number(id))) {
        // Several pages have an info line; the visible one counts.
        for (QLabel* l : w.findChildren<QLabel*>(QString::number(id)))
            if (l->isVisible()) return l->text();
        return label->text();
    }
    if (auto* edit = w.findChild<QLineEdit*>(QString::number(id))) return edit->text();
    return "<no control " + QString::number(id) + ">";
}

QListWidget* VisibleList(QWidget& w) {
    for (QListWidget* list : w.findChildren<QListWidget*>("1224"))
        if (list->isVisible()) return list;
    return nullptr;
}

QString Title(QWidget& w) {
    auto* title = w.findChild<QLabel*>("title");
    return title ? title->text() : QString();
}

bool Offered(QWidget& w, int id) {
    auto* b = w.findChild<QPushButton*>(QString::number(id));
    return b && b->isVisible() && b->isEnabled();
}

void TypeInto(QWidget& w, int id, const QString& text) {
    auto* edit = Find<QLineEdit>(w, QString::number(id));
    ASSERT_NE(edit, nullptr);
    // The first key after the focus moves only completes the focus change offscreen.
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_End);
    edit->selectAll();
    QTest::keyClicks(edit, text);
    ProcessEvents();
}

// A mirrored test body: the bump at the front in orientation 1, at the back in 2.
std::unique_ptr<OType_Part> BumpPart(int i, bool front) {
    auto part = std::make_unique<OType_Part>();
    part->SetConturData(searchparts::BumpPart(searchparts::PartLength(i, 300, 101),
                                              searchparts::PartHeight(i), front));
    return part;
}

struct WizardDevice {
    ODesktopWithDevice desk{kClassic, {"--software", "818", "--rate", "0.001"}};
    TempDir folder;

    // The device sees a part: it lands in the link's array and the link tells the document.
    void Show(std::unique_ptr<OType_Part> part) {
        OQuillonComInterface& link = *desk.Session().opGetConnection();
        ASSERT_TRUE(link.bLockReceivedParts());
        link.ReceivedParts().Add(std::move(part));
        link.UnlockReceivedParts();
        desk.Doc().OnCommand(Cmd::kLinkContourPart, 0);
        ProcessEvents();
    }
    int iSamples(int orientation) {
        const OType_PartArray& list = desk.Doc().opGetActualPartSet()->TeachParts();
        int n = 0;
        for (int i = 0; i < list.iGetSize(); ++i)
            n += list.GetAt_NoSort(i)->iGetOrientation() == orientation;
        return n;
    }
    // The simulator's stream sends one part when diagnostic mode begins; it is not one of
    // the test's parts.
    void DeleteTheStreamsFirstPart(W& w) {
        if (!PumpUntil([&] { return iSamples(1) > 0; }, std::chrono::seconds(3))) return;
        ASSERT_TRUE(Offered(w, W::kDelete));
        Click(w, W::kDelete);
        EXPECT_EQ(iSamples(1), 0);
    }

    void RunWizard(const std::function<void(W&)>& drive) {
        bool shown = false;
        desk.Ui().AnswerDialog([&](ODialogModel& model) {
            std::unique_ptr<QDialog> made(
                desk.shell->desktop->QtInteraction().CreateDialog(model, &desk.Frame()));
            auto* window = dynamic_cast<W*>(made.get());
            EXPECT_NE(window, nullptr) << "the project wizard has its own window";
            if (!window) return false;
            window->show();
            // Typing goes to the active window, as on the desktop.
            window->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(window));
            shown = true;
            drive(*window);
            return window->result() == QDialog::Accepted;
        });
        desk.Run(Cmd::kProjectWizard);
        EXPECT_TRUE(shown);
        EXPECT_TRUE(desk.Ui().bAllScriptUsed());
    }
};

}  // namespace

TEST(ProjectWizardWindow, FromTheConnectionTestToTheSavedProjectWithATransfer) {
    WizardDevice dev;
    ODesktopWithDevice& desk = dev.desk;
    desk.Settings().SetInt("Settings", "PROJECT_USE_ORIENTATION", 1);
    const std::string path = (dev.folder / "bolt.zrp").string();
    ASSERT_TRUE(desk.Frame().CommandState(Cmd::kProjectWizard, desk.Frame().CurrentView()).enabled);

    dev.RunWizard([&](W& w) {
        EXPECT_EQ(w.windowTitle().toStdString(), ResStr(3207));
        EXPECT_EQ(Title(w), "General Information about the Project Wizard");
        EXPECT_TRUE(Offered(w, W::kNextId));
        EXPECT_FALSE(Offered(w, W::kBackId));
        Screenshot(desk.Frame(), w, "project_wizard_start");

        // Page 1 reads the device information over the connection and fills the project data.
        Click(w, W::kNextId);
        ASSERT_EQ(Title(w), "New Project 1/2");
        EXPECT_FALSE(desk.Session().ProjectData().Get(ProjectField::DeviceType).empty());
        EXPECT_FALSE(desk.Session().ProjectData().Get(ProjectField::NumberOfPixels).empty());
        EXPECT_EQ(Text(w, W::kInfoText), "Please specify the projects name");
        EXPECT_FALSE(Offered(w, W::kNextId));
        TypeInto(w, W::kNameEdit, "bolt");
        EXPECT_EQ(Text(w, W::kPathEdit), "bolt.zrp") << "the name makes the file name";
        TypeInto(w, W::kPathEdit, QString::fromStdString(path));
        EXPECT_EQ(Text(w, W::kNameEdit), "bolt");
        EXPECT_EQ(Text(w, W::kInfoText), "Press 'Next' to advance");
        EXPECT_TRUE(Offered(w, W::kNextId));
        Screenshot(desk.Frame(), w, "project_wizard_parameters");
        // An existing file needs an explicit Yes.
        std::ofstream(path) << "old";
        desk.Ui().ExpectMessage(MsgResult::No, ResStr(5114));
        Click(w, W::kNextId);
        EXPECT_EQ(Title(w), "New Project 1/2");
        std::filesystem::remove(path);
        Click(w, W::kNextId);

        ASSERT_EQ(Title(w), "New Project, 2/2");
        EXPECT_EQ(Text(w, W::kInfoText), "Change the settings according to the task");
        auto* sorting = Find<QCheckBox>(w, QString::number(W::kTaskFirst + 2));
        auto* optimise = Find<QCheckBox>(w, QString::number(W::kTaskFirst + 3));
        ASSERT_TRUE(sorting && optimise);
        EXPECT_FALSE(sorting->isEnabled()) << "one type per program: nothing to sort";
        EXPECT_FALSE(sorting->isChecked()) << "a disabled task is off";
        EXPECT_TRUE(optimise->isEnabled());
        EXPECT_TRUE(optimise->isChecked());
        Screenshot(desk.Frame(), w, "project_wizard_tasks");
        Click(w, W::kNextId);

        // Page 4 starts idle: Start enters diagnostic mode.
        ASSERT_EQ(Title(w), "Show Sample Parts");
        EXPECT_EQ(Text(w, W::kInfoText).toStdString(), ResStr(2145));
        EXPECT_TRUE(Offered(w, W::kStartButton));
        EXPECT_FALSE(Offered(w, W::kDelete));
        EXPECT_TRUE(Offered(w, W::kBackId));
        EXPECT_FALSE(Offered(w, W::kNextId));
        Screenshot(desk.Frame(), w, "project_wizard_sample_parts_idle");
        Click(w, W::kStartButton);
        EXPECT_TRUE(desk.Session().bIsDiagMode());
        EXPECT_EQ(Text(w, W::kInfoText), "Show parts in orientation: 1");
        EXPECT_FALSE(Offered(w, W::kStartButton));
        EXPECT_FALSE(Offered(w, W::kBackId));
        EXPECT_FALSE(Offered(w, W::kNextId));
        dev.DeleteTheStreamsFirstPart(w);

        // Identical parts are stable: ten of them (automatic optimisation on) move on.
        for (int i = 0; i < 9; ++i)
            dev.Show(BumpPart(i, true));
        EXPECT_EQ(Title(w), "Show Sample Parts") << "nine parts are not enough";
        EXPECT_EQ(dev.iSamples(1), 9);
        Screenshot(desk.Frame(), w, "project_wizard_sample_parts");
        dev.Show(BumpPart(9, true));
        PumpUntil([&] { return Title(w) != "Show Sample Parts"; }, std::chrono::seconds(2));
        ASSERT_EQ(Title(w), "Further part types or orientations");
        EXPECT_EQ(Text(w, W::kInfoText),
                  "Press 'Next Orientation' for more orientations, otherwise 'Finished'");
        EXPECT_FALSE(Offered(w, W::kNextId));
        EXPECT_FALSE(Offered(w, W::kNextType)) << "no sorting task";
        Screenshot(desk.Frame(), w, "project_wizard_more_orientations");
        // Parts shown now are test parts.
        dev.Show(BumpPart(20, true));
        EXPECT_EQ(dev.iSamples(1), 10);

        Click(w, W::kNextOrientation);
        ASSERT_EQ(Title(w), "Show Sample Parts");
        EXPECT_EQ(Text(w, W::kInfoText), "Show parts in orientation: 2");
        for (int i = 0; i < 10; ++i)
            dev.Show(BumpPart(i, false));
        PumpUntil([&] { return Title(w) != "Show Sample Parts"; }, std::chrono::seconds(2));
        ASSERT_EQ(Title(w), "Further part types or orientations");
        EXPECT_EQ(dev.iSamples(2), 10);

        Click(w, W::kTypeFinished);
        EXPECT_EQ(Text(w, W::kInfoText), "Please stop the device , then Press 'Next' here.");
        EXPECT_TRUE(Offered(w, W::kNextId));
        EXPECT_FALSE(Offered(w, W::kNextOrientation));
        Click(w, W::kNextId);
        EXPECT_FALSE(desk.Session().bIsDiagMode()) << "Next leaves diagnostic mode";

        // The mirrored bodies cannot be told apart by the basic features.
        ASSERT_EQ(Title(w), "Create Teach-Data");
        auto* creation = VisibleList(w);
        ASSERT_NE(creation, nullptr);
        EXPECT_GT(creation->count(), 0);
        EXPECT_EQ(desk.Doc().opGetClassifier()->GetTeachError(), 20);
        Screenshot(desk.Frame(), w, "project_wizard_create_teach_data");
        desk.Ui().ExpectMessage(MsgResult::Ok, ResStr(2169));
        Click(w, W::kNextId);

        ASSERT_EQ(Title(w), "Settings for Optimizing");
        TypeInto(w, 1283, "1");
        Screenshot(desk.Frame(), w, "project_wizard_optimizing");
        Click(w, 1196);
        EXPECT_FALSE(Offered(w, W::kNextId)) << "no way on while the search runs";
        EXPECT_FALSE(Offered(w, W::kBackId));
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return Text(w, 1214) == "Processing is finished, press 'Next'."; }, 120000));
        EXPECT_EQ(desk.Doc().opGetActualPartSet()->Tools().iGetNum(), 1);
        EXPECT_TRUE(Offered(w, W::kNextId));
        Click(w, W::kNextId);

        ASSERT_EQ(Title(w), "Evaluation");
        auto* evaluation = VisibleList(w);
        ASSERT_NE(evaluation, nullptr);
        ASSERT_GT(evaluation->count(), 0);
        EXPECT_EQ(evaluation->item(0)->text(), "Used tools: 1");
        for (int i = 0; i < evaluation->count(); ++i)
            EXPECT_FALSE(evaluation->item(i)->text().contains("[E20]"));
        Screenshot(desk.Frame(), w, "project_wizard_evaluation");
        Click(w, W::kNextId);

        ASSERT_EQ(Title(w), "Save and Transer Data");
        EXPECT_EQ(Find<QCheckBox>(w, QString::number(W::kTransfer))->text(),
                  "Transfer Teach-Data to Type:");
        auto* target = Find<QComboBox>(w, QString::number(W::kTransferTarget));
        ASSERT_NE(target, nullptr);
        EXPECT_EQ(target->count(), 6);
        EXPECT_FALSE(target->isEnabled()) << "only while the transfer is ticked";
        Find<QCheckBox>(w, QString::number(W::kTransfer))->click();
        EXPECT_TRUE(target->isEnabled());
        target->setCurrentIndex(1);
        Find<QCheckBox>(w, QString::number(W::kAddDocumentation))->setChecked(false);
        Find<QCheckBox>(w, QString::number(W::kManualMode))->setChecked(true);
        EXPECT_TRUE(Offered(w, W::kFinishId));
        Screenshot(desk.Frame(), w, "project_wizard_save_and_transfer");
        Click(w, W::kFinishId);
    });

    // Finish transferred, saved and kept the project open (manual mode).
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(desk.Doc().GetPathName(), path);
    EXPECT_EQ(desk.Doc().GetTitle(), "bolt.zrp");
    EXPECT_FALSE(desk.Doc().IsModified());
    EXPECT_EQ(dev.iSamples(1), 10);
    EXPECT_EQ(dev.iSamples(2), 10);
    EXPECT_EQ(desk.Doc().opGetActualPartSet()->Tools().iGetNum(), 1);
    EXPECT_FALSE(desk.Session().bIsDiagMode());
}

TEST(ProjectWizardWindow, CancelLeavesDiagnosticModeAndTheUnreadableDeviceStaysOnPageOne) {
    WizardDevice dev;
    ODesktopWithDevice& desk = dev.desk;
    desk.Settings().SetInt("Settings", "PROJECT_USE_ORIENTATION", 1);
    dev.RunWizard([&](W& w) {
        Click(w, W::kNextId);
        ASSERT_EQ(Title(w), "New Project 1/2");
        TypeInto(w, W::kPathEdit, QString::fromStdString((dev.folder / "a.zrp").string()));
        Click(w, W::kNextId);
        Click(w, W::kNextId);
        Click(w, W::kStartButton);
        ASSERT_TRUE(desk.Session().bIsDiagMode());
        Click(w, W::kManualAbort);
        ASSERT_EQ(Title(w), "Further part types or orientations");
        EXPECT_TRUE(Offered(w, W::kNextOrientation)) << "the device still sends parts";
        Click(w, W::kTypeFinished);
        EXPECT_TRUE(Offered(w, W::kNextId));
        EXPECT_TRUE(desk.Session().bIsDiagMode()) << "stopped only by Next or Cancel";
        w.reject();
        ProcessEvents();
    });
    EXPECT_FALSE(desk.Session().bIsDiagMode()) << "Cancel leaves diagnostic mode";

    // A device that does not answer: page 1 says so and stays. The recorded project is
    // offered for saving first.
    desk.sim.Stop();
    desk.Ui().ExpectMessage(MsgResult::No, ResStr(5005));
    dev.RunWizard([&](W& w) {
        desk.Ui().ExpectMessage(MsgResult::Ok, ResStr(4213));
        Click(w, W::kNextId);
        EXPECT_EQ(Title(w), "General Information about the Project Wizard");
        w.reject();
    });
}
