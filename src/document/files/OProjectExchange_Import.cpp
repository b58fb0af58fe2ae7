// The import operations, and opening a part list, Teach-Data or a configuration by its
// path: each file is read and checked completely before the project is touched.
#include <new>

#include "document/CommandIds.h"
#include "document/ODoc.h"
#include "document/files/CalibrationFiles.h"
#include "document/files/ConfigurationFile.h"
#include "document/files/OProjectExchange.h"
#include "document/files/OSafeFileWriter.h"
#include "document/files/ProjectPaths.h"
#include "document/files/TeachDataFile.h"
#include "model/coordtrans/OCoordTrans_Tsai_Transformer.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/project/OType_ProjectData.h"
#include "model/strings/ResStr.h"
#include "platform/OWaitCursor.h"
#include "platform/UserInteraction.h"

using namespace ExchangePaths;

namespace {

constexpr int kCannotOpen = 5103;
constexpr int kOutOfMemory = 3300;
constexpr int kTeachDataFailed = 2017;
constexpr int kConfigurationFailed = 2018;
constexpr uint64_t kMaxProjectTextBytes = uint64_t{16} << 20;
constexpr int kTeachDataView = 32861;
constexpr const char* kFamily2Only =
    "Check program configurations are made for devices of the new platform only.";

OExchangeFileKind TeachDataKind() {
    return {{".typ", ".zrt", ".bin"}, JoinFilters({5315, 5303, 5310, 5309}), "zrt"};
}

OExchangeFileKind ConfigurationKind() {
    return {{".kvc"}, ResStr(5343), "kvc"};
}

OExchangeFileKind PartListKind(bool family2, bool teach) {
    const std::string ext = family2 ? ".kvl" : ".zrl";
    const int filter = family2 ? (teach ? 5337 : 5338) : (teach ? 5316 : 5317);
    return {{ext, ".txt"}, ResStr(filter), ext.substr(1)};
}

std::string FileNameOf(const std::string& path) {
    return ProjectPaths::FileTitleOf(path);
}

// Marks every part's features for extraction.
void MarkFeaturesModified(OType_ZRPartSet& set) {
    for (OType_PartArray* list : {&set.TeachParts(), &set.TestParts()}) {
        for (int i = 0; i < list->iGetSize(); ++i)
            list->GetAt_NoSort(i)->Features().SetModified(true);
    }
}

// Moves every part of `from` to the end of `to`, numbered as loading numbers them.
void MoveParts(OType_PartArray& from, OType_PartArray& to, bool teach) {
    while (!from.bIsEmpty()) {
        std::unique_ptr<OType_Part> part = from.DetachAt_NoSort(0);
        part->SetTeachPart(teach);
        part->Features().SetModified(true);
        OType_Part* added = to.Add(std::move(part));
        added->SetRecordNo(to.iGetSize());
    }
}

}  // namespace

std::vector<std::string> OProjectExchange::OpenPaths(const std::vector<std::string>& paths,
                                                     const OExchangeFileKind& kind,
                                                     bool multiple) const {
    bool named = !paths.empty();
    for (const std::string& path : paths)
        named = named && bNamesKind(path, kind.extensions);
    std::vector<std::string> chosen = paths;
    if (!named) {
        const std::string given = paths.empty() ? std::string() : paths.front();
        FileDialogRequest request;
        const std::string initial =
            given.size() < kMinimumPathLength
                ? ProjectPaths::Join(m_doc.GetLastFolder(), "*." + kind.defaultExtension)
                : given;
        request.initialPath = ProjectPaths::CleanDialogPath(initial);
        request.filter = kind.filter;
        request.defaultExtension = kind.defaultExtension;
        request.bMultipleSelection = multiple;
        const FileDialogResult answer = m_doc.UI().FileOpen(request);
        if (!answer.bAccepted) return {};
        chosen = answer.paths;
    }
    if (!chosen.empty()) m_doc.SetLastFolder(ProjectPaths::FolderOf(chosen.back()));
    return chosen;
}

