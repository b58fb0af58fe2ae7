// The base of the family-1 contour tools. A tool measures one feature of a part's contour
// image inside its region; the region follows each part by the tool's placement mode:
//   1  the stored columns count from the part's first column (its leading edge);
//   2  the stored columns are distances from the part's last column (its trailing edge);
//   3  columns as in mode 1, the stored rows count from the part's lowest material row.
// Regions are in contour pixels: left <= right are columns, top <= bottom are rows (rows
// count upwards, so "top" is the lower row number, as in the run pairs); both inclusive.
#pragma once

#include <string>
#include <vector>

#include "model/tools/OType_ConfigTool.h"
#include "tools/ContourToolTypes.h"
#include "tools/OContourColumns.h"

struct ORgb;

// The outcome of one measurement. `result` is the tool's result word (bit 16: a tool-side
// condition); a measurement that is not valid still returns 1 when the tool worked.
struct OToolMeasurement {
    double value = 0.0;
    bool valid = false;
    int result = 1;
};

namespace ToolDrawFlags {
inline constexpr int kSelected = 1;  // the tool owns the selected feature
}

class OType_ConfigTool_Contour : public OType_ConfigTool {
  public:
    int iGetPlacementMode() const { return m_placementMode; }
    // Modes outside 1..3 become 1.
    void SetPlacementMode(int mode);

    // The region as placed on the part whose columns are given.
    ORect GetPlacedRegion(const OContourColumns& columns) const;
    // Where a region of a tool in placement `mode` lies on the part whose columns are given.
    static ORect PlaceRegion(const ORect& region, int mode, const OContourColumns& columns);
    // Stores `placed`, a region as seen on the part whose columns are given, in the tool's
    // own coordinates (the inverse of GetPlacedRegion).
    void SetPlacedRegion(const ORect& placed, const OContourColumns& columns);
    // Whether the tool measures inside a region (the combination tool does not).
    virtual bool bUsesRegion() const { return true; }

    // The feature types this kind can measure; the first is the default.
    virtual std::vector<int> GetSubKinds() const = 0;
    bool bIsSubKind(int featureType) const;

    // The feature of an indexed contour. `features` gives the other features of the part
    // (read by the combination tool).
    virtual OToolMeasurement Measure(const OContourColumns& columns,
                                     const OType_FeatureArray& features) const = 0;

    // Extraction on an indexed contour: measures, writes the value into the entries of
    // `features` that carry this tool's id (trying `hint` first; an entry is appended when
    // none carries it) and draws when a painter is given. Returns the result word.
    int iExtractIndexed(const OType_ZRPartSet* partSet, const OContourColumns& columns,
                        OType_FeatureArray& features, OPainter* painter, int drawFlags,
                        int hint = -1);

    int iExtractObject_Test(OType_ZRPartSet& partSet, const ZRINFO& deviceInfo, OType_Part& part,
                            OType_FeatureArray& features, int mode, OPainter* painter,
                            int drawFlags, const ORect& clip) override;
    void CopyTo(OType_ConfigTool& other) const override;
    int iCheckPropertyCompatibility(const ZRINFO& deviceInfo, std::string& text) const override;
    int iAdjustPropertyCompatibility(const ZRINFO& deviceInfo) override;
    // 0 fits the region into the image, 1 mirrors it at the horizontal axis (rows), 2 at the
    // vertical axis (columns: modes 1 and 2 exchange). Returns 0 when the mode cannot be
    // mirrored that way (rows of mode 3, columns of mode 3).
    int iChangePositionSymmetrical(int mode, const ZRINFO& deviceInfo) override;
    void UpdateCFToolDefinition(OType_ZRPartSet& partSet, const ZRINFO& deviceInfo,
                                const OType_Part& part, OType_FeatureArray& features) override;
    void PrintCFTool(OPainter& painter, const OType_ZRPartSet& partSet) override;

    // Properties as data: the name and the measured feature (sub-kind) on page "General",
    // the placement mode and the region on page "Region", the region's rows limited to the
    // device's image height. Changing the placement mode alone keeps the region where it is
    // on the part set's shown part.
    OPropertyList DescribeProperties(const OPropertyContext& context) const override;

