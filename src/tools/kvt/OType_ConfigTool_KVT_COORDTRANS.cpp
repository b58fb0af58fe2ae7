#include "tools/kvt/OType_ConfigTool_KVT_COORDTRANS.h"

#include <algorithm>

#include "model/coordtrans/OCoordTrans_Tsai_Transformer.h"
#include "model/part/OType_Feature.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/stream/OByteStream.h"

namespace {
const std::string kPage = "Point";
constexpr double kZLimit = 1e6;
}  // namespace

OType_ConfigTool_KVT_COORDTRANS::OType_ConfigTool_KVT_COORDTRANS()
    : OType_ConfigTool_KVT(KvtToolKind::kCoordTrans, KvtFeatureType::kWorldX) {}

std::unique_ptr<OType_ConfigTool> OType_ConfigTool_KVT_COORDTRANS::CreateNew() const {
    return std::make_unique<OType_ConfigTool_KVT_COORDTRANS>();
}

std::vector<OKvtFeatureDef> OType_ConfigTool_KVT_COORDTRANS::FeatureDefs() const {
    return {{KvtFeatureType::kWorldX, "World X", "world units"},
            {KvtFeatureType::kWorldY, "World Y", "world units"}};
}

std::vector<OKvtFeatureRef> OType_ConfigTool_KVT_COORDTRANS::References() const {
    std::vector<OKvtFeatureRef> refs;
    for (const OKvtFeatureRef* r : {&m_settings.x, &m_settings.y})
        if (r->bIsSet()) refs.push_back(*r);
    return refs;
}

void OType_ConfigTool_KVT_COORDTRANS::MeasureRegion(const OKvtMeasureInput& in,
                                                    OKvtMeasureOutput& out) const {
    const OCoordTrans_Tsai_Transformer* transformer = in.partSet.opGetCoordTransformer();
    const OType_Feature* x = in.Referenced(m_settings.x);
    const OType_Feature* y = in.Referenced(m_settings.y);
    if (!transformer || !x || !y || x->bIsText() || y->bIsText()) return;
    double xw = 0, yw = 0;
    if (!transformer->Image2World(x->value, y->value, m_settings.z, xw, yw)) return;
    out.Set(0, xw);
    out.Set(1, yw);
    out.drawing.Cross({x->value, y->value}, 6);
}

OPropertyList OType_ConfigTool_KVT_COORDTRANS::DescribeProperties(
    const OPropertyContext& context) const {
    using namespace PropertyList;
    OPropertyList list = OType_ConfigTool_KVT::DescribeProperties(context);
    std::vector<OPropertyChoice> refs = ReferenceChoices(context.partSet);
    for (const OKvtFeatureRef* r : {&m_settings.x, &m_settings.y}) {
        const bool offered = std::any_of(
            refs.begin(), refs.end(), [&](const auto& c) { return c.value == r->ChoiceValue(); });
        if (!offered)
            refs.push_back({r->ChoiceValue(), "feature of tool " + std::to_string(r->toolId)});
    }
    list.push_back(Choice("point.x", "Image X", kPage, m_settings.x.ChoiceValue(), refs));
    list.push_back(Choice("point.y", "Image Y", kPage, m_settings.y.ChoiceValue(), refs));
    list.push_back(
        Real("point.z", "Height Z", kPage, m_settings.z, -kZLimit, kZLimit, 3, "world units"));
    return list;
}

void OType_ConfigTool_KVT_COORDTRANS::ApplyProperties(const OPropertyValues& values,
                                                      const OPropertyContext& context) {
    using namespace PropertyList;
    OType_ConfigTool_KVT::ApplyProperties(values, context);
    m_settings.x =
        OKvtFeatureRef::FromChoiceValue(iGet(values, "point.x", m_settings.x.ChoiceValue()));
    m_settings.y =
        OKvtFeatureRef::FromChoiceValue(iGet(values, "point.y", m_settings.y.ChoiceValue()));
    m_settings.z = dGet(values, "point.z", m_settings.z);
}

void OType_ConfigTool_KVT_COORDTRANS::UpdateKindDefinition(const OType_ZRPartSet& partSet) {
    DropIfGone(partSet, m_settings.x);
    DropIfGone(partSet, m_settings.y);
}

void OType_ConfigTool_KVT_COORDTRANS::EncodeKind(OByteStream& s) const {
    KvtEncode::Ref(s, m_settings.x);
    KvtEncode::Ref(s, m_settings.y);
    s.bWriteDouble(m_settings.z);
}

bool OType_ConfigTool_KVT_COORDTRANS::bDecodeKind(OBlockFieldReader& r) {
    Settings s = m_settings;
    if (!KvtEncode::bReadRef(r, s.x) || !KvtEncode::bReadRef(r, s.y) ||
        !r.Double(s.z, -kZLimit, kZLimit))
        return false;
    m_settings = s;
    return true;
}

void OType_ConfigTool_KVT_COORDTRANS::CopyKindTo(OType_ConfigTool_KVT& other) const {
    if (auto* o = dynamic_cast<OType_ConfigTool_KVT_COORDTRANS*>(&other))
        o->m_settings = m_settings;
}
