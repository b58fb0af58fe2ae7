#include "link/OConnectionProfile.h"

#include <charconv>

#include "platform/Settings.h"

namespace {

std::string Key(int number, std::string_view field) {
    return "PROFILE" + std::to_string(number) + "_" + std::string(field);
}

std::string_view KindName(OConnectionProfile::Kind kind) {
    return kind == OConnectionProfile::Kind::Tcp ? "TCP" : "SERIAL";
}

std::string LastKey(OConnectionProfile::Kind kind) {
    return "LAST_" + std::string(KindName(kind));
}

}  // namespace

std::string OConnectionProfile::Describe() const {
    if (kind == Kind::Tcp) return host + ", ports " + ports[0] + "/" + ports[1] + "/" + ports[2];
    return serialDevice + " at " + std::to_string(baud) + " baud";
}

bool OConnectionProfile::bGetPorts(std::array<uint16_t, 3>& out) const {
    for (size_t i = 0; i < 3; ++i) {
        if (!ConnectionProfiles::bParsePort(ports[i], out[i])) return false;
    }
    return true;
}

bool OConnectionProfile::bValidate(std::string& message) const {
    if (kind == Kind::Tcp) {
        std::array<uint16_t, 3> p{};
        if (host.empty()) {
            message = "Enter the device's address.";
            return false;
        }
        if (!bGetPorts(p)) {
            message = "Each port must be a number from 1 to 65535.";
            return false;
        }
        return true;
    }
    if (serialDevice.empty()) {
        message = "Enter the serial device.";
        return false;
    }
    if (baud < 50 || baud > 4000000) {
        message = "The speed must lie between 50 and 4000000 baud.";
        return false;
    }
    return true;
}

namespace ConnectionProfiles {

bool bParsePort(std::string_view text, uint16_t& port) {
    unsigned value = 0;
    const auto* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < 1 || value > 65535) return false;
    port = static_cast<uint16_t>(value);
    return true;
}

bool bParseHostPort(std::string_view text, std::string& host, uint16_t& basePort) {
    std::string_view h = text;
    std::string_view port;
    if (!text.empty() && text.front() == '[') {
        const size_t close = text.find(']');
        if (close == std::string_view::npos) return false;
        h = text.substr(1, close - 1);
        if (close + 1 < text.size()) {
            if (text[close + 1] != ':') return false;
            port = text.substr(close + 2);
        }
    } else if (const size_t colon = text.rfind(':');
               colon != std::string_view::npos && text.find(':') == colon) {
        h = text.substr(0, colon);
        port = text.substr(colon + 1);
    }
    if (h.empty()) return false;
    uint16_t p = 10000;
    if (!port.empty() && (!bParsePort(port, p) || p > 65533)) return false;
    host = std::string(h);
    basePort = p;
    return true;
}

std::vector<OConnectionProfile> Defaults() {
    OConnectionProfile local;
    local.name = "Simulator on this computer";
    OConnectionProfile device;
    device.name = "Device on the network";
    device.host = "192.168.0.10";
    // The simulator's serial line (kalvor-devsim --serial pty --serial-link ...), as the
    // run script starts it.
    OConnectionProfile localSerial;
    localSerial.name = "Simulator on this computer (serial)";
    localSerial.kind = OConnectionProfile::Kind::Serial;
    localSerial.serialDevice = std::string(ConnectionProfiles::kSimulatorSerialLink);
    OConnectionProfile serial;
    serial.name = "Serial line";
    serial.kind = OConnectionProfile::Kind::Serial;
    return {local, device, localSerial, serial};
}

std::vector<OConnectionProfile> Load(const Settings& s) {
    const int count = s.iGetInt(kSection, "COUNT", 0);
    std::vector<OConnectionProfile> out;
    for (int n = 1; n <= count && n <= kMaxProfiles; ++n) {
        OConnectionProfile p;
        p.name = s.GetText(kSection, Key(n, "NAME"), "Profile " + std::to_string(n));
        p.kind = s.GetText(kSection, Key(n, "KIND"), "TCP") == "SERIAL"
                     ? OConnectionProfile::Kind::Serial
                     : OConnectionProfile::Kind::Tcp;
        p.host = s.GetText(kSection, Key(n, "HOST"), p.host);
        for (size_t i = 0; i < 3; ++i)
            p.ports[i] = s.GetText(kSection, Key(n, "PORT" + std::to_string(i + 1)), p.ports[i]);
        p.serialDevice = s.GetText(kSection, Key(n, "DEVICE"), p.serialDevice);
        p.baud = s.iGetInt(kSection, Key(n, "BAUD"), p.baud);
        std::string message;
        if (p.bValidate(message)) out.push_back(std::move(p));
    }
    return out.empty() ? Defaults() : out;
}

void Save(Settings& s, const std::vector<OConnectionProfile>& profiles) {
    const int old = s.iGetInt(kSection, "COUNT", 0);
    const int count = static_cast<int>(std::min<size_t>(profiles.size(), kMaxProfiles));
    for (int n = count + 1; n <= old && n <= kMaxProfiles; ++n) {
        for (const char* field :
             {"NAME", "KIND", "HOST", "PORT1", "PORT2", "PORT3", "DEVICE", "BAUD"})
            s.RemoveValue(kSection, Key(n, field));
    }
    s.SetInt(kSection, "COUNT", count);
    for (int n = 1; n <= count; ++n) {
        const OConnectionProfile& p = profiles[static_cast<size_t>(n - 1)];
        s.SetText(kSection, Key(n, "NAME"), p.name);
        s.SetText(kSection, Key(n, "KIND"), KindName(p.kind));
        s.SetText(kSection, Key(n, "HOST"), p.host);
        for (size_t i = 0; i < 3; ++i)
            s.SetText(kSection, Key(n, "PORT" + std::to_string(i + 1)), p.ports[i]);
        s.SetText(kSection, Key(n, "DEVICE"), p.serialDevice);
        s.SetInt(kSection, Key(n, "BAUD"), p.baud);
    }
}

int iGetLast(const Settings& s, OConnectionProfile::Kind kind) {
    return s.iGetInt(kSection, LastKey(kind), 0);
}

void SetLast(Settings& s, OConnectionProfile::Kind kind, int number) {
    s.SetInt(kSection, LastKey(kind), number);
}

bool bAskAtLogin(const Settings& s) {
    return s.iGetInt(kSection, "ASK", 1) != 0;
}

void SetAskAtLogin(Settings& s, bool ask) {
    s.SetInt(kSection, "ASK", ask ? 1 : 0);
}

}  // namespace ConnectionProfiles
