#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "ModelTestSupport.h"
#include "model/partset/OType_PartArray.h"
#include "model/stream/ObjectIds.h"

using namespace modeltest;
using namespace std::chrono_literals;

namespace {

struct PartSpec {
    int recordNo;
    int type;
    int orientation;
    double result;
    double feature1;  // NaN: the part has no features
    const char* comment;
};

// Record numbers deliberately differ from the adding order.
const PartSpec kSpecs[] = {
    {5, 2, -3, 50.0, 7.0, "b"}, {1, 1, 2, 150.0, -1.0, "a"},         {3, 2, 3, 50.0, 7.0, ""},
    {2, 1, -2, 10.0, 3.0, "b"}, {4, 3, 1, 150.0, std::nan(""), "a"},
};

OType_PartArray SampleArray() {
    OType_PartArray a;
    for (const PartSpec& s : kSpecs) {
        OType_Part p;
        p.SetRecordNo(s.recordNo);
        p.SetType(s.type);
        p.SetOrientation(s.orientation);
        p.SetResultValue(0, s.result);
        if (!std::isnan(s.feature1)) {
            p.Features().Resize(2);
            p.Features().At(1).value = s.feature1;
        }
        p.SetComment(s.comment);
        p.SetConturData({1, -4});
        a.Add(p);
    }
    return a;
}

// The adding indices of the parts in sort order.
std::vector<int> Order(const OType_PartArray& a) {
    std::vector<int> order;
    for (int i = 0; i < a.iGetSize(); ++i) {
        for (int j = 0; j < a.iGetSize(); ++j) {
            if (a.GetAt(i) == a.GetAt_NoSort(j)) order.push_back(j);
        }
    }
    return order;
}

std::vector<int> RecordNumbers(const OType_PartArray& a) {
    std::vector<int> numbers;
    for (int i = 0; i < a.iGetSize(); ++i)
        numbers.push_back(a.GetAt(i)->iGetRecordNo());
    return numbers;
}

TEST(PartArray, EachSortTypeOrdersWithTiesInAddingOrder) {
    const std::pair<PartSortType, std::vector<int>> cases[] = {
        {PartSortType::RecordNo, {1, 3, 2, 4, 0}},    {PartSortType::Type, {1, 3, 0, 2, 4}},
        {PartSortType::Orientation, {4, 1, 3, 0, 2}}, {PartSortType::Result, {3, 0, 2, 1, 4}},
        {PartSortType::Feature, {1, 4, 3, 0, 2}},     {PartSortType::Comment, {2, 1, 4, 0, 3}},
    };
    for (const auto& [type, expected] : cases) {
        SCOPED_TRACE(static_cast<int>(type));
        OType_PartArray a = SampleArray();
        EXPECT_EQ(Order(a), (std::vector<int>{0, 1, 2, 3, 4})) << "unsorted: adding order";
        a.SetSortType(type, 1);
        EXPECT_EQ(a.GetSortType(), type);
        EXPECT_EQ(Order(a), expected);
        for (int pos = 0; pos < a.iGetSize(); ++pos) {
            EXPECT_EQ(a.iGetSortPos(expected[static_cast<size_t>(pos)]), pos);
            EXPECT_EQ(a.iGetSortPosOf(a.GetAt(pos)), pos);
        }
    }
}

TEST(PartArray, FeatureSortUsesTheChosenFeature) {
    OType_PartArray a = SampleArray();
    a.SetSortType(PartSortType::Feature, -3);
    EXPECT_EQ(a.iGetSortFeature(), 0);
    // Feature 0 is 0 everywhere (or missing): adding order.
    EXPECT_EQ(Order(a), (std::vector<int>{0, 1, 2, 3, 4}));
    a.SetSortType(PartSortType::Feature, 1);
    EXPECT_EQ(a.iGetSortFeature(), 1);
}

TEST(PartArray, PositionsOutOfRange) {
    const OType_PartArray a = SampleArray();
    EXPECT_EQ(a.GetAt(-1), nullptr);
    EXPECT_EQ(a.GetAt(5), nullptr);
    EXPECT_EQ(a.GetAt_NoSort(5), nullptr);
    EXPECT_EQ(a.iGetSortPos(5), -1);
    EXPECT_EQ(a.iGetSortPos(-1), -1);
    const OType_Part foreign;
    EXPECT_EQ(a.iGetSortPosOf(&foreign), -1);
    EXPECT_EQ(a.iGetSortPosOf(nullptr), -1);
    OType_PartArray empty;
    EXPECT_EQ(empty.GetAt(0), nullptr);
    EXPECT_EQ(empty.Add(std::unique_ptr<OType_Part>()), nullptr);
    EXPECT_TRUE(empty.bIsEmpty());
}

TEST(PartArray, AddedPartsStayAtTheEndUntilResorted) {
    OType_PartArray a = SampleArray();
    a.SetSortType(PartSortType::Type);
    OType_Part first;
    first.SetType(0);
    first.SetRecordNo(6);
    OType_Part* added = a.Add(first);
    EXPECT_EQ(a.GetAt(5), added);
    EXPECT_EQ(a.GetAt_NoSort(5), added);
    EXPECT_EQ(a.iGetSortPos(5), 5);
    a.UpdateSortOrder();
    EXPECT_EQ(a.GetAt(0), added);
    EXPECT_EQ(Order(a), (std::vector<int>{5, 1, 3, 0, 2, 4}));
}

TEST(PartArray, RemovingKeepsTheSortOrderConsistent) {
    OType_PartArray a = SampleArray();
    a.SetSortType(PartSortType::RecordNo);
    EXPECT_EQ(RecordNumbers(a), (std::vector<int>{1, 2, 3, 4, 5}));

    a.RemoveAt(0);  // sort position 0: record 1 (adding index 1)
    EXPECT_EQ(RecordNumbers(a), (std::vector<int>{2, 3, 4, 5}));
    EXPECT_EQ(a.GetAt_NoSort(1)->iGetRecordNo(), 3) << "later adding indices move down";

    a.RemoveAt_NoSort(0);  // adding index 0: record 5
    EXPECT_EQ(RecordNumbers(a), (std::vector<int>{2, 3, 4}));

    std::unique_ptr<OType_Part> detached = a.DetachAt_NoSort(1);  // record 2
    ASSERT_NE(detached, nullptr);
    EXPECT_EQ(detached->iGetRecordNo(), 2);
    EXPECT_EQ(RecordNumbers(a), (std::vector<int>{3, 4}));
    for (int pos = 0; pos < a.iGetSize(); ++pos)
        EXPECT_EQ(a.iGetSortPosOf(a.GetAt(pos)), pos);

    EXPECT_EQ(a.DetachAt_NoSort(2), nullptr);
    a.RemoveAt(-1);
    a.RemoveAt(2);
    a.RemoveAt_NoSort(7);
    EXPECT_EQ(a.iGetSize(), 2);
    a.RemoveAll();
    EXPECT_TRUE(a.bIsEmpty());
    EXPECT_EQ(a.GetAt(0), nullptr);
}

TEST(PartArray, CopiesAreDeep) {
    OType_PartArray a = SampleArray();
    a.SetSortType(PartSortType::Comment);
    OType_PartArray copy(a);
    EXPECT_EQ(copy.GetSortType(), PartSortType::Comment);
    EXPECT_EQ(Order(copy), Order(a));
    ASSERT_EQ(copy.iGetSize(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_NE(copy.GetAt_NoSort(i), a.GetAt_NoSort(i));
        EXPECT_EQ(*copy.GetAt_NoSort(i), *a.GetAt_NoSort(i));
    }
    copy.GetAt(0)->SetComment("changed");
    copy.RemoveAt(1);
    EXPECT_EQ(a.GetAt(0)->GetComment(), "");
    EXPECT_EQ(a.iGetSize(), 5);

    OType_PartArray assigned;
    assigned = a;
    assigned.GetAt_NoSort(0)->SetType(9);
    EXPECT_EQ(a.GetAt_NoSort(0)->iGetType(), 2);
}

TEST(PartArray, RoundTripKeepsPartsSortTypeAndOrder) {
    OType_PartArray a = SampleArray();
    a.SetSortType(PartSortType::Feature, 1);
    const Bytes bytes = EncodeOf(a);
    OType_PartArray back;
    ASSERT_EQ(DecodeFrom(back, bytes), 1);
    EXPECT_EQ(back.GetSortType(), PartSortType::Feature);
    EXPECT_EQ(back.iGetSortFeature(), 1);
    EXPECT_EQ(Order(back), Order(a));
    for (int i = 0; i < a.iGetSize(); ++i)
        EXPECT_EQ(*back.GetAt_NoSort(i), *a.GetAt_NoSort(i));
    EXPECT_EQ(EncodeOf(back), bytes);

    OType_PartArray empty;
    ASSERT_EQ(DecodeFrom(empty, EncodeOf(OType_PartArray())), 1);
    EXPECT_TRUE(empty.bIsEmpty());
}

TEST(PartArray, EncodingCarriesTheRequestedContent) {
    const OType_PartArray a = SampleArray();
    OByteStream_Memory s;
    ASSERT_EQ(a.iEncode(s, PartContent::kContour), 1);
    OType_PartArray back;
    auto in = OByteStream_Memory::View(s.Bytes());
    ASSERT_EQ(back.iDecode(in), 1);
    EXPECT_EQ(back.GetAt_NoSort(0)->Features().iGetNumOfFeatures(), 0);
    EXPECT_EQ(back.GetAt_NoSort(0)->iGetConturDataSize(), 2);
}

TEST(PartArray, DecodingAppendsToTheList) {
    OType_PartArray a;
    OType_Part p;
    p.SetRecordNo(99);
    a.Add(p);
    ASSERT_EQ(DecodeFrom(a, EncodeOf(SampleArray())), 1);
    EXPECT_EQ(a.iGetSize(), 6);
    EXPECT_EQ(a.GetAt_NoSort(0)->iGetRecordNo(), 99);
    EXPECT_EQ(a.GetAt_NoSort(1)->iGetRecordNo(), 5);
}

TEST(PartArray, UnknownSortTypeKeepsTheCurrentOne) {
    Bytes bytes = EncodeOf(SampleArray());
    SetU32At(bytes, 8, 99);
    OType_PartArray a;
    ASSERT_EQ(DecodeFrom(a, bytes), 1);
    EXPECT_EQ(a.GetSortType(), PartSortType::RecordNo);
    EXPECT_EQ(a.iGetSize(), 5);
}

TEST(PartArray, NewerEncodingKeepsItsExtraBytes) {
    const Bytes newer = WithExtraPayload(EncodeOf(SampleArray()), FutureFields());
    OType_PartArray a;
    ASSERT_EQ(DecodeFrom(a, newer), 1);
    EXPECT_EQ(a.iGetSize(), 5);
    EXPECT_EQ(a.GetAt_NoSort(4)->GetComment(), "a");
    EXPECT_EQ(EncodeOf(a), newer);
    EXPECT_EQ(EncodeOf(OType_PartArray(a)), newer) << "copies keep the extra bytes too";
}

TEST(PartArray, MalformedInputLeavesTheListEmpty) {
    const Bytes valid = EncodeOf(SampleArray());
    for (uint32_t count : {6u, 0xFFFFFFFFu, OType_PartArray::kMaxParts + 1}) {
        Bytes b = valid;
        SetU32At(b, 16, count);
        OType_PartArray a;
        EXPECT_EQ(DecodeFrom(a, b), 0) << count;
        EXPECT_TRUE(a.bIsEmpty());
    }
    Bytes b = valid;
    SetU32At(b, 4, ObjectId::kPart);
    OType_PartArray a = SampleArray();
    EXPECT_EQ(DecodeFrom(a, b), 0);
    EXPECT_TRUE(a.bIsEmpty());

    ExpectBadInputHandled(
        valid, [] { return std::make_unique<OType_PartArray>(); },
        [](OType_PartArray& arr, OByteStream& s) { return arr.iDecode(s); },
        [](const OType_PartArray& arr) { return EncodeOf(arr); }, EncodeOf(OType_PartArray()));
}

TEST(PartArray, LockHeldElsewhereTimesOutAndIsFreeAfterUnlock) {
    OType_PartArray a;
    LockHolder holder([&] { return a.Synchronized_Lock(1000ms); },
                      [&] { a.Synchronized_Unlock(); });
    ASSERT_TRUE(holder.bLocked());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(a.Synchronized_Lock(50ms));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 25ms) << "it waited before giving up";
    holder.Release();
    EXPECT_TRUE(a.Synchronized_Lock(50ms));
    a.Synchronized_Unlock();
}

}  // namespace
