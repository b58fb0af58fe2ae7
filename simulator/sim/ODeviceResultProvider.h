// Where the simulated device's inspection results come from. The device hands every part
// it inspects, with what it knows about it and the check program it runs, to a provider
// and sends the part with the provider's results. ODeviceResultProvider_Fixed reports the
// scheduled type and orientation with fixed quality figures; a provider backed by the
// program's own extraction and classification code can replace it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "model/part/OType_Feature.h"
#include "sim/OSimPartFactory.h"

class OType_Part;

struct ODeviceResult {
    int type = 1;
    int orientation = 1;
    double deviation = 0;  // percent; above 100 is a bad part
    double distance = 0;   // to the decision threshold
    double inside = 1;     // inside flag or learning value
    int tolerance = 0;
    // The features the device extracted, their deviations as fractions as a device sends
    // them; absent when the device reports results only.
    std::optional<OType_FeatureArray> features;
};

class ODeviceResultProvider {
  public:
    virtual ~ODeviceResultProvider() = default;
    // truth: what the feeder brought (absent for a test image sent by the program);
    // program: the encoded check program the device runs (empty when none is stored).
    virtual ODeviceResult Evaluate(const OType_Part& part, const std::optional<OSimPartSpec>& truth,
                                   std::span<const uint8_t> program) = 0;
};

class ODeviceResultProvider_Fixed : public ODeviceResultProvider {
  public:
    explicit ODeviceResultProvider_Fixed(double deviation = 12.5) : m_deviation(deviation) {}
    ODeviceResult Evaluate(const OType_Part& part, const std::optional<OSimPartSpec>& truth,
                           std::span<const uint8_t> program) override;

  private:
    double m_deviation;
};

// Writes a provider's result into the part's result fields.
void ApplyDeviceResult(const ODeviceResult& result, OType_Part& part);
