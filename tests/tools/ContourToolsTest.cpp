// The family-1 contour tools against plain computations from a pixel grid, their placement
// modes, encodings, target checks and drawing.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>

#include "device/DeviceInfoBuilder.h"
#include "model/draw/ORecordingPainter.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/stream/OByteStream_Memory.h"
#include "tools/OType_ConfigTool_CTOOL.h"
#include "tools/OType_ConfigTool_Combination.h"
#include "tools/OType_ConfigTool_ExtSensor.h"
#include "tools/OType_ConfigTool_Hole.h"
#include "tools/OType_ConfigTool_MEASURE.h"
#include "tools/OType_ConfigTool_ROI.h"
#include "tools/OType_ConfigTool_VSTRIP.h"
#include "tools/ToolKindRegistry.h"

namespace {

using Columns = std::vector<std::vector<std::pair<int, int>>>;
constexpr int kRows = 300;

std::vector<int16_t> Runs(const Columns& columns) {
    std::vector<int16_t> out;
    for (const auto& c : columns) {
        if (c.empty()) {
            out.insert(out.end(), {1, -1});
            continue;
        }
        for (size_t i = 0; i < c.size(); ++i) {
            out.push_back(static_cast<int16_t>(c[i].first));
            out.push_back(static_cast<int16_t>(i + 1 == c.size() ? -c[i].second : c[i].second));
        }
    }
    return out;
}

// The pixel grid of a contour: px[c][y] for rows 0 .. kRows - 1.
struct OGrid {
    explicit OGrid(const Columns& columns) : px(columns.size(), std::vector<bool>(kRows)) {
        for (size_t c = 0; c < columns.size(); ++c)
            for (auto [t, b] : columns[c])
                for (int y = t; y < b; ++y)
                    px[c][y] = true;
    }
    bool At(int c, int y) const {
        return c >= 0 && c < int(px.size()) && y >= 0 && y < kRows && px[c][y];
    }
    int Columns() const { return int(px.size()); }
    std::vector<std::vector<bool>> px;
};

Columns RandomColumns(std::mt19937& rng) {
    std::uniform_int_distribution<int> count(5, 80), runs(0, 3), gap(1, 25), len(1, 50);
    Columns columns(static_cast<size_t>(count(rng)));
    for (auto& column : columns) {
        int row = gap(rng) - 1;
        const int k = runs(rng);
        for (int i = 0; i < k && row < 240; ++i) {
            const int bottom = row + len(rng);
            column.push_back({row, bottom});
            row = bottom + gap(rng);
        }
    }
    return columns;
}

// Every measurement of the rectangle [l, r] x [t, b] (inclusive) computed plainly.
struct OPlain {
    double roi = 0, strip = 0, contourArea = 0, contourWidth = 0, contourHeight = 0;
    double holes = 0, sensor = 0;
    bool sensorValid = false;
};

OPlain Plain(const OGrid& g, int l, int r, int t, int b) {
    OPlain p;
    int lowOutline = INT32_MAX, highOutline = INT32_MIN, crossed = 0;
    double sensorSum = 0;
    for (int c = l; c <= r; ++c) {
        int lowest = -1, highest = -1;
        for (int y = t; y <= b; ++y) {
            if (!g.At(c, y)) continue;
            ++p.roi;
            if (lowest < 0) lowest = y;
            highest = y;
        }
        if (lowest < 0) continue;
        p.strip += highest - lowest + 1;
        p.contourArea += highest + 1 - t;
        lowOutline = std::min(lowOutline, highest + 1);
        highOutline = std::max(highOutline, highest + 1);
        ++crossed;
        sensorSum += (b + 1) - (highest + 1);
    }
    // Holes: background between the lowest and the highest material row of the column
    // (anywhere in it), counted inside the rectangle.
    for (int c = l; c <= r; ++c) {
        int lowest = -1, highest = -1;
        for (int y = 0; y < kRows; ++y) {
            if (!g.At(c, y)) continue;
            if (lowest < 0) lowest = y;
            highest = y;
        }
        for (int y = std::max(lowest, t); lowest >= 0 && y <= std::min(highest, b); ++y)
            p.holes += g.At(c, y) ? 0 : 1;
    }
    p.contourWidth = crossed;
    p.contourHeight = crossed ? highOutline - lowOutline : 0;
    p.sensorValid = crossed > 0;
    p.sensor = crossed ? sensorSum / crossed : 0;
    return p;
}

OToolMeasurement MeasureWith(OType_ConfigTool_Contour& tool, const std::vector<int16_t>& runs) {
    OContourColumns columns;
    columns.Build(runs);
    return tool.Measure(columns, OType_FeatureArray());
}

double Round2(double v) {
    return std::round(v * 100) / 100;
}

}  // namespace

