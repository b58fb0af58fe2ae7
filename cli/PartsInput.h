// Parts for the command-line verbs: from a part list (into the teach or the test list) or
// from a project (its actual check program, with tools, both lists and its device).
#pragma once

#include <filesystem>
#include <string>

#include "model/device/ZRINFO.h"
#include "model/project/OType_ProjectProperties.h"

class OType_ZRPartSet;

bool bIsProjectFile(const std::filesystem::path& path);
bool bIsPartListFile(const std::filesystem::path& path);

// A classic device of the given firmware: 12 basic features, 20 tools, 512 image rows.
ZRINFO ClassicDevice(int software);

struct OPartsInput {
    ZRINFO deviceInfo;                   // the project's device, or ClassicDevice(software)
    OType_ProjectProperties properties;  // the project's, or the defaults
    bool fromProject = false;
};

// Loads `path` into `partSet`. Projects must be of family 1 unless `anyFamily`.
bool bLoadPartsInput(const std::filesystem::path& path, bool teach, int software,
                     OType_ZRPartSet& partSet, OPartsInput& input, std::string& error,
                     bool anyFamily = false);
