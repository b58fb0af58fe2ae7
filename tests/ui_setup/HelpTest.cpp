// Help: F1 opens the manual at the start page, or at the page of the active view; every
// view's page exists; the help identifiers that stand for document commands.
#include <QAction>
#include <QKeySequence>
#include <filesystem>

#include "app/HelpTopics.h"
#include "document/CommandIds.h"
#include "document/ODoc.h"
#include "ui_shell/ShellTestSupport.h"

namespace {

using namespace shelltest;

TEST(Help, IdentifiersOfDocumentCommands) {
    EXPECT_EQ(HelpTopics::iCommandOfHelpId(100636), 35100);
    EXPECT_EQ(HelpTopics::iCommandOfHelpId(100658), 35122);
    EXPECT_EQ(HelpTopics::iCommandOfHelpId(100635), 0);
    EXPECT_EQ(HelpTopics::iCommandOfHelpId(100659), 0);
}

TEST(Help, EveryViewHasAPageOfTheManual) {
    const std::string folder = HelpTopics::ManualFolder("/nonexistent/bin");
    ASSERT_FALSE(folder.empty()) << "the manual of the sources";
    EXPECT_EQ(HelpTopics::PageOf(std::nullopt), "index.html");
    for (int k = 0; k < kNumViewKinds; ++k) {
        const std::string page = HelpTopics::PageOf(static_cast<ViewKind>(k));
        EXPECT_NE(page, "index.html") << k;
        EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(folder) / page)) << page;
    }
}

TEST(Help, F1OpensTheManualAtThePageOfTheActiveView) {
    Application();
    OUserInteraction_Scripted ui;
    std::vector<std::string> opened;
    ODesktopStores stores;
    stores.settings = std::make_unique<OSettings_Memory>();
    stores.companionUser = std::make_unique<OSettings_Memory>();
    stores.companionMachine = std::make_unique<OSettings_Memory>();
    ODesktopOptions options;
    options.creationWaitMs = 0;
    HelpTopics::DocumentOpener() = [&opened](const std::string& path) {
        opened.push_back(path);
        return true;
    };
    ODesktop desktop({"-ETH:1"}, std::move(stores), &ui, options);
    ASSERT_TRUE(desktop.Start());
    desktop.App().OnFileNew();
    ProcessEvents();
    OFrame_Main& frame = desktop.Frame();
    frame.UpdateActions();
    QAction* help = frame.Action(Cmd::kHelpTopics);
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->shortcut(), QKeySequence(Qt::Key_F1));
    ASSERT_TRUE(help->isEnabled());

    desktop.App().opGetDocument()->HideChildFrames();
    ProcessEvents();
    help->trigger();
    ProcessEvents();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(std::filesystem::path(opened[0]).filename(), "index.html");
    EXPECT_TRUE(std::filesystem::exists(opened[0]));

    desktop.App().opGetDocument()->ShowChildFrames();
    ASSERT_TRUE(desktop.App().opGetDocument()->ShowPartListView());
    ProcessEvents();
    help->trigger();
    ProcessEvents();
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(std::filesystem::path(opened[1]).filename(), "part-list.html");
    HelpTopics::DocumentOpener() = nullptr;
}

}  // namespace
