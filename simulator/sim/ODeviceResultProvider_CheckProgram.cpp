#include "sim/ODeviceResultProvider_CheckProgram.h"

#include "model/part/OType_Part.h"

ODeviceResultProvider_CheckProgram::ODeviceResultProvider_CheckProgram(
    const ZRINFO& info, std::unique_ptr<ODeviceResultProvider> fallback)
    : m_fallback(std::move(fallback)), m_run(info) {}

ODeviceResult ODeviceResultProvider_CheckProgram::Evaluate(const OType_Part& part,
                                                           const std::optional<OSimPartSpec>& truth,
                                                           std::span<const uint8_t> program) {
    if (!m_run.bCanInspect(part) || !m_run.bLoad(program))
        return m_fallback->Evaluate(part, truth, program);
    const OType_Part inspected = m_run.Inspect(part);
    ODeviceResult r;
    r.type = inspected.iGetType();
    r.orientation = inspected.iGetOrientation();
    r.deviation = inspected.dGetResultValue(0);
    r.distance = inspected.dGetResultValue(1);
    r.inside = inspected.dGetResultValue(2);
    r.tolerance = inspected.iGetTolerance();
    // A camera device sends the features with the part, their deviations as fractions.
    if (!m_run.bIsNewPlatform()) return r;
    r.features = inspected.Features();
    for (int i = 0; i < r.features->iGetNumOfFeatures(); ++i)
        r.features->At(i).deviation /= 100.0;
    return r;
}
