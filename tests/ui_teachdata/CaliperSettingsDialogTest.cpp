// "Settings for tape measure" as a real dialog: its fields by id, the Z field only for devices
// that transform coordinates, refused entries, and the part contour window's command running
// it through the desktop's dialog registry.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>
#include <memory>

#include "app/ui/OUserInteraction_Qt.h"
#include "classification/ODlg_CaliperSettings.h"
#include "classification/ui/ODlg_CaliperSettingsWindow.h"
#include "ui_contour/ContourTestSupport.h"

namespace {

using namespace shelltest;

QLineEdit* Edit(QWidget& dialog, int id) {
    return dialog.findChild<QLineEdit*>(QString::number(id));
}

TEST(CaliperSettingsDialog, ContourImagesShowOnlyTheTwoFactors) {
    Application();
    ODlg_CaliperSettings model(0.25, 0.5, 7.0, false);
    ODlg_CaliperSettingsWindow window(model, nullptr);
    EXPECT_EQ(window.objectName(), "280");
    EXPECT_EQ(window.windowTitle(), "Settings for tape measure");
    ASSERT_NE(Edit(window, ODlg_CaliperSettings::kHorizontalEdit), nullptr);
    ASSERT_NE(Edit(window, ODlg_CaliperSettings::kVerticalEdit), nullptr);
    EXPECT_EQ(Edit(window, ODlg_CaliperSettings::kHorizontalEdit)->text(), "0.25");
    EXPECT_EQ(Edit(window, ODlg_CaliperSettings::kVerticalEdit)->text(), "0.5");
    EXPECT_EQ(Edit(window, ODlg_CaliperSettings::kZEdit), nullptr);
    EXPECT_EQ(window.findChild<QLabel*>("1324"), nullptr);

    // The hidden Z keeps its value and does not count as a change.
    Edit(window, ODlg_CaliperSettings::kVerticalEdit)->setText(" 0.75 ");
    window.accept();
    std::string message;
    EXPECT_TRUE(model.bValidate(message));
    EXPECT_DOUBLE_EQ(model.dGetVertical(), 0.75);
    EXPECT_DOUBLE_EQ(model.dGetZ(), 7.0);
    EXPECT_TRUE(model.bChangedFrom(0.25, 0.5, 7.0));
    EXPECT_FALSE(model.bChangedFrom(0.25, 0.75, 99.0));
}

TEST(CaliperSettingsDialog, TransformingDevicesShowTheZCoordinate) {
    Application();
    ODlg_CaliperSettings model(1.0, 1.0, -2.5, true);
    ODlg_CaliperSettingsWindow window(model, nullptr);
    QLineEdit* z = Edit(window, ODlg_CaliperSettings::kZEdit);
    ASSERT_NE(z, nullptr);
    EXPECT_EQ(z->text(), "-2.5");
    auto* caption = window.findChild<QLabel*>("1324");
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->text().toStdString(), ODlg_CaliperSettings::ZCaption());
    EXPECT_TRUE(caption->text().startsWith("Tape measure Z coordinate (in world coordinates):\n"));
    z->setText("12.125");
    window.accept();
    std::string message;
    EXPECT_TRUE(model.bValidate(message));
    EXPECT_DOUBLE_EQ(model.dGetZ(), 12.125);
    EXPECT_TRUE(model.bChangedFrom(1.0, 1.0, -2.5));

    TempDir dir;
    window.show();
    ProcessEvents();
    SaveScreenshot(window.grab().toImage(), dir, "tape_measure_settings_z");
}

TEST(CaliperSettingsDialog, EntriesThatAreNoNumbersAreRefused) {
    Application();
    ODlg_CaliperSettings model(1.0, 1.0, 0.0, true);
    ODlg_CaliperSettingsWindow window(model, nullptr);
    std::string message;
    for (int id : {ODlg_CaliperSettings::kHorizontalEdit, ODlg_CaliperSettings::kVerticalEdit,
                   ODlg_CaliperSettings::kZEdit}) {
        for (const char* bad : {"", "abc", "1,5", "1e999", "nan"}) {
            Edit(window, id)->setText(bad);
            window.accept();
            message.clear();
            EXPECT_FALSE(model.bValidate(message)) << id << " '" << bad << "'";
            EXPECT_FALSE(message.empty());
        }
        Edit(window, id)->setText("2");
    }
    window.accept();
    EXPECT_TRUE(model.bValidate(message));
}

// The part contour window's "Settings for tape measure" opens this dialog (not a plain form);
// a refused entry keeps it open with the message, a good one is stored with the project.
TEST(CaliperSettingsDialog, ThePartContourCommandRunsItAndStoresTheFactors) {
    contourtest::ContourDesk desk(4, 0);
    ASSERT_NE(desk.window, nullptr);
    OUserInteraction_Qt& qt = desk.shell.desktop->QtInteraction();
    OType_ProjectProperties& properties = desk.doc->opGetSession()->ProjectProperties();
    const double vertical = properties.scale[1];
    desk.doc->SetModifiedFlag(0);
    const auto typeInto = [&](const char* horizontal) {
        return [&qt, &desk, horizontal](ODialogModel& model) {
            std::unique_ptr<QDialog> dialog(qt.CreateDialog(model, &desk.Frame()));
            EXPECT_NE(qobject_cast<ODlg_CaliperSettingsWindow*>(dialog.get()), nullptr);
            EXPECT_EQ(Edit(*dialog, ODlg_CaliperSettings::kZEdit), nullptr)
                << "contour images have no world coordinates";
            Edit(*dialog, ODlg_CaliperSettings::kHorizontalEdit)->setText(horizontal);
            dialog->findChild<QPushButton*>("1")->click();
            return dialog->result() == QDialog::Accepted;
        };
    };
    desk.Ui().AnswerDialog(typeInto("wide"), "ODlg_CaliperSettings");
    desk.Ui().ExpectMessage(MsgResult::Ok);
    desk.Ui().AnswerDialog(typeInto("0.05"), "ODlg_CaliperSettings");
    desk.Frame().ExecuteCommand(ContourViewCommand::kTapeMeasureSettings, desk.window);
    ProcessEvents();
    EXPECT_TRUE(desk.Ui().bAllScriptUsed()) << desk.Ui().TranscriptText();
    EXPECT_TRUE(desk.Ui().Mismatches().empty()) << desk.Ui().TranscriptText();
    EXPECT_DOUBLE_EQ(properties.scale[0], 0.05);
    EXPECT_DOUBLE_EQ(properties.scale[1], vertical);
    EXPECT_TRUE(desk.doc->IsModified());

    // Cancelling changes nothing.
    desk.Ui().CancelDialog("ODlg_CaliperSettings");
    desk.Frame().ExecuteCommand(ContourViewCommand::kTapeMeasureSettings, desk.window);
    ProcessEvents();
    EXPECT_DOUBLE_EQ(properties.scale[0], 0.05);

    // The dialog over the part contour window, for the manual.
    ODlg_CaliperSettings model(properties.scale[0], properties.scale[1], 0.0, false);
    std::unique_ptr<QDialog> dialog(qt.CreateDialog(model, &desk.Frame()));
    dialog->show();
    ProcessEvents();
    TempDir dir;
    SaveScreenshot(Composite(*desk.frame, *dialog), dir, "tape_measure_settings");
}

}  // namespace
