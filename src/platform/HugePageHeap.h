// Big projects keep many small blocks alive at once (parts, their feature arrays, undo
// steps). Backed by transparent huge pages the heap needs a fraction of the page faults: a
// tool moved in a 4000-part project takes about half the time. glibc reads its malloc
// settings only when a program starts, so the program starts itself once more with them set.
#pragma once

#include <string>

namespace HugePageHeap {

// GLIBC_TUNABLES with huge pages for malloc added to `current` (may be null); empty when
// `current` already says something about them (the user's choice stands).
std::string TunablesWith(const char* current);

// Starts the running program again, with the same arguments and huge pages for malloc,
// unless its environment already sets them. Returns only when it did not restart (already
// set, or the restart failed); the program then goes on as it is.
void RestartWithHugePages(char** argv);

}  // namespace HugePageHeap
