#include "link/LinkPayloads.h"

#include "model/stream/OByteStream.h"

namespace LinkPayload {

bool bReadName(OByteStream& s, std::string& name) {
    if (s.iRemaining() < 4) return s.Fail();
    const uint64_t pos = s.iGetPos();
    uint32_t length = 0;
    s.bReadU32(length);
    if (length > kMaxNameBytes) return s.Fail();
    s.bSeek(pos);
    return s.bReadString(name);
}

void Encode(OByteStream& s, const OLogin& v) {
    s.bWriteU16(v.protocolVersion);
    s.bWriteString(v.user);
    s.bWriteString(v.password);
}

bool bDecode(OByteStream& s, OLogin& v) {
    return s.bReadU16(v.protocolVersion) && bReadName(s, v.user) && bReadName(s, v.password);
}

void Encode(OByteStream& s, const OLoginAnswer& v) {
    s.bWriteU32(v.session);
    v.state.Encode(s);
}

bool bDecode(OByteStream& s, OLoginAnswer& v) {
    return s.bReadU32(v.session) && v.state.bDecode(s);
}

void Encode(OByteStream& s, const OSetTime& v) {
    s.bWriteI64(v.unixSeconds);
    s.bWriteI32(v.utcOffsetMinutes);
}

bool bDecode(OByteStream& s, OSetTime& v) {
    return s.bReadI64(v.unixSeconds) && s.bReadI32(v.utcOffsetMinutes);
}

void Encode(OByteStream& s, const std::vector<OParameter>& v) {
    s.bWriteU32(static_cast<uint32_t>(v.size()));
    for (const auto& p : v) {
        s.bWriteU32(p.id);
        s.bWriteDouble(p.value);
    }
}

bool bDecode(OByteStream& s, std::vector<OParameter>& v) {
    uint32_t count = 0;
    if (!s.bReadCount(count, 12) || count > kMaxParameters) return s.Fail();
    std::vector<OParameter> out(count);
    for (auto& p : out) {
        if (!s.bReadU32(p.id) || !s.bReadDouble(p.value)) return false;
    }
    v = std::move(out);
    return true;
}

void Encode(OByteStream& s, const OProgramEntry& v) {
    s.bWriteString(v.name);
    s.bWriteU32(v.size);
    s.bWriteI64(v.timeStamp);
    s.bWriteI32(v.number);
}

bool bDecode(OByteStream& s, OProgramEntry& v) {
    return bReadName(s, v.name) && s.bReadU32(v.size) && s.bReadI64(v.timeStamp) &&
           s.bReadI32(v.number);
}

void Encode(OByteStream& s, const std::vector<OProgramEntry>& v) {
    s.bWriteU32(static_cast<uint32_t>(v.size()));
    for (const auto& e : v)
        Encode(s, e);
}

bool bDecode(OByteStream& s, std::vector<OProgramEntry>& v) {
    uint32_t count = 0;
    if (!s.bReadCount(count, 20) || count > kMaxListEntries) return s.Fail();
    std::vector<OProgramEntry> out(count);
    for (auto& e : out) {
        if (!bDecode(s, e)) return false;
    }
    v = std::move(out);
    return true;
}

void Encode(OByteStream& s, const std::vector<OProgramNumber>& v) {
    s.bWriteU32(static_cast<uint32_t>(v.size()));
    for (const auto& e : v) {
        s.bWriteI32(e.number);
        s.bWriteString(e.name);
    }
}

bool bDecode(OByteStream& s, std::vector<OProgramNumber>& v) {
    uint32_t count = 0;
    if (!s.bReadCount(count, 8) || count > kMaxListEntries) return s.Fail();
    std::vector<OProgramNumber> out(count);
    for (auto& e : out) {
        if (!s.bReadI32(e.number) || !bReadName(s, e.name)) return false;
    }
    v = std::move(out);
    return true;
}

}  // namespace LinkPayload
