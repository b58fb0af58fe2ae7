// The device windows as a user meets them, with real widgets offscreen against kalvor-devsim:
// the communication manager, the check program manager and the record-to-file settings. The
// screenshots of the manual are taken here.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <filesystem>

#include "DeviceTestSupport.h"
#include "device/ODlg_MsgBox_WithCheckMark.h"
#include "device/ODlg_TransferData.h"
#include "device/OQuillonConsole.h"
#include "device/ui/ODlg_MsgBox_WithCheckMarkWindow.h"
#include "device/ui/ODlg_TransferDataWindow.h"
#include "model/strings/ResStr.h"

using namespace devicetest;
using namespace TransferControl;

namespace {

namespace fs = std::filesystem;

constexpr OTargetSystem kMarrow{2, 778, 0, 6, 4, 8};   // classic, four types a program
constexpr OTargetSystem kTamrin{16, 818, 0, 6, 1, 8};  // new platform, program slots

int PartsIn(const fs::path& file) {
    OType_ZRPartSet set;
    return set.iLoadParts(file, false) == 1 ? set.TestParts().iGetSize() : -1;
}

}  // namespace

TEST(DeviceWindows, TheCommunicationManagerRecordsSamplePartsWithItsOrientationAndType) {
    ODesktopWithDevice d(kMarrow, {"--rate", "40"});
    TempDir dir;
    d.Session().ProjectProperties().useOrientation = 1;
    d.Session().ProjectProperties().useTypes = 1;
    d.Run(Cmd::kViewCommunicationManager);
    QWidget* console = d.View(ViewKind::CommunicationManager);
    ASSERT_NE(console, nullptr) << "the window opens from its command";
    auto* sample =
        Find<QRadioButton>(*console, QString::number(ConsoleControl::kRecordSampleParts));
    ASSERT_NE(sample, nullptr);
    EXPECT_FALSE(sample->isEnabled()) << "offline the radio buttons are off";

    Click(*console, ConsoleControl::kConnect);
    ASSERT_TRUE(d.Session().bIsOnline()) << d.Ui().TranscriptText();
    EXPECT_TRUE(sample->isEnabled());
    EXPECT_FALSE(
        Find<QRadioButton>(*console, QString::number(ConsoleControl::kImageContourAndCamera))
            ->isEnabled())
        << "no camera on this device";
    Click(*console, ConsoleControl::kRecordSampleParts);
    ASSERT_TRUE(d.Session().bIsDiagMode()) << d.Ui().TranscriptText();
    auto* orientation = Find<QComboBox>(*console, QString::number(ConsoleControl::kOrientation));
    auto* type = Find<QComboBox>(*console, QString::number(ConsoleControl::kPartType));
    ASSERT_TRUE(orientation->isVisible());
    ASSERT_TRUE(type->isVisible());
    EXPECT_EQ(orientation->count(), 9);
    EXPECT_EQ(type->count(), 4);
    orientation->setCurrentIndex(2);
    emit orientation->activated(2);
    type->setCurrentIndex(1);
    emit type->activated(1);
    EXPECT_EQ(d.Session().iGetRecordOrientation(), 2);
    EXPECT_EQ(d.Session().iGetRecordType(), 2);

    const OType_PartArray& list = d.Doc().opGetActualPartSet()->TeachParts();
    const int before = list.iGetSize();
    ASSERT_TRUE(PumpUntil([&] { return list.iGetSize() >= before + 6; }))
        << list.iGetSize() << d.Ui().TranscriptText();
    for (int i = before + 1; i < list.iGetSize(); ++i) {
        EXPECT_EQ(list.GetAt_NoSort(i)->iGetOrientation(), 2);
        EXPECT_EQ(list.GetAt_NoSort(i)->iGetType(), 2);
    }
    EXPECT_TRUE(d.View(ViewKind::CommunicationManager)) << "the panel stays while it records";
    SaveScreenshot(d.Frame().grab().toImage(), dir, "communication_manager");
    Click(*console, ConsoleControl::kRecordNone);
    EXPECT_FALSE(d.Session().bIsDiagMode());
    EXPECT_TRUE(d.Ui().Mismatches().empty()) << d.Ui().TranscriptText();
}