    // Draws the region, the name and the kind's own marks for the part whose columns are given.
    void Draw(OPainter& painter, const OContourColumns& columns, const OToolMeasurement& m,
              int drawFlags) const;

  protected:
    OType_ConfigTool_Contour(int defaultFeatureType, const ORect& defaultRegion);

    bool bCheckProperties(const OPropertyValues& merged, const OPropertyContext& context,
                          std::string& error) const override;
    void ApplyProperties(const OPropertyValues& values, const OPropertyContext& context) override;
    // The label of the sub-kind choice ("Feature", "Measurement" ...).
    virtual std::string SubKindLabel() const { return "Feature"; }

    // The kind's marks over the placed region (the region frame is drawn by the base).
    virtual void DrawMeasurement(OPainter& painter, const OContourColumns& columns,
                                 const ORect& placed) const;
    // The kind's own settings, written as one byte array after the common ones; the
    // decoder may leave bytes it does not know, which are kept and written back.
    virtual void EncodeKindPayload(OByteStream& stream) const;
    virtual bool bDecodeKindPayload(OByteStream& stream);
    virtual void CopyKindTo(OType_ConfigTool_Contour& other) const;
    // Fixes kind-specific settings after an edit (e.g. operands of removed tools).
    virtual void UpdateKindDefinition(const OType_ZRPartSet& partSet);

  private:
    void EncodePayload(OByteStream& stream) const final;
    bool bDecodePayload(OByteStream& stream) final;
    void WriteFeature(const OType_ZRPartSet* partSet, OType_FeatureArray& features,
                      const OToolMeasurement& m, int hint) const;
    ORect NormalisedRegion() const;

    int m_placementMode = PlacementMode::kFromStart;
    std::vector<uint8_t> m_kindTrailer;
    std::vector<uint8_t> m_payloadTrailer;
};

// Measuring helpers shared by the contour tools; rows are half-open [rowBegin, rowEnd).
namespace ContourMeasure {
struct OColumnExtent {
    bool material = false;
    int32_t lowest = 0;   // first covered row
    int32_t highest = 0;  // one past the last covered row (the upper outline)
};
// Covered rows of column c inside the rows (a column summary answers when the rows hold
// the whole column or none of it).
int64_t MaterialInRowsOfRuns(std::span<const int16_t> column, int32_t rowBegin, int32_t rowEnd);
OColumnExtent ExtentInRowsOfRuns(std::span<const int16_t> column, int32_t rowBegin, int32_t rowEnd);
inline int64_t MaterialInRows(const OContourColumns& columns, int c, int32_t rowBegin,
                              int32_t rowEnd) {
    const OColumnSummary& s = columns.Summary(c);
    if (!s.bHasMaterial() || s.highest <= rowBegin || s.lowest >= rowEnd) return 0;
    if (rowBegin <= s.lowest && s.highest <= rowEnd) return s.area;
    return MaterialInRowsOfRuns(columns.ColumnValues(c), rowBegin, rowEnd);
}
inline OColumnExtent ExtentInRows(const OContourColumns& columns, int c, int32_t rowBegin,
                                  int32_t rowEnd) {
    const OColumnSummary& s = columns.Summary(c);
    if (!s.bHasMaterial() || s.highest <= rowBegin || s.lowest >= rowEnd) return {};
    if (rowBegin <= s.lowest && s.highest <= rowEnd) return {true, s.lowest, s.highest};
    return ExtentInRowsOfRuns(columns.ColumnValues(c), rowBegin, rowEnd);
}
bool bHasMaterialAt(std::span<const int16_t> column, int32_t row);
// Columns of the placed region that exist in the contour: [first, last]; false when none.
bool bColumnRange(const OContourColumns& columns, const ORect& placed, int& first, int& last);

// A least-squares line through points, accumulated point by point.
class OLineFit {
  public:
    void Add(double x, double y) {
        ++m_n;
        m_x += x;
        m_y += y;
        m_xx += x * x;
        m_xy += x * y;
    }
    int iCount() const { return m_n; }
    // Slope angle in degrees; false for fewer than two distinct x.
    bool bAngle(double& degrees) const;

  private:
    int m_n = 0;
    double m_x = 0, m_y = 0, m_xx = 0, m_xy = 0;
};
}  // namespace ContourMeasure
