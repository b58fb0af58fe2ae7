// kalvorctl device: reads and identifies a device's information record, records parts from
// a device (or kalvor-devsim) into a part-list file or a project, and moves check programs
// and part data between projects and the device. The project verbs run on the desktop
// program's own document and session (see DeviceSession.h).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "CliVerb.h"
#include "DeviceSession.h"
#include "JsonWriter.h"
#include "TargetJson.h"
#include "device/DeviceIdentification.h"
#include "device/DeviceInfoBuilder.h"
#include "device/TargetSystem.h"
#include "link/OConnectionProfile.h"
#include "link/OLinkFrame.h"
#include "link/OQuillonComInterface_Serial.h"
#include "link/OQuillonComInterface_TCP.h"
#include "model/partset/OType_ZRPartSet.h"
#include "platform/OCommandQueue_Manual.h"

namespace {

struct ODeviceArgs {
    std::string host;
    uint16_t port = 10000;
    std::string serial;
    int baud = 115200;
    int timeout = 10;
    bool json = false;
    int count = 0;
    int teach = -1;   // 1 --teach, 0 --test
    int images = -1;  // 1 --images, 0 --no-images, -1 as the project needs
    int program = -1;
    int type = 1;
    bool typeGiven = false;
    int number = -1;
    int orientation = 1;
    bool orientationGiven = false;
    std::string project;
    std::vector<std::string> positional;
    std::string out;
};

ODeviceAddress AddressOf(const ODeviceArgs& a) {
    return {a.host, a.port, a.serial, a.baud, a.timeout};
}

bool bIsProjectPath(const std::string& path) {
    for (const char* ext : {".zrp", ".ZRP", ".kvp", ".KVP"}) {
        if (path.find(ext) != std::string::npos) return true;
    }
    return false;
}

bool bParseInt(const std::string& text, int& value, int min, int max) {
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || v < min || v > max) return false;
    value = static_cast<int>(v);
    return true;
}

bool bParseArgs(const std::vector<std::string>& args, ODeviceArgs& a, std::ostream& err) {
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string& v) {
            if (i + 1 >= args.size()) return false;
            v = args[++i];
            return true;
        };
        std::string v;
        if (arg == "--host") {
            if (!value(v) || !ConnectionProfiles::bParseHostPort(v, a.host, a.port)) {
                err << "kalvorctl device: --host needs HOST or HOST:PORT\n";
                return false;
            }
        } else if (arg == "--serial") {
            if (!value(a.serial)) return false;
        } else if (arg == "--baud") {
            if (!value(v) || !bParseInt(v, a.baud, 50, 4000000)) return false;
        } else if (arg == "--timeout") {
            if (!value(v) || !bParseInt(v, a.timeout, 1, 3600)) return false;
        } else if (arg == "--count") {
            if (!value(v) || !bParseInt(v, a.count, 1, 1000000)) return false;
        } else if (arg == "--program") {
            if (!value(v) || !bParseInt(v, a.program, 0, 65535)) return false;
        } else if (arg == "--type") {
            if (!value(v) || !bParseInt(v, a.type, 1, 512)) return false;
            a.typeGiven = true;
        } else if (arg == "--number") {
            if (!value(v) || !bParseInt(v, a.number, 1, 65535)) return false;
        } else if (arg == "--orientation") {
            if (!value(v) || !bParseInt(v, a.orientation, 1, 8)) return false;
            a.orientationGiven = true;
        } else if (arg == "--project") {
            if (!value(a.project)) return false;
        } else if (arg == "--json") {
            a.json = true;
        } else if (arg == "--teach") {
            a.teach = 1;
        } else if (arg == "--test") {
            a.teach = 0;
        } else if (arg == "--images") {
            a.images = 1;
        } else if (arg == "--no-images") {
            a.images = 0;
        } else if (!arg.empty() && arg[0] != '-') {
            a.positional.push_back(arg);
            if (a.out.empty()) a.out = arg;
        } else {
            err << "kalvorctl device: unexpected argument " << arg << "\n";
            return false;
        }
    }
    if (a.host.empty() == a.serial.empty()) {
        err << "kalvorctl device: give either --host or --serial\n";
        return false;
    }
    return true;
}

