// The split child frame, view templates by device family, and commands routed to the view
// of the current frame before the document.
#include <QLineEdit>
#include <QMdiArea>
#include <QSplitter>
#include <QVBoxLayout>

#include "DesktopTestSupport.h"
#include "app/ui/OFrame_SplitChild.h"
#include "document/ui/OViewRegistry.h"
#include "document/ui/OViewWidget.h"

namespace {

using namespace desktoptest;

// A view that takes the copy command and counts what reaches it.
class OTestView : public QWidget, public OViewWidget {
  public:
    explicit OTestView(const QString& name) {
        setObjectName(name);
        auto* layout = new QVBoxLayout(this);
        edit = new QLineEdit(this);
        layout->addWidget(edit);
    }
    void OnUpdate() override { ++updates; }
    std::optional<OCommandState> ViewCommandState(int id) override {
        if (id == Cmd::kEditPaste && takesPaste) return OCommandState{true, false, std::nullopt};
        if (id != Cmd::kEditCopy) return std::nullopt;
        return OCommandState{copyEnabled, false, std::nullopt};
    }
    bool bOnViewCommand(int id) override {
        if (id == Cmd::kEditPaste && takesPaste) {
            ++pastes;
            return true;
        }
        if (id != Cmd::kEditCopy) return false;
        ++copies;
        return true;
    }
    void Route(int id) { RouteCommand(id); }

    QLineEdit* edit = nullptr;
    int updates = 0;
    int copies = 0;
    int pastes = 0;
    bool copyEnabled = true;
    bool takesPaste = false;
};

OTestView* g_left = nullptr;
OTestView* g_right = nullptr;

void RegisterTestSplitView(int families, ViewKind kind = ViewKind::FeatureProperties) {
    OViewTemplate t;
    t.create = [](ODoc&, QWidget*) -> QWidget* { return g_left = new OTestView("left"); };
    t.createCompanion = [](ODoc&, QWidget*) -> QWidget* {
        return g_right = new OTestView("right");
    };
    t.splitterSetting = "TEST_SEPARATOR";
    t.defaultCompanionWidth = 180;
    t.families = families;
    RegisterViewTemplate(kind, t);
}

TEST(SplitFrame, KeepsTheCompanionsWidthInTheSettings) {
    shelltest::Application();
    OSettings_Memory settings;
    settings.SetInt("Settings", "WIDTH", 230);
    QMdiArea area;
    area.resize(1000, 700);
    area.show();
    auto* frame = new OFrame_SplitChild(ViewKind::FeatureProperties, new QWidget, new QWidget,
                                        settings, "WIDTH", 150);
    area.addSubWindow(frame);
    frame->resize(800, 500);
    frame->show();
    ASSERT_TRUE(PumpUntil([&] { return frame->Splitter()->sizes().value(1) == 230; }))
        << frame->Splitter()->sizes().value(1);
    frame->Splitter()->setSizes({500, 280});
    QApplication::processEvents();
    const int shown = frame->iCompanionWidth();
    EXPECT_NEAR(shown, 280, 10);
    delete frame;
    EXPECT_EQ(settings.iGetInt("Settings", "WIDTH", 0), shown) << "written when it goes away";
}

TEST(SplitFrame, AMissingOrUselessWidthGivesTheDefault) {
    shelltest::Application();
    OSettings_Memory settings;
    OFrame_SplitChild plain(ViewKind::FeatureProperties, new QWidget, new QWidget, settings,
                            "WIDTH", 150);
    EXPECT_EQ(plain.iCompanionWidth(), 150);
    settings.SetInt("Settings", "WIDTH2", -4);
    OFrame_SplitChild negative(ViewKind::FeatureProperties, new QWidget, new QWidget, settings,
                               "WIDTH2", 150);
    EXPECT_EQ(negative.iCompanionWidth(), 150);
}

TEST(SplitFrame, TheDocumentOpensItAndCommandsGoToTheFocusedPaneFirst) {
    Desk desk;
    RegisterTestSplitView(0b01);
    ASSERT_TRUE(desk.Frame().bCanCreateView(ViewKind::FeatureProperties));
    ASSERT_TRUE(desk.Doc().ShowView(ViewKind::FeatureProperties));
    OFrame_Child* frame = desk.Frame().Frame(ViewKind::FeatureProperties);
    ASSERT_NE(qobject_cast<OFrame_SplitChild*>(frame), nullptr);
    ASSERT_NE(g_left, nullptr);
    ASSERT_NE(g_right, nullptr);
    EXPECT_GE(g_left->updates, 1);
    EXPECT_GE(g_right->updates, 1) << "the companion is updated with its view";
    const int before = g_right->updates;
    desk.Doc().RefreshViews();
    EXPECT_GT(g_right->updates, before);

    desk.Frame().MdiArea()->setActiveSubWindow(frame);
    g_left->edit->setFocus();
    QApplication::processEvents();
    desk.Frame().UpdateActions();
    QAction* copy = desk.Frame().Action(Cmd::kEditCopy);
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(copy->isEnabled()) << "the view enables its command";
    copy->trigger();
    EXPECT_EQ(g_left->copies, 1);
    EXPECT_EQ(g_right->copies, 0);
    // What the focused pane does not take goes to the other pane of the frame.
    g_right->takesPaste = true;
    desk.Frame().UpdateActions();
    EXPECT_TRUE(desk.Frame().Action(Cmd::kEditPaste)->isEnabled());
    desk.Frame().Action(Cmd::kEditPaste)->trigger();
    EXPECT_EQ(g_right->pastes, 1);

    g_right->edit->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(desk.Frame().CurrentView(), static_cast<OViewWidget*>(g_right));
    g_right->copyEnabled = false;
    desk.Frame().UpdateActions();
    EXPECT_FALSE(copy->isEnabled()) << "the focused pane decides";
    g_right->Route(Cmd::kEditCopy);
    EXPECT_EQ(g_right->copies, 1) << "a view's own menu reaches it first";
    // What the view does not take goes on to the document: undo with nothing to undo.
    EXPECT_FALSE(desk.Frame().CommandState(Cmd::kEditUndo, g_right).enabled);
    desk.Doc().Views().DestroyView(ViewKind::FeatureProperties);
    QApplication::processEvents();
    EXPECT_EQ(desk.Frame().Frame(ViewKind::FeatureProperties), nullptr);
    EXPECT_EQ(desk.settings->iGetInt("Settings", "TEST_SEPARATOR", -1) > 0, true);
}

TEST(SplitFrame, AWindowOfTheOtherFamilyIsNotOffered) {
    Desk desk;
    // A kind no other test registers.
    RegisterTestSplitView(0b10, ViewKind::PartFeatures);
    EXPECT_EQ(desk.Doc().iGetFamily(), 1);
    EXPECT_FALSE(desk.Frame().bCanCreateView(ViewKind::PartFeatures));
    // Not a failure: there is no window, so no "Can't create Frame".
    EXPECT_FALSE(desk.Doc().ShowView(ViewKind::PartFeatures));
    EXPECT_TRUE(desk.Frame().Views().size() == 1u) << "only the part list";
    EXPECT_EQ(desk.ui.TranscriptText().find("Can't create"), std::string::npos);
}

}  // namespace
