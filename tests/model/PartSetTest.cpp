#include <gtest/gtest.h>

#include "ModelTestSupport.h"
#include "PartSetSamples.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/stream/ObjectIds.h"

using namespace modeltest;

namespace {

class PartSetTest : public ::testing::Test {
  protected:
    void SetUp() override { FillSamplePartSet(sample); }

    // A decoded copy of `bytes` with the test kinds registered.
    static std::unique_ptr<OType_ZRPartSet> Decoded(const Bytes& bytes) {
        auto ps = std::make_unique<OType_ZRPartSet>();
        RegisterTestKinds(*ps);
        EXPECT_EQ(ps->iDecode(bytes), 1);
        return ps;
    }

    OType_ZRPartSet sample;
};

TEST_F(PartSetTest, RoundTripWithPartsAndImages) {
    const Bytes bytes = sample.Encode();
    const auto back = Decoded(bytes);
    EXPECT_EQ(back->Encode(), bytes);
    EXPECT_EQ(back->GetName(), "Check program 1");
    EXPECT_EQ(back->iGetTimeStamp(), 1700000000);
    EXPECT_EQ(back->GetCompatibleFirmwareMax(), "4.9.9.9");
    EXPECT_EQ(back->iGetFilterLimit2(), -7);
    EXPECT_EQ(back->dGetZCoordinate(), 12.5);
    EXPECT_FALSE(back->bIsFeatureEnabled(13));
    EXPECT_EQ(*back->FindFeatureName(3), "Länge");
    EXPECT_EQ(back->DefaultReferences().iGetAt(2), 14);
    ASSERT_EQ(back->iGetNum_SubTypes(), 3);
    EXPECT_EQ(back->opGetSubType(2)->Vectors().opGetAt(2)->At(0).mean, 32.0);
    ASSERT_EQ(back->TeachParts().iGetSize(), 4);
    ASSERT_EQ(back->TestParts().iGetSize(), 3);
    EXPECT_EQ(*back->TestParts().GetAt_NoSort(2), *sample.TestParts().GetAt_NoSort(2));
    EXPECT_EQ(back->TestParts().GetAt(0)->iGetNumImages(), 1);
    ASSERT_EQ(back->Tools().iGetNum(), 3);
    EXPECT_NE(dynamic_cast<OTestTool*>(back->Tools().opGetAt(1)), nullptr);
    EXPECT_NE(dynamic_cast<OType_ConfigTool_Opaque*>(back->Tools().opGetAt(2)), nullptr);
    EXPECT_EQ(back->iGetNumOfFeatures(), 12 + 1 + 3 + 1);
    EXPECT_EQ(back->DataOutputs().iGetNum(), 2);
    EXPECT_EQ(back->iShowGetTeachTest(), 0);
    EXPECT_EQ(back->iShowTeachPartGetNo(), 2);
    EXPECT_EQ(back->iShowTestPartGetNo(), 1);
    EXPECT_EQ(back->iShowSubTypeGetNo(), 2);
    EXPECT_EQ(back->iShowVectorGetNo(), 1);
    EXPECT_EQ(back->iShowFeatureGetNo(), 14);
    EXPECT_EQ(back->iShowToolGetNo(), 1);
    EXPECT_EQ(back->iShowDataOutputGetNo(), 1);
    EXPECT_FALSE(back->UndoRedo().bHasUndoData()) << "the history starts at the decoded state";
}

TEST_F(PartSetTest, RoundTripWithoutImagesOrParts) {
    const Bytes noImages = sample.Encode(1, 0);
    const auto back = Decoded(noImages);
    EXPECT_EQ(back->Encode(1, 0), noImages);
    ASSERT_EQ(back->TestParts().iGetSize(), 3);
    EXPECT_EQ(back->TestParts().GetAt(0)->iGetNumImages(), 0);
    EXPECT_EQ(back->TestParts().GetAt(0)->iGetConturDataSize(), 6);
    EXPECT_EQ(back->TestParts().GetAt(0)->Features().iGetNumOfFeatures(), 16);
    EXPECT_LT(noImages.size(), sample.Encode().size());

    const Bytes noParts = sample.Encode(0, 1);
    const auto bare = Decoded(noParts);
    OType_ZRPartSet expected;
    expected.CopyContentFrom(sample);
    expected.TeachParts().RemoveAll();
    expected.TestParts().RemoveAll();
    expected.iShowTeachPartNo(0);  // the shown parts are clamped to the empty lists
    expected.iShowTestPartNo(0);
    EXPECT_EQ(bare->Encode(0, 1), expected.Encode(0, 1));
    EXPECT_FALSE(bare->bHasPartData());
    EXPECT_EQ(bare->Tools().iGetNum(), 3);
    EXPECT_EQ(bare->iGetNum_SubTypes(), 3);
    EXPECT_EQ(bare->opGetShowPart(), nullptr);
}

TEST_F(PartSetTest, EmptyPartSetRoundTrips) {
    const OType_ZRPartSet empty;
    const Bytes bytes = empty.Encode();
    const auto back = Decoded(bytes);
    EXPECT_EQ(back->Encode(), bytes);
    EXPECT_EQ(back->FeatureNames(), empty.FeatureNames());
}

TEST_F(PartSetTest, UnregisteredKindsAreWrittenBackUnchanged) {
    const Bytes bytes = sample.Encode();
    OType_ZRPartSet plain;  // knows no tool or output kind
    ASSERT_EQ(plain.iDecode(bytes), 1);
    for (const auto& t : plain.Tools())
        EXPECT_NE(dynamic_cast<const OType_ConfigTool_Opaque*>(t.get()), nullptr);
    EXPECT_NE(dynamic_cast<const OType_DeviceDataIO_Opaque*>(plain.DataOutputs().opGetAt(0)),
              nullptr);
    EXPECT_EQ(plain.Encode(), bytes);
}

TEST_F(PartSetTest, NewerEncodingKeepsItsExtraBytes) {
    const Bytes newer = WithExtraPayload(sample.Encode(), FutureFields());
    const auto back = Decoded(newer);
    EXPECT_EQ(back->GetName(), "Check program 1");
    EXPECT_EQ(back->Encode(), newer);
    OType_ZRPartSet copy;
    copy.CopyContentFrom(*back);
    EXPECT_EQ(copy.Encode(), newer);
}

TEST_F(PartSetTest, CopyContentLeavesHistoryAndKindsAlone) {
    OType_ZRPartSet copy;
    copy.CopyContentFrom(sample);
    EXPECT_EQ(copy.Encode(), sample.Encode());
    EXPECT_TRUE(copy.ToolPrototypes().Kinds().empty());
    EXPECT_FALSE(copy.UndoRedo().bHasUndoData());
    copy.TeachParts().GetAt(0)->SetComment("edited");
    copy.Tools().opGetAt(0)->SetName("edited");
    EXPECT_EQ(sample.TeachParts().GetAt(0)->GetComment(), "part 1");
    EXPECT_EQ(sample.Tools().opGetAt(0)->GetName(), "");
}

// Offset of the shown feature in the encoding of the sample set.
size_t ShownFeatureOffset(const OType_ZRPartSet& ps) {
    size_t at = 8 + 4;  // header, flags
    at += 4 + ps.GetName().size() + 8 + 4;
    at += 4 + ps.GetCompatibleFirmwareMin().size() + 4 + ps.GetCompatibleFirmwareMax().size();
    at += 4 * 4 + 1 + 8;  // fixed features, filter mode and limits, switch, z
    at += 4 + 14;         // disabled-feature flags up to feature 13
    at += 1 + 4 + 4;      // teach/test, shown teach and test part
    return at;
}

TEST_F(PartSetTest, StoredShowStateIsClampedOnReading) {
    Bytes bytes = sample.Encode();
    const size_t featureAt = ShownFeatureOffset(sample);
    ASSERT_EQ(U32At(bytes, featureAt), 14u);
    ASSERT_EQ(U32At(bytes, featureAt + 4), 1u);
    SetU32At(bytes, featureAt, 1000);                           // feature
    SetU32At(bytes, featureAt + 4, static_cast<uint32_t>(-7));  // tool
    SetU32At(bytes, featureAt + 8, 50);                         // vector
    SetU32At(bytes, featureAt + 12, 50);                        // sub type
    SetU32At(bytes, featureAt - 4, static_cast<uint32_t>(-5));  // test part
    SetU32At(bytes, featureAt - 8, 99);                         // teach part
    const auto back = Decoded(bytes);
    EXPECT_EQ(back->iShowFeatureGetNo(), 16);
    EXPECT_EQ(back->iShowToolGetNo(), 0);
    EXPECT_EQ(back->iShowSubTypeGetNo(), 2);
    EXPECT_EQ(back->iShowVectorGetNo(), 2);
    EXPECT_EQ(back->iShowTestPartGetNo(), 0);
    EXPECT_EQ(back->iShowTeachPartGetNo(), 3);
}

TEST_F(PartSetTest, MalformedInputLeavesAnEmptyUsablePartSet) {
    const Bytes valid = sample.Encode();
    const Bytes emptyEncoding = OType_ZRPartSet().Encode();
    auto refused = [&](const Bytes& b) {
        OType_ZRPartSet ps;
        FillSamplePartSet(ps);
        if (ps.iDecode(b) != 0 || ps.Encode() != emptyEncoding) return false;
        return ps.iDecode(valid) == 1 && ps.Encode() == valid;  // still usable
    };
    Bytes b = valid;
    SetU32At(b, 4, ObjectId::kPartSetArray);
    EXPECT_TRUE(refused(b)) << "wrong id";
    const size_t fixedAt = 8 + 4 + 4 + sample.GetName().size() + 8 + 4 + 4 + 7 + 4 + 7;
    ASSERT_EQ(U32At(b, fixedAt), 12u);
    b = valid;
    SetU32At(b, fixedAt, 65);
    EXPECT_TRUE(refused(b)) << "too many basic features";
    b = valid;
    SetU32At(b, fixedAt + 4 * 4 + 1 + 8, OType_ZRPartSet::kMaxFeatureFlags + 1);
    EXPECT_TRUE(refused(b)) << "too many feature flags";
    const size_t firstSubType = FindU32(valid, ObjectId::kSubType);
    ASSERT_NE(firstSubType, std::string::npos);
    b = valid;
    SetU32At(b, firstSubType - 8, OType_ZRPartSet::kMaxSubTypes + 1);
    EXPECT_TRUE(refused(b)) << "too many part types";
    b = valid;
    SetU32At(b, firstSubType - 8, 0xFFFFFFFFu);
    EXPECT_TRUE(refused(b)) << "part type count beyond the data";

    ExpectBadInputHandled(
        valid,
        [] {
            auto ps = std::make_unique<OType_ZRPartSet>();
            FillSamplePartSet(*ps);
            return ps;
        },
        [](OType_ZRPartSet& ps, OByteStream& s) { return ps.iDecode(s); },
        [](const OType_ZRPartSet& ps) { return ps.Encode(); }, emptyEncoding);
}

TEST_F(PartSetTest, FeatureEnableFlags) {
    OType_ZRPartSet ps;
    EXPECT_TRUE(ps.bIsFeatureEnabled(0));
    EXPECT_TRUE(ps.bIsFeatureEnabled(4095));
    EXPECT_FALSE(ps.bIsFeatureEnabled(-1));
    EXPECT_FALSE(ps.bIsFeatureEnabled(4096));
    EXPECT_EQ(ps.SetFeatureEnable(-1, 1), -1);
    EXPECT_EQ(ps.SetFeatureEnable(4096, 0), -1);

    EXPECT_EQ(ps.SetFeatureEnable(20, 0), 0);
    EXPECT_FALSE(ps.bIsFeatureEnabled(20));
    EXPECT_TRUE(ps.bIsFeatureEnabled(19));
    EXPECT_TRUE(ps.bIsFeatureEnabled(21));
    EXPECT_EQ(ps.SetFeatureEnable(20, -1), 1) << "toggle";
    EXPECT_TRUE(ps.bIsFeatureEnabled(20));
    EXPECT_EQ(ps.SetFeatureEnable(20, -1), 0);
    EXPECT_EQ(ps.SetFeatureEnable(20, 7), 1) << "any non-zero state enables";
    EXPECT_EQ(ps.SetFeatureEnable(300, -1), 0) << "toggling an untouched feature disables it";
    EXPECT_FALSE(ps.bIsFeatureEnabled(300));
    EXPECT_EQ(ps.SetFeatureEnable(4095, 1), 1);
    EXPECT_TRUE(ps.bIsFeatureEnabled(4095));
}

TEST_F(PartSetTest, FeatureNameTable) {
    OType_ZRPartSet ps;
    ASSERT_NE(ps.FindFeatureName(4), nullptr);
    EXPECT_EQ(*ps.FindFeatureName(4), "Height|Höhe");
    EXPECT_EQ(ps.FindFeatureName(10), nullptr);
    EXPECT_EQ(ps.GetFeatureNameOrDash(10), "--");
    EXPECT_EQ(ps.GetFeatureNameOrDash(-1), "--");
    EXPECT_TRUE(ps.bSetFeatureName(4, "Tall|Hoch"));
    EXPECT_EQ(ps.GetFeatureNameOrDash(4), "Tall|Hoch");
    const size_t entries = ps.FeatureNames().size();
    ps.bSetFeatureName(200, "New");
    EXPECT_EQ(ps.FeatureNames().size(), entries + 1);
    ps.bSetFeatureName(201, "A||C");
    ps.bSetFeatureName(202, "Only English");

    ps.ExtractFeatureNameLanguage(1);
    EXPECT_EQ(ps.GetFeatureNameOrDash(4), "Hoch");
    EXPECT_EQ(ps.GetFeatureNameOrDash(0), "Fläche");
    EXPECT_EQ(ps.GetFeatureNameOrDash(201), "A")
        << "an empty text falls back to the first language";
    EXPECT_EQ(ps.GetFeatureNameOrDash(202), "Only English");
    ps.ExtractFeatureNameLanguage(1);
    EXPECT_EQ(ps.GetFeatureNameOrDash(4), "Hoch") << "a second pass changes nothing";

    ps.bResetFeatureNames();
    EXPECT_EQ(ps.GetFeatureNameOrDash(4), "Height|Höhe");
    EXPECT_EQ(ps.FindFeatureName(200), nullptr);
    ps.ExtractFeatureNameLanguage(0);
    EXPECT_EQ(ps.GetFeatureNameOrDash(3), "Length");
    ps.bResetFeatureNames();
    ps.ExtractFeatureNameLanguage(7);
    EXPECT_EQ(ps.GetFeatureNameOrDash(3), "Length") << "an unknown language takes the first";
    ps.bResetFeatureNames();
    ps.ExtractFeatureNameLanguage(-1);
    EXPECT_EQ(ps.GetFeatureNameOrDash(12), "Edges");
}

TEST_F(PartSetTest, ShownPartNumbersClampToTheirLists) {
    OType_ZRPartSet ps;
    EXPECT_EQ(ps.iShowTeachPartNo(5), 0) << "empty list";
    EXPECT_EQ(ps.iShowTeachPartNo(-1, 1), -1) << "mode 1 accepts no part";
    EXPECT_EQ(ps.iShowTeachPartNo(-1), 0);
    EXPECT_EQ(ps.iShowTeachPartNo(-2, 1), 0) << "only -1 means none";
    EXPECT_EQ(ps.opGetShowPart(), nullptr);
    EXPECT_EQ(ps.iShowTestPartNo(3), 0);
    EXPECT_EQ(ps.iShowTestPartNo(-1, 1), -1);
    EXPECT_EQ(ps.iShowTestPartPrev(), 0);

    ps.TeachParts().Add(OType_Part());
    EXPECT_EQ(ps.iShowTeachPartNo(1), 0) << "one part";
    EXPECT_EQ(ps.iShowTeachPartNext(), 0);
    EXPECT_EQ(ps.iShowTeachPartPrev(), 0);
    for (int i = 0; i < 4; ++i)
        ps.TeachParts().Add(OType_Part());
    EXPECT_EQ(ps.iShowTeachPartNo(99), 4);
    EXPECT_EQ(ps.iShowTeachPartNext(), 4);
    EXPECT_EQ(ps.iShowTeachPartPrev(), 3);
    EXPECT_EQ(ps.iShowTeachPartNo(-30), 0);
    EXPECT_EQ(ps.iShowTeachPartPrev(), 0);
    EXPECT_EQ(ps.iShowTeachPartNext(), 1);
    EXPECT_EQ(ps.iShowTeachPartNo(-1, 1), -1);
    EXPECT_EQ(ps.iShowTeachPartGetNo(), -1);
    EXPECT_EQ(ps.opGetShowPart(), nullptr);
}

TEST_F(PartSetTest, ShownPartFollowsTeachTestAndSortOrder) {
    OType_ZRPartSet& ps = sample;
    EXPECT_EQ(ps.iShowSetTeachTest(7), 1);
    EXPECT_EQ(ps.iShowSetTeachTest(0), 0);
    EXPECT_EQ(ps.iShowGetTeachTest(), 0);
    EXPECT_EQ(ps.opGetShowPart(), ps.TestParts().GetAt(1));
    EXPECT_EQ(ps.iShowSetTeachTest(1), 1);
    EXPECT_EQ(ps.opGetShowPart(), ps.TeachParts().GetAt(2));

    // Teach parts have types 1, 2, 1, 2: by type the adding order becomes 0, 2, 1, 3.
    ps.TeachParts().SetSortType(PartSortType::Type);
    ps.iShowTeachPartNo(1);
    EXPECT_EQ(ps.opGetShowPart(), ps.TeachParts().GetAt_NoSort(2));
    ps.iShowTeachPartNo(-1, 1);
    EXPECT_EQ(ps.opGetShowPart(), nullptr);
}

TEST_F(PartSetTest, ShownFeatureToolAndItsOwner) {
    OType_ZRPartSet& ps = sample;  // 12 basic features, tools with 1, 3 and 1 features
    EXPECT_EQ(ps.iShowFeatureNo(100), 16);
    EXPECT_EQ(ps.iShowFeatureNext(), 16);
    EXPECT_EQ(ps.iShowFeatureNo(-4), 0);
    EXPECT_EQ(ps.iShowFeaturePrev(), 0);
    const int owner[] = {-1, 0, 1, 1, 1, 2};  // features 11..16
    for (int f = 11; f <= 16; ++f) {
        ps.iShowFeatureNo(f);
        const int expected = owner[f - 11];
        EXPECT_EQ(ps.opShowFeatureGetConfigTool(),
                  expected < 0 ? nullptr : ps.Tools().opGetAt(expected))
            << f;
    }
    ps.SetFixedFeatures(0);  // family 2: tool features only
    EXPECT_EQ(ps.iShowFeatureNo(10), 4);
    ps.iShowFeatureNo(0);
    EXPECT_EQ(ps.opShowFeatureGetConfigTool(), ps.Tools().opGetAt(0));

    EXPECT_EQ(ps.iShowToolNo(9), 2);
    EXPECT_EQ(ps.iShowToolNext(), 2);
    EXPECT_EQ(ps.iShowToolNo(-9), 0);
    EXPECT_EQ(ps.iShowToolPrev(), 0);
    ps.Tools().RemoveAll();
    EXPECT_EQ(ps.iShowToolNo(0), -1) << "no tool, none shown";
    EXPECT_EQ(ps.iShowFeatureNo(3), 0);
    EXPECT_EQ(ps.opShowFeatureGetConfigTool(), nullptr);

    OType_ZRPartSet empty;
    EXPECT_EQ(empty.iShowFeatureNo(20), 11) << "the basic features alone";
    EXPECT_EQ(empty.iShowToolGetNo(), -1);
}

TEST_F(PartSetTest, ShownVectorClampsToTheShownPartTypesOrientations) {
    OType_ZRPartSet& ps = sample;  // part types with 1, 2 and 3 orientations
    EXPECT_EQ(ps.iShowSubTypeNo(2), 2);
    EXPECT_EQ(ps.iShowVectorNo(10), 2);
    EXPECT_EQ(ps.iShowVectorNext(), 2);
    EXPECT_EQ(ps.iShowSubTypeNo(1), 1);
    EXPECT_EQ(ps.iShowVectorGetNo(), 1) << "changing the part type re-clamps the vector";
    EXPECT_EQ(ps.iShowSubTypePrev(), 0);
    EXPECT_EQ(ps.iShowVectorGetNo(), 0);
    EXPECT_EQ(ps.iShowVectorNo(-3), 0);
    EXPECT_EQ(ps.iShowSubTypeNo(-3), 0);
    EXPECT_EQ(ps.iShowSubTypeNo(30), 2);
    EXPECT_EQ(ps.iShowSubTypeNext(), 2);
    ps.opGetSubType(2)->SetNumOrientations(5);  // more orientations than stored vectors
    EXPECT_EQ(ps.iShowVectorNo(10), 4);
    ps.iShowVectorNo(4);

    ps.RemoveSubTypeAt(2);
    EXPECT_EQ(ps.iShowSubTypeGetNo(), 1);
    EXPECT_EQ(ps.iShowVectorGetNo(), 1);
    ps.SetNumSubTypes(0);
    EXPECT_EQ(ps.iShowSubTypeGetNo(), 0);
    EXPECT_EQ(ps.iShowVectorGetNo(), 0);
    EXPECT_EQ(ps.opGetShowSubType(), nullptr);
    EXPECT_EQ(ps.iShowVectorNo(3), 0);
}

TEST_F(PartSetTest, ShownDataOutputClampsToTheList) {
    OType_ZRPartSet& ps = sample;
    EXPECT_EQ(ps.iShowDataOutputNo(5), 1);
    EXPECT_EQ(ps.iShowDataOutputNext(), 1);
    EXPECT_EQ(ps.iShowDataOutputPrev(), 0);
    EXPECT_EQ(ps.iShowDataOutputPrev(), 0);
    EXPECT_EQ(ps.DataOutputs().iGetSelected(), 0);
    ps.DataOutputs().RemoveAll();
    EXPECT_EQ(ps.iShowDataOutputNo(0), -1);
    EXPECT_EQ(ps.iShowDataOutputNext(), -1);
}

TEST_F(PartSetTest, PartTypesAreLimited) {
    OType_ZRPartSet ps;
    ps.SetNumSubTypes(OType_ZRPartSet::kMaxSubTypes + 10);
    EXPECT_EQ(ps.iGetNum_SubTypes(), OType_ZRPartSet::kMaxSubTypes);
    EXPECT_EQ(ps.opAddSubType(), nullptr);
    ps.SetNumSubTypes(-1);
    EXPECT_EQ(ps.iGetNum_SubTypes(), 0);
    EXPECT_EQ(ps.opGetSubType(0), nullptr);
    ps.RemoveSubTypeAt(0);

    sample.RemoveAllVectors();
    for (int t = 0; t < 3; ++t)
        EXPECT_EQ(sample.opGetSubType(t)->Vectors().iGetNum(), 0);
    EXPECT_EQ(sample.opGetSubType(2)->iGetNumOrientations(), 3) << "the type records stay";
}

}  // namespace
