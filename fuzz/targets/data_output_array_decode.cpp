// Decodes a data-output list with the fuzz output kind registered (other kinds become
// opaque outputs); an accepted list must encode to bytes that decode to the same
// encoding, with a selection inside the list.
#include <limits>
#include <set>

#include "../FuzzSeeds.h"
#include "../SeedBuilders.h"

using namespace fuzzseeds;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const ODataOutputPrototypes prototypes = DataOutputPrototypes();
    OType_DeviceDataIOArray outputs;
    auto in = OByteStream_Memory::View({data, size});
    if (!outputs.iDecode(in, prototypes)) {
        Check(outputs.iGetNum() == 0 && outputs.iGetSelected() == -1);
        return 0;
    }
    Check(outputs.iGetSelected() >= -1 && outputs.iGetSelected() < outputs.iGetNum());
    const Bytes first = EncodeOf(outputs);
    OType_DeviceDataIOArray again;
    auto in2 = OByteStream_Memory::View(first);
    Check(again.iDecode(in2, prototypes) == 1);
    Check(EncodeOf(again) == first);
    Check(EncodeOf(OType_DeviceDataIOArray(outputs)) == first);
    // Ids stay unique and not negative, also for outputs added after reading.
    for (int i = 0; i < 2; ++i)
        outputs.Add(std::make_unique<OFuzzOutput>());
    std::set<int> ids;
    for (const auto& o : outputs) {
        Check(o->iGetDataIOId() >= 0);
        ids.insert(o->iGetDataIOId());
    }
    Check(ids.size() == static_cast<size_t>(outputs.iGetNum()));
    return 0;
}

std::vector<std::vector<uint8_t>> KalvorFuzzSeeds() {
    // Ids near the largest one.
    OType_DeviceDataIOArray high;
    auto output = std::make_unique<OFuzzOutput>();
    output->SetDataIOId(std::numeric_limits<int>::max() - 1);
    high.Add(std::move(output));
    return {EncodeOf(SampleDataOutputs()), EncodeOf(high), EncodeOf(OType_DeviceDataIOArray())};
}
