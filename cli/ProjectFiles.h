// Loading and saving projects for the verbs that work on project files: the user's settings
// (or none), quiet loading with the program's own messages, saving with the family's check.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

class ODoc;
class Settings;

// The settings the verbs read: the user's store, or an empty one with --no-settings.
std::unique_ptr<Settings> OpenCliSettings(bool noSettings, std::ostream& err);
// Removes `flag` from the arguments; true when it was there.
bool TakeCliFlag(std::vector<std::string>& args, const std::string& flag);
// Loads a project quietly; the document's fresh project stays when loading fails.
bool bLoadCliProject(ODoc& doc, const std::string& path, const std::string& verb,
                     std::ostream& err);
bool bSaveCliProject(ODoc& doc, const std::string& path, const std::string& verb,
                     std::ostream& err);
