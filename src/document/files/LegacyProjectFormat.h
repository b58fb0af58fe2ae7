// The legacy project format: one stream of bracketed text markers with embedded binary
// sections, holding one check program with one part type. Projects of this layout are
// still read, and a family-1 project whose property "add old format" is set carries a copy
// of itself in this layout in its "ZRP_FORMAT10" block.
//
//   [ZRP_HEADER][ZRP_FILE_VERSION:\t1.0]
//   [ZRP_PROJECT_TEXT][ZRP_PROJECT_TEXT_VERSION:\t1.0][ZRP_PROJECT_TEXT_START] text [.._END]
//   [ZRP_TEACH_PARTS][ZRP_TEACH_PARTS_VERSION:\t1.0][ZRP_TEACH_PARTS_START] parts [.._END]
//   [ZRP_AUTO_PARTS][ZRP_AUTO_PARTS_VERSION:\t1.0][ZRP_AUTO_PARTS_START] parts [.._END]
//   [ZRP_TEACH_DATA][ZRP_TEACH_DATA_VERSION:\t1.0][ZRP_TEACH_DATA_TD_LENGTH=2044]
//     [ZRP_TEACH_DATA_CF_LENGTH=336][ZRP_TEACH_DATA_AD_LENGTH=n][ZRP_TEACH_DATA_START]
//     TD CF AD [ZRP_TEACH_DATA_END]
//   [ZRP_QUILLON_PARAMETER][ZRP_QUILLON_PARAMETER_VERSION:\t1.0]
//     [ZRP_QUILLON_PARAMETER_LENGTH=0][ZRP_QUILLON_PARAMETER_START][ZRP_QUILLON_PARAMETER_END]
//   [ZRP_QUILLON_TARGET_SYSTEM][ZRP_QUILLON_TARGET_SYSTEM_VERSION:\t1.0]
//     [ZRP_QUILLON_TARGET_SYSTEM_LENGTH=1228][ZRP_QUILLON_TARGET_SYSTEM_START] ZRINFO
//     [ZRP_QUILLON_TARGET_SYSTEM_END]
//
// Readers accept a blank or a tab after the colon of every version marker. Texts:
// project text = the documentation's "Key=Value" lines with brackets escaped; parts = one
// line per part, "kind,type,orientation,runs..." (the text form of part lists).
// Teach data of the shown part type:
//   TD (2044) = the short legacy part-data record (number + parameter block, see
//               PartDataEncoding.h): orientations, tolerance, counter, per-feature ranges.
//   CF (336)  = tool configuration: byte 0 the tool count n (at most 26), then per tool
//               kind, feature type (sub-kind) and feature count, one byte each; from byte
//               80 on the option byte of orientation o and feature f at 80 + 32 o + f.
//   AD        = additional data: the whole check program without its part lists (the part
//               set's own encoding), so that tools, every part type and the feature settings
//               come back exactly. A reader without it builds the tools from CF with their
//               default settings.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class OByteStream;
class OQuillon;
class OType_ProjectProperties;
class OType_ZRPartSet;
class ZRINFO;

namespace LegacyProject {

inline constexpr size_t kTeachDataBytes = 2044;  // TD
inline constexpr size_t kConfigBytes = 336;      // CF
inline constexpr size_t kConfigOptionsOffset = 80;
inline constexpr int kMaxConfigTools = 26;

// What the reader takes out of a legacy file, before anything is applied to a project.
struct OLegacyContent {
    std::string projectText;
    std::string teachPartsText;
    std::string testPartsText;
    std::vector<uint8_t> teachData;   // TD
    std::vector<uint8_t> config;      // CF
    std::vector<uint8_t> additional;  // AD
    bool hasTargetSystem = false;
    std::vector<uint8_t> targetSystem;  // at most ZRINFO::kSize bytes
};

// Takes the sections out of a legacy file. Returns 0 when a required marker is missing or
// a section is damaged; errorText then holds the text of the model library that names it
// (5104-5109), with a detail where one helps.
int iParse(std::span<const uint8_t> file, OLegacyContent& content, std::string& errorText);

// The teach data of a check program's shown part type as TD, CF and AD. Returns 0 when
// they cannot be made (more than 8 orientations or 32 features, more than kMaxConfigTools
// tools, a tool kind or feature type above 255); errorText says why.
int iEncodeTeachData(const OType_ZRPartSet& partSet, std::vector<uint8_t>& teachData,
                     std::vector<uint8_t>& config, std::vector<uint8_t>& additional,
                     std::string& errorText);
// Applies TD, CF and AD to a check program that already holds its parts: with AD every
// setting of the stored check program, else the tools of CF (default settings), the
// Teach-Data of TD and the options of CF on the shown part type. Returns 0 on damaged
// data (the check program may then hold part of it).
int iDecodeTeachData(OType_ZRPartSet& partSet, std::span<const uint8_t> teachData,
                     std::span<const uint8_t> config, std::span<const uint8_t> additional,
                     std::string& errorText);

// TD, CF and AD of a check program, made before anything is written.
struct OTeachDataSections {
    std::vector<uint8_t> teachData;
    std::vector<uint8_t> config;
    std::vector<uint8_t> additional;
};

// The teach data of the session's actual check program; 0 with errorText when there is
// none or they cannot be made.
int iPrepare(const OQuillon& session, OTeachDataSections& sections, std::string& errorText);
// Writes the session's actual check program in the legacy layout at the stream's position,
// with teach data made by iPrepare. Returns 0 when the stream failed.
int iWrite(OByteStream& out, const OQuillon& session, const OTeachDataSections& sections);
// Both: nothing is written when the teach data cannot be made.
int iWrite(OByteStream& out, const OQuillon& session, std::string& errorText);

// Reads a legacy file into a session that has just been reset: project text, target system
// (from the file, or the session's current device information with note 5113), one check
// program with its teach and test parts and its teach data. `properties` are the project
// properties a project without a stored record gets. Returns 0 with errorText; notes
// receives texts to be shown after a successful load.
int iRead(std::span<const uint8_t> file, OQuillon& session,
          const OType_ProjectProperties& properties, std::string& errorText,
          std::vector<std::string>& notes);

}  // namespace LegacyProject