OExchangeResult OProjectExchange::LoadProjectText(const std::string& path) {
    ODoc::OBusyScope busy(m_doc);
    if (m_doc.UI().Message(ResStr(5116), MsgIcon::Information, MsgButtons::OkCancel) !=
        MsgResult::Ok)
        return {OExchangeResult::Cancelled};
    const std::vector<std::string> files =
        OpenPaths({path}, {{".txt"}, ResStr(5380), "txt"}, false);
    if (files.empty()) return {OExchangeResult::Cancelled};
    std::vector<uint8_t> bytes;
    std::string error;
    if (!bReadWholeFile(files.front(), kMaxProjectTextBytes, bytes, error))
        return Failure(kCannotOpen, error);
    OType_ProjectData& data = m_doc.opGetSession()->ProjectData();
    OType_ProjectData loaded = data;
    if (!loaded.iFromText({reinterpret_cast<const char*>(bytes.data()), bytes.size()}))
        return Failure(kCannotOpen,
                       "The file is not a project text: every line must read "
                       "\"Key=Value\".");
    data = std::move(loaded);
    m_doc.SetModifiedFlag(1);
    m_doc.RefreshViews();
    return {OExchangeResult::Done, {}, files};
}

OExchangeResult OProjectExchange::LoadPartLists(bool teach, const std::vector<std::string>& paths) {
    ODoc::OBusyScope busy(m_doc);
    OType_ZRPartSet* set = m_doc.opGetActualPartSet();
    const std::vector<std::string> files =
        OpenPaths(paths, PartListKind(m_doc.iGetFamily() == 2, teach), true);
    if (files.empty()) return {OExchangeResult::Cancelled};
    std::vector<std::string> loaded;
    std::string failedFile, error;
    {
        OWaitCursor wait(m_doc.UI());
        for (const std::string& file : files) {
            m_doc.SetLastFolder(ProjectPaths::FolderOf(file));
            bool ok = false;
            try {
                ok = set->iLoadParts(file, teach, &error) == 1;
            } catch (const std::bad_alloc&) {
                error = ResStr(kOutOfMemory);
            }
            if (!ok) {
                failedFile = file;
                break;
            }
            loaded.push_back(file);
        }
    }
    if (!loaded.empty()) {
        set->iShowSetTeachTest(teach ? 1 : 0);
        m_doc.Recompute(set, 1, 0, 1, 1, 0);
        m_doc.bStoreUndoStep(*set, teach ? "Sample parts loaded" : "Test parts loaded", 0);
        m_doc.SetModifiedFlag(1);
    }
    m_doc.RefreshViews();
    OExchangeResult result{OExchangeResult::Done};
    if (!failedFile.empty()) result = Failure(kCannotOpen, FileNameOf(failedFile) + ": " + error);
    result.files = std::move(loaded);
    return result;
}

OExchangeResult OProjectExchange::ApplyTeachData(int partType, std::span<const uint8_t> bytes) {
    OType_ZRPartSet* set = m_doc.opGetActualPartSet();
    const int type = ChoosePartType(partType);
    if (type == -2) return {OExchangeResult::Cancelled};
    if (type < 0) return Failure(kTeachDataFailed, "The check program has no such part type.");
    std::string detail;
    if (!TeachDataFile::iDecode(*set, type, bytes, detail))
        return Failure(kTeachDataFailed, detail);
    MarkFeaturesModified(*set);
    set->iShowSubTypeNo(type);
    set->iShowVectorNo(0);
    m_doc.Recompute(set, 1, 0, 1, 1, 0);
    m_doc.bStoreUndoStep(*set, "Teach-Data loaded", kTeachDataView);
    m_doc.SetModifiedFlag(1);
    m_doc.RefreshViews();
    return {OExchangeResult::Done};
}

OExchangeResult OProjectExchange::LoadTeachData(int partType, const std::string& path) {
    ODoc::OBusyScope busy(m_doc);
    const std::vector<std::string> files = OpenPaths({path}, TeachDataKind(), false);
    if (files.empty()) return {OExchangeResult::Cancelled};
    std::vector<uint8_t> bytes;
    std::string error;
    if (!bReadWholeFile(files.front(), TeachDataFile::kMaxFileBytes, bytes, error))
        return Failure(kTeachDataFailed, error);
    OExchangeResult result = ApplyTeachData(partType, bytes);
    if (result.bDone()) result.files = files;
    return result;
}