TEST(ContourTools, RegionToolsMatchThePixelComputation) {
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> pos(0, 90), size(0, 60), row(0, 250);
    OType_ConfigTool_ROI roi;
    OType_ConfigTool_VSTRIP strip;
    OType_ConfigTool_CTOOL ctool;
    OType_ConfigTool_Hole hole;
    OType_ConfigTool_ExtSensor sensor;
    for (int trial = 0; trial < 300; ++trial) {
        const Columns columns = RandomColumns(rng);
        const auto runs = Runs(columns);
        const OGrid grid(columns);
        const int l = pos(rng), r = l + size(rng), t = row(rng), b = t + size(rng);
        const OPlain p = Plain(grid, l, r, t, b);
        for (OType_ConfigTool_Contour* tool :
             std::initializer_list<OType_ConfigTool_Contour*>{&roi, &strip, &ctool, &hole, &sensor})
            tool->SetRegion({l, t, r, b});
        EXPECT_EQ(MeasureWith(roi, runs).value, p.roi);
        EXPECT_EQ(MeasureWith(strip, runs).value, p.strip);
        ctool.SetFeatureType(22);
        EXPECT_EQ(MeasureWith(ctool, runs).value, p.contourArea);
        ctool.SetFeatureType(23);
        EXPECT_EQ(MeasureWith(ctool, runs).value, p.contourWidth);
        ctool.SetFeatureType(25);
        EXPECT_EQ(MeasureWith(ctool, runs).value, p.contourHeight);
        hole.SetFeatureType(46);
        EXPECT_EQ(MeasureWith(hole, runs).value, p.holes);
        const OToolMeasurement s = MeasureWith(sensor, runs);
        EXPECT_EQ(s.valid, p.sensorValid);
        EXPECT_DOUBLE_EQ(s.value, p.sensor);
    }
}

