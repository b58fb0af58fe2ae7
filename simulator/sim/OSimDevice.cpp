#include "sim/OSimDevice.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <utility>

#include "device/TargetSystem.h"
#include "link/LinkProtocol.h"
#include "link/OLegacyTransferBuffer.h"
#include "link/OType_ComPackage.h"
#include "model/coordtrans/OCoordTrans_CalibrationPlate.h"
#include "model/partset/OType_PartArray.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/stream/OByteStream_Memory.h"
#include "platform/Log.h"
#include "sim/ODeviceResultProvider_CheckProgram.h"

using namespace LinkProtocol;

namespace {

constexpr uint32_t kAllPrograms = 65535;

OSimDevice::OAnswer Code(uint32_t code) {
    return {code, {}};
}

OSimDevice::OAnswer Bytes(std::vector<uint8_t> bytes) {
    return {Result::kOk, std::move(bytes)};
}

OSimPartGeometry GeometryOf(const ZRINFO& info) {
    OSimPartGeometry g;
    const int pixels = info.u16(ZRINFO::kPixels);
    g.contourHeight = pixels > 0 ? pixels : 512;
    g.imageWidth = std::max<int>(1, info.iGetImageWidth());
    g.imageHeight = std::max<int>(1, info.iGetImageHeight());
    g.imageLayers = info.iGetPixelFormat() == 24 ? 3 : 1;
    return g;
}

bool bReadU16(std::span<const uint8_t> payload, uint16_t& number) {
    auto s = OByteStream_Memory::View(payload);
    return s.bReadU16(number);
}

OCoordTrans_Tsai_Transformer SyntheticCalibration(const ZRINFO& info) {
    const double w = std::max<int>(64, info.iGetImageWidth());
    const double h = std::max<int>(64, info.iGetImageHeight());
    const auto camera =
        OCoordTrans_Tsai_CameraParameters::FromSensor(w, w, 0.0048, 0.0048, w / 2, h / 2, 1);
    return CalibrateOnPlate(camera, 1e-3);
}

std::vector<uint8_t> ParametersPayload(const OCoordTrans_Tsai_Transformer& t) {
    OByteStream_Memory s;
    t.oGetParameters().bWrite(s);
    return s.TakeBytes();
}

std::unique_ptr<ODeviceResultProvider> MakeResultProvider(const OSimOptions& options,
                                                          const ZRINFO& info) {
    auto fixed = std::make_unique<ODeviceResultProvider_Fixed>(options.resultDeviation);
    if (options.fixedResults) return fixed;
    return std::make_unique<ODeviceResultProvider_CheckProgram>(info, std::move(fixed));
}

}  // namespace

OSimDevice::OSimDevice(const OSimOptions& options)
    : m_options(options),
      m_info(MakeSimulatedDeviceInfo(options.device)),
      m_factory(GeometryOf(m_info), options.variation, options.seed),
      m_schedule(options.schedule),
      m_results(MakeResultProvider(options, m_info)),
      m_diag(options.startInDiagMode),
      m_sendMode(options.sendMode),
      m_loginRetriesLeft(options.faults.loginRetries) {
    if (!bIsCamera() && (m_sendMode == 0 || m_sendMode == 4)) m_sendMode = 1;
}

OSimDevice::~OSimDevice() = default;

bool OSimDevice::bIsCamera() const {
    return TargetSystem::bIsCamera(m_options.device.target.hardware);
}

bool OSimDevice::bIsNewPlatform() const {
    return TargetSystem::bIsNewPlatform(m_options.device.target.hardware);
}

int OSimDevice::iPartDataProtocol() const {
    return m_info.u16(ZRINFO::kPartDataProtocol);
}

void OSimDevice::SetResultProvider(std::unique_ptr<ODeviceResultProvider> provider) {
    if (provider) m_results = std::move(provider);
}

ODeviceState OSimDevice::State() const {
    ODeviceState s;
    s.busy = m_busy;
    s.diagMode = m_diag;
    s.sendMode = m_sendMode;
    s.triggerPossible =
        bIsCamera() && m_diag && !m_busy && (m_sendMode == 0 || m_sendMode == 1 || m_sendMode == 4);
    s.loggedParts = static_cast<uint32_t>(m_log.size());
    return s;
}

OSimDevice::OAnswer OSimDevice::StateAnswer() const {
    OByteStream_Memory s;
    State().Encode(s);
    return Bytes(s.TakeBytes());
}

