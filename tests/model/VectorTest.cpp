#include <gtest/gtest.h>

#include "ModelTestSupport.h"
#include "model/stream/OObjectBlock.h"
#include "model/stream/ObjectIds.h"
#include "model/teach/OType_Vector.h"
#include "model/teach/OType_ZRPartSet_SubType.h"

using namespace modeltest;

namespace {

OType_Vector SampleVector(int featureType) {
    OType_Vector v;
    v.featureType = featureType;
    v.toolId = 4;
    v.name = "Höhe";
    v.minimum = 10.5;
    v.mean = 12.0;
    v.maximum = 14.25;
    v.lowerBound = 9.75;
    v.upperBound = 15.0;
    v.option = 2 | 128;
    v.factor = 0.5;
    v.state = 13;
    v.textFeature = true;
    v.classText = "*";
    return v;
}

OType_VectorArray SampleArray(int count, int partCount) {
    OType_VectorArray a;
    for (int i = 0; i < count; ++i)
        a.Add(SampleVector(i));
    a.SetPartCount(partCount);
    return a;
}

OType_VectorArray_Array SampleArrays() {
    OType_VectorArray_Array aa;
    aa.Add() = SampleArray(3, 12);
    aa.Add();  // an orientation without data
    aa.Add() = SampleArray(1, 2);
    return aa;
}

OType_ZRPartSet_SubType SampleSubType() {
    OType_ZRPartSet_SubType t;
    t.SetName("Bolt M6");
    t.SetTolerance(12);
    t.SetNumOrientations(3);
    t.SetNumFeatures(14);
    t.SetHasData(true);
    t.SetCounterTarget(500);
    t.SetCounterFlag(0xFFFF);
    t.Vectors() = SampleArrays();
    return t;
}

template <class T>
T RoundTripped(const T& object) {
    const Bytes bytes = EncodeOf(object);
    T back;
    EXPECT_EQ(DecodeFrom(back, bytes), 1);
    EXPECT_EQ(EncodeOf(back), bytes);
    return back;
}

TEST(Vector, EveryLevelRoundTrips) {
    EXPECT_EQ(RoundTripped(SampleVector(7)), SampleVector(7));
    EXPECT_EQ(RoundTripped(OType_Vector()), OType_Vector());
    EXPECT_EQ(RoundTripped(SampleArray(5, 9)), SampleArray(5, 9));
    EXPECT_EQ(RoundTripped(OType_VectorArray()), OType_VectorArray());
    EXPECT_EQ(RoundTripped(SampleArrays()), SampleArrays());
    EXPECT_EQ(RoundTripped(OType_VectorArray_Array()), OType_VectorArray_Array());
    EXPECT_EQ(RoundTripped(SampleSubType()), SampleSubType());
    EXPECT_EQ(RoundTripped(OType_ZRPartSet_SubType()), OType_ZRPartSet_SubType());
    const auto back = RoundTripped(SampleSubType());
    EXPECT_EQ(back.iGetCounterFlag(), 0xFFFFu);
    ASSERT_NE(back.opGetVectorArray(2), nullptr);
    EXPECT_EQ(back.opGetVectorArray(2)->iGetPartCount(), 2);
    EXPECT_EQ(back.opGetVectorArray(0)->At(2).featureType, 2);
}

TEST(Vector, ArrayEditingClampsIndices) {
    OType_VectorArray a = SampleArray(2, 0);
    a.InsertAt(-4, SampleVector(100));
    a.InsertAt(50, SampleVector(200));
    std::vector<int> types;
    for (const auto& v : a)
        types.push_back(v.featureType);
    EXPECT_EQ(types, (std::vector<int>{100, 0, 1, 200}));
    a.RemoveAt(4);
    a.RemoveAt(-1);
    EXPECT_EQ(a.iGetNumOfVectors(), 4);
    a.RemoveAt(0);
    EXPECT_EQ(a.At(0).featureType, 0);
    EXPECT_EQ(a.opGetAt(3), nullptr);

    OType_VectorArray_Array aa = SampleArrays();
    aa.RemoveAt(3);
    EXPECT_EQ(aa.iGetNum(), 3);
    aa.RemoveAt(1);
    EXPECT_EQ(aa.opGetAt(1)->iGetPartCount(), 2);
    aa.Resize(-1);
    EXPECT_EQ(aa.iGetNum(), 0);
}

TEST(SubType, SettersKeepValuesInRange) {
    OType_ZRPartSet_SubType t;
    EXPECT_EQ(t.iGetTolerance(), 5);
    EXPECT_EQ(t.iGetNumOrientations(), 1);
    t.SetTolerance(21);
    EXPECT_EQ(t.iGetTolerance(), 20);
    t.SetTolerance(-3);
    EXPECT_EQ(t.iGetTolerance(), 0);
    t.SetNumOrientations(-2);
    EXPECT_EQ(t.iGetNumOrientations(), 0);
    t.SetNumFeatures(-2);
    EXPECT_EQ(t.iGetNumFeatures(), 0);

    OType_ZRPartSet_SubType full = SampleSubType();
    full.Clear();
    EXPECT_EQ(full.iGetNumOrientations(), 0);
    EXPECT_FALSE(full.bHasData());
    EXPECT_EQ(full.Vectors().iGetNum(), 0);
    EXPECT_EQ(full.iGetNumFeatures(), 0);
}

TEST(Vector, NewerEncodingsKeepTheirExtraBytesAtEveryLevel) {
    const Bytes newerVector = WithExtraPayload(EncodeOf(SampleVector(1)), FutureFields());
    OByteStream_Memory arrayOut;
    {
        OObjectBlockWriter block(arrayOut, ObjectId::kVectorArray);
        arrayOut.bWriteI32(6);
        arrayOut.bWriteU32(2);
        SampleVector(0).iEncode(arrayOut);
        arrayOut.bWriteRaw(newerVector.data(), newerVector.size());
        arrayOut.bWriteU32(0xA11A);
    }
    const Bytes newerArray = arrayOut.TakeBytes();
    OByteStream_Memory arraysOut;
    {
        OObjectBlockWriter block(arraysOut, ObjectId::kVectorArrayArray);
        arraysOut.bWriteU32(1);
        arraysOut.bWriteRaw(newerArray.data(), newerArray.size());
        arraysOut.bWriteU8(0x77);
    }
    const Bytes newerArrays = arraysOut.TakeBytes();

    OType_VectorArray_Array aa;
    ASSERT_EQ(DecodeFrom(aa, newerArrays), 1);
    ASSERT_EQ(aa.iGetNum(), 1);
    EXPECT_EQ(aa.opGetAt(0)->iGetPartCount(), 6);
    EXPECT_EQ(aa.opGetAt(0)->At(1).upperBound, 15.0);
    EXPECT_EQ(EncodeOf(aa), newerArrays);

    // A newer sub type around them.
    OType_ZRPartSet_SubType plain = SampleSubType();
    plain.Vectors().RemoveAll();
    Bytes sub = EncodeOf(plain);
    const size_t vectorsAt = sub.size() - EncodeOf(OType_VectorArray_Array()).size();
    sub.resize(vectorsAt);
    sub.insert(sub.end(), newerArrays.begin(), newerArrays.end());
    SetU32At(sub, 0, static_cast<uint32_t>(sub.size() - 4));
    const Bytes newerSub = WithExtraPayload(sub, FutureFields());
    OType_ZRPartSet_SubType t;
    ASSERT_EQ(DecodeFrom(t, newerSub), 1);
    EXPECT_EQ(t.GetName(), "Bolt M6");
    EXPECT_EQ(t.iGetCounterTarget(), 500u);
    EXPECT_EQ(EncodeOf(t), newerSub);
}

TEST(SubType, OutOfRangeFieldsAreRefused) {
    const Bytes valid = EncodeOf(SampleSubType());
    // header 8, name "Bolt M6" 4 + 7: tolerance at 19, orientations at 23, features at 27.
    auto refusedWith = [&](size_t at, int32_t v) {
        Bytes b = valid;
        SetU32At(b, at, static_cast<uint32_t>(v));
        OType_ZRPartSet_SubType t = SampleSubType();
        return DecodeFrom(t, b) == 0 && t == OType_ZRPartSet_SubType();
    };
    ASSERT_EQ(U32At(valid, 19), 12u);
    ASSERT_EQ(U32At(valid, 23), 3u);
    EXPECT_TRUE(refusedWith(19, 21));
    EXPECT_TRUE(refusedWith(19, -1));
    EXPECT_TRUE(refusedWith(23, 65));
    EXPECT_TRUE(refusedWith(23, -1));
    EXPECT_TRUE(refusedWith(27, -1));
    EXPECT_TRUE(refusedWith(4, static_cast<int32_t>(ObjectId::kVector)));
    // The counter flag (after has-data at 31 and the counter target at 32) is 0 or 0xFFFF.
    ASSERT_EQ(U32At(valid, 36), 0xFFFFu);
    EXPECT_TRUE(refusedWith(36, 1));
    EXPECT_TRUE(refusedWith(36, 0x10000));
    EXPECT_FALSE(refusedWith(36, 0));
}

TEST(Vector, HostileCountsAreRefused) {
    Bytes arrays = EncodeOf(SampleArrays());
    SetU32At(arrays, 8, OType_VectorArray_Array::kMaxArrays + 1);
    OType_VectorArray_Array aa = SampleArrays();
    EXPECT_EQ(DecodeFrom(aa, arrays), 0);
    EXPECT_EQ(aa, OType_VectorArray_Array());

    Bytes array = EncodeOf(SampleArray(2, 1));
    SetU32At(array, 12, 0xFFFFFFFFu);
    OType_VectorArray a = SampleArray(1, 1);
    EXPECT_EQ(DecodeFrom(a, array), 0);
    EXPECT_EQ(a, OType_VectorArray());
}

TEST(Vector, TruncatedAndRandomInputIsHandled) {
    ExpectBadInputHandled(
        EncodeOf(SampleVector(3)), [] { return std::make_unique<OType_Vector>(SampleVector(1)); },
        [](OType_Vector& v, OByteStream& s) { return v.iDecode(s); },
        [](const OType_Vector& v) { return EncodeOf(v); }, EncodeOf(OType_Vector()));
    ExpectBadInputHandled(
        EncodeOf(SampleSubType()),
        [] { return std::make_unique<OType_ZRPartSet_SubType>(SampleSubType()); },
        [](OType_ZRPartSet_SubType& t, OByteStream& s) { return t.iDecode(s); },
        [](const OType_ZRPartSet_SubType& t) { return EncodeOf(t); },
        EncodeOf(OType_ZRPartSet_SubType()));
}

}  // namespace
