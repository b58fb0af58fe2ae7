// The link over a serial line: every channel on one line, each frame with a CRC-32. With
// automatic speed the login tries the profile's speed and then the usual ones. Its
// interface type is the connection kind it was made for (any value but 3).
#pragma once

#include "link/OQuillonComInterface.h"

class OQuillonComInterface_Serial : public OQuillonComInterface {
  public:
    // The last argument is the connection kind reported by iGetInterfaceType (0 when 3
    // is passed).
    OQuillonComInterface_Serial(void* parent, ZRINFO* sessionInfo, OProgressCtrl* progress,
                                ProgressDisplay* statusBar, int interfaceType);

    int iGetInterfaceType() const override { return m_interfaceType; }

    void SetDevice(const std::string& device, int baud);

  protected:
    int iOpen(OLinkSession& session, const OConnectionProfile& profile,
              LinkPayload::OLoginAnswer& answer) override;
    OConnectionProfile::Kind ProfileKind() const override {
        return OConnectionProfile::Kind::Serial;
    }

  private:
    int m_interfaceType;
};
