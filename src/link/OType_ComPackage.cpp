#include "link/OType_ComPackage.h"

#include <algorithm>
#include <cstring>

#include "link/LinkProtocol.h"
#include "link/OQuillonComInterface.h"
#include "model/stream/OByteStream_Memory.h"

using namespace LinkProtocol;

namespace {

void WriteName(OByteStream& s, const std::string& name) {
    char raw[OType_ComPackage::kNameLength] = {};
    std::memcpy(raw, name.data(), std::min(name.size(), sizeof raw));
    s.bWriteRaw(raw, sizeof raw);
}

bool bReadName(OByteStream& s, std::string& name) {
    char raw[OType_ComPackage::kNameLength];
    if (!s.bReadRaw(raw, sizeof raw)) return false;
    name.assign(raw, strnlen(raw, sizeof raw));
    // No name is eight zero bytes; anything else must be a whole command name.
    if (name.empty()) return std::all_of(raw, raw + sizeof raw, [](char c) { return c == 0; });
    return OType_ComPackage::bIsValidName(name);
}

}  // namespace

OType_ComPackage::OType_ComPackage(int action, int acknowledged, int version, int sendSize)
    : m_action(action != 0),
      m_acknowledged(acknowledged != 0),
      m_version(version),
      m_sendSize(std::max(0, sendSize)) {}

void OType_ComPackage::SetNames(std::string_view download, std::string_view upload) {
    SetDownloadName(download);
    SetUploadName(upload);
}

bool OType_ComPackage::bIsValidName(std::string_view name) {
    if (name.size() != kNameLength || name.front() != '$') return false;
    return std::all_of(name.begin(), name.end(), [](char c) { return c > 32 && c < 127; });
}

int OType_ComPackage::iSetData(std::span<const uint8_t> data) {
    return iSetData(std::vector<uint8_t>(data.begin(), data.end()));
}

int OType_ComPackage::iSetData(std::vector<uint8_t>&& data) {
    if (m_sendSize > 0 && data.size() != static_cast<size_t>(m_sendSize)) return 0;
    if (data.size() > kMaxMessageSize - 1024) return 0;
    m_data = std::move(data);
    m_offset = 0;
    m_total = m_data.size();
    m_hasReceived = false;
    return 1;
}

int OType_ComPackage::iGetData(std::vector<uint8_t>& out) const {
    out = Data();
    return static_cast<int>(out.size());
}

size_t OType_ComPackage::iInitPackageFromSend(std::span<const uint8_t> bytes, size_t offset) {
    if (offset >= bytes.size()) return 0;
    const size_t n = std::min(kMaxPiece, bytes.size() - offset);
    m_data.assign(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                  bytes.begin() + static_cast<std::ptrdiff_t>(offset + n));
    m_offset = offset;
    m_total = bytes.size();
    m_hasReceived = false;
    return n;
}

int OType_ComPackage::iGetSendPackage(std::vector<uint8_t>& wire) const {
    OByteStream_Memory s;
    s.Reserve(m_data.size() + 64);
    WriteName(s, m_download);
    WriteName(s, m_upload);
    s.bWriteU32(m_number);
    s.bWriteU8(m_action ? 1 : 0);
    s.bWriteU8(m_acknowledged ? 1 : 0);
    s.bWriteU8(static_cast<uint8_t>(m_version));
    s.bWriteU8(0);
    s.bWriteU64(m_offset);
    s.bWriteU64(m_total);
    s.bWriteByteArray(m_data);
    wire = s.TakeBytes();
    return 1;
}

int OType_ComPackage::iSetPackageFromReceive(std::span<const uint8_t> wire) {
    auto s = OByteStream_Memory::View(wire);
    std::string download, upload;
    uint32_t number = 0;
    uint8_t action = 0, acknowledged = 0, version = 0, reserved = 0;
    uint64_t offset = 0, total = 0;
    std::vector<uint8_t> data;
    if (!bReadName(s, download) || !bReadName(s, upload) || !s.bReadU32(number) ||
        !s.bReadU8(action) || !s.bReadU8(acknowledged) || !s.bReadU8(version) ||
        !s.bReadU8(reserved) || !s.bReadU64(offset) || !s.bReadU64(total) ||
        !s.bReadByteArray(data) || s.iRemaining() != 0)
        return 0;
    if (version != 1 || action > 1 || acknowledged > 1 || reserved != 0) return 0;
    if (total > kMaxMessageSize || offset > total || data.size() > total - offset) return 0;
    m_download = std::move(download);
    m_upload = std::move(upload);
    m_number = number;
    m_action = action;
    m_acknowledged = acknowledged;
    m_version = version;
    m_offset = offset;
    m_total = total;
    m_data = std::move(data);
    m_hasReceived = false;
    return 1;
}

bool OType_ComPackage::bNamesFitOp(uint32_t op) const {
    if (op == kOpPackageReceive) return bIsValidName(m_upload);
    return bIsValidName(m_download);
}

int OType_ComPackage::iExchange(OQuillonComInterface& link, uint32_t op, bool takeAnswer) {
    if (m_version != 1 || !bNamesFitOp(op)) return Result::kBadArgument;
    if (m_sendSize > 0 && m_data.size() != static_cast<size_t>(m_sendSize))
        return Result::kBadArgument;
    std::vector<uint8_t> wire;
    iGetSendPackage(wire);
    std::vector<uint8_t> answer;
    const int r = link.iExchange(kData, op, wire, answer);
    if (r == Result::kOk && takeAnswer) {
        m_received = std::move(answer);
        m_hasReceived = true;
    }
    return r;
}

int OType_ComPackage::iSendActionPackage(OQuillonComInterface& link) {
    return iExchange(link, kOpPackageAction, false);
}

int OType_ComPackage::iSendDataPackage(OQuillonComInterface& link) {
    return iExchange(link, kOpPackageSend, false);
}

int OType_ComPackage::iReceiveDataPackage(OQuillonComInterface& link) {
    m_received.clear();
    m_hasReceived = false;
    return iExchange(link, kOpPackageReceive, true);
}

int OType_ComPackage::iReceiveDynamicPackage2(OQuillonComInterface& link) {
    return iExchange(link, kOpPackageReceive, true);
}
