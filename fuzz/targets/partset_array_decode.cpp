// Decodes the part sets of a project, registering the fuzz kinds in each; an accepted
// array must encode to bytes that decode to the same encoding.
#include "../FuzzSeeds.h"
#include "../SeedBuilders.h"
#include "model/partset/OType_ZRPartSetArray.h"

using namespace fuzzseeds;

namespace {
Bytes Encoded(const OType_ZRPartSetArray& sets) {
    OByteStream_Memory s;
    sets.iEncode(s);
    return s.TakeBytes();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    OType_ZRPartSetArray sets;
    auto in = OByteStream_Memory::View({data, size});
    if (!sets.iDecode(in, RegisterKinds)) {
        Check(sets.iGetNum() == 0 && sets.iGetActualPartSetNo() == -1);
        return 0;
    }
    Check(sets.iGetNum() == 0 ? sets.iGetActualPartSetNo() == -1
                              : sets.opGetActualPartSet() != nullptr);
    const Bytes first = Encoded(sets);
    OType_ZRPartSetArray again;
    auto in2 = OByteStream_Memory::View(first);
    Check(again.iDecode(in2, RegisterKinds) == 1);
    Check(Encoded(again) == first);
    return 0;
}

std::vector<std::vector<uint8_t>> KalvorFuzzSeeds() {
    OType_ZRPartSetArray sets;
    FillPartSet(*sets.opAddPartSet(nullptr, nullptr, nullptr, 1), 1);
    sets.opAddPartSet(nullptr, nullptr, nullptr, 2);
    sets.iSetActualPartSetNo(1);
    return {Encoded(sets), Encoded(OType_ZRPartSetArray())};
}
