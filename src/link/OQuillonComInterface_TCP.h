// The link over TCP: three connections to the device's base port (commands and device
// state), base + 1 (the part stream) and base + 2 (data transfers). Interface type 3.
#pragma once

#include "link/OQuillonComInterface.h"

class OQuillonComInterface_TCP : public OQuillonComInterface {
  public:
    using OQuillonComInterface::OQuillonComInterface;

    int iGetInterfaceType() const override { return kInterfaceTypeTcp; }

    // The address and ports the next iConnect(…, 0, …) uses.
    void SetAddress(const std::string& host);
    void SetPorts(const std::string& commands, const std::string& parts, const std::string& data);

  protected:
    int iOpen(OLinkSession& session, const OConnectionProfile& profile,
              LinkPayload::OLoginAnswer& answer) override;
    OConnectionProfile::Kind ProfileKind() const override { return OConnectionProfile::Kind::Tcp; }
};
