// The tool manager window on the real desktop, offscreen: the list follows the document's
// selection, the pages edit a CTool (sub-kind and region change its feature values, undo
// brings them back), refused values apply nothing, a pending edit is applied before another
// tool is shown or the window closes, the linked-tool-window toggle, tool commands handed to
// the part contour view, the printout and the toolbar layout kept under its profile.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>

#include "app/ui/OFrame_Child.h"
#include "document/CommandIds.h"
#include "document/ODoc.h"
#include "document/ui/OViewRegistry.h"
#include "document/ui/OViewWidget.h"
#include "managers/OToolManagerController.h"
#include "managers/ui/OSheet_ConfigToolManager.h"
#include "managers/ui/OView_ConfigToolManager.h"
#include "model/draw/ORecordingPainter.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "support/TempDir.h"
#include "tools/ContourToolProperties.h"
#include "ui_shell/ShellTestSupport.h"

using namespace shelltest;
using namespace ContourToolProperties;
namespace TM = ToolManagerCommand;

namespace {

constexpr int kAddCTool = 32854;
constexpr int kAddRoi = 32852;
constexpr int kContourArea = 22;  // CTool sub-kinds
constexpr int kContourHeight = 25;

// Rows 10 ... 59 up to column `step`, rows 10 ... 79 from there on.
std::unique_ptr<OType_Part> SteppedPart(int width, int step) {
    auto part = std::make_unique<OType_Part>();
    std::vector<int16_t> runs;
    for (int x = 0; x < width; ++x) {
        runs.push_back(10);
        runs.push_back(static_cast<int16_t>(x < step ? -60 : -80));
    }
    part->SetConturData(std::move(runs));
    part->SetTeachPart(true);
    part->SetType(1);
    part->SetOrientation(1);
    return part;
}

// A stand-in for the part contour view that records the tool commands it is handed.
class ORecordingContourView : public QWidget, public OViewWidget {
  public:
    void OnUpdate() override {}
    std::optional<OCommandState> ViewCommandState(int id) override {
        if (id != TM::kCopyTool && id != TM::kPasteTool && id != TM::kDeleteTool)
            return std::nullopt;
        return OCommandState{id != TM::kPasteTool || pasteEnabled, false, std::nullopt};
    }
    bool bOnViewCommand(int id) override {
        if (!ViewCommandState(id)) return false;
        commands.push_back(id);
        return true;
    }
    static inline std::vector<int> commands;
    static inline bool pasteEnabled = false;
};

struct ToolManagerDesk : ::testing::Test {
    Shell shell{{"-ETH:1", "/nologo"}};
    ODoc* doc = nullptr;

    void SetUp() override {
        shell.settings->SetInt("Settings", "TARGET_SYSTEM_HW", 1);
        shell.settings->SetInt("Settings", "TARGET_SYSTEM_SW", 778);
        shell.settings->SetInt("Settings", "TARGET_SYSTEM_PARTTYPES", 6);
        shell.settings->SetInt("Settings", "TARGET_SYSTEM_PARTSINSET", 1);
        shell.settings->SetInt("Settings", "TARGET_SYSTEM_ORI", 8);
        shell.settings->SetInt("Settings", "SHOW_WIZARD_BAR", 0);
        shell.settings->SetInt("Settings", "MSG_BEEP", 0);
        ASSERT_TRUE(shell.desktop->Start());
        shell.App().OnFileNew();
        doc = shell.App().opGetDocument();
        ASSERT_NE(doc, nullptr);
        Frame().resize(1100, 760);
        Frame().show();
        for (int i = 0; i < 4; ++i)
            Set().TeachParts().Add(SteppedPart(100 + i, 40));
        doc->RecomputeAll(1, 0, 1, 1, 0);
    }
    void TearDown() override {
        EXPECT_TRUE(shell.ui.Mismatches().empty()) << shell.ui.TranscriptText();
        EXPECT_TRUE(shell.ui.bAllScriptUsed()) << shell.ui.TranscriptText();
    }

