// Helpers of the family-2 tool tests: a camera's device information, a part set with the
// kinds registered, and synthetic images drawn with plain loops (not with the tools' code).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "device/DeviceInfoBuilder.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "tools/ToolKindRegistry.h"
#include "tools/kvt/OType_ConfigTool_KVT.h"

namespace KvtTest {

// A Kesta 1a camera (640 × 480 grey) with software 818 and 256 tools, or its colour twin.
inline ZRINFO CameraInfo(bool colour = false) {
    ODeviceInfoRequest r;
    r.target = {7, 818, 0, 16, 1, 8};
    r.fixedFeatures = 0;
    r.tools = 256;
    ZRINFO info = DeviceInfo::MakeWithoutDevice(r);
    if (colour) info.SetU8(ZRINFO::kPixelFormat, 24);
    return info;
}

// A part set of a camera project: kinds registered, no fixed features, one part type with
// two orientations.
inline std::unique_ptr<OType_ZRPartSet> PartSet(const ZRINFO& info) {
    auto set = std::make_unique<OType_ZRPartSet>();
    RegisterToolAndDataOutputKinds(*set);
    set->SetDeviceInfo(&info);
    set->SetFixedFeatures(0);
    set->opAddSubType()->SetNumOrientations(2);
    return set;
}

// A grey image filled by `grey(x, y)`.
inline OType_Image GreyImage(int width, int height, const std::function<int(int, int)>& grey) {
    OType_Image image(width, height, 1);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.SetPixel(x, y, 0, static_cast<uint8_t>(grey(x, y)));
    return image;
}

inline OType_Part PartWithImage(OType_Image image) {
    OType_Part part;
    part.AddImage(std::move(image));
    return part;
}

// Adds a tool of the part set's registered kind to its tool list, on camera image 1.
inline OType_ConfigTool_KVT& AddTool(OType_ZRPartSet& set, int kind, int subKind = -1) {
    auto tool = set.ToolPrototypes().Create(kind);
    auto* kvt = dynamic_cast<OType_ConfigTool_KVT*>(tool.get());
    if (!kvt) throw std::runtime_error("not an image tool kind");
    if (subKind >= 0) kvt->SetFeatureType(subKind);
    kvt->SetImageType(1);
    OType_Part none;
    kvt->UpdateCFToolDefinition(set, *set.opGetDeviceInfo(), none, none.Features());
    return static_cast<OType_ConfigTool_KVT&>(*set.Tools().Add(std::move(tool)));
}

// The features a tool writes for a part (tools before it extracted first).
inline OType_FeatureArray Extract(OType_ZRPartSet& set, OType_Part& part) {
    part.Features().RemoveAll();
    for (const auto& tool : set.Tools())
        tool->iExtractObject_Test(set, *set.opGetDeviceInfo(), part, part.Features(), 0, nullptr, 0,
                                  {});
    return part.Features();
}

}  // namespace KvtTest
