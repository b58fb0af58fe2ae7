// The project wizard's rules: name and path following each other, the stable-parts rule that
// moves recording on, the transfer targets, the part-data numbers of a sorting target and
// the length-priority task's factor and variation.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>

#include "model/device/ZRINFO.h"
#include "model/partset/OType_ZRPartSet.h"
#include "support/TempDir.h"
#include "wizards/ProjectWizardRules.h"

using namespace ProjectWizardRules;

TEST(ProjectWizardRules, TheNameRewritesTheFileNameAndTheExtensionIsAppended) {
    EXPECT_EQ(PathWithName("/data/projects/old.zrp", "bolt"), "/data/projects/bolt.zrp");
    EXPECT_EQ(PathWithName("/data/projects/old.zrp", "bolt.ZRP"), "/data/projects/bolt.ZRP");
    EXPECT_EQ(PathWithName("", "bolt"), "bolt.zrp");
    // A dotted name keeps its dots; only the project extension is recognised.
    EXPECT_EQ(PathWithName("/p/x.zrp", "m6.v2"), "/p/m6.v2.zrp");
    // Clearing the name leaves the folder, which is not yet a project file.
    EXPECT_EQ(PathWithName("/p/x.zrp", ""), "/p");
}

TEST(ProjectWizardRules, ThePathGivesTheNameWithoutTheExtension) {
    EXPECT_EQ(NameOfPath("/data/projects/bolt.zrp"), "bolt");
    EXPECT_EQ(NameOfPath("/data/projects/BOLT.ZRP"), "BOLT");
    EXPECT_EQ(NameOfPath("/data/projects/bolt.txt"), "bolt.txt");
    EXPECT_EQ(NameOfPath("/data/projects/"), "");
    EXPECT_TRUE(bIsProjectFileName("a/b.ZRP"));
    EXPECT_FALSE(bIsProjectFileName("a/b.zrpx"));
    EXPECT_FALSE(bIsProjectFileName("rp"));
}

TEST(ProjectWizardRules, APathIsValidOnlyWithAFileNameInAnExistingFolder) {
    TempDir dir;
    const std::filesystem::path root(dir.Path());
    EXPECT_TRUE(bIsValidPath((root / "new.zrp").string()));
    EXPECT_FALSE(bIsValidPath((root / "missing" / "new.zrp").string()));
    EXPECT_FALSE(bIsValidPath(root.string())) << "a folder is not a file";
    EXPECT_FALSE(bIsValidPath(""));
}

TEST(ProjectWizardRules, StableResultsNeedTenPartsWithOptimisationAndFiveWithout) {
    const std::vector<double> five = {50, 52, 49, 51, 50};
    EXPECT_TRUE(bStableResults(five, false));
    EXPECT_FALSE(bStableResults(five, true));
    EXPECT_FALSE(bStableResults({50, 52, 49, 51}, false));
    std::vector<double> ten(10, 40.0);
    EXPECT_TRUE(bStableResults(ten, true));
}

TEST(ProjectWizardRules, OnlyTheLastFiveValuesDecideWithDecreasingDivisors) {
    // Last value 10: the limit is 1. 16 five places back counts a fifth: 6 / 5 = 1.2.
    EXPECT_FALSE(bStableResults({16, 10, 10, 10, 10}, false));
    EXPECT_TRUE(bStableResults({15, 10, 10, 10, 10}, false));  // 5 / 5 = 1
    // Right before the last the divisor is 2: 12 is at the limit, 12.5 beyond it.
    EXPECT_TRUE(bStableResults({10, 10, 10, 12, 10}, false));
    EXPECT_FALSE(bStableResults({10, 10, 10, 12.5, 10}, false));
    // Older values play no part.
    EXPECT_TRUE(bStableResults({1000, -50, 10, 10, 10, 10, 10}, false));
    // A last value of 0 only passes when the others equal it.
    EXPECT_FALSE(bStableResults({0, 0, 0, 1, 0}, false));
    EXPECT_TRUE(bStableResults({0, 0, 0, 0, 0}, false));
}

