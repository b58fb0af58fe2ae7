#include "model/util/Rounding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

namespace {

double Parse(const std::string& decimal) {
    return std::strtod(decimal.c_str(), nullptr);
}

TEST(Rounding, TwoDecimalsHalfAwayFromZero) {
    EXPECT_EQ(dCBRound(2.675), 2.68);
    EXPECT_EQ(dCBRound(1.005), 1.01);
    EXPECT_EQ(dCBRound(-1.005), -1.01);
    EXPECT_EQ(dCBRound(0.125), 0.13);
    EXPECT_EQ(dCBRound(-0.125), -0.13);
    EXPECT_EQ(dCBRound(0.145), 0.15);
    EXPECT_EQ(dCBRound(2.665), 2.67);
    EXPECT_EQ(dCBRound(0.005), 0.01);
    EXPECT_EQ(dCBRound(-0.005), -0.01);
    EXPECT_EQ(dCBRound(123456789.125), 123456789.13);
}

TEST(Rounding, TwoDecimalsBelowAndAboveTheHalf) {
    EXPECT_EQ(dCBRound(2.674999), 2.67);
    EXPECT_EQ(dCBRound(2.6749), 2.67);
    EXPECT_EQ(dCBRound(2.6751), 2.68);
    EXPECT_EQ(dCBRound(-2.6749), -2.67);
    EXPECT_EQ(dCBRound(1.0), 1.0);
    EXPECT_EQ(dCBRound(1.999), 2.0);
    EXPECT_EQ(dCBRound(-1.994), -1.99);
    EXPECT_EQ(dCBRound(99.995), 100.0);
}

TEST(Rounding, FourDecimals) {
    EXPECT_EQ(dZRRound(1.00005), 1.0001);
    EXPECT_EQ(dZRRound(0.00005), 0.0001);
    EXPECT_EQ(dZRRound(-0.00005), -0.0001);
    EXPECT_EQ(dZRRound(0.00015), 0.0002);
    EXPECT_EQ(dZRRound(2.00015), 2.0002);
    EXPECT_EQ(dZRRound(1.23444999), 1.2344);
    EXPECT_EQ(dZRRound(1.23445), 1.2345);
    EXPECT_EQ(dZRRound(-1.23445), -1.2345);
    EXPECT_EQ(dZRRound(3.14159265), 3.1416);
    EXPECT_EQ(dZRRound(0.125), 0.125);
    EXPECT_EQ(dZRRound(2.675), 2.675);
}

TEST(Rounding, ZeroIsPositive) {
    EXPECT_FALSE(std::signbit(dCBRound(-0.004)));
    EXPECT_EQ(dCBRound(-0.004), 0.0);
    EXPECT_FALSE(std::signbit(dZRRound(-0.00004)));
    EXPECT_FALSE(std::signbit(dCBRound(-0.0)));
    EXPECT_EQ(dCBRound(0.0), 0.0);
}

TEST(Rounding, NonFiniteAndHugeValuesPassThrough) {
    EXPECT_TRUE(std::isnan(dCBRound(std::numeric_limits<double>::quiet_NaN())));
    EXPECT_TRUE(std::isnan(dZRRound(std::numeric_limits<double>::quiet_NaN())));
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(dCBRound(inf), inf);
    EXPECT_EQ(dZRRound(-inf), -inf);
    EXPECT_EQ(dCBRound(1e16 + 2.0), 1e16 + 2.0);
    EXPECT_EQ(dZRRound(-3.3e15), -3.3e15);
    EXPECT_EQ(dCBRound(1.5e300), 1.5e300);
    EXPECT_EQ(dZRRound(std::numeric_limits<double>::denorm_min()), 0.0);
}

// Every decimal with a trailing 5 one place beyond the precision must round away from zero,
// whatever its binary neighbour is; the expected value is the decimal string one unit up.
void CheckAllHalves(int decimals, int count, double (*round)(double)) {
    int failures = 0;
    for (int i = 0; i < count && failures < 10; ++i) {
        const int scale = decimals == 2 ? 100 : 10000;
        char half[64], up[64];
        std::snprintf(half, sizeof half, "%d.%0*d5", i / scale, decimals, i % scale);
        const int next = i + 1;
        std::snprintf(up, sizeof up, "%d.%0*d", next / scale, decimals, next % scale);
        if (round(Parse(half)) != Parse(up)) {
            ++failures;
            ADD_FAILURE() << half << " gave " << round(Parse(half)) << ", expected " << up;
        }
        if (round(-Parse(half)) != -Parse(up)) {
            ++failures;
            ADD_FAILURE() << "-" << half << " gave " << round(-Parse(half));
        }
    }
}

TEST(Rounding, EveryDecimalHalfRoundsUp) {
    CheckAllHalves(2, 200000, dCBRound);
    CheckAllHalves(4, 200000, dZRRound);
}

// Values just below a half (by far more than the representation error) round down.
TEST(Rounding, JustBelowHalfRoundsDown) {
    for (int i = 0; i < 20000; ++i) {
        char below[64], down[64];
        std::snprintf(below, sizeof below, "%d.%02d4999", i / 100, i % 100);
        std::snprintf(down, sizeof down, "%d.%02d", i / 100, i % 100);
        ASSERT_EQ(dCBRound(Parse(below)), Parse(down)) << below;
    }
}

}  // namespace
