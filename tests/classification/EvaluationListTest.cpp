// The evaluation list of both families and the evaluation dialogs.
#include <gtest/gtest.h>

#include "TestClassifierHost.h"
#include "classification/EvaluationRating.h"
#include "classification/OClass_ConfV12.h"
#include "classification/OClass_KVT.h"
#include "classification/ODlg_Classifier_TD_Evalute.h"

using namespace TestParts;

namespace {

OEvaluationRow Row(int icon, std::string text, int command) {
    const bool indent = icon == 6;
    return {icon, indent ? "  " + text : text, command, indent};
}

std::string Dump(const std::vector<OEvaluationRow>& rows) {
    std::string out;
    for (const auto& r : rows)
        out += std::to_string(r.icon) + " [" + r.text + "] " + std::to_string(r.command) + "\n";
    return out;
}

class EvaluationListTest : public ::testing::Test {
  protected:
    std::vector<OEvaluationRow> Build() {
        classifier.TeachFromParts(host.partSet);
        std::vector<OEvaluationRow> rows;
        classifier.BuildEvaluationList(rows);
        return rows;
    }
    OTestClassifierHost host;
    OClass_ConfV12 classifier{host};
};

TEST_F(EvaluationListTest, OneTypeWithOneOrientationHasNoSeparationRows) {
    host.SetDevice(1, 818);  // a kind without part types
    AddTypes(host.partSet, 1, 5);
    for (int i = 0; i < 3; ++i)
        AddTeach(host.partSet, 1, 1, {10.0 + i});
    const std::vector<OEvaluationRow> expected = {
        Row(4, "Used tools: 0", 0),
        Row(1, "Orient. 1: 3 parts were used.", 32883),
        Row(4, "Teached Orientations: 1", 0),
        Row(3, "Creation of teach data", 32861),
    };
    const auto rows = Build();
    EXPECT_EQ(rows, expected) << Dump(rows);
}

TEST_F(EvaluationListTest, OverlappingOrientationsAreNotSeparableAndAdvised) {
    host.SetDevice(1, 818);
    AddTypes(host.partSet, 1, 5);
    AddTeach(host.partSet, 1, 1, {10.0});
    AddTeach(host.partSet, 1, 1, {12.0});
    AddTeach(host.partSet, 1, 2, {11.0});
    AddTeach(host.partSet, 1, 2, {13.0});
    const std::vector<OEvaluationRow> expected = {
        Row(4, "Used tools: 0", 0),
        Row(0, "Orient. 1: 2 parts were used.", 32883),
        Row(0, "Orient. 2: 2 parts were used.", 32883),
        Row(4, "Teached Orientations: 2", 0),
        Row(0, "Separation of Orient. 1 from Orient. 2 is not possible !!", 32861),
        Row(6, "Check sample parts for correct orientation assignment.", 32862),
        Row(6, "Add tools to improove the orientation detection", 32860),
        Row(0, "Creation of teach data", 32861),
    };
    const auto rows = Build();
    EXPECT_EQ(classifier.GetTeachError(), 20);
    EXPECT_EQ(rows, expected) << Dump(rows);
    EXPECT_TRUE(rows[5].indent);
}

TEST_F(EvaluationListTest, SeparationBoundariesRateUpwards) {
    // (b - a) / (a + b) is exactly 0.05, 0.10 and 0.15.
    const struct {
        double a, b;
        const char* word;
        int icon;
    } cases[] = {{95, 105, "acceptable", 2}, {90, 110, "good", 3}, {85, 115, "very good", 4}};
    for (const auto& c : cases) {
        OTestClassifierHost h;
        h.SetDevice(1, 818);
        AddTypes(h.partSet, 1, 5);
        AddTeach(h.partSet, 1, 1, {c.a});
        AddTeach(h.partSet, 1, 2, {c.b});
        OClass_ConfV12 engine(h);
        engine.TeachFromParts(h.partSet);
        std::vector<OEvaluationRow> rows;
        engine.BuildEvaluationList(rows);
        ASSERT_GE(rows.size(), 5u);
        EXPECT_EQ(
            rows[4],
            Row(c.icon, std::string("Separation of Orient. 1 from Orient. 2 is ") + c.word, 32861))
            << Dump(rows);
        const bool advised = c.icon < 3;
        EXPECT_EQ(rows.size(), advised ? 8u : 6u) << Dump(rows);
        EXPECT_EQ(rows.back().icon, std::min(c.icon, 3));
    }
}

TEST_F(EvaluationListTest, RatingTable) {
    using namespace EvaluationRating;
    EXPECT_EQ(iRating(-0.001), 0);
    EXPECT_EQ(iRating(0.0), 1);
    EXPECT_EQ(iRating(4.999), 1);
    EXPECT_EQ(iRating(5.0), 2);
    EXPECT_EQ(iRating(10.0), 3);
    EXPECT_EQ(iRating(15.0), 4);
    EXPECT_EQ(RatingText(0), "not possible !!");
    EXPECT_EQ(RatingText(1), "bad !");
    EXPECT_EQ(iPartCountIcon(2), 0);
    EXPECT_EQ(iPartCountIcon(3), 1);
    EXPECT_EQ(iPartCountIcon(5), 1);
    EXPECT_EQ(iPartCountIcon(6), 2);
    EXPECT_EQ(iPartCountIcon(9), 2);
    EXPECT_EQ(iPartCountIcon(10), 3);
}

TEST_F(EvaluationListTest, InseparableTypesGiveE21RowsAndAdvice) {
    host.SetDevice(2, 818);
    AddTypes(host.partSet, 2, 5);
    AddTeach(host.partSet, 1, 1, {10.0});
    AddTeach(host.partSet, 1, 1, {12.0});
    AddTeach(host.partSet, 2, 1, {11.0});
    AddTeach(host.partSet, 2, 1, {13.0});
    const std::vector<OEvaluationRow> expected = {
        Row(4, "Used tools: 0", 0),
        Row(0, "Type 1, Orient. 1: 2 parts were used.", 32883),
        Row(4, "Part type 1:", 32883),
        Row(4, "Teached Orientations: 1", 0),
        Row(3, "Creation of teach data", 32861),
        Row(0, "Type 2, Orient. 1: 2 parts were used.", 32883),
        Row(4, "Part type 2:", 32883),
        Row(4, "Teached Orientations: 1", 0),
        Row(3, "Creation of teach data", 32861),
        Row(4, "Separation of the part types", 0),
        Row(0, "[E21] - The differnt types can not be clearly separated.", 32861),
        Row(0, "Separation of type 1, orient. 1 to type 2, orient. 1 is not possible !!", 32861),
        Row(6, "Add tools to improove the type separation.", 32860),
    };
    const auto rows = Build();
    EXPECT_EQ(classifier.GetTeachError(), 21);
    EXPECT_EQ(rows, expected) << Dump(rows);
}

TEST_F(EvaluationListTest, WithoutOrientationsTypesAreComparedOnTheirFirstOrientation) {
    host.SetDevice(2, 818);
    host.properties.useOrientation = 0;
    AddTypes(host.partSet, 2, 5);
    AddTeach(host.partSet, 1, 1, {10.0});
    AddTeach(host.partSet, 2, 1, {100.0});
    const std::vector<OEvaluationRow> expected = {
        Row(4, "Used tools: 0", 0),
        Row(0, "Type 1: 1 parts were used.", 32883),
        Row(4, "Part type 1:", 32883),
        Row(3, "Creation of teach data", 32861),
        Row(0, "Type 2: 1 parts were used.", 32883),
        Row(4, "Part type 2:", 32883),
        Row(3, "Creation of teach data", 32861),
        Row(4, "Separation of the part types", 0),
        Row(3, "Separation of type 1 to type 2 is very good", 32861),
    };
    const auto rows = Build();
    EXPECT_EQ(rows, expected) << Dump(rows);
}

TEST_F(EvaluationListTest, WithoutTypeDetectionOnlyTheFirstTypeIsEvaluated) {
    host.properties.useTypes = 0;
    AddTypes(host.partSet, 2, 5);
    AddTeach(host.partSet, 1, 1, {10.0});
    ODlg_Classifier_Conf12_TD_Evalute dialog(classifier);
    classifier.TeachFromParts(host.partSet);
    dialog.OnInitDialog();
    const std::vector<OEvaluationRow> expected = {
        Row(4, "Used tools: 0", 0),
        Row(0, "Orient. 1: 1 parts were used.", 32883),
        Row(4, "Teached Orientations: 1", 0),
        Row(3, "Creation of teach data", 32861),
    };
    EXPECT_EQ(dialog.Rows(), expected) << Dump(dialog.Rows());
    EXPECT_EQ(dialog.DialogName(), "ODlg_Classifier_Conf12_TD_Evalute");
    EXPECT_EQ(dialog.iGetTemplate(), 160);
}

TEST_F(EvaluationListTest, NothingIsListedWithoutAShownPartType) {
    ODlg_Classifier_Conf12_TD_Evalute dialog(classifier);
    dialog.OnInitDialog();
    EXPECT_TRUE(dialog.Rows().empty());
    std::vector<OEvaluationRow> rows = {Row(1, "kept", 0)};
    host.hasPartSet = false;
    classifier.BuildEvaluationList(rows);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].text, "kept");
}

