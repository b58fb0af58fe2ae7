#include "platform/ToneSynthesis.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ToneSynthesis {

std::vector<int16_t> Tone(int frequencyHz, int durationMs, int sampleRate, int amplitude) {
    if (durationMs <= 0 || sampleRate <= 0) return {};
    const double frequency = std::clamp(frequencyHz, kMinFrequencyHz, kMaxFrequencyHz);
    const int64_t count =
        static_cast<int64_t>(sampleRate) * std::min(durationMs, kMaxDurationMs) / 1000;
    const double peak = std::clamp(amplitude, 0, 32767);
    const int64_t fade = std::min<int64_t>(count / 2, int64_t{sampleRate} * kFadeMs / 1000);
    std::vector<int16_t> samples(static_cast<size_t>(count));
    const double step = 2.0 * std::numbers::pi * frequency / sampleRate;
    for (int64_t i = 0; i < count; ++i) {
        // A raised-cosine ramp at both ends.
        double gain = 1.0;
        const int64_t fromEdge = std::min(i, count - 1 - i);
        if (fromEdge < fade) gain = 0.5 - 0.5 * std::cos(std::numbers::pi * fromEdge / fade);
        samples[static_cast<size_t>(i)] = static_cast<int16_t>(
            std::lround(peak * gain * std::sin(step * static_cast<double>(i))));
    }
    return samples;
}

}  // namespace ToneSynthesis
