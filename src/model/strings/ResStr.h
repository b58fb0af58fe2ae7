// The model library's string resources: one English text per id, looked up by number.
//
// ResStr returns a reference that stays valid for the whole run. An id without a text yields
// "<string ID>" (ID in decimal), so a missing resource shows up in the user interface instead
// of crashing. The texts are listed in StringTable.inc; docs/strings.md lists the ids by area
// and the arguments of every format text.
#pragma once

#include <string>
#include <vector>

#include "model/strings/FormatPrintf.h"

const std::string& ResStr(int id);

// True when the table holds a text for `id` (ResStr then returns that text, not the fallback).
bool bHasResStr(int id);

// Every id of the table, ascending.
std::vector<int> ResStrIds();

// The text of `id` formatted printf-style with the caller's arguments (see FormatPrintf.h:
// argument types are matched at run time, the result is never truncated).
template <typename... Args>
std::string ResStrFormat(int id, const Args&... args) {
    return FormatPrintf(ResStr(id), args...);
}
