// The indexed part answers the ROI, VStrip and CTool features with the values the tools
// themselves compute, for every placement mode, on well-formed and malformed contours.
#include <gtest/gtest.h>

#include <random>

#include "model/part/OType_Feature.h"
#include "tools/OContourPartIndex.h"
#include "tools/OType_ConfigTool_CTOOL.h"
#include "tools/OType_ConfigTool_ROI.h"
#include "tools/OType_ConfigTool_VSTRIP.h"

namespace {

// A random contour of up to 60 columns: empty columns, holes, and with `malformed` also
// runs that overlap or stand upside down.
std::vector<int16_t> RandomContour(std::mt19937& rng, bool malformed) {
    std::uniform_int_distribution<int> columns(0, 60), runs(0, 3), row(5, 200), len(1, 40);
    std::vector<int16_t> out;
    const int n = columns(rng);
    for (int c = 0; c < n; ++c) {
        const int k = runs(rng);
        if (k == 0) {
            out.insert(out.end(), {1, -1});
            continue;
        }
        int top = row(rng);
        for (int i = 0; i < k; ++i) {
            int bottom = top + len(rng);
            if (malformed && rng() % 4 == 0) std::swap(top, bottom);
            out.push_back(static_cast<int16_t>(top));
            out.push_back(static_cast<int16_t>(i + 1 == k ? -bottom : bottom));
            top = malformed && rng() % 3 == 0 ? top + 3 : std::max(top, bottom) + len(rng);
        }
    }
    return out;
}

ORect RandomRegion(std::mt19937& rng) {
    std::uniform_int_distribution<int> col(-5, 70), row(-10, 260);
    return {col(rng), row(rng), col(rng), row(rng)};
}

OToolMeasurement ToolValue(OType_ConfigTool_Contour& tool, int featureType, int mode,
                           const ORect& region, const OContourColumns& columns) {
    tool.SetFeatureType(featureType);
    tool.SetPlacementMode(mode);
    tool.SetRegion(region);
    return tool.Measure(columns, OType_FeatureArray());
}

}  // namespace

TEST(ContourPartIndex, AnswersLikeTheToolsInEveryModeAndRegion) {
    std::mt19937 rng(7);
    OType_ConfigTool_ROI roi;
    OType_ConfigTool_VSTRIP strip;
    OType_ConfigTool_CTOOL ctool;
    int answered = 0, wholeColumnRegions = 0;
    for (int part = 0; part < 300; ++part) {
        const std::vector<int16_t> runs = RandomContour(rng, part % 3 == 0);
        const OContourPartIndex index(runs);
        OContourColumns columns;
        columns.Build(runs);
        for (int r = 0; r < 40; ++r) {
            ORect region = RandomRegion(rng);
            // Every other region takes in all rows, where the column sums must answer.
            if (r % 2 == 0) {
                region.top = 0;
                region.bottom = 1000;
            }
            for (int mode = 1; mode <= 3; ++mode) {
                struct {
                    OType_ConfigTool_Contour* tool;
                    int kind, featureType;
                } cases[] = {{&roi, 1, 30},
                             {&strip, 2, 33},
                             {&ctool, 3, 22},
                             {&ctool, 3, 23},
                             {&ctool, 3, 25}};
                for (const auto& c : cases) {
                    const auto fast = index.Measure(c.kind, c.featureType, mode, region);
                    const bool whole = region.top == 0 && region.bottom == 1000;
                    if (c.kind == 1 || whole) {
                        ASSERT_TRUE(fast.has_value())
                            << "kind " << c.kind << " mode " << mode << " part " << part;
                    }
                    if (!fast) continue;
                    ++answered;
                    wholeColumnRegions += whole ? 1 : 0;
                    const OToolMeasurement m =
                        ToolValue(*c.tool, c.featureType, mode, region, columns);
                    ASSERT_EQ(*fast, m.value)
                        << "kind " << c.kind << " feature " << c.featureType << " mode " << mode
                        << " part " << part << " region " << region.left << "," << region.top << ","
                        << region.right << "," << region.bottom;
                }
            }
        }
    }
    EXPECT_GT(answered, 50000);
    EXPECT_GT(wholeColumnRegions, 20000);
}

TEST(ContourPartIndex, EmptyAndShortContours) {
    for (const std::vector<int16_t>& runs :
         {std::vector<int16_t>{}, std::vector<int16_t>{5}, std::vector<int16_t>{1, -1, 1, -1}}) {
        const OContourPartIndex index(runs);
        EXPECT_FALSE(index.bHasMaterial());
        for (int kind = 1; kind <= 3; ++kind) {
            const auto v = index.Measure(kind,
                                         kind == 1   ? 30
                                         : kind == 2 ? 33
                                                     : 22,
                                         1, {0, 0, 10, 100});
            ASSERT_TRUE(v.has_value());
            EXPECT_EQ(*v, 0.0);
        }
    }
}

TEST(ContourPartIndex, RegionOutsideRowsOfThePartFallsBackToTheTool) {
    // Rows 10..30 of a column 10..50: the column sums do not hold, the ROI area does.
    const std::vector<int16_t> runs = {10, -50, 10, -50};
    const OContourPartIndex index(runs);
    EXPECT_FALSE(index.Measure(2, 33, 1, {0, 10, 1, 29}).has_value());
    EXPECT_FALSE(index.Measure(3, 22, 1, {0, 10, 1, 29}).has_value());
    EXPECT_EQ(index.Measure(1, 30, 1, {0, 10, 1, 29}), 40.0);
    // Copies index their own runs.
    OContourPartIndex copy;
    copy = index;
    EXPECT_EQ(copy.Measure(1, 30, 1, {0, 0, 0, 100}), 40.0);
    EXPECT_EQ(copy.Measure(3, 25, 1, {0, 0, 1, 100}), 0.0);
    EXPECT_EQ(copy.Measure(3, 23, 2, {0, 0, 0, 100}), 1.0);
}
