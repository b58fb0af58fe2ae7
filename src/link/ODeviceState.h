// What the device reports about itself with every keep-alive answer and whenever it
// changes: busy, diagnostic mode, send mode, whether a trigger is possible, and how many
// parts its part log holds.
#pragma once

#include <cstdint>

class OByteStream;

struct ODeviceState {
    bool busy = false;
    bool diagMode = false;
    // 0 camera images only, 1 contour images, 2 and 3 the device's own display modes
    // (nothing is sent), 4 contour and camera images.
    int sendMode = 0;
    bool triggerPossible = false;
    uint32_t loggedParts = 0;

    bool operator==(const ODeviceState&) const = default;

    void Encode(OByteStream& stream) const;
    // False on a short or invalid record; the state is then left unchanged.
    bool bDecode(OByteStream& stream);
};