std::unique_ptr<OQuillonComInterface> Connect(const ODeviceArgs& a, OCommandQueue_Manual& queue,
                                              std::ostream& err) {
    std::unique_ptr<OQuillonComInterface> link;
    if (!a.host.empty()) {
        auto tcp =
            std::make_unique<OQuillonComInterface_TCP>(nullptr, nullptr, nullptr, nullptr, 0);
        tcp->SetAddress(a.host);
        tcp->SetPorts(std::to_string(a.port), std::to_string(a.port + 1),
                      std::to_string(a.port + 2));
        link = std::move(tcp);
    } else {
        auto serial =
            std::make_unique<OQuillonComInterface_Serial>(nullptr, nullptr, nullptr, nullptr, 0);
        serial->SetDevice(a.serial, a.baud);
        link = std::move(serial);
    }
    link->SetServices({&queue, nullptr, nullptr});
    link->SetTimeOut_SEC(a.timeout);
    int r = LinkProtocol::Result::kTryAgain;
    while (r == LinkProtocol::Result::kTryAgain)
        r = link->iConnect(0, 0, 0, 0, 0, true, true);
    if (r != 1) {
        err << "kalvorctl device: cannot connect to " << link->GetCurrentProfile().Describe()
            << ": " << LinkProtocol::ResultText(r) << "\n";
        return nullptr;
    }
    return link;
}

struct OField {
    std::string key;
    std::string label;
    int offset;
    int64_t value;
};

std::vector<OField> NumericFields(const ZRINFO& z) {
    std::vector<OField> f = {
        {"hardwareCode", "hardware code", 2, z.u16(ZRINFO::kHardwareCode)},
        {"softwareCode", "software code", 4, z.u16(ZRINFO::kOsVersion)},
        {"partTypes", "part types", 6, z.u16(ZRINFO::kPartTypes)},
        {"orientations", "orientations", 8, z.u16(ZRINFO::kOrientations)},
        {"partsInSet", "parts per sorting program", 10, z.u16(ZRINFO::kPartsInSet)},
        {"basicFeatures", "basic contour features", 12, z.u16(ZRINFO::kBasicFeatures)},
        {"addIn", "software add-in", 14, z.u16(ZRINFO::kAddIn)},
        {"encoder", "encoder present", 157, z.bGetBit(ZRINFO::kOptions, 0) ? 1 : 0},
        {"firmwareMajor", "firmware major", 686, z.u8(ZRINFO::kFirmwareMajor)},
        {"firmwareMinor", "firmware minor", 687, z.u8(ZRINFO::kFirmwareMinor)},
        {"pixels", "number of pixels", 688, z.u16(ZRINFO::kPixels)},
        {"featureCapacity", "feature capacity", 690, z.u16(ZRINFO::kFeatureCapacity)},
        {"toolCapacity", "total tool capacity", 692, z.u16(ZRINFO::kToolCapacity)},
        {"partDataProtocol", "part-data protocol", 712, z.u16(ZRINFO::kPartDataProtocol)},
        {"firmwareBuild", "firmware build", 738, z.s16(ZRINFO::kFirmwareBuild)},
        {"imageWidth", "image width", 746, z.u16(ZRINFO::kImageWidth)},
        {"imageHeight", "image height", 748, z.u16(ZRINFO::kImageHeight)},
        {"pixelFormat", "pixel format", 750, z.u8(ZRINFO::kPixelFormat)},
        {"coordTrans", "coordinate transformation", 771, z.u8(ZRINFO::kCoordTransSupport)},
    };
    return f;
}

std::vector<int> Bytes(const ZRINFO& z, size_t offset, size_t count) {
    std::vector<int> out;
    for (size_t i = 0; i < count; ++i)
        out.push_back(z.u8(offset + i));
    return out;
}

std::string FirmwareVersion(const ZRINFO& z) {
    std::string out;
    for (size_t i = 0; i < 4; ++i)
        out += (i ? "." : "") + std::to_string(z.u16(ZRINFO::kFirmwareVersion + 2 * i));
    return out;
}

