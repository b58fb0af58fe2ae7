// The device link: one connection object per device session. Callers (the session on the
// UI thread, the test-case runner's worker) run synchronous operations that return 1 on
// success or a result code (LinkProtocol::Result): 35202 means try again. The link's own
// io thread receives parts into the synchronised received-part array and posts the
// notifications 35100-35110 to the CommandQueue; it never runs UI code.
//
// The two kinds differ only in how they reach the device: OQuillonComInterface_TCP (three
// connections, interface type 3) and OQuillonComInterface_Serial (one line).
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "link/LinkPayloads.h"
#include "link/LinkProtocol.h"
#include "link/OConnectionProfile.h"
#include "link/ODeviceState.h"
#include "link/OLegacyTransferBuffer.h"
#include "link/OLinkSession.h"
#include "model/device/ZRINFO.h"
#include "model/partset/OType_PartArray.h"

class CommandQueue;
class OCoordTrans_Tsai_Transformer;
class OProgressCtrl;
class OType_Image;
class OType_ZRPartSet;
class ProgressDisplay;
class Settings;
class UserInteraction;

// Notifications the link posts to the CommandQueue.
namespace LinkNotification {
inline constexpr int kContourPart = 35100;         // a part with contour data only
inline constexpr int kContourFeaturePart = 35101;  // contour data with the device's features
inline constexpr int kStateChanged = 35102;        // busy, mode or trigger state changed
inline constexpr int kLogChanged = 35103;          // the device's part-log count changed
inline constexpr int kContinue = 35104;            // posted by the program to fetch on
inline constexpr int kImagePart = 35105;           // a part with camera images
inline constexpr int kProgramsChanged = 35106;     // the device's check programs changed
inline constexpr int kConnectionLost = 35108;
inline constexpr int kResultPart = 35110;  // the result of a trigger or test image
}  // namespace LinkNotification

// The program services the link uses; any may be null.
struct OComServices {
    CommandQueue* commands = nullptr;
    UserInteraction* user = nullptr;  // login dialog
    Settings* settings = nullptr;     // connection profiles
};

class OQuillonComInterface {
  public:
    static constexpr int kInterfaceTypeTcp = 3;
    static constexpr int kDefaultTimeOutSec = 10;
    static constexpr auto kReceivedPartsLockTimeout = std::chrono::milliseconds(200);
    static constexpr int kDefaultReceivedPartLimit = 4000;
    static constexpr uint64_t kDefaultReceivedByteLimit = 512ull << 20;

    // Made from null, the session's ZRINFO, the main frame's progress control, its status
    // bar and 0 (any may be null).
    OQuillonComInterface(void* parent, ZRINFO* sessionInfo, OProgressCtrl* progress,
                         ProgressDisplay* statusBar, int reserved);
    virtual ~OQuillonComInterface();
    OQuillonComInterface(const OQuillonComInterface&) = delete;
    OQuillonComInterface& operator=(const OQuillonComInterface&) = delete;

    void SetServices(const OComServices& services);

    // --- connecting ---
    // Lets the user choose a profile of the connection kind (conType 3 TCP, else serial)
    // and returns its number (1-based, in Settings section "ConnectionProfiles") in
    // profile; 1 when chosen, 0 when cancelled. autoSpeed 1 lets a serial login try the
    // usual speeds.
    int iUserLogIn(int& level, int reserved, std::string_view user, int conType, int& profile,
                   int autoSpeed, std::string_view password);
    // Connects and logs in with profile number `profile` (0: the current parameters).
    // Returns 1, 35202 (try again; after the time-out it turns into 21) or an error.
    int iConnect(int level, int reserved, int profile, int reserved2, int reserved3, bool withLogin,
                 bool silent);
    // Connects again with the parameters of the last connection.
    int iReConnect(int level, int reserved);
    // Ends the connection: quiet 0 logs out first (the device returns to operating
    // mode), 1 only closes. Returns 0 while another thread runs an exchange.
    int iDisConnect(int quiet, int reserved);

