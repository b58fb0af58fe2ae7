#include "link/OQuillonComInterface.h"

#include <ctime>

#include "link/ODlg_ConnectionProfile.h"
#include "model/coordtrans/OCoordTrans_Tsai_Transformer.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/stream/OByteStream_Memory.h"
#include "platform/CommandQueue.h"
#include "platform/Log.h"
#include "platform/OProgressCtrl.h"
#include "platform/ProgressDisplay.h"
#include "platform/UserInteraction.h"

using namespace LinkProtocol;
using SteadyClock = std::chrono::steady_clock;

namespace {

constexpr auto kTryAgainPause = std::chrono::milliseconds(200);
constexpr auto kLogoutWait = std::chrono::seconds(2);
constexpr uint64_t kProgressThreshold = 256 * 1024;

std::vector<uint8_t> U16Payload(uint16_t v) {
    OByteStream_Memory s;
    s.bWriteU16(v);
    return s.TakeBytes();
}

int64_t UtcOffsetMinutes(std::time_t now) {
    std::tm local{};
    std::tm utc{};
    localtime_r(&now, &local);
    gmtime_r(&now, &utc);
    utc.tm_isdst = local.tm_isdst;
    return static_cast<int64_t>(std::difftime(std::mktime(&local), std::mktime(&utc)) / 60);
}

// Drives the progress control from an exchange's byte counts, for long transfers only.
class OProgressDriver {
  public:
    explicit OProgressDriver(OProgressCtrl* progress) : m_progress(progress) {}
    ~OProgressDriver() {
        if (m_started) m_progress->End();
    }
    void Update(const OExchangeProgress& e) {
        const uint64_t total = e.sendTotal + e.receiveTotal;
        if (!m_progress || total < kProgressThreshold) return;
        if (!m_started) {
            m_progress->Start();
            m_started = true;
        }
        m_progress->Length(static_cast<int64_t>(total));
        const auto position = static_cast<int64_t>(e.sent + e.received);
        m_progress->Increase(position - m_shown);
        m_shown = position;
        m_progress->bUpdateDisplayIfDue(SteadyClock::now());
    }

  private:
    OProgressCtrl* m_progress;
    bool m_started = false;
    int64_t m_shown = 0;
};

}  // namespace

OQuillonComInterface::OQuillonComInterface(void* parent, ZRINFO* sessionInfo,
                                           OProgressCtrl* progress, ProgressDisplay* statusBar,
                                           int /*reserved*/)
    : m_parent(parent),
      m_sessionInfo(sessionInfo),
      m_progress(progress),
      m_statusBar(statusBar),
      m_ownerThread(std::this_thread::get_id()) {
    m_current = ConnectionProfiles::Defaults().front();
}

OQuillonComInterface::~OQuillonComInterface() {
    m_stopping = true;
    CloseSession(true);
}

void OQuillonComInterface::SetServices(const OComServices& services) {
    m_services = services;
}

// --- results ---

int OQuillonComInterface::iFail(int code) {
    std::lock_guard lock(m_mutex);
    m_lastError = code;
    return code == Result::kOk ? 0 : code;
}

int OQuillonComInterface::iSucceed() {
    std::lock_guard lock(m_mutex);
    m_lastError = Result::kOk;
    return Result::kOk;
}

int OQuillonComInterface::GetLastComInterfaceError() const {
    std::lock_guard lock(m_mutex);
    return m_lastError;
}

std::string OQuillonComInterface::GetLastComInterfaceErrorText() const {
    return ResultText(GetLastComInterfaceError());
}

// --- connecting ---

