// A beep as sound samples: a sine tone of a frequency and a duration as 16-bit PCM, faded in
// and out over a few milliseconds so that it starts and ends without a click. The desktop
// plays it where the system offers no beep of its own.
#pragma once

#include <cstdint>
#include <vector>

namespace ToneSynthesis {

inline constexpr int kSampleRate = 44100;
// The frequencies a beep may have (those of the system beep), and its longest duration.
inline constexpr int kMinFrequencyHz = 37;
inline constexpr int kMaxFrequencyHz = 20000;
inline constexpr int kMaxDurationMs = 5000;
inline constexpr int kFadeMs = 5;

// Mono samples at `sampleRate`; frequency and duration are clamped to the ranges above, a
// duration of 0 or less gives no samples. `amplitude` is the peak (0 ... 32767).
std::vector<int16_t> Tone(int frequencyHz, int durationMs, int sampleRate = kSampleRate,
                          int amplitude = 12000);

}  // namespace ToneSynthesis
