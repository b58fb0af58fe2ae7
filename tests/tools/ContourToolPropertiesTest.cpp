// The family-1 contour tools' properties as data: what each kind describes, the device's
// limits, refusals that change nothing, the placement mode that keeps the region on the shown
// part, and the combination tool's operands.
#include <gtest/gtest.h>

#include "model/device/ZRINFO.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "tools/ContourToolProperties.h"
#include "tools/OContourColumns.h"
#include "tools/OType_ConfigTool_CTOOL.h"
#include "tools/OType_ConfigTool_Combination.h"
#include "tools/OType_ConfigTool_ExtSensor.h"
#include "tools/OType_ConfigTool_Hole.h"
#include "tools/OType_ConfigTool_MEASURE.h"
#include "tools/OType_ConfigTool_ROI.h"
#include "tools/OType_ConfigTool_VSTRIP.h"
#include "tools/ToolKindRegistry.h"

namespace PL = PropertyList;
using namespace ContourToolProperties;

namespace {

std::vector<std::string> Names(const OPropertyList& list) {
    std::vector<std::string> names;
    for (const OProperty& p : list)
        names.push_back(p.name);
    return names;
}

std::vector<int64_t> ChoiceValues(const OProperty& p) {
    std::vector<int64_t> values;
    for (const OPropertyChoice& c : p.choices)
        values.push_back(c.value);
    return values;
}

// A part set with the built-in feature names and a shown sample part of `columns` columns,
// each holding rows 20 ... 59.
struct OSetWithPart {
    OType_ZRPartSet set;
    explicit OSetWithPart(int columns = 100) {
        RegisterToolAndDataOutputKinds(set);
        set.bResetFeatureNames();
        set.ExtractFeatureNameLanguage(0);
        auto part = std::make_unique<OType_Part>();
        std::vector<int16_t> runs;
        for (int c = 0; c < columns; ++c)
            runs.insert(runs.end(), {20, -60});
        part->SetConturData(std::move(runs));
        part->SetTeachPart(true);
        set.TeachParts().Add(std::move(part));
        set.iShowSetTeachTest(1);
        set.iShowTeachPartNo(0);
    }
    OPropertyContext Context(const ZRINFO* info = nullptr) const { return {&set, info}; }
};

}  // namespace

TEST(ContourToolProperties, EachKindDescribesItsFeatureRegionAndPlacement) {
    OSetWithPart s;
    struct Case {
        std::unique_ptr<OType_ConfigTool_Contour> tool;
        std::vector<int64_t> subKinds;
        std::string subKindLabel;
    };
    std::vector<Case> cases;
    cases.push_back({std::make_unique<OType_ConfigTool_ROI>(), {30}, "Feature"});
    cases.push_back({std::make_unique<OType_ConfigTool_VSTRIP>(), {33}, "Feature"});
    cases.push_back({std::make_unique<OType_ConfigTool_CTOOL>(), {22, 23, 25}, "Feature"});
    cases.push_back(
        {std::make_unique<OType_ConfigTool_MEASURE>(), {34, 36, 38, 40, 41, 45}, "Measurement"});
    cases.push_back({std::make_unique<OType_ConfigTool_Hole>(), {46, 47}, "Feature"});
    cases.push_back({std::make_unique<OType_ConfigTool_ExtSensor>(), {49}, "Feature"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tool->GetKindName());
        const OPropertyList list = c.tool->DescribeProperties(s.Context());
        EXPECT_EQ(Names(list), (std::vector<std::string>{kName, kSubKind, kPlacement, kRegionLeft,
                                                         kRegionRight, kRegionTop, kRegionBottom}));
        const OProperty& subKind = *PL::Find(list, kSubKind);
        EXPECT_EQ(ChoiceValues(subKind), c.subKinds);
        EXPECT_EQ(subKind.label, c.subKindLabel);
        EXPECT_EQ(subKind.readOnly, c.subKinds.size() == 1) << "one sub-kind cannot be changed";
        EXPECT_EQ(subKind.choices.front().text,
                  *s.set.FindFeatureName(static_cast<int>(c.subKinds.front())));
        EXPECT_EQ(ChoiceValues(*PL::Find(list, kPlacement)), (std::vector<int64_t>{1, 2, 3}));
        EXPECT_EQ(PL::Find(list, kRegionTop)->page, kPageRegion);
        EXPECT_EQ(PL::Find(list, kName)->page, kPageGeneral);
    }
    EXPECT_EQ(PL::Find(cases[2].tool->DescribeProperties(s.Context()), kSubKind)->choices[1].text,
              "Contour width");
}