bool OProjectExchange::bDecodeConfiguration(const std::string& file, OType_ZRPartSet& decoded,
                                            std::string& message) {
    std::vector<uint8_t> bytes;
    std::string detail;
    try {
        if (!bReadWholeFile(file, ConfigurationFile::kMaxFileBytes, bytes, detail)) {
            message = WithDetail(ResStr(kConfigurationFailed), detail);
            return false;
        }
        m_doc.opGetSession()->PreparePartSet(decoded);
        if (!ConfigurationFile::iDecode(bytes, decoded, detail)) {
            message = WithDetail(ResStr(kConfigurationFailed), detail);
            return false;
        }
    } catch (const std::bad_alloc&) {
        message = ResStr(kOutOfMemory);
        return false;
    }
    return true;
}

OExchangeResult OProjectExchange::ApplyConfiguration(int partSetNo, OType_ZRPartSet& decoded) {
    OQuillon& session = *m_doc.opGetSession();
    OType_ZRPartSetArray& sets = session.PartSets();
    OType_ZRPartSet* target = nullptr;
    bool keepParts = false;
    if (partSetNo < 0 || partSetNo >= sets.iGetNum()) {
        target = session.AddPartSet(false);
        if (!target) return Failure(kConfigurationFailed, "No further check program can be added.");
    } else {
        target = sets.opGetPartSet(partSetNo);
        if (target->bHasPartData()) {
            const MsgResult answer =
                m_doc.UI().Message(ResStr(2109), MsgIcon::Question, MsgButtons::YesNoCancel);
            if (answer == MsgResult::Cancel) return {OExchangeResult::Cancelled};
            keepParts = answer == MsgResult::Yes;
        }
    }
    if (!keepParts) {
        target->TeachParts() = std::move(decoded.TeachParts());
        target->TestParts() = std::move(decoded.TestParts());
    }
    target->TakeSettingsFrom(decoded);

    if (OType_ZRPartSet* actual = m_doc.opGetActualPartSet()) actual->iShowVectorNo(0);
    MarkFeaturesModified(*target);
    OType_ProjectProperties& properties = session.ProjectProperties();
    if (target->TeachParts().bIsEmpty() &&
        (properties.useManualOrientation == 0 || properties.useManualTypes == 0) &&
        m_doc.UI().Message(ResStr(3311), MsgIcon::Question, MsgButtons::YesNo) == MsgResult::Yes) {
        properties.useManualOrientation = 1;
        properties.useManualTypes = 1;
    }
    // The properties dialog may change the target, which rebuilds the part sets: keep the
    // loaded one by its number.
    const int index = sets.iGetPos(target);
    if (!m_doc.CheckProjectConsistency()) {
        m_doc.UI().Message(ResStr(4240), MsgIcon::Warning);
        m_doc.EditProjectProperties(1);
    }
    m_doc.RecomputeAll(1, 0, 1, 1, 0);
    if (OType_ZRPartSet* loaded = sets.opGetPartSet(index)) {
        loaded->UndoRedo().bStartUndoRedo(*loaded);
        sets.iSetActualPartSetNo(index);
    }
    m_doc.RefreshViews();
    m_doc.RefreshPartSetBar(1);
    m_doc.SetModifiedFlag(1);
    return {OExchangeResult::Done};
}

OExchangeResult OProjectExchange::LoadConfiguration(int partSetNo, const std::string& path) {
    ODoc::OBusyScope busy(m_doc);
    if (m_doc.iGetFamily() != 2) return Failure(kConfigurationFailed, kFamily2Only);
    const std::vector<std::string> files = OpenPaths({path}, ConfigurationKind(), false);
    if (files.empty()) return {OExchangeResult::Cancelled};
    OType_ZRPartSet decoded;
    std::string message;
    {
        OWaitCursor wait(m_doc.UI());
        if (!bDecodeConfiguration(files.front(), decoded, message)) {
            m_doc.UI().Message(message, MsgIcon::Error);
            return {OExchangeResult::Failed, message};
        }
    }
    OExchangeResult result = ApplyConfiguration(partSetNo, decoded);
    if (result.bDone()) result.files = files;
    return result;
}

