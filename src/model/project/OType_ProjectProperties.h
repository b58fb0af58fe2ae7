// The project properties record: which detection tasks the project uses and how it is
// stored. Versioned by its length field: older and newer programs read each other's
// records, and bytes a newer program appended are kept and written back unchanged.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

class OByteStream;

class OType_ProjectProperties {
  public:
    static constexpr uint32_t kRecordId = 0xFE7A1800;
    static constexpr uint32_t kFixedSize = 72;

    int addOldFormat = 0;
    int useMultiplePartSets = 1;
    int useOrientation = 1;
    int useTypes = 1;
    int useManualOrientation = 1;
    int useManualTypes = 1;
    double scale[3] = {1.0, 1.0, 0.0};
    int updateProjectDescription = 1;
    int useQuality = 1;
    int useAlternativeValue = 0;  // automatic coordinate transformation of features
    int useNewToolsOnCameraImage = 0;
    std::vector<uint8_t> trailingBytes;

    // Back to the values a record has before reading.
    void Reset() { *this = OType_ProjectProperties(); }

    int iEncode(OByteStream& stream) const;
    std::vector<uint8_t> Encode() const;
    // Reads the record at the stream position; fields the record is too short for keep
    // their defaults. Returns 0 when not even the length and id can be read or the id is
    // wrong; the stream is left at the record end.
    int iDecode(OByteStream& stream);
    int iDecode(std::span<const uint8_t> bytes);

    bool operator==(const OType_ProjectProperties& o) const;
};
