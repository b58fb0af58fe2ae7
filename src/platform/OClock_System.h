// The real clocks.
#pragma once

#include "platform/Clock.h"

class OClock_System : public Clock {
  public:
    std::chrono::steady_clock::time_point Now() const override;
    std::chrono::system_clock::time_point WallNow() const override;
};
