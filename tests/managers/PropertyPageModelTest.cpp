// The property pages' headless side: pages in order, the texts fields start with, and what
// applying collects (edited fields only, parsed and range-checked, nothing on a refusal).
#include <gtest/gtest.h>

#include "managers/OPropertyPageModel.h"

namespace PL = PropertyList;

namespace {

OPropertyList Sample() {
    OPropertyList list = {
        PL::Text("name", "Name", "General", "ROI 1", 8),
        PL::Integer("left", "First column", "Region", 10, 0, 100, "px"),
        PL::Real("gain", "Gain", "General", 0.123456, 0, 10, 2),
        PL::Choice("mode", "Placement", "Region", 2, {{1, "Start"}, {2, "End"}}),
        PL::Flag("on", "Used", "Extra", true),
        PL::Choice("kind", "Feature", "General", 30, {{30, "ROI area"}}),
    };
    list.back().readOnly = true;
    return list;
}

}  // namespace

TEST(PropertyPageModel, PagesAndStartingTexts) {
    const OPropertyPageModel model(Sample());
    EXPECT_EQ(model.PageTitles(), (std::vector<std::string>{"General", "Region", "Extra"}));
    ASSERT_EQ(model.PropertiesOnPage("General").size(), 3u);
    EXPECT_EQ(model.PropertiesOnPage("General")[1]->name, "gain");
    EXPECT_TRUE(model.PropertiesOnPage("Nothing").empty());
    EXPECT_EQ(model.ShownText("name"), "ROI 1");
    EXPECT_EQ(model.ShownText("left"), "10");
    EXPECT_EQ(model.ShownText("gain"), "0.12");
    EXPECT_EQ(model.ShownText("mode"), "2") << "a choice by its number";
    EXPECT_EQ(model.ShownText("on"), "1");
    EXPECT_FALSE(model.bIsEdited());
}

TEST(PropertyPageModel, CollectsOnlyWhatTheUserChanged) {
    OPropertyPageModel model(Sample());
    OPropertyValues values;
    std::string error, failed;
    ASSERT_TRUE(model.bCollect(values, error, failed));
    EXPECT_TRUE(values.empty()) << "a real shown with fewer places is no change";

    model.SetText("left", " 10 ");
    model.SetText("mode", "1");
    model.SetText("on", "0");
    model.SetText("kind", "31");  // read-only: never collected
    ASSERT_TRUE(model.bCollect(values, error, failed)) << error;
    EXPECT_EQ(values, (OPropertyValues{{"mode", int64_t{1}}, {"on", false}}));
    EXPECT_EQ(model.EditedNames(), (std::vector<std::string>{"mode", "on"}));

    model.SetText("name", " ROI 1");
    ASSERT_TRUE(model.bCollect(values, error, failed));
    EXPECT_EQ(values.at("name"), OPropertyValue(std::string(" ROI 1"))) << "blanks count in texts";
}

TEST(PropertyPageModel, ARefusedFieldCollectsNothing) {
    OPropertyPageModel model(Sample());
    model.SetText("mode", "1");
    model.SetText("left", "101");
    OPropertyValues values{{"keep", int64_t{1}}};
    std::string error, failed;
    EXPECT_FALSE(model.bCollect(values, error, failed));
    EXPECT_EQ(failed, "left");
    EXPECT_NE(error.find("First column"), std::string::npos) << error;
    EXPECT_EQ(values.size(), 1u) << "nothing collected";

    model.SetText("left", "abc");
    EXPECT_FALSE(model.bCollect(values, error, failed));
    model.SetText("left", "100");
    model.SetText("name", "too long a name");
    EXPECT_FALSE(model.bCollect(values, error, failed));
    EXPECT_EQ(failed, "name");
    model.SetText("unknown", "1");
    EXPECT_EQ(model.Text("unknown"), "");
}
