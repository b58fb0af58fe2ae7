#include "link/ODeviceState.h"

#include "model/stream/OByteStream.h"

void ODeviceState::Encode(OByteStream& s) const {
    const uint8_t flags =
        static_cast<uint8_t>((busy ? 1 : 0) | (diagMode ? 2 : 0) | (triggerPossible ? 4 : 0));
    s.bWriteU8(flags);
    s.bWriteU8(static_cast<uint8_t>(sendMode));
    s.bWriteU32(loggedParts);
}

bool ODeviceState::bDecode(OByteStream& s) {
    uint8_t flags = 0, mode = 0;
    uint32_t logged = 0;
    if (!s.bReadU8(flags) || !s.bReadU8(mode) || !s.bReadU32(logged)) return false;
    if (mode > 4) return s.Fail();
    busy = flags & 1;
    diagMode = flags & 2;
    triggerPossible = flags & 4;
    sendMode = mode;
    loggedParts = logged;
    return true;
}
