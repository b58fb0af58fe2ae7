// Decodes a part; an accepted one must encode to bytes that decode to the same encoding,
// and copies must encode alike.
#include "../FuzzSeeds.h"
#include "../SeedBuilders.h"

using namespace fuzzseeds;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    OType_Part part;
    if (!part.iDecode({data, size})) {
        Check(part.Encode() == OType_Part().Encode());
        return 0;
    }
    const Bytes first = part.Encode();
    OType_Part again;
    Check(again.iDecode(first) == 1);
    Check(again.Encode() == first);
    OType_Part copy;
    part.CopyTo(copy);
    Check(copy.Encode() == first);
    Check(again.Encode(PartContent::kContour) == part.Encode(PartContent::kContour));
    return 0;
}

std::vector<std::vector<uint8_t>> KalvorFuzzSeeds() {
    return {SamplePart(1, true).Encode(), SamplePart(2, true).Encode(PartContent::kImages),
            SamplePart(3, false).Encode(PartContent::kContour | PartContent::kFeatures),
            OType_Part().Encode()};
}