void OSimDevice::SetBusy(bool busy) {
    if (m_busy == busy) return;
    m_busy = busy;
    m_stateChanged = true;
    Log::Write(LogLevel::Info, "devsim", busy ? "busy" : "ready");
}

void OSimDevice::ForgetSession(uint32_t session) {
    std::erase_if(m_pieces, [session](const auto& e) { return std::get<0>(e.first) == session; });
}

bool OSimDevice::bTakeStateChanged() {
    return std::exchange(m_stateChanged, false);
}

bool OSimDevice::bTakeProgramsChanged() {
    return std::exchange(m_programsChanged, false);
}

std::vector<OSimDevice::OPartToSend> OSimDevice::TakeParts() {
    return std::exchange(m_parts, {});
}

uint64_t OSimDevice::iGetStoredBytes() const {
    uint64_t n = 0;
    for (const auto& [k, p] : m_slots)
        n += p.bytes.size();
    for (const auto& [k, p] : m_named)
        n += p.bytes.size();
    for (const auto& [k, d] : m_partData)
        n += d.size();
    return n;
}

bool OSimDevice::bFitsMemory(uint64_t adding, uint64_t replacing) const {
    return iGetStoredBytes() - std::min(replacing, iGetStoredBytes()) + adding <= m_options.memory;
}

bool OSimDevice::bIsTransfer(uint32_t op) {
    return op >= kOpUploadParame && op <= kOpTrigger;
}

// --- login and dispatch ---

OSimDevice::OAnswer OSimDevice::Login(std::span<const uint8_t> payload, uint32_t session) {
    auto s = OByteStream_Memory::View(payload);
    LinkPayload::OLogin login;
    if (!LinkPayload::bDecode(s, login)) return Code(Result::kProtocolError);
    if (login.protocolVersion != kVersion) return Code(Result::kNotSupported);
    if (m_busy || m_loginRetriesLeft > 0) {
        if (m_loginRetriesLeft > 0) --m_loginRetriesLeft;
        return Code(Result::kTryAgain);
    }
    OByteStream_Memory out;
    LinkPayload::Encode(out, LinkPayload::OLoginAnswer{session, State()});
    return Bytes(out.TakeBytes());
}

OSimDevice::OAnswer OSimDevice::Handle(uint32_t session, uint32_t op,
                                       std::span<const uint8_t> payload) {
    if (op == kOpSync) return StateAnswer();
    if (op == kOpLogout) {
        ForgetSession(session);
        if (m_diag) {
            m_diag = false;
            if (m_sendMode == 1 || m_sendMode == 4) m_sendMode = 0;
            m_stateChanged = true;
        }
        return StateAnswer();
    }
    if (m_busy) return Code(Result::kDeviceBusy);
    if (op >= kOpSetDiagMode && op <= kOpSetPar) return ModeCommand(op, payload);
    return DataCommand(session, op, payload);
}

// --- modes ---

OSimDevice::OAnswer OSimDevice::ModeCommand(uint32_t op, std::span<const uint8_t> payload) {
    const ODeviceState before = State();
    switch (op) {
        case kOpSetDiagMode: {
            if (payload.size() != 1 || payload[0] > 1) return Code(Result::kProtocolError);
            m_diag = payload[0] == 1;
            if (!m_diag && (m_sendMode == 1 || m_sendMode == 4)) m_sendMode = 0;
            break;
        }
        case kOpEwDiag:
            m_diag = true;
            break;
        case kOpKontur:
            if (!m_diag) return Code(Result::kRefusedInMode);
            if (m_sendMode != 4) m_sendMode = 1;
            break;
        case kOpKonzei:
            m_sendMode = 0;
            break;
        case kOpPartImagesOn:
            if (!bIsCamera()) return Code(Result::kNotSupported);
            if (m_sendMode == 2 || m_sendMode == 3) return Code(Result::kRefusedInMode);
            if (m_sendMode == 1) m_sendMode = 4;
            break;
        case kOpPartImagesOff:
            if (!bIsCamera()) return Code(Result::kNotSupported);
            if (m_sendMode == 2 || m_sendMode == 3) return Code(Result::kRefusedInMode);
            m_sendMode = 1;
            break;
        case kOpSetTime: {
            if (!TargetSystem::bSendsTimeAndDate(m_options.device.target.hardware))
                return Code(Result::kNotSupported);
            auto s = OByteStream_Memory::View(payload);
            LinkPayload::OSetTime t;
            if (!LinkPayload::bDecode(s, t)) return Code(Result::kProtocolError);
            m_clockOffset = t.unixSeconds - static_cast<int64_t>(std::time(nullptr));
            Log::Write(LogLevel::Info, "devsim",
                       "clock set (offset " + std::to_string(m_clockOffset) + " s, UTC" +
                           (t.utcOffsetMinutes >= 0 ? "+" : "") +
                           std::to_string(t.utcOffsetMinutes) + " min)");
            break;
        }
        case kOpSetPar: {
            auto s = OByteStream_Memory::View(payload);
            std::vector<LinkPayload::OParameter> parameters;
            if (!LinkPayload::bDecode(s, parameters)) return Code(Result::kProtocolError);
            for (const auto& p : parameters)
                m_parameters[p.id] = p.value;
            break;
        }
        default:
            return Code(Result::kNotSupported);
    }
    if (!(State() == before)) m_stateChanged = true;
    return StateAnswer();
}