std::string Join(const std::vector<int>& v) {
    std::string out;
    for (size_t i = 0; i < v.size(); ++i)
        out += (i ? " " : "") + std::to_string(v[i]);
    return out;
}

void WriteTarget(OJsonWriter& w, const OIdentification& id) {
    const OTargetSystem& t = id.target;
    WriteTargetFields(w, t, id.fixedFeatures, id.toolCapacity);
    w.Field("family", TargetSystem::iFamily(t.hardware));
    w.Field("camera", TargetSystem::bIsCamera(t.hardware));
    w.Field("fallback", id.fallback);
    w.Key("messages").BeginArray();
    for (const std::string& m : id.messages)
        w.String(m);
    w.EndArray();
    w.Field("source", "identified");
}

std::string TargetLine(const OIdentification& id) {
    const OTargetSystem& t = id.target;
    return TargetSystem::HardwareName(t.hardware) + " (" + std::to_string(t.hardware) + "), " +
           TargetSystem::SoftwareName(t.software) + " (" + std::to_string(t.software) +
           "), add-in " + std::to_string(t.addIn) + ", family " +
           std::to_string(TargetSystem::iFamily(t.hardware)) + ", part types " +
           std::to_string(t.partTypes) + ", per check program " + std::to_string(t.partsInSet) +
           ", orientations " + std::to_string(t.orientations) + ", tools " +
           std::to_string(id.toolCapacity);
}

void PrintMessages(const OIdentification& id, std::ostream& out) {
    for (const std::string& m : id.messages) {
        std::string line = m;
        for (char& c : line) {
            if (c == '\n') c = ' ';
        }
        out << "note:                             " << line << "\n";
    }
}

OIdentification IdentifyRecord(const ZRINFO& z) {
    const int hardware = DeviceInfo::ReadTarget(z).hardware;
    return DeviceIdentification::Identify(z, TargetSystem::DefaultToolLimits(hardware));
}

void PrintInfo(const ZRINFO& z, bool json, std::ostream& out) {
    const OIdentification id = IdentifyRecord(z);
    const auto fields = NumericFields(z);
    const auto presence = Bytes(z, ZRINFO::kPresence, 8);
    const auto limits = Bytes(z, ZRINFO::kLimits, 8);
    if (json) {
        OJsonWriter w(out);
        w.BeginObject();
        w.Field("deviceType", z.GetDeviceTypeText());
        w.Field("serialNumber", z.Text(ZRINFO::kSerialNumber, ZRINFO::kSerialNumberLength));
        w.Field("webName", z.Text(ZRINFO::kWebName, ZRINFO::kWebNameLength));
        for (const auto& f : fields)
            w.Field(f.key, f.value);
        w.Field("coordTransSupported", z.bSupportsCoordTrans());
        w.Key("presenceBytes").BeginArray();
        for (int v : presence)
            w.Int(v);
        w.EndArray();
        w.Key("limitBytes").BeginArray();
        for (int v : limits)
            w.Int(v);
        w.EndArray();
        w.Field("firmwareVersion", FirmwareVersion(z));
        w.Key("target").BeginObject();
        WriteTarget(w, id);
        w.EndObject();
        w.EndObject();
        w.Finish();
        return;
    }
    out << "device type:                      " << z.GetDeviceTypeText() << "\n"
        << "serial number:                    "
        << z.Text(ZRINFO::kSerialNumber, ZRINFO::kSerialNumberLength) << "\n"
        << "web name:                         " << z.Text(ZRINFO::kWebName, ZRINFO::kWebNameLength)
        << "\n";
    for (const auto& f : fields) {
        std::string label = f.label + " (" + std::to_string(f.offset) + "):";
        label.resize(std::max<size_t>(label.size() + 1, 34), ' ');
        out << label << f.value << "\n";
    }
    out << "presence bytes (716-723):         " << Join(presence) << "\n"
        << "limit bytes (724-731):            " << Join(limits) << "\n"
        << "firmware version (888-895):       " << FirmwareVersion(z) << "\n"
        << "identified target:                " << TargetLine(id) << "\n";
    PrintMessages(id, out);
}

