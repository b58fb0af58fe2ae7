#include "link/OType_DeviceStatus.h"

#include "link/OQuillonComInterface.h"

void OType_DeviceStatus::TakeFrom(const OQuillonComInterface& link) {
    const bool online = link.iGetComOnLine() != 0;
    if (m_online && !online) ++m_losses;
    m_online = online;
    m_state = link.GetDeviceState();
    m_lastError = link.GetLastComInterfaceError();
    m_lastErrorText = link.GetLastComInterfaceErrorText();
    m_receivedParts = link.iGetReceivedPartCount();
    m_droppedParts = link.iGetDroppedParts();
    m_refusedFrames = link.iGetRefusedFrames();
}
