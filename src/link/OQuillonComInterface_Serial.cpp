#include "link/OQuillonComInterface_Serial.h"

#include <algorithm>

using namespace LinkProtocol;

namespace {

constexpr int kUsualSpeeds[] = {115200, 57600, 38400, 19200, 9600};
constexpr auto kSpeedProbe = std::chrono::seconds(2);

}  // namespace

OQuillonComInterface_Serial::OQuillonComInterface_Serial(void* parent, ZRINFO* sessionInfo,
                                                         OProgressCtrl* progress,
                                                         ProgressDisplay* statusBar,
                                                         int interfaceType)
    : OQuillonComInterface(parent, sessionInfo, progress, statusBar, 0),
      m_interfaceType(interfaceType == kInterfaceTypeTcp ? 0 : interfaceType) {
    OConnectionProfile p = ConnectionProfiles::Defaults().back();
    SetCurrentProfile(p);
}

void OQuillonComInterface_Serial::SetDevice(const std::string& device, int baud) {
    OConnectionProfile p = GetCurrentProfile();
    p.kind = OConnectionProfile::Kind::Serial;
    p.serialDevice = device;
    p.baud = baud;
    SetCurrentProfile(p);
}

int OQuillonComInterface_Serial::iOpen(OLinkSession& session, const OConnectionProfile& profile,
                                       LinkPayload::OLoginAnswer& answer) {
    std::vector<int> speeds{profile.baud};
    if (iAutoSpeed()) {
        for (int s : kUsualSpeeds) {
            if (std::find(speeds.begin(), speeds.end(), s) == speeds.end()) speeds.push_back(s);
        }
    }
    const auto deadline = Deadline();
    int r = Result::kConnectFailed;
    for (size_t i = 0; i < speeds.size(); ++i) {
        r = i == 0 ? session.iOpenSerial(profile.serialDevice, static_cast<unsigned>(speeds[i]))
                   : session.iSetSerialSpeed(static_cast<unsigned>(speeds[i]));
        if (r != Result::kOk) return r;
        // Each speed but the last gets a short probe.
        const auto probe = i + 1 < speeds.size()
                               ? std::min(deadline, std::chrono::steady_clock::now() + kSpeedProbe)
                               : deadline;
        r = iLogin(session, answer, probe);
        if (r != Result::kTimeOut && r != Result::kProtocolError) return r;
    }
    return r;
}
