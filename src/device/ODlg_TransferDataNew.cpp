#include "device/ODlg_TransferDataNew.h"

#include <algorithm>
#include <ctime>
#include <new>

#include "device/OQuillon.h"
#include "document/ODoc.h"
#include "link/LinkProtocol.h"
#include "link/OQuillonComInterface.h"
#include "link/OType_CheckProgramObjects.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/FormatPrintf.h"
#include "model/strings/ResStr.h"
#include "platform/UserInteraction.h"

namespace {

constexpr int kProcessing = 2119;
constexpr int kReceiving = 2120;
constexpr int kNoMemory = 3300;
constexpr int kExchangeFailed = 4111;
constexpr int kTransferred = 4130;

std::string StampText(int64_t seconds) {
    if (seconds <= 0) return {};
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (!localtime_r(&t, &local)) return {};
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return text;
}

}  // namespace

ODlg_TransferDataNew::ODlg_TransferDataNew(ODoc& doc) : ODlg_TransferData(doc) {}

std::vector<std::string> ODlg_TransferDataNew::DeviceColumns() const {
    return {"Name", "Size", "Date", "Number"};
}

std::vector<OTransferRow> ODlg_TransferDataNew::DeviceRows() const {
    std::vector<OTransferRow> rows;
    for (const LinkPayload::OProgramEntry& e : m_programs)
        rows.push_back({e.name, SizeText(e.size), StampText(e.timeStamp),
                        e.number >= 0 ? std::to_string(e.number) : std::string()});
    return rows;
}

std::vector<OTransferRow> ODlg_TransferDataNew::NumberRows() const {
    std::vector<OTransferRow> rows;
    for (const LinkPayload::OProgramNumber& n : m_slots)
        rows.push_back({FormatPrintf("   %d   ", n.number), n.name});
    return rows;
}

void ODlg_TransferDataNew::SelectNumbers(std::vector<int> rows) {
    const int count = static_cast<int>(m_slots.size());
    std::erase_if(rows, [count](int r) { return r < 0 || r >= count; });
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    m_numberSelection = std::move(rows);
}

bool ODlg_TransferDataNew::bHasControl(int id) const {
    using namespace TransferControl;
    return id == kNumberList || id == kAssign || id == kDeleteAssignment ||
           ODlg_TransferData::bHasControl(id);
}

std::string ODlg_TransferDataNew::ControlText(int id) const {
    using namespace TransferControl;
    switch (id) {
        case kCopyToDevice:
            return "Copy  >";
        case kCopyFromDevice:
            return "<  Copy";
        case kDeleteInDevice:
            return "Delete  >";
        case kAssign:
            return "Assign  >";
        case kDeleteAssignment:
            return "Delete  >";
        default:
            return ODlg_TransferData::ControlText(id);
    }
}

OCommandState ODlg_TransferDataNew::ControlState(int id) const {
    using namespace TransferControl;
    OCommandState state;
    const bool device = bDeviceUsable() && m_compared;
    switch (id) {
        case kCopyToDevice:
            state.enabled = device && m_projectSelection.size() == 1;
            return state;
        case kCopyFromDevice:
            state.enabled = device && !m_deviceSelection.empty() && m_projectSelection.size() <= 1;
            return state;
        case kDeleteInDevice:
            state.enabled = device && !m_deviceSelection.empty();
            return state;
        case kAssign:
            state.enabled = device && m_deviceSelection.size() == 1 && !m_numberSelection.empty();
            return state;
        case kDeleteAssignment:
            state.enabled = device && !m_numberSelection.empty();
            return state;
        case kNumberList:
            state.enabled = true;
            return state;
        default:
            return ODlg_TransferData::ControlState(id);
    }
}

bool ODlg_TransferDataNew::bExecute(int id) {
    using namespace TransferControl;
    if (id == kAssign || id == kDeleteAssignment) {
        if (!ControlState(id).enabled) return true;
        if (id == kAssign) {
            AssignNumbers();
        } else {
            DeleteAssignments();
        }
        return true;
    }
    return ODlg_TransferData::bExecute(id);
}

bool ODlg_TransferDataNew::bReadDeviceLists() {
    OQuillonComInterface* link = Link();
    OType_CheckProgramNrList numbers;
    OType_CheckProgramList programs;
    if (!link || programs.iReceive(*link) != LinkProtocol::Result::kOk ||
        numbers.iReceive(*link) != LinkProtocol::Result::kOk) {
        m_doc.UI().Message(ResStr(kExchangeFailed), MsgIcon::Error);
        return false;
    }
    m_programs = programs.Entries();
    m_slots = numbers.Numbers();
    SelectNumbers(m_numberSelection);
    return true;
}

