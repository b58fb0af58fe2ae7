// Decodes a tool list with the fuzz tool kind registered (other kinds become opaque
// tools); an accepted list must encode to bytes that decode to the same encoding, copies
// must encode alike, and ids must be unique.
#include <limits>
#include <set>

#include "../FuzzSeeds.h"
#include "../SeedBuilders.h"

using namespace fuzzseeds;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const OToolPrototypes prototypes = ToolPrototypes();
    OType_ConfigToolArray tools;
    if (!bDecodeToolsChecked(data, size, prototypes, tools)) return 0;
    // Ids stay unique and not negative, also for tools added after reading.
    for (int i = 0; i < 2; ++i)
        tools.Add(std::make_unique<OFuzzTool>());
    std::set<int> ids;
    for (const auto& t : tools) {
        Check(t->iGetToolId() >= 0);
        ids.insert(t->iGetToolId());
    }
    Check(ids.size() == static_cast<size_t>(tools.iGetNum()));
    Check(tools.opGetCFToolAtFeature(-1, 12) == nullptr);
    Check(tools.opGetCFToolAtFeature(11, 12) == nullptr);
    Check(tools.opGetCFToolAtFeature(12 + tools.iGetNumOfFeatures(), 12) == nullptr);
    for (int i = 0; i < tools.iGetNum(); ++i) {
        if (tools.opGetAt(i)->iGetNumOfFeatures() == 0) continue;
        Check(tools.opGetCFToolAtFeature(tools.GetFeatureIndex_First(i, 12), 12) ==
              tools.opGetAt(i));
        Check(tools.opGetCFToolAtFeature(tools.GetFeatureIndex_Last(i, 12), 12) ==
              tools.opGetAt(i));
    }
    return 0;
}

std::vector<std::vector<uint8_t>> KalvorFuzzSeeds() {
    OType_ConfigToolArray one;
    one.Add(std::make_unique<OFuzzTool>());
    // Ids near the largest one.
    OType_ConfigToolArray high;
    auto tool = std::make_unique<OFuzzTool>();
    tool->SetToolId(std::numeric_limits<int>::max() - 1);
    high.Add(std::move(tool));
    return {EncodeOf(SampleTools()), EncodeOf(one), EncodeOf(high),
            EncodeOf(OType_ConfigToolArray())};
}
