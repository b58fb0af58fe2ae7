// Check-program transfers, the coordinate-transformation operations and the one-shot
// actions. Every exchange goes through a command package; a failed transfer leaves the
// project as it was (an upload that fails to decode has emptied its part set first).
#include <algorithm>

#include "device/OQuillon.h"
#include "link/LinkProtocol.h"
#include "link/OQuillonComInterface.h"
#include "link/OType_ComPackage.h"
#include "link/OType_Compatibility.h"
#include "model/stream/OByteStream_Memory.h"
#include "model/strings/ResStr.h"
#include "platform/UserInteraction.h"

namespace {

using namespace LinkProtocol;

constexpr int kUploadTimeOutSec = 30;
constexpr int kSyncAfterFileTimeOutSec = 10;
constexpr int kSyncAfterProgramTimeOutSec = 30;
constexpr int kSyncTries = 3;

// Keeps the link's time-out and puts it back when the transfer ends.
class OTimeOutScope {
  public:
    explicit OTimeOutScope(OQuillonComInterface& link)
        : m_link(link), m_saved(link.iGetTimeOut_SEC()) {}
    ~OTimeOutScope() { m_link.SetTimeOut_SEC(m_saved); }
    OTimeOutScope(const OTimeOutScope&) = delete;
    OTimeOutScope& operator=(const OTimeOutScope&) = delete;
    int iSaved() const { return m_saved; }

  private:
    OQuillonComInterface& m_link;
    int m_saved;
};

void SyncAfterDownload(OQuillonComInterface& link, int timeOutSec) {
    link.SetTimeOut_SEC(timeOutSec);
    for (int i = 0; i < kSyncTries; ++i) {
        if (link.commandSYNCRO() == Result::kOk) return;
    }
}

// "$UCPRG_F" answer and "$DCPRG_F" payload: name, time stamp, size, the part set.
std::vector<uint8_t> NamedProgramPayload(const OType_ZRPartSet& set) {
    const std::vector<uint8_t> program = set.Encode(0, 0);
    OByteStream_Memory s;
    s.Reserve(program.size() + set.GetName().size() + 16);
    s.bWriteString(set.GetName());
    s.bWriteI64(set.iGetTimeStamp());
    s.bWriteU32(static_cast<uint32_t>(program.size()));
    s.bWriteRaw(program.data(), program.size());
    return s.TakeBytes();
}

}  // namespace

bool OQuillon::bDecodesAsProgram(std::span<const uint8_t> bytes) {
    OType_ZRPartSet scratch;
    PreparePartSet(scratch);
    return scratch.iDecode(bytes, OType_ZRPartSet::DecodeHistory::Clear) == 1;
}

int OQuillon::iProgramTimeOutSec(uint64_t bytes) {
    return static_cast<int>(std::min<uint64_t>(bytes / 1048576 * 10 + 10, 24 * 3600));
}

int OQuillon::iTransferPreamble() {
    if (!m_link) return 0;
    if (m_link->iGetComOnLine() != 1 && !EnsureConnected()) {
        Disconnect(0);
        return 0;
    }
    return m_link->iGetDeviceBusyState() == 1 ? 0 : 1;
}

void OQuillon::ShowTransferError(int code, int otherTextId) {
    int text = otherTextId;
    if (code == Result::kTransferRejected) text = 2068;
    if (code == Result::kNoRoom) text = 2069;
    if (code == Result::kNoSuchItem) text = 2073;
    if (text > 0) m_ui.Message(ResStr(text), MsgIcon::Error);
}

int OQuillon::iSendAction(const char* name, uint32_t number, bool clear) {
    OType_ComPackage package(1, 1, 1, clear ? 2 : 0);
    if (clear) {
        package.SetNames(name, name);
        package.iSetData(std::vector<uint8_t>{0, 1});
    } else {
        package.SetDownloadName(name);
    }
    package.SetNumber(number);
    return package.iSendActionPackage(*m_link);
}

// Sends a byte sequence in pieces of at most a package each; the first failure ends it.
int OQuillon::iSendBytes(const char* download, const char* upload, uint32_t number,
                         const std::vector<uint8_t>& bytes) {
    OType_ComPackage package(0, 1, 1, 0);
    package.SetNames(download, upload);
    package.SetNumber(number);
    if (bytes.empty()) {
        package.iSetData(std::vector<uint8_t>{});
        return package.iSendDataPackage(*m_link);
    }
    size_t offset = 0;
    while (offset < bytes.size()) {
        const size_t taken = package.iInitPackageFromSend(bytes, offset);
        const int r = package.iSendDataPackage(*m_link);
        if (r != Result::kOk) return r;
        offset += taken;
    }
    return Result::kOk;
}

