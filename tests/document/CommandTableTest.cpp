// The command table: one entry per id, texts and shortcuts as the menus show them.
#include <gtest/gtest.h>

#include <set>

#include "document/CommandIds.h"
#include "document/CommandTable.h"

namespace {

TEST(CommandTable, EveryIdOnceWithAText) {
    std::set<int> seen;
    for (const OCommandInfo& info : CommandTable()) {
        if (info.id == 0) {
            EXPECT_TRUE(info.text.empty());
            EXPECT_FALSE(info.menuPath.empty()) << "separators sit in a menu";
            continue;
        }
        EXPECT_TRUE(seen.insert(info.id).second) << "duplicate " << info.id;
        EXPECT_FALSE(MenuLabel(info.text).empty()) << info.id;
        EXPECT_EQ(FindCommand(info.id), &info);
    }
    EXPECT_EQ(FindCommand(0), nullptr);
    EXPECT_EQ(FindCommand(12345), nullptr);
    for (int id : MainToolbarCommands()) {
        if (id != 0) {
            EXPECT_NE(FindCommand(id), nullptr) << id;
        }
    }
    // The view, tool and data-output commands of the project document.
    for (int id : {32862, 32860, 32861, 32845, 32889, 32791, 33074, 33051, 32852, 33117, 33085,
                   33121, 33003, 33014, 32867, 32912, 35120, 57643, 57644})
        EXPECT_NE(FindCommand(id), nullptr) << id;
}

TEST(CommandTable, ImplementedCommandsAreInTheTable) {
    for (int id : {Cmd::kFileNew, Cmd::kFileSaveAs, Cmd::kEditUndo, Cmd::kToggleWizardBar,
                   Cmd::kRecentFileFirst + 7, Cmd::kAppExit})
        EXPECT_TRUE(bIsImplementedCommand(id) && FindCommand(id)) << id;
    EXPECT_TRUE(bIsImplementedCommand(32852)) << "the tool commands";
    EXPECT_TRUE(bIsImplementedCommand(33121)) << "the data-output commands";
    EXPECT_TRUE(bIsImplementedCommand(Cmd::kLinkConnectionLost)) << "the link's notifications";
    EXPECT_FALSE(bIsImplementedCommand(Cmd::kWizardPartArrived)) << "for the wizard, not here";
    EXPECT_TRUE(bIsImplementedCommand(Cmd::kCheckProgramManager) &&
                FindCommand(Cmd::kCheckProgramManager));
    EXPECT_FALSE(bIsImplementedCommand(Cmd::kRecentFileFirst + 8));
}

TEST(CommandTable, TextsShortcutsAndLabels) {
    const OCommandInfo* partList = FindCommand(Cmd::kViewPartList);
    ASSERT_NE(partList, nullptr);
    EXPECT_EQ(partList->text, "Part &list\tAlt+L");
    EXPECT_EQ(MenuLabel(partList->text), "Part &list");
    EXPECT_EQ(ShortcutText(partList->text), "Alt+L");
    EXPECT_EQ(PlainLabel(partList->text), "Part list");
    EXPECT_EQ(PlainLabel("Fish && &Chips"), "Fish & Chips");
    EXPECT_EQ(PortableShortcut(FindCommand(32921)->text), "Left");
    EXPECT_EQ(PortableShortcut(FindCommand(32930)->text), "Down") << "a blank before the key name";
    EXPECT_EQ(PortableShortcut(FindCommand(32928)->text), "PgDown");
    EXPECT_EQ(PortableShortcut(FindCommand(33107)->text), "Shift+Ctrl+Alt+A");
    EXPECT_EQ(PortableShortcut(FindCommand(32899)->text), "Del");
    EXPECT_EQ(PortableShortcut("Ctrl+Shift+5\tCtrl+Shift+5"), "Ctrl+Shift+5");
    EXPECT_FALSE(PortableShortcut(FindCommand(32852)->text));
    EXPECT_EQ(FindCommand(Cmd::kEditUndo)->text, "Undo\tCtrl+Z");
    EXPECT_EQ(FindCommand(32806)->text, "Assign type 2\tCtrl+Shift+2");
    EXPECT_EQ(FindCommand(33004)->text, "Assign type 7\tCtrl+Shift+7");
    EXPECT_EQ(FindCommand(33013)->text, "Assign type 16");
    EXPECT_EQ(FindCommand(32819)->text, "Assign orientation 8\tCtrl+8");
}

TEST(CommandTable, CheckButtonsOfTheMainToolbar) {
    int checks = 0;
    for (int id : MainToolbarCommands())
        checks += bIsMainToolbarCheckButton(id) ? 1 : 0;
    EXPECT_EQ(checks, 5);
    EXPECT_FALSE(bIsMainToolbarCheckButton(Cmd::kFileSave));
}

}  // namespace
