// Help: the HTML user manual and the page that belongs to each view, and the help
// identifiers that stand for document commands.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "document/ViewHost.h"

namespace HelpTopics {

inline constexpr int kFirstCommandHelpId = 100636;
inline constexpr int kLastCommandHelpId = 100658;

// The document command a help identifier stands for (identifier − 65536), or 0 when the
// identifier is an ordinary help topic.
int iCommandOfHelpId(int helpId);

// The manual page of a view; the start page when no view is active.
std::string PageOf(std::optional<ViewKind> kind);

// The manual's folder: beside the installed program, else in the sources it was built
// from; empty when neither holds the start page.
std::string ManualFolder(const std::string& programFolder);

// Opens a manual page; when empty the desktop hands the page to the system's browser.
// Tests and scripted runs set it.
std::function<bool(const std::string& path)>& DocumentOpener();

}  // namespace HelpTopics