    OFrame_Main& Frame() { return shell.Frame(); }
    OType_ZRPartSet& Set() { return *doc->opGetActualPartSet(); }
    double FirstPartValue(int feature) {
        return Set().TeachParts().GetAt_NoSort(0)->Features().dGetFeatureValueAt(feature);
    }
    void Run(int command) {
        Frame().UpdateActions();
        QAction* action = Frame().Action(command);
        ASSERT_NE(action, nullptr) << command;
        ASSERT_TRUE(action->isEnabled()) << "command " << command << " is disabled";
        action->trigger();
        ProcessEvents();
    }
    OView_ConfigToolManager* OpenManager() {
        Run(Cmd::kViewToolProperties);
        OFrame_Child* frame = Frame().Frame(ViewKind::ToolProperties);
        EXPECT_NE(frame, nullptr);
        return frame ? dynamic_cast<OView_ConfigToolManager*>(frame->widget()) : nullptr;
    }
    template <class T>
    static T* Field(OView_ConfigToolManager& view, const char* name) {
        T* field = view.Sheet()->findChild<T*>(name);
        EXPECT_NE(field, nullptr) << name;
        return field;
    }
    // Types into a field as the user does (the pages take typed text only).
    static void Type(OView_ConfigToolManager& view, const char* name, const QString& text) {
        auto* edit = Field<QLineEdit>(view, name);
        ASSERT_NE(edit, nullptr);
        ShowPageOf(view, edit);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    static void Choose(OView_ConfigToolManager& view, const char* name, int value) {
        auto* combo = Field<QComboBox>(view, name);
        ASSERT_NE(combo, nullptr);
        const int index = combo->findData(QVariant::fromValue<qlonglong>(value));
        ASSERT_GE(index, 0) << value;
        ShowPageOf(view, combo);
        combo->setCurrentIndex(index);
    }
    static void ShowPageOf(OView_ConfigToolManager& view, QWidget* field) {
        QTabWidget& sheet = *view.Sheet();
        for (int i = 0; i < sheet.count(); ++i) {
            if (sheet.widget(i)->isAncestorOf(field)) sheet.setCurrentIndex(i);
        }
    }
    static QStringList Tabs(const QTabWidget& sheet) {
        QStringList titles;
        for (int i = 0; i < sheet.count(); ++i)
            titles << sheet.tabText(i);
        return titles;
    }
};

}  // namespace

TEST_F(ToolManagerDesk, EditingACToolChangesItsFeatureValuesAndUndoBringsThemBack) {
    doc->OnCommand(kAddCTool, 0);
    OView_ConfigToolManager* view = OpenManager();
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->ToolList()->count(), 1);
    EXPECT_EQ(view->ToolList()->itemText(0), "13. CTool 1");
    EXPECT_EQ(view->ToolList()->currentIndex(), 0);
    EXPECT_EQ(Tabs(*view->Sheet()).first(), "Information");
    EXPECT_GE(view->Sheet()->count(), 3) << Tabs(*view->Sheet()).join(", ").toStdString();
    EXPECT_FALSE(view->ApplyButton()->isEnabled()) << "nothing edited yet";

    // Columns 10 ... 49: 30 columns 50 rows high and 10 columns 70 rows high.
    EXPECT_EQ(FirstPartValue(12), 30 * 60 + 10 * 80);
    const size_t steps = Set().UndoRedo().iGetNumSteps();

    Choose(*view, kSubKind, kContourHeight);
    Type(*view, kRegionLeft, "20");
    Type(*view, kRegionRight, "59");
    EXPECT_TRUE(view->ApplyButton()->isEnabled());
    QTest::mouseClick(view->ApplyButton(), Qt::LeftButton);
    ProcessEvents();

    const OType_ConfigTool* tool = Set().Tools().opGetAt(0);
    EXPECT_EQ(tool->iGetFeatureType(), kContourHeight);
    EXPECT_EQ(tool->GetRegion().left, 20);
    EXPECT_EQ(FirstPartValue(12), 20) << "the contour height over the step: 20 rows";
    EXPECT_EQ(Set().UndoRedo().iGetNumSteps(), steps + 1) << "one undo step";
    EXPECT_EQ(Set().UndoRedo().GetUndoShortText(), "UNDO:Tool properties changed");
    EXPECT_FALSE(view->ApplyButton()->isEnabled()) << "the pages show the tool's values again";
    EXPECT_EQ(Field<QLineEdit>(*view, kRegionLeft)->text(), "20");

    // Undo through the manager's own toolbar.
    QAction* undo = view->ToolbarAction(TM::kUndo);
    ASSERT_NE(undo, nullptr);
    undo->trigger();
    ProcessEvents();
    tool = Set().Tools().opGetAt(0);
    EXPECT_EQ(tool->iGetFeatureType(), kContourArea);
    EXPECT_EQ(FirstPartValue(12), 30 * 60 + 10 * 80) << "undo brings the values back";
    EXPECT_EQ(Field<QLineEdit>(*view, kRegionLeft)->text(), "10") << "and the pages follow";
    EXPECT_EQ(Field<QComboBox>(*view, kSubKind)->currentData().toLongLong(), kContourArea);
}

