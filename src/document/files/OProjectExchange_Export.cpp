// The export operations: project text, part lists, feature tables, Teach-Data, the
// configuration, camera images and the calibration.
#include <cctype>
#include <new>

#include "classification/FeatureTableCsv.h"
#include "document/ODoc.h"
#include "document/files/CalibrationFiles.h"
#include "document/files/ConfigurationFile.h"
#include "document/files/OProjectExchange.h"
#include "document/files/OSafeFileWriter.h"
#include "document/files/ProjectPaths.h"
#include "document/files/TeachDataFile.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/stream/OByteStream.h"
#include "model/strings/FileNameCleaning.h"
#include "model/strings/FormatPrintf.h"
#include "model/strings/ResStr.h"
#include "platform/OWaitCursor.h"
#include "platform/UserInteraction.h"

using namespace ExchangePaths;

namespace {

constexpr int kCannotSave = 5121;
constexpr int kOutOfMemory = 3300;
constexpr int kTeachDataFailed = 2017;
constexpr int kConfigurationFailed = 2018;

// A part type's name without the Teach-Data extensions (in any letter case).
std::string WithoutTeachDataExtensions(std::string name) {
    for (size_t i = 0; i + 4 <= name.size();) {
        std::string four = name.substr(i, 4);
        for (char& c : four)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (four == ".typ" || four == ".zrt" || four == ".bin") {
            name.erase(i, 4);
        } else {
            ++i;
        }
    }
    return name;
}

std::string PartListExtension(bool family2) {
    return family2 ? ".kvl" : ".zrl";
}

}  // namespace

OExchangeResult OProjectExchange::Failure(int textId, const std::string& detail) const {
    OExchangeResult result;
    result.message = WithDetail(ResStr(textId), detail);
    m_doc.UI().Message(result.message, MsgIcon::Error);
    return result;
}

std::string OProjectExchange::SavePath(const std::string& path, const OExchangeFileKind& kind,
                                       const std::string& proposedName) const {
    std::string chosen = path;
    if (!bNamesKind(path, kind.extensions)) {
        FileDialogRequest request;
        const std::string initial = path.size() < kMinimumPathLength
                                        ? ProjectPaths::Join(m_doc.GetLastFolder(), proposedName)
                                        : path;
        request.initialPath = ProjectPaths::CleanDialogPath(initial);
        request.filter = kind.filter;
        request.defaultExtension = kind.defaultExtension;
        request.bOverwritePrompt = true;
        const FileDialogResult answer = m_doc.UI().FileSave(request);
        if (!answer.bAccepted || answer.paths.empty()) return {};
        chosen = answer.paths.front();
    }
    m_doc.SetLastFolder(ProjectPaths::FolderOf(chosen));
    return chosen;
}

OExchangeResult OProjectExchange::SaveProjectText(const std::string& path) {
    ODoc::OBusyScope busy(m_doc);
    const std::string file = SavePath(path, {{".txt"}, ResStr(5380), "txt"}, "*.txt");
    if (file.empty()) return {OExchangeResult::Cancelled};
    const std::string text = m_doc.opGetSession()->ProjectData().ToText();
    std::string error;
    if (!bWriteFileSafely(
            file, [&](OByteStream& out) { return out.bWriteRaw(text.data(), text.size()); }, error))
        return Failure(kCannotSave, error);
    return {OExchangeResult::Done, {}, {file}};
}

OExchangeResult OProjectExchange::SavePartList(bool teach, const std::string& path) {
    ODoc::OBusyScope busy(m_doc);
    OType_ZRPartSet* set = m_doc.opGetActualPartSet();
    const bool family2 = m_doc.iGetFamily() == 2;
    const std::string ext = PartListExtension(family2);
    const int filter = family2 ? (teach ? 5337 : 5338) : (teach ? 5316 : 5317);
    const std::string file =
        SavePath(path, {{ext, ".txt"}, ResStr(filter), ext.substr(1)}, "*" + ext);
    if (file.empty()) return {OExchangeResult::Cancelled};
    const int mode = bHasExtension(file, ".zrl") ? 1 : bHasExtension(file, ".kvl") ? 2 : 0;
    OWaitCursor wait(m_doc.UI());
    std::string error;
    const bool written = bWriteFileSafely(
        file,
        [&](const std::filesystem::path& temporary, std::string& why) {
            const int r = set->iParts2File(teach, temporary, mode, m_doc.opGetProgress(), &why);
            if (r == -1) why = "The file cannot be created.";
            return r == 1;
        },
        error);
    if (!written) return Failure(kCannotSave, error);
    return {OExchangeResult::Done, {}, {file}};
}

OExchangeResult OProjectExchange::SaveFeatureTable(bool teach, const std::string& path) {
    ODoc::OBusyScope busy(m_doc);
    const OType_ZRPartSet* set = m_doc.opGetActualPartSet();
    const std::string file =
        SavePath(path, {{".xls"}, ResStr(teach ? 5312 : 5313), "xls"}, "*.xls");
    if (file.empty()) return {OExchangeResult::Cancelled};
    OWaitCursor wait(m_doc.UI());
    const int family = m_doc.iGetFamily();
    std::string error;
    if (!bWriteFileSafely(
            file,
            [&](OByteStream& out) { return FeatureTableCsv::bWrite(*set, teach, family, out); },
            error))
        return Failure(kCannotSave, error);
    return {OExchangeResult::Done, {}, {file}};
}

