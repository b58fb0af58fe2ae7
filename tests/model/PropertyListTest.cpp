#include <gtest/gtest.h>

#include "ModelTestSupport.h"
#include "model/tools/OPropertyList.h"

using namespace modeltest;
namespace PL = PropertyList;

namespace {

OPropertyList SampleList() {
    return {
        PL::Integer("count", "Count", "General", 3, 1, 10),
        PL::Real("gain", "Gain", "General", 0.5, -1.0, 2.0, 2, "x"),
        PL::Text("label", "Label", "General", "abc", 4),
        PL::Choice("mode", "Mode", "General", 2, {{1, "Light"}, {2, "Dark"}}),
        PL::Flag("on", "Switched on", "General", false),
    };
}

OPropertyValue Parsed(const OPropertyList& list, const char* name, const char* text,
                      std::string* error = nullptr) {
    OPropertyValue value;
    std::string e;
    const bool ok = PL::bParse(*PL::Find(list, name), text, value, e);
    if (error) {
        *error = ok ? std::string() : e;
    }
    return ok ? value : OPropertyValue(std::string("<refused>"));
}

}  // namespace

TEST(PropertyList, ParsesEachKindAndRefusesWhatDoesNotFit) {
    const auto list = SampleList();
    EXPECT_EQ(Parsed(list, "count", " 7 "), OPropertyValue(int64_t{7}));
    EXPECT_EQ(Parsed(list, "gain", "1.25"), OPropertyValue(1.25));
    EXPECT_EQ(Parsed(list, "mode", "dark"), OPropertyValue(int64_t{2}));
    EXPECT_EQ(Parsed(list, "mode", "1"), OPropertyValue(int64_t{1}));
    EXPECT_EQ(Parsed(list, "on", "yes"), OPropertyValue(true));
    EXPECT_EQ(Parsed(list, "label", " ab"), OPropertyValue(std::string(" ab")));

    std::string error;
    for (const auto& [name, text] :
         std::vector<std::pair<const char*, const char*>>{{"count", "11"},
                                                          {"count", "2.5"},
                                                          {"count", ""},
                                                          {"count", "7x"},
                                                          {"gain", "2.01"},
                                                          {"gain", "nan"},
                                                          {"gain", "inf"},
                                                          {"gain", "1e400"},
                                                          {"label", "abcde"},
                                                          {"mode", "3"},
                                                          {"mode", "grey"},
                                                          {"on", "maybe"}}) {
        Parsed(list, name, text, &error);
        EXPECT_FALSE(error.empty()) << name << " = \"" << text << "\" was accepted";
    }
}

TEST(PropertyList, ValidatesKindsRangesAndReadOnlyFields) {
    auto list = SampleList();
    std::string error;
    EXPECT_TRUE(PL::bValidate(list[1], OPropertyValue(int64_t{1}), error)) << "integer for a real";
    EXPECT_FALSE(PL::bValidate(list[0], OPropertyValue(1.0), error)) << "real for an integer";
    EXPECT_FALSE(PL::bValidate(list[4], OPropertyValue(int64_t{1}), error));
    list[0].readOnly = true;
    EXPECT_FALSE(PL::bValidate(list[0], OPropertyValue(int64_t{3}), error));
    EXPECT_FALSE(PL::bValidateAll(list, {{"unknown", int64_t{1}}}, error));
    EXPECT_NE(error.find("unknown"), std::string::npos);
}

TEST(PropertyList, MergeChangeDetectionAndDisplay) {
    const auto list = SampleList();
    const auto merged = PL::Merge(list, {{"count", int64_t{9}}});
    EXPECT_EQ(PL::iGet(merged, "count", 0), 9);
    EXPECT_EQ(PL::sGet(merged, "label", ""), "abc");
    EXPECT_TRUE(PL::bAnyChanged(list, {{"gain", int64_t{0}}})) << "0 differs from 0.5";
    EXPECT_FALSE(PL::bAnyChanged(list, {{"count", int64_t{3}}, {"gain", 0.5}}));
    EXPECT_TRUE(PL::bAnyChanged(list, {{"mode", int64_t{1}}}));
    EXPECT_EQ(PL::Display(list[3]), "Dark");
    EXPECT_EQ(PL::Display(list[1]), "0.50");
    EXPECT_EQ(PL::Display(list[4]), "off");
}

TEST(ToolProperties, ApplyIsAllOrNothingAndSetsTheModifiedFlag) {
    OTestTool tool;
    tool.SetName("A");
    tool.SetRegion({10, 20, 30, 40});
    tool.SetModifiedFlag(false);
    std::string error;

    // The second value is out of order with the first: nothing may change.
    EXPECT_FALSE(tool.bApplyProperties({{"name", std::string("B")}, {"region.right", int64_t{5}}},
                                       {}, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(tool.GetName(), "A");
    EXPECT_EQ(tool.GetRegion(), (ORect{10, 20, 30, 40}));
    EXPECT_FALSE(tool.iGetModifiedFlag());

    EXPECT_TRUE(tool.bApplyProperties({{"name", std::string("A")}}, {}, error));
    EXPECT_FALSE(tool.iGetModifiedFlag()) << "applying the same values changes nothing";

    EXPECT_TRUE(tool.bApplyProperties(
        {{"name", std::string("B")}, {"region.left", int64_t{0}}, {"region.bottom", int64_t{99}}},
        {}, error))
        << error;
    EXPECT_EQ(tool.GetName(), "B");
    EXPECT_EQ(tool.GetRegion(), (ORect{0, 20, 30, 99}));
    EXPECT_TRUE(tool.iGetModifiedFlag());
}