int RunInfo(const ODeviceArgs& a, std::ostream& out, std::ostream& err) {
    OCommandQueue_Manual queue;
    auto link = Connect(a, queue, err);
    if (!link) return 1;
    const int r = link->uploadZRINFO();
    if (r != 1) {
        err << "kalvorctl device info: " << LinkProtocol::ResultText(r) << "\n";
        return 1;
    }
    PrintInfo(*link->opGetZRInfo_ComBuffer(), a.json, out);
    link->iDisConnect(1, 0);
    return 0;
}

// Diagnostic mode with contour images (and camera images when asked). Camera images are
// switched on before the stream starts, so that its first parts carry them too.
int iStartRecording(OQuillonComInterface& link, bool images) {
    int r = 1;
    if (link.iGetSendMode() == 2 || link.iGetSendMode() == 3) r = link.commandKONZEI();
    if (r == 1 && images && !link.iGetDiagMode()) r = link.commandPARTIMAGES_ON();
    if (r == 1 && !link.iGetDiagMode()) r = link.commandEWDIAG();
    if (r == 1 && link.iGetSendMode() != 1 && link.iGetSendMode() != 4) r = link.commandKONTUR();
    if (r == 1 && images) r = link.commandPARTIMAGES_ON();
    return r;
}

int RunRecord(const ODeviceArgs& a, std::ostream& out, std::ostream& err) {
    if (a.count < 1 || a.teach < 0 || a.out.empty()) {
        err << "kalvorctl device record: needs --count N, --teach or --test, and OUT\n";
        return 2;
    }
    OCommandQueue_Manual queue;
    auto link = Connect(a, queue, err);
    if (!link) return 1;
    link->bRemoveAllReceivedParts();
    if (const int r = iStartRecording(*link, a.images == 1); r != 1) {
        err << "kalvorctl device record: the device does not record: "
            << LinkProtocol::ResultText(r) << "\n";
        return 1;
    }
    OType_ZRPartSet set;
    OType_PartArray& list = a.teach ? set.TeachParts() : set.TestParts();
    // Recording goes on while parts keep coming and gives up after the time-out of silence.
    const auto silence = std::chrono::seconds(a.timeout);
    auto deadline = std::chrono::steady_clock::now() + silence;
    while (list.iGetSize() < a.count && std::chrono::steady_clock::now() < deadline) {
        if (auto part = link->opTakeReceivedPart()) {
            part->SetTeachPart(a.teach == 1);
            part->SetRecordNo(list.iGetSize() + 1);
            list.Add(std::move(part));
            deadline = std::chrono::steady_clock::now() + silence;
            continue;
        }
        if (!link->iGetComOnLine()) break;
        queue.bWaitForPost(std::chrono::milliseconds(100));
        queue.Clear();
        link->UpdateKO();
    }
    link->iSetDiagMode(0, 0);
    link->iDisConnect(0, 0);
    if (list.iGetSize() < a.count) {
        err << "kalvorctl device record: received " << list.iGetSize() << " of " << a.count
            << " parts\n";
        return 1;
    }
    const std::string ext = std::filesystem::path(a.out).extension().string();
    const int mode = ext == ".zrl" ? 1 : ext == ".kvl" ? 2 : 0;
    std::string error;
    if (set.iParts2File(a.teach == 1, a.out, mode, nullptr, &error) != 1) {
        err << "kalvorctl device record: cannot write " << a.out << ": " << error << "\n";
        return 1;
    }
    out << "recorded " << list.iGetSize() << (a.teach ? " sample" : " test") << " parts into "
        << a.out << "\n";
    return 0;
}

// --- verbs on the session ---

// "N bytes, CRC-32 …" of a check program as the device holds it, so that a program sent
// and one fetched back can be compared. What the views show is part of the encoding and is
// brought into the state a part set without parts has, as on the device.
std::string ProgramFingerprint(OQuillon& session, const OType_ZRPartSet& set) {
    OType_ZRPartSet program;
    session.PreparePartSet(program);
    std::vector<uint8_t> bytes = set.Encode(0, 0);
    if (program.iDecode(bytes)) bytes = program.Encode(0, 0);
    char crc[16];
    std::snprintf(crc, sizeof crc, "%08x", LinkFrame::Crc32(bytes));
    return std::to_string(bytes.size()) + " bytes, CRC-32 " + crc;
}

