// Check-program configuration files (".kvc", device family 2): the part set's own encoding
// with its tools, data outputs, part types and parts, without the parts' camera images.
#pragma once

#include <cstdint>
#include <span>
#include <string>

class OByteStream;
class OType_ZRPartSet;

namespace ConfigurationFile {

inline constexpr uint64_t kMaxFileBytes = uint64_t{1} << 30;

// Writes the configuration; false when the stream failed.
bool bWrite(const OType_ZRPartSet& partSet, OByteStream& out);

// Decodes a configuration into `decoded`, whose tool and data-output kinds the caller has
// registered. Returns 0 with a detail when the bytes are no configuration or are damaged
// (`decoded` is then empty).
int iDecode(std::span<const uint8_t> bytes, OType_ZRPartSet& decoded, std::string& detail);

}  // namespace ConfigurationFile
