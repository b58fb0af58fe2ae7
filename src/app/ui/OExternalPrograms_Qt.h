// Starting other programs from the desktop: QProcess::startDetached. Windows of other
// programs cannot be brought to the front through a published handle here; activation
// reports that no such window exists, and the caller starts the program instead.
#pragma once

#include "document/ExternalPrograms.h"

class OExternalPrograms_Qt : public ExternalPrograms {
  public:
    bool bStartDetached(const std::string& program, std::string& error) override;
    bool bActivateWindow(int64_t handle, int commandId) override;
};
