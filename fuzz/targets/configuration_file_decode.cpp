// Decodes arbitrary bytes as a check-program configuration (".kvc"). A refused file leaves
// an empty part set; an accepted one writes back to bytes that decode to the same bytes.
#include "../FuzzSeeds.h"
#include "../SeedBuilders.h"
#include "document/files/ConfigurationFile.h"
#include "model/stream/OByteStream_Memory.h"

using namespace fuzzseeds;

namespace {

Bytes Written(const OType_ZRPartSet& set) {
    OByteStream_Memory out;
    Check(ConfigurationFile::bWrite(set, out));
    return out.TakeBytes();
}

}  // namespace

std::vector<std::vector<uint8_t>> KalvorFuzzSeeds() {
    OType_ZRPartSet set;
    FillPartSet(set, 3);
    return {Written(set), PartSetBytes(0, 0, 0)};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    OType_ZRPartSet set;
    RegisterKinds(set);
    std::string detail;
    if (!ConfigurationFile::iDecode({data, size}, set, detail)) {
        Check(!detail.empty());
        Check(set.TeachParts().bIsEmpty() && set.Tools().iGetNum() == 0);
        return 0;
    }
    const Bytes first = Written(set);
    OType_ZRPartSet again;
    RegisterKinds(again);
    Check(ConfigurationFile::iDecode(first, again, detail) == 1);
    Check(Written(again) == first);
    for (int i = 0; i < again.TeachParts().iGetSize(); ++i)
        Check(again.TeachParts().GetAt(i)->iGetNumImages() == 0);
    return 0;
}
