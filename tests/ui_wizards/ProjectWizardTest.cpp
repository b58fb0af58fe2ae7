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
#include <algorithm>
#include <cmath>
#include <fstream>
#include <numeric>

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
#include "wizards/ui/OWizardPartPicture.h"

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

OWizardPartPicture* VisiblePicture(QWidget& w) {
    const QString name = QString::number(W::kPartPicture);
    for (auto* picture : w.findChildren<OWizardPartPicture*>(name))
        if (picture->isVisible()) return picture;
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

// A body of type 2: longer and higher than the bump parts.
std::unique_ptr<OType_Part> LongPart(int i) {
    auto part = std::make_unique<OType_Part>();
    part->SetConturData(searchparts::BumpPart(searchparts::PartLength(i, 600, 41),
                                              searchparts::PartHeight(i) + 60, true));
    return part;
}

struct WizardDevice {
    explicit WizardDevice(const OTargetSystem& target = kClassic,
                          std::vector<std::string> extraOptions = {})
        : desk(target, WithOptions({"--software", "818", "--rate", "0.001"}, extraOptions)) {}
    static std::vector<std::string> WithOptions(std::vector<std::string> options,
                                                const std::vector<std::string>& extra) {
        options.insert(options.end(), extra.begin(), extra.end());
        return options;
    }
    ODesktopWithDevice desk;
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
    // (longest - shortest) / mean length of the sample parts of an orientation, in percent.
    int iLengthSpreadPercent(int orientation) {
        const OType_PartArray& list = desk.Doc().opGetActualPartSet()->TeachParts();
        std::vector<double> lengths;
        for (int i = 0; i < list.iGetSize(); ++i) {
            const OType_Part& part = *list.GetAt_NoSort(i);
            if (part.iGetOrientation() == orientation)
                lengths.push_back(part.Features().dGetFeatureValueAt(0));
        }
        if (lengths.empty()) return -1;
        const auto [shortest, longest] = std::minmax_element(lengths.begin(), lengths.end());
        const double mean = std::accumulate(lengths.begin(), lengths.end(), 0.0) /
                            static_cast<double>(lengths.size());
        return static_cast<int>(std::lround((*longest - *shortest) / mean * 100));
    }
    // The simulator's stream sends one part when diagnostic mode begins; it is not one of
    // the test's parts.
    void DeleteTheStreamsFirstPart(W& w) {
        if (!PumpUntil([&] { return iSamples(1) > 0; }, std::chrono::seconds(3))) return;
        ASSERT_TRUE(Offered(w, W::kDelete));
        Click(w, W::kDelete);
        EXPECT_EQ(iSamples(1), 0);
    }

    // Shows `count` parts made by `make`, then moves on by hand if the page has not moved on
    // by itself.
    void RecordOrientation(W& w, int count,
                           const std::function<std::unique_ptr<OType_Part>(int)>& make) {
        for (int i = 0; i < count; ++i)
            Show(make(i));
        PumpUntil([&] { return Title(w) != "Show Sample Parts"; }, std::chrono::seconds(1));
        if (Title(w) == "Show Sample Parts") Click(w, W::kManualAbort);
        EXPECT_EQ(Title(w), "Further part types or orientations");
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
    WizardDevice dev(kClassic, {"--encoder"});
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
        auto* lengthFirst = Find<QCheckBox>(w, QString::number(W::kTaskFirst + 4));
        ASSERT_NE(lengthFirst, nullptr);
        EXPECT_TRUE(lengthFirst->isEnabled()) << "the device has an encoder";
        EXPECT_FALSE(lengthFirst->isChecked());
        lengthFirst->click();
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
        // The newest sample part is drawn under the prompt.
        auto* picture = VisiblePicture(w);
        ASSERT_NE(picture, nullptr);
        ASSERT_FALSE(picture->Picture().isNull());
        EXPECT_EQ(picture->Picture().width(),
                  desk.Doc().opGetActualPartSet()->TeachParts().GetAt_NoSort(8)->iGetColumns());
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
        QStringList lines;
        for (int i = 0; i < evaluation->count(); ++i)
            lines << evaluation->item(i)->text();
        EXPECT_FALSE(lines.join("\n").contains("[E20]"));
        // The length has priority: its tolerance factor is a tenth, and its spread over the
        // sample parts is named per orientation.
        EXPECT_TRUE(lines.contains("Tolerance influence to length reduced to 1/10."))
            << lines.join("\n").toStdString();
        for (int o = 1; o <= 2; ++o) {
            const QString line = QString("%1 % variation in Length of Parts in Orientation %2.")
                                     .arg(dev.iLengthSpreadPercent(o))
                                     .arg(o);
            EXPECT_TRUE(lines.contains(line)) << line.toStdString() << "\n"
                                              << lines.join("\n").toStdString();
        }
        const OType_ZRPartSet_SubType* type = desk.Doc().opGetActualPartSet()->opGetSubType(0);
        ASSERT_NE(type, nullptr);
        for (int o = 0; o < 2; ++o) {
            const OType_VectorArray* vectors = type->opGetVectorArray(o);
            ASSERT_NE(vectors, nullptr);
            EXPECT_NEAR(vectors->At(0).factor, 0.1, 1e-6) << "orientation " << o + 1;
        }
        EXPECT_EQ(desk.Doc().opGetActualPartSet()->UndoRedo().GetUndoShortText(),
                  "UNDO:Teach-Data modified");
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

// A sorting device: two part types recorded one after the other and transferred as sorting
// program 2, i.e. to the part-data numbers 3 and 4.
TEST(ProjectWizardWindow, ASortingDeviceRecordsTwoTypesAndTransfersThemAsOneProgram) {
    constexpr OTargetSystem kSorter{2, 818, 0, 6, 2, 8};  // a sorting edition
    WizardDevice dev(kSorter);
    ODesktopWithDevice& desk = dev.desk;
    desk.Settings().SetInt("Settings", "PROJECT_USE_TYPES", 1);
    desk.Settings().SetInt("Settings", "PROJECT_USE_ORIENTATION", 0);
    const std::string path = (dev.folder / "sorter.zrp").string();

    dev.RunWizard([&](W& w) {
        Click(w, W::kNextId);
        ASSERT_EQ(Title(w), "New Project 1/2");
        TypeInto(w, W::kPathEdit, QString::fromStdString(path));
        Click(w, W::kNextId);
        ASSERT_EQ(Title(w), "New Project, 2/2");
        auto* sorting = Find<QCheckBox>(w, QString::number(W::kTaskFirst + 2));
        auto* optimise = Find<QCheckBox>(w, QString::number(W::kTaskFirst + 3));
        ASSERT_TRUE(sorting && optimise);
        EXPECT_TRUE(sorting->isEnabled()) << "two types a program";
        if (!sorting->isChecked()) sorting->click();
        if (optimise->isChecked()) optimise->click();  // no tool search in this walk
        Click(w, W::kNextId);

        ASSERT_EQ(Title(w), "Show Sample Parts");
        EXPECT_EQ(Text(w, W::kHint).toStdString(), ResStr(2211));
        Click(w, W::kStartButton);
        EXPECT_EQ(Text(w, W::kInfoText), "Now feed parts of type 1 with orientation 1.");
        dev.DeleteTheStreamsFirstPart(w);
        dev.RecordOrientation(w, 5, [](int i) { return BumpPart(i, true); });
        EXPECT_FALSE(Offered(w, W::kNextType)) << "only once the type is finished";
        Click(w, W::kTypeFinished);
        EXPECT_EQ(Text(w, W::kInfoText).toStdString(), ResStr(2214));
        ASSERT_TRUE(Offered(w, W::kNextType));
        Click(w, W::kNextType);

        ASSERT_EQ(Title(w), "Show Sample Parts");
        EXPECT_EQ(Text(w, W::kInfoText), "Now feed parts of type 2 with orientation 1.");
        dev.RecordOrientation(w, 5, LongPart);
        Click(w, W::kTypeFinished);
        EXPECT_EQ(Text(w, W::kInfoText), "Maximum number of part types reached.");
        EXPECT_FALSE(Offered(w, W::kNextType));
        Click(w, W::kAllTypesFinished);
        ASSERT_TRUE(Offered(w, W::kNextId));
        Click(w, W::kNextId);

        ASSERT_EQ(Title(w), "Create Teach-Data");
        auto* creation = VisibleList(w);
        ASSERT_NE(creation, nullptr);
        QStringList lines;
        for (int i = 0; i < creation->count(); ++i)
            lines << creation->item(i)->text();
        EXPECT_TRUE(lines.contains("Part type 1:")) << lines.join("\n").toStdString();
        EXPECT_TRUE(lines.contains("Part type 2:")) << lines.join("\n").toStdString();
        if (desk.Doc().opGetClassifier()->GetTeachError() == 20)
            desk.Ui().ExpectMessage(MsgResult::Ok, ResStr(2169));
        Click(w, W::kNextId);
        ASSERT_EQ(Title(w), "Evaluation");
        Click(w, W::kNextId);

        ASSERT_EQ(Title(w), "Save and Transer Data");
        auto* transfer = Find<QCheckBox>(w, QString::number(W::kTransfer));
        auto* target = Find<QComboBox>(w, QString::number(W::kTransferTarget));
        ASSERT_TRUE(transfer && target);
        EXPECT_EQ(transfer->text(), "Transfer Teach-Data to Sorting Programm:");
        EXPECT_EQ(target->count(), 3) << "six types, two a program";
        transfer->click();
        target->setCurrentIndex(1);
        Find<QCheckBox>(w, QString::number(W::kAddDocumentation))->setChecked(false);
        Find<QCheckBox>(w, QString::number(W::kManualMode))->setChecked(true);
        Click(w, W::kFinishId);
    });

    const OType_ZRPartSet& set = *desk.Doc().opGetActualPartSet();
    int ofType[3] = {0, 0, 0};
    for (int i = 0; i < set.TeachParts().iGetSize(); ++i) {
        const int type = set.TeachParts().GetAt_NoSort(i)->iGetType();
        if (type >= 1 && type <= 2) ++ofType[type];
    }
    EXPECT_EQ(ofType[1], 5);
    EXPECT_EQ(ofType[2], 5);
    // Program 2 holds the two types: the device gives them back from numbers 3 and 4.
    OQuillon& session = desk.Session();
    EXPECT_EQ(session.UploadPartData(0, 3), 1);
    EXPECT_EQ(session.UploadPartData(1, 4), 1);
}