TEST(ProjectWizardRules, SortingTargetsGroupTheTypesOfOneProgram) {
    EXPECT_EQ(iTransferTargets(16, 4, true), 4);
    EXPECT_EQ(iTransferTargets(18, 4, true), 4) << "an incomplete group is no target";
    EXPECT_EQ(iTransferTargets(16, 4, false), 16);
    EXPECT_EQ(iTransferTargets(16, 0, true), 0);
    EXPECT_EQ(TransferNumbers(2, 16, 4, true), (std::vector<int>{5, 6, 7, 8}));
    EXPECT_EQ(TransferNumbers(1, 16, 4, true), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(TransferNumbers(3, 10, 4, true), (std::vector<int>{9, 10}))
        << "numbers beyond the device's part types are left out";
    EXPECT_EQ(TransferNumbers(7, 16, 4, false), (std::vector<int>{7}));
}

TEST(ProjectWizardRules, TheEncoderIsBitZeroOfByte157) {
    ZRINFO info;
    info.SetU8(157, 0xFE);
    EXPECT_FALSE(bHasEncoder(info));
    info.SetU8(157, 0x01);
    EXPECT_TRUE(bHasEncoder(info));
}

namespace {

// A type whose orientations hold the length statistics (minimum, mean, maximum) given.
void AddType(OType_ZRPartSet& set, const std::vector<std::array<double, 3>>& lengths) {
    OType_ZRPartSet_SubType* type = set.opAddSubType();
    type->SetNumOrientations(static_cast<int>(lengths.size()));
    for (const auto& [minimum, mean, maximum] : lengths) {
        OType_VectorArray& vectors = type->Vectors().Add();
        OType_Vector length;
        length.minimum = minimum;
        length.mean = mean;
        length.maximum = maximum;
        vectors.Add(length);
        vectors.Add(OType_Vector{});  // a second feature, left alone
    }
}

}  // namespace

TEST(ProjectWizardRules, TheLengthFactorIsSetInEveryOrientationOfEveryType) {
    OType_ZRPartSet set;
    EXPECT_FALSE(bSetLengthFactor(set, kLengthFactor)) << "no Teach-Data, nothing changed";
    AddType(set, {{90, 100, 110}, {45, 50, 55}});
    AddType(set, {{200, 200, 200}});
    set.opGetSubType(1)->SetNumOrientations(2);  // an orientation without vectors

    EXPECT_TRUE(bSetLengthFactor(set, kLengthFactor));
    for (int t = 0; t < 2; ++t) {
        const auto& vectors = set.opGetSubType(t)->Vectors();
        for (int o = 0; o < vectors.iGetNum(); ++o) {
            EXPECT_DOUBLE_EQ(vectors.opGetAt(o)->At(0).factor, 0.1) << t << "/" << o;
            EXPECT_DOUBLE_EQ(vectors.opGetAt(o)->At(1).factor, 1.0) << "only the length";
        }
    }
    EXPECT_FALSE(bSetLengthFactor(set, kLengthFactor)) << "a second time changes nothing";
    set.opGetSubType(0)->Vectors().opGetAt(1)->At(0).factor = static_cast<float>(kLengthFactor);
    EXPECT_FALSE(bSetLengthFactor(set, kLengthFactor)) << "the float the classifier keeps counts";
}

TEST(ProjectWizardRules, LengthVariationIsTheSpreadOverTheMeanPerOrientation) {
    OType_ZRPartSet set;
    AddType(set, {{90, 100, 110}, {45, 50, 55.4}, {0, 0, 0}, {-5, -1, 3}});
    const std::vector<OLengthVariation> v = LengthVariations(set);
    ASSERT_EQ(v.size(), 2u) << "orientations without a positive mean are left out";
    EXPECT_EQ(v[0].orientation, 1);
    EXPECT_EQ(v[0].percent, 20);
    EXPECT_EQ(v[1].orientation, 2);
    EXPECT_EQ(v[1].percent, 21) << "10.4 / 50 rounds to 21 %";
}
