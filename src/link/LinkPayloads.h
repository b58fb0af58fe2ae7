// Payloads of the link's requests and answers that both ends build and read. Each
// encoder writes to a byte stream; each decoder reads from one and returns false on a
// short, oversized or invalid payload (counts are capped before anything is allocated).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link/ODeviceState.h"

class OByteStream;

namespace LinkPayload {

inline constexpr uint32_t kMaxNameBytes = 256;
inline constexpr uint32_t kMaxListEntries = 65536;
inline constexpr uint32_t kMaxParameters = 256;

struct OLogin {
    uint16_t protocolVersion = 1;
    std::string user;
    std::string password;
};
void Encode(OByteStream& s, const OLogin& v);
bool bDecode(OByteStream& s, OLogin& v);

struct OLoginAnswer {
    uint32_t session = 0;
    ODeviceState state;
};
void Encode(OByteStream& s, const OLoginAnswer& v);
bool bDecode(OByteStream& s, OLoginAnswer& v);

// The device's clock: seconds since 1970 (UTC) and the sender's offset from UTC.
struct OSetTime {
    int64_t unixSeconds = 0;
    int32_t utcOffsetMinutes = 0;
};
void Encode(OByteStream& s, const OSetTime& v);
bool bDecode(OByteStream& s, OSetTime& v);

struct OParameter {
    uint32_t id = 0;
    double value = 0;
    bool operator==(const OParameter&) const = default;
};
void Encode(OByteStream& s, const std::vector<OParameter>& v);
bool bDecode(OByteStream& s, std::vector<OParameter>& v);

// A check program stored in the device.
struct OProgramEntry {
    std::string name;
    uint32_t size = 0;
    int64_t timeStamp = 0;
    int32_t number = -1;  // slot or assigned number; -1 none
    bool operator==(const OProgramEntry&) const = default;
};
void Encode(OByteStream& s, const OProgramEntry& v);
bool bDecode(OByteStream& s, OProgramEntry& v);
void Encode(OByteStream& s, const std::vector<OProgramEntry>& v);
bool bDecode(OByteStream& s, std::vector<OProgramEntry>& v);

// A program number with the name assigned to it (empty: none).
struct OProgramNumber {
    int32_t number = 0;
    std::string name;
    bool operator==(const OProgramNumber&) const = default;
};
void Encode(OByteStream& s, const std::vector<OProgramNumber>& v);
bool bDecode(OByteStream& s, std::vector<OProgramNumber>& v);

bool bReadName(OByteStream& s, std::string& name);

}  // namespace LinkPayload