int OProjectExchange::ChoosePartType(int partType) const {
    const OType_ZRPartSet* set = m_doc.opGetActualPartSet();
    const int count = set->iGetNum_SubTypes();
    if (partType >= 0) return partType < count ? partType : -1;
    if (count <= 1) return count - 1;
    std::vector<std::string> items;
    for (int i = 0; i < count; ++i) {
        const OType_ZRPartSet_SubType* type = set->opGetSubType(i);
        if (!type) {
            items.push_back("-");
        } else if (type->GetName().empty()) {
            items.push_back(FormatPrintf("%s %d", ResStr(2062), i + 1));
        } else {
            std::string name = type->GetName();
            for (char& c : name) {
                if (c == '\r' || c == '\n') c = ' ';
            }
            items.push_back(name);
        }
    }
    int index = set->iShowSubTypeGetNo();
    if (!m_doc.UI().bChooseFromList(ResStr(3235), ResStr(5214), items, index)) return -2;
    return index;
}

OExchangeResult OProjectExchange::SaveTeachData(int partType, const std::string& path) {
    ODoc::OBusyScope busy(m_doc);
    const OType_ZRPartSet* set = m_doc.opGetActualPartSet();
    const int type = ChoosePartType(partType);
    if (type == -2) return {OExchangeResult::Cancelled};
    if (type < 0)
        return Failure(kTeachDataFailed,
                       partType >= 0
                           ? FormatPrintf("The check program has no part type %d.", partType + 1)
                           : "The check program has no part type.");
    const TeachDataFile::Format format = TeachDataFile::ChooseFormat(*set, type);
    const bool oldFits = TeachDataFile::iFeatureCount(*set->opGetSubType(type)) <=
                         TeachDataFile::kMaxOldFormatFeatures;
    OExchangeFileKind kind{{".typ", ".zrt", ".bin"}, {}, {}};
    if (format == TeachDataFile::Format::New) {
        kind.filter = oldFits ? JoinFilters({5315, 5303, 5310}) : JoinFilters({5315, 5310});
        kind.defaultExtension = "zrt";
    } else {
        kind.filter = JoinFilters({5303, 5315, 5310});
        kind.defaultExtension = "typ";
    }
    const std::string name =
        CleanFileNamePart(WithoutTeachDataExtensions(set->opGetSubType(type)->GetName()));
    const std::string file =
        SavePath(path, kind, name.empty() ? "*." + kind.defaultExtension : name);
    if (file.empty()) return {OExchangeResult::Cancelled};

    // The chosen name decides the form: ".typ" old, ".zrt" new, ".bin" the device's form
    // of the format chosen above.
    int conversion = static_cast<int>(format);
    if (bHasExtension(file, ".bin")) {
        conversion += TeachDataFile::kDeviceBinary;
    } else if (bHasExtension(file, ".typ")) {
        conversion = static_cast<int>(TeachDataFile::Format::Old);
    } else if (bHasExtension(file, ".zrt")) {
        conversion = static_cast<int>(TeachDataFile::Format::New);
    }
    std::vector<uint8_t> bytes;
    int errorTextId = 0;
    std::string detail;
    if (!TeachDataFile::iEncode(*set, type, conversion, bytes, errorTextId, detail))
        return Failure(errorTextId, detail);
    std::string error;
    if (!bWriteFileSafely(
            file, [&](OByteStream& out) { return out.bWriteRaw(bytes.data(), bytes.size()); },
            error))
        return Failure(kCannotSave, error);
    return {OExchangeResult::Done, {}, {file}};
}

OExchangeResult OProjectExchange::SaveConfiguration(const std::string& path, int partSetNo) {
    ODoc::OBusyScope busy(m_doc);
    if (m_doc.iGetFamily() != 2)
        return Failure(
            kConfigurationFailed,
            "Check program configurations are made for devices of the new platform only.");
    const OType_ZRPartSet* set =
        partSetNo < 0 ? m_doc.opGetActualPartSet() : m_doc.opGetSession()->opGetPartSet(partSetNo);
    if (!set)
        return Failure(kConfigurationFailed,
                       FormatPrintf("The project has no check program %d.", partSetNo + 1));
    const std::string name = CleanFileNamePart(set->GetName());
    const std::string file =
        SavePath(path, {{".kvc"}, ResStr(5343), "kvc"}, name.empty() ? "*.kvc" : name);
    if (file.empty()) return {OExchangeResult::Cancelled};
    OWaitCursor wait(m_doc.UI());
    std::string error;
    try {
        if (!bWriteFileSafely(
                file, [&](OByteStream& out) { return ConfigurationFile::bWrite(*set, out); },
                error))
            return Failure(kOutOfMemory, error);
    } catch (const std::bad_alloc&) {
        return Failure(kOutOfMemory, {});
    }
    return {OExchangeResult::Done, {}, {file}};
}

OExchangeResult OProjectExchange::SaveCalibration(const std::string& path) {
    ODoc::OBusyScope busy(m_doc);
    const OCoordTrans_Tsai_Transformer& transformer = m_doc.opGetSession()->CoordTransformer();
    const std::string file = SavePath(path, {{".kvtr", ".txt"}, ResStr(5381), "kvtr"}, "*.kvtr");
    if (file.empty()) return {OExchangeResult::Cancelled};
    OWaitCursor wait(m_doc.UI());
    std::string error;
    try {
        bool written = false;
        if (bHasExtension(file, ".txt")) {
            const std::string table = CalibrationFiles::CalibrationTable(transformer);
            written = bWriteFileSafely(
                file, [&](OByteStream& out) { return out.bWriteRaw(table.data(), table.size()); },
                error);
        } else {
            written = bWriteFileSafely(
                file, [&](OByteStream& out) { return transformer.iEncode(out) == 1; }, error);
        }
        if (!written) return Failure(kCannotSave, error);
    } catch (const std::bad_alloc&) {
        return Failure(kOutOfMemory, {});
    }
    return {OExchangeResult::Done, {}, {file}};
}
