// Part-data transfers of one part type: packages ("$DPARTDT", "$UPARTDT", "$CPARTDT") on
// devices of part-data protocol 1, the parameter and condition blocks of the link's
// transfer buffer on devices of protocol 0. Devices of any other protocol take no part
// data: every operation then returns 0 before anything is sent.
#include <algorithm>

#include "device/OQuillon.h"
#include "link/LinkProtocol.h"
#include "link/OQuillonComInterface.h"
#include "link/OType_ComPackage.h"
#include "model/partset/PartDataEncoding.h"
#include "model/strings/ResStr.h"
#include "platform/UserInteraction.h"

namespace {

using namespace LinkProtocol;

constexpr int kLegacyAttempts = 3;

bool bHoldsRecord(const ZRINFO& info) {
    return info.u16(ZRINFO::kHardwareCode) != 0 || !info.GetDeviceTypeText().empty();
}

}  // namespace

int OQuillon::iGetDevicePartDataProtocol() const {
    if (m_link) {
        const ZRINFO& reported = *m_link->opGetZRInfo_ComBuffer();
        if (bHoldsRecord(reported)) return reported.u16(ZRINFO::kPartDataProtocol);
    }
    return m_deviceInfo.u16(ZRINFO::kPartDataProtocol);
}

int OQuillon::iLegacyClearPartData(int partDataNo) {
    OLegacyTransferBuffer& buffer = m_link->opGetTransferBuffer();
    buffer.Clear();
    buffer.parameters[1] = 1;
    buffer.parameters[17] = static_cast<uint8_t>(m_fixedFeatures + m_toolCapacity);
    const auto number = static_cast<uint16_t>(partDataNo);
    for (int attempt = 0; attempt < kLegacyAttempts; ++attempt) {
        buffer.SetNumber(number);
        if (m_link->downloadPARAME() != Result::kOk) continue;
        buffer.PutNumberIntoBytes(number);
        if (m_link->downloadCONDAT() == Result::kOk) return 1;
    }
    return 0;
}

int OQuillon::ClearPartData(int partDataNo) {
    const int protocol = iGetDevicePartDataProtocol();
    if (protocol != PartData::kProtocolPackage && protocol != PartData::kProtocolLegacy) return 0;
    if (partDataNo < 1 || !iTransferPreamble()) return 0;
    int ok = 0;
    if (protocol == PartData::kProtocolPackage) {
        ok = iSendAction("$CPARTDT", static_cast<uint32_t>(partDataNo), true) == Result::kOk;
    } else {
        ok = iLegacyClearPartData(partDataNo);
    }
    if (m_link->iGetComOnLine() != 1) Disconnect(0);
    return ok;
}

int OQuillon::ClearAllPartData() {
    const int protocol = iGetDevicePartDataProtocol();
    if (protocol != PartData::kProtocolPackage && protocol != PartData::kProtocolLegacy) return 0;
    if (!m_link) return 0;
    const int total = m_target.partTypes;
    int ok = 1;
    for (int number = 1; number <= total && ok; ++number) {
        m_link->SetStatusModus(ResStrFormat(2119, number, total));
        ok = ClearPartData(number);
    }
    m_link->SetStatusModus(" ");
    return ok;
}

int OQuillon::iLegacyUploadPartData(int partDataNo, std::vector<uint8_t>& record) {
    OLegacyTransferBuffer& buffer = m_link->opGetTransferBuffer();
    const auto number = static_cast<uint16_t>(partDataNo);
    for (int attempt = 0; attempt < kLegacyAttempts; ++attempt) {
        buffer.SetNumber(number);
        if (m_link->uploadPARAME() != Result::kOk) continue;
        buffer.PutNumberIntoBytes(number);
        if (m_link->uploadCONDAT() != Result::kOk) continue;
        record.assign(PartData::kRecordBytes, 0);
        record[0] = static_cast<uint8_t>(number >> 8);
        record[1] = static_cast<uint8_t>(number & 0xFF);
        std::copy(buffer.parameters.begin(), buffer.parameters.end(), record.begin() + 2);
        std::copy(buffer.conditions.begin(), buffer.conditions.end(),
                  record.begin() + PartData::kConditionOffset);
        return 1;
    }
    return 0;
}

