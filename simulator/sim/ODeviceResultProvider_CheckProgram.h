// The device's results as a real device computes them: the check program it runs extracts
// the part's features and classifies it (OCheckProgramRun), and the part is sent with those
// features. Parts without a program, parts without the picture the device works on, and
// programs that cannot be decoded get the fallback's results.
#pragma once

#include <memory>

#include "sim/ODeviceResultProvider.h"
#include "testcases/OCheckProgramRun.h"

class ODeviceResultProvider_CheckProgram : public ODeviceResultProvider {
  public:
    ODeviceResultProvider_CheckProgram(const ZRINFO& info,
                                       std::unique_ptr<ODeviceResultProvider> fallback);

    ODeviceResult Evaluate(const OType_Part& part, const std::optional<OSimPartSpec>& truth,
                           std::span<const uint8_t> program) override;

  private:
    std::unique_ptr<ODeviceResultProvider> m_fallback;
    OCheckProgramRun m_run;
};
