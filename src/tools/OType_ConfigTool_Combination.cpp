#include "tools/OType_ConfigTool_Combination.h"

#include <cmath>

#include "model/part/OType_Feature.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/stream/OByteStream.h"

namespace {

constexpr double kEqualTolerance = 0.005;  // values are stored to two decimals

void EncodeOperand(OByteStream& s, const OCombinationOperand& op) {
    s.bWriteI32(static_cast<int32_t>(op.source));
    s.bWriteI32(op.basicIndex);
    s.bWriteI32(op.toolId);
    s.bWriteDouble(op.constant);
}

bool bDecodeOperand(OByteStream& s, OCombinationOperand& op) {
    int32_t source = 0;
    if (!s.bReadI32(source) || !s.bReadI32(op.basicIndex) || !s.bReadI32(op.toolId) ||
        !s.bReadDouble(op.constant)) {
        return false;
    }
    if (source < 0 || source > static_cast<int32_t>(OCombinationOperand::Source::Constant))
        source = 0;
    op.source = static_cast<OCombinationOperand::Source>(source);
    return true;
}

bool bTrue(double v) {
    return v != 0.0;
}

}  // namespace

OType_ConfigTool_Combination::OType_ConfigTool_Combination()
    : OType_ConfigTool_Contour(ContourFeatureType::kMathLogic, {0, 0, 0, 0}) {}

std::unique_ptr<OType_ConfigTool> OType_ConfigTool_Combination::CreateNew() const {
    return std::make_unique<OType_ConfigTool_Combination>();
}

std::vector<int> OType_ConfigTool_Combination::GetSubKinds() const {
    return {ContourFeatureType::kMathLogic};
}

void OType_ConfigTool_Combination::SetOperand(int i, const OCombinationOperand& operand) {
    (i == 0 ? m_a : m_b) = operand;
}

bool OType_ConfigTool_Combination::bReferencesTool(int toolId) const {
    auto refers = [toolId](const OCombinationOperand& op) {
        return op.source == OCombinationOperand::Source::Tool && op.toolId == toolId;
    };
    return toolId >= 0 && (refers(m_a) || refers(m_b));
}

std::vector<int> OType_ConfigTool_Combination::GetDirectReferencedFeatures(
    const OType_ZRPartSet& partSet) const {
    std::vector<int> indices;
    for (const OCombinationOperand* op : {&m_a, &m_b}) {
        if (op->source == OCombinationOperand::Source::BasicFeature) {
            indices.push_back(op->basicIndex);
        } else if (op->source == OCombinationOperand::Source::Tool) {
            const int pos = partSet.Tools().iFindPosById(op->toolId);
            if (pos >= 0)
                indices.push_back(
                    partSet.Tools().GetFeatureIndex_First(pos, partSet.iGetFixedFeatures()));
        }
    }
    return indices;
}

bool OType_ConfigTool_Combination::bOperandValue(const OCombinationOperand& op,
                                                 const OType_FeatureArray& features,
                                                 double& value) const {
    auto numeric = [&value](const OType_Feature* f) {
        if (!f || !f->valid || f->bIsText()) return false;
        value = f->value;
        return true;
    };
    switch (op.source) {
        case OCombinationOperand::Source::Constant:
            value = op.constant;
            return true;
        case OCombinationOperand::Source::BasicFeature: {
            const OType_Feature* f = features.opGetAt(op.basicIndex);
            return f && f->toolId < 0 && numeric(f);
        }
        case OCombinationOperand::Source::Tool:
            if (op.toolId < 0 || op.toolId == iGetToolId()) return false;
            for (const OType_Feature& f : features) {
                if (f.toolId == op.toolId) return numeric(&f);
            }
            return false;
        default:
            return false;
    }
}

OToolMeasurement OType_ConfigTool_Combination::Measure(const OContourColumns&,
                                                       const OType_FeatureArray& features) const {
    OToolMeasurement m;
    double a = 0, b = 0;
    if (!bOperandValue(m_a, features, a) || !bOperandValue(m_b, features, b)) return m;
    double v = 0;
    switch (m_op) {
        case CombinationOp::Add:
            v = a + b;
            break;
        case CombinationOp::Subtract:
            v = a - b;
            break;
        case CombinationOp::Multiply:
            v = a * b;
            break;
        case CombinationOp::Divide:
            if (b == 0.0) return m;
            v = a / b;
            break;
        case CombinationOp::Minimum:
            v = std::fmin(a, b);
            break;
        case CombinationOp::Maximum:
            v = std::fmax(a, b);
            break;
        case CombinationOp::AbsDifference:
            v = std::fabs(a - b);
            break;
        case CombinationOp::And:
            v = bTrue(a) && bTrue(b);
            break;
        case CombinationOp::Or:
            v = bTrue(a) || bTrue(b);
            break;
        case CombinationOp::Xor:
            v = bTrue(a) != bTrue(b);
            break;
        case CombinationOp::Less:
            v = a < b;
            break;
        case CombinationOp::Greater:
            v = a > b;
            break;
        case CombinationOp::Equal:
            v = std::fabs(a - b) < kEqualTolerance;
            break;
        default:
            return m;
    }
    if (!std::isfinite(v)) return m;
    m.value = v;
    m.valid = true;
    return m;
}

void OType_ConfigTool_Combination::UpdateKindDefinition(const OType_ZRPartSet& partSet) {
    for (OCombinationOperand* op : {&m_a, &m_b}) {
        if (op->source == OCombinationOperand::Source::Tool &&
            partSet.Tools().iFindPosById(op->toolId) < 0) {
            *op = OCombinationOperand();
        }
        if (op->source == OCombinationOperand::Source::BasicFeature &&
            (op->basicIndex < 0 || op->basicIndex >= partSet.iGetFixedFeatures())) {
            *op = OCombinationOperand();
        }
    }
}

void OType_ConfigTool_Combination::EncodeKindPayload(OByteStream& s) const {
    s.bWriteI32(static_cast<int32_t>(m_op));
    EncodeOperand(s, m_a);
    EncodeOperand(s, m_b);
}

bool OType_ConfigTool_Combination::bDecodeKindPayload(OByteStream& s) {
    int32_t op = 0;
    OCombinationOperand a, b;
    if (s.iRemaining() >= 4 && !s.bReadI32(op)) return false;
    if (s.iRemaining() >= 20 && !bDecodeOperand(s, a)) return false;
    if (s.iRemaining() >= 20 && !bDecodeOperand(s, b)) return false;
    // An operation of a newer program is kept; Measure reports it as not valid.
    m_op = static_cast<CombinationOp>(op);
    m_a = a;
    m_b = b;
    return true;
}

void OType_ConfigTool_Combination::CopyKindTo(OType_ConfigTool_Contour& other) const {
    if (auto* o = dynamic_cast<OType_ConfigTool_Combination*>(&other)) {
        o->m_a = m_a;
        o->m_b = m_b;
        o->m_op = m_op;
    }
}
