#include <gtest/gtest.h>

#include <chrono>
#include <limits>
#include <set>

#include "ModelTestSupport.h"
#include "PartSetSamples.h"
#include "model/device/ZRINFO.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/stream/OObjectBlock.h"
#include "model/stream/ObjectIds.h"
#include "model/tools/OType_ConfigToolArray.h"

using namespace modeltest;
using namespace std::chrono_literals;

namespace {

OToolPrototypes TestPrototypes() {
    OToolPrototypes prototypes;
    prototypes.RegisterKind(std::make_unique<OTestTool>());
    return prototypes;
}

std::unique_ptr<OTestTool> MakeTool(int features, const std::string& name, int id = -1) {
    auto tool = std::make_unique<OTestTool>(features, 0.25 * features, "label " + name);
    tool->SetName(name);
    tool->SetToolId(id);
    tool->SetFeatureType(22 + features);
    tool->SetRegion({1, 2, 30, 40});
    tool->SetModifiedFlag(false);
    tool->SetCoordTransSwitch(true);
    tool->SetImageType(1);
    return tool;
}

Bytes ForeignToolBytes() {
    OForeignTool foreign(2, 9.5, "from a newer tool library");
    foreign.SetName("Foreign");
    foreign.SetToolId(3);
    return EncodeOf(foreign);
}

// Tools with 1, 3 and 2 features.
OType_ConfigToolArray SampleTools() {
    OType_ConfigToolArray tools;
    tools.Add(MakeTool(1, "ROI"));
    tools.Add(MakeTool(3, "Strip"));
    tools.Add(MakeTool(2, "Angle"));
    return tools;
}

std::vector<int> Ids(const OType_ConfigToolArray& tools) {
    std::vector<int> ids;
    for (const auto& t : tools)
        ids.push_back(t->iGetToolId());
    return ids;
}

TEST(ToolArray, IdsAreAssignedUniquely) {
    OType_ConfigToolArray tools = SampleTools();
    EXPECT_EQ(Ids(tools), (std::vector<int>{1, 2, 3}));
    tools.Add(MakeTool(1, "Kept", 10));
    EXPECT_EQ(tools.opGetAt(3)->iGetToolId(), 10) << "a free id is kept";
    tools.Add(MakeTool(1, "Fresh"));
    EXPECT_EQ(tools.opGetAt(4)->iGetToolId(), 11);
    tools.Insert(0, MakeTool(1, "Duplicate", 2));
    const int replaced = tools.opGetAt(0)->iGetToolId();
    EXPECT_NE(replaced, 2) << "a used id is replaced";
    const std::vector<int> ids = Ids(tools);
    EXPECT_EQ(std::set<int>(ids.begin(), ids.end()).size(), ids.size());
    EXPECT_EQ(tools.opFindById(10)->GetName(), "Kept");
    EXPECT_EQ(tools.iFindPosById(replaced), 0);
    EXPECT_EQ(tools.iFindPosById(-1), -1);
    EXPECT_EQ(tools.opFindById(12345), nullptr);
    EXPECT_EQ(tools.Add(nullptr), nullptr);
}

TEST(ToolArray, IdsStayPositiveAndUniqueNearTheLargestId) {
    OType_ConfigToolArray tools;
    tools.Add(MakeTool(1, "Top", std::numeric_limits<int>::max()));
    tools.Add(MakeTool(1, "Below", std::numeric_limits<int>::max() - 1));
    for (int i = 0; i < 3; ++i)
        tools.Add(MakeTool(1, "New"));
    const std::vector<int> ids = Ids(tools);
    EXPECT_EQ(std::set<int>(ids.begin(), ids.end()).size(), ids.size());
    for (int id : ids)
        EXPECT_GT(id, 0);
}

TEST(ToolArray, InsertClampsAndDetachHandsOver) {
    OType_ConfigToolArray tools = SampleTools();
    tools.Insert(-5, MakeTool(1, "Front"));
    tools.Insert(99, MakeTool(1, "Back"));
    EXPECT_EQ(tools.opGetAt(0)->GetName(), "Front");
    EXPECT_EQ(tools.opGetAt(4)->GetName(), "Back");
    auto detached = tools.DetachAt(1);
    ASSERT_NE(detached, nullptr);
    EXPECT_EQ(detached->GetName(), "ROI");
    EXPECT_EQ(tools.iGetPos(detached.get()), -1);
    EXPECT_EQ(tools.iGetPos(tools.opGetAt(2)), 2);
    EXPECT_EQ(tools.DetachAt(4), nullptr);
    tools.RemoveAt(-1);
    EXPECT_EQ(tools.iGetNum(), 4);
    EXPECT_EQ(tools.opGetAt(4), nullptr);
}

TEST(ToolArray, FeatureIndicesOfMultiFeatureTools) {
    const OType_ConfigToolArray tools = SampleTools();
    EXPECT_EQ(tools.iGetNumOfFeatures(), 6);
    // With 12 basic features: tool 0 owns 12, tool 1 owns 13..15, tool 2 owns 16..17.
    EXPECT_EQ(tools.GetFeatureIndex_First(0, 12), 12);
    EXPECT_EQ(tools.GetFeatureIndex_Last(0, 12), 12);
    EXPECT_EQ(tools.GetFeatureIndex_First(1, 12), 13);
    EXPECT_EQ(tools.GetFeatureIndex_Last(1, 12), 15);
    EXPECT_EQ(tools.GetFeatureIndex_First(2, 12), 16);
    EXPECT_EQ(tools.GetFeatureIndex_Last(2, 12), 17);
    EXPECT_EQ(tools.GetFeatureIndex_First(3, 12), -1);
    EXPECT_EQ(tools.GetFeatureIndex_Last(-1, 12), -1);
    EXPECT_EQ(tools.GetFeatureIndex_First(2, 0), 4);

    const int owner12[] = {-1, -1, 0, 1, 1, 1, 2, 2, -1};  // features 10..18
    for (int f = 10; f <= 18; ++f) {
        const int expected = owner12[f - 10];
        EXPECT_EQ(tools.opGetCFToolAtFeature(f, 12),
                  expected < 0 ? nullptr : tools.opGetAt(expected))
            << f;
    }
    EXPECT_EQ(tools.opGetCFToolAtFeature(0, 0), tools.opGetAt(0));
    EXPECT_EQ(tools.opGetCFToolAtFeature(5, 0), tools.opGetAt(2));
    EXPECT_EQ(tools.opGetCFToolAtFeature(6, 0), nullptr);
    EXPECT_EQ(tools.opGetCFToolAtFeature(-1, 0), nullptr) << "no feature, no tool";
    EXPECT_EQ(tools.opGetCFToolAtFeature(-1, 12), nullptr);
}

TEST(ToolArray, SwapMovesToolsAndTheirFeatures) {
    OType_ConfigToolArray tools = SampleTools();
    OType_ConfigTool* strip = tools.opGetAt(1);
    tools.Swap(0, 1);
    EXPECT_EQ(tools.opGetAt(0), strip);
    EXPECT_EQ(tools.GetFeatureIndex_First(1, 12), 15);
    EXPECT_EQ(tools.opGetCFToolAtFeature(14, 12), strip);
    tools.Swap(0, 3);
    tools.Swap(-1, 0);
    EXPECT_EQ(tools.opGetAt(0), strip);
}

TEST(ToolArray, CopiesAreDeepAndKeepEverySetting) {
    const OType_ConfigToolArray tools = SampleTools();
    OType_ConfigToolArray copy(tools);
    ASSERT_EQ(copy.iGetNum(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NE(copy.opGetAt(i), tools.opGetAt(i));
        EXPECT_EQ(EncodeOf(*copy.opGetAt(i)), EncodeOf(*tools.opGetAt(i)));
    }
    dynamic_cast<OTestTool&>(*copy.opGetAt(1)).SetThreshold(99.0);
    copy.opGetAt(1)->SetName("Changed");
    EXPECT_EQ(dynamic_cast<const OTestTool&>(*tools.opGetAt(1)).dGetThreshold(), 0.75);
    EXPECT_EQ(tools.opGetAt(1)->GetName(), "Strip");
    copy.Add(MakeTool(1, "More"));
    EXPECT_EQ(copy.opGetAt(3)->iGetToolId(), 4) << "the id counter is copied";
}

TEST(ToolArray, SingleToolRoundTripsThroughItsOwnEncoding) {
    const OType_ConfigToolArray tools = SampleTools();
    Bytes bytes;
    ASSERT_EQ(tools.iEncodeAt(bytes, 1), 1);
    EXPECT_EQ(tools.iEncodeAt(bytes, 3), 0);
    auto in = OByteStream_Memory::View(bytes);
    auto tool = OType_ConfigToolArray::opCreateCFToolFromStream(in, TestPrototypes());
    ASSERT_NE(tool, nullptr);
    auto* test = dynamic_cast<OTestTool*>(tool.get());
    ASSERT_NE(test, nullptr) << "decoded into the registered kind";
    EXPECT_EQ(test->iGetNumOfFeatures(), 3);
    EXPECT_EQ(test->GetLabel(), "label Strip");
    EXPECT_EQ(test->GetRegion(), (ORect{1, 2, 30, 40}));
    EXPECT_TRUE(test->bGetCoordTransSwitch());
    EXPECT_FALSE(test->iGetModifiedFlag());
    EXPECT_EQ(test->iGetImageType(), 1);
    EXPECT_EQ(EncodeOf(*tool), bytes);
    EXPECT_EQ(in.iRemaining(), 0u);
}

TEST(ToolArray, UnregisteredKindIsKeptOpaqueAndWrittenBackUnchanged) {
    const Bytes foreign = ForeignToolBytes();
    auto in = OByteStream_Memory::View(foreign);
    auto tool = OType_ConfigToolArray::opCreateCFToolFromStream(in, TestPrototypes());
    ASSERT_NE(tool, nullptr);
    EXPECT_NE(dynamic_cast<OType_ConfigTool_Opaque*>(tool.get()), nullptr);
    EXPECT_EQ(tool->iGetConfigToolType(), 7777);
    EXPECT_EQ(tool->GetName(), "Foreign");
    EXPECT_EQ(EncodeOf(*tool), foreign);
    EXPECT_EQ(EncodeOf(*tool->Clone()), foreign) << "clones keep the payload";

    OType_FeatureArray features;
    OType_Feature own;
    own.toolId = 3;
    features.Add(own);
    OType_Feature other;
    other.toolId = 4;
    features.Add(other);
    OType_ZRPartSet partSet;
    const ZRINFO info;
    OType_Part part;
    tool->iExtractObject_Test(partSet, info, part, features, 0, nullptr, 0, {});
    EXPECT_FALSE(features.At(0).valid) << "an opaque tool computes nothing";
    EXPECT_TRUE(features.At(1).valid);
}

TEST(ToolArray, ArrayWithRegisteredAndForeignToolsRoundTrips) {
    OType_ConfigToolArray tools = SampleTools();
    const Bytes foreignBytes = ForeignToolBytes();
    auto in = OByteStream_Memory::View(foreignBytes);
    tools.Add(OType_ConfigToolArray::opCreateCFToolFromStream(in, OToolPrototypes()));
    const Bytes bytes = EncodeOf(tools);
    OType_ConfigToolArray back;
    auto bytesIn = OByteStream_Memory::View(bytes);
    ASSERT_EQ(back.iDecode(bytesIn, TestPrototypes()), 1);
    ASSERT_EQ(back.iGetNum(), 4);
    EXPECT_NE(dynamic_cast<OTestTool*>(back.opGetAt(2)), nullptr);
    EXPECT_NE(dynamic_cast<OType_ConfigTool_Opaque*>(back.opGetAt(3)), nullptr);
    EXPECT_EQ(back.iGetNumOfFeatures(), 7);
    EXPECT_EQ(EncodeOf(back), bytes);
}

// A tool array written by hand: next id, then the given tool encodings.
Bytes ToolArrayBytes(int32_t nextId, const std::vector<Bytes>& tools, const Bytes& extra = {}) {
    OByteStream_Memory out;
    {
        OObjectBlockWriter block(out, ObjectId::kConfigToolArray);
        out.bWriteI32(nextId);
        out.bWriteU32(static_cast<uint32_t>(tools.size()));
        for (const auto& t : tools)
            out.bWriteRaw(t.data(), t.size());
        out.bWriteRaw(extra.data(), extra.size());
    }
    return out.TakeBytes();
}

TEST(ToolArray, DuplicateIdsOfAStoredListAreReplaced) {
    const Bytes bytes =
        ToolArrayBytes(5, {EncodeOf(*MakeTool(1, "A", 4)), EncodeOf(*MakeTool(1, "B", 4)),
                           EncodeOf(*MakeTool(1, "C"))});
    OType_ConfigToolArray tools;
    auto in = OByteStream_Memory::View(bytes);
    ASSERT_EQ(tools.iDecode(in, TestPrototypes()), 1);
    const std::vector<int> ids = Ids(tools);
    EXPECT_EQ(ids[0], 4);
    EXPECT_EQ(std::set<int>(ids.begin(), ids.end()).size(), 3u);
    for (int id : ids)
        EXPECT_GT(id, 0);
}

TEST(ToolArray, StoredLargestIdsLeaveRoomForNewTools) {
    const Bytes bytes =
        ToolArrayBytes(std::numeric_limits<int32_t>::max(),
                       {EncodeOf(*MakeTool(1, "A", std::numeric_limits<int>::max()))});
    OType_ConfigToolArray tools;
    auto in = OByteStream_Memory::View(bytes);
    ASSERT_EQ(tools.iDecode(in, TestPrototypes()), 1);
    tools.Add(MakeTool(1, "B"));
    tools.Add(MakeTool(1, "C"));
    const std::vector<int> ids = Ids(tools);
    EXPECT_EQ(std::set<int>(ids.begin(), ids.end()).size(), 3u);
    for (int id : ids)
        EXPECT_GT(id, 0);
}

// A list whose ids lie on both sides of the wrap at the largest int, with one tool without an
// id, is read, written and read again: the second writing equals the first.
TEST(ToolArray, AListReadBackEncodesAlikeWhateverTheOrderOfItsIds) {
    constexpr int kLargest = std::numeric_limits<int>::max();
    const Bytes bytes = ToolArrayBytes(
        -5, {EncodeOf(*MakeTool(1, "A", kLargest)), EncodeOf(*MakeTool(1, "B", kLargest - 1)),
             EncodeOf(*MakeTool(1, "C"))});
    OType_ConfigToolArray first;
    auto in = OByteStream_Memory::View(bytes);
    ASSERT_EQ(first.iDecode(in, TestPrototypes()), 1);
    const Bytes once = EncodeOf(first);
    OType_ConfigToolArray second;
    auto again = OByteStream_Memory::View(once);
    ASSERT_EQ(second.iDecode(again, TestPrototypes()), 1);
    EXPECT_EQ(EncodeOf(second), once);
    EXPECT_EQ(Ids(second), Ids(first));
    second.Add(MakeTool(1, "D"));
    const std::vector<int> ids = Ids(second);
    EXPECT_EQ(std::set<int>(ids.begin(), ids.end()).size(), 4u);
    for (int id : ids)
        EXPECT_GT(id, 0);
}

TEST(ToolArray, NewerEncodingsKeepTheirExtraBytes) {
    const Bytes newerTool = WithExtraPayload(EncodeOf(*MakeTool(2, "N", 1)), FutureFields());
    const Bytes newer = ToolArrayBytes(
        7, {newerTool, ForeignToolBytes(), EncodeOf(*MakeTool(1, "M", 2))}, FutureFields());
    OType_ConfigToolArray tools;
    auto in = OByteStream_Memory::View(newer);
    ASSERT_EQ(tools.iDecode(in, TestPrototypes()), 1);
    ASSERT_EQ(tools.iGetNum(), 3);
    EXPECT_EQ(tools.opGetAt(0)->GetName(), "N");
    EXPECT_EQ(tools.opGetAt(0)->iGetNumOfFeatures(), 2);
    EXPECT_EQ(EncodeOf(tools), newer);
    EXPECT_EQ(EncodeOf(OType_ConfigToolArray(tools)), newer) << "copies keep them too";
}

TEST(ToolArray, MalformedInputIsRefused) {
    const Bytes valid = EncodeOf(SampleTools());
    auto refused = [](const Bytes& b) {
        OType_ConfigToolArray tools = SampleTools();
        auto in = OByteStream_Memory::View(b);
        return tools.iDecode(in, TestPrototypes()) == 0 && tools.iGetNum() == 0;
    };
    Bytes b = valid;
    SetU32At(b, 12, 0xFFFFFFFFu);
    EXPECT_TRUE(refused(b)) << "count beyond the data";
    b = valid;
    SetU32At(b, 12, OType_ConfigToolArray::kMaxTools + 1);
    EXPECT_TRUE(refused(b));
    b = valid;
    SetU32At(b, 4, ObjectId::kConfigTool);
    EXPECT_TRUE(refused(b)) << "wrong id";
    // A registered kind whose payload it refuses.
    OTestTool bad(1);
    Bytes badTool = EncodeOf(bad);
    const size_t payloadAt = badTool.size() - (4 + 4 + 8 + 4);  // count, features, threshold, label
    SetU32At(badTool, payloadAt + 4, static_cast<uint32_t>(-1));
    EXPECT_TRUE(refused(ToolArrayBytes(1, {badTool})));
    auto in = OByteStream_Memory::View(badTool);
    EXPECT_EQ(OType_ConfigToolArray::opCreateCFToolFromStream(in, TestPrototypes()), nullptr);
    EXPECT_TRUE(refused(ToolArrayBytes(1, {U32Bytes(4), U32Bytes(ObjectId::kConfigTool)})));

    auto fresh = [] { return std::make_unique<OType_ConfigToolArray>(); };
    auto decode = [](OType_ConfigToolArray& t, OByteStream& s) {
        return t.iDecode(s, TestPrototypes());
    };
    auto encode = [](const OType_ConfigToolArray& t) { return EncodeOf(t); };
    ExpectBadInputHandled(valid, fresh, decode, encode, EncodeOf(OType_ConfigToolArray()));
}

TEST(ToolPrototypes, CopiesHoldTheirOwnPrototypes) {
    OToolPrototypes prototypes;
    prototypes.RegisterKind(nullptr);
    EXPECT_TRUE(prototypes.Kinds().empty());
    prototypes.RegisterKind(std::make_unique<OForeignTool>());
    prototypes.RegisterKind(std::make_unique<OTestTool>());
    EXPECT_EQ(prototypes.Kinds(), (std::vector<int>{OTestTool::kKind, 7777}));

    const OToolPrototypes copy(prototypes);
    EXPECT_EQ(copy.Kinds(), prototypes.Kinds());
    EXPECT_NE(copy.opGetPrototype(OTestTool::kKind), prototypes.opGetPrototype(OTestTool::kKind));
    auto created = copy.Create(OTestTool::kKind);
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->iGetConfigToolType(), OTestTool::kKind);
    EXPECT_EQ(copy.Create(5), nullptr);
    EXPECT_FALSE(copy.bHasKind(5));

    OToolPrototypes assigned;
    assigned = prototypes;
    prototypes.Clear();
    EXPECT_TRUE(assigned.bHasKind(7777)) << "the copy outlives the original's prototypes";
}

TEST(ConfigTool, LockHeldElsewhereTimesOutAndIsFreeAfterUnlock) {
    OTestTool tool;
    LockHolder holder([&] { return tool.bTryLock(1000ms); }, [&] { tool.Unlock(); });
    ASSERT_TRUE(holder.bLocked());
    EXPECT_FALSE(tool.bTryLock(0ms)) << "the zero time-out of painting and extraction";
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(tool.bTryLock(50ms));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 25ms) << "it waited before giving up";
    holder.Release();
    EXPECT_TRUE(tool.bTryLock(50ms));
    tool.Unlock();
}

}  // namespace
