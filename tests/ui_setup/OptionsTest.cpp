// The "Options" dialog from the Extras menu: the connection choices of the device family,
// the automatic-speed box that belongs to the first serial kind, a refused part buffer,
// and OK writing the part buffer and the connection kind to the settings.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "SetupTestSupport.h"
#include "device/ODlg_Options.h"
#include "device/ui/ODlg_OptionsWindow.h"
#include "document/CommandIds.h"
#include "document/ODoc.h"
#include "link/OQuillonComInterface.h"
#include "model/strings/ResStr.h"

namespace {

using namespace setuptest;

struct OptionsDesk : SetupDesk {
    using SetupDesk::SetupDesk;
    void Answer(std::function<void(QWidget&)> use, bool ok, std::string shot = {}) {
        AnswerWithWindow<ODlg_OptionsWindow, ODlg_Options>(*shell, std::move(use), ok,
                                                           std::move(shot), "ODlg_Options");
    }
    void Run() { SetupDesk::Run(Cmd::kOptions); }
};

TEST(Options, PartBufferAndConnectionKindReachTheSettings) {
    OptionsDesk desk({1, 788, 0, 6, 1, 8});
    OSettings_Memory& settings = *desk.shell->settings;
    desk.Session().RaisePartLimit();
    desk.Answer(
        [](QWidget& w) {
            auto* connection = Find<QComboBox>(w, "1128");
            EXPECT_EQ(connection->count(), 2);
            EXPECT_EQ(connection->itemText(0), QString::fromStdString(ResStr(6403)));
            EXPECT_EQ(connection->itemText(1), QString::fromStdString(ResStr(6404)));
            EXPECT_TRUE(Find<QCheckBox>(w, "1127")->isVisible());
            Find<QLineEdit>(w, "1172")->setText("0");
        },
        true, "options");
    desk.shell->ui.ExpectMessage(MsgResult::Ok, "25000");
    desk.Answer(
        [](QWidget& w) {
            Find<QComboBox>(w, "1128")->setCurrentIndex(1);
            EXPECT_FALSE(Find<QCheckBox>(w, "1127")->isVisible()) << "kind 1 sets no speed";
            Find<QLineEdit>(w, "1172")->setText("12000");
            Find<QRadioButton>(w, "policy3")->setChecked(true);
            Find<QCheckBox>(w, "1206")->setChecked(false);
        },
        true);
    desk.Run();
    EXPECT_TRUE(desk.shell->ui.bAllScriptUsed()) << desk.shell->ui.TranscriptText();
    EXPECT_TRUE(desk.shell->ui.Mismatches().empty()) << desk.shell->ui.TranscriptText();
    EXPECT_EQ(settings.iGetInt("Settings", "PARTBUFFERSIZE", -1), 12000);
    EXPECT_EQ(settings.iGetInt("Settings", "CONTYPE", -1), 1);
    EXPECT_EQ(settings.iGetInt("Settings", "HANDLEMAXPARTSLIMITREACHED", -1), 3);
    EXPECT_EQ(settings.iGetInt("Settings", "DISPLAYRECEIVEDPART", -1), 0);
    EXPECT_EQ(desk.Session().Options().partBufferSize, 12000);
    EXPECT_EQ(desk.Session().iGetPartLimit(), 12000) << "the raised limit ends with the options";
    ASSERT_NE(desk.Session().opGetConnection(), nullptr);
    EXPECT_EQ(desk.Session().opGetConnection()->iGetInterfaceType(), 1);
}

TEST(Options, CancelChangesNothingButAChosenViewerStays) {
    OptionsDesk desk({1, 788, 0, 6, 1, 8});
    OSettings_Memory& settings = *desk.shell->settings;
    const int storedBuffer = settings.iGetInt("Settings", "PARTBUFFERSIZE", -1);
    desk.Answer(
        [&desk](QWidget& w) {
            Find<QLineEdit>(w, "1172")->setText("77");
            desk.shell->ui.AnswerFileOpen({"/opt/viewer/mirrel"});
            Find<QPushButton>(w, "1277")->click();
            EXPECT_EQ(Find<QLineEdit>(w, "1278")->text(), "/opt/viewer/mirrel");
        },
        false);
    desk.Run();
    EXPECT_TRUE(desk.shell->ui.bAllScriptUsed()) << desk.shell->ui.TranscriptText();
    EXPECT_EQ(desk.Session().Options().partBufferSize, 4000);
    EXPECT_EQ(settings.iGetInt("Settings", "PARTBUFFERSIZE", -1), storedBuffer);
    EXPECT_EQ(settings.GetText("Settings", "MIRREL_PATH", ""), "/opt/viewer/mirrel");
    const auto& records = desk.shell->ui.Transcript();
    const auto open = std::find_if(records.begin(), records.end(), [](const OInteractionRecord& r) {
        return r.kind == InteractionKind::FileOpen;
    });
    ASSERT_NE(open, records.end());
    EXPECT_EQ(open->fileRequest.filter, ResStr(5308));
}

TEST(Options, Family2OffersEthernetOnly) {
    OptionsDesk desk({16, 828, 0, 6, 1, 8});
    desk.Answer(
        [](QWidget& w) {
            auto* connection = Find<QComboBox>(w, "1128");
            EXPECT_EQ(connection->count(), 1);
            EXPECT_EQ(connection->itemText(0), QString::fromStdString(ResStr(6406)));
            EXPECT_FALSE(Find<QCheckBox>(w, "1127")->isVisible());
        },
        true);
    desk.Run();
    EXPECT_EQ(desk.shell->settings->iGetInt("Settings", "CONTYPE", -1), 3);
}

}  // namespace
