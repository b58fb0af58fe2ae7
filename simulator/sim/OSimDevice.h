// The simulated device's behaviour, without any transport: its modes, what it stores
// (check programs by slot and by name, part data of both protocols, the part log, the
// coordinate-transformation parameters, the test image, device parameters and clock), and
// its answer to every request. The server feeds it requests and sends what it returns.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "link/LinkPayloads.h"
#include "link/ODeviceState.h"
#include "model/coordtrans/OCoordTrans_Tsai_Transformer.h"
#include "model/device/ZRINFO.h"
#include "model/part/OType_Part.h"
#include "sim/ODeviceResultProvider.h"
#include "sim/OSimOptions.h"
#include "sim/OSimPartFactory.h"

class OType_ComPackage;

class OSimDevice {
  public:
    struct OAnswer {
        uint32_t code = 1;
        std::vector<uint8_t> payload;
    };
    // A part the server sends on the part channel: to one session, or to all (session 0).
    struct OPartToSend {
        uint32_t session = 0;
        std::shared_ptr<const std::vector<uint8_t>> payload;
    };

    explicit OSimDevice(const OSimOptions& options);
    ~OSimDevice();

    const ZRINFO& Info() const { return m_info; }
    ODeviceState State() const;
    bool bIsCamera() const;
    bool bIsNewPlatform() const;

    // A login request; session is the token a successful login hands out.
    OAnswer Login(std::span<const uint8_t> payload, uint32_t session);
    OAnswer Handle(uint32_t session, uint32_t op, std::span<const uint8_t> payload);
    // Whether an operation moves data (what a "reject transfers" fault refuses).
    static bool bIsTransfer(uint32_t op);
    void SetBusy(bool busy);
    bool bIsBusy() const { return m_busy; }
    void ForgetSession(uint32_t session);

    // Diagnostic mode with a send mode that produces parts.
    bool bIsStreaming() const;
    // The next part of the feeder, encoded for the part channel; also logged.
    std::shared_ptr<const std::vector<uint8_t>> NextStreamPart();

    // What happened since the last call: state changes, program changes, parts to send.
    bool bTakeStateChanged();
    bool bTakeProgramsChanged();
    std::vector<OPartToSend> TakeParts();

    void SetResultProvider(std::unique_ptr<ODeviceResultProvider> provider);
    uint64_t iGetStoredBytes() const;

  private:
    struct OProgram {
        std::string name;
        int64_t timeStamp = 0;
        std::vector<uint8_t> bytes;  // the part set as encoded for the device
        int number = -1;
    };
    struct OPieces {
        std::vector<uint8_t> bytes;
        uint64_t total = 0;
    };

    OAnswer StateAnswer() const;
    OAnswer ModeCommand(uint32_t op, std::span<const uint8_t> payload);
    OAnswer DataCommand(uint32_t session, uint32_t op, std::span<const uint8_t> payload);
    OAnswer Legacy(uint32_t op, std::span<const uint8_t> payload);
    OAnswer Package(uint32_t session, uint32_t op, std::span<const uint8_t> payload);
    OAnswer PackageAction(uint32_t session, const OType_ComPackage& p);
    OAnswer PackageSend(uint32_t session, const OType_ComPackage& p);
    OAnswer PackageReceive(const OType_ComPackage& p);
    OAnswer StoreProgramInSlot(uint32_t slot, std::vector<uint8_t> bytes);
    OAnswer StoreNamedProgram(uint32_t number, std::span<const uint8_t> payload);
    OAnswer ProgramLists(uint32_t op, std::span<const uint8_t> payload);
    OAnswer CoordTrans(uint32_t op, std::span<const uint8_t> payload);
    OAnswer Trigger(uint32_t session, bool testImage);
    // The next part of a replayed recording, with this device's results.
    std::shared_ptr<const std::vector<uint8_t>> NextReplayedPart();
    // The test-image fault: results moved away from what the program computed.
    void Deviate(ODeviceResult& result) const;

    bool bFitsMemory(uint64_t adding, uint64_t replacing) const;
    bool bIsValidProgram(std::span<const uint8_t> bytes, std::string& name, int64_t& stamp) const;
    int iPartDataProtocol() const;
    std::unique_ptr<OType_Part> MakePart(const OSimPartSpec& spec, bool contour, bool image);
    std::shared_ptr<const std::vector<uint8_t>> EncodePart(const OType_Part& part, uint8_t origin);
    void LogPart(const OType_Part& part);
    std::span<const uint8_t> ActiveProgram() const;
    void ProgramsChanged();

    OSimOptions m_options;
    ZRINFO m_info;
    OSimPartFactory m_factory;
    OSimSchedule m_schedule;
    std::unique_ptr<ODeviceResultProvider> m_results;
    std::map<std::pair<int, int>, std::vector<std::unique_ptr<OType_Part>>> m_variants;
    size_t m_nextVariant = 0;
    std::vector<std::unique_ptr<OType_Part>> m_replayed;  // per recorded part, once inspected
    size_t m_nextReplay = 0;

    bool m_busy = false;
    bool m_diag = false;
    int m_sendMode = 1;
    int m_loginRetriesLeft = 0;
    int64_t m_clockOffset = 0;  // device clock minus this computer's, in seconds
    std::map<uint32_t, double> m_parameters;
    std::map<uint32_t, OProgram> m_slots;
    std::map<std::string, OProgram> m_named;
    std::map<int, std::string> m_assigned;
    std::map<uint32_t, std::vector<uint8_t>> m_partData;
    std::map<uint32_t, std::array<uint8_t, 2042>> m_legacyParameters;
    std::map<uint32_t, std::array<uint8_t, 334>> m_legacyConditions;
    std::map<std::tuple<uint32_t, std::string, uint32_t>, OPieces> m_pieces;
    std::optional<OCoordTrans_Tsai_Transformer> m_coordTrans;
    std::optional<OType_Image> m_testImage;
    std::deque<OType_Part> m_log;
    uint32_t m_partCounter = 0;
    bool m_errorPending = false;

    bool m_stateChanged = false;
    bool m_programsChanged = false;
    std::vector<OPartToSend> m_parts;
};