int RunIdentify(const ODeviceArgs& a, std::ostream& out, std::ostream& err) {
    OCliDeviceSession device(AddressOf(a), err);
    ZRINFO info;
    OIdentification id;
    if (!device.bIdentify(info, id)) return 1;
    if (!a.project.empty()) {
        if (!device.bNewProject(id.target) || !device.bSave(a.project, "identify")) return 1;
    }
    device.Disconnect();
    if (a.json) {
        OJsonWriter w(out);
        w.BeginObject();
        w.Field("deviceType", info.GetDeviceTypeText());
        WriteTarget(w, id);
        if (!a.project.empty()) w.Field("project", a.project);
        w.EndObject();
        w.Finish();
        return 0;
    }
    out << "device type:                      " << info.GetDeviceTypeText() << "\n"
        << "identified target:                " << TargetLine(id) << "\n";
    PrintMessages(id, out);
    if (!a.project.empty()) out << "project:                          " << a.project << "\n";
    return 0;
}

// Records into a project: the file is loaded when it exists, else made for the device.
int RunRecordIntoProject(const ODeviceArgs& a, std::ostream& out, std::ostream& err) {
    OCliDeviceSession device(AddressOf(a), err);
    if (std::filesystem::exists(a.out)) {
        if (!device.bLoad(a.out, "record")) return 1;
    } else {
        ZRINFO info;
        OIdentification id;
        if (!device.bIdentify(info, id) || !device.bNewProject(id.target)) return 1;
    }
    // A given orientation or type switches on the project's separation of orientations
    // or types; without it every sample part is orientation 1 of type 1.
    OType_ProjectProperties& properties = device.Session().ProjectProperties();
    if (a.orientationGiven) properties.useOrientation = 1;
    if (a.typeGiven) properties.useTypes = 1;
    const int received = device.iRecord(a.teach, a.count, a.orientation, a.type, a.images);
    device.Disconnect();
    if (received < a.count) {
        err << "kalvorctl device record: received " << received << " of " << a.count << " parts\n";
        return 1;
    }
    if (!device.bSave(a.out, "record")) return 1;
    out << "recorded " << received << (a.teach ? " sample" : " test") << " parts into " << a.out
        << "\n";
    return 0;
}

int RunSend(const ODeviceArgs& a, std::ostream& out, std::ostream& err) {
    if (a.positional.size() != 1 || a.program < 0) {
        err << "kalvorctl device send: needs PROJECT and --program N\n";
        return 2;
    }
    OCliDeviceSession device(AddressOf(a), err);
    if (!device.bLoad(a.positional[0], "send")) return 1;
    OQuillon& session = device.Session();
    const int index = session.PartSets().iGetActualPartSetNo();
    if (!session.DownloadProgram(index, a.program, 0)) {
        err << "kalvorctl device send: the check program was not sent\n";
        return 1;
    }
    device.Disconnect();
    out << "sent check program " << index + 1 << " of " << a.positional[0] << " as program "
        << a.program << " (" << ProgramFingerprint(session, *session.opGetPartSet(index)) << ")\n";
    return 0;
}

int RunFetch(const ODeviceArgs& a, std::ostream& out, std::ostream& err) {
    if (a.positional.size() != 1 || a.program < 0) {
        err << "kalvorctl device fetch: needs --program N and OUT\n";
        return 2;
    }
    OCliDeviceSession device(AddressOf(a), err);
    ZRINFO info;
    OIdentification id;
    if (!device.bIdentify(info, id) || !device.bNewProject(id.target)) return 1;
    OQuillon& session = device.Session();
    if (!session.UploadProgram(session.PartSets().iGetActualPartSetNo(), a.program, 1)) {
        err << "kalvorctl device fetch: the check program was not received\n";
        return 1;
    }
    device.Disconnect();
    const std::string fingerprint = ProgramFingerprint(session, *session.opGetActualPartSet());
    if (!device.bSave(a.positional[0], "fetch")) return 1;
    out << "fetched program " << a.program << " into " << a.positional[0] << " (" << fingerprint
        << ")\n";
    return 0;
}

