// Decodes the part data of one part type in either form (the first byte chooses the
// protocol); accepted data must encode to bytes that decode and encode to the same bytes,
// and both conversions between the forms must refuse or succeed without harm.
#include "../FuzzSeeds.h"
#include "../SeedBuilders.h"
#include "model/partset/PartDataEncoding.h"

using namespace fuzzseeds;

namespace {

void Prepare(OType_ZRPartSet& set, int protocol) {
    set.SetFixedFeatures(protocol == PartData::kProtocolLegacy ? 12 : 0);
    set.SetNumSubTypes(1);
    set.SetName("Fuzz");
}

Bytes Encoded(const OType_ZRPartSet& set, int protocol) {
    Bytes bytes;
    int used = -1;
    Check(iEncodePartSet_SubType_PartData(set, 0, 1, bytes, used) == 1);
    Check(used == protocol);
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const int protocol = data[0] & 1;
    const std::span<const uint8_t> bytes(data + 1, size - 1);
    Bytes converted;
    iConvertEncoded_PartData(bytes, protocol, 1 - protocol, converted);
    iConvertEncoded_PartData(bytes, protocol, protocol, converted);

    OType_ZRPartSet set;
    Prepare(set, protocol);
    const Bytes before = EncodeOf(*set.opGetSubType(0));
    std::string name = set.GetName();
    if (!iDecodePartSet_SubType_PartData(set, 0, bytes, protocol, name)) {
        Check(EncodeOf(*set.opGetSubType(0)) == before);
        return 0;
    }
    const OType_ZRPartSet_SubType& type = *set.opGetSubType(0);
    Check(type.iGetTolerance() >= 0 &&
          type.iGetTolerance() <= OType_ZRPartSet_SubType::kMaxTolerance);
    set.SetName(name);
    // A legacy record stores no more than it holds: the first encoding may normalise it,
    // from then on it is stable.
    const Bytes first = Encoded(set, protocol);
    OType_ZRPartSet again;
    Prepare(again, protocol);
    std::string againName;
    Check(iDecodePartSet_SubType_PartData(again, 0, first, protocol, againName) == 1);
    again.SetName(againName);
    const Bytes second = Encoded(again, protocol);
    if (protocol == PartData::kProtocolPackage) {
        Check(second == first);
        return 0;
    }
    OType_ZRPartSet third;
    Prepare(third, protocol);
    std::string thirdName;
    Check(iDecodePartSet_SubType_PartData(third, 0, second, protocol, thirdName) == 1);
    third.SetName(thirdName);
    Check(Encoded(third, protocol) == second);
    return 0;
}

std::vector<std::vector<uint8_t>> KalvorFuzzSeeds() {
    std::vector<std::vector<uint8_t>> seeds;
    for (int protocol : {0, 1}) {
        OType_ZRPartSet set;
        Prepare(set, protocol);
        *set.opGetSubType(0) = SampleSubType();
        Bytes bytes;
        int used = -1;
        if (!iEncodePartSet_SubType_PartData(set, 0, 1, bytes, used)) continue;
        bytes.insert(bytes.begin(), static_cast<uint8_t>(protocol));
        seeds.push_back(std::move(bytes));
    }
    Bytes shortRecord(PartData::kShortRecordBytes + 1, 0);
    seeds.push_back(shortRecord);
    return seeds;
}