int OQuillonComInterface::iUserLogIn(int& level, int /*reserved*/, std::string_view /*user*/,
                                     int conType, int& profile, int autoSpeed,
                                     std::string_view /*password*/) {
    const auto kind = conType == kInterfaceTypeTcp ? OConnectionProfile::Kind::Tcp
                                                   : OConnectionProfile::Kind::Serial;
    if (kind != ProfileKind()) {
        iFail(Result::kBadArgument);
        return 0;
    }
    Settings* settings = m_services.settings;
    std::vector<OConnectionProfile> profiles =
        settings ? ConnectionProfiles::Load(*settings) : ConnectionProfiles::Defaults();
    const int last = settings ? ConnectionProfiles::iGetLast(*settings, kind) : 0;
    ODlg_ConnectionProfile dialog(profiles, kind, last - 1);
    const bool ask = !settings || ConnectionProfiles::bAskAtLogin(*settings);
    if (m_services.user && ask) {
        if (!m_services.user->bRunDialog(dialog)) {
            iFail(Result::kCancelled);
            return 0;
        }
    } else {
        std::string message;
        if (!dialog.bValidate(message)) {
            iFail(Result::kBadArgument);
            return 0;
        }
    }
    const int chosen = dialog.iGetSelected();
    if (settings) {
        ConnectionProfiles::Save(*settings, dialog.Profiles());
        ConnectionProfiles::SetLast(*settings, kind, chosen + 1);
        if (m_services.user && ask)
            ConnectionProfiles::SetAskAtLogin(*settings, dialog.bGetAskAgain());
    }
    m_current = dialog.Profiles()[static_cast<size_t>(chosen)];
    m_autoSpeed = kind == OConnectionProfile::Kind::Serial ? autoSpeed : 0;
    profile = chosen + 1;
    level = 1;
    iSucceed();
    return 1;
}

int OQuillonComInterface::iConnect(int /*level*/, int /*reserved*/, int profile, int, int,
                                   bool /*withLogin*/, bool silent) {
    OConnectionProfile p = m_current;
    if (profile > 0) {
        const auto list = m_services.settings ? ConnectionProfiles::Load(*m_services.settings)
                                              : ConnectionProfiles::Defaults();
        if (profile > static_cast<int>(list.size())) return iFail(Result::kBadArgument);
        p = list[static_cast<size_t>(profile - 1)];
    }
    if (p.kind != ProfileKind()) return iFail(Result::kBadArgument);
    if (!silent) SetStatusModus("Connecting to " + p.Describe() + " ...");
    const int r = iConnectWith(p);
    if (!silent) SetStatusModus(" ");
    return r;
}

int OQuillonComInterface::iReConnect(int /*level*/, int /*reserved*/) {
    if (iGetComOnLine()) return iSucceed();
    return iConnectWith(m_current);
}

int OQuillonComInterface::iConnectWith(const OConnectionProfile& profile) {
    if (m_activeExchanges.load() > 0) return iFail(Result::kExchangeRunning);
    std::string message;
    if (!profile.bValidate(message)) return iFail(Result::kBadArgument);
    CloseSession(true);
    auto session = std::make_shared<OLinkSession>(&m_listener);
    LinkPayload::OLoginAnswer answer;
    const int r = iOpen(*session, profile, answer);
    if (r != Result::kOk) {
        session->Close();
        if (r != Result::kTryAgain) {
            m_tryingAgain = false;
            return iFail(r);
        }
        // A device that keeps asking to try again is given the time-out, then it fails.
        const auto now = SteadyClock::now();
        if (!m_tryingAgain) {
            m_tryingAgain = true;
            m_tryAgainSince = now;
        } else if (now - m_tryAgainSince > std::chrono::seconds(iGetTimeOut_SEC())) {
            m_tryingAgain = false;
            return iFail(Result::kTimeOut);
        }
        std::this_thread::sleep_for(kTryAgainPause);
        return iFail(Result::kTryAgain);
    }
    m_tryingAgain = false;
    m_current = profile;
    for (auto& flag : m_outstanding)
        flag = false;
    {
        std::lock_guard lock(m_mutex);
        m_session = std::move(session);
        m_online = true;
        m_lostPending = false;
        m_state = answer.state;
    }
    Log::Write(LogLevel::Info, "link", "connected to " + profile.Describe());
    return iSucceed();
}

