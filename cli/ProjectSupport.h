// What the project verbs of kalvorctl share: the settings they read, flags, numbers, and
// loading and saving a project through the program's document.
#pragma once

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class ODoc;
class Settings;

// The settings the verbs read: the user's store, or an empty one with --no-settings.
std::unique_ptr<Settings> OpenSettings(bool noSettings, std::ostream& err);
// Removes `flag` from the arguments; true when it was there.
bool TakeFlag(std::vector<std::string>& args, const std::string& flag);
// Removes `option` and the value after it; nothing when absent, an empty text when the
// value is missing.
std::optional<std::string> TakeOption(std::vector<std::string>& args, const std::string& option);
std::optional<int> ParseInt(const std::string& text);
// A message on one line: its line breaks (and runs of them) become one blank.
std::string OneLine(const std::string& text);
// Loads a project quietly; the document's fresh project stays when loading fails.
bool LoadProject(ODoc& doc, const std::string& path, const std::string& verb, std::ostream& err);
bool SaveProject(ODoc& doc, const std::string& path, const std::string& verb, std::ostream& err);