TEST_F(ToolManagerDesk, AValueOutsideTheRangeIsRefusedAndAppliesNothing) {
    doc->OnCommand(kAddCTool, 0);
    OView_ConfigToolManager* view = OpenManager();
    ASSERT_NE(view, nullptr);
    const size_t steps = Set().UndoRedo().iGetNumSteps();
    const ORect before = Set().Tools().opGetAt(0)->GetRegion();

    Type(*view, kRegionLeft, "30");
    Type(*view, kRegionBottom, "5000");
    shell.ui.ExpectMessage(MsgResult::Ok);
    QTest::mouseClick(view->ApplyButton(), Qt::LeftButton);
    ProcessEvents();
    EXPECT_EQ(Set().Tools().opGetAt(0)->GetRegion(), before) << "not even the valid left edge";
    EXPECT_EQ(Set().UndoRedo().iGetNumSteps(), steps);
    EXPECT_FALSE(view->StatusPane()->text().isEmpty()) << "the status pane says why";
    EXPECT_TRUE(view->ApplyButton()->isEnabled()) << "the user's text stays for correcting";
    EXPECT_EQ(Field<QLineEdit>(*view, kRegionBottom)->text(), "5000");

    Type(*view, kRegionBottom, "70");
    QTest::keyClick(Field<QLineEdit>(*view, kRegionBottom), Qt::Key_Return);
    ProcessEvents();
    EXPECT_EQ(Set().Tools().opGetAt(0)->GetRegion().left, 30)
        << "Enter applies (once the key has been handled: the pages are rebuilt)";
    EXPECT_EQ(Set().Tools().opGetAt(0)->GetRegion().bottom, 70);
    EXPECT_EQ(Set().UndoRedo().iGetNumSteps(), steps + 1);
}

TEST_F(ToolManagerDesk, AnEditIsAppliedBeforeAnotherToolIsShownAndWhenTheWindowCloses) {
    doc->OnCommand(kAddCTool, 0);
    doc->OnCommand(kAddRoi, 0);
    OView_ConfigToolManager* view = OpenManager();
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->ToolList()->count(), 2);
    const int ctool = view->ToolList()->findText("CTool 1", Qt::MatchEndsWith);
    const int roi = view->ToolList()->findText("ROI 1", Qt::MatchEndsWith);
    ASSERT_GE(ctool, 0);
    ASSERT_GE(roi, 0);
    emit view->ToolList()->activated(ctool);
    ProcessEvents();
    ASSERT_EQ(view->ShownContent().tool->GetName(), "CTool 1");
    const size_t steps = Set().UndoRedo().iGetNumSteps();

    Type(*view, kName, "Step height");
    emit view->ToolList()->activated(roi);
    ProcessEvents();
    EXPECT_EQ(view->ShownContent().tool->GetName(), "ROI 1") << "the chosen tool is shown";
    EXPECT_EQ(Set().Tools().opGetAt(ctool)->GetName(), "Step height") << "after the edit went in";
    EXPECT_EQ(Set().UndoRedo().iGetNumSteps(), steps + 1) << "in one undo step";
    EXPECT_TRUE(view->ToolList()->itemText(ctool).endsWith("Step height")) << "the list follows";

    // Another feature of the tool on show keeps its pages and the user's text.
    Type(*view, kName, "Window");
    doc->SelectFeature(Set().iShowFeatureGetNo(), 1);
    ProcessEvents();
    EXPECT_EQ(Field<QLineEdit>(*view, kName)->text(), "Window");
    EXPECT_EQ(Set().UndoRedo().iGetNumSteps(), steps + 1);

    Frame().Frame(ViewKind::ToolProperties)->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ProcessEvents();
    EXPECT_EQ(Frame().Frame(ViewKind::ToolProperties), nullptr);
    EXPECT_EQ(Set().Tools().opGetAt(roi)->GetName(), "Window") << "closing applies";
    EXPECT_EQ(Set().UndoRedo().iGetNumSteps(), steps + 2);
    EXPECT_FALSE(shell.settings->GetText("CONFIGTOOLMANAGER-Summary", "Bars", "").empty())
        << "the toolbar layout is kept under the window's profile";
}

TEST_F(ToolManagerDesk, ABasicFeatureShowsItsDescriptionAndNoListEntry) {
    doc->OnCommand(kAddCTool, 0);
    OView_ConfigToolManager* view = OpenManager();
    ASSERT_NE(view, nullptr);
    doc->SelectFeature(2, 1);
    ProcessEvents();
    EXPECT_EQ(view->ToolList()->currentIndex(), -1);
    EXPECT_EQ(view->ShownContent().pages, OToolPageSet::BasicFeature);
    ASSERT_EQ(view->Sheet()->count(), 1);
    auto* text = view->Sheet()->findChild<QLabel*>("text");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text().toStdString(), ToolManagerText::BasicFeatureDescription(2));

    doc->SelectFeature(12, 1);
    ProcessEvents();
    EXPECT_EQ(view->ToolList()->currentIndex(), 0) << "the tool's feature selects its entry";
    EXPECT_EQ(view->ShownContent().pages, OToolPageSet::Tool);
}

