#include "tools/kvt/OType_ConfigTool_KVT_DATAACCESS.h"

#include "model/part/OType_Part.h"
#include "model/stream/OByteStream.h"

namespace {
const std::string kPage = "Flag word";
}

OType_ConfigTool_KVT_DATAACCESS::OType_ConfigTool_KVT_DATAACCESS()
    : OType_ConfigTool_KVT(KvtToolKind::kFlagword, KvtFeatureType::kFlagwordValue) {}

std::unique_ptr<OType_ConfigTool> OType_ConfigTool_KVT_DATAACCESS::CreateNew() const {
    return std::make_unique<OType_ConfigTool_KVT_DATAACCESS>();
}

std::vector<OKvtFeatureDef> OType_ConfigTool_KVT_DATAACCESS::FeatureDefs() const {
    return {{KvtFeatureType::kFlagwordValue, "Flag value", ""}};
}

void OType_ConfigTool_KVT_DATAACCESS::MeasureRegion(const OKvtMeasureInput& in,
                                                    OKvtMeasureOutput& out) const {
    out.Set(0, static_cast<double>((in.part.iGetFlagWord() & m_mask) >> m_shift));
}

OPropertyList OType_ConfigTool_KVT_DATAACCESS::DescribeProperties(
    const OPropertyContext& context) const {
    using namespace PropertyList;
    OPropertyList list = OType_ConfigTool_KVT::DescribeProperties(context);
    list.push_back(Integer("flag.mask", "Mask", kPage, m_mask, 0, 0xFFFFFFFFll));
    list.push_back(Integer("flag.shift", "Shift right by", kPage, m_shift, 0, 31, "bits"));
    return list;
}

void OType_ConfigTool_KVT_DATAACCESS::ApplyProperties(const OPropertyValues& values,
                                                      const OPropertyContext& context) {
    OType_ConfigTool_KVT::ApplyProperties(values, context);
    m_mask = static_cast<uint32_t>(PropertyList::iGet(values, "flag.mask", m_mask));
    m_shift = static_cast<int>(PropertyList::iGet(values, "flag.shift", m_shift));
}

void OType_ConfigTool_KVT_DATAACCESS::EncodeKind(OByteStream& s) const {
    s.bWriteU32(m_mask);
    s.bWriteI32(m_shift);
}

bool OType_ConfigTool_KVT_DATAACCESS::bDecodeKind(OBlockFieldReader& r) {
    uint32_t mask = m_mask;
    int shift = m_shift;
    if (!r.U32(mask) || !r.I32(shift, 0, 31)) return false;
    m_mask = mask;
    m_shift = shift;
    return true;
}

void OType_ConfigTool_KVT_DATAACCESS::CopyKindTo(OType_ConfigTool_KVT& other) const {
    if (auto* o = dynamic_cast<OType_ConfigTool_KVT_DATAACCESS*>(&other)) {
        o->m_mask = m_mask;
        o->m_shift = m_shift;
    }
}