// --- data ---

OSimDevice::OAnswer OSimDevice::DataCommand(uint32_t session, uint32_t op,
                                            std::span<const uint8_t> payload) {
    switch (op) {
        case kOpUploadZrInfo: {
            const auto bytes = m_info.Bytes();
            return Bytes({bytes.begin(), bytes.end()});
        }
        case kOpUploadParame:
        case kOpDownloadParame:
        case kOpUploadCondat:
        case kOpDownloadCondat:
            return Legacy(op, payload);
        case kOpPackageAction:
        case kOpPackageSend:
        case kOpPackageReceive:
            return Package(session, op, payload);
        case kOpProgramList:
        case kOpProgramNrList:
        case kOpProgramInfo:
        case kOpProgramAssign:
        case kOpProgramDelete:
            return ProgramLists(op, payload);
        case kOpCoordSend:
        case kOpCoordReceive:
        case kOpCoordCalibrate:
            return CoordTrans(op, payload);
        case kOpTestImage: {
            if (!bIsCamera()) return Code(Result::kNotSupported);
            auto s = OByteStream_Memory::View(payload);
            OType_Image image;
            if (!image.iDecode(s) || image.bIsEmpty()) return Code(Result::kTransferRejected);
            m_testImage = std::move(image);
            return Code(Result::kOk);
        }
        case kOpTrigger:
            return Trigger(session, true);
        default:
            return Code(Result::kNotSupported);
    }
}

OSimDevice::OAnswer OSimDevice::Legacy(uint32_t op, std::span<const uint8_t> payload) {
    if (iPartDataProtocol() != 0) return Code(Result::kNotSupported);
    uint16_t number = 0;
    if (!bReadU16(payload, number)) return Code(Result::kProtocolError);
    if (number < 1 || number > m_options.device.target.partTypes) return Code(Result::kNoSuchItem);
    const auto data = payload.subspan(2);
    switch (op) {
        case kOpUploadParame: {
            const auto it = m_legacyParameters.find(number);
            std::vector<uint8_t> out(OLegacyTransferBuffer::kParameterBytes, 0);
            if (it != m_legacyParameters.end())
                std::copy(it->second.begin(), it->second.end(), out.begin());
            return Bytes(std::move(out));
        }
        case kOpDownloadParame: {
            if (data.size() != OLegacyTransferBuffer::kParameterBytes)
                return Code(Result::kTransferRejected);
            std::copy(data.begin(), data.end(), m_legacyParameters[number].begin());
            return Code(Result::kOk);
        }
        case kOpUploadCondat: {
            const auto it = m_legacyConditions.find(number);
            std::vector<uint8_t> out(OLegacyTransferBuffer::kConditionBytes, 0);
            if (it != m_legacyConditions.end())
                std::copy(it->second.begin(), it->second.end(), out.begin());
            return Bytes(std::move(out));
        }
        default: {
            if (data.size() != OLegacyTransferBuffer::kConditionBytes)
                return Code(Result::kTransferRejected);
            std::copy(data.begin(), data.end(), m_legacyConditions[number].begin());
            return Code(Result::kOk);
        }
    }
}

// --- packages ---

