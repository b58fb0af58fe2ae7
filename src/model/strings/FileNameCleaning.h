// Cleaning of names proposed in file dialogs.
#pragma once

#include <string>
#include <string_view>

// For a proposed path: "\r\n" becomes one blank, and so does any other lone '\r' or '\n'
// (a line break can never be part of a file name); each of '/', '?', '"', '<', '>' and '|'
// becomes '_'. Backslashes, ':' and '*' stay, so folders, drive letters and patterns such as
// "C:\Projects\*.zrp" survive.
std::string CleanFileName(std::string_view path);

// For a single name taken from a part type or check program and put into a path: as
// CleanFileName, and ':' and '\' also become '_'.
std::string CleanFileNamePart(std::string_view name);