    // --- state ---
    int iGetComOnLine() const;
    int iGetDeviceBusyState() const;
    int iGetSendMode() const;
    int iGetDiagMode() const;
    int iSetDiagMode(int on, int reserved);
    virtual int iGetInterfaceType() const = 0;
    int GetLastComInterfaceError() const;
    std::string GetLastComInterfaceErrorText() const;
    // Shows text in the status bar; " " clears it.
    void SetStatusModus(std::string_view text);
    std::string GetStatusModus() const;
    int iGetTimeOut_SEC() const;
    void SetTimeOut_SEC(int seconds);
    // Parts in the device's part log, and whether the device takes a trigger now.
    int iGetNumLoggedParts() const;
    bool bIsTriggerPossible() const;
    ODeviceState GetDeviceState() const;
    // Frames from the device refused as malformed since the connection was made.
    uint64_t iGetRefusedFrames() const;

    // --- commands ---
    int commandSYNCRO();
    int commandEWDIAG();
    int commandKONTUR();
    int commandKONZEI();
    int commandPARTIMAGES_ON();
    int commandPARTIMAGES_OFF();
    // Sends this computer's time and date.
    int commandSETTIME();
    int commandSETPAR(const std::vector<LinkPayload::OParameter>& parameters);
    int commandSETPAR(int id, double value) {
        return commandSETPAR({{static_cast<uint32_t>(id), value}});
    }
    int iTestSendImage(const OType_Image& image);
    int iSendTrigger();

    // --- blocks ---
    int uploadZRINFO();
    ZRINFO* opGetZRInfo_ComBuffer() { return &m_comInfo; }
    OLegacyTransferBuffer& opGetTransferBuffer() { return m_legacy; }
    int uploadPARAME();
    int downloadPARAME();
    int uploadCONDAT();
    int downloadCONDAT();

    // --- coordinate transformation ---
    int iSendCoordTransformerParameters(const OCoordTrans_Tsai_Transformer& transformer);
    int iReceiveCoordTransformerParameters(OCoordTrans_Tsai_Transformer& transformer);
    // The device calibrates itself; with takeParameters the result goes into the part
    // set's coordinate transformer.
    int iActionCalibrateCoordTrans(OType_ZRPartSet* partSet, int takeParameters, int showProgress);

    // --- notifications: called on the UI thread when a posted notification is handled ---
    // The part notifications return the number of parts waiting and re-arm their post.
    int UpdateEKG();
    int UpdateEKGuMERK();
    int UpdateT2uMERK();
    int UpdateME();
    int UpdateKO();
    int UpdateAE();
    int UpdateZE();
    int UpdateEdView();
    // Releases a lost connection (its thread and sockets); 1 when there was one.
    int UpdatePO();

    // --- received parts ---
    OType_PartArray& ReceivedParts() { return m_received; }
    bool bLockReceivedParts(std::chrono::milliseconds timeout = kReceivedPartsLockTimeout);
    void UnlockReceivedParts();
    // Takes the oldest received part (remove without delete); nullptr when none or the
    // lock was not free within the time-out.
    std::unique_ptr<OType_Part> opTakeReceivedPart(
        std::chrono::milliseconds timeout = kReceivedPartsLockTimeout);
    bool bRemoveAllReceivedParts(std::chrono::milliseconds timeout = kReceivedPartsLockTimeout);
    int iGetNumReceivedParts();
    // Parts beyond these limits are dropped (and counted) instead of filling memory.
    void SetReceivedPartLimits(int parts, uint64_t bytes);
    uint64_t iGetDroppedParts() const { return m_droppedParts.load(); }
    uint64_t iGetReceivedPartCount() const { return m_receivedCount.load(); }