TEST(ContourTools, MeasuringToolsMatchThePixelComputation) {
    std::mt19937 rng(8);
    OType_ConfigTool_MEASURE m;
    for (int trial = 0; trial < 300; ++trial) {
        const Columns columns = RandomColumns(rng);
        const auto runs = Runs(columns);
        const OGrid g(columns);
        const int l = 3, r = std::max(4, g.Columns() - 3), t = 20, b = 200;
        m.SetRegion({l, t, r, b});
        const int mid = t + (b - t) / 2, midColumn = l + (r - l) / 2;
        // 34 and 40 along the middle row.
        int first = -1, last = -1, pieces = 0;
        for (int c = l; c <= r; ++c) {
            if (!g.At(c, mid)) continue;
            if (first < 0) first = c;
            if (!g.At(c - 1, mid) || c == l) ++pieces;
            last = c;
        }
        m.SetFeatureType(34);
        const OToolMeasurement d = MeasureWith(m, runs);
        EXPECT_EQ(d.valid, first >= 0);
        if (first >= 0) {
            EXPECT_EQ(d.value, last - first + 1);
        }
        m.SetFeatureType(40);
        EXPECT_EQ(MeasureWith(m, runs).value, pieces);
        // 36 in the middle column.
        int lo = -1, hi = -1;
        for (int y = t; y <= b; ++y)
            if (g.At(midColumn, y)) {
                if (lo < 0) lo = y;
                hi = y;
            }
        m.SetFeatureType(36);
        const OToolMeasurement v = MeasureWith(m, runs);
        EXPECT_EQ(v.valid, lo >= 0 && midColumn < g.Columns());
        if (v.valid) {
            EXPECT_EQ(v.value, hi + 1 - lo);
        }
        // 41: the mean material height per column; 38 / 45 the outline angles.
        double sum = 0, n = 0, sx = 0, su = 0, sl = 0;
        std::vector<double> xs, up, low;
        for (int c = l; c <= std::min(r, g.Columns() - 1); ++c) {
            int a = -1, z = -1;
            for (int y = t; y <= b; ++y)
                if (g.At(c, y)) {
                    if (a < 0) a = y;
                    z = y;
                }
            if (a < 0) continue;
            sum += z + 1 - a;
            ++n;
            xs.push_back(c);
            up.push_back(z + 1);
            low.push_back(a);
            sx += c;
            su += z + 1;
            sl += a;
        }
        m.SetFeatureType(41);
        const OToolMeasurement md = MeasureWith(m, runs);
        EXPECT_EQ(md.valid, n > 0);
        if (n > 0) {
            EXPECT_EQ(Round2(md.value), Round2(sum / n));
        }
        auto angle = [&](const std::vector<double>& ys, double sy) {
            double cov = 0, var = 0;
            for (size_t i = 0; i < xs.size(); ++i) {
                cov += (xs[i] - sx / n) * (ys[i] - sy / n);
                var += (xs[i] - sx / n) * (xs[i] - sx / n);
            }
            return std::atan(cov / var) * 180 / M_PI;
        };
        m.SetFeatureType(38);
        const OToolMeasurement a = MeasureWith(m, runs);
        EXPECT_EQ(a.valid, n >= 2);
        if (n >= 2) {
            EXPECT_NEAR(a.value, angle(up, su), 1e-9);
        }
        m.SetFeatureType(45);
        const OToolMeasurement ma = MeasureWith(m, runs);
        if (n >= 2) {
            EXPECT_NEAR(ma.value, angle(up, su) - angle(low, sl), 1e-9);
        }
    }
}

TEST(ContourTools, HoleCountJoinsHolesOfNeighbouringColumns) {
    OType_ConfigTool_Hole hole;
    hole.SetFeatureType(47);
    hole.SetRegion({0, 0, 99, 299});
    // Columns 0-2 share one hole (rows 10..19), column 4 has a second, column 5 two more
    // (one touching column 4's hole), column 6 none.
    const Columns c = {{{0, 10}, {20, 30}},
                       {{0, 12}, {18, 30}},
                       {{0, 10}, {20, 30}},
                       {{0, 30}},
                       {{0, 5}, {8, 30}},
                       {{0, 6}, {7, 20}, {25, 30}},
                       {{0, 30}}};
    EXPECT_EQ(MeasureWith(hole, Runs(c)).value, 3);
    hole.SetFeatureType(46);
    EXPECT_EQ(MeasureWith(hole, Runs(c)).value, 10 + 6 + 10 + 3 + 1 + 5);
}

TEST(ContourTools, PlacementModesFollowThePart) {
    // A part of 100 columns with material in rows 50..99.
    const auto runs = Runs(Columns(100, {{50, 100}}));
    OType_ConfigTool_ROI roi;
    roi.SetRegion({0, 60, 9, 69});
    roi.SetPlacementMode(1);
    EXPECT_EQ(MeasureWith(roi, runs).value, 100);
    roi.SetPlacementMode(2);  // columns 90..99
    OContourColumns columns;
    columns.Build(runs);
    EXPECT_EQ(roi.GetPlacedRegion(columns), (ORect{90, 60, 99, 69}));
    roi.SetRegion({0, 0, 9, 9});
    roi.SetPlacementMode(3);  // rows from the lowest material row 50
    EXPECT_EQ(roi.GetPlacedRegion(columns), (ORect{0, 50, 9, 59}));
    EXPECT_EQ(MeasureWith(roi, runs).value, 100);
    roi.SetPlacementMode(1);
    EXPECT_EQ(MeasureWith(roi, runs).value, 0);
    // SetPlacedRegion is the inverse.
    for (int mode = 1; mode <= 3; ++mode) {
        roi.SetPlacementMode(mode);
        roi.SetPlacedRegion({20, 70, 35, 80}, columns);
        EXPECT_EQ(roi.GetPlacedRegion(columns), (ORect{20, 70, 35, 80})) << mode;
    }
    roi.SetPlacementMode(9);
    EXPECT_EQ(roi.iGetPlacementMode(), 1);
}

