// The beep's own tone: its length, pitch, level and the click-free ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "platform/ToneSynthesis.h"

namespace {

int ZeroCrossings(const std::vector<int16_t>& s) {
    int n = 0;
    for (size_t i = 1; i < s.size(); ++i)
        n += (s[i - 1] < 0) != (s[i] < 0) ? 1 : 0;
    return n;
}

}  // namespace

TEST(ToneSynthesis, TheFallbackToneHasItsPitchAndLength) {
    const std::vector<int16_t> tone = ToneSynthesis::Tone(2000, 200);
    ASSERT_EQ(tone.size(), 44100u * 200 / 1000);
    // 2000 Hz for 0.2 s: 400 periods, two sign changes each.
    EXPECT_NEAR(ZeroCrossings(tone), 800, 4);
    const auto [low, high] = std::minmax_element(tone.begin(), tone.end());
    EXPECT_GE(*high, 11900);
    EXPECT_LE(*low, -11900);
    EXPECT_LE(*high, 12000);
}

TEST(ToneSynthesis, EndsFadeSoTheToneDoesNotClick) {
    const std::vector<int16_t> tone = ToneSynthesis::Tone(440, 100);
    EXPECT_EQ(tone.front(), 0);
    EXPECT_LT(std::abs(tone.back()), 200);
    EXPECT_LT(std::abs(tone[10]), 500) << "still fading in after 10 samples";
}

TEST(ToneSynthesis, OutOfRangeRequestsAreClamped) {
    EXPECT_TRUE(ToneSynthesis::Tone(2000, 0).empty());
    EXPECT_TRUE(ToneSynthesis::Tone(2000, -5).empty());
    EXPECT_EQ(ToneSynthesis::Tone(2000, 60000).size(), 44100u * 5) << "at most 5 s";
    EXPECT_NEAR(ZeroCrossings(ToneSynthesis::Tone(5, 1000)), 2 * 37, 2) << "at least 37 Hz";
    EXPECT_NEAR(ZeroCrossings(ToneSynthesis::Tone(1000, 1000, 8000)), 2000, 4);
    const std::vector<int16_t> loud = ToneSynthesis::Tone(1000, 50, 44100, 99999);
    EXPECT_GE(*std::max_element(loud.begin(), loud.end()), 32700);
}
