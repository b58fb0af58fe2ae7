// Decodes an image; an accepted one must encode and decode to the same image.
#include "../FuzzSeeds.h"
#include "../SeedBuilders.h"

using namespace fuzzseeds;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    OType_Image image;
    auto in = OByteStream_Memory::View({data, size});
    if (!image.iDecode(in)) {
        Check(image == OType_Image());
        return 0;
    }
    const Bytes first = EncodeOf(image);
    OType_Image again;
    auto in2 = OByteStream_Memory::View(first);
    Check(again.iDecode(in2) == 1);
    Check(again == image);
    Check(EncodeOf(again) == first);
    return 0;
}

std::vector<std::vector<uint8_t>> KalvorFuzzSeeds() {
    return {EncodeOf(SampleImage(1)), EncodeOf(SampleImage(3)), EncodeOf(OType_Image())};
}
