#include "tools/kvt/OType_ConfigTool_KVT_COMBINATION.h"

#include <algorithm>
#include <cmath>

#include "model/part/OType_Feature.h"
#include "model/stream/OByteStream.h"

namespace {

const std::string kPage = "Operands";
constexpr double kValueLimit = 1e12;

const std::vector<OPropertyChoice>& Operations() {
    static const std::vector<OPropertyChoice> choices{
        {KvtMathOperation::kAdd, "A + B"},
        {KvtMathOperation::kSubtract, "A - B"},
        {KvtMathOperation::kMultiply, "A * B"},
        {KvtMathOperation::kDivide, "A / B"},
        {KvtMathOperation::kMinimum, "smaller of A and B"},
        {KvtMathOperation::kMaximum, "larger of A and B"},
        {KvtMathOperation::kAbsoluteDifference, "|A - B|"},
        {KvtMathOperation::kAnd, "A and B (1 when both are not 0)"},
        {KvtMathOperation::kOr, "A or B (1 when one is not 0)"},
        {KvtMathOperation::kNot, "not A (1 when A is 0)"},
        {KvtMathOperation::kWithinRange, "A within the range (1 or 0)"},
        {KvtMathOperation::kMean, "mean of A and B"},
    };
    return choices;
}

// A numeric referenced value; false when missing, invalid or a text.
bool bValue(const OKvtMeasureInput& in, const OKvtFeatureRef& ref, double& value) {
    const OType_Feature* f = in.Referenced(ref);
    if (!f || f->bIsText()) return false;
    value = f->value;
    return true;
}

}  // namespace

OType_ConfigTool_KVT_COMBINATION::OType_ConfigTool_KVT_COMBINATION()
    : OType_ConfigTool_KVT(KvtToolKind::kCombination, KvtSubKind::kMathLogic) {}

std::unique_ptr<OType_ConfigTool> OType_ConfigTool_KVT_COMBINATION::CreateNew() const {
    return std::make_unique<OType_ConfigTool_KVT_COMBINATION>();
}

std::string OType_ConfigTool_KVT_COMBINATION::GetKindName() const {
    return bIsGeometry() ? "Geometry" : "Math";
}

std::vector<int> OType_ConfigTool_KVT_COMBINATION::SubKinds() const {
    return {KvtSubKind::kMathLogic, KvtSubKind::kGeometry};
}

std::string OType_ConfigTool_KVT_COMBINATION::SubKindName(int subKind) const {
    return subKind == KvtSubKind::kGeometry ? "Geometry function" : "Math / logic function";
}

std::vector<OKvtFeatureDef> OType_ConfigTool_KVT_COMBINATION::FeatureDefs() const {
    using namespace KvtFeatureType;
    if (bIsGeometry()) {
        return {{kGeometryDistance, "Distance", "px", OKvtQuantity::Length},
                {kGeometryAngle, "Angle", "°", OKvtQuantity::Angle},
                {kGeometryMidX, "Midpoint X", "px", OKvtQuantity::ImageX},
                {kGeometryMidY, "Midpoint Y", "px", OKvtQuantity::ImageY}};
    }
    return {{kMathResult, "Result", "", OKvtQuantity::Plain}};
}

std::vector<OKvtFeatureRef> OType_ConfigTool_KVT_COMBINATION::References() const {
    std::vector<OKvtFeatureRef> refs;
    const auto add = [&](const OKvtFeatureRef& r) {
        if (r.bIsSet()) refs.push_back(r);
    };
    if (bIsGeometry()) {
        for (const OKvtFeatureRef* r :
             {&m_settings.x1, &m_settings.y1, &m_settings.x2, &m_settings.y2})
            add(*r);
    } else {
        add(m_settings.a);
        add(m_settings.b);
    }
    return refs;
}

bool OType_ConfigTool_KVT_COMBINATION::bCompute(int operation, double a, double b, double low,
                                                double high, double& result) {
    switch (operation) {
        case KvtMathOperation::kAdd:
            result = a + b;
            break;
        case KvtMathOperation::kSubtract:
            result = a - b;
            break;
        case KvtMathOperation::kMultiply:
            result = a * b;
            break;
        case KvtMathOperation::kDivide:
            if (b == 0) return false;
            result = a / b;
            break;
        case KvtMathOperation::kMinimum:
            result = std::min(a, b);
            break;
        case KvtMathOperation::kMaximum:
            result = std::max(a, b);
            break;
        case KvtMathOperation::kAbsoluteDifference:
            result = std::abs(a - b);
            break;
        case KvtMathOperation::kAnd:
            result = (a != 0 && b != 0) ? 1 : 0;
            break;
        case KvtMathOperation::kOr:
            result = (a != 0 || b != 0) ? 1 : 0;
            break;
        case KvtMathOperation::kNot:
            result = a == 0 ? 1 : 0;
            break;
        case KvtMathOperation::kWithinRange:
            result = (a >= low && a <= high) ? 1 : 0;
            break;
        case KvtMathOperation::kMean:
            result = (a + b) / 2;
            break;
        default:
            return false;
    }
    return std::isfinite(result);
}

