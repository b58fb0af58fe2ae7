#include "device/ODlg_TransferData.h"

#include <algorithm>
#include <chrono>
#include <new>
#include <thread>

#include "device/DeviceComparison.h"
#include "device/DeviceIdentification.h"
#include "device/DeviceInfoBuilder.h"
#include "device/OQuillon.h"
#include "device/TargetSystem.h"
#include "device/TargetSystemSettings.h"
#include "document/CommandIds.h"
#include "document/ODoc.h"
#include "document/files/OProjectExchange.h"
#include "link/LinkProtocol.h"
#include "link/OQuillonComInterface.h"
#include "link/OType_CheckProgramObjects.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/CodePage.h"
#include "model/strings/FormatPrintf.h"
#include "model/strings/ResStr.h"
#include "platform/UserInteraction.h"

namespace {

// Document commands the dialog runs for the project's check programs.
constexpr int kDocAddProgram = Cmd::kAddPartSet;
constexpr int kDocCopyProgram = Cmd::kCopyPartSet;
constexpr int kDocPasteProgram = Cmd::kPastePartSet;

constexpr int kAllPrograms = 65535;
constexpr auto kAfterClearAll = std::chrono::milliseconds(500);

constexpr int kProcessing = 2119;
constexpr int kReceiving = 2120;
constexpr int kDevicePrefix = 3233;
constexpr int kDeleteQuestion = 3285;
constexpr int kNoMemory = 3300;
constexpr int kSkipPartType = 4006;
constexpr int kBusy = 4021;
constexpr int kExchangeFailed = 4111;
constexpr int kTransferred = 4130;
constexpr int kNotIdentified = 4213;
constexpr int kReceivingCoordTrans = 4179;
constexpr int kCoordTransNotTaken = 9829;

constexpr const char* kNoTypeMemorySelected = "This action requires a selected type memory.";
constexpr const char* kNameNotStorable =
    "The name holds characters that cannot be stored in a check program.";

std::string Join(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += (text.empty() ? "" : "\n") + line;
    return text;
}

std::vector<int> Normalised(std::vector<int> rows, int count) {
    std::erase_if(rows, [count](int r) { return r < 0 || r >= count; });
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

}  // namespace

ODlg_TransferData::ODlg_TransferData(ODoc& doc) : m_doc(doc) {
    m_programMode = Session().bIsNewPlatformTarget();
    const int actual = Session().PartSets().iGetActualPartSetNo();
    if (m_programMode && actual >= 0) m_projectSelection = {actual};
    if (!m_programMode && Session().opGetActualPartSet() &&
        Session().opGetActualPartSet()->iGetNum_SubTypes() > 0)
        m_projectSelection = {0};
    SetState(Session().bIsOnline() ? "Connected. Press \"< Connect >\" to read the device."
                                   : "Not connected. Press \"< Connect >\" to read the device.");
}

OQuillon& ODlg_TransferData::Session() const {
    return *m_doc.opGetSession();
}

OQuillonComInterface* ODlg_TransferData::Link() const {
    return Session().opGetConnection();
}

bool ODlg_TransferData::bDeviceUsable() const {
    return Link() && Session().bIsOnline() && !Session().bIsBusy();
}

void ODlg_TransferData::SetState(std::string text) {
    m_state = std::move(text);
    if (onProgress) onProgress();
}

void ODlg_TransferData::RunDocumentCommand(int id) {
    m_doc.OnCommand(id, 0);
}

// --- lists ---

std::string ODlg_TransferData::ProjectHeader() const {
    return ResStr(128) + ":";
}

std::vector<std::string> ODlg_TransferData::ProjectColumns() const {
    if (m_programMode) return {"No.", "Check program", "Tools", "Sample parts"};
    return {"No.", "Part type", "Orientations"};
}

std::vector<std::string> ODlg_TransferData::DeviceColumns() const {
    if (m_programMode) return {"Slot", "Name", "Size"};
    return {"Type memory"};
}

std::vector<std::string> ODlg_TransferData::ProgramNames() const {
    std::vector<std::string> names;
    const OType_ZRPartSetArray& sets = Session().PartSets();
    for (int i = 0; i < sets.iGetNum(); ++i)
        names.push_back(sets.opGetPartSet(i)->GetName());
    return names;
}

std::vector<OTransferRow> ODlg_TransferData::ProjectRows() const {
    std::vector<OTransferRow> rows;
    if (m_programMode) {
        const OType_ZRPartSetArray& sets = Session().PartSets();
        for (int i = 0; i < sets.iGetNum(); ++i) {
            const OType_ZRPartSet& set = *sets.opGetPartSet(i);
            rows.push_back({std::to_string(i + 1), set.GetName(),
                            std::to_string(set.Tools().iGetNum()),
                            std::to_string(set.TeachParts().iGetSize())});
        }
        return rows;
    }
    if (const OType_ZRPartSet* set = Session().opGetActualPartSet()) {
        for (int t = 0; t < set->iGetNum_SubTypes(); ++t) {
            const auto* type = set->opGetSubType(t);
            rows.push_back({std::to_string(t + 1), type->GetName(),
                            std::to_string(type->iGetNumOrientations())});
        }
    }
    return rows;
}

std::string ODlg_TransferData::SizeText(uint32_t bytes) {
    return bytes < 1024 ? FormatPrintf("%d Bytes", static_cast<int>(bytes))
                        : FormatPrintf("%d KB", static_cast<int>(bytes / 1024));
}

std::vector<OTransferRow> ODlg_TransferData::DeviceRows() const {
    std::vector<OTransferRow> rows;
    if (!m_programMode) {
        for (int n = 1; n <= m_typeMemories; ++n)
            rows.push_back({FormatPrintf("Type memory %d", n)});
        return rows;
    }
    for (const LinkPayload::OProgramNumber& slot : m_slots) {
        std::string size;
        for (const LinkPayload::OProgramEntry& e : m_programs) {
            if (!slot.name.empty() && e.name == slot.name && e.number == slot.number)
                size = SizeText(e.size);
        }
        rows.push_back({std::to_string(slot.number), slot.name, size});
    }
    return rows;
}

void ODlg_TransferData::SelectProject(std::vector<int> rows) {
    m_projectSelection = Normalised(std::move(rows), static_cast<int>(ProjectRows().size()));
}

void ODlg_TransferData::SelectDevice(std::vector<int> rows) {
    m_deviceSelection = Normalised(std::move(rows), static_cast<int>(DeviceRows().size()));
}

std::string ODlg_TransferData::CountText() const {
    const int project = static_cast<int>(ProjectRows().size());
    if (m_programMode) {
        const auto used = std::count_if(m_slots.begin(), m_slots.end(),
                                        [](const auto& s) { return !s.name.empty(); });
        return m_compared ? FormatPrintf(
                                "%d check programs in the project, %d of %d slots used "
                                "in the device",
                                project, static_cast<int>(used), static_cast<int>(m_slots.size()))
                          : FormatPrintf("%d check programs in the project", project);
    }
    return m_compared ? FormatPrintf(
                            "%d part types in the check program, %d type memories in the "
                            "device",
                            project, m_typeMemories)
                      : FormatPrintf("%d part types in the check program", project);
}

// --- controls ---

bool ODlg_TransferData::bHasControl(int id) const {
    using namespace TransferControl;
    switch (id) {
        case kConnect:
        case kCopyToDevice:
        case kCopyFromDevice:
        case kDeleteInDevice:
        case kNew:
        case kCopy:
        case kPaste:
        case kRename:
        case kImport:
        case kExport:
            return true;
        case kDeleteInProject:
        case kMoveUp:
        case kMoveDown:
            return m_programMode;
        default:
            return false;
    }
}

std::string ODlg_TransferData::ControlText(int id) const {
    using namespace TransferControl;
    switch (id) {
        case kConnect:
            return "< Connect >";
        case kCopyToDevice:
            return "Copy to device >";
        case kCopyFromDevice:
            return "< Copy from device";
        case kDeleteInDevice:
            return "Delete >";
        case kDeleteInProject:
            return "Delete";
        case kNew:
            return "New";
        case kCopy:
            return "Copy";
        case kMoveUp:
            return "Move up";
        case kMoveDown:
            return "Move down";
        case kPaste:
            return "Paste";
        case kRename:
            return "Rename";
        case kImport:
            return "Import from file";
        case kExport:
            return "Export to file";
        default:
            return {};
    }
}

OCommandState ODlg_TransferData::ControlState(int id) const {
    using namespace TransferControl;
    OCommandState state;
    if (!bHasControl(id)) return state;
    const bool device = bDeviceUsable() && m_compared;
    const size_t project = m_projectSelection.size();
    const int programs = Session().PartSets().iGetNum();
    switch (id) {
        case kConnect:
            state.enabled = Link() != nullptr && !Session().bIsBusy();
            break;
        case kCopyToDevice:
            state.enabled = device && project == 1 && !m_deviceSelection.empty();
            break;
        case kCopyFromDevice:
            state.enabled = device && !m_deviceSelection.empty() &&
                            (project == 1 || (m_programMode && project == 0));
            break;
        case kDeleteInDevice:
            state.enabled = device;
            break;
        case kDeleteInProject:
            state.enabled = project > 0 && programs > 1;
            break;
        case kNew:
            state.enabled = m_programMode && m_doc.GetCommandState(kDocAddProgram).enabled;
            break;
        case kCopy:
            state.enabled =
                m_programMode && project == 1 && m_doc.GetCommandState(kDocCopyProgram).enabled;
            break;
        case kPaste:
            state.enabled = m_programMode && m_doc.GetCommandState(kDocPasteProgram).enabled;
            break;
        case kMoveUp:
            state.enabled = project > 0 && m_projectSelection.front() > 0;
            break;
        case kMoveDown:
            state.enabled = project > 0 && m_projectSelection.back() + 1 < programs;
            break;
        case kRename:
            state.enabled = project == 1;
            break;
        case kExport:
            state.enabled = project > 0;
            break;
        case kImport:
            state.enabled = m_programMode || !ProjectRows().empty();
            break;
        default:
            break;
    }
    return state;
}

bool ODlg_TransferData::bExecute(int id) {
    using namespace TransferControl;
    if (!bHasControl(id)) return false;
    if (!ControlState(id).enabled) return true;
    switch (id) {
        case kConnect:
            Connect();
            break;
        case kCopyToDevice:
            CopyToDevice();
            break;
        case kCopyFromDevice:
            CopyFromDevice();
            break;
        case kDeleteInDevice:
            DeleteInDevice();
            break;
        case kDeleteInProject:
            DeleteInProject();
            break;
        case kNew:
            NewProgram();
            break;
        case kCopy:
            CopyProgram();
            break;
        case kPaste:
            PasteProgram();
            break;
        case kMoveUp:
            MoveUp();
            break;
        case kMoveDown:
            MoveDown();
            break;
        case kRename:
            Rename();
            break;
        case kExport:
            ExportToFile();
            break;
        case kImport:
            ImportFromFile();
            break;
        default:
            return false;
    }
    return true;
}

// --- connect and compare ---

void ODlg_TransferData::Connect() {
    OQuillon& session = Session();
    if (!Link() || (!session.bIsOnline() && !session.EnsureConnected())) {
        m_closeRequested = true;
        return;
    }
    SetState(ResStr(4008));
    // A device that stopped answering is told here; a failed upload tells itself (4201).
    if (!session.EnsureConnected()) {
        m_doc.UI().Message(ResStr(kNotIdentified), MsgIcon::Error);
        SetState(ResStr(kNotIdentified));
        return;
    }
    ZRINFO reported;
    if (!session.UploadDeviceInfo(reported)) {
        SetState(ResStr(4201));
        return;
    }
    const int hardware = DeviceInfo::ReadTarget(reported).hardware;
    const OIdentification identified = DeviceIdentification::Identify(
        reported, TargetSystemSettings::ReadToolLimits(session.SettingsStore(), hardware));
    std::vector<std::string> fresh;
    for (const std::string& line : DeviceComparison::Differences(session, reported, identified)) {
        m_deviceDiffers = true;
        // A difference is told once; the device is compared again after every copy.
        if (std::find(m_reported.begin(), m_reported.end(), line) == m_reported.end()) {
            m_reported.push_back(line);
            fresh.push_back(line);
        }
    }
    m_compared = true;
    if (!fresh.empty()) m_doc.UI().Message(Join(fresh), MsgIcon::Warning);
    const bool listed = bReadDeviceLists();
    SelectDevice(m_deviceSelection);
    const std::string device = reported.GetDeviceTypeText();
    SetState(FormatPrintf("Connected to %s (%s, %s).%s", device.empty() ? "the device" : device,
                          TargetSystem::HardwareName(identified.target.hardware),
                          TargetSystem::SoftwareName(identified.target.software),
                          !listed           ? " Its lists could not be read."
                          : m_deviceDiffers ? " The device differs from the project."
                                            : ""));
}

bool ODlg_TransferData::bReadDeviceLists() {
    if (!m_programMode) {
        m_typeMemories = std::max(0, Session().GetTargetSystem().partTypes);
        return true;
    }
    OQuillonComInterface* link = Link();
    OType_CheckProgramNrList numbers;
    OType_CheckProgramList programs;
    if (!link || numbers.iReceive(*link) != LinkProtocol::Result::kOk ||
        programs.iReceive(*link) != LinkProtocol::Result::kOk) {
        m_doc.UI().Message(ResStr(kExchangeFailed), MsgIcon::Error);
        return false;
    }
    m_slots = numbers.Numbers();
    m_programs = programs.Entries();
    return true;
}

// --- copy to the device ---

void ODlg_TransferData::ReceiveCoordTransAfterCopy(bool programUsesIt) {
    OQuillonComInterface* link = Link();
    if (!programUsesIt || !link) return;
    SetState(ResStr(kReceivingCoordTrans));
    link->SetStatusModus(ResStr(kReceivingCoordTrans));
    const int r = link->iReceiveCoordTransformerParameters(Session().CoordTransformer());
    link->SetStatusModus(" ");
    if (r != LinkProtocol::Result::kOk)
        m_doc.UI().Message(ResStr(kCoordTransNotTaken), MsgIcon::Warning);
}

void ODlg_TransferData::CopyToDevice() {
    OQuillon& session = Session();
    OType_ZRPartSet* actual = session.opGetActualPartSet();
    if (!bDeviceUsable() || m_projectSelection.size() != 1 || m_deviceSelection.empty() || !actual)
        return;
    UserInteraction& ui = m_doc.UI();
    const int item = m_projectSelection.front();
    const int total = static_cast<int>(m_deviceSelection.size());
    int done = 0;
    bool ok = true;
    try {
        for (int row : m_deviceSelection) {
            SetState(ResStrFormat(kProcessing, done + 1, total));
            if (m_programMode) {
                ok = session.DownloadProgram(item, m_slots[static_cast<size_t>(row)].number, 0);
            } else {
                const int number = row + 1;
                const auto* type = actual->opGetSubType(item);
                if (!type) {
                    ok = false;
                } else if (type->iGetNumOrientations() < 1) {
                    const MsgResult skip = ui.Message(ResStrFormat(kSkipPartType, item + 1),
                                                      MsgIcon::Question, MsgButtons::YesNo);
                    ok = skip == MsgResult::Yes || session.ClearPartData(number) == 1;
                } else {
                    ok = session.DownloadPartData(item, number) == 1;
                }
            }
            if (!ok) break;
            ++done;
        }
    } catch (const std::bad_alloc&) {
        ui.Message(ResStr(kNoMemory), MsgIcon::Error);
        ok = false;
    }
    if (!ok) TellFailure();
    if (done > 0 && m_programMode) {
        const OType_ZRPartSet* copied = session.opGetPartSet(item);
        ReceiveCoordTransAfterCopy(copied && copied->bIsCoordTransformerUsed());
    }
    Connect();
    if (ok) ui.Message(ResStr(kTransferred), MsgIcon::Information);
    SetState(ok ? ResStr(kTransferred)
                : FormatPrintf("The transfer stopped after %d of %d items.", done, total));
}

// The session tells the refusals of check-program transfers itself, but not a busy device
// (its transfers refuse one silently) nor the failures of part-data transfers other than a
// rejection (2065).
void ODlg_TransferData::TellFailure() {
    OQuillon& session = Session();
    if (session.bIsOnline() && session.bIsBusy()) {
        m_doc.UI().Message(ResStr(kBusy), MsgIcon::Warning);
    } else if (!m_programMode && (!Link() || Link()->GetLastComInterfaceError() !=
                                                 LinkProtocol::Result::kTransferRejected)) {
        m_doc.UI().Message(ResStr(kExchangeFailed), MsgIcon::Error);
    }
}

// --- copy from the device ---

std::string ODlg_TransferData::NewProgramName(const std::string& deviceName) const {
    const std::vector<std::string> names = ProgramNames();
    const std::string base = ResStr(kDevicePrefix) + " " + deviceName;
    auto taken = [&](const std::string& n) {
        return std::find(names.begin(), names.end(), n) != names.end();
    };
    std::string name = base;
    for (int n = 2; taken(name); ++n)
        name = FormatPrintf("%s (%d)", base, n);
    return name;
}

void ODlg_TransferData::CopyFromDevice() {
    OQuillon& session = Session();
    if (!bDeviceUsable() || m_deviceSelection.empty()) return;
    UserInteraction& ui = m_doc.UI();
    const int total = static_cast<int>(m_deviceSelection.size());
    const bool intoNew = m_programMode && m_projectSelection.empty();
    if (!intoNew && m_projectSelection.size() != 1) return;
    int done = 0;
    bool ok = true;
    bool coordTrans = false;
    try {
        for (int row : m_deviceSelection) {
            SetState(ResStrFormat(kReceiving, done + 1, total));
            if (!m_programMode) {
                ok = session.UploadPartData(m_projectSelection.front(), row + 1) == 1;
            } else if (!intoNew) {
                const int item = m_projectSelection.front();
                ok = session.UploadProgram(item, m_slots[static_cast<size_t>(row)].number, 0) == 1;
                coordTrans = coordTrans || session.opGetPartSet(item)->bIsCoordTransformerUsed();
            } else {
                const LinkPayload::OProgramNumber& slot = m_slots[static_cast<size_t>(row)];
                OType_ZRPartSet* set = session.AddPartSet(false);
                const int index = session.PartSets().iGetPos(set);
                ok = set && session.UploadProgram(index, slot.number, 1) == 1;
                if (!ok) {
                    if (index >= 0) session.PartSets().RemoveAt(index);
                } else {
                    const std::string name = NewProgramName(slot.name);
                    if (bIsConvertibleToAnsi(name)) set->SetName(name);
                    set->UndoRedo().bStartUndoRedo(*set);
                    coordTrans = coordTrans || set->bIsCoordTransformerUsed();
                }
            }
            if (!ok) break;
            ++done;
        }
    } catch (const std::bad_alloc&) {
        ui.Message(ResStr(kNoMemory), MsgIcon::Error);
        ok = false;
    }
    if (!ok) TellFailure();
    if (done > 0) {
        m_doc.SetModifiedFlag(1);
        if (m_programMode) ReceiveCoordTransAfterCopy(coordTrans);
    }
    SelectProject(m_projectSelection);
    SetState(ok ? FormatPrintf("%d of %d received from the device.", done, total)
                : FormatPrintf("The transfer stopped after %d of %d items.", done, total));
}

// --- delete in the device ---

void ODlg_TransferData::DeleteInDevice() {
    OQuillon& session = Session();
    if (!bDeviceUsable()) return;
    UserInteraction& ui = m_doc.UI();
    if (m_deviceSelection.empty()) {
        ui.Message(kNoTypeMemorySelected, MsgIcon::Information);
        return;
    }
    const int total = static_cast<int>(m_deviceSelection.size());
    bool ok = true;
    if (total == static_cast<int>(DeviceRows().size())) {
        if (m_programMode) {
            ok = session.ClearProgram(kAllPrograms) == 1;
            if (ok) std::this_thread::sleep_for(kAfterClearAll);
        } else {
            ok = session.ClearAllPartData() == 1;
        }
    } else {
        int n = 0;
        for (int row : m_deviceSelection) {
            SetState(ResStrFormat(kProcessing, ++n, total));
            ok = m_programMode ? session.ClearProgram(row) == 1
                               : session.ClearPartData(row + 1) == 1;
            if (!ok) break;
        }
    }
    if (!ok) ui.Message(ResStr(kExchangeFailed), MsgIcon::Error);
    if (Link()) Link()->SetStatusModus(" ");
    Connect();
}

// --- the project's programs ---

void ODlg_TransferData::DeleteInProject() {
    OQuillon& session = Session();
    if (!m_programMode || m_projectSelection.empty()) return;
    if (m_doc.UI().Message(ResStr(kDeleteQuestion), MsgIcon::Question, MsgButtons::OkCancel) !=
        MsgResult::Ok)
        return;
    OType_ZRPartSetArray& sets = session.PartSets();
    for (auto it = m_projectSelection.rbegin(); it != m_projectSelection.rend(); ++it) {
        if (sets.iGetNum() <= 1) break;
        sets.RemoveAt(*it);
    }
    m_projectSelection = {sets.iGetActualPartSetNo()};
    m_doc.SetModifiedFlag(1);
    m_doc.RefreshPartSetBar(1);
}

void ODlg_TransferData::NewProgram() {
    RunDocumentCommand(kDocAddProgram);
    m_projectSelection = {Session().PartSets().iGetActualPartSetNo()};
}

void ODlg_TransferData::CopyProgram() {
    if (m_projectSelection.size() != 1) return;
    Session().PartSets().iSetActualPartSetNo(m_projectSelection.front());
    RunDocumentCommand(kDocCopyProgram);
}

void ODlg_TransferData::PasteProgram() {
    RunDocumentCommand(kDocPasteProgram);
    m_projectSelection = {Session().PartSets().iGetActualPartSetNo()};
}

void ODlg_TransferData::MoveUp() {
    Move(-1);
}

void ODlg_TransferData::MoveDown() {
    Move(1);
}

void ODlg_TransferData::Move(int direction) {
    OType_ZRPartSetArray& sets = Session().PartSets();
    if (!m_programMode || m_projectSelection.empty()) return;
    std::vector<int> rows = m_projectSelection;
    if (direction > 0) std::reverse(rows.begin(), rows.end());
    // A program stops at the end of the list or behind one that could not move either.
    int limit = direction < 0 ? 0 : sets.iGetNum() - 1;
    std::vector<int> moved;
    for (int row : rows) {
        const bool canMove = direction < 0 ? row > limit : row < limit;
        const int to = canMove ? row + direction : row;
        if (canMove) sets.bSwap(row, to);
        moved.push_back(to);
        limit = to - direction;
    }
    SelectProject(moved);
    m_doc.SetModifiedFlag(1);
    m_doc.RefreshPartSetBar(1);
}

void ODlg_TransferData::Rename() {
    OQuillon& session = Session();
    if (m_projectSelection.size() != 1) return;
    const int item = m_projectSelection.front();
    OType_ZRPartSet* set =
        m_programMode ? session.opGetPartSet(item) : session.opGetActualPartSet();
    if (!set) return;
    auto* type = m_programMode ? nullptr : set->opGetSubType(item);
    if (!m_programMode && !type) return;
    std::string name = m_programMode ? set->GetName() : type->GetName();
    UserInteraction& ui = m_doc.UI();
    if (!ui.GetText(m_programMode ? "Rename check program" : "Rename part type",
                    m_programMode ? "Name of check program:" : "Name of part type:", name))
        return;
    if (!bIsConvertibleToAnsi(name)) {
        ui.Message(kNameNotStorable, MsgIcon::Warning);
        return;
    }
    const std::string old = m_programMode ? set->GetName() : type->GetName();
    if (name == old) return;
    if (m_programMode) {
        set->SetName(name);
    } else {
        type->SetName(name);
    }
    m_doc.bStoreUndoStep(*set, "Partsetproperties", 0);
    m_doc.SetModifiedFlag(1);
    m_doc.RefreshPartSetBar(1);
}

// --- files ---

void ODlg_TransferData::ExportToFile() {
    OProjectExchange& exchange = m_doc.Exchange();
    const std::vector<int> rows = m_projectSelection;
    const int total = static_cast<int>(rows.size());
    int done = 0;
    for (int row : rows) {
        SetState(ResStrFormat(kProcessing, done + 1, total));
        // Every file gets its own save dialog; the exchange tells a failure itself.
        const OExchangeResult result =
            m_programMode ? exchange.SaveConfiguration({}, row) : exchange.SaveTeachData(row, {});
        if (!result.bDone()) break;
        ++done;
    }
    SetState(FormatPrintf("%d of %d written to files.", done, total));
}

void ODlg_TransferData::ImportFromFile() {
    OProjectExchange& exchange = m_doc.Exchange();
    const int chosen = m_projectSelection.size() == 1 ? m_projectSelection.front() : -1;
    OExchangeResult result;
    if (m_programMode) {
        result = exchange.LoadConfiguration(chosen, {});
        // The program loaded is the actual one now: a new one at the end or the chosen one.
        if (result.bDone()) m_projectSelection = {Session().PartSets().iGetActualPartSetNo()};
    } else {
        result = exchange.LoadTeachData(chosen, {});
    }
    SelectProject(m_projectSelection);
    SetState(result.bDone() ? "Loaded from " + result.files.front() + "."
             : result.code == OExchangeResult::Cancelled ? "Nothing was loaded."
                                                         : "The file could not be loaded.");
}
