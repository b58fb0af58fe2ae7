// Reads a project-properties record of any length; what it read must encode and read back
// the same, and reading never goes beyond the data.
#include "../FuzzSeeds.h"
#include "../SeedBuilders.h"
#include "model/project/OType_ProjectProperties.h"

using namespace fuzzseeds;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    OType_ProjectProperties properties;
    auto in = OByteStream_Memory::View({data, size});
    const int result = properties.iDecode(in);
    Check(in.iGetPos() <= size);
    if (!result) return 0;
    const Bytes first = properties.Encode();
    OType_ProjectProperties again;
    Check(again.iDecode(first) == 1);
    Check(again.Encode() == first);
    return 0;
}

std::vector<std::vector<uint8_t>> KalvorFuzzSeeds() {
    OType_ProjectProperties changed;
    changed.useTypes = 0;
    changed.scale[2] = 4.5;
    changed.trailingBytes = {1, 2, 3};
    Bytes old = OType_ProjectProperties().Encode();
    old.resize(20);
    old[0] = 16;  // a record of an older program: fields 3-6 only
    return {OType_ProjectProperties().Encode(), changed.Encode(), old};
}