int OQuillon::ClearProgram(int programNo) {
    if (!iTransferPreamble()) return 0;
    OTimeOutScope timeOut(*m_link);
    m_link->SetTimeOut_SEC(timeOut.iSaved() * 2);
    return iSendAction("$CCPRGDT", static_cast<uint32_t>(programNo), true) == Result::kOk ? 1 : 0;
}

int OQuillon::UploadProgramFile(OType_ZRPartSet& partSet, const std::string& name) {
    if (!iTransferPreamble()) return 0;
    OTimeOutScope timeOut(*m_link);
    OByteStream_Memory request;
    request.bWriteString(name);
    const std::vector<uint8_t> payload = request.TakeBytes();
    OType_ComPackage package(0, 1, 1, static_cast<int>(payload.size()));
    package.SetNames("$DCPRG_F", "$UCPRG_F");
    package.iSetData(payload);
    m_link->SetTimeOut_SEC(kUploadTimeOutSec);
    const int r = package.iReceiveDynamicPackage2(*m_link);
    if (r != Result::kOk) {
        ShowTransferError(r, 2070);
        return 0;
    }
    const std::span<const uint8_t> answer(package.Data());
    auto s = OByteStream_Memory::View(answer);
    std::string storedName;
    int64_t stamp = 0;
    uint32_t size = 0;
    if (!s.bReadString(storedName) || !s.bReadI64(stamp) || !s.bReadU32(size) ||
        size > s.iRemaining()) {
        m_ui.Message(ResStr(2070), MsgIcon::Error);
        return 0;
    }
    const auto program = answer.subspan(static_cast<size_t>(s.iGetPos()), size);
    // A program the device sends garbled leaves the part set as it was.
    if (!bDecodesAsProgram(program)) {
        m_ui.Message(ResStr(2070), MsgIcon::Error);
        return 0;
    }
    partSet.Clear();
    if (!partSet.iDecode(program)) {
        m_ui.Message(ResStr(2070), MsgIcon::Error);
        return 0;
    }
    partSet.SetName(storedName);
    partSet.SetTimeStamp(stamp);
    return 1;
}

int OQuillon::UploadProgram(int partSetIndex, int programNo, int replaceAll) {
    OType_ZRPartSet* set = m_partSets.opGetPartSet(partSetIndex);
    if (!set || !iTransferPreamble()) return 0;
    OTimeOutScope timeOut(*m_link);
    m_link->SetTimeOut_SEC(kUploadTimeOutSec);
    OType_ComPackage package(0, 1, 1, 0);
    package.SetNames("$DCPRGDT", "$UCPRGDT");
    package.SetNumber(static_cast<uint32_t>(programNo));
    const int r = package.iReceiveDataPackage(*m_link);
    if (r != Result::kOk) {
        ShowTransferError(r, 2070);
        return 0;
    }
    // A program the device sends garbled leaves the part set as it was.
    if (!bDecodesAsProgram(package.Data())) {
        m_ui.Message(ResStr(2070), MsgIcon::Error);
        return 0;
    }
    // Without replace-all the recorded parts stay; tools, data outputs, part types and
    // their vectors come from the device.
    OType_PartArray teach;
    OType_PartArray test;
    if (!replaceAll) {
        teach = std::move(set->TeachParts());
        test = std::move(set->TestParts());
    }
    set->Clear();
    const bool decoded = set->iDecode(package.Data()) == 1;
    if (!replaceAll) {
        set->TeachParts() = std::move(teach);
        set->TestParts() = std::move(test);
        set->UndoRedo().bStartUndoRedo(*set);
    }
    if (!decoded) {
        m_ui.Message(ResStr(2070), MsgIcon::Error);
        return 0;
    }
    return 1;
}

int OQuillon::DownloadProgramFile(int partSetIndex) {
    OType_ZRPartSet* set = m_partSets.opGetPartSet(partSetIndex);
    if (!set || !iTransferPreamble()) return 0;
    std::string findings;
    const ZRINFO& info = set->opGetDeviceInfo() ? *set->opGetDeviceInfo() : m_deviceInfo;
    if (OType_Compatibility().iCheckPropertyCompatibility(*set, info, findings) != 0) {
        m_ui.Message(ResStr(2018) + (findings.empty() ? "" : "\r\n\r\n" + findings),
                     MsgIcon::Error);
        return 0;
    }
    const std::vector<uint8_t> payload = NamedProgramPayload(*set);
    OTimeOutScope timeOut(*m_link);
    m_link->SetTimeOut_SEC(iProgramTimeOutSec(payload.size()));
    const int r =
        iSendBytes("$DCPRG_F", "$UCPRG_F", static_cast<uint32_t>(set->iGetProgramNo()), payload);
    if (r != Result::kOk) {
        ShowTransferError(r, 0);
        return 0;
    }
    SyncAfterDownload(*m_link, kSyncAfterFileTimeOutSec);
    return 1;
}