TEST(ContourToolProperties, RegionRowsStayInsideTheDevicesImage) {
    OSetWithPart s;
    ZRINFO info;
    info.SetU16(ZRINFO::kPixels, 256);
    OType_ConfigTool_CTOOL tool;
    tool.SetRegion({10, 0, 49, 200});
    const OPropertyList list = tool.DescribeProperties(s.Context(&info));
    EXPECT_EQ(PL::Find(list, kRegionBottom)->maximum, 255);
    EXPECT_EQ(PL::Find(list, kRegionLeft)->maximum, kMaxRegionColumn);
    EXPECT_EQ(PL::Find(tool.DescribeProperties(s.Context()), kRegionBottom)->maximum, 511)
        << "512 rows without device information";

    tool.SetModifiedFlag(false);
    std::string error;
    EXPECT_FALSE(tool.bApplyProperties({{kRegionBottom, int64_t{256}}, {kName, std::string("x")}},
                                       s.Context(&info), error));
    EXPECT_NE(error.find("255"), std::string::npos) << error;
    EXPECT_EQ(tool.GetRegion(), (ORect{10, 0, 49, 200})) << "a refusal applies nothing";
    EXPECT_EQ(tool.GetName(), "");
    EXPECT_FALSE(tool.iGetModifiedFlag());

    EXPECT_FALSE(tool.bApplyProperties({{kRegionLeft, int64_t{60}}}, s.Context(&info), error))
        << "left beyond right";
    EXPECT_FALSE(tool.bApplyProperties({{kRegionTop, int64_t{-1}}}, s.Context(&info), error));
    ASSERT_TRUE(tool.bApplyProperties({{kRegionTop, int64_t{5}}, {kRegionBottom, int64_t{255}}},
                                      s.Context(&info), error))
        << error;
    EXPECT_EQ(tool.GetRegion(), (ORect{10, 5, 49, 255}));
    EXPECT_TRUE(tool.iGetModifiedFlag());
}

TEST(ContourToolProperties, SubKindChangesTheMeasuredFeature) {
    OSetWithPart s;
    OType_ConfigTool_CTOOL tool;
    tool.SetRegion({10, 0, 29, 100});
    OContourColumns columns;
    columns.Build(s.set.TeachParts().GetAt_NoSort(0)->Contour());
    EXPECT_EQ(tool.Measure(columns, {}).value, 20 * 60) << "contour area under the outline";
    std::string error;
    ASSERT_TRUE(tool.bApplyProperties({{kSubKind, int64_t{23}}}, s.Context(), error)) << error;
    EXPECT_EQ(tool.iGetFeatureType(), 23);
    EXPECT_EQ(tool.Measure(columns, {}).value, 20) << "contour width";
    EXPECT_FALSE(tool.bApplyProperties({{kSubKind, int64_t{30}}}, s.Context(), error))
        << "a sub-kind of another tool";
    EXPECT_EQ(tool.iGetFeatureType(), 23);

    OType_ConfigTool_ROI roi;
    EXPECT_FALSE(roi.bApplyProperties({{kSubKind, int64_t{30}}}, s.Context(), error))
        << "a single sub-kind is read-only";
}