TEST(DeviceWindows, RecordToFileSettingsAndGoodPartsInFilesOfTen) {
    ODesktopWithDevice d(kMarrow, {"--rate", "200", "--fixed-results", "--result-deviation", "5"});
    TempDir dir;
    d.Ui().AnswerDialog(
        [&](ODialogModel& model) {
            auto& m = dynamic_cast<ODlg_MsgBox_WithCheckMark&>(model);
            ODlg_MsgBox_WithCheckMarkWindow window(m, &d.Frame());
            window.show();
            ProcessEvents();
            EXPECT_EQ(window.windowTitle().toStdString(), ResStr(4143));
            auto* number = Find<QSpinBox>(window, "number");
            EXPECT_EQ(number->minimum(), 1);
            number->setValue(10);
            auto* teach = Find<QCheckBox>(window, "check1");
            auto* bad = Find<QCheckBox>(window, "check3");
            EXPECT_EQ(teach->text().toStdString(), ResStr(4148));
            EXPECT_EQ(window.findChild<QCheckBox*>("check4"), nullptr) << "no camera images here";
            teach->setChecked(false);
            bad->setChecked(false);
            SaveScreenshot(Composite(d.Frame(), window), dir, "record_to_file_settings");
            window.accept();
            return window.result() == QDialog::Accepted;
        },
        "ODlg_MsgBox_WithCheckMark");
    d.Ui().AnswerFileSave((dir / "good.zrl").string());
    d.Run(Cmd::kRecordToFile);
    ASSERT_TRUE(d.Session().bIsLoggingToFile()) << d.Ui().TranscriptText();
    EXPECT_EQ(d.Session().LogSettings().partsPerFile, 10);
    EXPECT_EQ(d.Session().LogSettings().useTeachParts, 0);
    EXPECT_EQ(d.Session().LogSettings().useBadParts, 0);
    d.Frame().UpdateActions();
    EXPECT_TRUE(d.Frame().Action(Cmd::kRecordToFile)->isChecked());
    ASSERT_TRUE(PumpUntil([&] { return d.Session().iGetLogFileCounter() >= 2; }))
        << d.Ui().TranscriptText();
    d.Run(Cmd::kRecordToFile);
    EXPECT_FALSE(d.Session().bIsLoggingToFile());
    d.Frame().UpdateActions();
    EXPECT_FALSE(d.Frame().Action(Cmd::kRecordToFile)->isChecked());
    EXPECT_EQ(PartsIn(dir / "good.zrl"), 10);
    EXPECT_EQ(PartsIn(dir / "good_1.zrl"), 10);
    EXPECT_TRUE(d.Ui().bAllScriptUsed()) << d.Ui().TranscriptText();
}

