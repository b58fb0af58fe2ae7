// Decodes one family-2 image tool or data output with every kind of this program registered,
// seeded with every image tool kind (taught patterns and reference pictures included) and every
// data-output kind. An accepted tool must encode to bytes that decode to the same encoding,
// copies must encode alike, and measuring a part (camera image and contour) must give one
// feature per feature of the tool; an accepted data output must encode alike and write a
// part's result.
#include <opencv2/imgproc.hpp>

#include "../FuzzSeeds.h"
#include "../SeedBuilders.h"
#include "device/DeviceInfoBuilder.h"
#include "model/stream/OObjectBlock.h"
#include "model/stream/ObjectIds.h"
#include "model/partset/OType_ZRPartSet.h"
#include "tools/ToolKindRegistry.h"
#include "tools/kvt/OKvtPatternSearch.h"
#include "tools/kvt/OKvtTeaching.h"
#include "tools/kvt/OType_ConfigTool_KVT.h"
#include "tools/kvt/OType_ConfigTool_KVT_IMGCOMPARE.h"
#include "tools/kvt/OType_ConfigTool_KVT_PMATCH.h"

using namespace fuzzseeds;

namespace {

struct OContext {
    ZRINFO info;
    OType_ZRPartSet set;
    OType_Part part;
    OContext() {
        ODeviceInfoRequest r;
        r.target = {7, 818, 0, 16, 1, 8};
        r.fixedFeatures = 0;
        r.tools = 256;
        info = DeviceInfo::MakeWithoutDevice(r);
        RegisterToolAndDataOutputKinds(set);
        set.SetDeviceInfo(&info);
        set.SetFixedFeatures(0);
        OType_Image image(96, 64, 1);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 96; ++x)
                image.SetPixel(x, y, 0, static_cast<uint8_t>((x / 8 + y / 8) % 2 ? 40 : 200));
        part.AddImage(std::move(image));
        part.SetConturData({10, -30, 12, -40, 5, 9, 20, -50});
    }
};

const OContext& Context() {
    static const OContext context;
    return context;
}

cv::Mat Picture(int w, int h) {
    cv::Mat m(h, w, CV_8U, cv::Scalar(200));
    cv::circle(m, {w / 2, h / 2}, std::min(w, h) / 3, cv::Scalar(40), cv::FILLED);
    return m;
}

// What a taught tool carries beyond its settings: the pattern of a pattern-matching tool, the
// reference picture of an image comparison.
void Teach(OType_ConfigTool& tool) {
    if (auto* pmatch = dynamic_cast<OType_ConfigTool_KVT_PMATCH*>(&tool)) {
        if (auto* search = dynamic_cast<OKvtPatternSearch*>(&pmatch->Recognizer())) {
            OPatternMatching_V2_TemplateArray templates;
            auto t = std::make_unique<OPatternMatching_V2_Template>();
            t->name = "Pattern";
            t->image = KvtTeaching::ImageOf(Picture(12, 9));
            templates.Add(std::move(t));
            search->SetTemplates(std::move(templates));
        }
    }
    if (auto* compare = dynamic_cast<OType_ConfigTool_KVT_IMGCOMPARE*>(&tool))
        compare->SetReference(KvtTeaching::ImageOf(Picture(10, 8)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    OContext& c = const_cast<OContext&>(Context());
    const Bytes bytes(data, data + size);
    uint32_t id = 0;
    auto peek = OByteStream_Memory::View(bytes);
    if (!OObjectBlockReader::bPeekId(peek, id)) return 0;
    if (id == ObjectId::kDataOutput) {
        auto in = OByteStream_Memory::View(bytes);
        auto output = OType_DeviceDataIOArray::opCreateFromStream(in, c.set.DataOutputPrototypes());
        if (!output) return 0;
        const Bytes first = EncodeOf(*output);
        auto in2 = OByteStream_Memory::View(first);
        auto again = OType_DeviceDataIOArray::opCreateFromStream(in2, c.set.DataOutputPrototypes());
        Check(again && EncodeOf(*again) == first);
        Check(EncodeOf(*output->Clone()) == first);
        output->UpdateFeatureIndexList(c.set);
        (void)output->ResultForPart(c.set, c.part);
        return 0;
    }
    auto in = OByteStream_Memory::View(bytes);
    auto tool = OType_ConfigToolArray::opCreateCFToolFromStream(in, c.set.ToolPrototypes());
    if (!tool) return 0;
    const Bytes first = EncodeOf(*tool);
    auto in2 = OByteStream_Memory::View(first);
    auto again = OType_ConfigToolArray::opCreateCFToolFromStream(in2, c.set.ToolPrototypes());
    Check(again && EncodeOf(*again) == first);
    Check(EncodeOf(*tool->Clone()) == first);
    auto* image = dynamic_cast<OType_ConfigTool_KVT*>(tool.get());
    if (!image) return 0;
    for (int imageType : {0, 1}) {
        image->SetImageType(imageType);
        OType_FeatureArray features;
        image->iExtractObject_Test(c.set, c.info, c.part, features, 0, nullptr, 0, {});
        Check(features.iGetNumOfFeatures() == image->iGetNumOfFeatures());
    }
    return 0;
}

std::vector<std::vector<uint8_t>> KalvorFuzzSeeds() {
    OContext& c = const_cast<OContext&>(Context());
    std::vector<Bytes> seeds;
    for (int kind : c.set.ToolPrototypes().Kinds()) {
        if (kind < 100) continue;
        auto tool = c.set.ToolPrototypes().Create(kind);
        tool->SetRegion({8, 8, 80, 50});
        seeds.push_back(EncodeOf(*tool));
        Teach(*tool);
        seeds.push_back(EncodeOf(*tool));
    }
    for (int kind : c.set.DataOutputPrototypes().Kinds())
        seeds.push_back(EncodeOf(*c.set.DataOutputPrototypes().Create(kind)));
    return seeds;
}
