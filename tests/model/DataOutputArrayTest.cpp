#include <gtest/gtest.h>

#include <limits>
#include <set>

#include "ModelTestSupport.h"
#include "PartSetSamples.h"
#include "model/device/ZRINFO.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/stream/OObjectBlock.h"
#include "model/stream/ObjectIds.h"
#include "model/tools/OType_DeviceDataIOArray.h"

using namespace modeltest;

namespace {

class OCountingOutput : public OTestOutput {
  public:
    void UpdateFeatureIndexList(const OType_ZRPartSet&) override { ++updates; }
    int updates = 0;
};

ODataOutputPrototypes TestPrototypes() {
    ODataOutputPrototypes prototypes;
    prototypes.RegisterKind(std::make_unique<OTestOutput>());
    return prototypes;
}

std::unique_ptr<OTestOutput> MakeOutput(const std::string& name, int id = -1, int packetId = -1,
                                        const std::string& packetName = "") {
    auto o = std::make_unique<OTestOutput>("host-" + name, 2000 + static_cast<int>(name.size()));
    o->SetName(name);
    o->SetDataIOId(id);
    o->SetPacketId(packetId);
    o->SetPacketName(packetName);
    o->SetModifiedFlag(false);
    return o;
}

OType_DeviceDataIOArray Outputs(std::initializer_list<const char*> names) {
    OType_DeviceDataIOArray outputs;
    for (const char* n : names)
        outputs.Add(MakeOutput(n));
    return outputs;
}

std::string Selected(const OType_DeviceDataIOArray& outputs) {
    const OType_DeviceDataIO* o = outputs.opGetAt(outputs.iGetSelected());
    return o ? o->GetName() : "none";
}

Bytes ForeignOutputBytes() {
    OForeignOutput foreign("ftp.example.org", 21);
    foreign.SetName("FTP");
    foreign.SetDataIOId(8);
    foreign.SetPacketName("images");
    return EncodeOf(foreign);
}

TEST(DataOutputArray, SelectionFollowsInsertRemoveAndSwap) {
    OType_DeviceDataIOArray outputs = Outputs({"A", "B", "C"});
    EXPECT_EQ(outputs.iGetSelected(), -1);
    outputs.Insert(0, MakeOutput("X"));
    EXPECT_EQ(outputs.iGetSelected(), -1) << "no selection stays none";

    outputs.SetSelected(2);  // B
    outputs.Insert(0, MakeOutput("Y"));
    EXPECT_EQ(Selected(outputs), "B");
    outputs.Insert(3, MakeOutput("Z"));  // right before B
    EXPECT_EQ(Selected(outputs), "B");
    outputs.Add(MakeOutput("W"));
    EXPECT_EQ(Selected(outputs), "B");  // Y X A Z B C W

    outputs.RemoveAt(0);
    EXPECT_EQ(Selected(outputs), "B");
    outputs.RemoveAt(5);
    EXPECT_EQ(Selected(outputs), "B");  // X A Z B C
    outputs.RemoveAt(3);
    EXPECT_EQ(Selected(outputs), "C") << "removing the selection selects the next one";
    outputs.RemoveAt(3);
    EXPECT_EQ(Selected(outputs), "Z") << "or the last one";

    outputs.Swap(0, 2);  // Z A X
    EXPECT_EQ(outputs.iGetSelected(), 0);
    EXPECT_EQ(Selected(outputs), "Z");
    outputs.Swap(1, 0);
    EXPECT_EQ(outputs.iGetSelected(), 1);
    outputs.Swap(0, 2);
    EXPECT_EQ(Selected(outputs), "Z") << "swapping others keeps the selection";
    outputs.Swap(0, 3);
    EXPECT_EQ(outputs.iGetSelected(), 1);

    outputs.SetSelected(3);
    EXPECT_EQ(outputs.iGetSelected(), -1);
    outputs.SetSelected(0);
    outputs.RemoveAll();
    EXPECT_EQ(outputs.iGetSelected(), -1);
    OType_DeviceDataIOArray one = Outputs({"A"});
    one.SetSelected(0);
    one.RemoveAt(0);
    EXPECT_EQ(one.iGetSelected(), -1);
}

TEST(DataOutputArray, IdsAreUnique) {
    OType_DeviceDataIOArray outputs = Outputs({"A", "B"});
    outputs.Add(MakeOutput("Explicit", 7));
    outputs.Add(MakeOutput("Duplicate", 1));
    outputs.Add(MakeOutput("New"));
    outputs.Add(MakeOutput("Top", std::numeric_limits<int>::max()));
    outputs.Add(MakeOutput("AfterTop"));
    outputs.Add(MakeOutput("AfterTop2"));
    std::set<int> ids;
    for (const auto& o : outputs) {
        EXPECT_GT(o->iGetDataIOId(), 0) << o->GetName();
        ids.insert(o->iGetDataIOId());
    }
    EXPECT_EQ(ids.size(), 8u);
    EXPECT_EQ(outputs.opGetAt(2)->iGetDataIOId(), 7);
    EXPECT_EQ(outputs.Add(nullptr), nullptr);
}

TEST(DataOutputArray, PacketIdAndNameHelpers) {
    OType_DeviceDataIOArray outputs;
    EXPECT_EQ(outputs.iFirstFreePacketId(), 1);
    EXPECT_EQ(outputs.FirstFreePacketName("Result"), "Result");
    outputs.Add(MakeOutput("A", -1, 1, "Result"));
    outputs.Add(MakeOutput("B", -1, 2, "Result_2"));
    outputs.Add(MakeOutput("C", -1, 4, "Other"));
    EXPECT_EQ(outputs.iFirstFreePacketId(), 3);
    EXPECT_EQ(outputs.FirstFreePacketName("Result"), "Result_3");
    EXPECT_EQ(outputs.FirstFreePacketName("Other"), "Other_2");
    EXPECT_EQ(outputs.FirstFreePacketName("Fresh"), "Fresh");
    EXPECT_TRUE(outputs.bIsPacketIdUsed(4));
    EXPECT_FALSE(outputs.bIsPacketIdUsed(4, outputs.opGetAt(2)))
        << "an output does not clash with itself";
    EXPECT_FALSE(outputs.bIsPacketIdUsed(-1));
    EXPECT_TRUE(outputs.bIsPacketNameUsed("Result_2"));
    EXPECT_FALSE(outputs.bIsPacketNameUsed("Result_2", outputs.opGetAt(1)));
    EXPECT_FALSE(outputs.bIsPacketNameUsed(""));
    EXPECT_EQ(outputs.iCountKind(OTestOutput::kKind), 3);
    EXPECT_EQ(outputs.iCountKind(1), 0);
}

TEST(DataOutputArray, EveryOutputRebuildsItsFeatureTable) {
    OType_DeviceDataIOArray outputs;
    outputs.Add(std::make_unique<OCountingOutput>());
    outputs.Add(std::make_unique<OCountingOutput>());
    OType_ZRPartSet partSet;
    outputs.Update_LUT_FeatureIndexLists(partSet);
    for (const auto& o : outputs)
        EXPECT_EQ(dynamic_cast<const OCountingOutput&>(*o).updates, 1);
}

TEST(DataOutputArray, CopiesAreDeep) {
    OType_DeviceDataIOArray outputs = Outputs({"A", "B"});
    outputs.SetSelected(1);
    OType_DeviceDataIOArray copy(outputs);
    EXPECT_EQ(copy.iGetSelected(), 1);
    ASSERT_EQ(copy.iGetNum(), 2);
    EXPECT_NE(copy.opGetAt(0), outputs.opGetAt(0));
    EXPECT_EQ(EncodeOf(*copy.opGetAt(1)), EncodeOf(*outputs.opGetAt(1)));
    copy.opGetAt(0)->SetName("changed");
    EXPECT_EQ(outputs.opGetAt(0)->GetName(), "A");
}

TEST(DataOutputArray, RegisteredAndForeignOutputsRoundTrip) {
    OType_DeviceDataIOArray outputs = Outputs({"A", "B"});
    const Bytes foreignBytes = ForeignOutputBytes();
    auto in = OByteStream_Memory::View(foreignBytes);
    auto foreign = OType_DeviceDataIOArray::opCreateFromStream(in, TestPrototypes());
    ASSERT_NE(foreign, nullptr);
    ASSERT_NE(dynamic_cast<OType_DeviceDataIO_Opaque*>(foreign.get()), nullptr);
    std::string reason;
    EXPECT_FALSE(foreign->bIsAvailable(ZRINFO(), reason));
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(EncodeOf(*foreign), ForeignOutputBytes());
    EXPECT_EQ(EncodeOf(*foreign->Clone()), ForeignOutputBytes());
    outputs.Add(std::move(foreign));
    outputs.SetSelected(2);

    const Bytes bytes = EncodeOf(outputs);
    OType_DeviceDataIOArray back;
    auto bytesIn = OByteStream_Memory::View(bytes);
    ASSERT_EQ(back.iDecode(bytesIn, TestPrototypes()), 1);
    ASSERT_EQ(back.iGetNum(), 3);
    EXPECT_EQ(back.iGetSelected(), 2);
    const auto* b = dynamic_cast<const OTestOutput*>(back.opGetAt(1));
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->GetHost(), "host-B");
    EXPECT_EQ(b->iGetPort(), 2001);
    EXPECT_EQ(back.opGetAt(2)->GetPacketName(), "images");
    EXPECT_EQ(EncodeOf(back), bytes);
}

