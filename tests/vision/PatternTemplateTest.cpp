#include <gtest/gtest.h>

#include <cstring>

#include "model/stream/OByteStream_Memory.h"
#include "tools/patternmatching/OPatternMatching_V2.h"

using Bytes = std::vector<uint8_t>;
using SearchParameter = OPatternMatching_V2_SearchParameter;
using Template = OPatternMatching_V2_Template;
using TemplateArray = OPatternMatching_V2_TemplateArray;

namespace {

// Little-endian pieces for blocks built by hand.
void AddU32(Bytes& b, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void AddDouble(Bytes& b, double d) {
    uint64_t v = 0;
    std::memcpy(&v, &d, 8);
    AddU32(b, static_cast<uint32_t>(v));
    AddU32(b, static_cast<uint32_t>(v >> 32));
}
Bytes Block(uint32_t id, const Bytes& payload) {
    Bytes b;
    AddU32(b, static_cast<uint32_t>(payload.size() + 4));
    AddU32(b, id);
    b.insert(b.end(), payload.begin(), payload.end());
    return b;
}
uint32_t U32At(const Bytes& b, size_t at) {
    uint32_t v = 0;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}
double DoubleAt(const Bytes& b, size_t at) {
    double v = 0;
    std::memcpy(&v, b.data() + at, 8);
    return v;
}

template <class T>
Bytes Written(const T& object) {
    OByteStream_Memory s;
    EXPECT_EQ(object.AddObjectDataTo(s), 1);
    Bytes bytes = s.TakeBytes();
    EXPECT_EQ(bytes.size(), object.GetObjectSize());
    return bytes;
}

OType_Image Picture(int w, int h, int layers) {
    OType_Image img(w, h, layers);
    for (size_t i = 0; i < img.Pixels().size(); ++i)
        img.Pixels()[i] = static_cast<uint8_t>(i * 11);
    img.SetPos(5, 6);
    return img;
}

Template Sample(const std::string& name) {
    Template t;
    t.kind = 7;
    t.startAngle = -45.5;
    t.angleExtent = 91.0;
    t.scale = 1.25;
    t.params = {1, 2, 3, 40, 5, 20, 5, 7, 8};
    t.resultScore = 0.93;
    t.name = name;
    t.image = Picture(6, 4, 1);
    t.extraBytes = {0xDE, 0xAD};
    return t;
}

// A stream holding `bytes` followed by a marker word, to see where a reader stopped.
struct Followed {
    Bytes bytes;
    explicit Followed(Bytes b) : bytes(std::move(b)) { AddU32(bytes, 0x5A5A1234); }
    bool bAtMarker(OByteStream& s) const {
        uint32_t marker = 0;
        return s.bIsOk() && s.bReadU32(marker) && marker == 0x5A5A1234;
    }
};

}  // namespace

// ---------------------------------------------------------------- search parameters

TEST(PatternSearchParameter, DefaultsAndLayout) {
    const SearchParameter p;
    EXPECT_EQ(p.GetObjectID(), 0xFE7A4400u);
    EXPECT_EQ(p.startAngle, -20.0);
    EXPECT_EQ(p.angleExtent, 40.0);
    EXPECT_EQ(p.minScore, 0.8);
    EXPECT_EQ(p.numMatches, 1);
    EXPECT_EQ(p.maxOverlap, 0.5);
    EXPECT_EQ(p.option1, 0);
    EXPECT_EQ(p.option2, 0);
    EXPECT_EQ(p.greediness, 0.9);
    const Bytes b = Written(p);
    ASSERT_EQ(b.size(), 60u);
    EXPECT_EQ(U32At(b, 0), 56u);  // written length
    EXPECT_EQ(U32At(b, 4), 0xFE7A4400u);
    EXPECT_EQ(DoubleAt(b, 8), -20.0);
    EXPECT_EQ(U32At(b, 32), 1u);      // number of matches after three doubles
    EXPECT_EQ(DoubleAt(b, 36), 0.5);  // maximum overlap
    EXPECT_EQ(DoubleAt(b, 52), 0.9);  // greediness last
}

TEST(PatternSearchParameter, ExactlyFiftyTwoPayloadBytesReadAllEightValues) {
    Bytes payload;
    AddDouble(payload, -10.0);
    AddDouble(payload, 20.0);
    AddDouble(payload, 0.65);
    AddU32(payload, 3);
    AddDouble(payload, 0.25);
    AddU32(payload, 15);
    AddU32(payload, 1);
    AddDouble(payload, 0.5);
    ASSERT_EQ(payload.size(), 52u);
    const Followed in(Block(SearchParameter::kObjectId, payload));
    auto s = OByteStream_Memory::View(in.bytes);
    SearchParameter p;
    ASSERT_EQ(p.GetObjectDataFrom(s, true), 1);
    EXPECT_EQ(p.startAngle, -10.0);
    EXPECT_EQ(p.angleExtent, 20.0);
    EXPECT_EQ(p.minScore, 0.65);
    EXPECT_EQ(p.numMatches, 3);
    EXPECT_EQ(p.maxOverlap, 0.25);
    EXPECT_EQ(p.option1, 15);
    EXPECT_EQ(p.option2, 1);
    EXPECT_EQ(p.greediness, 0.5);
    EXPECT_TRUE(p.extraBytes.empty());
    EXPECT_TRUE(in.bAtMarker(s));
    EXPECT_EQ(Written(p), Block(SearchParameter::kObjectId, payload));
}

TEST(PatternSearchParameter, OlderShortPayloadKeepsDefaultsAndBecomesExtraBytes) {
    Bytes payload(40);
    for (size_t i = 0; i < payload.size(); ++i)
        payload[i] = static_cast<uint8_t>(i + 1);
    const Followed in(Block(SearchParameter::kObjectId, payload));
    auto s = OByteStream_Memory::View(in.bytes);
    SearchParameter p;
    p.minScore = 0.1;  // replaced by the default: the block is too short for the fields
    ASSERT_EQ(p.GetObjectDataFrom(s, false), 1);
    SearchParameter expected;
    expected.extraBytes = payload;
    EXPECT_EQ(p, expected);
    EXPECT_TRUE(in.bAtMarker(s));
    EXPECT_EQ(p.GetObjectSize(), 100u);
}

TEST(PatternSearchParameter, NewerPayloadRoundTripsByteForByte) {
    SearchParameter p;
    p.numMatches = 4;
    p.extraBytes = {1, 2, 3, 4, 5, 6, 7};
    const Bytes first = Written(p);
    EXPECT_EQ(U32At(first, 0), 56u + 7u);
    auto s = OByteStream_Memory::View(first);
    SearchParameter back;
    ASSERT_EQ(back.GetObjectDataFrom(s, true), 1);
    EXPECT_EQ(back, p);
    EXPECT_EQ(Written(back), first);
    SearchParameter copy;
    back.CopyTo(copy);
    EXPECT_EQ(copy, p);
}

TEST(PatternSearchParameter, ForeignOrTruncatedBlocksFailTheStream) {
    const Bytes good = Written(SearchParameter());
    Bytes foreign = good;
    foreign[4] ^= 1;
    for (const Bytes& bad :
         {foreign, Bytes(good.begin(), good.end() - 1), Bytes(good.begin(), good.begin() + 6)}) {
        auto s = OByteStream_Memory::View(bad);
        SearchParameter p;
        p.numMatches = 9;
        EXPECT_EQ(p.GetObjectDataFrom(s, true), 0);
        EXPECT_FALSE(s.bIsOk());
        EXPECT_EQ(p, SearchParameter());  // reset as asked
    }
}

// ---------------------------------------------------------------- template

TEST(PatternTemplate, DefaultsAndLayout) {
    const Template t;
    EXPECT_EQ(t.GetObjectID(), 0xFE7A4200u);
    EXPECT_EQ(t.kind, 4);
    EXPECT_EQ(t.scale, 1.0);
    EXPECT_EQ(t.params, (std::array<int32_t, 9>{0, 0, 0, 30, 0, 10, 10, -1, -1}));
    EXPECT_EQ(t.resultScore, -1.0);
    EXPECT_EQ(t.runtimeId, -1);
    const Template s = Sample("abc");
    const Bytes b = Written(s);
    EXPECT_EQ(U32At(b, 8), 7u);           // kind
    EXPECT_EQ(DoubleAt(b, 12), -45.5);    // start angle
    EXPECT_EQ(DoubleAt(b, 28), 1.25);     // scale
    EXPECT_EQ(U32At(b, 36), 1u);          // first integer parameter
    EXPECT_EQ(U32At(b, 36 + 8 * 4), 8u);  // ninth
    EXPECT_EQ(DoubleAt(b, 72), 0.93);     // result score
    EXPECT_EQ(U32At(b, 80), 3u);          // name length, then the name
    EXPECT_EQ(std::string(b.begin() + 84, b.begin() + 87), "abc");
    EXPECT_EQ(U32At(b, 87), s.image.iGetObjectSize() - 4);  // the image block follows
    EXPECT_EQ((Bytes{b[b.size() - 2], b[b.size() - 1]}), (Bytes{0xDE, 0xAD}));
    EXPECT_EQ(b.size(), 84u + 3u + s.image.iGetObjectSize() + 2u);
}

TEST(PatternTemplate, NameImageAndExtraBytesRoundTripByteForByte) {
    for (const Template& t : {Sample("Grip edge \xC3\xA4"), Sample(""), Template()}) {
        Template withColour = t;
        if (!t.name.empty()) withColour.image = Picture(3, 5, 3);
        for (const Template* original : {&t, static_cast<const Template*>(&withColour)}) {
            const Bytes first = Written(*original);
            const Followed in(first);
            auto s = OByteStream_Memory::View(in.bytes);
            Template back;
            back.runtimeId = 17;
            ASSERT_EQ(back.GetObjectDataFrom(s, true), 1);
            EXPECT_EQ(back, *original);
            EXPECT_EQ(back.image.iGetPosX(), original->image.iGetPosX());
            EXPECT_EQ(back.runtimeId, 17);  // not stored, not touched
            EXPECT_EQ(Written(back), first);
            EXPECT_TRUE(in.bAtMarker(s));
        }
    }
}

TEST(PatternTemplate, TinyPayloadGivesDefaultsAndKeepsItsBytes) {
    const Bytes payload = {9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 1};  // 11 bytes: not longer than 11
    const Followed in(Block(Template::kObjectId, payload));
    auto s = OByteStream_Memory::View(in.bytes);
    Template t = Sample("x");
    ASSERT_EQ(t.GetObjectDataFrom(s, false), 1);
    Template expected;
    expected.extraBytes = payload;
    EXPECT_EQ(t, expected);
    EXPECT_TRUE(in.bAtMarker(s));
}

TEST(PatternTemplate, DamagedPayloadFailsButSkipsToTheBlockEnd) {
    const Bytes good = Written(Sample("name"));
    const size_t imageAt = 84 + 4;
    // The image block's id spoilt; the fixed fields cut to 40 bytes; the name's length beyond
    // the payload.
    Bytes badImage = good;
    badImage[imageAt + 4] ^= 0xFF;
    Bytes cutFields(good.begin(), good.begin() + 8 + 40);
    cutFields[0] = 44;
    cutFields[1] = cutFields[2] = cutFields[3] = 0;
    Bytes badName = good;
    badName[80] = 0xFF;
    for (const Bytes& bad : {badImage, cutFields, badName}) {
        const Followed in(bad);
        auto s = OByteStream_Memory::View(in.bytes);
        Template t = Sample("kept");
        EXPECT_EQ(t.GetObjectDataFrom(s, false), 0);
        EXPECT_EQ(t, Sample("kept"));  // unchanged without reset
        EXPECT_TRUE(in.bAtMarker(s));  // the stream goes on after the block
        auto again = OByteStream_Memory::View(in.bytes);
        EXPECT_EQ(t.GetObjectDataFrom(again, true), 0);
        EXPECT_EQ(t, Template());  // reset when asked
    }
}

TEST(PatternTemplate, CopiesAreDeepAndKeepTheirRuntimeId) {
    const Template original = Sample("orig");
    Template target;
    target.runtimeId = 3;
    original.CopyTo(target);
    EXPECT_EQ(target, original);
    EXPECT_EQ(target.runtimeId, 3);
    auto copy = original.CreateCopy();
    copy->image.SetPixel(0, 0, 0, 99);
    copy->name = "changed";
    EXPECT_EQ(original.name, "orig");
    EXPECT_NE(original.image.GetPixel(0, 0), 99);
    // Reset takes every stored field back, not the run-time id.
    target.Reset();
    EXPECT_EQ(target, Template());
    EXPECT_EQ(target.runtimeId, 3);
}

// ---------------------------------------------------------------- template array

TEST(PatternTemplateArray, RoundTripAndDeepCopy) {
    TemplateArray a;
    a.Add(Sample("one").CreateCopy());
    a.Add(Template().CreateCopy());
    a.Add(Sample("three").CreateCopy());
    const Bytes first = Written(a);
    EXPECT_EQ(U32At(first, 4), 0xFE7A4300u);
    EXPECT_EQ(U32At(first, 8), 3u);
    auto s = OByteStream_Memory::View(first);
    TemplateArray back;
    back.Add(Sample("stale").CreateCopy());
    ASSERT_EQ(back.GetObjectDataFrom(s, true), 1);
    ASSERT_EQ(back.iGetSize(), 3);
    EXPECT_EQ(back.GetAt(2)->name, "three");
    EXPECT_EQ(back, a);
    EXPECT_EQ(Written(back), first);

    TemplateArray copy = a;
    copy.GetAt(0)->name = "changed";
    copy.RemoveAt(1);
    EXPECT_EQ(a.GetAt(0)->name, "one");
    EXPECT_EQ(a.iGetSize(), 3);
    EXPECT_EQ(copy.GetAt(5), nullptr);
    EXPECT_EQ(copy.GetAt(-1), nullptr);
    a.RemoveAll();
    EXPECT_EQ(a.iGetSize(), 0);
}

TEST(PatternTemplateArray, StopsAtTheFirstTemplateThatFails) {
    Bytes payload;
    AddU32(payload, 4);  // claims four
    const Bytes one = Written(Sample("one"));
    Bytes broken = Written(Sample("two"));
    broken[84 + 3 + 4] ^= 0xFF;  // its image block's id, after the three-letter name
    const Bytes three = Written(Sample("three"));
    for (const Bytes* t : {&one, static_cast<const Bytes*>(&broken), &three})
        payload.insert(payload.end(), t->begin(), t->end());
    const Followed in(Block(TemplateArray::kObjectId, payload));
    auto s = OByteStream_Memory::View(in.bytes);
    TemplateArray a;
    EXPECT_EQ(a.GetObjectDataFrom(s, true), 0);
    ASSERT_EQ(a.iGetSize(), 1);
    EXPECT_EQ(a.GetAt(0)->name, "one");
    EXPECT_TRUE(in.bAtMarker(s));
}

TEST(PatternTemplateArray, CountsAndShortPayloads) {
    // A count beyond the templates present: the read stops when they run out.
    Bytes payload;
    AddU32(payload, 0xFFFFFFFF);
    const Bytes one = Written(Sample("only"));
    payload.insert(payload.end(), one.begin(), one.end());
    const Bytes block = Block(TemplateArray::kObjectId, payload);
    auto s = OByteStream_Memory::View(block);
    TemplateArray a;
    EXPECT_EQ(a.GetObjectDataFrom(s, true), 0);
    EXPECT_EQ(a.iGetSize(), 1);
    // A payload of 7 bytes or less holds no count: an empty array.
    for (size_t n : {size_t{0}, size_t{4}, size_t{7}}) {
        const Bytes shortBlock = Block(TemplateArray::kObjectId, Bytes(n, 1));
        auto s2 = OByteStream_Memory::View(shortBlock);
        TemplateArray b;
        b.Add(Template().CreateCopy());
        EXPECT_EQ(b.GetObjectDataFrom(s2, false), 1) << n;
        EXPECT_EQ(b.iGetSize(), 0);
    }
    // Bytes after the last template are kept and written back.
    Bytes withExtra;
    AddU32(withExtra, 1);
    withExtra.insert(withExtra.end(), one.begin(), one.end());
    withExtra.insert(withExtra.end(), {7, 7, 7});
    const Bytes extraBlock = Block(TemplateArray::kObjectId, withExtra);
    auto s3 = OByteStream_Memory::View(extraBlock);
    TemplateArray c;
    ASSERT_EQ(c.GetObjectDataFrom(s3, true), 1);
    EXPECT_EQ(c.ExtraBytes(), (Bytes{7, 7, 7}));
    EXPECT_EQ(Written(c), extraBlock);
}

TEST(PatternTemplateArray, EveryTruncationIsRefusedWithoutHarm) {
    TemplateArray a;
    a.Add(Sample("a").CreateCopy());
    a.Add(Sample("b").CreateCopy());
    const Bytes full = Written(a);
    for (size_t n = 0; n < full.size(); ++n) {
        auto s = OByteStream_Memory::View({full.data(), n});
        TemplateArray t;
        EXPECT_EQ(t.GetObjectDataFrom(s, true), 0) << n;
        EXPECT_EQ(t.iGetSize(), 0);
    }
}