TEST(ContourTools, SearchSubKindsGiveDistinctFeatures) {
    // A part with a step, a slope and a hole: every tool the search creates measures
    // something different in the same region.
    Columns c;
    for (int x = 0; x < 60; ++x) {
        if (x < 20)
            c.push_back({{10, 40}});
        else if (x < 40)
            c.push_back({{10, 20}, {25, 40 + x}});
        else
            c.push_back({{10, 30}});
    }
    const auto runs = Runs(c);
    OType_ConfigTool_CTOOL ct;
    OType_ConfigTool_VSTRIP vs;
    OType_ConfigTool_ROI roi;
    std::set<double> values;
    for (int type : {22, 23, 25}) {
        ct.SetFeatureType(type);
        ct.SetRegion({10, 0, 50, 299});
        values.insert(MeasureWith(ct, runs).value);
    }
    vs.SetRegion({10, 0, 50, 299});
    roi.SetRegion({10, 0, 50, 299});
    values.insert(MeasureWith(vs, runs).value);
    values.insert(MeasureWith(roi, runs).value);
    EXPECT_EQ(values.size(), 5u);
    // The three placement modes measure different parts of the contour.
    std::set<double> modes;
    for (int mode = 1; mode <= 3; ++mode) {
        roi.SetPlacementMode(mode);
        roi.SetRegion({0, 0, 14, 35});
        modes.insert(MeasureWith(roi, runs).value);
    }
    EXPECT_EQ(modes.size(), 3u);
}

TEST(ContourTools, RegionOutsideThePartMeasuresNothing) {
    OType_ConfigTool_ROI roi;
    roi.SetRegion({200, 0, 300, 100});
    const OToolMeasurement m = MeasureWith(roi, Runs(Columns(10, {{0, 10}})));
    EXPECT_TRUE(m.valid);
    EXPECT_EQ(m.value, 0);
    OType_ConfigTool_MEASURE d;
    d.SetRegion({200, 0, 300, 100});
    EXPECT_FALSE(MeasureWith(d, Runs(Columns(10, {{0, 10}}))).valid);
    // Malformed run lists are read by the common rules.
    roi.SetRegion({0, 0, 10, 50});
    EXPECT_EQ(MeasureWith(roi, {10, -20, 5}).value, 10);
    EXPECT_EQ(MeasureWith(roi, {10, 20, 30, 40}).value, 0);
    EXPECT_EQ(MeasureWith(roi, {-32768, -32767}).value, 0);
}

