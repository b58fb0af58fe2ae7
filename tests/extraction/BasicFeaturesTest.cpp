// The twelve basic features against a plain computation from a pixel grid.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <random>
#include <vector>

#include "ExtractionTestHost.h"
#include "extraction/OBasicContourFeatures.h"
#include "model/util/Rounding.h"

namespace {

using Columns = std::vector<std::vector<std::pair<int, int>>>;

// The features computed the slow way: rasterise the runs (a run (t, b) fills rows t .. b-1),
// then measure the pixels. The device measures a pixel at its upper edge (row y + 1) and
// halves d^2 and d separately in the row sum, which is one less for odd run lengths; empty
// columns are stored as (1, -1).
std::array<double, 12> Reference(const Columns& columns, bool variant) {
    const int n = static_cast<int>(columns.size());
    const int rows = 600;
    std::vector<std::vector<bool>> px(static_cast<size_t>(n), std::vector<bool>(rows, false));
    for (int c = 0; c < n; ++c)
        for (auto [t, b] : columns[c])
            for (int y = t; y < b; ++y)
                px[c][y] = true;

    long long area = 0, sx = 0, sy = 0, sx2 = 0, sy2 = 0, oddRuns = 0, pairs = 0;
    for (int c = 0; c < n; ++c) {
        pairs += std::max<size_t>(columns[c].size(), 1);
        for (int y = 0; y < rows; ++y) {
            if (!px[c][y]) continue;
            ++area;
            sx += c;
            sy += y + 1;
            sx2 += 1LL * c * c;
            sy2 += 1LL * (y + 1) * (y + 1);
        }
        for (auto [t, b] : columns[c])
            oddRuns += (b - t) % 2;
    }
    sy -= oddRuns;
    if (variant) sy2 -= pairs;

    auto firstTop = [&](int c) {
        for (int y = 0; y < rows; ++y)
            if (px[c][y]) return y;
        return 1;  // (1, -1)
    };
    auto lastBottom = [&](int c) {
        for (int y = rows - 1; y >= 0; --y)
            if (px[c][y]) return y + 1;
        return 1;
    };
    int minTop = INT32_MAX, maxBottom = INT32_MIN;
    for (int c = 0; c < n; ++c) {
        minTop = std::min(minTop, firstTop(c));
        maxBottom = std::max(maxBottom, lastBottom(c));
    }
    const int height = maxBottom - minTop;
    const int mid = minTop + height / 2;

    long long edges = 0;
    int prev = -1;  // column compared with
    for (int c = 0; c < n; ++c) {
        for (auto [t, b] : columns[c]) {
            long long shared = 0;
            for (int y = t; y < b; ++y)
                shared += (prev >= 0 && px[prev][y]) ? 1 : 0;
            edges += 2 * ((b - t + 1) - shared);
        }
        const bool empty = columns[c].empty();
        if (!(variant && empty)) prev = c;
    }

    long long left = 0, lower = 0;
    for (int c = 0; c < n; ++c)
        for (int y = 0; y < rows; ++y) {
            if (!px[c][y]) continue;
            if (c < n / 2) ++left;
            if (y >= minTop && y < mid) ++lower;
        }

    double cx = 0, cy = 0, rmin = 0, rmax = 0, mx = 0, my = 0;
    if (area > 0) {
        cx = dCBRound(double(sx) / area);
        cy = dCBRound(double(sy) / area);
        double lo = DBL_MAX, hi = -DBL_MAX;
        for (int c = 0; c < n; ++c) {
            const double top = (cx - c) * (cx - c) + (cy - firstTop(c)) * (cy - firstTop(c));
            const double bot = (cx - c) * (cx - c) + (cy - lastBottom(c)) * (cy - lastBottom(c));
            if (variant) {
                if (top < lo)
                    lo = top;
                else
                    hi = std::max(hi, top);
            } else {
                lo = std::min(lo, top);
                hi = std::max(hi, top);
            }
            lo = std::min(lo, bot);
            hi = std::max(hi, bot);
        }
        rmin = std::sqrt(lo);
        rmax = std::sqrt(std::max(hi, 0.0));
        mx = double(sx2 - (sx * sx / area - (variant ? 1 : 0)));
        my = double(sy2 - (sy * sy / area - (variant ? 1 : 0)));
    }
    std::array<double, 12> v = {double(n),    double(height), double(area), double(edges),
                                double(left), double(lower),  cy,           cx,
                                rmin,         rmax,           mx,           my};
    for (double& x : v)
        x = dCBRound(x);
    return v;
}

Columns RandomColumns(std::mt19937& rng) {
    std::uniform_int_distribution<int> count(1, 120), runs(0, 4), gap(1, 40), len(1, 60);
    Columns columns(static_cast<size_t>(count(rng)));
    for (auto& column : columns) {
        int row = gap(rng) - 1;
        const int k = runs(rng);
        for (int i = 0; i < k && row < 500; ++i) {
            const int bottom = std::min(row + len(rng), 520);
            column.push_back({row, bottom});
            row = bottom + gap(rng);
        }
    }
    return columns;
}

std::array<double, 12> Measure(const std::vector<int16_t>& runs, bool variant) {
    OBasicContourMeasure m;
    OBasicContourFeatures f;
    m.Measure(runs, variant, f);
    return f.values;
}

const char* kNames[12] = {"columns",    "height",     "area",       "edges",
                          "left area",  "lower area", "centre row", "centre column",
                          "min radius", "max radius", "moment x",   "moment y"};

}  // namespace