Bytes OutputArrayBytes(int32_t selected, int32_t nextId, const std::vector<Bytes>& outputs,
                       const Bytes& extra = {}) {
    OByteStream_Memory out;
    {
        OObjectBlockWriter block(out, ObjectId::kDataOutputArray);
        out.bWriteI32(selected);
        out.bWriteI32(nextId);
        out.bWriteU32(static_cast<uint32_t>(outputs.size()));
        for (const auto& o : outputs)
            out.bWriteRaw(o.data(), o.size());
        out.bWriteRaw(extra.data(), extra.size());
    }
    return out.TakeBytes();
}

TEST(DataOutputArray, NewerEncodingsKeepTheirExtraBytes) {
    const Bytes newerOutput = WithExtraPayload(EncodeOf(*MakeOutput("N", 2)), FutureFields());
    const Bytes newer = OutputArrayBytes(1, 9, {ForeignOutputBytes(), newerOutput}, FutureFields());
    OType_DeviceDataIOArray outputs;
    auto in = OByteStream_Memory::View(newer);
    ASSERT_EQ(outputs.iDecode(in, TestPrototypes()), 1);
    ASSERT_EQ(outputs.iGetNum(), 2);
    EXPECT_EQ(Selected(outputs), "N");
    EXPECT_EQ(EncodeOf(outputs), newer);
    EXPECT_EQ(EncodeOf(OType_DeviceDataIOArray(outputs)), newer);
}