TEST(ContourTools, EncodingRoundTripKeepsEverySettingAndUnknownBytes) {
    OType_ZRPartSet ps;
    RegisterToolAndDataOutputKinds(ps);
    OType_ConfigToolArray tools;
    auto& m = static_cast<OType_ConfigTool_MEASURE&>(*tools.Add(ps.ToolPrototypes().Create(4)));
    m.SetFeatureType(38);
    m.SetPlacementMode(3);
    m.SetRegion({1, 2, 3, 4});
    m.SetName("Angle");
    auto& c = static_cast<OType_ConfigTool_Combination&>(*tools.Add(ps.ToolPrototypes().Create(8)));
    c.SetOperand(0, OCombinationOperand::Tool(m.iGetToolId()));
    c.SetOperand(1, OCombinationOperand::Constant(2.5));
    c.SetOperation(CombinationOp::Greater);
    OByteStream_Memory out;
    ASSERT_TRUE(tools.iEncode(out));
    auto in = OByteStream_Memory::View(out.Bytes());
    OType_ConfigToolArray decoded;
    ASSERT_TRUE(decoded.iDecode(in, ps.ToolPrototypes()));
    ASSERT_EQ(decoded.iGetNum(), 2);
    const auto* dm = dynamic_cast<const OType_ConfigTool_MEASURE*>(decoded.opGetAt(0));
    ASSERT_TRUE(dm);
    EXPECT_EQ(dm->iGetPlacementMode(), 3);
    EXPECT_EQ(dm->iGetFeatureType(), 38);
    EXPECT_EQ(dm->GetRegion(), (ORect{1, 2, 3, 4}));
    const auto* dc = dynamic_cast<const OType_ConfigTool_Combination*>(decoded.opGetAt(1));
    ASSERT_TRUE(dc);
    EXPECT_EQ(dc->GetOperand(0), OCombinationOperand::Tool(m.iGetToolId()));
    EXPECT_EQ(dc->GetOperand(1), OCombinationOperand::Constant(2.5));
    EXPECT_EQ(dc->GetOperation(), CombinationOp::Greater);
    // Re-encoding gives the same bytes.
    OByteStream_Memory again;
    decoded.iEncode(again);
    EXPECT_EQ(std::vector<uint8_t>(again.Bytes().begin(), again.Bytes().end()),
              std::vector<uint8_t>(out.Bytes().begin(), out.Bytes().end()));
    // A clone copies everything.
    auto clone = decoded.opGetAt(1)->Clone();
    EXPECT_EQ(dynamic_cast<OType_ConfigTool_Combination&>(*clone).GetOperation(),
              CombinationOp::Greater);
}

TEST(ContourTools, TruncatedPayloadsDecodeWithDefaultsOrFail) {
    OType_ZRPartSet ps;
    RegisterToolAndDataOutputKinds(ps);
    OType_ConfigTool_ROI roi;
    roi.SetPlacementMode(2);
    OByteStream_Memory out;
    roi.iEncode(out);
    std::vector<uint8_t> bytes(out.Bytes().begin(), out.Bytes().end());
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        std::vector<uint8_t> part(bytes.begin(), bytes.begin() + static_cast<long>(cut));
        auto in = OByteStream_Memory::View(part);
        EXPECT_EQ(OType_ConfigToolArray::opCreateCFToolFromStream(in, ps.ToolPrototypes()),
                  nullptr);
    }
}

TEST(ContourTools, PropertyCompatibilityWithTheTarget) {
    ODeviceInfoRequest request;
    request.target = {1, 778, 0, 6, 1, 8};
    request.tools = 20;
    const ZRINFO classic = DeviceInfo::MakeWithoutDevice(request);
    std::string text;
    OType_ConfigTool_MEASURE m;
    EXPECT_EQ(m.iCheckPropertyCompatibility(classic, text), 0);
    EXPECT_TRUE(text.empty());
    m.SetRegion({-5, 0, 10, 600});  // beyond the 512 rows
    EXPECT_EQ(m.iCheckPropertyCompatibility(classic, text), ToolCompatibility::kAdjustable1);
    EXPECT_FALSE(text.empty());
    m.SetFeatureType(30);  // not a measuring feature
    EXPECT_EQ(m.iCheckPropertyCompatibility(classic, text),
              ToolCompatibility::kAdjustable1 | ToolCompatibility::kAdjustable2);
    EXPECT_EQ(m.iAdjustPropertyCompatibility(classic), 1);
    EXPECT_EQ(m.GetRegion(), (ORect{0, 0, 10, 511}));
    EXPECT_EQ(m.iGetFeatureType(), 34);
    EXPECT_EQ(m.iCheckPropertyCompatibility(classic, text), 0);
    // No measuring tools on this device, and none of the contour tools on a camera device.
    ZRINFO noMeasure = classic;
    noMeasure.SetU8(ZRINFO::kPresence + 3, 0);
    EXPECT_EQ(m.iCheckPropertyCompatibility(noMeasure, text), ToolCompatibility::kIncompatible);
    EXPECT_EQ(m.iAdjustPropertyCompatibility(noMeasure), 0);
    request.target = {7, 818, 0, 256, 16, 8};
    request.fixedFeatures = TargetSystem::iFixedFeatureCount(7);
    OType_ConfigTool_ROI roi;
    EXPECT_EQ(roi.iCheckPropertyCompatibility(DeviceInfo::MakeWithoutDevice(request), text) &
                  ToolCompatibility::kIncompatible,
              ToolCompatibility::kIncompatible);
}