int OQuillonComInterface::iLogin(OLinkSession& session, LinkPayload::OLoginAnswer& answer,
                                 SteadyClock::time_point deadline) {
    OByteStream_Memory request;
    LinkPayload::Encode(request, LinkPayload::OLogin{kVersion, "none", ""});
    std::vector<uint8_t> reply;
    const int r = session.iExchange(kControl, kOpLogin, request.Bytes(), reply, deadline);
    if (r != Result::kOk) return r;
    auto s = OByteStream_Memory::View(reply);
    return LinkPayload::bDecode(s, answer) ? Result::kOk : Result::kProtocolError;
}

int OQuillonComInterface::iHello(OLinkSession& session, uint8_t channel, uint32_t token,
                                 SteadyClock::time_point deadline) {
    OByteStream_Memory request;
    request.bWriteU32(token);
    std::vector<uint8_t> reply;
    return session.iExchange(channel, kOpHello, request.Bytes(), reply, deadline);
}

SteadyClock::time_point OQuillonComInterface::Deadline() const {
    return SteadyClock::now() + std::chrono::seconds(iGetTimeOut_SEC());
}

int OQuillonComInterface::iDisConnect(int quiet, int /*reserved*/) {
    if (m_activeExchanges.load() > 0) {
        iFail(Result::kExchangeRunning);
        return 0;
    }
    CloseSession(quiet == 1);
    return iSucceed();
}

void OQuillonComInterface::CloseSession(bool quiet) {
    std::shared_ptr<OLinkSession> session;
    bool online = false;
    {
        std::lock_guard lock(m_mutex);
        session = std::move(m_session);
        online = m_online;
        m_online = false;
        m_lostPending = false;
        m_state = ODeviceState{};
    }
    if (!session) return;
    if (!quiet && online && !session->bIsLost()) {
        std::vector<uint8_t> reply;
        session->iExchange(
            kControl, kOpLogout, {}, reply,
            SteadyClock::now() + std::min<SteadyClock::duration>(
                                     kLogoutWait, std::chrono::seconds(iGetTimeOut_SEC())));
    }
    session->Close();
}

std::shared_ptr<OLinkSession> OQuillonComInterface::CurrentSession() const {
    std::lock_guard lock(m_mutex);
    return m_session;
}

// --- state ---

int OQuillonComInterface::iGetComOnLine() const {
    std::lock_guard lock(m_mutex);
    return m_online && m_session && !m_session->bIsLost() ? 1 : 0;
}

int OQuillonComInterface::iGetDeviceBusyState() const {
    std::lock_guard lock(m_mutex);
    return m_online && m_state.busy ? 1 : 0;
}

int OQuillonComInterface::iGetSendMode() const {
    std::lock_guard lock(m_mutex);
    return m_state.sendMode;
}

int OQuillonComInterface::iGetDiagMode() const {
    std::lock_guard lock(m_mutex);
    return m_state.diagMode ? 1 : 0;
}

int OQuillonComInterface::iGetNumLoggedParts() const {
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_state.loggedParts);
}

bool OQuillonComInterface::bIsTriggerPossible() const {
    std::lock_guard lock(m_mutex);
    return m_online && m_state.triggerPossible;
}

ODeviceState OQuillonComInterface::GetDeviceState() const {
    std::lock_guard lock(m_mutex);
    return m_state;
}

uint64_t OQuillonComInterface::iGetRefusedFrames() const {
    const auto session = CurrentSession();
    return session ? session->iRefusedFrames() : 0;
}

void OQuillonComInterface::SetStatusModus(std::string_view text) {
    {
        std::lock_guard lock(m_mutex);
        m_statusText = text == " " ? std::string() : std::string(text);
    }
    if (m_statusBar) m_statusBar->ShowStatusText(text);
}

std::string OQuillonComInterface::GetStatusModus() const {
    std::lock_guard lock(m_mutex);
    return m_statusText;
}

