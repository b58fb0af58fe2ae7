// Setting a project up from the desktop: "Create new project" in the welcome dialog leads
// to the "Project properties" dialog, whose window is driven here as a user would; a
// family-1 project with tools is moved to a target with fewer tool slots (findings,
// Cancel, then OK); and the connected simulator is identified over Ethernet.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <algorithm>
#include <filesystem>

#include "SetupTestSupport.h"
#include "app/ODlg_SelectTask.h"
#include "device/ODlg_IdentifyZRType.h"
#include "device/ui/ODlg_IdentifyZRTypeWindow.h"
#include "document/CommandIds.h"
#include "document/ODoc.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/ResStr.h"

namespace {

using namespace setuptest;

void AnswerProjectProperties(Shell& shell, std::function<void(QWidget&)> use, bool ok,
                             std::string shot = {}) {
    AnswerWithWindow<ODlg_IdentifyZRTypeWindow, ODlg_IdentifyZRType>(
        shell, std::move(use), ok, std::move(shot), "ODlg_IdentifyZRType");
}

void Choose(QWidget& window, int controlId, const QString& text) {
    auto* combo = Find<QComboBox>(window, QString::number(controlId));
    ASSERT_NE(combo, nullptr);
    const int index = combo->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

QStringList Items(QWidget& window, int controlId) {
    QStringList items;
    auto* combo = Find<QComboBox>(window, QString::number(controlId));
    for (int i = 0; combo && i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

TEST(ProjectProperties, CreateNewProjectPicksAFamily2EditionAndSavesAKvp) {
    TempDir dir;
    Shell shell(std::vector<std::string>{});
    shell.ui.AnswerDialog(
        [](ODialogModel& m) {
            static_cast<ODlg_SelectTask&>(m).SetIndex(0);
            return true;
        },
        "ODlg_SelectTask");
    AnswerProjectProperties(
        shell,
        [](QWidget& w) {
            EXPECT_EQ(w.windowTitle(), "Project properties");
            EXPECT_EQ(Items(w, 1206), (QStringList{"Tamrin", "Oskel"}));
            EXPECT_EQ(Find<QLabel>(w, "1290")->text(), QString::fromStdString(ResStr(4007)));
            Choose(w, 1206, "Tamrin");
            EXPECT_EQ(Items(w, 1207), (QStringList{"Config V3.6", "Config V3.5"}));
            EXPECT_EQ(Find<QComboBox>(w, "1207")->currentText(), "Config V3.6");
            EXPECT_EQ(Find<QSpinBox>(w, "1002")->value(), 256) << "the edition's tool slots";
            EXPECT_FALSE(Find<QSpinBox>(w, "1061")->isEnabled()) << "eight orientations";
            EXPECT_EQ(Find<QSpinBox>(w, "1061")->value(), 8);
            EXPECT_FALSE(Find<QComboBox>(w, "1208")->isEnabled()) << "no add-ins";
            Find<QCheckBox>(w, "1080")->setChecked(true);
            Find<QCheckBox>(w, "1079")->setChecked(true);
            Find<QSpinBox>(w, "1062")->setValue(40);
            Find<QSpinBox>(w, "1063")->setValue(4);
            Find<QCheckBox>(w, "1077")->setChecked(true);
        },
        true, "project_properties_new");
    ASSERT_TRUE(shell.desktop->Start());
    shell.Frame().resize(1024, 700);
    ProcessEvents();
    ASSERT_TRUE(PumpUntil([&] { return shell.ui.bAllScriptUsed(); }));
    ProcessEvents();
    ODoc& doc = *shell.App().opGetDocument();
    OQuillon& session = *doc.opGetSession();
    EXPECT_EQ(session.GetTargetSystem(), (OTargetSystem{16, 828, 0, 40, 4, 8}));
    EXPECT_EQ(session.iGetFamily(), 2);
    EXPECT_EQ(session.DeviceInfo().iGetToolCapacity(), 256);
    EXPECT_EQ(session.ProjectProperties().useMultiplePartSets, 1);
    EXPECT_EQ(session.ProjectProperties().addOldFormat, 0);
    EXPECT_EQ(session.ProjectData().Get(ProjectField::DeviceType), "Tamrin");
    EXPECT_EQ(session.ProjectData().Get(ProjectField::FirmwareVersion), "Config V3.6");
    EXPECT_FALSE(doc.IsModified()) << "a new project starts unmodified";
    EXPECT_EQ(doc.iGetNewProject(), 0);
    EXPECT_TRUE(shell.ui.Mismatches().empty()) << shell.ui.TranscriptText();

    const std::string path = (dir / "line 4.kvp").string();
    shell.ui.AnswerFileSave(path);
    shell.Frame().UpdateActions();
    ASSERT_TRUE(shell.Frame().Action(Cmd::kFileSave)->isEnabled());
    shell.Frame().Action(Cmd::kFileSave)->trigger();
    ProcessEvents();
    const auto& saves = shell.ui.Transcript();
    const auto save = std::find_if(saves.begin(), saves.end(), [](const OInteractionRecord& r) {
        return r.kind == InteractionKind::FileSave;
    });
    ASSERT_NE(save, saves.end());
    EXPECT_EQ(save->fileRequest.defaultExtension, "kvp");
    EXPECT_TRUE(std::filesystem::exists(path));
}

// A Talon project on firmware 3.2 with three tools.
struct ClassicProject : SetupDesk {
    ClassicProject() : SetupDesk({1, 788, 0, 6, 1, 8}) {
        OType_ZRPartSet& set = *Session().opGetActualPartSet();
        for (int i = 0; i < 3; ++i)
            EXPECT_NE(Session().AddTool(set, 1, 30, 0), nullptr) << shell->ui.TranscriptText();
        Doc().SetModifiedFlag(0);
    }
    int Tools() { return Session().opGetActualPartSet()->Tools().iGetNum(); }
    void OpenProperties() {
        shell->Frame().UpdateActions();
        EXPECT_EQ(shell->Frame().Action(Cmd::kProjectProperties)->shortcut(),
                  QKeySequence("Alt+J"));
        Run(Cmd::kProjectProperties);
    }
};

TEST(ProjectProperties, FewerToolSlotsShowTheFindingsCancelKeepsOkRemoves) {
    ClassicProject p;
    ASSERT_EQ(p.Tools(), 3);
    ASSERT_EQ(p.Session().GetTargetSystem().hardware, 1);
    const auto fewerSlots = [](QWidget& w) {
        EXPECT_EQ(Find<QComboBox>(w, "1206")->currentIndex(), -1) << "Talon is not offered";
        EXPECT_EQ(Find<QComboBox>(w, "1206")->placeholderText(), "Talon");
        EXPECT_EQ(Find<QComboBox>(w, "1207")->currentText(), "Config V3.2");
        EXPECT_EQ(Find<QSpinBox>(w, "1002")->value(), 20);
        Find<QSpinBox>(w, "1002")->setValue(2);
    };
    AnswerProjectProperties(*p.shell, fewerSlots, true, "project_properties_classic");
    p.shell->ui.AnswerList(MsgResult::Cancel);
    p.OpenProperties();
    EXPECT_TRUE(p.shell->ui.bAllScriptUsed()) << p.shell->ui.TranscriptText();
    const auto& records = p.shell->ui.Transcript();
    const auto list = std::find_if(records.begin(), records.end(), [](const OInteractionRecord& r) {
        return r.kind == InteractionKind::List;
    });
    ASSERT_NE(list, records.end());
    EXPECT_EQ(list->caption, ResStr(4247));
    EXPECT_NE(std::find(list->items.begin(), list->items.end(), ResStrFormat(4224, 1, 2)),
              list->items.end())
        << "one tool beyond the two slots";
    EXPECT_EQ(p.Tools(), 3) << "Cancel leaves the project";
    EXPECT_EQ(p.Session().DeviceInfo().iGetToolCapacity(), 20);
    EXPECT_FALSE(p.Doc().IsModified());

    p.shell->ui.Clear();
    AnswerProjectProperties(*p.shell, fewerSlots, true);
    p.shell->ui.AnswerList(MsgResult::Ok);
    p.OpenProperties();
    EXPECT_TRUE(p.shell->ui.bAllScriptUsed()) << p.shell->ui.TranscriptText();
    EXPECT_EQ(p.Tools(), 2);
    EXPECT_EQ(p.Session().DeviceInfo().iGetToolCapacity(), 2);
    EXPECT_TRUE(p.Doc().IsModified());
}

TEST(ProjectProperties, CancelOnAnUnchangedProjectChangesNothing) {
    ClassicProject p;
    const OTargetSystem before = p.Session().GetTargetSystem();
    AnswerProjectProperties(
        *p.shell, [](QWidget& w) { Choose(w, 1206, "Oskel"); }, false);
    p.OpenProperties();
    EXPECT_EQ(p.Session().GetTargetSystem(), before);
    EXPECT_EQ(p.Tools(), 3);
    EXPECT_FALSE(p.Doc().IsModified());
}

TEST(ProjectProperties, QualityOffStoresOneTypeAndOneOrientation) {
    ClassicProject p;
    p.Session().ProjectProperties().useTypes = 1;
    p.Session().ProjectProperties().useOrientation = 1;
    AnswerProjectProperties(
        *p.shell,
        [](QWidget& w) {
            EXPECT_TRUE(Find<QCheckBox>(w, "1080")->isChecked());
            Find<QSpinBox>(w, "1063")->setValue(3);
            Find<QCheckBox>(w, "1083")->setChecked(false);
            EXPECT_FALSE(Find<QCheckBox>(w, "1080")->isEnabled());
            EXPECT_FALSE(Find<QCheckBox>(w, "1079")->isEnabled());
        },
        true);
    p.shell->ui.AnswerList(MsgResult::Ok);
    p.OpenProperties();
    const OType_ProjectProperties& properties = p.Session().ProjectProperties();
    EXPECT_EQ(properties.useQuality, 0);
    EXPECT_EQ(properties.useTypes, 0);
    EXPECT_EQ(properties.useOrientation, 0);
    EXPECT_EQ(p.Session().GetTargetSystem().partsInSet, 1);
    EXPECT_EQ(p.Session().GetTargetSystem().orientations, 1);
}

TEST(ProjectProperties, EthernetIdentifiesTheSimulatorAndShowsItsWarning) {
    ODesktopWithDevice desk({1, 788, 0, 6, 1, 8}, {"--device-type", "Mystery box"});
    desk.Ui().Clear();
    AnswerProjectProperties(
        *desk.shell,
        [](QWidget& w) {
            Click(w, ODlg_IdentifyZRType::kEthernet);
            EXPECT_EQ(Find<QLabel>(w, "1290")->text(), QString::fromStdString(ResStr(4010)));
            EXPECT_EQ(Find<QComboBox>(w, "1206")->placeholderText(), "Talon")
                << "an unknown model falls back to the classic edition";
            EXPECT_EQ(Find<QComboBox>(w, "1206")->currentIndex(), -1);
        },
        true, "project_properties_identified");
    desk.Ui().ExpectMessage(MsgResult::Ok, "Mystery box");
    desk.Run(Cmd::kProjectProperties);
    ASSERT_TRUE(PumpUntil([&] { return desk.Ui().bAllScriptUsed(); }))
        << desk.Ui().TranscriptText();
    EXPECT_EQ(desk.Session().iGetConnectionKind(), 0)
        << "a classic target goes back to the serial line";
    EXPECT_EQ(desk.Session().GetTargetSystem().hardware, 1);
    EXPECT_EQ(desk.Session().ProjectData().Get(ProjectField::DeviceType), "Talon");
}

}  // namespace