TEST(ContourTools, ChangePositionSymmetrical) {
    ZRINFO info;
    info.SetU16(ZRINFO::kPixels, 100);
    OType_ConfigTool_ROI roi;
    roi.SetRegion({5, 10, 20, 30});
    EXPECT_EQ(roi.iChangePositionSymmetrical(1, info), 1);
    EXPECT_EQ(roi.GetRegion(), (ORect{5, 69, 20, 89}));
    EXPECT_EQ(roi.iChangePositionSymmetrical(1, info), 1);
    EXPECT_EQ(roi.GetRegion(), (ORect{5, 10, 20, 30}));
    EXPECT_EQ(roi.iChangePositionSymmetrical(2, info), 1);
    EXPECT_EQ(roi.iGetPlacementMode(), 2);
    roi.SetRegion({-3, 50, 8, 150});
    EXPECT_EQ(roi.iChangePositionSymmetrical(0, info), 1);
    EXPECT_EQ(roi.GetRegion(), (ORect{0, 50, 8, 99}));
    roi.SetPlacementMode(3);
    EXPECT_EQ(roi.iChangePositionSymmetrical(1, info), 0);
    EXPECT_EQ(roi.iChangePositionSymmetrical(7, info), 0);
    // The mirrored part measures what the tool measured on the original part.
    const auto runs = Runs(Columns{{{0, 5}}, {{0, 10}}, {{0, 20}}, {{0, 40}}});
    OType_Part part;
    part.SetConturData(runs);
    OType_ConfigTool_ROI a;
    a.SetRegion({0, 0, 1, 99});
    const double before = MeasureWith(a, runs).value;
    a.iChangePositionSymmetrical(2, info);
    std::vector<int16_t> mirrored = Runs(Columns{{{0, 40}}, {{0, 20}}, {{0, 10}}, {{0, 5}}});
    EXPECT_EQ(MeasureWith(a, mirrored).value, before);
}

TEST(CombinationTool, OperationsOnTwoOperands) {
    OType_ConfigTool_Combination c;
    c.SetToolId(9);
    OType_FeatureArray f;
    for (int i = 0; i < 12; ++i) {
        OType_Feature b;
        b.value = i;
        f.Add(b);
    }
    OType_Feature t;
    t.toolId = 4;
    t.value = 6;
    f.Add(t);
    c.SetOperand(0, OCombinationOperand::Tool(4));
    c.SetOperand(1, OCombinationOperand::Basic(3));
    const OContourColumns none;
    auto run = [&](CombinationOp op) {
        c.SetOperation(op);
        return c.Measure(none, f);
    };
    EXPECT_EQ(run(CombinationOp::Add).value, 9);
    EXPECT_EQ(run(CombinationOp::Subtract).value, 3);
    EXPECT_EQ(run(CombinationOp::Multiply).value, 18);
    EXPECT_EQ(run(CombinationOp::Divide).value, 2);
    EXPECT_EQ(run(CombinationOp::Minimum).value, 3);
    EXPECT_EQ(run(CombinationOp::Maximum).value, 6);
    EXPECT_EQ(run(CombinationOp::AbsDifference).value, 3);
    EXPECT_EQ(run(CombinationOp::And).value, 1);
    EXPECT_EQ(run(CombinationOp::Greater).value, 1);
    EXPECT_EQ(run(CombinationOp::Less).value, 0);
    EXPECT_EQ(run(CombinationOp::Equal).value, 0);
    c.SetOperand(1, OCombinationOperand::Basic(0));
    EXPECT_EQ(run(CombinationOp::Xor).value, 1);
    EXPECT_EQ(run(CombinationOp::Or).value, 1);
    EXPECT_FALSE(run(CombinationOp::Divide).valid);  // by zero
    EXPECT_FALSE(run(static_cast<CombinationOp>(77)).valid);
    // Invalid or missing operands, or the tool itself.
    f.At(12).valid = false;
    EXPECT_FALSE(run(CombinationOp::Add).valid);
    c.SetOperand(0, OCombinationOperand::Tool(9));
    EXPECT_FALSE(run(CombinationOp::Add).valid);
    c.SetOperand(0, OCombinationOperand());
    EXPECT_FALSE(run(CombinationOp::Add).valid);
}

