// Decodes a feature array (and so its features); an accepted one must encode to bytes that
// decode to the same encoding. Encodings are compared rather than values, because a
// decoded value may be NaN.
#include "../FuzzSeeds.h"
#include "../SeedBuilders.h"

using namespace fuzzseeds;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    OType_FeatureArray features;
    auto in = OByteStream_Memory::View({data, size});
    if (!features.iDecode(in)) {
        Check(features.bIsEmpty());
        return 0;
    }
    const Bytes first = EncodeOf(features);
    OType_FeatureArray again;
    auto in2 = OByteStream_Memory::View(first);
    Check(again.iDecode(in2) == 1);
    Check(again.iGetNumOfFeatures() == features.iGetNumOfFeatures());
    Check(EncodeOf(again) == first);
    return 0;
}

std::vector<std::vector<uint8_t>> KalvorFuzzSeeds() {
    return {EncodeOf(SampleFeatures()), EncodeOf(OType_FeatureArray())};
}
