// What a project file holds, block by block: writing the blocks of a project and reading
// them back into a device session. The dialogs, titles and the rest of the document's side
// of saving and loading live with the document (ODoc::WriteProjectFile, LoadProjectFile).
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "model/project/OType_ProjectProperties.h"

class OByteStream;
class OProgressCtrl;
class OQuillon;
class Settings;

namespace ProjectFile {

inline constexpr const char* kLegacyCopyBlock = "ZRP_FORMAT10";
inline constexpr const char* kTargetSystemBlock = "TARGETSYSTEM";
inline constexpr const char* kProjectDataBlock = "PROJECTDATA";
inline constexpr const char* kPartSetArrayBlock = "PARTSET_ARRAY";
inline constexpr const char* kCoordTransBlock = "COORD_TRANS_PARAMETER";
inline constexpr const char* kPropertiesBlock = "PROJECT_PROPERTIES";
inline constexpr const char* kPartTypeBlockPrefix = "PARTTYPE_";  // "PARTTYPE_%d"
// The legacy text format's version markers, and the block that holds a legacy copy.
inline constexpr std::string_view kLegacyVersionMarkers[] = {"[ZRP_FILE_VERSION: 1.0]",
                                                             "[ZRP_FILE_VERSION:\t1.0]"};
inline constexpr std::string_view kLegacyCopyHeader = "[BLOCKSTART][BLOCKNAME=ZRP_FORMAT10]";
inline constexpr size_t kLegacyProbeSize = 100;

std::string PartTypeBlockName(int number);

// True when the first bytes of a file (at most kLegacyProbeSize are looked at) name the
// legacy text format and do not start a block file with a legacy copy.
bool bIsLegacyProjectHeader(std::span<const uint8_t> firstBytes);
// The first bytes of the file; the position is left unchanged.
bool bIsLegacyProjectFile(OByteStream& file);

// The project properties a project without a stored record starts from: the defaults of
// new projects in the settings store.
OType_ProjectProperties ProjectPropertiesFromSettings(const Settings& settings);
// The project properties of a loaded project that stores none (a legacy file, or a block
// file without "PROJECT_PROPERTIES"): the settings' defaults with types, manual types,
// orientation, manual orientation and quality on, alternative value and new tools on
// camera image off, and multiple part sets on when there are more than one.
OType_ProjectProperties PropertiesWithoutRecord(const Settings& settings, int partSets);

// Writes every block of the session's project in file order, then the kept unknown
// blocks. Returns 1, or 0 when a block could not be written (errorText says which);
// writing goes on after a failed block.
int WriteProjectBlocks(OByteStream& file, OQuillon& session, OProgressCtrl* progress,
                       std::string& errorText);

// Reads a block-format project file into a freshly reset session: target system,
// project properties, project data, part sets, coordinate transformer, unknown blocks,
// connection kind. Returns 1, or 0 with errorText (empty when the session has told the
// user itself). The session may hold part of the project after a failure; the caller
// starts a fresh project then.
int ReadProjectBlocks(OByteStream& file, OQuillon& session, const Settings& settings,
                      OProgressCtrl* progress, std::string& errorText);

}  // namespace ProjectFile
