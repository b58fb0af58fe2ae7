// The data output manager on the real desktop, offscreen, as a new user meets it: EtherNet/IP
// and Telnet XML outputs added through the add dialog, a copy pasted with a free packet name
// or identifier, moved up and undone, a kind at its maximum offered with its note, the pages
// applied, bad clipboard data refused, and the toolbar's layout kept under its profile.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "app/ui/OFrame_Child.h"
#include "document/CommandIds.h"
#include "document/ODoc.h"
#include "managers/ODataOutputManagerController.h"
#include "managers/ui/OView_DeviceDataIOManager.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/ResStr.h"
#include "platform/Clipboard.h"
#include "tools/dataio/ODataOutputKind.h"
#include "ui_shell/CameraDeskSupport.h"

using namespace shelltest;
namespace DC = DataOutputCommand;

namespace {

struct DataOutputDesk {
    Shell shell{{"-ETH:1", "/nologo"}};
    TempDir dir;
    ODoc* doc = nullptr;
    OView_DeviceDataIOManager* view = nullptr;

    DataOutputDesk() {
        TargetSystemSettings::WriteTarget(*shell.settings, kColourCamera);
        shell.settings->SetInt("Settings", "SHOW_WIZARD_BAR", 0);
        EXPECT_TRUE(shell.desktop->Start());
        shell.App().OnFileNew();
        doc = shell.App().opGetDocument();
        Frame().resize(1100, 760);
        Frame().show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&Frame()));
        Menu(Cmd::kViewDataOutput);
        OFrame_Child* frame = Frame().Frame(ViewKind::DataOutput);
        if (!frame) {
            ADD_FAILURE() << "the data output manager did not open";
            return;
        }
        view = qobject_cast<OView_DeviceDataIOManager*>(frame->widget());
        frame->showNormal();
        frame->resize(560, 520);
        ProcessEvents();
    }
    ~DataOutputDesk() {
        if (doc) doc->SetModifiedFlag(0);
    }

    OFrame_Main& Frame() { return shell.Frame(); }
    OUserInteraction_Scripted& Ui() { return shell.ui; }
    OType_ZRPartSet& Set() { return *doc->opGetActualPartSet(); }
    OType_DeviceDataIOArray& Outputs() { return Set().DataOutputs(); }

    void Menu(int id) { TriggerMenu(Frame(), id); }
    // A toolbar button of the manager, as the user clicks it.
    void Button(int id) {
        QAction* action = view->ToolbarAction(id);
        ASSERT_NE(action, nullptr) << id;
        view->OnUpdate();
        ASSERT_TRUE(action->isEnabled()) << id;
        action->trigger();
        ProcessEvents();
    }
    int Offer(int kind) {
        const auto offers = view->Controller().Offers();
        for (size_t i = 0; i < offers.size(); ++i) {
            if (offers[i].kind == kind) return static_cast<int>(i);
        }
        ADD_FAILURE() << "kind " << kind << " is not offered";
        return 0;
    }
    // The add button with the kind chosen in the list dialog.
    void Add(int kind) {
        Ui().AnswerChoice(Offer(kind));
        Button(DC::kAdd);
    }
    std::vector<std::string> ListTexts() {
        std::vector<std::string> texts;
        for (int i = 0; i < view->OutputList()->count(); ++i)
            texts.push_back(view->OutputList()->itemText(i).toStdString());
        return texts;
    }
    void ExpectScriptFollowed() {
        EXPECT_TRUE(Ui().Mismatches().empty()) << Ui().TranscriptText();
        EXPECT_TRUE(Ui().bAllScriptUsed()) << Ui().TranscriptText();
    }
};