void OType_ConfigTool_KVT_COMBINATION::MeasureRegion(const OKvtMeasureInput& in,
                                                     OKvtMeasureOutput& out) const {
    const Settings& s = m_settings;
    if (bIsGeometry()) {
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        if (!bValue(in, s.x1, x1) || !bValue(in, s.y1, y1) || !bValue(in, s.x2, x2) ||
            !bValue(in, s.y2, y2))
            return;
        out.Set(0, std::hypot(x2 - x1, y2 - y1));
        if (x1 != x2 || y1 != y2)
            out.Set(1, std::atan2(-(y2 - y1), x2 - x1) * KvtGeometry::kDegreesPerRadian);
        out.Set(2, (x1 + x2) / 2);
        out.Set(3, (y1 + y2) / 2);
        out.drawing.Line({x1, y1}, {x2, y2});
        out.drawing.Cross({(x1 + x2) / 2, (y1 + y2) / 2}, 3);
        return;
    }
    double a = 0, b = s.constant, result = 0;
    if (!bValue(in, s.a, a)) return;
    if (s.b.bIsSet() && !bValue(in, s.b, b)) return;
    if (bCompute(s.operation, a, b, s.low, s.high, result)) out.Set(0, result);
}

OPropertyList OType_ConfigTool_KVT_COMBINATION::DescribeProperties(
    const OPropertyContext& context) const {
    using namespace PropertyList;
    OPropertyList list = OType_ConfigTool_KVT::DescribeProperties(context);
    const std::vector<OPropertyChoice> refs = ReferenceChoices(context.partSet);
    // A stored reference the list does not offer (no part set given) stays selectable.
    const auto with = [&](const OKvtFeatureRef& r) {
        std::vector<OPropertyChoice> c = refs;
        if (std::none_of(c.begin(), c.end(),
                         [&](const auto& x) { return x.value == r.ChoiceValue(); }))
            c.push_back({r.ChoiceValue(), "feature of tool " + std::to_string(r.toolId)});
        return c;
    };
    const Settings& s = m_settings;
    if (bIsGeometry()) {
        list.push_back(
            Choice("geometry.x1", "First point X", kPage, s.x1.ChoiceValue(), with(s.x1)));
        list.push_back(
            Choice("geometry.y1", "First point Y", kPage, s.y1.ChoiceValue(), with(s.y1)));
        list.push_back(
            Choice("geometry.x2", "Second point X", kPage, s.x2.ChoiceValue(), with(s.x2)));
        list.push_back(
            Choice("geometry.y2", "Second point Y", kPage, s.y2.ChoiceValue(), with(s.y2)));
        return list;
    }
    list.push_back(Choice("math.operation", "Operation", kPage, s.operation, Operations()));
    list.push_back(Choice("math.a", "Operand A", kPage, s.a.ChoiceValue(), with(s.a)));
    OProperty b = Choice("math.b", "Operand B", kPage, s.b.ChoiceValue(), with(s.b));
    b.help = "None: the constant is operand B.";
    list.push_back(std::move(b));
    list.push_back(
        Real("math.constant", "Constant", kPage, s.constant, -kValueLimit, kValueLimit, 4));
    list.push_back(Real("math.low", "Range from", kPage, s.low, -kValueLimit, kValueLimit, 4));
    list.push_back(Real("math.high", "Range to", kPage, s.high, -kValueLimit, kValueLimit, 4));
    return list;
}

void OType_ConfigTool_KVT_COMBINATION::ApplyProperties(const OPropertyValues& values,
                                                       const OPropertyContext& context) {
    using namespace PropertyList;
    OType_ConfigTool_KVT::ApplyProperties(values, context);
    Settings& s = m_settings;
    const auto ref = [&](const char* name, OKvtFeatureRef& r) {
        r = OKvtFeatureRef::FromChoiceValue(iGet(values, name, r.ChoiceValue()));
    };
    s.operation = static_cast<int>(iGet(values, "math.operation", s.operation));
    ref("math.a", s.a);
    ref("math.b", s.b);
    s.constant = dGet(values, "math.constant", s.constant);
    s.low = dGet(values, "math.low", s.low);
    s.high = dGet(values, "math.high", s.high);
    ref("geometry.x1", s.x1);
    ref("geometry.y1", s.y1);
    ref("geometry.x2", s.x2);
    ref("geometry.y2", s.y2);
}

void OType_ConfigTool_KVT_COMBINATION::UpdateKindDefinition(const OType_ZRPartSet& partSet) {
    Settings& s = m_settings;
    for (OKvtFeatureRef* r : {&s.a, &s.b, &s.x1, &s.y1, &s.x2, &s.y2})
        DropIfGone(partSet, *r);
}

void OType_ConfigTool_KVT_COMBINATION::EncodeKind(OByteStream& stream) const {
    const Settings& s = m_settings;
    stream.bWriteI32(s.operation);
    KvtEncode::Ref(stream, s.a);
    KvtEncode::Ref(stream, s.b);
    stream.bWriteDouble(s.constant);
    stream.bWriteDouble(s.low);
    stream.bWriteDouble(s.high);
    for (const OKvtFeatureRef* r : {&s.x1, &s.y1, &s.x2, &s.y2})
        KvtEncode::Ref(stream, *r);
}

bool OType_ConfigTool_KVT_COMBINATION::bDecodeKind(OBlockFieldReader& r) {
    Settings s = m_settings;
    if (!r.I32(s.operation, 0, KvtMathOperation::kCount - 1) || !KvtEncode::bReadRef(r, s.a) ||
        !KvtEncode::bReadRef(r, s.b) || !r.Double(s.constant, -kValueLimit, kValueLimit) ||
        !r.Double(s.low, -kValueLimit, kValueLimit) || !r.Double(s.high, -kValueLimit, kValueLimit))
        return false;
    for (OKvtFeatureRef* ref : {&s.x1, &s.y1, &s.x2, &s.y2}) {
        if (!KvtEncode::bReadRef(r, *ref)) return false;
    }
    m_settings = s;
    return true;
}

void OType_ConfigTool_KVT_COMBINATION::CopyKindTo(OType_ConfigTool_KVT& other) const {
    if (auto* o = dynamic_cast<OType_ConfigTool_KVT_COMBINATION*>(&other))
        o->m_settings = m_settings;
}
