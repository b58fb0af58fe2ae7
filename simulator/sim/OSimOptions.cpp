#include "sim/OSimOptions.h"

#include "model/partset/OType_ZRPartSet.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <ostream>

namespace {

bool bInt(const std::string& text, int& value, long long min, long long max) {
    long long v = 0;
    const auto* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, v);
    if (ec != std::errc() || ptr != end || v < min || v > max) return false;
    value = static_cast<int>(v);
    return true;
}

bool bDouble(const std::string& text, double& value, double min, double max) {
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !(v >= min && v <= max)) return false;
    value = v;
    return true;
}

bool bSize(const std::string& text, int& w, int& h) {
    const size_t x = text.find('x');
    return x != std::string::npos && bInt(text.substr(0, x), w, 1, 16384) &&
           bInt(text.substr(x + 1), h, 1, 16384);
}

bool bLimits(const std::string& text, TargetSystem::OToolLimits& l) {
    std::vector<int> v;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t comma = text.find(',', start);
        int n = 0;
        if (!bInt(text.substr(start, comma - start), n, 0, 255)) return false;
        v.push_back(n);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    if (v.size() != 6) return false;
    l = {v[0], v[1], v[2], v[3], v[4], v[5]};
    return true;
}

void ApplyEditionDefaults(OSimOptions& o, bool softwareGiven, bool capacitiesGiven) {
    OTargetSystem& t = o.device.target;
    if (const OSimEdition* e = SimEditions::Find(t.hardware); e && !softwareGiven)
        t.software = e->defaultSoftware;
    if (!capacitiesGiven && !TargetSystem::bIsNewPlatform(t.hardware)) {
        t.partTypes = 6;
        t.partsInSet = TargetSystem::bIsSortingEdition(t.hardware) ? 16 : 1;
        o.device.limits = TargetSystem::DefaultToolLimits(t.hardware);
    }
}

// Reads the parts of a recorded part list for --replay.
bool bLoadReplay(const std::string& path, OSimOptions& o, std::string& message) {
    std::string ext = std::filesystem::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext != ".zrl" && ext != ".kvl") {
        message = "--replay needs a part list (.zrl or .kvl): " + path;
        return false;
    }
    OType_ZRPartSet reader;
    std::string error;
    if (reader.iLoadParts(path, false, &error) != 1) {
        message = "--replay: " + path + ": " + (error.empty() ? "cannot be read" : error);
        return false;
    }
    auto parts = std::make_shared<std::vector<OType_Part>>();
    const OType_PartArray& list = reader.TestParts();
    for (int i = 0; i < list.iGetSize(); ++i)
        parts->push_back(*list.GetAt_NoSort(i));
    if (parts->empty()) {
        message = "--replay: " + path + " holds no part";
        return false;
    }
    o.replayPath = path;
    o.replay = std::move(parts);
    return true;
}

}  // namespace

