// Connection profiles: the ways a user reaches devices (a TCP address with its three
// ports, or a serial device with its speed), remembered in Settings section
// "ConnectionProfiles". Without stored profiles the defaults apply; the first default of
// each kind reaches a simulator on this machine (127.0.0.1, ports 10000-10002, or the
// serial line the run script links at /tmp/kalvor-devsim.tty).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class Settings;

struct OConnectionProfile {
    enum class Kind { Tcp, Serial };

    std::string name;
    Kind kind = Kind::Tcp;
    std::string host = "127.0.0.1";
    // Commands, part stream and data transfers, in that order.
    std::array<std::string, 3> ports{"10000", "10001", "10002"};
    std::string serialDevice = "/dev/ttyUSB0";
    int baud = 115200;

    bool operator==(const OConnectionProfile&) const = default;

    // "127.0.0.1, ports 10000/10001/10002" or "/dev/ttyUSB0 at 115200 baud".
    std::string Describe() const;
    // False with a message when the profile cannot be used.
    bool bValidate(std::string& message) const;
    // The profile's three ports as numbers; false when one is not a port number.
    bool bGetPorts(std::array<uint16_t, 3>& ports) const;
};

namespace ConnectionProfiles {

inline constexpr std::string_view kSection = "ConnectionProfiles";
inline constexpr int kMaxProfiles = 32;
// Where the run script links the simulator's pseudo-terminal.
inline constexpr std::string_view kSimulatorSerialLink = "/tmp/kalvor-devsim.tty";

std::vector<OConnectionProfile> Defaults();
// The stored profiles, or the defaults when none (or none valid) are stored.
std::vector<OConnectionProfile> Load(const Settings& settings);
void Save(Settings& settings, const std::vector<OConnectionProfile>& profiles);

// The profile last chosen for a kind: its 1-based number in the stored list, 0 for none.
int iGetLast(const Settings& settings, OConnectionProfile::Kind kind);
void SetLast(Settings& settings, OConnectionProfile::Kind kind, int number);
// Whether the login asks for the profile (1, default) or takes the last one (0).
bool bAskAtLogin(const Settings& settings);
void SetAskAtLogin(Settings& settings, bool ask);

bool bParsePort(std::string_view text, uint16_t& port);
// "host", "host:port" (three consecutive ports from it) or "[v6]:port".
bool bParseHostPort(std::string_view text, std::string& host, uint16_t& basePort);

}  // namespace ConnectionProfiles
