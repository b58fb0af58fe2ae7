#include "model/project/OType_ProjectProperties.h"

#include <algorithm>

#include "model/stream/OByteStream_Memory.h"

int OType_ProjectProperties::iEncode(OByteStream& s) const {
    const auto length = static_cast<uint32_t>(kFixedSize - 4 + trailingBytes.size());
    s.bWriteU32(length);
    s.bWriteU32(kRecordId);
    for (int v : {addOldFormat, useMultiplePartSets, useOrientation, useTypes, useManualOrientation,
                  useManualTypes}) {
        s.bWriteI32(v);
    }
    for (double d : scale)
        s.bWriteDouble(d);
    s.bWriteI32(updateProjectDescription);
    s.bWriteI32(useQuality);
    s.bWriteI32(useAlternativeValue);
    s.bWriteI32(useNewToolsOnCameraImage);
    s.bWriteRaw(trailingBytes.data(), trailingBytes.size());
    return s.bIsOk() ? 1 : 0;
}

std::vector<uint8_t> OType_ProjectProperties::Encode() const {
    OByteStream_Memory s;
    iEncode(s);
    return s.TakeBytes();
}

int OType_ProjectProperties::iDecode(OByteStream& s) {
    Reset();
    uint32_t length = 0, id = 0;
    if (!s.bReadU32(length) || !s.bReadU32(id) || id != kRecordId || length < 4) return 0;
    // The record may claim more bytes than the data holds; never read past either end.
    const uint64_t end = s.iGetPos() - 4 + std::min<uint64_t>(length, s.iRemaining() + 4);
    auto left = [&] { return end > s.iGetPos() ? end - s.iGetPos() : 0; };
    auto readInt = [&](int& field) {
        int32_t v = 0;
        if (left() < 4 || !s.bReadI32(v)) return false;
        field = v;
        return true;
    };

    // Fields 3-6 are taken when the record is longer than 15 bytes; a field whose bytes lie
    // beyond the record end keeps its default rather than being read from what follows.
    // Each later group is read only when every field before it was read, so that no field
    // is ever taken from the bytes of another.
    bool complete = length > 15;
    if (complete) {
        for (int* f : {&addOldFormat, &useMultiplePartSets, &useOrientation, &useTypes})
            complete = readInt(*f) && complete;
    }
    auto group = [&](uint64_t bytes) {
        complete = complete && left() >= bytes;
        return complete;
    };
    if (group(8)) {
        readInt(useManualOrientation);
        readInt(useManualTypes);
    }
    if (group(24)) {
        for (double& d : scale)
            s.bReadDouble(d);
    }
    if (group(4)) readInt(updateProjectDescription);
    if (group(12)) {
        readInt(useQuality);
        readInt(useAlternativeValue);
        readInt(useNewToolsOnCameraImage);
    }
    // Only what follows field 15 is a newer program's addition; the rest of a shorter
    // record is a partly written field.
    if (complete && left() > 0) s.bReadBytes(trailingBytes, left());
    if (s.iGetPos() != end) s.bSeek(end);
    return s.bIsOk() ? 1 : 0;
}

int OType_ProjectProperties::iDecode(std::span<const uint8_t> bytes) {
    auto s = OByteStream_Memory::View(bytes);
    return iDecode(s);
}

bool OType_ProjectProperties::operator==(const OType_ProjectProperties& o) const {
    return addOldFormat == o.addOldFormat && useMultiplePartSets == o.useMultiplePartSets &&
           useOrientation == o.useOrientation && useTypes == o.useTypes &&
           useManualOrientation == o.useManualOrientation && useManualTypes == o.useManualTypes &&
           std::equal(std::begin(scale), std::end(scale), std::begin(o.scale)) &&
           updateProjectDescription == o.updateProjectDescription && useQuality == o.useQuality &&
           useAlternativeValue == o.useAlternativeValue &&
           useNewToolsOnCameraImage == o.useNewToolsOnCameraImage &&
           trailingBytes == o.trailingBytes;
}