// kalvorctl device partdata send PROJECT | fetch PROJECT [OUT], with --type T --number N.
int RunPartData(const ODeviceArgs& a, std::ostream& out, std::ostream& err) {
    const bool send = !a.positional.empty() && a.positional[0] == "send";
    const bool fetch = !a.positional.empty() && a.positional[0] == "fetch";
    if ((!send && !fetch) || a.positional.size() < 2 || a.positional.size() > (send ? 2u : 3u)) {
        err << "kalvorctl device partdata: send PROJECT | fetch PROJECT [OUT]\n";
        return 2;
    }
    const int number = a.number > 0 ? a.number : a.type;
    OCliDeviceSession device(AddressOf(a), err);
    if (!device.bLoad(a.positional[1], "partdata")) return 1;
    OQuillon& session = device.Session();
    const int r = send ? session.DownloadPartData(a.type - 1, number)
                       : session.UploadPartData(a.type - 1, number);
    device.Disconnect();
    if (!r) {
        err << "kalvorctl device partdata: the part data of part type " << a.type << " were not "
            << (send ? "sent" : "received") << "\n";
        return 1;
    }
    if (fetch) {
        const std::string target = a.positional.size() == 3 ? a.positional[2] : a.positional[1];
        if (!device.bSave(target, "partdata")) return 1;
        out << "fetched part data " << number << " into part type " << a.type << " of " << target
            << "\n";
        return 0;
    }
    out << "sent part type " << a.type << " as part data " << number << "\n";
    return 0;
}

constexpr const char* kUsage =
    "Usage: kalvorctl device info (--host H[:PORT] | --serial DEV [--baud N]) [--json]\n"
    "       kalvorctl device identify (--host H | --serial DEV) [--json] [--project OUT]\n"
    "       kalvorctl device record (--host H | --serial DEV) --count N (--teach | --test)\n"
    "              [--images | --no-images] [--orientation O] [--type T] OUT\n"
    "              (--orientation and --type switch on the project's separation of them)\n"
    "              (OUT a part list .zrl/.kvl/.txt, or a project .zrp/.kvp)\n"
    "       kalvorctl device send PROJECT --program N (--host H | --serial DEV)\n"
    "       kalvorctl device fetch --program N (--host H | --serial DEV) OUT\n"
    "       kalvorctl device partdata (send PROJECT | fetch PROJECT [OUT]) --type T\n"
    "              [--number N] (--host H | --serial DEV)\n"
    "       every form takes --timeout S (default 10); recording gives up after S seconds\n"
    "              without a part\n";

int RunDevice(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    static const std::vector<std::string> kVerbs = {"info", "record", "identify",
                                                    "send", "fetch",  "partdata"};
    if (args.empty() || std::find(kVerbs.begin(), kVerbs.end(), args[0]) == kVerbs.end()) {
        err << kUsage;
        return 2;
    }
    ODeviceArgs a;
    if (!bParseArgs(args, a, err)) return 2;
    const std::string& verb = args[0];
    if (verb == "info") return RunInfo(a, out, err);
    if (verb == "identify") return RunIdentify(a, out, err);
    if (verb == "send") return RunSend(a, out, err);
    if (verb == "fetch") return RunFetch(a, out, err);
    if (verb == "partdata") return RunPartData(a, out, err);
    if (bIsProjectPath(a.out)) {
        if (a.count < 1 || a.teach < 0) {
            err << "kalvorctl device record: needs --count N and --teach or --test\n";
            return 2;
        }
        return RunRecordIntoProject(a, out, err);
    }
    return RunRecord(a, out, err);
}

}  // namespace

KALVOR_CLI_VERB({"device",
                 "info|identify|record|send|fetch|partdata (--host H[:PORT] | --serial DEV) ...",
                 "identifies a device, records parts from it, moves check programs and part data",
                 &RunDevice});