OSimDevice::OAnswer OSimDevice::Package(uint32_t session, uint32_t op,
                                        std::span<const uint8_t> payload) {
    OType_ComPackage p(0, 1, 1, 0);
    if (!p.iSetPackageFromReceive(payload)) return Code(Result::kProtocolError);
    if (op == kOpPackageAction) return PackageAction(session, p);
    if (op == kOpPackageSend) return PackageSend(session, p);
    return PackageReceive(p);
}

OSimDevice::OAnswer OSimDevice::PackageAction(uint32_t session, const OType_ComPackage& p) {
    const std::string& name = p.GetDownloadName();
    const uint32_t number = p.iGetNumber();
    const bool clearPayload = p.Data() == std::vector<uint8_t>{0, 1};
    if (name == "$CCPRGDT") {
        if (!clearPayload) return Code(Result::kTransferRejected);
        if (number == kAllPrograms) {
            m_slots.clear();
        } else {
            if (number >= static_cast<uint32_t>(m_options.programSlots))
                return Code(Result::kNoSuchItem);
            m_slots.erase(number);
        }
        ProgramsChanged();
        return Code(Result::kOk);
    }
    if (name == "$CPARTDT") {
        if (iPartDataProtocol() != 1) return Code(Result::kNotSupported);
        if (!clearPayload) return Code(Result::kTransferRejected);
        if (number < 1 || number > static_cast<uint32_t>(m_options.device.target.partTypes))
            return Code(Result::kNoSuchItem);
        m_partData.erase(number);
        return Code(Result::kOk);
    }
    if (name == "$CTRIGGR") return Trigger(session, false);
    if (!bIsNewPlatform()) return Code(Result::kNotSupported);
    if (name == "$CERRACK") {
        m_errorPending = false;
        return Code(Result::kOk);
    }
    if (name == "$CCHGPRG") {
        ProgramsChanged();
        return Code(Result::kOk);
    }
    if (name == "$CLPTLOG") {
        if (!m_log.empty()) m_stateChanged = true;
        m_log.clear();
        return Code(Result::kOk);
    }
    return Code(Result::kNotSupported);
}

OSimDevice::OAnswer OSimDevice::PackageSend(uint32_t session, const OType_ComPackage& p) {
    const std::string& name = p.GetDownloadName();
    if (name != "$DCPRGDT" && name != "$DCPRG_F" && name != "$DPARTDT")
        return Code(Result::kNotSupported);
    if (name == "$DPARTDT" && iPartDataProtocol() != 1) return Code(Result::kNotSupported);
    if (!bFitsMemory(p.iGetTotal(), 0)) return Code(Result::kNoRoom);
    // Join the pieces of a sequence in order.
    const auto key = std::make_tuple(session, name, p.iGetNumber());
    OPieces& pieces = m_pieces[key];
    if (p.iGetOffset() == 0) pieces = OPieces{{}, p.iGetTotal()};
    if (p.iGetOffset() != pieces.bytes.size() || p.iGetTotal() != pieces.total) {
        m_pieces.erase(key);
        return Code(Result::kTransferRejected);
    }
    pieces.bytes.insert(pieces.bytes.end(), p.Data().begin(), p.Data().end());
    if (pieces.bytes.size() < pieces.total) return Code(Result::kOk);
    std::vector<uint8_t> bytes = std::move(pieces.bytes);
    m_pieces.erase(key);

    if (name == "$DCPRGDT") return StoreProgramInSlot(p.iGetNumber(), std::move(bytes));
    if (name == "$DCPRG_F") return StoreNamedProgram(p.iGetNumber(), bytes);
    const uint32_t number = p.iGetNumber();
    if (number < 1 || number > static_cast<uint32_t>(m_options.device.target.partTypes))
        return Code(Result::kNoSuchItem);
    m_partData[number] = std::move(bytes);
    return Code(Result::kOk);
}

bool OSimDevice::bIsValidProgram(std::span<const uint8_t> bytes, std::string& name,
                                 int64_t& stamp) const {
    OType_ZRPartSet set;
    if (!set.iDecode(bytes)) return false;
    name = set.GetName();
    stamp = set.iGetTimeStamp();
    return true;
}

