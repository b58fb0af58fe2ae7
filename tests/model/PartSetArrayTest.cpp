#include <gtest/gtest.h>

#include "ModelTestSupport.h"
#include "PartSetSamples.h"
#include "model/device/ZRINFO.h"
#include "model/partset/OType_ZRPartSetArray.h"
#include "model/stream/ObjectIds.h"

using namespace modeltest;

namespace {

const ZRINFO kInfo;

OType_ZRPartSetArray::Preparer Registering(int* calls = nullptr) {
    return [calls](OType_ZRPartSet& ps) {
        RegisterTestKinds(ps);
        ps.SetDeviceInfo(&kInfo);
        if (calls) ++*calls;
    };
}

void FillSampleArray(OType_ZRPartSetArray& sets) {
    FillSamplePartSet(*sets.opAddPartSet(&kInfo, nullptr, nullptr, 2));
    OType_ZRPartSet* second = sets.opAddPartSet(&kInfo, nullptr, nullptr, 1);
    second->SetName("second");
    second->TeachParts().Add(SamplePartOf(1, 1, 1, true));
    sets.opAddPartSet(&kInfo, nullptr, nullptr, 0);
    sets.iSetActualPartSetNo(1);
}

Bytes Encoded(const OType_ZRPartSetArray& sets, int withParts = 1, int withImages = 1) {
    OByteStream_Memory s;
    EXPECT_EQ(sets.iEncode(s, withParts, withImages), 1);
    return s.TakeBytes();
}

int Decode(OType_ZRPartSetArray& sets, const Bytes& bytes,
           const OType_ZRPartSetArray::Preparer& prepare) {
    auto s = OByteStream_Memory::View(bytes);
    return sets.iDecode(s, prepare);
}

TEST(PartSetArray, AddingGivesContextNumbersAndPartTypes) {
    OType_ZRPartSetArray sets;
    EXPECT_EQ(sets.iGetActualPartSetNo(), -1);
    EXPECT_EQ(sets.opGetActualPartSet(), nullptr);
    OType_ZRPartSet* first = sets.opAddPartSet(&kInfo, nullptr, nullptr, 3);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(sets.iGetActualPartSetNo(), 0) << "the first set becomes the actual one";
    EXPECT_EQ(first->opGetDeviceInfo(), &kInfo);
    EXPECT_EQ(first->iGetNum_SubTypes(), 3);
    EXPECT_EQ(first->iGetProgramNo(), 1);
    EXPECT_FALSE(first->UndoRedo().bHasUndoData());
    OType_ZRPartSet* second = sets.opAddPartSet(nullptr, nullptr, nullptr, 1);
    EXPECT_EQ(second->iGetProgramNo(), 2);
    EXPECT_EQ(sets.iGetActualPartSetNo(), 0);
    EXPECT_EQ(sets.iGetPos(second), 1);
    EXPECT_EQ(sets.iGetPos(nullptr), -1);
    EXPECT_EQ(sets.opGetPartSet(2), nullptr);
}

TEST(PartSetArray, ActualNumberIsClampedAndFollowsRemoval) {
    OType_ZRPartSetArray sets;
    EXPECT_EQ(sets.iSetActualPartSetNo(0), -1) << "no part sets";
    FillSampleArray(sets);
    EXPECT_EQ(sets.iSetActualPartSetNo(10), 2);
    EXPECT_EQ(sets.iSetActualPartSetNo(-4), 0);
    sets.iSetActualPartSetNo(2);
    OType_ZRPartSet* third = sets.opGetActualPartSet();
    sets.RemoveAt(0);
    EXPECT_EQ(sets.iGetActualPartSetNo(), 1);
    EXPECT_EQ(sets.opGetActualPartSet(), third) << "the actual set stays actual";
    sets.RemoveAt(1);
    EXPECT_EQ(sets.iGetActualPartSetNo(), 0) << "removing the actual set selects the one before";
    sets.RemoveAt(5);
    EXPECT_EQ(sets.iGetNum(), 1);
    sets.RemoveAt(0);
    EXPECT_EQ(sets.iGetActualPartSetNo(), -1);
    sets.opAddPartSet(nullptr, nullptr, nullptr, 1);
    EXPECT_EQ(sets.iGetActualPartSetNo(), 0);
}

TEST(PartSetArray, RoundTripPreparesEachSetAndKeepsTheActualOne) {
    OType_ZRPartSetArray sets;
    FillSampleArray(sets);
    const Bytes bytes = Encoded(sets);
    OType_ZRPartSetArray back;
    int prepared = 0;
    ASSERT_EQ(Decode(back, bytes, Registering(&prepared)), 1);
    EXPECT_EQ(prepared, 3);
    ASSERT_EQ(back.iGetNum(), 3);
    EXPECT_EQ(back.iGetActualPartSetNo(), 1);
    EXPECT_EQ(back.opGetActualPartSet()->GetName(), "second");
    EXPECT_EQ(back.opGetPartSet(0)->opGetDeviceInfo(), &kInfo);
    EXPECT_NE(dynamic_cast<OTestTool*>(back.opGetPartSet(0)->Tools().opGetAt(0)), nullptr);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(back.opGetPartSet(i)->Encode(), sets.opGetPartSet(i)->Encode()) << i;
    EXPECT_EQ(Encoded(back), bytes);

    const Bytes noImages = Encoded(sets, 1, 0);
    ASSERT_EQ(Decode(back, noImages, Registering()), 1);
    EXPECT_EQ(back.opGetPartSet(1)->TeachParts().GetAt(0)->iGetNumImages(), 0);
    EXPECT_EQ(Encoded(back, 1, 0), noImages);

    OType_ZRPartSetArray empty;
    ASSERT_EQ(Decode(back, Encoded(empty), Registering()), 1);
    EXPECT_EQ(back.iGetNum(), 0);
    EXPECT_EQ(back.iGetActualPartSetNo(), -1);
}

TEST(PartSetArray, NewerEncodingKeepsItsExtraBytes) {
    OType_ZRPartSetArray sets;
    FillSampleArray(sets);
    const Bytes newer = WithExtraPayload(Encoded(sets), FutureFields());
    OType_ZRPartSetArray back;
    ASSERT_EQ(Decode(back, newer, Registering()), 1);
    EXPECT_EQ(back.iGetNum(), 3);
    EXPECT_EQ(Encoded(back), newer);
}

TEST(PartSetArray, MalformedInputLeavesTheArrayEmpty) {
    OType_ZRPartSetArray sets;
    FillSampleArray(sets);
    const Bytes valid = Encoded(sets);
    auto refused = [&](const Bytes& b) {
        OType_ZRPartSetArray target;
        FillSampleArray(target);
        return Decode(target, b, Registering()) == 0 && target.iGetNum() == 0 &&
               target.iGetActualPartSetNo() == -1;
    };
    Bytes b = valid;
    SetU32At(b, 12, 4);
    EXPECT_TRUE(refused(b)) << "more part sets than stored";
    b = valid;
    SetU32At(b, 12, OType_ZRPartSetArray::kMaxPartSets + 1);
    EXPECT_TRUE(refused(b));
    b = valid;
    SetU32At(b, 4, ObjectId::kPartSet);
    EXPECT_TRUE(refused(b));

    const Bytes small = [] {
        OType_ZRPartSetArray two;
        two.opAddPartSet(nullptr, nullptr, nullptr, 1);
        two.opAddPartSet(nullptr, nullptr, nullptr, 0)->TeachParts().Add(OType_Part());
        return Encoded(two);
    }();
    ExpectBadInputHandled(
        small,
        [] {
            auto target = std::make_unique<OType_ZRPartSetArray>();
            FillSampleArray(*target);
            return target;
        },
        [](OType_ZRPartSetArray& target, OByteStream& s) {
            return target.iDecode(s, Registering());
        },
        [](const OType_ZRPartSetArray& target) { return Encoded(target); },
        Encoded(OType_ZRPartSetArray()));
}

}  // namespace
