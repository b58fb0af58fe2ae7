// Decodes the vector arrays of a part type (and so vector arrays and vectors); an accepted
// encoding must encode to bytes that decode to the same encoding.
#include "../FuzzSeeds.h"
#include "../SeedBuilders.h"

using namespace fuzzseeds;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    OType_VectorArray_Array arrays;
    auto in = OByteStream_Memory::View({data, size});
    if (!arrays.iDecode(in)) {
        Check(arrays.iGetNum() == 0);
        return 0;
    }
    const Bytes first = EncodeOf(arrays);
    OType_VectorArray_Array again;
    auto in2 = OByteStream_Memory::View(first);
    Check(again.iDecode(in2) == 1);
    Check(EncodeOf(again) == first);
    return 0;
}

std::vector<std::vector<uint8_t>> KalvorFuzzSeeds() {
    OType_VectorArray_Array one;
    one.Add().Add(OType_Vector());
    return {EncodeOf(SampleVectors()), EncodeOf(one), EncodeOf(OType_VectorArray_Array())};
}
