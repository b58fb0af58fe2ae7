// Path texts as the project file dialogs and the document handle them. Paths may use
// Windows separators ("\") or this platform's ("/"); both count as folder separators.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace ProjectPaths {

// True when the path contains one of the texts anywhere (case-sensitive, as written).
bool bContainsAny(std::string_view path, std::initializer_list<std::string_view> texts);
// The text before the last separator; empty when there is none.
std::string FolderOf(std::string_view path);
// The text after the last separator (the whole path when there is none).
std::string FileTitleOf(std::string_view path);
// folder + separator + name, with the separator the folder already uses ("\" only for a
// folder written with backslashes alone); just the name for an empty folder.
std::string Join(std::string_view folder, std::string_view name);
// A proposed dialog path with every name between separators cleaned (line breaks become a
// blank; "?", the double quote, "<", ">" and "|" become "_"); the separators stay.
std::string CleanDialogPath(std::string_view path);

}  // namespace ProjectPaths
