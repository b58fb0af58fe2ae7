// Decodes a part list; an accepted one must encode to bytes that decode to the same
// encoding, and every sort order must be a permutation of the list.
#include "../FuzzSeeds.h"
#include "../SeedBuilders.h"

using namespace fuzzseeds;

namespace {
void CheckSortOrders(OType_PartArray& parts) {
    for (int type = 0; type < kNumPartSortTypes; ++type) {
        parts.SetSortType(static_cast<PartSortType>(type), 1);
        std::vector<bool> seen(static_cast<size_t>(parts.iGetSize()), false);
        for (int pos = 0; pos < parts.iGetSize(); ++pos) {
            const OType_Part* part = parts.GetAt(pos);
            Check(part != nullptr && parts.iGetSortPosOf(part) == pos);
            for (int i = 0; i < parts.iGetSize(); ++i) {
                if (parts.GetAt_NoSort(i) != part) continue;
                Check(!seen[static_cast<size_t>(i)] && parts.iGetSortPos(i) == pos);
                seen[static_cast<size_t>(i)] = true;
            }
        }
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    OType_PartArray parts;
    auto in = OByteStream_Memory::View({data, size});
    if (!parts.iDecode(in)) {
        Check(parts.bIsEmpty());
        return 0;
    }
    const Bytes first = EncodeOf(parts);
    OType_PartArray again;
    auto in2 = OByteStream_Memory::View(first);
    Check(again.iDecode(in2) == 1);
    Check(EncodeOf(again) == first);
    Check(EncodeOf(OType_PartArray(parts)) == first);
    CheckSortOrders(parts);
    return 0;
}

std::vector<std::vector<uint8_t>> KalvorFuzzSeeds() {
    OType_PartArray parts;
    for (int i = 0; i < 4; ++i)
        parts.Add(SamplePart(4 - i, i == 1));
    parts.SetSortType(PartSortType::Result);
    OByteStream_Memory contourOnly;
    parts.iEncode(contourOnly, PartContent::kContour);
    return {EncodeOf(parts), contourOnly.TakeBytes(), EncodeOf(OType_PartArray())};
}