void PrintSimHelp(std::ostream& out) {
    out << R"(Usage: kalvor-devsim [options]

Simulates an optical part-inspection device for Kalvor: it answers the link protocol on three
TCP ports (commands, part stream, data) or on a serial line, and in diagnostic mode sends
synthetic parts.

Edition:
  --hardware CODE          hardware code of the edition (default 7); see --list-editions
  --software CODE          firmware code (default: the edition's)
  --edition NAME           an edition by its display name, e.g. "Kesta 1b"
  --addin N                software add-in (default 0)
  --part-types N, --parts-in-set N, --orientations N
  --tools N                tool capacity (default: the edition's)
  --tool-limits T,R,V,C,M,B  classic editions: total and ROI, VSTRIP, CTOOL, MEASURE,
                           COMBINATION limits
  --image WxH              camera image size (default: the edition's)
  --pixel-format 8|24      grey or colour camera images
  --part-data-protocol N   0 legacy blocks, 1 packages, other: no part-data transfer
  --coord-trans N          coordinate-transformation byte (1..249 = supported)
  --encoder                report a conveyor encoder (device-information byte 157, bit 0)
  --serial-number TEXT, --web-name TEXT, --device-type TEXT
  --program-slots N        check-program slots (default 16)
  --memory BYTES           room for programs and part data (default 67108864)
  --list-editions          print the editions and their model texts, then exit

Connection:
  --bind ADDR              address to listen on (default 127.0.0.1)
  --port BASE              base port (default 10000): BASE commands, BASE+1 parts,
                           BASE+2 data; 0 picks three free consecutive ports
  --serial PATH            serve a serial device instead of TCP; "pty" makes a new
                           pseudo-terminal and prints its path
  --serial-link PATH       with --serial pty: a symbolic link to the terminal
  --keepalive-timeout S    drop a session that sent nothing for S seconds (0 never)

Parts:
  --rate R                 parts per second in diagnostic mode (default 2; 0 as fast as taken)
  --schedule SPEC          type:orientation[xcount],... cycled (default
                           1:1x5,1:2x5,2:1x5,2:2x5,3:1x5,3:2x5)
  --variation 0|1          small random variation of size, position and edges (default 1)
  --seed N                 random seed (default 1)
  --variants N             random variants kept per scheduled part (default 8)
  --diag                   start in diagnostic mode
  --send-mode N            initial send mode 0..4 (default 1)
  --log-capacity N         parts kept in the part log (default 50)
  --fixed-results          report the scheduled type and orientation with fixed quality
                           figures instead of running the stored check program
  --result-deviation D     deviation of fixed results, and of every part while no check
                           program can run (default 12.5)
  --triggered              diagnostic mode sends parts only when triggered (no stream)
  --replay FILE            diagnostic mode sends the parts of a recorded part list (.zrl or
                           .kvl) in order and then again, instead of synthetic parts
  --label-parts            each part's comment is "#N", its running number at the device

Faults (for tests):
  --login-retries N        answer the first N logins with 35202 (try again)
  --drop-after N           close a session after N requests
  --busy-after N           become busy after N requests ...
  --busy-for S             ... for S seconds (with --busy-after 0: from the start)
  --reject CODE            answer every transfer with CODE (e.g. 8738)
  --delay-ms MS            delay every answer
  --malformed-every N      replace every Nth answer by a malformed frame
  --malformed-kind K       oversize, unknown, truncated, badcheck, garbage or cycle (default)
  --test-silent            a triggered test image is inspected but no result part is sent
  --test-deviate P         a test image's results deviate: its deviation rises by P and
                           every feature value grows by P percent

Other:
  --trace FILE             write one line per request to FILE: session, channel, operation,
                           package name and number, result
  --quit-after S           end after S seconds
  --help, --version

Logging goes to stderr; KALVOR_LOG=info|debug shows more. The line "listening on ..." on
stdout tells that the device is ready.
)";
}

int ParseSimOptions(const std::vector<std::string>& args, OSimOptions& o, std::ostream& out,
                    std::string& message) {
    bool softwareGiven = false, capacitiesGiven = false;
    auto& d = o.device;
    auto& t = d.target;
    auto& f = o.faults;
    using Handler = std::function<bool(const std::string&)>;
    const std::map<std::string, Handler> withValue = {
        {"--hardware", [&](const std::string& v) { return bInt(v, t.hardware, 0, 65535); }},
        {"--software",
         [&](const std::string& v) { return softwareGiven = true, bInt(v, t.software, 0, 65535); }},
        {"--edition",
         [&](const std::string& v) {
             const OSimEdition* e = SimEditions::FindByName(v);
             if (e) t.hardware = e->hardware;
             return e != nullptr;
         }},
        {"--addin", [&](const std::string& v) { return bInt(v, t.addIn, 0, 65535); }},
        {"--part-types",
         [&](const std::string& v) {
             return capacitiesGiven = true, bInt(v, t.partTypes, 1, 512);
         }},
        {"--parts-in-set",
         [&](const std::string& v) {
             return capacitiesGiven = true, bInt(v, t.partsInSet, 1, 16);
         }},
        {"--orientations", [&](const std::string& v) { return bInt(v, t.orientations, 1, 8); }},
        {"--tools", [&](const std::string& v) { return bInt(v, d.tools, 0, 4096); }},
        {"--tool-limits",
         [&](const std::string& v) { return capacitiesGiven = true, bLimits(v, d.limits); }},
        {"--image", [&](const std::string& v) { return bSize(v, d.imageWidth, d.imageHeight); }},
        {"--pixel-format",
         [&](const std::string& v) {
             return bInt(v, d.pixelFormat, 8, 32) && (d.pixelFormat == 8 || d.pixelFormat == 24);
         }},
        {"--part-data-protocol",
         [&](const std::string& v) { return bInt(v, d.partDataProtocol, 0, 65535); }},
        {"--coord-trans", [&](const std::string& v) { return bInt(v, d.coordTrans, 0, 255); }},
        {"--serial-number", [&](const std::string& v) { return d.serialNumber = v, true; }},
        {"--web-name", [&](const std::string& v) { return d.webName = v, true; }},
        {"--device-type", [&](const std::string& v) { return d.deviceType = v, true; }},
        {"--program-slots", [&](const std::string& v) { return bInt(v, o.programSlots, 1, 1024); }},
        {"--memory",
         [&](const std::string& v) {
             double m = 0;
             return bDouble(v, m, 1024, 1e12) && (o.memory = static_cast<uint64_t>(m), true);
         }},
        {"--bind", [&](const std::string& v) { return o.bind = v, !v.empty(); }},
        {"--port", [&](const std::string& v) { return bInt(v, o.port, 0, 65533); }},
        {"--serial", [&](const std::string& v) { return o.serial = v, !v.empty(); }},
        {"--serial-link", [&](const std::string& v) { return o.serialLink = v, !v.empty(); }},
        {"--keepalive-timeout",
         [&](const std::string& v) { return bDouble(v, o.keepAliveTimeout, 0, 1e6); }},
        {"--rate", [&](const std::string& v) { return bDouble(v, o.rate, 0, 1e6); }},
        {"--schedule", [&](const std::string& v) { return o.schedule.bParse(v, message); }},
        {"--variation",
         [&](const std::string& v) {
             int n = 0;
             return bInt(v, n, 0, 1) && (o.variation = n == 1, true);
         }},
        {"--seed",
         [&](const std::string& v) {
             int n = 0;
             return bInt(v, n, 0, 2147483647) && (o.seed = static_cast<uint32_t>(n), true);
         }},
        {"--variants", [&](const std::string& v) { return bInt(v, o.variants, 1, 1000); }},
        {"--send-mode", [&](const std::string& v) { return bInt(v, o.sendMode, 0, 4); }},
        {"--log-capacity", [&](const std::string& v) { return bInt(v, o.logCapacity, 0, 100000); }},
        {"--result-deviation",
         [&](const std::string& v) { return bDouble(v, o.resultDeviation, 0, 1e6); }},
        {"--login-retries",
         [&](const std::string& v) { return bInt(v, f.loginRetries, 0, 1000000); }},
        {"--drop-after", [&](const std::string& v) { return bInt(v, f.dropAfter, 0, 1000000000); }},
        {"--busy-after", [&](const std::string& v) { return bInt(v, f.busyAfter, 0, 1000000000); }},
        {"--busy-for", [&](const std::string& v) { return bDouble(v, f.busyFor, 0, 1e6); }},
        {"--reject", [&](const std::string& v) { return bInt(v, f.rejectCode, 2, 65535); }},
        {"--delay-ms", [&](const std::string& v) { return bInt(v, f.delayMs, 0, 600000); }},
        {"--malformed-every",
         [&](const std::string& v) { return bInt(v, f.malformedEvery, 0, 1000000); }},
        {"--malformed-kind",
         [&](const std::string& v) {
             f.malformedKind = v;
             return v == "oversize" || v == "unknown" || v == "truncated" || v == "badcheck" ||
                    v == "garbage" || v == "cycle";
         }},
        {"--test-deviate",
         [&](const std::string& v) { return bDouble(v, f.testImageDeviation, 0, 1e6); }},
        {"--replay", [&](const std::string& v) { return bLoadReplay(v, o, message); }},
        {"--quit-after", [&](const std::string& v) { return bDouble(v, o.quitAfter, 0, 1e9); }},
        {"--trace", [&](const std::string& v) { return o.tracePath = v, !v.empty(); }},
    };
    // Options without a value: each turns its setting on.
    const std::map<std::string, bool*> flags = {
        {"--diag", &o.startInDiagMode},
        {"--fixed-results", &o.fixedResults},
        {"--encoder", &d.encoder},
        {"--triggered", &o.triggeredOnly},
        {"--test-silent", &f.testImageSilent},
        {"--label-parts", &o.labelParts},
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            PrintSimHelp(out);
            return 1;
        }
        if (a == "--list-editions") {
            for (const auto& e : SimEditions::Table())
                out << e.hardware << "\t" << TargetSystem::HardwareName(e.hardware) << "\t"
                    << TargetSystem::SoftwareName(e.defaultSoftware) << "\t" << e.deviceType
                    << "\n";
            return 1;
        }
        if (const auto flag = flags.find(a); flag != flags.end()) {
            *flag->second = true;
            continue;
        }
        const auto it = withValue.find(a);
        if (it == withValue.end()) {
            message = "unknown option " + a + " (see --help)";
            return 2;
        }
        if (i + 1 >= args.size()) {
            message = a + " needs a value";
            return 2;
        }
        const std::string& value = args[++i];
        message.clear();
        if (!it->second(value)) {
            if (message.empty()) message = "invalid value for " + a + ": " + value;
            return 2;
        }
    }
    ApplyEditionDefaults(o, softwareGiven, capacitiesGiven);
    return 0;
}