OSimDevice::OAnswer OSimDevice::StoreProgramInSlot(uint32_t slot, std::vector<uint8_t> bytes) {
    if (slot >= static_cast<uint32_t>(m_options.programSlots)) return Code(Result::kNoSuchItem);
    OProgram program;
    if (!bIsValidProgram(bytes, program.name, program.timeStamp))
        return Code(Result::kTransferRejected);
    const auto old = m_slots.find(slot);
    if (!bFitsMemory(bytes.size(), old == m_slots.end() ? 0 : old->second.bytes.size()))
        return Code(Result::kNoRoom);
    program.bytes = std::move(bytes);
    program.number = static_cast<int>(slot);
    m_slots[slot] = std::move(program);
    ProgramsChanged();
    Log::Write(LogLevel::Info, "devsim", "stored program in slot " + std::to_string(slot));
    return Code(Result::kOk);
}

OSimDevice::OAnswer OSimDevice::StoreNamedProgram(uint32_t number,
                                                  std::span<const uint8_t> payload) {
    auto s = OByteStream_Memory::View(payload);
    OProgram program;
    uint32_t size = 0;
    if (!LinkPayload::bReadName(s, program.name) || !s.bReadI64(program.timeStamp) ||
        !s.bReadU32(size) || program.name.empty() || s.iRemaining() != size)
        return Code(Result::kTransferRejected);
    program.bytes.assign(payload.end() - static_cast<std::ptrdiff_t>(size), payload.end());
    std::string decodedName;
    int64_t decodedStamp = 0;
    if (!bIsValidProgram(program.bytes, decodedName, decodedStamp))
        return Code(Result::kTransferRejected);
    const auto old = m_named.find(program.name);
    if (!bFitsMemory(program.bytes.size(), old == m_named.end() ? 0 : old->second.bytes.size()))
        return Code(Result::kNoRoom);
    program.number = static_cast<int>(number);
    Log::Write(LogLevel::Info, "devsim", "stored program file \"" + program.name + "\"");
    const std::string key = program.name;
    m_named[key] = std::move(program);
    ProgramsChanged();
    return Code(Result::kOk);
}

OSimDevice::OAnswer OSimDevice::PackageReceive(const OType_ComPackage& p) {
    const std::string& name = p.GetUploadName();
    const uint32_t number = p.iGetNumber();
    if (name == "$UCPRGDT") {
        const auto it = m_slots.find(number);
        if (it == m_slots.end()) return Code(Result::kNoSuchItem);
        return Bytes(it->second.bytes);
    }
    if (name == "$UCPRG_F") {
        auto s = OByteStream_Memory::View(p.Data());
        std::string wanted;
        if (!LinkPayload::bReadName(s, wanted)) return Code(Result::kTransferRejected);
        const auto it = m_named.find(wanted);
        if (it == m_named.end()) return Code(Result::kNoSuchItem);
        OByteStream_Memory out;
        out.bWriteString(it->second.name);
        out.bWriteI64(it->second.timeStamp);
        out.bWriteU32(static_cast<uint32_t>(it->second.bytes.size()));
        out.bWriteRaw(it->second.bytes.data(), it->second.bytes.size());
        return Bytes(out.TakeBytes());
    }
    if (name == "$UPARTDT") {
        if (iPartDataProtocol() != 1) return Code(Result::kNotSupported);
        const auto it = m_partData.find(number);
        if (it == m_partData.end()) return Code(Result::kNoSuchItem);
        return Bytes(it->second);
    }
    if (name == "$UPT_LOG") {
        if (!bIsNewPlatform()) return Code(Result::kNotSupported);
        OType_PartArray parts;
        for (const auto& part : m_log)
            parts.Add(part);
        OByteStream_Memory out;
        parts.iEncode(out);
        return Bytes(out.TakeBytes());
    }
    return Code(Result::kNotSupported);
}

// --- program lists ---

