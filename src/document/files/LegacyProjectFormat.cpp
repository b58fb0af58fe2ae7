#include "document/files/LegacyProjectFormat.h"

#include <algorithm>
#include <charconv>
#include <memory>

#include "device/OQuillon.h"
#include "model/device/ZRINFO.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/partset/PartDataEncoding.h"
#include "model/project/OType_ProjectProperties.h"
#include "model/stream/OByteStream_Memory.h"
#include "model/strings/ResStr.h"
#include "model/tools/OType_ConfigToolArray.h"

namespace LegacyProject {
namespace {

constexpr size_t npos = std::string_view::npos;

// Section names: each has "[NAME_VERSION:\t1.0]", and the text sections "[NAME_START]"
// and "[NAME_END]".
constexpr std::string_view kFile = "ZRP_FILE";
constexpr std::string_view kProjectText = "ZRP_PROJECT_TEXT";
constexpr std::string_view kTeachParts = "ZRP_TEACH_PARTS";
constexpr std::string_view kTestParts = "ZRP_AUTO_PARTS";
constexpr std::string_view kTeachDataSection = "ZRP_TEACH_DATA";
constexpr std::string_view kParameters = "ZRP_QUILLON_PARAMETER";
constexpr std::string_view kTarget = "ZRP_QUILLON_TARGET_SYSTEM";
constexpr std::string_view kVersionTail = "1.0]";

constexpr std::string_view kTeachDataLength = "[ZRP_TEACH_DATA_TD_LENGTH=";
constexpr std::string_view kConfigLength = "[ZRP_TEACH_DATA_CF_LENGTH=";
constexpr std::string_view kAdditionalLength = "[ZRP_TEACH_DATA_AD_LENGTH=";
constexpr std::string_view kParametersLength = "[ZRP_QUILLON_PARAMETER_LENGTH=";
constexpr std::string_view kTargetLength = "[ZRP_QUILLON_TARGET_SYSTEM_LENGTH=";

// Model library texts naming the missing or damaged section.
constexpr int kNoFileVersion = 5104;
constexpr int kBadProjectText = 5105;
constexpr int kBadTeachParts = 5106;
constexpr int kBadTestParts = 5107;
constexpr int kBadTeachData = 5108;
constexpr int kBadParameters = 5109;
constexpr int kNoTargetSystem = 5113;
constexpr int kLoadFailed = 5103;

// Longest decimal length field taken (the file cannot be larger anyway).
constexpr size_t kMaxLengthDigits = 12;

std::string Marker(std::string_view name, std::string_view suffix) {
    return "[" + std::string(name) + std::string(suffix) + "]";
}

std::string VersionMarker(std::string_view name) {
    return "[" + std::string(name) + "_VERSION:\t" + std::string(kVersionTail);
}

// The error text of a failure: the text naming the section and the detail. The caller
// shows 5103 in front of it, so failures of that text give the detail alone.
int Fail(std::string& errorText, int textId, std::string_view detail = {}) {
    errorText = textId == kLoadFailed ? std::string() : ResStr(textId);
    if (!detail.empty()) errorText += (errorText.empty() ? "" : "\r\n") + std::string(detail);
    return 0;
}

// The offset just after the first "[NAME_VERSION:" + blank or tab + "1.0]" at or after
// `from`; npos when there is none.
size_t FindVersion(std::string_view text, std::string_view name, size_t from) {
    const std::string head = "[" + std::string(name) + "_VERSION:";
    for (size_t at = text.find(head, from); at != npos; at = text.find(head, at + 1)) {
        const size_t gap = at + head.size();
        if (gap < text.size() && (text[gap] == ' ' || text[gap] == '\t') &&
            text.substr(gap + 1, kVersionTail.size()) == kVersionTail)
            return gap + 1 + kVersionTail.size();
    }
    return npos;
}

// The text between "[NAME_START]" and the next "[NAME_END]" after `pos`; pos moves past
// the end marker. False when either marker is missing.
bool TakeText(std::string_view text, std::string_view name, size_t& pos, std::string& out) {
    const std::string start = Marker(name, "_START");
    const std::string end = Marker(name, "_END");
    const size_t begin = text.find(start, pos);
    if (begin == npos) return false;
    const size_t from = begin + start.size();
    const size_t stop = text.find(end, from);
    if (stop == npos) return false;
    out.assign(text.substr(from, stop - from));
    pos = stop + end.size();
    return true;
}

// The decimal number after `marker` up to "]" inside `region`; 0 when the marker is
// missing. False when the marker is there but not followed by digits and "]".
bool ReadLength(std::string_view region, std::string_view marker, uint64_t& value) {
    value = 0;
    const size_t at = region.find(marker);
    if (at == npos) return true;
    const size_t digits = at + marker.size();
    const size_t close = region.find(']', digits);
    if (close == npos || close == digits || close - digits > kMaxLengthDigits) return false;
    const char* first = region.data() + digits;
    const char* last = region.data() + close;
    const auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc() && end == last;
}

bool TakeTeachData(std::span<const uint8_t> file, std::string_view text, size_t& pos,
                   OLegacyContent& content, std::string& errorText) {
    pos = FindVersion(text, kTeachDataSection, pos);
    if (pos == npos) return Fail(errorText, kBadTeachData);
    const std::string startMarker = Marker(kTeachDataSection, "_START");
    const size_t start = text.find(startMarker, pos);
    if (start == npos) return Fail(errorText, kBadTeachData, "The start of the data is missing.");
    const std::string_view lengths = text.substr(pos, start - pos);
    uint64_t td = 0, cf = 0, ad = 0;
    if (!ReadLength(lengths, kTeachDataLength, td) || !ReadLength(lengths, kConfigLength, cf) ||
        !ReadLength(lengths, kAdditionalLength, ad))
        return Fail(errorText, kBadTeachData, "A length is not a number.");
    const uint64_t dataStart = start + startMarker.size();
    const uint64_t available = file.size() - dataStart;
    if (td > available || cf > available - td || ad > available - td - cf)
        return Fail(errorText, kBadTeachData, "The data end before the lengths say.");
    const auto at = [&](uint64_t offset) { return file.begin() + static_cast<ptrdiff_t>(offset); };
    content.teachData.assign(at(dataStart), at(dataStart + td));
    content.config.assign(at(dataStart + td), at(dataStart + td + cf));
    content.additional.assign(at(dataStart + td + cf), at(dataStart + td + cf + ad));
    pos = static_cast<size_t>(dataStart + td + cf + ad);
    return true;
}

bool SkipParameters(std::string_view text, size_t& pos, std::string& errorText) {
    pos = FindVersion(text, kParameters, pos);
    if (pos == npos) return Fail(errorText, kBadParameters);
    const std::string startMarker = Marker(kParameters, "_START");
    const size_t start = text.find(startMarker, pos);
    if (start == npos) return Fail(errorText, kBadParameters, "The start of the data is missing.");
    uint64_t length = 0;
    if (!ReadLength(text.substr(pos, start - pos), kParametersLength, length))
        return Fail(errorText, kBadParameters, "The length is not a number.");
    const uint64_t dataStart = start + startMarker.size();
    if (length > text.size() - dataStart)
        return Fail(errorText, kBadParameters, "The data end before the length says.");
    pos = static_cast<size_t>(dataStart + length);
    return true;
}

bool TakeTargetSystem(std::span<const uint8_t> file, std::string_view text, size_t pos,
                      OLegacyContent& content, std::string& errorText) {
    pos = FindVersion(text, kTarget, pos);
    if (pos == npos) return true;
    const std::string startMarker = Marker(kTarget, "_START");
    const size_t start = text.find(startMarker, pos);
    if (start == npos) return true;
    uint64_t length = 0;
    if (!ReadLength(text.substr(pos, start - pos), kTargetLength, length))
        return Fail(errorText, kLoadFailed, "The length of the target system is not a number.");
    const uint64_t dataStart = start + startMarker.size();
    const uint64_t take = std::min<uint64_t>({length, ZRINFO::kSize, file.size() - dataStart});
    content.hasTargetSystem = true;
    content.targetSystem.assign(file.begin() + static_cast<ptrdiff_t>(dataStart),
                                file.begin() + static_cast<ptrdiff_t>(dataStart + take));
    return true;
}

void Put(OByteStream& out, std::string_view text) {
    out.bWriteRaw(text.data(), text.size());
}

// Writes the opening marker, the version marker and the start marker of a text section.
void OpenTextSection(OByteStream& out, std::string_view opening, std::string_view name) {
    Put(out, opening);
    Put(out, VersionMarker(name));
    Put(out, Marker(name, "_START"));
}

OType_ZRPartSet_SubType* ShownType(OType_ZRPartSet& set) {
    return set.opGetSubType(set.iShowSubTypeGetNo());
}

const OType_ZRPartSet_SubType* ShownType(const OType_ZRPartSet& set) {
    return set.opGetSubType(set.iShowSubTypeGetNo());
}

bool EncodeConfig(const OType_ZRPartSet& set, std::vector<uint8_t>& config,
                  std::string& errorText) {
    config.assign(kConfigBytes, 0);
    const OType_ConfigToolArray& tools = set.Tools();
    if (tools.iGetNum() > kMaxConfigTools) {
        errorText = "The check program has more tools than the old format can hold (" +
                    std::to_string(kMaxConfigTools) + ").";
        return false;
    }
    config[0] = static_cast<uint8_t>(tools.iGetNum());
    for (int i = 0; i < tools.iGetNum(); ++i) {
        const OType_ConfigTool& tool = *tools.opGetAt(i);
        const int values[] = {tool.iGetConfigToolType(), tool.iGetFeatureType(),
                              tool.iGetNumOfFeatures()};
        for (size_t k = 0; k < 3; ++k) {
            if (values[k] < 0 || values[k] > 255) {
                errorText =
                    "The tool \"" + tool.GetName() + "\" cannot be described in the old format.";
                return false;
            }
            config[1 + static_cast<size_t>(i) * 3 + k] = static_cast<uint8_t>(values[k]);
        }
    }
    const OType_ZRPartSet_SubType* type = ShownType(set);
    for (int o = 0; type && o < type->Vectors().iGetNum(); ++o) {
        const OType_VectorArray& vectors = *type->Vectors().opGetAt(o);
        for (int f = 0; f < vectors.iGetNumOfVectors(); ++f) {
            config[kConfigOptionsOffset +
                   static_cast<size_t>(o * PartData::kMaxLegacyFeatures + f)] =
                static_cast<uint8_t>(vectors.At(f).option & 0xFF);
        }
    }
    return true;
}

// The tools of CF, with their default settings.
bool DecodeConfigTools(OType_ZRPartSet& set, std::span<const uint8_t> config) {
    const int count = config[0];
    if (count > kMaxConfigTools) return false;
    OType_ConfigToolArray tools;
    for (int i = 0; i < count; ++i) {
        const int kind = config[1 + static_cast<size_t>(i) * 3];
        const int featureType = config[2 + static_cast<size_t>(i) * 3];
        if (kind == 0) return false;
        std::unique_ptr<OType_ConfigTool> tool = set.ToolPrototypes().Create(kind);
        if (!tool) tool = std::make_unique<OType_ConfigTool_Opaque>(kind);
        tool->SetFeatureType(featureType);
        tool->SetName(tool->GetKindName() + " " + std::to_string(i + 1));
        tools.Add(std::move(tool));
    }
    set.Tools() = tools;
    return true;
}

void DecodeConfigOptions(OType_ZRPartSet_SubType& type, std::span<const uint8_t> config) {
    for (int o = 0; o < type.Vectors().iGetNum(); ++o) {
        OType_VectorArray& vectors = *type.Vectors().opGetAt(o);
        for (int f = 0; f < vectors.iGetNumOfVectors() && f < PartData::kMaxLegacyFeatures; ++f) {
            OType_Vector& v = vectors.At(f);
            v.option = (v.option & ~0xFFu) |
                       config[kConfigOptionsOffset +
                              static_cast<size_t>(o * PartData::kMaxLegacyFeatures + f)];
        }
    }
}

// The stored check program of AD, decoded with the kinds and context of `set`.
bool DecodeAdditional(const OType_ZRPartSet& set, std::span<const uint8_t> additional,
                      OType_ZRPartSet& decoded) {
    decoded.ToolPrototypes() = set.ToolPrototypes();
    decoded.DataOutputPrototypes() = set.DataOutputPrototypes();
    decoded.SetDeviceInfo(set.opGetDeviceInfo());
    decoded.SetCoordTransformer(set.opGetCoordTransformer());
    decoded.SetFixedFeatures(set.iGetFixedFeatures());
    auto stream = OByteStream_Memory::View(additional);
    return decoded.iDecode(stream, OType_ZRPartSet::DecodeHistory::Clear) == 1 &&
           stream.iRemaining() == 0;
}

}  // namespace

int iParse(std::span<const uint8_t> file, OLegacyContent& content, std::string& errorText) {
    errorText.clear();
    content = {};
    const std::string_view text(reinterpret_cast<const char*>(file.data()), file.size());
    size_t pos = FindVersion(text, kFile, 0);
    if (pos == npos) return Fail(errorText, kNoFileVersion);
    const struct {
        std::string_view name;
        int textId;
        std::string* out;
    } texts[] = {{kProjectText, kBadProjectText, &content.projectText},
                 {kTeachParts, kBadTeachParts, &content.teachPartsText},
                 {kTestParts, kBadTestParts, &content.testPartsText}};
    for (const auto& section : texts) {
        pos = FindVersion(text, section.name, pos);
        if (pos == npos) return Fail(errorText, section.textId);
        if (!TakeText(text, section.name, pos, *section.out))
            return Fail(errorText, section.textId,
                        "The start or the end of the section is missing.");
    }
    if (!TakeTeachData(file, text, pos, content, errorText)) return 0;
    if (!SkipParameters(text, pos, errorText)) return 0;
    if (!TakeTargetSystem(file, text, pos, content, errorText)) return 0;
    return 1;
}

int iEncodeTeachData(const OType_ZRPartSet& set, std::vector<uint8_t>& teachData,
                     std::vector<uint8_t>& config, std::vector<uint8_t>& additional,
                     std::string& errorText) {
    errorText.clear();
    int protocol = 0;
    if (!ShownType(set) || iEncodePartSet_SubType_PartData(set, set.iShowSubTypeGetNo(), 0,
                                                           teachData, protocol) != 1) {
        errorText = "The Teach-Data of the part type do not fit the old format (at most " +
                    std::to_string(PartData::kMaxLegacyOrientations) + " orientations and " +
                    std::to_string(PartData::kMaxLegacyFeatures) + " features).";
        return 0;
    }
    if (!EncodeConfig(set, config, errorText)) return 0;
    if (teachData.size() + config.size() != kTeachDataBytes + kConfigBytes) {
        errorText = "The Teach-Data do not have the size of the old format.";
        return 0;
    }
    // A copy that the reader would refuse is no copy: the record must read back.
    OType_ZRPartSet check;
    check.SetNumSubTypes(1);
    std::string name;
    if (iDecodePartSet_SubType_PartData(check, 0, teachData, PartData::kProtocolLegacy, name) !=
        1) {
        errorText = "The Teach-Data of the part type hold values the old format cannot keep.";
        return 0;
    }
    additional = set.Encode(0, 0);
    return 1;
}

int iDecodeTeachData(OType_ZRPartSet& set, std::span<const uint8_t> teachData,
                     std::span<const uint8_t> config, std::span<const uint8_t> additional,
                     std::string& errorText) {
    auto damaged = [&](std::string_view detail) { return Fail(errorText, kLoadFailed, detail); };
    if (teachData.size() != kTeachDataBytes || config.size() != kConfigBytes)
        return damaged("The Teach-Data do not have the lengths of the old format (" +
                       std::to_string(kTeachDataBytes) + " and " + std::to_string(kConfigBytes) +
                       " bytes).");
    if (!ShownType(set)) return damaged("The check program has no part type.");
    if (!DecodeConfigTools(set, config)) return damaged("The tool configuration is damaged.");
    std::string name = set.GetName();
    if (iDecodePartSet_SubType_PartData(set, set.iShowSubTypeGetNo(), teachData,
                                        PartData::kProtocolLegacy, name) != 1)
        return damaged("The Teach-Data are damaged.");
    DecodeConfigOptions(*ShownType(set), config);
    if (additional.empty()) return 1;
    OType_ZRPartSet stored;
    if (!DecodeAdditional(set, additional, stored))
        return damaged("The additional data of the Teach-Data are damaged.");
    set.TakeSettingsFrom(stored);
    return 1;
}

int iPrepare(const OQuillon& session, OTeachDataSections& sections, std::string& errorText) {
    const OType_ZRPartSet* set = session.opGetActualPartSet();
    if (!set) {
        errorText = "The project has no check program.";
        return 0;
    }
    return iEncodeTeachData(*set, sections.teachData, sections.config, sections.additional,
                            errorText);
}

int iWrite(OByteStream& out, const OQuillon& session, const OTeachDataSections& sections) {
    const OType_ZRPartSet* set = session.opGetActualPartSet();
    if (!set) return 0;
    Put(out, "[ZRP_HEADER]");
    Put(out, VersionMarker(kFile));

    OpenTextSection(out, "[ZRP_PROJECT_TEXT]", kProjectText);
    Put(out, session.ProjectData().ToText(true));
    Put(out, Marker(kProjectText, "_END"));

    OpenTextSection(out, "[ZRP_TEACH_PARTS]", kTeachParts);
    set->iParts2Text(true, out);
    Put(out, Marker(kTeachParts, "_END"));

    OpenTextSection(out, "[ZRP_AUTO_PARTS]", kTestParts);
    set->iParts2Text(false, out);
    Put(out, Marker(kTestParts, "_END"));

    Put(out, "[ZRP_TEACH_DATA]");
    Put(out, VersionMarker(kTeachDataSection));
    for (const auto& [marker, bytes] : {std::pair{kTeachDataLength, &sections.teachData},
                                        std::pair{kConfigLength, &sections.config},
                                        std::pair{kAdditionalLength, &sections.additional}}) {
        Put(out, std::string(marker) + std::to_string(bytes->size()) + "]");
    }
    Put(out, Marker(kTeachDataSection, "_START"));
    for (const auto* bytes : {&sections.teachData, &sections.config, &sections.additional})
        out.bWriteRaw(bytes->data(), bytes->size());
    Put(out, Marker(kTeachDataSection, "_END"));

    Put(out, "[ZRP_QUILLON_PARAMETER]");
    Put(out, VersionMarker(kParameters));
    Put(out, std::string(kParametersLength) + "0]");
    Put(out, Marker(kParameters, "_START"));
    Put(out, Marker(kParameters, "_END"));

    const auto info = session.DeviceInfo().Bytes();
    Put(out, "[ZRP_QUILLON_TARGET_SYSTEM]");
    Put(out, VersionMarker(kTarget));
    Put(out, std::string(kTargetLength) + std::to_string(info.size()) + "]");
    Put(out, Marker(kTarget, "_START"));
    out.bWriteRaw(info.data(), info.size());
    Put(out, Marker(kTarget, "_END"));
    return out.bIsOk() ? 1 : 0;
}

int iWrite(OByteStream& out, const OQuillon& session, std::string& errorText) {
    OTeachDataSections sections;
    if (!iPrepare(session, sections, errorText)) return 0;
    if (iWrite(out, session, sections)) return 1;
    errorText = ResStr(2016);
    return 0;
}

int iRead(std::span<const uint8_t> file, OQuillon& session,
          const OType_ProjectProperties& properties, std::string& errorText,
          std::vector<std::string>& notes) {
    OLegacyContent content;
    if (!iParse(file, content, errorText)) return 0;

    ZRINFO info = session.DeviceInfo();
    if (content.hasTargetSystem) {
        std::vector<uint8_t> bytes(info.Bytes().begin(), info.Bytes().end());
        std::copy(content.targetSystem.begin(), content.targetSystem.end(), bytes.begin());
        info.Assign(bytes);
    } else {
        notes.push_back(ResStr(kNoTargetSystem));
    }
    if (!session.bConfigureFromDeviceInfo(info, properties)) {
        errorText.clear();  // the session has told the user
        return 0;
    }
    if (!session.ProjectData().iFromText(content.projectText))
        return Fail(errorText, kBadProjectText, "The project text cannot be read.");

    OType_ZRPartSet* set = session.AddPartSet(true);
    if (!set)
        return Fail(errorText, kLoadFailed, "No check program can be made for the target system.");
    session.PartSets().iSetActualPartSetNo(0);
    std::string detail;
    if (!set->iContur2Parts(content.teachPartsText, true, &detail))
        return Fail(errorText, kLoadFailed, "Sample parts: " + detail);
    if (!set->iContur2Parts(content.testPartsText, false, &detail))
        return Fail(errorText, kLoadFailed, "Test parts: " + detail);
    if (!iDecodeTeachData(*set, content.teachData, content.config, content.additional, errorText))
        return 0;
    if (session.bIsFamily2()) {
        session.SetConnectionKind(3);
    } else if (session.iGetConnectionKind() == 3) {
        session.SetConnectionKind(0);
    }
    return 1;
}

}  // namespace LegacyProject
