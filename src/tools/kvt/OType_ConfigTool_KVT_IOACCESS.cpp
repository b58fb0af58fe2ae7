#include "tools/kvt/OType_ConfigTool_KVT_IOACCESS.h"

#include "model/part/OType_Part.h"
#include "model/stream/OByteStream.h"

OType_ConfigTool_KVT_IOACCESS::OType_ConfigTool_KVT_IOACCESS()
    : OType_ConfigTool_KVT(KvtToolKind::kIOAccess, KvtFeatureType::kInputValue) {}

std::unique_ptr<OType_ConfigTool> OType_ConfigTool_KVT_IOACCESS::CreateNew() const {
    return std::make_unique<OType_ConfigTool_KVT_IOACCESS>();
}

std::vector<OKvtFeatureDef> OType_ConfigTool_KVT_IOACCESS::FeatureDefs() const {
    return {{KvtFeatureType::kInputValue, "Input", ""}};
}

void OType_ConfigTool_KVT_IOACCESS::MeasureRegion(const OKvtMeasureInput& in,
                                                  OKvtMeasureOutput& out) const {
    out.Set(0, (in.part.iGetInputs() >> (m_input - 1)) & 1u);
}

OPropertyList OType_ConfigTool_KVT_IOACCESS::DescribeProperties(
    const OPropertyContext& context) const {
    OPropertyList list = OType_ConfigTool_KVT::DescribeProperties(context);
    list.push_back(PropertyList::Integer("io.input", "Input", "Input", m_input, 1, kInputs));
    return list;
}

void OType_ConfigTool_KVT_IOACCESS::ApplyProperties(const OPropertyValues& values,
                                                    const OPropertyContext& context) {
    OType_ConfigTool_KVT::ApplyProperties(values, context);
    m_input = static_cast<int>(PropertyList::iGet(values, "io.input", m_input));
}

void OType_ConfigTool_KVT_IOACCESS::EncodeKind(OByteStream& s) const {
    s.bWriteI32(m_input);
}

bool OType_ConfigTool_KVT_IOACCESS::bDecodeKind(OBlockFieldReader& r) {
    return r.I32(m_input, 1, kInputs);
}

void OType_ConfigTool_KVT_IOACCESS::CopyKindTo(OType_ConfigTool_KVT& other) const {
    if (auto* o = dynamic_cast<OType_ConfigTool_KVT_IOACCESS*>(&other)) o->m_input = m_input;
}