TEST_F(EvaluationListTest, SingleOrientationWithoutPartsGetsNoRows) {
    AddTypes(host.partSet, 1, 5);
    AddTeach(host.partSet, 1, 0, {10.0});  // unassigned
    const auto rows = Build();
    // Only the tool row and the part type heading block of the device's type separation.
    for (const auto& row : rows)
        EXPECT_EQ(row.text.find("parts were used"), std::string::npos) << Dump(rows);
    EXPECT_EQ(rows.front().text, "Used tools: 0");
}

TEST(EvaluationListFamily2, UsedFeaturesFollowUsedTools) {
    OTestClassifierHost host;
    host.SetDevice(7, 818);
    host.fixedFeatures = 0;
    host.toolCapacity = 256;
    host.partSet.SetFixedFeatures(0);
    AddTypes(host.partSet, 1, 5);
    host.partSet.Tools().Add(std::make_unique<OTestTool>(nullptr, 3));
    host.partSet.Tools().Add(std::make_unique<OTestTool>(nullptr, 2));
    AddTeach(host.partSet, 1, 1, {1, 2, 3, 4, 5});
    OClass_KVT classifier(host);
    classifier.TeachFromParts(host.partSet);
    ODlg_Classifier_KVT_TD_Evalute dialog(classifier);
    dialog.OnInitDialog();
    const auto& rows = dialog.Rows();
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(rows[0].text, "Used tools: 2");
    EXPECT_EQ(rows[1], Row(4, "Used features: 5", 0));
    EXPECT_EQ(rows[2].text, "Type 1, Orient. 1: 1 parts were used.");
    EXPECT_EQ(dialog.iGetTemplate(), 323);
    EXPECT_EQ(ODlg_Classifier_TD_Evaluation::Title(), "Properties / evaluation of the Teach-Data:");
}

}  // namespace