OSimDevice::OAnswer OSimDevice::ProgramLists(uint32_t op, std::span<const uint8_t> payload) {
    auto s = OByteStream_Memory::View(payload);
    OByteStream_Memory out;
    auto entryOf = [](const OProgram& p) {
        return LinkPayload::OProgramEntry{p.name, static_cast<uint32_t>(p.bytes.size()),
                                          p.timeStamp, p.number};
    };
    switch (op) {
        case kOpProgramList: {
            std::vector<LinkPayload::OProgramEntry> entries;
            for (const auto& [name, p] : m_named)
                entries.push_back(entryOf(p));
            for (const auto& [slot, p] : m_slots)
                entries.push_back(entryOf(p));
            LinkPayload::Encode(out, entries);
            return Bytes(out.TakeBytes());
        }
        case kOpProgramNrList: {
            std::vector<LinkPayload::OProgramNumber> numbers;
            for (int n = 0; n < m_options.programSlots; ++n) {
                std::string name;
                if (const auto a = m_assigned.find(n); a != m_assigned.end())
                    name = a->second;
                else if (const auto p = m_slots.find(static_cast<uint32_t>(n)); p != m_slots.end())
                    name = p->second.name;
                numbers.push_back({n, name});
            }
            LinkPayload::Encode(out, numbers);
            return Bytes(out.TakeBytes());
        }
        case kOpProgramInfo: {
            std::string name;
            if (!LinkPayload::bReadName(s, name)) return Code(Result::kProtocolError);
            const auto it = m_named.find(name);
            if (it == m_named.end()) return Code(Result::kNoSuchItem);
            LinkPayload::Encode(out, entryOf(it->second));
            return Bytes(out.TakeBytes());
        }
        case kOpProgramAssign: {
            std::string name;
            int32_t number = 0;
            if (!LinkPayload::bReadName(s, name) || !s.bReadI32(number))
                return Code(Result::kProtocolError);
            if (number < 0 || number >= m_options.programSlots) return Code(Result::kNoSuchItem);
            if (name.empty()) {
                m_assigned.erase(number);
            } else {
                if (!m_named.count(name)) return Code(Result::kNoSuchItem);
                m_assigned[number] = name;
            }
            ProgramsChanged();
            return Code(Result::kOk);
        }
        default: {
            std::string name;
            if (!LinkPayload::bReadName(s, name)) return Code(Result::kProtocolError);
            if (!m_named.erase(name)) return Code(Result::kNoSuchItem);
            std::erase_if(m_assigned, [&](const auto& a) { return a.second == name; });
            ProgramsChanged();
            return Code(Result::kOk);
        }
    }
}

// --- coordinate transformation ---

OSimDevice::OAnswer OSimDevice::CoordTrans(uint32_t op, std::span<const uint8_t> payload) {
    if (!m_info.bSupportsCoordTrans()) return Code(Result::kNotSupported);
    if (op == kOpCoordSend) {
        auto s = OByteStream_Memory::View(payload);
        OCoordTrans_Tsai_Parameters parameters;
        OCoordTrans_Tsai_Transformer t;
        if (!parameters.bRead(s) || s.iRemaining() != 0 || !t.iSetParameters(parameters))
            return Code(Result::kTransferRejected);
        m_coordTrans = std::move(t);
        return Code(Result::kOk);
    }
    if (op == kOpCoordCalibrate) {
        m_coordTrans = SyntheticCalibration(m_info);
        if (!m_coordTrans->bIsSetUp()) return Code(Result::kRefusedInMode);
    }
    if (!m_coordTrans) return Code(Result::kNoSuchItem);
    return Bytes(ParametersPayload(*m_coordTrans));
}

// --- parts ---

void OSimDevice::ProgramsChanged() {
    m_programsChanged = true;
    // Parts made for the old program carry its results.
    m_variants.clear();
    m_replayed.clear();
}

std::span<const uint8_t> OSimDevice::ActiveProgram() const {
    if (!m_slots.empty()) return m_slots.begin()->second.bytes;
    if (!m_named.empty()) return m_named.begin()->second.bytes;
    return {};
}

std::unique_ptr<OType_Part> OSimDevice::MakePart(const OSimPartSpec& spec, bool contour,
                                                 bool image) {
    auto part = std::make_unique<OType_Part>();
    if (contour) part->SetConturData(m_factory.Contour(spec));
    if (image) part->AddImage(m_factory.Image(spec));
    // The control system announces the product in the flag word; input 1 is the part sensor.
    part->SetFlagWord(static_cast<uint32_t>(spec.type));
    part->SetInputs(1u);
    part->SetTeachPart(false);
    ApplyDeviceResult(m_results->Evaluate(*part, spec, ActiveProgram()), *part);
    return part;
}

std::shared_ptr<const std::vector<uint8_t>> OSimDevice::EncodePart(const OType_Part& part,
                                                                   uint8_t origin) {
    OByteStream_Memory s;
    s.Reserve(static_cast<size_t>(part.iGetObjectSize()) + 64);
    s.bWriteU8(origin);
    part.iEncode(s);
    return std::make_shared<const std::vector<uint8_t>>(s.TakeBytes());
}