TEST_F(ToolManagerDesk, TheToolbarTogglesTheLinkedToolWindowAndHandsToolCommandsOn) {
    // Registered before the tool is added, so that adding it opens this part contour view.
    RegisterViewCreator(ViewKind::PartContour,
                        [](ODoc&, QWidget*) -> QWidget* { return new ORecordingContourView; });
    ORecordingContourView::commands.clear();
    doc->OnCommand(kAddCTool, 0);
    OView_ConfigToolManager* view = OpenManager();
    ASSERT_NE(view, nullptr);
    ASSERT_NE(Frame().Frame(ViewKind::PartContour), nullptr);

    QAction* linked = view->ToolbarAction(TM::kLinkedToolWindow);
    ASSERT_NE(linked, nullptr);
    const bool was = doc->bIsLinkedToolWindow();
    linked->trigger();
    ProcessEvents();
    EXPECT_NE(doc->bIsLinkedToolWindow(), was);
    EXPECT_EQ(linked->isChecked(), doc->bIsLinkedToolWindow());
    EXPECT_FALSE(view->ToolbarAction(TM::kMoveUp)->isVisible()) << "moving is for family 2";

    // The part contour view executes copy, paste and delete; copy and paste are posted.
    EXPECT_TRUE(view->ViewCommandState(TM::kCopyTool)->enabled);
    EXPECT_FALSE(view->ViewCommandState(TM::kPasteTool)->enabled);
    EXPECT_TRUE(view->bOnViewCommand(TM::kDeleteTool));
    EXPECT_EQ(ORecordingContourView::commands, std::vector<int>{TM::kDeleteTool}) << "sent at once";
    EXPECT_TRUE(view->bOnViewCommand(TM::kCopyTool));
    EXPECT_TRUE(view->bOnViewCommand(TM::kPasteTool));
    EXPECT_EQ(ORecordingContourView::commands.size(), 1u) << "copy is posted, paste disabled";
    ProcessEvents();
    EXPECT_EQ(ORecordingContourView::commands, (std::vector<int>{TM::kDeleteTool, TM::kCopyTool}));

    // Without the part contour view they are disabled and do nothing.
    doc->Views().DestroyView(ViewKind::PartContour);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ProcessEvents();
    EXPECT_FALSE(view->ViewCommandState(TM::kCopyTool)->enabled);
    EXPECT_TRUE(view->bOnViewCommand(TM::kCopyTool));
    ProcessEvents();
    EXPECT_EQ(ORecordingContourView::commands.size(), 2u);
}

TEST_F(ToolManagerDesk, ThePrintoutListsTheToolsPropertiesUnderADatedHeadLine) {
    doc->OnCommand(kAddCTool, 0);
    OView_ConfigToolManager* view = OpenManager();
    ASSERT_NE(view, nullptr);
    OPrintable* printable = view->opGetPrintable();
    ASSERT_NE(printable, nullptr);
    EXPECT_EQ(printable->PrintTitle(), "Tool properties - CTool 1");
    ASSERT_EQ(printable->iPreparePages(kA4PortraitArea), 1);
    ORecordingPainter painter;
    printable->PaintPage(painter, 0, kA4PortraitArea);
    printable->EndPrinting();
    EXPECT_NE(painter.FindText("Tool properties - CTool 1"), nullptr);
    EXPECT_NE(painter.FindText("Page 1 of 1"), nullptr);
    const std::vector<std::string> texts = painter.Texts();
    const auto has = [&](const std::string& text) {
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    };
    EXPECT_TRUE(has("[Region]"));
    EXPECT_TRUE(has("10 px") || has("10")) << "the region's left edge";
    // Date and time at the right of the head line: "YYYY-MM-DD HH:MM".
    const auto dated = std::find_if(texts.begin(), texts.end(), [](const std::string& t) {
        return t.size() == 16 && t[4] == '-' && t[7] == '-' && t[10] == ' ' && t[13] == ':';
    });
    EXPECT_NE(dated, texts.end());

    // A page too short for a row prints nothing rather than overlapping text.
    EXPECT_EQ(printable->iPreparePages(OPage{1900, 200}), 0);
}

TEST_F(ToolManagerDesk, Screenshot) {
    doc->OnCommand(kAddCTool, 0);
    OView_ConfigToolManager* view = OpenManager();
    ASSERT_NE(view, nullptr);
    OFrame_Child* frame = Frame().Frame(ViewKind::ToolProperties);
    frame->resize(560, 600);
    frame->move(20, 20);
    for (int i = 0; i < view->Sheet()->count(); ++i) {
        if (view->Sheet()->tabText(i) == "Region") view->Sheet()->setCurrentIndex(i);
    }
    ProcessEvents();
    TempDir dir;
    SaveScreenshot(Frame().grab().toImage(), dir, "tool_manager");
    view->Sheet()->setCurrentIndex(0);
    ProcessEvents();
    SaveScreenshot(view->grab().toImage(), dir, "tool_manager_information");
}