TEST(ContourToolProperties, APlacementChangeKeepsTheRegionOnTheShownPart) {
    OSetWithPart s(100);
    OType_ConfigTool_ROI tool;
    tool.SetRegion({10, 20, 29, 40});
    OContourColumns columns;
    columns.Build(s.set.TeachParts().GetAt_NoSort(0)->Contour());
    const ORect before = tool.GetPlacedRegion(columns);
    std::string error;
    ASSERT_TRUE(tool.bApplyProperties({{kPlacement, int64_t{2}}}, s.Context(), error)) << error;
    EXPECT_EQ(tool.iGetPlacementMode(), 2);
    EXPECT_EQ(tool.GetRegion(), (ORect{70, 20, 89, 40})) << "distances from the last column";
    EXPECT_EQ(tool.GetPlacedRegion(columns), before);

    ASSERT_TRUE(tool.bApplyProperties({{kPlacement, int64_t{3}}}, s.Context(), error));
    EXPECT_EQ(tool.GetRegion(), (ORect{10, 0, 29, 20})) << "rows from the part's lowest row (20)";
    EXPECT_EQ(tool.GetPlacedRegion(columns), before);

    // With region values given as well, they are taken as they stand.
    ASSERT_TRUE(tool.bApplyProperties({{kPlacement, int64_t{1}}, {kRegionTop, int64_t{3}}},
                                      s.Context(), error));
    EXPECT_EQ(tool.GetRegion(), (ORect{10, 3, 29, 20}));

    // Without a shown part the numbers stay.
    OType_ZRPartSet empty;
    OType_ConfigTool_ROI other;
    other.SetRegion({10, 20, 29, 40});
    ASSERT_TRUE(other.bApplyProperties({{kPlacement, int64_t{2}}}, {&empty, nullptr}, error));
    EXPECT_EQ(other.GetRegion(), (ORect{10, 20, 29, 40}));
}

TEST(ContourToolProperties, TheCombinationDescribesItsOperandsAndRefusesCircles) {
    OSetWithPart s;
    OType_ConfigTool* area = s.set.Tools().Add(std::make_unique<OType_ConfigTool_ROI>());
    area->SetName("ROI 1");
    auto* first = static_cast<OType_ConfigTool_Combination*>(
        s.set.Tools().Add(std::make_unique<OType_ConfigTool_Combination>()));
    first->SetName("Math 1");
    auto* second = static_cast<OType_ConfigTool_Combination*>(
        s.set.Tools().Add(std::make_unique<OType_ConfigTool_Combination>()));
    second->SetName("Math 2");

    const OPropertyList list = first->DescribeProperties(s.Context());
    EXPECT_EQ(PL::Find(list, kPlacement), nullptr) << "no region";
    EXPECT_EQ(PL::Find(list, kRegionLeft), nullptr);
    const OProperty& tools = *PL::Find(list, "a.tool");
    EXPECT_EQ(ChoiceValues(tools),
              (std::vector<int64_t>{-1, area->iGetToolId(), second->iGetToolId()}))
        << "every other tool, not the tool itself";
    EXPECT_EQ(tools.choices[1].text, "13. ROI 1");
    const OProperty& basics = *PL::Find(list, "b.basic");
    ASSERT_EQ(basics.choices.size(), 12u);
    EXPECT_EQ(basics.choices[2].text, "3. Area");
    EXPECT_EQ(PL::Find(list, "operation")->page, kPageFunction);

    std::string error;
    EXPECT_FALSE(first->bApplyProperties({{"a.source", int64_t{2}}}, s.Context(), error))
        << "a tool operand needs its tool";
    EXPECT_NE(error.find("Operand A"), std::string::npos);
    ASSERT_TRUE(first->bApplyProperties({{"a.source", int64_t{2}},
                                         {"a.tool", int64_t{second->iGetToolId()}},
                                         {"b.source", int64_t{3}},
                                         {"b.constant", 2.5},
                                         {"operation", int64_t{2}}},
                                        s.Context(), error))
        << error;
    EXPECT_EQ(first->GetOperand(0), OCombinationOperand::Tool(second->iGetToolId()));
    EXPECT_EQ(first->GetOperand(1), OCombinationOperand::Constant(2.5));
    EXPECT_EQ(first->GetOperation(), CombinationOp::Multiply);

    EXPECT_FALSE(second->bApplyProperties(
        {{"b.source", int64_t{2}}, {"b.tool", int64_t{first->iGetToolId()}}}, s.Context(), error))
        << "Math 2 would read Math 1, which reads Math 2";
    EXPECT_NE(error.find("circle"), std::string::npos) << error;
    EXPECT_EQ(second->GetOperand(1), OCombinationOperand());
    ASSERT_TRUE(second->bApplyProperties(
        {{"b.source", int64_t{2}}, {"b.tool", int64_t{area->iGetToolId()}}}, s.Context(), error))
        << error;

    OType_FeatureArray features;
    OType_Feature a;
    a.toolId = second->iGetToolId();
    a.value = 4;
    a.valid = true;
    features.Add(a);
    EXPECT_EQ(first->Measure({}, features).value, 10.0) << "4 * 2.5";
}
