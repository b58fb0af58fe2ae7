// Extracts the features of an arbitrary run list: the twelve basic features and one tool of
// every contour kind. The input's first byte chooses the variant rule and the tools'
// placement mode; the rest are little-endian 16-bit run values. Every result must be
// finite, the column index must agree with the run list, and a second run over the
// unchanged part must give the same features.
#include <cmath>
#include <cstring>

#include "../FuzzSeeds.h"
#include "device/DeviceInfoBuilder.h"
#include "extraction/OBasicContourFeatures.h"
#include "extraction/OHeadlessExtraction.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "platform/OUserInteraction_Scripted.h"
#include "tools/OType_ConfigTool_Combination.h"
#include "tools/OType_ConfigTool_Contour.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

std::vector<int16_t> Values(const uint8_t* data, size_t size) {
    std::vector<int16_t> v(size / 2);
    for (size_t i = 0; i < v.size(); ++i)
        v[i] = static_cast<int16_t>(static_cast<uint16_t>(data[2 * i] | (data[2 * i + 1] << 8)));
    return v;
}

std::vector<uint8_t> Bytes(uint8_t flags, const std::vector<int16_t>& values) {
    std::vector<uint8_t> b = {flags};
    for (int16_t v : values) {
        b.push_back(static_cast<uint8_t>(v & 0xFF));
        b.push_back(static_cast<uint8_t>((static_cast<uint16_t>(v) >> 8) & 0xFF));
    }
    return b;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const uint8_t flags = data[0];
    const std::vector<int16_t> runs = Values(data + 1, size - 1);
    const bool variant = flags & 1;

    OBasicContourMeasure measure;
    OBasicContourFeatures f;
    OContourColumns index;
    measure.Measure(runs, variant, f, &index);
    for (double v : f.values)
        Check(std::isfinite(v));
    OContourColumns built;
    built.Build(runs);
    Check(built.iGetColumns() == index.iGetColumns());
    Check(f.columns == index.iGetColumns());
    int64_t values = 0;
    for (int c = 0; c < built.iGetColumns(); ++c) {
        Check(built.ColumnValues(c).size() == index.ColumnValues(c).size());
        Check(built.Summary(c).area == index.Summary(c).area);
        values += static_cast<int64_t>(built.ColumnValues(c).size());
    }
    Check(values <= static_cast<int64_t>(runs.size()));
    Check(f.values[BasicFeature::kArea] >= 0);

    OUserInteraction_Scripted ui;
    ODeviceInfoRequest request;
    request.tools = 20;
    const ZRINFO info = DeviceInfo::MakeWithoutDevice(request);
    OHeadlessExtraction extraction(info, DeviceInfo::ReadTarget(info), ui);
    extraction.SetDeviceTypeCode(variant ? 258 : 778);
    OType_ZRPartSet partSet;
    extraction.PreparePartSet(partSet);
    const int mode = 1 + (flags >> 1) % 3;
    const int kinds[][2] = {{1, 30}, {2, 33}, {3, 22}, {3, 25}, {4, 38}, {4, 40}, {5, 47}, {7, 49}};
    int region = 0;
    for (const auto& k : kinds) {
        auto tool = partSet.ToolPrototypes().Create(k[0]);
        tool->SetFeatureType(k[1]);
        tool->SetRegion({region, region, region + 40, region + 300});
        region += 7;
        dynamic_cast<OType_ConfigTool_Contour&>(*tool).SetPlacementMode(mode);
        partSet.Tools().Add(std::move(tool));
    }
    auto comb = std::make_unique<OType_ConfigTool_Combination>();
    comb->SetOperand(0, OCombinationOperand::Tool(partSet.Tools().opGetAt(0)->iGetToolId()));
    comb->SetOperand(1, OCombinationOperand::Basic(BasicFeature::kArea));
    comb->SetOperation(static_cast<CombinationOp>(flags % 14));
    partSet.Tools().Add(std::move(comb));
    auto part = std::make_unique<OType_Part>();
    part->SetConturData(runs);
    OType_Part& p = *partSet.TeachParts().Add(std::move(part));
    Check(extraction.Extract(partSet) == 1);
    const OType_FeatureArray first = p.Features();
    Check(first.iGetNumOfFeatures() == 12 + partSet.Tools().iGetNum());
    for (const OType_Feature& feature : first)
        Check(std::isfinite(feature.value));
    if (runs.size() >= 2) {
        for (int i = 0; i < 12; ++i)
            Check(first.At(i).value == f.values[static_cast<size_t>(i)]);
    }
    Check(extraction.Extract(partSet) == 1);
    Check(p.Features() == first);
    return 0;
}

std::vector<std::vector<uint8_t>> KalvorFuzzSeeds() {
    return {
        Bytes(0, {10, -20}),
        Bytes(1, {10, 20, 30, -40, 1, -1, 5, -60}),
        Bytes(2, {0, -32767, -32768, -32767, 32767, -32767}),
        Bytes(4, {10, 20, 30, 40}),
        Bytes(3, {5, -9, 3}),
        Bytes(6, {100, 110, 50, 60, 0, -5, 100, 110, 50, -60}),
    };
}