TEST(BasicFeatures, MatchThePixelComputationOnRandomContours) {
    std::mt19937 rng(20240611);
    OBasicContourMeasure m;  // reused, as in a run
    for (int trial = 0; trial < 400; ++trial) {
        const Columns columns = RandomColumns(rng);
        for (bool variant : {false, true}) {
            OBasicContourFeatures f;
            m.Measure(Runs(columns), variant, f);
            const auto expected = Reference(columns, variant);
            for (int i = 0; i < 12; ++i)
                ASSERT_DOUBLE_EQ(f.values[i], expected[i])
                    << kNames[i] << " trial " << trial << " variant " << variant;
            EXPECT_EQ(f.columns, static_cast<int>(columns.size()));
        }
    }
}

TEST(BasicFeatures, SingleColumnOfOneRun) {
    const auto v = Measure({10, -20}, false);
    EXPECT_EQ(v[BasicFeature::kArea], 10);
    EXPECT_EQ(v[BasicFeature::kColumns], 1);
    EXPECT_EQ(v[BasicFeature::kHeight], 10);
    // Rows 11..20 measured at their upper edges: sum y = 10*10 + 55 - 0 (even length).
    EXPECT_EQ(v[BasicFeature::kCentreRow], 15.5);
    EXPECT_EQ(v[BasicFeature::kCentreColumn], 0);
    EXPECT_EQ(v[BasicFeature::kEdges], 22);
    EXPECT_EQ(v[BasicFeature::kLeftArea], 0);  // no column left of column 0
    EXPECT_EQ(v[BasicFeature::kLowerArea], 5);
    EXPECT_EQ(v[BasicFeature::kMinRadius], 4.5);
    EXPECT_EQ(v[BasicFeature::kMaxRadius], 5.5);
}

TEST(BasicFeatures, VariantRuleSubtractsOnePerRunAndShiftsTheMoments) {
    // One column, one run of 3 rows: sum y^2 = 11^2+12^2+13^2 = 434 (variant 433),
    // sum y = 3*10 + 4 + 1 = 35, area 3: moment y = 434 - floor(35^2/3) = 434 - 408 = 26.
    const auto normal = Measure({10, -13}, false);
    const auto variant = Measure({10, -13}, true);
    EXPECT_EQ(normal[BasicFeature::kMomentY], 26);
    EXPECT_EQ(variant[BasicFeature::kMomentY], 433 - (408 - 1));
    EXPECT_EQ(normal[BasicFeature::kMomentX], 0);
    EXPECT_EQ(variant[BasicFeature::kMomentX], 1);
}

TEST(BasicFeatures, VariantRuleKeepsThePreviousColumnOverAnEmptyOne) {
    // Column 0 (10, 20), column 1 empty, column 2 (10, 20): normally column 2 overlaps
    // nothing (the empty column is the previous one); under the variant rule it overlaps
    // column 0 fully.
    const std::vector<int16_t> runs = {10, -20, 1, -1, 10, -20};
    EXPECT_EQ(Measure(runs, false)[BasicFeature::kEdges], 22 + 22);
    EXPECT_EQ(Measure(runs, true)[BasicFeature::kEdges], 22 + 2);
}

