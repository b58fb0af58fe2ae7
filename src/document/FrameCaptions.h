// Captions of the child frames: the base title, and with two or more check programs the
// actual check program's name after it.
#pragma once

#include <string>
#include <string_view>

// "%s - %s" with the base title and the program's name (line breaks as blanks) when there
// are at least two check programs; else the base title.
std::string ChildFrameCaption(std::string_view baseTitle, int partSets,
                              std::string_view actualPartSetName);
// The main window's caption: the application title and the document title.
std::string MainFrameCaption(std::string_view applicationTitle, std::string_view documentTitle);
