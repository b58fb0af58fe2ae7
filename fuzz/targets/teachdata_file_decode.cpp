// Decodes arbitrary bytes as a Teach-Data file of one part type (".typ", ".zrt" or the
// device's ".bin"). A refused file leaves the part type as it was; an accepted one saves in
// the new format and reads back to the same bytes.
#include "../FuzzSeeds.h"
#include "../SeedBuilders.h"
#include "document/files/TeachDataFile.h"
#include "model/device/ZRINFO.h"
#include "model/partset/PartDataEncoding.h"

using namespace fuzzseeds;

namespace {

void Prepare(OType_ZRPartSet& set) {
    set.SetFixedFeatures(12);
    set.SetNumSubTypes(1);
    set.SetName("Fuzz");
}

Bytes Saved(const OType_ZRPartSet& set, int conversion) {
    Bytes bytes;
    int textId = 0;
    std::string detail;
    Check(TeachDataFile::iEncode(set, 0, conversion, bytes, textId, detail) == 1);
    return bytes;
}

}  // namespace

std::vector<std::vector<uint8_t>> KalvorFuzzSeeds() {
    OType_ZRPartSet set;
    Prepare(set);
    *set.opGetSubType(0) = SampleSubType();
    std::vector<std::vector<uint8_t>> seeds;
    for (int conversion : {0, 1, 10, 11}) {
        Bytes bytes;
        int textId = 0;
        std::string detail;
        if (TeachDataFile::iEncode(set, 0, conversion, bytes, textId, detail))
            seeds.push_back(std::move(bytes));
    }
    seeds.push_back(Bytes(PartData::kShortRecordBytes, 0));
    return seeds;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    OType_ZRPartSet set;
    Prepare(set);
    *set.opGetSubType(0) = SampleSubType();
    const Bytes before = EncodeOf(*set.opGetSubType(0));
    std::string detail;
    if (!TeachDataFile::iDecode(set, 0, {data, size}, detail)) {
        Check(!detail.empty());
        Check(EncodeOf(*set.opGetSubType(0)) == before);
        return 0;
    }
    const Bytes first = Saved(set, 1);
    OType_ZRPartSet again;
    Prepare(again);
    Check(TeachDataFile::iDecode(again, 0, first, detail) == 1);
    Check(Saved(again, 1) == first);
    // The old format and the device's form refuse or succeed without harm.
    for (int conversion : {0, 10, 11}) {
        Bytes bytes;
        int textId = 0;
        TeachDataFile::iEncode(again, 0, conversion, bytes, textId, detail);
    }
    return 0;
}
