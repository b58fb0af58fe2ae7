// kalvorctl device info | record: reads a device's information record and records parts
// from a device (or kalvor-devsim) into a part-list file.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "CliVerb.h"
#include "JsonWriter.h"
#include "device/DeviceInfoBuilder.h"
#include "device/TargetSystem.h"
#include "link/OConnectionProfile.h"
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
    int teach = -1;  // 1 --teach, 0 --test
    bool images = false;
    std::string out;
};

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
        } else if (arg == "--json") {
            a.json = true;
        } else if (arg == "--teach") {
            a.teach = 1;
        } else if (arg == "--test") {
            a.teach = 0;
        } else if (arg == "--images") {
            a.images = true;
        } else if (!arg.empty() && arg[0] != '-' && a.out.empty()) {
            a.out = arg;
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

void PrintInfo(const ZRINFO& z, bool json, std::ostream& out) {
    const OTargetSystem t = DeviceInfo::ReadTarget(z);
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
        w.Field("hardware", t.hardware);
        w.Field("hardwareName", TargetSystem::HardwareName(t.hardware));
        w.Field("software", t.software);
        w.Field("softwareName", TargetSystem::SoftwareName(t.software));
        w.Field("addIn", t.addIn);
        w.Field("family", TargetSystem::iFamily(t.hardware));
        w.Field("camera", TargetSystem::bIsCamera(t.hardware));
        w.Field("source", "record");
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
        << "target:                           " << TargetSystem::HardwareName(t.hardware) << " ("
        << t.hardware << "), " << TargetSystem::SoftwareName(t.software) << " (" << t.software
        << "), add-in " << t.addIn << ", family " << TargetSystem::iFamily(t.hardware) << "\n";
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

// Diagnostic mode with contour images (and camera images when asked).
int iStartRecording(OQuillonComInterface& link, bool images) {
    int r = 1;
    if (link.iGetSendMode() == 2 || link.iGetSendMode() == 3) r = link.commandKONZEI();
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
    if (const int r = iStartRecording(*link, a.images); r != 1) {
        err << "kalvorctl device record: the device does not record: "
            << LinkProtocol::ResultText(r) << "\n";
        return 1;
    }
    OType_ZRPartSet set;
    OType_PartArray& list = a.teach ? set.TeachParts() : set.TestParts();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(a.timeout) +
                          std::chrono::milliseconds(200) * a.count;
    while (list.iGetSize() < a.count && std::chrono::steady_clock::now() < deadline) {
        if (auto part = link->opTakeReceivedPart()) {
            part->SetTeachPart(a.teach == 1);
            part->SetRecordNo(list.iGetSize() + 1);
            list.Add(std::move(part));
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

int RunDevice(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty() || (args[0] != "info" && args[0] != "record")) {
        err << "Usage: kalvorctl device info (--host H[:PORT] | --serial DEV [--baud N]) [--json]\n"
               "       kalvorctl device record (--host H[:PORT] | --serial DEV) --count N "
               "(--teach | --test) [--images] OUT\n";
        return 2;
    }
    ODeviceArgs a;
    if (!bParseArgs(args, a, err)) return 2;
    return args[0] == "info" ? RunInfo(a, out, err) : RunRecord(a, out, err);
}

}  // namespace

KALVOR_CLI_VERB({"device",
                 "info|record (--host H[:PORT] | --serial DEV) [--json] [--count N --teach|--test "
                 "[--images] OUT] [--timeout S]",
                 "reads a device's information record, or records parts from it into a part list",
                 &RunDevice});