int OQuillon::UploadPartData(int partTypeIndex, int partDataNo) {
    const int protocol = iGetDevicePartDataProtocol();
    if (protocol != PartData::kProtocolPackage && protocol != PartData::kProtocolLegacy) return 0;
    OType_ZRPartSet* set = opGetActualPartSet();
    if (!set || !set->opGetSubType(partTypeIndex) || partDataNo < 1 || !iTransferPreamble())
        return 0;
    std::vector<uint8_t> bytes;
    if (protocol == PartData::kProtocolPackage) {
        OType_ComPackage package(0, 1, 1, 0);
        package.SetNames("$DPARTDT", "$UPARTDT");
        package.SetNumber(static_cast<uint32_t>(partDataNo));
        if (package.iReceiveDataPackage(*m_link) != Result::kOk) return 0;
        package.iGetData(bytes);
    } else if (!iLegacyUploadPartData(partDataNo, bytes)) {
        return 0;
    }
    std::string name = set->GetName();
    if (!iDecodePartSet_SubType_PartData(*set, partTypeIndex, bytes, protocol, name)) {
        m_ui.Message(ResStr(2067), MsgIcon::Error);
        return 0;
    }
    set->SetName(name);
    return 1;
}

int OQuillon::iLegacyDownloadPartData(int partDataNo, const std::vector<uint8_t>& record) {
    if (record.size() != PartData::kRecordBytes && record.size() != PartData::kShortRecordBytes)
        return 0;
    OLegacyTransferBuffer& buffer = m_link->opGetTransferBuffer();
    buffer.Clear();
    std::copy_n(record.begin() + 2, OLegacyTransferBuffer::kParameterBytes,
                buffer.parameters.begin());
    const auto number = static_cast<uint16_t>(partDataNo);
    buffer.SetNumber(number);
    for (int attempt = 0; attempt < kLegacyAttempts; ++attempt) {
        if (m_link->downloadPARAME() != Result::kOk) continue;
        buffer.conditions.fill(0);
        if (record.size() > PartData::kConditionOffset) {
            const size_t n = std::min(record.size() - PartData::kConditionOffset,
                                      OLegacyTransferBuffer::kConditionBytes);
            std::copy_n(record.begin() + PartData::kConditionOffset, n, buffer.conditions.begin());
        }
        buffer.PutNumberIntoBytes(number);
        if (m_link->downloadCONDAT() == Result::kOk) return 1;
    }
    return 0;
}

int OQuillon::DownloadPartData(int partTypeIndex, int partDataNo) {
    const int deviceProtocol = iGetDevicePartDataProtocol();
    if (deviceProtocol != PartData::kProtocolPackage && deviceProtocol != PartData::kProtocolLegacy)
        return 0;
    OType_ZRPartSet* set = opGetActualPartSet();
    if (!set || partDataNo < 1) return 0;
    std::vector<uint8_t> bytes;
    int protocol = -1;
    if (!iEncodePartSet_SubType_PartData(*set, partTypeIndex, m_partDataFormat, bytes, protocol)) {
        m_ui.Message(ResStr(2066), MsgIcon::Error);
        return 0;
    }
    if (protocol != deviceProtocol) {
        m_ui.Message(ResStr(2017), MsgIcon::Error);
        return 0;
    }
    if (!iTransferPreamble()) return 0;
    if (protocol == PartData::kProtocolLegacy) return iLegacyDownloadPartData(partDataNo, bytes);
    OType_ComPackage package(0, 1, 1, 0);
    package.SetNames("$DPARTDT", "$UPARTDT");
    size_t offset = 0;
    while (offset < bytes.size()) {
        offset += package.iInitPackageFromSend(bytes, offset);
        package.SetNumber(static_cast<uint32_t>(partDataNo));
        const int r = package.iSendDataPackage(*m_link);
        if (r != Result::kOk) {
            if (r == Result::kTransferRejected) m_ui.Message(ResStr(2065), MsgIcon::Error);
            return 0;
        }
    }
    return 1;
}