int OQuillonComInterface::iGetTimeOut_SEC() const {
    std::lock_guard lock(m_mutex);
    return m_timeOutSec;
}

void OQuillonComInterface::SetTimeOut_SEC(int seconds) {
    std::lock_guard lock(m_mutex);
    m_timeOutSec = std::clamp(seconds, 1, 24 * 3600);
}

void OQuillonComInterface::TakeState(const ODeviceState& state) {
    ODeviceState old;
    {
        std::lock_guard lock(m_mutex);
        old = m_state;
        m_state = state;
    }
    ODeviceState withoutLog = old;
    withoutLog.loggedParts = state.loggedParts;
    if (!(withoutLog == state)) PostOnce(LinkNotification::kStateChanged);
    if (old.loggedParts != state.loggedParts) PostOnce(LinkNotification::kLogChanged);
}

void OQuillonComInterface::TakeStateFromAnswer(std::span<const uint8_t> answer) {
    auto s = OByteStream_Memory::View(answer);
    ODeviceState state;
    if (state.bDecode(s)) TakeState(state);
}

// --- exchanges ---

int OQuillonComInterface::iTransfer(uint8_t channel, uint32_t op, std::span<const uint8_t> payload,
                                    std::vector<uint8_t>& answer, bool refuseWhenBusy) {
    const auto session = CurrentSession();
    if (!session || !iGetComOnLine())
        return iFail(session ? Result::kConnectionLost : Result::kNotOnline);
    if (refuseWhenBusy && iGetDeviceBusyState()) return iFail(Result::kDeviceBusy);
    ++m_activeExchanges;
    OProgressDriver driver(std::this_thread::get_id() == m_ownerThread ? m_progress : nullptr);
    const int r = session->iExchange(channel, op, payload, answer, Deadline(),
                                     [&driver](const OExchangeProgress& e) { driver.Update(e); });
    --m_activeExchanges;
    if (r == Result::kOk) return iSucceed();
    if (!answer.empty()) {
        auto s = OByteStream_Memory::View(answer);
        std::string text;
        if (LinkPayload::bReadName(s, text) && !text.empty())
            Log::Write(LogLevel::Info, "link", "device: " + text);
    }
    return iFail(r);
}

int OQuillonComInterface::iExchange(uint8_t channel, uint32_t op, std::span<const uint8_t> payload,
                                    std::vector<uint8_t>& answer) {
    return iTransfer(channel, op, payload, answer, channel == kData);
}

int OQuillonComInterface::iModeCommand(uint32_t op, std::span<const uint8_t> payload) {
    std::vector<uint8_t> answer;
    const int r = iTransfer(kControl, op, payload, answer, false);
    if (r == Result::kOk) TakeStateFromAnswer(answer);
    return r;
}

// --- commands ---

int OQuillonComInterface::commandSYNCRO() {
    return iModeCommand(kOpSync);
}
int OQuillonComInterface::commandEWDIAG() {
    return iModeCommand(kOpEwDiag);
}
int OQuillonComInterface::commandKONTUR() {
    return iModeCommand(kOpKontur);
}
int OQuillonComInterface::commandKONZEI() {
    return iModeCommand(kOpKonzei);
}
int OQuillonComInterface::commandPARTIMAGES_ON() {
    return iModeCommand(kOpPartImagesOn);
}
int OQuillonComInterface::commandPARTIMAGES_OFF() {
    return iModeCommand(kOpPartImagesOff);
}

int OQuillonComInterface::iSetDiagMode(int on, int /*reserved*/) {
    const uint8_t flag = on ? 1 : 0;
    return iModeCommand(kOpSetDiagMode, {&flag, 1});
}

int OQuillonComInterface::commandSETTIME() {
    const std::time_t now = std::time(nullptr);
    OByteStream_Memory s;
    LinkPayload::Encode(s, LinkPayload::OSetTime{static_cast<int64_t>(now),
                                                 static_cast<int32_t>(UtcOffsetMinutes(now))});
    return iModeCommand(kOpSetTime, s.Bytes());
}