TEST(CombinationTool, OperandsFollowTheirToolThroughInsertAndRemove) {
    OType_ZRPartSet ps;
    RegisterToolAndDataOutputKinds(ps);
    OType_ConfigTool* a = ps.Tools().Add(ps.ToolPrototypes().Create(1));
    OType_ConfigTool* b = ps.Tools().Add(ps.ToolPrototypes().Create(2));
    auto* c =
        static_cast<OType_ConfigTool_Combination*>(ps.Tools().Add(ps.ToolPrototypes().Create(8)));
    c->SetOperand(0, OCombinationOperand::Tool(b->iGetToolId()));
    c->SetOperand(1, OCombinationOperand::Basic(2));
    EXPECT_EQ(c->GetDirectReferencedFeatures(ps), (std::vector<int>{13, 2}));
    ps.Tools().Insert(0, ps.ToolPrototypes().Create(3));
    EXPECT_EQ(c->GetDirectReferencedFeatures(ps), (std::vector<int>{14, 2}));
    ps.Tools().RemoveAt(ps.Tools().iGetPos(a));
    EXPECT_EQ(c->GetDirectReferencedFeatures(ps), (std::vector<int>{13, 2}));
    EXPECT_TRUE(c->bReferencesTool(b->iGetToolId()));
    const int bId = b->iGetToolId();
    ps.Tools().RemoveAt(ps.Tools().iGetPos(b));
    EXPECT_EQ(c->GetDirectReferencedFeatures(ps), (std::vector<int>{2}));
    OType_Part part;
    c->UpdateCFToolDefinition(ps, ZRINFO(), part, part.Features());
    EXPECT_FALSE(c->bReferencesTool(bId));
    EXPECT_EQ(c->GetOperand(0).source, OCombinationOperand::Source::None);
}

TEST(ContourTools, ExtractionWritesTheEntryOfItsToolAndDraws) {
    OType_ZRPartSet ps;
    ps.ExtractFeatureNameLanguage(0);
    OType_ConfigTool_ROI roi;
    roi.SetToolId(5);
    roi.SetName("Window");
    roi.SetRegion({0, 0, 4, 9});
    OType_Part part;
    part.SetConturData(Runs(Columns(10, {{0, 10}})));
    OType_FeatureArray features;
    ORecordingPainter painter;
    EXPECT_EQ(roi.iExtractObject_Test(ps, ZRINFO(), part, features, 0, &painter,
                                      ToolDrawFlags::kSelected, ORect{}),
              1);
    ASSERT_EQ(features.iGetNumOfFeatures(), 1);  // appended: none carried the id
    EXPECT_EQ(features.At(0).toolId, 5);
    EXPECT_EQ(features.At(0).value, 50);
    EXPECT_EQ(features.At(0).name, "ROI area");
    ASSERT_EQ(painter.Of(ORecordingPainter::Kind::Rect).size(), 1u);
    EXPECT_EQ(painter.Of(ORecordingPainter::Kind::Rect)[0].rect, (ORect{0, 0, 4, 9}));
    EXPECT_EQ(painter.Texts().back(), "Window: 50.00");
    EXPECT_EQ(painter.pen, (ORgb{255, 0, 0}));
    // A second extraction writes into the same entry.
    roi.SetRegion({0, 0, 0, 9});
    roi.iExtractObject_Test(ps, ZRINFO(), part, features, 0, nullptr, 0, ORect{});
    ASSERT_EQ(features.iGetNumOfFeatures(), 1);
    EXPECT_EQ(features.At(0).value, 10);
    ORecordingPainter print;
    ps.TeachParts().Add(part);
    roi.PrintCFTool(print, ps);
    EXPECT_EQ(print.Of(ORecordingPainter::Kind::Rect).size(), 1u);
}