    // --- exchanges, for packages, check-program objects and the session ---
    // Sends a request on a channel and waits up to the time-out for its answer.
    int iExchange(uint8_t channel, uint32_t op, std::span<const uint8_t> payload,
                  std::vector<uint8_t>& answer);

    const OConnectionProfile& GetCurrentProfile() const { return m_current; }
    void SetCurrentProfile(const OConnectionProfile& profile) { m_current = profile; }

  protected:
    // Opens the kind's pipes for profile and logs in; fills the login answer.
    virtual int iOpen(OLinkSession& session, const OConnectionProfile& profile,
                      LinkPayload::OLoginAnswer& answer) = 0;
    virtual OConnectionProfile::Kind ProfileKind() const = 0;

    int iLogin(OLinkSession& session, LinkPayload::OLoginAnswer& answer,
               std::chrono::steady_clock::time_point deadline);
    int iHello(OLinkSession& session, uint8_t channel, uint32_t token,
               std::chrono::steady_clock::time_point deadline);
    std::chrono::steady_clock::time_point Deadline() const;
    int iAutoSpeed() const { return m_autoSpeed; }

  private:
    // Receives the session's reports on the io thread. A member rather than a base, so that
    // no virtual call reaches this object while its destructor closes the session.
    class OListener : public OLinkSessionListener {
      public:
        explicit OListener(OQuillonComInterface& owner) : m_owner(owner) {}
        void OnNotification(OLinkMessage&& message) override {
            m_owner.OnNotification(std::move(message));
        }
        void OnConnectionLost(int result) override { m_owner.OnConnectionLost(result); }

      private:
        OQuillonComInterface& m_owner;
    };

    void OnNotification(OLinkMessage&& message);
    void OnConnectionLost(int result);
    int iConnectWith(const OConnectionProfile& profile);
    int iModeCommand(uint32_t op, std::span<const uint8_t> payload = {});
    int iFail(int code);
    int iSucceed();
    int iTransfer(uint8_t channel, uint32_t op, std::span<const uint8_t> payload,
                  std::vector<uint8_t>& answer, bool refuseWhenBusy);
    std::shared_ptr<OLinkSession> CurrentSession() const;
    void TakeState(const ODeviceState& state);
    void TakeStateFromAnswer(std::span<const uint8_t> answer);
    void OnPart(const OLinkMessage& message);
    void PostOnce(int commandId);
    int iClearOutstanding(int commandId);
    void CloseSession(bool quiet);

    OListener m_listener{*this};
    void* m_parent;
    ZRINFO* m_sessionInfo;
    OProgressCtrl* m_progress;
    ProgressDisplay* m_statusBar;
    OComServices m_services;
    std::thread::id m_ownerThread;

    ZRINFO m_comInfo;
    OLegacyTransferBuffer m_legacy;
    OConnectionProfile m_current;
    int m_autoSpeed = 0;

    mutable std::mutex m_mutex;
    std::shared_ptr<OLinkSession> m_session;
    ODeviceState m_state;
    bool m_online = false;
    bool m_lostPending = false;
    int m_lastError = LinkProtocol::Result::kOk;
    int m_timeOutSec = kDefaultTimeOutSec;
    std::string m_statusText;
    std::chrono::steady_clock::time_point m_tryAgainSince{};
    bool m_tryingAgain = false;
    std::atomic<int> m_activeExchanges{0};

    OType_PartArray m_received;
    std::atomic<bool> m_stopping{false};
    int m_partLimit = kDefaultReceivedPartLimit;
    uint64_t m_byteLimit = kDefaultReceivedByteLimit;
    // Bytes of the parts in the array, and how many parts they were counted for (both under
    // the array's lock).
    uint64_t m_receivedBytes = 0;
    int m_countedParts = 0;
    std::atomic<uint64_t> m_droppedParts{0};
    std::atomic<uint64_t> m_receivedCount{0};
    std::array<std::atomic<bool>, 11> m_outstanding{};
};