int OQuillonComInterface::commandSETPAR(const std::vector<LinkPayload::OParameter>& parameters) {
    if (parameters.size() > LinkPayload::kMaxParameters) return iFail(Result::kBadArgument);
    OByteStream_Memory s;
    LinkPayload::Encode(s, parameters);
    return iModeCommand(kOpSetPar, s.Bytes());
}

int OQuillonComInterface::iTestSendImage(const OType_Image& image) {
    if (image.bIsEmpty()) return iFail(Result::kBadArgument);
    OByteStream_Memory s;
    image.iEncode(s);
    std::vector<uint8_t> answer;
    return iTransfer(kData, kOpTestImage, s.Bytes(), answer, true);
}

int OQuillonComInterface::iSendTrigger() {
    std::vector<uint8_t> answer;
    return iTransfer(kData, kOpTrigger, {}, answer, true);
}

// --- blocks ---

int OQuillonComInterface::uploadZRINFO() {
    std::vector<uint8_t> answer;
    const int r = iTransfer(kData, kOpUploadZrInfo, {}, answer, true);
    if (r != Result::kOk) return r;
    if (answer.size() != ZRINFO::kSize) return iFail(Result::kProtocolError);
    m_comInfo.Assign(answer);
    return r;
}

int OQuillonComInterface::uploadPARAME() {
    std::vector<uint8_t> answer;
    const int r = iTransfer(kData, kOpUploadParame, U16Payload(m_legacy.number), answer, true);
    if (r != Result::kOk) return r;
    if (answer.size() != OLegacyTransferBuffer::kParameterBytes)
        return iFail(Result::kProtocolError);
    std::copy(answer.begin(), answer.end(), m_legacy.parameters.begin());
    return r;
}

int OQuillonComInterface::downloadPARAME() {
    auto payload = U16Payload(m_legacy.number);
    payload.insert(payload.end(), m_legacy.parameters.begin(),
                   m_legacy.parameters.begin() + OLegacyTransferBuffer::kParameterBytes);
    std::vector<uint8_t> answer;
    return iTransfer(kData, kOpDownloadParame, payload, answer, true);
}

int OQuillonComInterface::uploadCONDAT() {
    std::vector<uint8_t> answer;
    const int r =
        iTransfer(kData, kOpUploadCondat, U16Payload(m_legacy.iGetNumberBytes()), answer, true);
    if (r != Result::kOk) return r;
    if (answer.size() != OLegacyTransferBuffer::kConditionBytes)
        return iFail(Result::kProtocolError);
    std::copy(answer.begin(), answer.end(), m_legacy.conditions.begin());
    return r;
}

int OQuillonComInterface::downloadCONDAT() {
    auto payload = U16Payload(m_legacy.iGetNumberBytes());
    payload.insert(payload.end(), m_legacy.conditions.begin(), m_legacy.conditions.end());
    std::vector<uint8_t> answer;
    return iTransfer(kData, kOpDownloadCondat, payload, answer, true);
}

// --- coordinate transformation ---

int OQuillonComInterface::iSendCoordTransformerParameters(const OCoordTrans_Tsai_Transformer& t) {
    OByteStream_Memory s;
    t.oGetParameters().bWrite(s);
    std::vector<uint8_t> answer;
    return iTransfer(kData, kOpCoordSend, s.Bytes(), answer, true);
}

namespace {

int iTakeParameters(std::span<const uint8_t> answer, OCoordTrans_Tsai_Transformer& t) {
    auto s = OByteStream_Memory::View(answer);
    OCoordTrans_Tsai_Parameters parameters;
    if (!parameters.bRead(s) || s.iRemaining() != 0) return Result::kProtocolError;
    return t.iSetParameters(parameters) ? Result::kOk : Result::kProtocolError;
}

}  // namespace

