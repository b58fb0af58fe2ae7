// The device session of kalvorctl: a headless document (the desktop program's own document
// and session code) whose connection profile reaches the device named on the command line.
// The verbs identify the device, record parts into a project and move check programs and
// part data through it.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>

#include "device/DeviceIdentification.h"
#include "document/OHeadlessDocument.h"
#include "platform/OSettings_Memory.h"
#include "platform/OUserInteraction_Console.h"

struct ODeviceAddress {
    std::string host;  // TCP, or
    uint16_t port = 10000;
    std::string serial;  // a serial device
    int baud = 115200;
    int timeoutSec = 10;
};

class OCliDeviceSession {
  public:
    OCliDeviceSession(const ODeviceAddress& address, std::ostream& err);
    ~OCliDeviceSession();
    OCliDeviceSession(const OCliDeviceSession&) = delete;
    OCliDeviceSession& operator=(const OCliDeviceSession&) = delete;

    ODoc& Doc() { return m_headless->Doc(); }
    OQuillon& Session() { return m_headless->Session(); }
    OHeadlessDocument& Headless() { return *m_headless; }

    // Reads the device's information and identifies it; false (with a message) on failure.
    bool bIdentify(ZRINFO& info, OIdentification& id);
    // Replaces the project by a new one for the target system.
    bool bNewProject(const OTargetSystem& target);
    bool bLoad(const std::string& path, const std::string& verb);
    bool bSave(const std::string& path, const std::string& verb);
    // Records `count` parts into the sample (teach) or test list of the actual check
    // program; returns how many arrived before the time was up.
    int iRecord(int teach, int count, int orientation, int type, int images);
    void Disconnect();

  private:
    std::ostream& m_err;
    ODeviceAddress m_address;
    OSettings_Memory m_settings;
    // Messages go to err; questions take their default answer.
    OUserInteraction_Console m_ui;
    std::unique_ptr<OHeadlessDocument> m_headless;
};
