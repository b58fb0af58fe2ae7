// Decodes a tool list with every tool kind registered, seeded with the pattern-matching,
// reader, ray and image-compare tools (taught patterns and references included). An accepted
// list encodes to bytes that decode to the same encoding, and its copies encode alike.
#include <opencv2/imgproc.hpp>

#include "../FuzzSeeds.h"
#include "../SeedBuilders.h"
#include "tools/ToolKindRegistry.h"
#include "tools/kvt/OKvtPatternSearch.h"
#include "tools/kvt/OKvtTeaching.h"
#include "tools/kvt/OType_ConfigTool_KVT_IMGCOMPARE.h"
#include "tools/kvt/OType_ConfigTool_KVT_PMATCH.h"

using namespace fuzzseeds;

namespace {

// A part set with every kind registered, made once (it stays reachable until the end).
const OType_ZRPartSet& Registered() {
    static const OType_ZRPartSet* set = [] {
        auto* s = new OType_ZRPartSet;
        RegisterToolAndDataOutputKinds(*s);
        return s;
    }();
    return *set;
}

cv::Mat Picture(int w, int h) {
    cv::Mat m(h, w, CV_8U, cv::Scalar(200));
    cv::circle(m, {w / 2, h / 2}, std::min(w, h) / 3, cv::Scalar(40), cv::FILLED);
    return m;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    OType_ConfigToolArray tools;
    bDecodeToolsChecked(data, size, Registered().ToolPrototypes(), tools);
    return 0;
}

std::vector<std::vector<uint8_t>> KalvorFuzzSeeds() {
    const OToolPrototypes& prototypes = Registered().ToolPrototypes();
    OType_ConfigToolArray tools;
    for (int kind : {106, 107, 108, 109, 111, 112, 122}) {
        auto tool = prototypes.Create(kind);
        if (auto* pmatch = dynamic_cast<OType_ConfigTool_KVT_PMATCH*>(tool.get())) {
            if (auto* search = dynamic_cast<OKvtPatternSearch*>(&pmatch->Recognizer())) {
                OPatternMatching_V2_TemplateArray templates;
                auto t = std::make_unique<OPatternMatching_V2_Template>();
                t->name = "Pattern";
                t->image = KvtTeaching::ImageOf(Picture(12, 9));
                templates.Add(std::move(t));
                search->SetTemplates(std::move(templates));
            }
        }
        if (auto* compare = dynamic_cast<OType_ConfigTool_KVT_IMGCOMPARE*>(tool.get()))
            compare->SetReference(KvtTeaching::ImageOf(Picture(10, 8)));
        tools.Add(std::move(tool));
    }
    return {EncodeOf(tools), EncodeOf(OType_ConfigToolArray())};
}
