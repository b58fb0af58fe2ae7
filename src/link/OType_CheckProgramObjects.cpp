#include "link/OType_CheckProgramObjects.h"

#include "link/OQuillonComInterface.h"
#include "model/stream/OByteStream_Memory.h"

using namespace LinkProtocol;

namespace {

template <class T>
int iReceiveList(OQuillonComInterface& link, uint32_t op, std::span<const uint8_t> request,
                 T& out) {
    std::vector<uint8_t> answer;
    const int r = link.iExchange(kData, op, request, answer);
    if (r != Result::kOk) return r;
    auto s = OByteStream_Memory::View(answer);
    T decoded;
    if (!LinkPayload::bDecode(s, decoded) || s.iRemaining() != 0) return Result::kProtocolError;
    out = std::move(decoded);
    return r;
}

std::vector<uint8_t> NamePayload(const std::string& name) {
    OByteStream_Memory s;
    s.bWriteString(name);
    return s.TakeBytes();
}

}  // namespace

int OType_CheckProgramList::iReceive(OQuillonComInterface& link) {
    return iReceiveList(link, kOpProgramList, {}, m_entries);
}

const LinkPayload::OProgramEntry* OType_CheckProgramList::opGetAt(int i) const {
    return i >= 0 && i < iGetNum() ? &m_entries[static_cast<size_t>(i)] : nullptr;
}

std::vector<std::string> OType_CheckProgramList::Names() const {
    std::vector<std::string> out;
    for (const auto& e : m_entries)
        out.push_back(e.name);
    return out;
}

int OType_CheckProgramNrList::iReceive(OQuillonComInterface& link) {
    return iReceiveList(link, kOpProgramNrList, {}, m_numbers);
}

const LinkPayload::OProgramNumber* OType_CheckProgramNrList::opGetAt(int i) const {
    return i >= 0 && i < iGetNum() ? &m_numbers[static_cast<size_t>(i)] : nullptr;
}

std::string OType_CheckProgramNrList::GetNameOf(int number) const {
    for (const auto& n : m_numbers) {
        if (n.number == number) return n.name;
    }
    return {};
}

int OType_CheckProgramInfo::iReceive(OQuillonComInterface& link, const std::string& name) {
    if (name.size() > LinkPayload::kMaxNameBytes) return Result::kBadArgument;
    return iReceiveList(link, kOpProgramInfo, NamePayload(name), m_info);
}

int OType_CheckProgramAssign::iSend(OQuillonComInterface& link) const {
    if (m_name.size() > LinkPayload::kMaxNameBytes) return Result::kBadArgument;
    OByteStream_Memory s;
    s.bWriteString(m_name);
    s.bWriteI32(m_number);
    std::vector<uint8_t> answer;
    return link.iExchange(kData, kOpProgramAssign, s.Bytes(), answer);
}

int OType_CheckProgramDelete::iSend(OQuillonComInterface& link) const {
    if (m_name.empty() || m_name.size() > LinkPayload::kMaxNameBytes) return Result::kBadArgument;
    std::vector<uint8_t> answer;
    return link.iExchange(kData, kOpProgramDelete, NamePayload(m_name), answer);
}
