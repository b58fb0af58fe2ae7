// The one table of the program's commands: every command id with its menu text (with its
// "&" mnemonic and, after a tab, its shortcut) and the menu it sits in. The desktop builds
// its menus and toolbar from it and asks the document for each command's state; commands
// nobody executes yet stay disabled.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct OCommandInfo {
    int id = 0;                 // 0 marks a separator
    std::string_view text;      // "Part &list\tAlt+L"
    std::string_view menuPath;  // "&Edit/Assign t&ype"; empty for toolbar, control and
                                // notification ids that have no menu entry
};

// All entries in menu order; separators (id 0) sit between groups of one menu.
const std::vector<OCommandInfo>& CommandTable();
const OCommandInfo* FindCommand(int id);

// The text before the tab: "Part &list".
std::string_view MenuLabel(std::string_view text);
// The shortcut after the tab, trimmed: "Alt+L"; empty without one.
std::string_view ShortcutText(std::string_view text);
// The shortcut in portable key-sequence form ("Ctrl+Shift+1", "Left", "PgUp", "Del"):
// the program's key names ("Arrow left", "PgDn", ...) translated; nothing when empty.
std::optional<std::string> PortableShortcut(std::string_view text);
// The label without mnemonic markers: "Part list" ("&&" stays one "&").
std::string PlainLabel(std::string_view text);

// The main toolbar's buttons in order; 0 is a separator.
const std::vector<int>& MainToolbarCommands();
// The main toolbar's check buttons: connect, record sample parts, record test parts,
// record without contour images, record without camera images.
bool bIsMainToolbarCheckButton(int id);

// The commands the application and the document execute in this program version; every
// other table entry is present in the menus but disabled.
bool bIsImplementedCommand(int id);
