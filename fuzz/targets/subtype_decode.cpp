// Decodes a part type with its Teach-Data; an accepted one must encode to bytes that
// decode to the same encoding, with its values in their ranges.
#include "../FuzzSeeds.h"
#include "../SeedBuilders.h"

using namespace fuzzseeds;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    OType_ZRPartSet_SubType type;
    auto in = OByteStream_Memory::View({data, size});
    if (!type.iDecode(in)) {
        Check(EncodeOf(type) == EncodeOf(OType_ZRPartSet_SubType()));
        return 0;
    }
    Check(type.iGetTolerance() >= 0 &&
          type.iGetTolerance() <= OType_ZRPartSet_SubType::kMaxTolerance);
    Check(type.iGetNumOrientations() >= 0);
    const Bytes first = EncodeOf(type);
    OType_ZRPartSet_SubType again;
    auto in2 = OByteStream_Memory::View(first);
    Check(again.iDecode(in2) == 1);
    Check(EncodeOf(again) == first);
    return 0;
}

std::vector<std::vector<uint8_t>> KalvorFuzzSeeds() {
    return {EncodeOf(SampleSubType()), EncodeOf(OType_ZRPartSet_SubType())};
}
