// Decodes a part set with the fuzz kinds registered; an accepted one must encode to bytes
// that decode to the same encoding, keep its show state inside its lists, and come back
// unchanged from an undo step.
#include <algorithm>

#include "../FuzzSeeds.h"
#include "../SeedBuilders.h"

using namespace fuzzseeds;

namespace {
void CheckShowState(const OType_ZRPartSet& ps) {
    const int teach = ps.iShowTeachPartGetNo();
    const int test = ps.iShowTestPartGetNo();
    Check(teach >= -1 && teach < std::max(1, ps.TeachParts().iGetSize()));
    Check(test >= -1 && test < std::max(1, ps.TestParts().iGetSize()));
    Check(ps.iShowFeatureGetNo() >= 0 &&
          ps.iShowFeatureGetNo() < std::max(1, ps.iGetNumOfFeatures()));
    Check(ps.iShowToolGetNo() >= -1 && ps.iShowToolGetNo() < ps.Tools().iGetNum());
    Check(ps.iShowSubTypeGetNo() >= 0 &&
          ps.iShowSubTypeGetNo() < std::max(1, ps.iGetNum_SubTypes()));
    Check(ps.iShowDataOutputGetNo() >= -1 &&
          ps.iShowDataOutputGetNo() < ps.DataOutputs().iGetNum());
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    OType_ZRPartSet ps;
    RegisterKinds(ps);
    if (!ps.iDecode({data, size})) {
        Check(ps.Encode() == OType_ZRPartSet().Encode());
        return 0;
    }
    CheckShowState(ps);
    const Bytes first = ps.Encode();
    OType_ZRPartSet again;
    RegisterKinds(again);
    Check(again.iDecode(first) == 1);
    Check(again.Encode() == first);

    // The history starts at the decoded state; edits undone bring it back.
    ps.UndoRedo().bStoreUndoData(ps, "UNDO:fuzz", "UNDO:fuzz ...", 0);
    ps.TeachParts().RemoveAll();
    ps.Tools().RemoveAll();
    ps.SetNumSubTypes(0);
    Check(ps.UndoRedo().bMakeUndo(ps, 1));
    Check(ps.Encode() == first);
    return 0;
}

std::vector<std::vector<uint8_t>> KalvorFuzzSeeds() {
    return {PartSetBytes(2), PartSetBytes(1, 1, 0), PartSetBytes(0, 0), OType_ZRPartSet().Encode()};
}