int OQuillonComInterface::iReceiveCoordTransformerParameters(OCoordTrans_Tsai_Transformer& t) {
    std::vector<uint8_t> answer;
    const int r = iTransfer(kData, kOpCoordReceive, {}, answer, true);
    if (r != Result::kOk) return r;
    const int taken = iTakeParameters(answer, t);
    return taken == Result::kOk ? r : iFail(taken);
}

int OQuillonComInterface::iActionCalibrateCoordTrans(OType_ZRPartSet* partSet, int takeParameters,
                                                     int showProgress) {
    OCoordTrans_Tsai_Transformer* target = partSet ? partSet->opGetCoordTransformer() : nullptr;
    if (takeParameters && !target) return iFail(Result::kBadArgument);
    if (showProgress) SetStatusModus("Calibrating the coordinate transformation ...");
    std::vector<uint8_t> answer;
    const int r = iTransfer(kData, kOpCoordCalibrate, {}, answer, true);
    if (showProgress) SetStatusModus(" ");
    if (r != Result::kOk || !takeParameters) return r;
    const int taken = iTakeParameters(answer, *target);
    return taken == Result::kOk ? r : iFail(taken);
}

// --- notifications ---

void OQuillonComInterface::PostOnce(int commandId) {
    const int index = commandId - LinkNotification::kContourPart;
    if (index < 0 || index >= static_cast<int>(m_outstanding.size())) return;
    if (m_outstanding[static_cast<size_t>(index)].exchange(true)) return;
    if (m_services.commands) m_services.commands->Post(commandId);
}

int OQuillonComInterface::iClearOutstanding(int commandId) {
    const int index = commandId - LinkNotification::kContourPart;
    if (index >= 0 && index < static_cast<int>(m_outstanding.size()))
        m_outstanding[static_cast<size_t>(index)] = false;
    return 1;
}

int OQuillonComInterface::UpdateEKG() {
    iClearOutstanding(LinkNotification::kContourPart);
    return iGetNumReceivedParts();
}
int OQuillonComInterface::UpdateEKGuMERK() {
    iClearOutstanding(LinkNotification::kContourFeaturePart);
    return iGetNumReceivedParts();
}
int OQuillonComInterface::UpdateT2uMERK() {
    iClearOutstanding(LinkNotification::kImagePart);
    return iGetNumReceivedParts();
}
int OQuillonComInterface::UpdateME() {
    iClearOutstanding(LinkNotification::kResultPart);
    return iGetNumReceivedParts();
}
int OQuillonComInterface::UpdateKO() {
    for (int id : {LinkNotification::kContourPart, LinkNotification::kContourFeaturePart,
                   LinkNotification::kImagePart, LinkNotification::kResultPart})
        iClearOutstanding(id);
    return iGetNumReceivedParts();
}
int OQuillonComInterface::UpdateAE() {
    return iClearOutstanding(LinkNotification::kStateChanged);
}
int OQuillonComInterface::UpdateZE() {
    iClearOutstanding(LinkNotification::kLogChanged);
    return iGetNumLoggedParts();
}
int OQuillonComInterface::UpdateEdView() {
    return iClearOutstanding(LinkNotification::kProgramsChanged);
}

int OQuillonComInterface::UpdatePO() {
    iClearOutstanding(LinkNotification::kConnectionLost);
    bool lost = false;
    {
        std::lock_guard lock(m_mutex);
        lost = m_lostPending;
    }
    if (!lost) return 0;
    CloseSession(true);
    SetStatusModus("The connection to the device was lost.");
    return 1;
}

void OQuillonComInterface::OnConnectionLost(int result) {
    {
        std::lock_guard lock(m_mutex);
        m_online = false;
        m_lostPending = true;
        m_lastError = result;
    }
    PostOnce(LinkNotification::kConnectionLost);
    Log::Write(LogLevel::Warning, "link", "connection to the device lost");
}