// Ids on both sides of the wrap at the largest int and one output without an id: the list
// read back writes the same bytes, and a new output still gets an id of its own.
TEST(DataOutputArray, AListReadBackEncodesAlikeWhateverTheOrderOfItsIds) {
    constexpr int kLargest = std::numeric_limits<int>::max();
    const Bytes bytes =
        OutputArrayBytes(0, -3,
                         {EncodeOf(*MakeOutput("A", kLargest)),
                          EncodeOf(*MakeOutput("B", kLargest - 1)), EncodeOf(*MakeOutput("C"))});
    OType_DeviceDataIOArray first;
    auto in = OByteStream_Memory::View(bytes);
    ASSERT_EQ(first.iDecode(in, TestPrototypes()), 1);
    const Bytes once = EncodeOf(first);
    OType_DeviceDataIOArray second;
    auto again = OByteStream_Memory::View(once);
    ASSERT_EQ(second.iDecode(again, TestPrototypes()), 1);
    EXPECT_EQ(EncodeOf(second), once);
    second.Add(MakeOutput("D"));
    std::set<int> ids;
    for (const auto& o : second) {
        EXPECT_GT(o->iGetDataIOId(), 0) << o->GetName();
        ids.insert(o->iGetDataIOId());
    }
    EXPECT_EQ(ids.size(), 4u);
}

TEST(DataOutputArray, StoredOutOfRangeSelectionMeansNone) {
    const Bytes bytes = OutputArrayBytes(5, 3, {EncodeOf(*MakeOutput("A", 1))});
    OType_DeviceDataIOArray outputs;
    auto in = OByteStream_Memory::View(bytes);
    ASSERT_EQ(outputs.iDecode(in, TestPrototypes()), 1);
    EXPECT_EQ(outputs.iGetSelected(), -1);
}

TEST(DataOutputArray, MalformedInputIsRefused) {
    OType_DeviceDataIOArray sample = Outputs({"A", "B"});
    const Bytes valid = EncodeOf(sample);
    auto refused = [](const Bytes& b) {
        OType_DeviceDataIOArray outputs = Outputs({"X"});
        outputs.SetSelected(0);
        auto in = OByteStream_Memory::View(b);
        return outputs.iDecode(in, TestPrototypes()) == 0 && outputs.iGetNum() == 0 &&
               outputs.iGetSelected() == -1;
    };
    Bytes b = valid;
    SetU32At(b, 16, 0xFFFFFFFFu);
    EXPECT_TRUE(refused(b));
    b = valid;
    SetU32At(b, 4, ObjectId::kDataOutput);
    EXPECT_TRUE(refused(b));
    // A registered kind that refuses its payload (port out of range).
    Bytes badOutput = EncodeOf(OTestOutput("h", 1));
    SetU32At(badOutput, badOutput.size() - 4, 70000);
    EXPECT_TRUE(refused(OutputArrayBytes(-1, 1, {badOutput})));

    auto fresh = [] { return std::make_unique<OType_DeviceDataIOArray>(); };
    auto decode = [](OType_DeviceDataIOArray& o, OByteStream& s) {
        return o.iDecode(s, TestPrototypes());
    };
    auto encode = [](const OType_DeviceDataIOArray& o) { return EncodeOf(o); };
    ExpectBadInputHandled(valid, fresh, decode, encode, EncodeOf(OType_DeviceDataIOArray()));
}

}  // namespace
