// What the core asks of a file open or save dialog, and what it gets back.
//
// Filter text: one or more filters separated by ";;", each a description followed by its
// patterns in parentheses, the patterns separated by ';' or blanks:
//   "Project File (*.zrp;*.kvp);;All Files (*.*)"
// A filter without parentheses is taken as its own pattern list.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct FileDialogRequest {
    std::string title;
    std::string filter;
    std::string defaultExtension;     // without the dot, e.g. "kvl"; added when the user types none
    std::string initialPath;          // folder, file name or both (a name may be a pattern "*.kvl")
    bool bOverwritePrompt = false;    // save: ask before replacing an existing file
    bool bMultipleSelection = false;  // open: several files may be chosen
};

struct FileDialogResult {
    bool bAccepted = false;
    std::vector<std::string> paths;  // the chosen files; exactly one unless multiple selection
};

struct OFileFilter {
    std::string description;            // the whole filter text, e.g. "Project File (*.zrp;*.kvp)"
    std::vector<std::string> patterns;  // e.g. "*.zrp", "*.kvp"
};

std::vector<OFileFilter> ParseFileFilters(std::string_view filterText);