TEST(BasicFeatures, VariantDeviceTypes) {
    for (int code : {256, 258, 512, 1536, 1700, 1792})
        EXPECT_TRUE(bIsVariantDeviceType(code)) << code;
    for (int code : {0, 255, 513, 778, 818, 1535, 1793})
        EXPECT_FALSE(bIsVariantDeviceType(code)) << code;
}

TEST(BasicFeatures, EmptyColumnsCountTheirRowOneInTheHeight) {
    // (1, -1) has top 1: the height runs from row 1 to 40.
    EXPECT_EQ(Measure({1, -1, 30, -40}, false)[BasicFeature::kHeight], 39);
}

TEST(BasicFeatures, ContourWithoutMaterialGivesZeroCentreAndMoments) {
    const auto v = Measure({1, -1, 1, -1}, false);
    EXPECT_EQ(v[BasicFeature::kColumns], 2);
    EXPECT_EQ(v[BasicFeature::kArea], 0);
    for (int i : {BasicFeature::kCentreRow, BasicFeature::kCentreColumn, BasicFeature::kMinRadius,
                  BasicFeature::kMaxRadius, BasicFeature::kMomentX, BasicFeature::kMomentY})
        EXPECT_EQ(v[i], 0) << kNames[i];
}

TEST(BasicFeatures, MalformedRunListsGiveDefinedResults) {
    // Odd length: the lone last value is ignored.
    EXPECT_EQ(Measure({10, -20, 5}, false), Measure({10, -20}, false));
    // Runs after the last column end belong to no column.
    EXPECT_EQ(Measure({10, -20, 30, 40}, false), Measure({10, -20}, false));
    // No column end at all: nothing is measured.
    EXPECT_EQ(Measure({10, 20, 30, 40}, false), (std::array<double, 12>{}));
    // A bottom below its top holds no material.
    EXPECT_EQ(Measure({50, -20}, false)[BasicFeature::kArea], 0);
    // The extreme values stay finite and exact.
    const auto extreme = Measure({0, -32767, -32768, -32767, 32767, -32767}, false);
    EXPECT_EQ(extreme[BasicFeature::kArea], 32767);
    EXPECT_EQ(extreme[BasicFeature::kColumns], 3);
    for (double v : extreme)
        EXPECT_TRUE(std::isfinite(v));
}

TEST(BasicFeatures, HugeColumnCountsAndOutOfOrderRuns) {
    // 400000 columns of one run, and two large columns whose runs are out of order.
    std::vector<int16_t> runs;
    for (int c = 0; c < 400000; ++c) {
        runs.push_back(static_cast<int16_t>(c % 300));
        runs.push_back(static_cast<int16_t>(-(c % 300 + 5)));
    }
    const auto v = Measure(runs, false);
    EXPECT_EQ(v[BasicFeature::kColumns], 400000);
    EXPECT_EQ(v[BasicFeature::kArea], 5.0 * 400000);
    for (double x : v)
        EXPECT_TRUE(std::isfinite(x));

    // Unordered runs: each run is compared with every run of the previous column.
    std::vector<int16_t> unordered;
    for (int c = 0; c < 2; ++c) {
        for (int i = 0; i < 3000; ++i) {
            const int t = (i * 7919) % 30000;
            unordered.push_back(static_cast<int16_t>(t));
            unordered.push_back(static_cast<int16_t>(i == 2999 ? -(t + 3) : t + 3));
        }
    }
    const auto u = Measure(unordered, false);
    // Plainly: the first column overlaps nothing, each run of the second column shares rows
    // with every run of the first that overlaps it.
    long long edges = 0;
    for (int i = 0; i < 3000; ++i) {
        const int t = (i * 7919) % 30000;
        long long shared = 0;
        for (int j = 0; j < 3000; ++j) {
            const int pt = (j * 7919) % 30000;
            shared += std::max(0, std::min(t + 3, pt + 3) - std::max(t, pt));
        }
        edges += 2 * 4 + 2 * (4 - shared);
    }
    EXPECT_EQ(u[BasicFeature::kColumns], 2);
    EXPECT_EQ(u[BasicFeature::kArea], 6.0 * 3000);
    EXPECT_EQ(u[BasicFeature::kEdges], static_cast<double>(edges));
}
