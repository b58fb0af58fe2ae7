#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "ModelTestSupport.h"
#include "model/part/OType_Feature.h"
#include "model/stream/OObjectBlock.h"
#include "model/stream/ObjectIds.h"

using namespace modeltest;

namespace {

OType_Feature Numeric() {
    OType_Feature f;
    f.type = 22;
    f.toolId = 3;
    f.value = -1234.5625;
    f.valid = false;
    f.name = "Contour area";
    f.deviation = 87.5;
    f.option = FeatureOption::WithValue(FeatureOption::kKeepValue, FeatureOption::kFixed);
    f.factor = 0.25;
    f.alternativeValue = 17.0;
    f.modified = false;
    return f;
}

OType_Feature Text() {
    OType_Feature f;
    f.type = 112;
    f.toolId = 9;
    f.valueType = FeatureValueType::Text;
    f.textValue = "LOT 4711 – Prüfung";
    f.name = "Text recognition";
    return f;
}

OType_FeatureArray ArrayOf(std::initializer_list<OType_Feature> features) {
    OType_FeatureArray a;
    for (const auto& f : features)
        a.Add(f);
    return a;
}

TEST(FeatureOption, ValueBitsAndNumberedOptions) {
    using namespace FeatureOption;
    const uint32_t word = Set(WithValue(0, kFixedLocked), kNotForQuality, true);
    EXPECT_EQ(Value(word), kFixedLocked);
    EXPECT_TRUE(bGet(word, 7));
    EXPECT_EQ(word, 2u | 128u);
    EXPECT_EQ(Value(WithValue(word, kExcluded)), kExcluded);
    EXPECT_TRUE(bGet(WithValue(word, kExcluded), 7)) << "setting the value keeps other bits";
    EXPECT_EQ(WithValue(0, 9), 1u) << "the value is cut to three bits";
    EXPECT_EQ(Set(word, kNotForQuality, false), 2u);
    EXPECT_FALSE(bGet(~0u, -1));
    EXPECT_FALSE(bGet(~0u, 32));
    EXPECT_EQ(Set(word, 32, true), word);
    EXPECT_EQ(Set(word, -1, true), word);
}

TEST(Feature, NumericAndTextFeaturesRoundTrip) {
    for (const OType_Feature& f : {Numeric(), Text(), OType_Feature()}) {
        const Bytes bytes = EncodeOf(f);
        OType_Feature back;
        ASSERT_EQ(DecodeFrom(back, bytes), 1);
        EXPECT_EQ(back, f);
        EXPECT_EQ(EncodeOf(back), bytes);
    }
    OType_Feature back;
    ASSERT_EQ(DecodeFrom(back, EncodeOf(Text())), 1);
    EXPECT_TRUE(back.bIsText());
    EXPECT_EQ(back.textValue, "LOT 4711 – Prüfung");
}

TEST(Feature, UnknownValueKindIsRefused) {
    Bytes bytes = EncodeOf(Numeric());
    // header 8, type 4, tool 4, value 8, valid 1: the kind follows at 25.
    SetU32At(bytes, 25, 2);
    OType_Feature f = Text();
    EXPECT_EQ(DecodeFrom(f, bytes), 0);
    EXPECT_EQ(f, OType_Feature()) << "a refused feature is left in its default state";
}

TEST(Feature, NewerFeatureKeepsItsExtraBytesInsideAnArray) {
    const Bytes newerFeature = WithExtraPayload(EncodeOf(Numeric()), FutureFields());
    // A newer array: its own known fields, the newer feature, and a field of its own.
    OByteStream_Memory out;
    {
        OObjectBlockWriter block(out, ObjectId::kFeatureArray);
        out.bWriteBool(false);
        out.bWriteU32(2);
        out.bWriteRaw(newerFeature.data(), newerFeature.size());
        Text().iEncode(out);
        out.bWriteString("array field of a newer writer");
    }
    const Bytes newer = out.TakeBytes();
    OType_FeatureArray a;
    ASSERT_EQ(DecodeFrom(a, newer), 1);
    ASSERT_EQ(a.iGetNumOfFeatures(), 2);
    EXPECT_FALSE(a.bGetModified());
    EXPECT_EQ(a.dGetFeatureValueAt(0), -1234.5625);
    EXPECT_EQ(a.oGetFeatureNameAt(1), "Text recognition");
    EXPECT_EQ(EncodeOf(a), newer);
}

TEST(FeatureArray, RoundTripKeepsOrderAndModifiedFlag) {
    OType_FeatureArray a = ArrayOf({Numeric(), Text(), OType_Feature()});
    a.SetModified(false);
    const Bytes bytes = EncodeOf(a);
    OType_FeatureArray back;
    ASSERT_EQ(DecodeFrom(back, bytes), 1);
    EXPECT_EQ(back, a);
    EXPECT_FALSE(back.bGetModified());
    EXPECT_EQ(back.GetFeatureTypeAt(1), 112);

    OType_FeatureArray empty;
    OType_FeatureArray emptyBack = a;
    ASSERT_EQ(DecodeFrom(emptyBack, EncodeOf(empty)), 1);
    EXPECT_TRUE(emptyBack.bIsEmpty());
    EXPECT_TRUE(emptyBack.bGetModified());
}

TEST(FeatureArray, AccessorsAreSafeOutOfRange) {
    OType_FeatureArray a = ArrayOf({Numeric()});
    EXPECT_EQ(a.dGetFeatureValueAt(1), 0.0);
    EXPECT_EQ(a.dGetFeatureValueAt(-1), 0.0);
    EXPECT_EQ(a.oGetFeatureNameAt(5), "");
    EXPECT_EQ(a.GetFeatureTypeAt(-3), -1);
    EXPECT_EQ(a.opGetAt(1), nullptr);
    EXPECT_THROW(a.At(1), std::out_of_range);
    a.RemoveAt(4);
    a.RemoveAt(-1);
    EXPECT_EQ(a.iGetNumOfFeatures(), 1);
}

TEST(FeatureArray, InsertClampsAndRemoveFromCuts) {
    OType_FeatureArray a;
    for (int t : {1, 2, 3}) {
        OType_Feature f;
        f.type = t;
        a.Add(f);
    }
    OType_Feature front;
    front.type = 10;
    a.InsertAt(-5, front);
    OType_Feature back;
    back.type = 20;
    a.InsertAt(99, back);
    OType_Feature middle;
    middle.type = 15;
    a.InsertAt(2, middle);
    std::vector<int> types;
    for (const auto& f : a)
        types.push_back(f.type);
    EXPECT_EQ(types, (std::vector<int>{10, 1, 15, 2, 3, 20}));

    a.RemoveFrom(4);
    EXPECT_EQ(a.iGetNumOfFeatures(), 4);
    a.RemoveFrom(10);
    EXPECT_EQ(a.iGetNumOfFeatures(), 4);
    a.RemoveFrom(-2);
    EXPECT_TRUE(a.bIsEmpty());
}

// Every way of changing an array, applied to a copy: the original must not see it.
TEST(FeatureArray, CopiesShareEntriesUntilOneOfThemIsChanged) {
    const OType_FeatureArray original = ArrayOf({Numeric(), Text(), Numeric()});
    const std::vector<std::function<void(OType_FeatureArray&)>> changes = {
        [](OType_FeatureArray& a) { a.At(0).value = 1.0; },
        [](OType_FeatureArray& a) { a.opGetAt(1)->textValue = "changed"; },
        [](OType_FeatureArray& a) { a.Add(Text()); },
        [](OType_FeatureArray& a) { a.InsertAt(0, Text()); },
        [](OType_FeatureArray& a) { a.RemoveAt(1); },
        [](OType_FeatureArray& a) { a.RemoveFrom(1); },
        [](OType_FeatureArray& a) { a.RemoveFrom(0); },
        [](OType_FeatureArray& a) { a.RemoveAll(); },
        [](OType_FeatureArray& a) { a.Resize(5); },
        [](OType_FeatureArray& a) {
            for (OType_Feature& f : a)
                f.name = "renamed";
        },
        [](OType_FeatureArray& a) { a = OType_FeatureArray(); },
    };
    const Bytes before = EncodeOf(original);
    for (size_t i = 0; i < changes.size(); ++i) {
        OType_FeatureArray copy = original;
        EXPECT_TRUE(copy.bSharesEntriesWith(original)) << "change " << i;
        changes[i](copy);
        EXPECT_FALSE(copy.bSharesEntriesWith(original)) << "change " << i;
        EXPECT_NE(copy, original) << "change " << i;
        EXPECT_EQ(EncodeOf(original), before) << "change " << i << " reached the original";
    }

    // Changing the original leaves an earlier copy alone as well.
    OType_FeatureArray source = original;
    const OType_FeatureArray snapshot = source;
    source.At(2).value = 99.0;
    EXPECT_EQ(snapshot.dGetFeatureValueAt(2), Numeric().value);
    EXPECT_EQ(source.dGetFeatureValueAt(2), 99.0);

    // Reading through a const array never separates the copies.
    const OType_FeatureArray& reader = snapshot;
    OType_FeatureArray copy = snapshot;
    double sum = 0;
    for (const OType_Feature& f : reader)
        sum += f.value;
    EXPECT_EQ(sum, 2 * Numeric().value) << "two numeric entries; the text entry counts 0";
    EXPECT_TRUE(copy.bSharesEntriesWith(snapshot));
}

TEST(FeatureArray, EqualityComparesEntriesNotStorage) {
    OType_FeatureArray a = ArrayOf({Numeric(), Text()});
    OType_FeatureArray b = ArrayOf({Numeric(), Text()});
    EXPECT_FALSE(a.bSharesEntriesWith(b));
    EXPECT_EQ(a, b);
    b.SetModified(false);
    EXPECT_NE(a, b) << "the modified flag counts";
    b.SetModified(true);
    b.At(1).textValue = "other";
    EXPECT_NE(a, b);
    EXPECT_EQ(OType_FeatureArray(), ArrayOf({})) << "an emptied array equals a new one";
    a.RemoveAll();
    EXPECT_EQ(a, OType_FeatureArray());
    EXPECT_FALSE(a.bSharesEntriesWith(OType_FeatureArray())) << "empty arrays share nothing";
}

TEST(FeatureArray, HostileCountsAndIdsAreRefused) {
    const OType_FeatureArray full = ArrayOf({Numeric(), Text()});
    const Bytes valid = EncodeOf(full);
    // header 8, modified flag 1: the count follows at 9.
    for (uint32_t count : {3u, 0xFFFFFFFFu, OType_FeatureArray::kMaxFeatures + 1}) {
        Bytes b = valid;
        SetU32At(b, 9, count);
        OType_FeatureArray a = full;
        EXPECT_EQ(DecodeFrom(a, b), 0) << count;
        EXPECT_EQ(a, OType_FeatureArray());
    }
    Bytes b = valid;
    SetU32At(b, 4, ObjectId::kFeature);
    OType_FeatureArray a = full;
    EXPECT_EQ(DecodeFrom(a, b), 0);
    EXPECT_TRUE(a.bIsEmpty());
}

TEST(FeatureArray, TruncatedAndRandomInputIsHandled) {
    ExpectBadInputHandled(
        EncodeOf(ArrayOf({Numeric(), Text()})),
        [] {
            auto a = std::make_unique<OType_FeatureArray>(ArrayOf({Numeric()}));
            a->SetModified(false);
            return a;
        },
        [](OType_FeatureArray& a, OByteStream& s) { return a.iDecode(s); },
        [](const OType_FeatureArray& a) { return EncodeOf(a); }, EncodeOf(OType_FeatureArray()));
}

TEST(Feature, TruncatedAndRandomInputIsHandled) {
    ExpectBadInputHandled(
        EncodeOf(Text()), [] { return std::make_unique<OType_Feature>(Numeric()); },
        [](OType_Feature& f, OByteStream& s) { return f.iDecode(s); },
        [](const OType_Feature& f) { return EncodeOf(f); }, EncodeOf(OType_Feature()));
}

}  // namespace
