// What the session knows about the connected device between operations: the last state
// the link reported, the link's last error, and the counts of received, dropped and
// refused data. The session resets it when it starts and refreshes it from the link.
#pragma once

#include <cstdint>
#include <string>

#include "link/ODeviceState.h"

class OQuillonComInterface;

class OType_DeviceStatus {
  public:
    void Reset() { *this = OType_DeviceStatus(); }
    void TakeFrom(const OQuillonComInterface& link);

    bool bIsOnline() const { return m_online; }
    const ODeviceState& State() const { return m_state; }
    int iGetLastError() const { return m_lastError; }
    const std::string& GetLastErrorText() const { return m_lastErrorText; }
    uint64_t iGetReceivedParts() const { return m_receivedParts; }
    uint64_t iGetDroppedParts() const { return m_droppedParts; }
    uint64_t iGetRefusedFrames() const { return m_refusedFrames; }
    // How many times TakeFrom saw the link go from online to offline.
    int iGetConnectionLosses() const { return m_losses; }

  private:
    bool m_online = false;
    ODeviceState m_state;
    int m_lastError = 1;
    std::string m_lastErrorText;
    uint64_t m_receivedParts = 0;
    uint64_t m_droppedParts = 0;
    uint64_t m_refusedFrames = 0;
    int m_losses = 0;
};
