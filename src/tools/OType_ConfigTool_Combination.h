// Math / logic function: combines two operand features of the same part (feature type 50).
// An operand is a basic contour feature (by index), another tool's feature (by the tool's
// id, so that it survives tools being inserted or removed before it) or a constant.
#pragma once

#include "tools/OType_ConfigTool_Contour.h"

struct OCombinationOperand {
    enum class Source : int32_t { None = 0, BasicFeature = 1, Tool = 2, Constant = 3 };
    Source source = Source::None;
    int32_t basicIndex = 0;
    int32_t toolId = -1;
    double constant = 0.0;

    static OCombinationOperand Basic(int index) { return {Source::BasicFeature, index, -1, 0.0}; }
    static OCombinationOperand Tool(int id) { return {Source::Tool, 0, id, 0.0}; }
    static OCombinationOperand Constant(double v) { return {Source::Constant, 0, -1, v}; }
    bool operator==(const OCombinationOperand&) const = default;
};

// Logic operations treat a non-zero value as true and give 1 or 0.
enum class CombinationOp : int32_t {
    Add = 0,
    Subtract = 1,
    Multiply = 2,
    Divide = 3,
    Minimum = 4,
    Maximum = 5,
    AbsDifference = 6,
    And = 7,
    Or = 8,
    Xor = 9,
    Less = 10,
    Greater = 11,
    Equal = 12,
};

class OType_ConfigTool_Combination : public OType_ConfigTool_Contour {
  public:
    OType_ConfigTool_Combination();
    int iGetConfigToolType() const override { return ContourToolKind::kCombination; }
    std::unique_ptr<OType_ConfigTool> CreateNew() const override;
    std::string GetKindName() const override { return "Math"; }
    std::vector<int> GetSubKinds() const override;
    bool bUsesRegion() const override { return false; }

    const OCombinationOperand& GetOperand(int i) const { return i == 0 ? m_a : m_b; }
    void SetOperand(int i, const OCombinationOperand& operand);
    CombinationOp GetOperation() const { return m_op; }
    void SetOperation(CombinationOp op) { m_op = op; }

    bool bReferencesTool(int toolId) const;
    // Current feature indices of the operands that are features (tools that no longer exist
    // are left out).
    std::vector<int> GetDirectReferencedFeatures(const OType_ZRPartSet& partSet) const override;

    OToolMeasurement Measure(const OContourColumns& columns,
                             const OType_FeatureArray& features) const override;

    // Properties as data: the name, and on page "Function" the operation and per operand
    // ("a.*", "b.*") its source, basic feature, tool and constant.
    OPropertyList DescribeProperties(const OPropertyContext& context) const override;

  protected:
    // Refuses an operand without its feature, a tool that is not in the part set, the tool
    // itself, and a tool whose value depends on this one (a circle gives no value).
    bool bCheckProperties(const OPropertyValues& merged, const OPropertyContext& context,
                          std::string& error) const override;
    void ApplyProperties(const OPropertyValues& values, const OPropertyContext& context) override;
    void EncodeKindPayload(OByteStream& stream) const override;
    bool bDecodeKindPayload(OByteStream& stream) override;
    void CopyKindTo(OType_ConfigTool_Contour& other) const override;
    // Operands whose tool no longer exists become unset.
    void UpdateKindDefinition(const OType_ZRPartSet& partSet) override;

  private:
    bool bOperandValue(const OCombinationOperand& op, const OType_FeatureArray& features,
                       double& value) const;

    OCombinationOperand m_a;
    OCombinationOperand m_b;
    CombinationOp m_op = CombinationOp::Add;
};