void ODlg_TransferDataNew::CopyToDevice() {
    if (!bDeviceUsable() || m_projectSelection.size() != 1) return;
    OQuillon& session = Session();
    UserInteraction& ui = m_doc.UI();
    bool ok = false;
    SetState(ResStrFormat(kProcessing, 1, 1));
    try {
        ok = session.DownloadProgramFile(m_projectSelection.front()) == 1;
    } catch (const std::bad_alloc&) {
        ui.Message(ResStr(kNoMemory), MsgIcon::Error);
    }
    if (!ok) ui.Message(ResStr(kExchangeFailed), MsgIcon::Error);
    const OType_ZRPartSet* copied = session.opGetPartSet(m_projectSelection.front());
    if (ok) ReceiveCoordTransAfterCopy(copied && copied->bIsCoordTransformerUsed());
    Connect();
    if (ok) ui.Message(ResStr(kTransferred), MsgIcon::Information);
    SetState(ok ? ResStr(kTransferred) : ResStr(kExchangeFailed));
}

void ODlg_TransferDataNew::CopyFromDevice() {
    if (!bDeviceUsable() || m_deviceSelection.empty() || m_projectSelection.size() > 1) return;
    OQuillon& session = Session();
    UserInteraction& ui = m_doc.UI();
    const int total = static_cast<int>(m_deviceSelection.size());
    int done = 0;
    bool ok = true;
    bool coordTrans = false;
    try {
        for (int row : m_deviceSelection) {
            SetState(ResStrFormat(kReceiving, done + 1, total));
            const std::string& name = m_programs[static_cast<size_t>(row)].name;
            if (!m_projectSelection.empty()) {
                OType_ZRPartSet* set = session.opGetPartSet(m_projectSelection.front());
                ok = set && session.UploadProgramFile(*set, name) == 1;
                coordTrans = coordTrans || (ok && set->bIsCoordTransformerUsed());
            } else {
                OType_ZRPartSet* set = session.AddPartSet(false);
                ok = set && session.UploadProgramFile(*set, name) == 1;
                if (!ok && set) session.PartSets().RemoveAt(session.PartSets().iGetPos(set));
                coordTrans = coordTrans || (ok && set->bIsCoordTransformerUsed());
            }
            if (!ok) break;
            ++done;
        }
    } catch (const std::bad_alloc&) {
        ui.Message(ResStr(kNoMemory), MsgIcon::Error);
        ok = false;
    }
    if (!ok) ui.Message(ResStr(kExchangeFailed), MsgIcon::Error);
    if (done > 0) {
        m_doc.SetModifiedFlag(1);
        ReceiveCoordTransAfterCopy(coordTrans);
    }
    SelectProject(m_projectSelection);
    SetState(ok ? FormatPrintf("%d of %d received from the device.", done, total)
                : FormatPrintf("The transfer stopped after %d of %d items.", done, total));
}

void ODlg_TransferDataNew::DeleteInDevice() {
    OQuillonComInterface* link = Link();
    if (!bDeviceUsable() || !link) return;
    const int total = static_cast<int>(m_deviceSelection.size());
    int n = 0;
    for (int row : m_deviceSelection) {
        SetState(ResStrFormat(kProcessing, ++n, total));
        if (OType_CheckProgramDelete(m_programs[static_cast<size_t>(row)].name).iSend(*link) !=
            LinkProtocol::Result::kOk) {
            m_doc.UI().Message(ResStr(kExchangeFailed), MsgIcon::Error);
            break;
        }
    }
    m_deviceSelection.clear();
    Connect();
}

void ODlg_TransferDataNew::AssignSelectedNumbers(const std::string& name) {
    OQuillonComInterface* link = Link();
    if (!bDeviceUsable() || !link) return;
    const int total = static_cast<int>(m_numberSelection.size());
    int n = 0;
    for (int row : m_numberSelection) {
        SetState(ResStrFormat(kProcessing, ++n, total));
        if (OType_CheckProgramAssign(name, m_slots[static_cast<size_t>(row)].number).iSend(*link) !=
            LinkProtocol::Result::kOk) {
            m_doc.UI().Message(ResStr(kExchangeFailed), MsgIcon::Error);
            break;
        }
    }
    Connect();
}

void ODlg_TransferDataNew::AssignNumbers() {
    if (m_deviceSelection.size() != 1) return;
    AssignSelectedNumbers(m_programs[static_cast<size_t>(m_deviceSelection.front())].name);
}

void ODlg_TransferDataNew::DeleteAssignments() {
    AssignSelectedNumbers({});
}
