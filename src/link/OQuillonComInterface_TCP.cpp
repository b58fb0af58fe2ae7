#include "link/OQuillonComInterface_TCP.h"

using namespace LinkProtocol;

void OQuillonComInterface_TCP::SetAddress(const std::string& host) {
    OConnectionProfile p = GetCurrentProfile();
    p.kind = OConnectionProfile::Kind::Tcp;
    p.host = host;
    SetCurrentProfile(p);
}

void OQuillonComInterface_TCP::SetPorts(const std::string& commands, const std::string& parts,
                                        const std::string& data) {
    OConnectionProfile p = GetCurrentProfile();
    p.kind = OConnectionProfile::Kind::Tcp;
    p.ports = {commands, parts, data};
    SetCurrentProfile(p);
}

int OQuillonComInterface_TCP::iOpen(OLinkSession& session, const OConnectionProfile& profile,
                                    LinkPayload::OLoginAnswer& answer) {
    std::array<uint16_t, 3> ports{};
    if (!profile.bGetPorts(ports)) return Result::kBadArgument;
    const auto deadline = Deadline();
    int r = session.iConnectTcp(kControl, profile.host, ports[0], deadline);
    if (r == Result::kOk) r = iLogin(session, answer, deadline);
    for (uint8_t channel : {uint8_t{kParts}, uint8_t{kData}}) {
        if (r == Result::kOk)
            r = session.iConnectTcp(channel, profile.host, ports[channel], deadline);
        if (r == Result::kOk) r = iHello(session, channel, answer.session, deadline);
    }
    return r;
}
