#include "model/tools/OType_ConfigTool.h"

#include "model/stream/OByteStream_Memory.h"
#include "model/stream/OObjectBlock.h"
#include "model/stream/ObjectIds.h"

std::unique_ptr<OType_ConfigTool> OType_ConfigTool::Clone() const {
    auto copy = CreateNew();
    CopyTo(*copy);
    return copy;
}

void OType_ConfigTool::CopyTo(OType_ConfigTool& other) const {
    other.m_toolId = m_toolId;
    other.m_name = m_name;
    other.m_featureType = m_featureType;
    other.m_region = m_region;
    other.m_modified = m_modified;
    other.m_coordTrans = m_coordTrans;
    other.m_imageType = m_imageType;
    other.m_trailer = m_trailer;
}

std::vector<int> OType_ConfigTool::GetDirectReferencedFeatures(const OType_ZRPartSet&) const {
    return {};
}

int OType_ConfigTool::iCheckPropertyCompatibility(const ZRINFO&, std::string& text) const {
    text.clear();
    return 0;
}

int OType_ConfigTool::iAdjustPropertyCompatibility(const ZRINFO&) {
    return 1;
}
int OType_ConfigTool::iChangePositionSymmetrical(int, const ZRINFO&) {
    return 1;
}
void OType_ConfigTool::UpdateCFToolDefinition(OType_ZRPartSet&, const ZRINFO&, const OType_Part&,
                                              OType_FeatureArray&) {}
int OType_ConfigTool::iInitAfterCheckprogramLoad(OType_ZRPartSet&, const ZRINFO&) {
    return 1;
}
int OType_ConfigTool::iFinalizeBeforeCheckprogramUnload(OType_ZRPartSet&, const ZRINFO&) {
    return 1;
}

int OType_ConfigTool::iExtractObject_Teach(OType_ZRPartSet& partSet, const ZRINFO& deviceInfo,
                                           OType_Part& part, OType_FeatureArray& features, int mode,
                                           OPainter* painter, int drawFlags, const ORect& clip) {
    return iExtractObject_Test(partSet, deviceInfo, part, features, mode, painter, drawFlags, clip);
}

void OType_ConfigTool::TeachPart(OType_ZRPartSet&, const OType_Part&, const OType_FeatureArray&) {}
void OType_ConfigTool::iStopTeach(OType_ZRPartSet&) {}
void OType_ConfigTool::iStopTest(OType_ZRPartSet&) {}
void OType_ConfigTool::PrintCFTool(OPainter&, const OType_ZRPartSet&) {}

OPropertyList OType_ConfigTool::DescribeProperties(const OPropertyContext&) const {
    constexpr int64_t kLimit = 1 << 20;
    return {
        PropertyList::Text("name", "Name", "General", m_name, 63),
        PropertyList::Integer("region.left", "Region left", "General", m_region.left, -kLimit,
                              kLimit, "px"),
        PropertyList::Integer("region.top", "Region top", "General", m_region.top, -kLimit, kLimit,
                              "px"),
        PropertyList::Integer("region.right", "Region right", "General", m_region.right, -kLimit,
                              kLimit, "px"),
        PropertyList::Integer("region.bottom", "Region bottom", "General", m_region.bottom, -kLimit,
                              kLimit, "px"),
    };
}

bool OType_ConfigTool::bApplyProperties(const OPropertyValues& values,
                                        const OPropertyContext& context, std::string& error) {
    const OPropertyList list = DescribeProperties(context);
    if (!PropertyList::bValidateAll(list, values, error) ||
        !bCheckProperties(PropertyList::Merge(list, values), context, error)) {
        return false;
    }
    const bool changed = PropertyList::bAnyChanged(list, values);
    ApplyProperties(values, context);
    if (changed) {
        SetModifiedFlag(true);
    }
    return true;
}

bool OType_ConfigTool::bCheckProperties(const OPropertyValues& merged, const OPropertyContext&,
                                        std::string& error) const {
    using PropertyList::iGet;
    if (iGet(merged, "region.right", 0) < iGet(merged, "region.left", 0) ||
        iGet(merged, "region.bottom", 0) < iGet(merged, "region.top", 0)) {
        error = "The region's right and bottom edges must not lie before its left and top edges.";
        return false;
    }
    return true;
}

void OType_ConfigTool::ApplyProperties(const OPropertyValues& values, const OPropertyContext&) {
    using PropertyList::iGet;
    m_name = PropertyList::sGet(values, "name", m_name);
    m_region.left = static_cast<int32_t>(iGet(values, "region.left", m_region.left));
    m_region.top = static_cast<int32_t>(iGet(values, "region.top", m_region.top));
    m_region.right = static_cast<int32_t>(iGet(values, "region.right", m_region.right));
    m_region.bottom = static_cast<int32_t>(iGet(values, "region.bottom", m_region.bottom));
}

int OType_ConfigTool::iEncode(OByteStream& s) const {
    OObjectBlockWriter block(s, ObjectId::kConfigTool);
    s.bWriteI32(iGetConfigToolType());
    s.bWriteI32(m_toolId);
    s.bWriteString(m_name);
    s.bWriteI32(m_featureType);
    s.bWriteI32(m_region.left);
    s.bWriteI32(m_region.top);
    s.bWriteI32(m_region.right);
    s.bWriteI32(m_region.bottom);
    s.bWriteBool(m_modified);
    s.bWriteBool(m_coordTrans);
    s.bWriteI32(m_imageType);
    OByteStream_Memory payload;
    EncodePayload(payload);
    s.bWriteByteArray(payload.Bytes());
    block.bWriteTrailer(m_trailer);
    return block.bClose() ? 1 : 0;
}

int OType_ConfigTool::iDecodeInto(OByteStream& s) {
    OObjectBlockReader block(s, ObjectId::kConfigTool);
    int32_t kind = 0;
    s.bReadI32(kind);
    if (!block.bIsOk() || kind != iGetConfigToolType()) return s.Fail();
    int32_t toolId = -1, featureType = 0, imageType = 0;
    std::string name;
    ORect region;
    bool modified = true, coordTrans = false;
    std::vector<uint8_t> payload;
    s.bReadI32(toolId);
    s.bReadString(name);
    s.bReadI32(featureType);
    s.bReadI32(region.left);
    s.bReadI32(region.top);
    s.bReadI32(region.right);
    s.bReadI32(region.bottom);
    s.bReadBool(modified);
    s.bReadBool(coordTrans);
    s.bReadI32(imageType);
    s.bReadByteArray(payload);
    if (!block.bIsOk()) return 0;
    auto payloadStream = OByteStream_Memory::View(payload);
    if (!bDecodePayload(payloadStream) || !payloadStream.bIsOk()) return s.Fail();
    m_trailer = block.TakeTrailer();
    if (!block.bClose()) return 0;
    m_toolId = toolId;
    m_name = std::move(name);
    m_featureType = featureType;
    m_region = region;
    m_modified = modified;
    m_coordTrans = coordTrans;
    m_imageType = imageType;
    return 1;
}