TEST(DataOutputManagerWindow, ANewUserAddsPastesMovesAndUndoes) {
    DataOutputDesk desk;
    ASSERT_NE(desk.view, nullptr);
    EXPECT_EQ(desk.view->OutputList()->count(), 0);
    EXPECT_FALSE(desk.view->ToolbarAction(DC::kMoveUp)->isEnabled());

    desk.Add(DataOutputKind::kEtherNetIP);
    desk.Add(DataOutputKind::kXML);
    ASSERT_EQ(desk.Outputs().iGetNum(), 2);
    const auto texts = desk.ListTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].rfind("1. ", 0), 0u);
    EXPECT_NE(texts[0].find("(100)"), std::string::npos) << texts[0];
    EXPECT_NE(texts[1].find("(\"Result\")"), std::string::npos) << texts[1];
    EXPECT_EQ(desk.view->OutputList()->currentIndex(), 1) << "the new output is selected";
    EXPECT_NE(desk.view->StatusPane()->text().toStdString().find("Telnet - XML: \"Result\""),
              std::string::npos)
        << desk.view->StatusPane()->text().toStdString();
    EXPECT_EQ(desk.Set().UndoRedo().GetUndoShortText(), "UNDO:Data output added");

    // Copy and paste the XML output: the copy gets the next free packet name.
    desk.Button(DC::kCopy);
    desk.Button(DC::kPaste);
    ASSERT_EQ(desk.Outputs().iGetNum(), 3);
    EXPECT_EQ(desk.Outputs().opGetAt(2)->GetPacketName(), "Result_2");
    EXPECT_EQ(desk.Outputs().iGetSelected(), 2);
    EXPECT_FALSE(desk.view->ToolbarAction(DC::kMoveDown)->isEnabled()) << "the last one";
    SaveScreenshot(desk.view->grab().toImage(), desk.dir, "data_output_manager");

    // Moved up, then undone.
    desk.Button(DC::kMoveUp);
    EXPECT_EQ(desk.Outputs().opGetAt(1)->GetPacketName(), "Result_2");
    EXPECT_EQ(desk.Outputs().iGetSelected(), 1);
    EXPECT_EQ(desk.Set().UndoRedo().GetUndoShortText(), "UNDO:Moved DDIO upwards");
    desk.Button(DC::kUndo);
    EXPECT_EQ(desk.Outputs().opGetAt(2)->GetPacketName(), "Result_2");
    EXPECT_EQ(desk.Outputs().opGetAt(1)->GetPacketName(), "Result");

    // EtherNet/IP allows one: offered with the note, and choosing it adds nothing.
    const auto offers = desk.view->Controller().Offers();
    const ODataOutputOffer& eip =
        offers[static_cast<size_t>(desk.Offer(DataOutputKind::kEtherNetIP))];
    EXPECT_TRUE(eip.atMaximum);
    EXPECT_NE(eip.text.find(ResStr(27103)), std::string::npos) << eip.text;
    desk.Ui().AnswerChoice(desk.Offer(DataOutputKind::kEtherNetIP));
    desk.Ui().ExpectMessage(MsgResult::Ok, ResStr(27104));
    desk.Button(DC::kAdd);
    EXPECT_EQ(desk.Outputs().iGetNum(), 3);

    // Delete, from the context menu.
    desk.view->OutputList()->setCurrentIndex(0);
    desk.view->Controller().SelectEntry(0);
    std::unique_ptr<QMenu> menu(desk.view->CreateContextMenu());
    EXPECT_EQ(menu->objectName(), "283");
    QAction* remove = menu->findChild<QAction*>(QString::number(DC::kDelete));
    ASSERT_NE(remove, nullptr);
    ASSERT_TRUE(remove->isEnabled());
    remove->trigger();
    ProcessEvents();
    EXPECT_EQ(desk.Outputs().iGetNum(), 2);
    EXPECT_EQ(desk.Set().UndoRedo().GetUndoShortText(), "UNDO:Data output removed");
    desk.ExpectScriptFollowed();
}

TEST(DataOutputManagerWindow, APastedIdentifierInUseIsRenumberedAndBadDataChangesNothing) {
    DataOutputDesk desk;
    ASSERT_NE(desk.view, nullptr);
    desk.Add(DataOutputKind::kEtherNetIP);
    desk.Button(DC::kCopy);
    desk.Button(DC::kDelete);
    ASSERT_EQ(desk.Outputs().iGetNum(), 0);
    // A part detector that takes identifier 100 through its pages.
    desk.Add(DataOutputKind::kPartDetector);
    auto* field = desk.view->Sheet()->findChild<QLineEdit*>("packet.id");
    ASSERT_NE(field, nullptr);
    field->selectAll();
    QTest::keyClicks(field, "100");
    ASSERT_TRUE(desk.view->ApplyButton()->isEnabled());
    QTest::mouseClick(desk.view->ApplyButton(), Qt::LeftButton);
    ProcessEvents();
    ASSERT_EQ(desk.Outputs().opGetAt(0)->iGetPacketId(), 100);
    EXPECT_EQ(desk.Set().UndoRedo().GetUndoShortText(), "UNDO:Data output properties changed");

    // The copied EtherNet/IP output comes back with the first free identifier.
    desk.Button(DC::kPaste);
    ASSERT_EQ(desk.Outputs().iGetNum(), 2);
    EXPECT_EQ(desk.Outputs().opGetAt(1)->iGetDataIOType(), DataOutputKind::kEtherNetIP);
    EXPECT_EQ(desk.Outputs().opGetAt(1)->iGetPacketId(), 1);

    // Bytes in the data-output format that are no data output: refused, nothing changes.
    Clipboard* clipboard = desk.doc->opGetClipboard();
    ASSERT_NE(clipboard, nullptr);
    const std::vector<uint8_t> junk = {1, 2, 3, 4, 5, 6, 7};
    ASSERT_TRUE(clipboard->bSetData(ResStr(DC::kClipboardFormat), junk));
    const size_t steps = desk.Set().UndoRedo().iGetNumSteps();
    desk.Ui().ExpectMessage(MsgResult::Ok, ResStr(27105));
    desk.Button(DC::kPaste);
    EXPECT_EQ(desk.Outputs().iGetNum(), 2);
    EXPECT_EQ(desk.Set().UndoRedo().iGetNumSteps(), steps);
    desk.ExpectScriptFollowed();
}

}  // namespace