OExchangeResult OProjectExchange::LoadCalibration(const std::string& path) {
    ODoc::OBusyScope busy(m_doc);
    if (m_doc.UI().Message(ResStr(5133), MsgIcon::Question, MsgButtons::OkCancel) != MsgResult::Ok)
        return {OExchangeResult::Cancelled};
    const std::vector<std::string> files =
        OpenPaths({path}, {{".kvtr"}, ResStr(5382), "kvtr"}, false);
    if (files.empty()) return {OExchangeResult::Cancelled};
    std::vector<uint8_t> bytes;
    std::string error;
    if (!bReadWholeFile(files.front(), CalibrationFiles::kMaxTransformerFileBytes, bytes, error))
        return Failure(kCannotOpen, error);
    OCoordTrans_Tsai_Transformer transformer;
    if (!transformer.iDecode(bytes))
        return Failure(kCannotOpen,
                       "The file holds no calibration of the coordinate "
                       "transformation, or the calibration is damaged.");
    m_doc.opGetSession()->CoordTransformer() = transformer;
    m_doc.RecomputeAll(1, 0, 1, 1, 0);
    m_doc.SetModifiedFlag(1);
    m_doc.RefreshViews();
    return {OExchangeResult::Done, {}, files};
}

// --- opening by path ---

bool OProjectExchange::bPrepareOpen(OpenKind kind, const std::string& path, std::string& message) {
    m_openKind = kind;
    m_openPath = path;
    m_openBytes.reset();
    m_openParts = std::make_unique<OType_ZRPartSet>();
    std::string detail;
    try {
        switch (kind) {
            case OpenKind::TeachData: {
                std::vector<uint8_t> bytes;
                if (!bReadWholeFile(path, TeachDataFile::kMaxFileBytes, bytes, detail)) break;
                // Checked on a part type of its own; applied once the new project exists.
                m_doc.opGetSession()->PreparePartSet(*m_openParts);
                m_openParts->SetNumSubTypes(1);
                if (!TeachDataFile::iDecode(*m_openParts, 0, bytes, detail)) break;
                m_openBytes = std::move(bytes);
                return true;
            }
            case OpenKind::Configuration:
                return bDecodeConfiguration(path, *m_openParts, message);
            case OpenKind::PartList:
                if (m_openParts->iLoadParts(path, true, &detail) != 1) break;
                return true;
        }
    } catch (const std::bad_alloc&) {
        message = ResStr(kOutOfMemory);
        return false;
    }
    const int textId = kind == OpenKind::TeachData       ? kTeachDataFailed
                       : kind == OpenKind::Configuration ? kConfigurationFailed
                                                         : kCannotOpen;
    message = WithDetail(ResStr(textId), detail);
    return false;
}

int OProjectExchange::iApplyOpen() {
    OType_ZRPartSet* set = m_doc.opGetActualPartSet();
    if (!set || !m_openParts) return 0;
    OExchangeResult result{OExchangeResult::Done};
    switch (m_openKind) {
        case OpenKind::TeachData:
            result = ApplyTeachData(-1, *m_openBytes);
            break;
        case OpenKind::Configuration:
            if (m_doc.iGetFamily() != 2) {
                result = Failure(kConfigurationFailed, kFamily2Only);
                break;
            }
            result = ApplyConfiguration(m_doc.opGetSession()->PartSets().iGetActualPartSetNo(),
                                        *m_openParts);
            break;
        case OpenKind::PartList: {
            const bool teach = m_doc.UI().Message(ResStr(5004), MsgIcon::Question,
                                                  MsgButtons::YesNo) == MsgResult::Yes;
            MoveParts(m_openParts->TeachParts(), teach ? set->TeachParts() : set->TestParts(),
                      teach);
            m_doc.Recompute(set, 1, teach ? 0 : 1, 1, 1, 0);
            set->iShowSetTeachTest(teach ? 1 : 0);
            break;
        }
    }
    m_openParts.reset();
    m_openBytes.reset();
    return result.code == OExchangeResult::Failed ? 0 : 1;
}