TEST(DeviceWindows, TheCheckProgramManagerCopiesToSlotThreeBackAndDeletes) {
    ODesktopWithDevice d(kTamrin, {"--rate", "0.001"});
    TempDir dir;
    d.Doc().opGetActualPartSet()->SetName("Sorter");
    d.Ui().AnswerDialog(
        [&](ODialogModel& model) {
            auto& m = dynamic_cast<ODlg_TransferData&>(model);
            ODlg_TransferDataWindow window(m, &d.Frame());
            window.show();
            ProcessEvents();
            EXPECT_EQ(window.windowTitle().toStdString(), "Check program Manager");
            EXPECT_FALSE(window.Button(kCopyToDevice)->isEnabled());
            EXPECT_TRUE(window.Button(kExport)->isEnabled()) << "the actual program is selected";
            EXPECT_TRUE(window.Button(kImport)->isEnabled());
            Click(window, kConnect);
            EXPECT_EQ(window.DeviceList()->topLevelItemCount(), 16);
            SelectRows(window.DeviceList(), {3});
            EXPECT_EQ(m.ProjectSelection(), std::vector<int>{0});
            d.Ui().ExpectMessage(MsgResult::Ok, ResStr(4130));
            Click(window, kCopyToDevice);
            EXPECT_EQ(window.DeviceList()->topLevelItem(3)->text(1).toStdString(), "Sorter");
            SelectRows(window.ProjectList(), {});
            SelectRows(window.DeviceList(), {3});
            Click(window, kCopyFromDevice);
            EXPECT_EQ(window.ProjectList()->topLevelItemCount(), 2);
            EXPECT_EQ(window.ProjectList()->topLevelItem(1)->text(1).toStdString(),
                      ResStr(3233) + " Sorter");
            SaveScreenshot(Composite(d.Frame(), window), dir, "check_program_manager");
            SelectRows(window.DeviceList(), {3});
            Click(window, kDeleteInDevice);
            EXPECT_EQ(window.DeviceList()->topLevelItem(3)->text(1).toStdString(), "");
            EXPECT_NE(Find<QLabel>(window, QString::number(kCountText))->text().indexOf("2 check"),
                      -1);
            window.accept();
            return true;
        },
        "ODlg_TransferData");
    d.Run(Cmd::kCheckProgramManager);
    EXPECT_TRUE(d.Ui().bAllScriptUsed()) << d.Ui().TranscriptText();
    EXPECT_TRUE(d.Ui().Mismatches().empty()) << d.Ui().TranscriptText();
    EXPECT_EQ(d.Session().PartSets().iGetNum(), 2) << "the program copied back stays";
}

TEST(DeviceWindows, TheConfigurationListAssignsAProgramCopiedByName) {
    constexpr OTargetSystem kOskel{1024, 828, 0, 6, 1, 8};  // programs stored by name
    ODesktopWithDevice d(kOskel, {"--program-slots", "8"});
    TempDir dir;
    d.Doc().opGetActualPartSet()->SetName("Config A");
    d.Ui().AnswerDialog(
        [&](ODialogModel& model) -> bool {
            auto& m = dynamic_cast<ODlg_TransferData&>(model);
            ODlg_TransferDataWindow window(m, &d.Frame());
            window.resize(900, 520);
            window.show();
            ProcessEvents();
            EXPECT_NE(window.NumberList(), nullptr) << "the configuration list";
            if (!window.NumberList()) return false;
            Click(window, kConnect);
            EXPECT_EQ(window.NumberList()->topLevelItemCount(), 8);
            if (window.NumberList()->topLevelItemCount() != 8) return false;
            EXPECT_EQ(window.DeviceList()->topLevelItemCount(), 0);
            SelectRows(window.ProjectList(), {0});
            d.Ui().ExpectMessage(MsgResult::Ok, ResStr(4130));
            Click(window, kCopyToDevice);
            EXPECT_EQ(window.DeviceList()->topLevelItemCount(), 1);
            if (window.DeviceList()->topLevelItemCount() != 1) return false;
            EXPECT_EQ(window.DeviceList()->topLevelItem(0)->text(0).toStdString(), "Config A");
            SelectRows(window.DeviceList(), {0});
            SelectRows(window.NumberList(), {2, 5});
            Click(window, kAssign);
            EXPECT_EQ(window.NumberList()->topLevelItem(2)->text(1).toStdString(), "Config A");
            EXPECT_EQ(window.NumberList()->topLevelItem(5)->text(1).toStdString(), "Config A");
            SaveScreenshot(Composite(d.Frame(), window), dir,
                           "check_program_manager_configurations");
            window.accept();
            return true;
        },
        "ODlg_TransferDataNew");
    d.Run(Cmd::kCheckProgramManager);
    EXPECT_TRUE(d.Ui().bAllScriptUsed()) << d.Ui().TranscriptText();
    EXPECT_TRUE(d.Ui().Mismatches().empty()) << d.Ui().TranscriptText();
}