int OQuillon::DownloadProgram(int partSetIndex, int programNo, int silent) {
    OType_ZRPartSet* set = m_partSets.opGetPartSet(partSetIndex);
    if (!set || !iTransferPreamble()) return 0;
    std::string findings;
    const ZRINFO& info = set->opGetDeviceInfo() ? *set->opGetDeviceInfo() : m_deviceInfo;
    if (OType_Compatibility().iCheckPropertyCompatibility(*set, info, findings) != 0) {
        if (!silent)
            m_ui.Message(ResStr(2018) + (findings.empty() ? "" : "\r\n\r\n" + findings),
                         MsgIcon::Error);
        return 0;
    }
    const std::vector<uint8_t> program = set->Encode(0, 0);
    OTimeOutScope timeOut(*m_link);
    m_link->SetTimeOut_SEC(iProgramTimeOutSec(program.size()));
    const int r = iSendBytes("$DCPRGDT", "$UCPRGDT", static_cast<uint32_t>(programNo), program);
    if (r != Result::kOk) {
        if (!silent) ShowTransferError(r, 2074);
        return 0;
    }
    SyncAfterDownload(*m_link, kSyncAfterProgramTimeOutSec);
    return 1;
}

// --- coordinate transformation ---

int OQuillon::SendCoordinateTransformation() {
    if (!iTransferPreamble()) return 0;
    const int r = m_link->iSendCoordTransformerParameters(m_coordTrans);
    if (r == Result::kNoRoom) m_ui.Message(ResStr(3300), MsgIcon::Error);
    return r == Result::kOk ? 1 : 0;
}

int OQuillon::ReceiveCoordinateTransformation() {
    if (!iTransferPreamble()) return 0;
    m_link->SetStatusModus(ResStr(4179));
    const int r = m_link->iReceiveCoordTransformerParameters(m_coordTrans);
    m_link->SetStatusModus(" ");
    if (r != Result::kOk) return 0;
    if (m_owner) {
        m_owner->RefreshPartLists();
        m_owner->RefreshAllViews();
    }
    return 1;
}

int OQuillon::CalibrateCoordinateTransformation() {
    OType_ZRPartSet* set = opGetActualPartSet();
    if (!m_link || !set) return 0;
    if (bIsOnline() && bIsBusy()) {
        m_ui.Message(ResStr(4021), MsgIcon::Warning);
        return 0;
    }
    const int sendMode = m_link->iGetSendMode();
    switch (sendMode) {
        case 1:
            m_link->commandPARTIMAGES_ON();
            break;
        case 2:
            m_ui.Message(ResStr(4012), MsgIcon::Warning);
            return 0;
        case 3:
            m_ui.Message(ResStr(4015), MsgIcon::Warning);
            return 0;
        case 4:
            break;
        default:
            if (!SetDiagnosticMode(1)) return 0;
            m_link->commandPARTIMAGES_ON();
            break;
    }
    const int r = m_link->iActionCalibrateCoordTrans(set, 1, 1);
    if (bIsOnline()) {
        if (sendMode == 1) {
            SetDiagnosticMode(1);
            m_link->commandPARTIMAGES_OFF();
        } else if (sendMode == 4) {
            SetDiagnosticMode(1);
            m_link->commandPARTIMAGES_ON();
        } else {
            SetDiagnosticMode(0);
        }
    }
    return r == Result::kOk ? 1 : 0;
}

// --- one-shot actions ---

int OQuillon::SendErrorAcknowledge() {
    if (!iTransferPreamble()) return 0;
    if (iSendAction("$CERRACK", 0, false) == Result::kOk) return 1;
    m_ui.Message(ResStr(4174), MsgIcon::Error);
    return 0;
}

int OQuillon::SendAcceptCheckProgram() {
    if (!iTransferPreamble()) return 0;
    if (iSendAction("$CCHGPRG", 0, false) == Result::kOk) return 1;
    m_ui.Message(ResStr(4174), MsgIcon::Error);
    return 0;
}

int OQuillon::SendTrigger() {
    if (!iTransferPreamble()) return 0;
    if (iSendAction("$CTRIGGR", 0, false) == Result::kOk) return 1;
    m_ui.Message(ResStr(4174), MsgIcon::Error);
    return 0;
}