void OQuillonComInterface::OnNotification(OLinkMessage&& m) {
    if (m.code == kEventState && m.channel == kControl) {
        TakeStateFromAnswer(m.payload);
    } else if (m.code == kEventProgramsChanged && m.channel == kControl) {
        PostOnce(LinkNotification::kProgramsChanged);
    } else if (m.code == kEventPart && m.channel == kParts) {
        OnPart(m);
    } else {
        Log::Write(LogLevel::Warning, "link",
                   "ignored unknown notification " + std::to_string(m.code));
    }
}

void OQuillonComInterface::OnPart(const OLinkMessage& m) {
    auto s = OByteStream_Memory::View(m.payload);
    uint8_t origin = 0;
    auto part = std::make_unique<OType_Part>();
    if (!s.bReadU8(origin) || !part->iDecode(s) || s.iRemaining() != 0) {
        Log::Write(LogLevel::Warning, "link", "refused a malformed part from the device");
        return;
    }
    int notification = LinkNotification::kContourPart;
    if (origin != kPartStream)
        notification = LinkNotification::kResultPart;
    else if (part->iGetNumImages() > 0)
        notification = LinkNotification::kImagePart;
    else if (!part->Features().bIsEmpty())
        notification = LinkNotification::kContourFeaturePart;
    const uint64_t size = part->iGetObjectSize();
    while (!m_received.Synchronized_Lock(kReceivedPartsLockTimeout)) {
        if (m_stopping) return;
    }
    // The array may have been changed directly by its user: then count its bytes again.
    if (m_received.iGetSize() != m_countedParts) {
        m_receivedBytes = 0;
        for (int i = 0; i < m_received.iGetSize(); ++i)
            m_receivedBytes += m_received.GetAt_NoSort(i)->iGetObjectSize();
        m_countedParts = m_received.iGetSize();
    }
    const bool full = m_received.iGetSize() >= m_partLimit || m_receivedBytes + size > m_byteLimit;
    if (!full) {
        m_received.Add(std::move(part));
        m_receivedBytes += size;
        ++m_countedParts;
    }
    m_received.Synchronized_Unlock();
    if (full) {
        if (m_droppedParts++ == 0)
            Log::Write(LogLevel::Warning, "link", "received-part array full: dropping parts");
        return;
    }
    ++m_receivedCount;
    PostOnce(notification);
}

// --- received parts ---

bool OQuillonComInterface::bLockReceivedParts(std::chrono::milliseconds timeout) {
    return m_received.Synchronized_Lock(timeout);
}

void OQuillonComInterface::UnlockReceivedParts() {
    m_received.Synchronized_Unlock();
}

std::unique_ptr<OType_Part> OQuillonComInterface::opTakeReceivedPart(
    std::chrono::milliseconds timeout) {
    if (!m_received.Synchronized_Lock(timeout)) return nullptr;
    auto part = m_received.DetachAt_NoSort(0);
    if (part && m_countedParts == m_received.iGetSize() + 1) {
        m_receivedBytes -= std::min(m_receivedBytes, part->iGetObjectSize());
        --m_countedParts;
    }
    m_received.Synchronized_Unlock();
    return part;
}

bool OQuillonComInterface::bRemoveAllReceivedParts(std::chrono::milliseconds timeout) {
    if (!m_received.Synchronized_Lock(timeout)) return false;
    m_received.RemoveAll();
    m_received.Synchronized_Unlock();
    return true;
}

int OQuillonComInterface::iGetNumReceivedParts() {
    if (!m_received.Synchronized_Lock(kReceivedPartsLockTimeout)) return 0;
    const int n = m_received.iGetSize();
    m_received.Synchronized_Unlock();
    return n;
}

void OQuillonComInterface::SetReceivedPartLimits(int parts, uint64_t bytes) {
    // The receive thread reads the limits under the array's lock.
    while (!m_received.Synchronized_Lock(kReceivedPartsLockTimeout)) {
    }
    m_partLimit = std::max(1, parts);
    m_byteLimit = std::max<uint64_t>(1, bytes);
    m_received.Synchronized_Unlock();
}