void OSimDevice::LogPart(const OType_Part& part) {
    if (!bIsNewPlatform() || m_options.logCapacity <= 0) return;
    const size_t before = m_log.size();
    m_log.push_back(part);
    while (m_log.size() > static_cast<size_t>(m_options.logCapacity))
        m_log.pop_front();
    if (m_log.size() != before) m_stateChanged = true;
}

bool OSimDevice::bIsStreaming() const {
    if (!m_diag || m_busy || m_options.triggeredOnly) return false;
    return m_sendMode == 1 || m_sendMode == 4 || (m_sendMode == 0 && bIsCamera());
}

std::shared_ptr<const std::vector<uint8_t>> OSimDevice::NextStreamPart() {
    if (m_options.replay) return NextReplayedPart();
    const OSimPartSpec spec = m_schedule.Next();
    const bool contour = m_sendMode == 1 || m_sendMode == 4;
    const bool image = bIsCamera() && (m_sendMode == 0 || m_sendMode == 4);
    // Parts are made once per variant and reused, so that high rates cost no rendering.
    auto& variants =
        m_variants[{spec.type * 8 + spec.orientation, (contour ? 1 : 0) | (image ? 2 : 0)}];
    const size_t wanted = static_cast<size_t>(m_options.variation ? m_options.variants : 1);
    if (variants.size() < wanted) variants.push_back(MakePart(spec, contour, image));
    OType_Part& part = *variants[m_nextVariant++ % variants.size()];
    part.SetRecordNo(static_cast<int>(++m_partCounter));
    if (m_options.labelParts) part.SetComment("#" + std::to_string(m_partCounter));
    LogPart(part);
    return EncodePart(part, kPartStream);
}

void OSimDevice::Deviate(ODeviceResult& result) const {
    const double percent = m_options.faults.testImageDeviation;
    result.deviation += percent;
    if (!result.features) return;
    for (int i = 0; i < result.features->iGetNumOfFeatures(); ++i) {
        OType_Feature& f = result.features->At(i);
        f.value *= 1.0 + percent / 100.0;
        f.alternativeValue *= 1.0 + percent / 100.0;
    }
}

std::shared_ptr<const std::vector<uint8_t>> OSimDevice::NextReplayedPart() {
    const std::vector<OType_Part>& recorded = *m_options.replay;
    const size_t index = m_nextReplay++ % recorded.size();
    // Each recorded part is inspected once per program and then sent as often as it comes.
    if (m_replayed.size() != recorded.size()) m_replayed.resize(recorded.size());
    std::unique_ptr<OType_Part>& part = m_replayed[index];
    if (!part) {
        part = std::make_unique<OType_Part>(recorded[index]);
        part->SetTeachPart(false);
        ApplyDeviceResult(m_results->Evaluate(*part, std::nullopt, ActiveProgram()), *part);
    }
    part->SetRecordNo(static_cast<int>(++m_partCounter));
    if (m_options.labelParts) part->SetComment("#" + std::to_string(m_partCounter));
    LogPart(*part);
    return EncodePart(*part, kPartStream);
}

OSimDevice::OAnswer OSimDevice::Trigger(uint32_t session, bool testImage) {
    if (!bIsCamera()) return Code(Result::kNotSupported);
    std::unique_ptr<OType_Part> part;
    uint8_t origin = kPartTrigger;
    if (testImage && m_testImage) {
        part = std::make_unique<OType_Part>();
        part->AddImage(*m_testImage);
        part->SetTeachPart(false);
        ODeviceResult result = m_results->Evaluate(*part, std::nullopt, ActiveProgram());
        if (m_options.faults.testImageDeviation > 0) Deviate(result);
        ApplyDeviceResult(result, *part);
        origin = kPartTestImage;
    } else {
        if (!m_diag || !(m_sendMode == 0 || m_sendMode == 1 || m_sendMode == 4))
            return Code(Result::kRefusedInMode);
        const OSimPartSpec spec = m_schedule.Next();
        part = MakePart(spec, m_sendMode != 0, m_sendMode != 1);
    }
    part->SetRecordNo(static_cast<int>(++m_partCounter));
    if (m_options.labelParts) part->SetComment("#" + std::to_string(m_partCounter));
    LogPart(*part);
    if (origin == kPartTestImage && m_options.faults.testImageSilent) return Code(Result::kOk);
    m_parts.push_back({session, EncodePart(*part, origin)});
    return Code(Result::kOk);
}
