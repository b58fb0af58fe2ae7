#include "tools/OType_ConfigTool_Contour.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/draw/OPainter.h"
#include "model/part/OType_Feature.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/stream/OByteStream_Memory.h"
#include "model/util/Rounding.h"
#include "tools/FeatureValueText.h"

namespace {

constexpr ORgb kToolColour{0, 0, 255};
constexpr ORgb kSelectedToolColour{255, 0, 0};

bool bKindNeedsPresence(int kind) {
    return kind == ContourToolKind::kMeasure || kind == ContourToolKind::kHole ||
           kind == ContourToolKind::kExtSensor || kind == ContourToolKind::kCombination;
}

ORect Normalise(const ORect& r) {
    return {std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
            std::max(r.top, r.bottom)};
}

ORect ClampToImage(const ORect& r, int imageHeight) {
    ORect n = Normalise(r);
    n.left = std::max(n.left, 0);
    n.right = std::max(n.right, n.left);
    n.top = std::clamp(n.top, 0, imageHeight - 1);
    n.bottom = std::clamp(n.bottom, n.top, imageHeight - 1);
    return n;
}

bool bFitsImage(const ORect& r, int imageHeight) {
    return r.left >= 0 && r.left <= r.right && r.top >= 0 && r.top <= r.bottom &&
           r.bottom < imageHeight;
}

}  // namespace

OType_ConfigTool_Contour::OType_ConfigTool_Contour(int defaultFeatureType,
                                                   const ORect& defaultRegion) {
    SetFeatureType(defaultFeatureType);
    SetRegion(defaultRegion);
}

void OType_ConfigTool_Contour::SetPlacementMode(int mode) {
    m_placementMode = (mode >= PlacementMode::kFromStart && mode <= PlacementMode::kFromBaseLine)
                          ? mode
                          : PlacementMode::kFromStart;
}

ORect OType_ConfigTool_Contour::NormalisedRegion() const {
    return Normalise(GetRegion());
}

ORect OType_ConfigTool_Contour::GetPlacedRegion(const OContourColumns& columns) const {
    return PlaceRegion(GetRegion(), m_placementMode, columns);
}

ORect OType_ConfigTool_Contour::PlaceRegion(const ORect& region, int mode,
                                            const OContourColumns& columns) {
    ORect r = Normalise(region);
    if (mode == PlacementMode::kFromEnd) {
        const int32_t last = columns.iGetColumns() - 1;
        const int32_t left = last - r.right;
        r.right = last - r.left;
        r.left = left;
    } else if (mode == PlacementMode::kFromBaseLine) {
        const int32_t base = columns.iGetMaterialTop();
        r.top += base;
        r.bottom += base;
    }
    return r;
}

void OType_ConfigTool_Contour::SetPlacedRegion(const ORect& placed,
                                               const OContourColumns& columns) {
    ORect r = Normalise(placed);
    if (m_placementMode == PlacementMode::kFromEnd) {
        const int32_t last = columns.iGetColumns() - 1;
        const int32_t left = last - r.right;
        r.right = last - r.left;
        r.left = left;
    } else if (m_placementMode == PlacementMode::kFromBaseLine) {
        const int32_t base = columns.iGetMaterialTop();
        r.top -= base;
        r.bottom -= base;
    }
    SetRegion(r);
}

bool OType_ConfigTool_Contour::bIsSubKind(int featureType) const {
    const std::vector<int> kinds = GetSubKinds();
    return std::find(kinds.begin(), kinds.end(), featureType) != kinds.end();
}

void OType_ConfigTool_Contour::WriteFeature(const OType_ZRPartSet* partSet,
                                            OType_FeatureArray& features, const OToolMeasurement& m,
                                            int hint) const {
    const int id = iGetToolId();
    const double value = m.valid ? dCBRound(m.value) : 0.0;
    auto apply = [&](OType_Feature& f) {
        f.type = iGetFeatureType();
        f.value = value;
        f.valid = m.valid;
        f.valueType = FeatureValueType::Numeric;
        f.textValue.clear();
    };
    if (OType_Feature* f = features.opGetAt(hint); f && f->toolId == id) {
        apply(*f);
        return;
    }
    bool found = false;
    for (OType_Feature& f : features) {
        if (f.toolId != id) continue;
        apply(f);
        found = true;
    }
    if (found) return;
    OType_Feature f;
    f.toolId = id;
    apply(f);
    f.name = partSet ? partSet->GetFeatureNameOrDash(iGetFeatureType()) : std::string("--");
    features.Add(std::move(f));
}

int OType_ConfigTool_Contour::iExtractIndexed(const OType_ZRPartSet* partSet,
                                              const OContourColumns& columns,
                                              OType_FeatureArray& features, OPainter* painter,
                                              int drawFlags, int hint) {
    const OToolMeasurement m = Measure(columns, features);
    WriteFeature(partSet, features, m, hint);
    if (painter) Draw(*painter, columns, m, drawFlags);
    return m.result;
}

int OType_ConfigTool_Contour::iExtractObject_Test(OType_ZRPartSet& partSet, const ZRINFO&,
                                                  OType_Part& part, OType_FeatureArray& features,
                                                  int, OPainter* painter, int drawFlags,
                                                  const ORect&) {
    OContourColumns columns;
    columns.Build(part.Contour());
    return iExtractIndexed(&partSet, columns, features, painter, drawFlags);
}

void OType_ConfigTool_Contour::Draw(OPainter& painter, const OContourColumns& columns,
                                    const OToolMeasurement& m, int drawFlags) const {
    const ORgb colour = (drawFlags & ToolDrawFlags::kSelected) ? kSelectedToolColour : kToolColour;
    painter.SetPen(colour, (drawFlags & ToolDrawFlags::kSelected) ? 2 : 1);
    painter.NoBrush();
    std::string label = GetName();
    if (m.valid) label += ": " + FormatFeatureValue(m.value);
    if (!bUsesRegion()) {
        painter.DrawText({0, 0}, label);
        return;
    }
    const ORect placed = GetPlacedRegion(columns);
    painter.DrawRect(placed);
    DrawMeasurement(painter, columns, placed);
    painter.SetPen(colour);
    painter.DrawText({placed.left, placed.bottom + 2}, label);
}

void OType_ConfigTool_Contour::DrawMeasurement(OPainter&, const OContourColumns&,
                                               const ORect&) const {}

void OType_ConfigTool_Contour::PrintCFTool(OPainter& painter, const OType_ZRPartSet& partSet) {
    OContourColumns columns;
    OType_FeatureArray scratch;
    if (const OType_Part* part = partSet.opGetShowPart()) {
        columns.Build(part->Contour());
        scratch = part->Features();
    }
    Draw(painter, columns, Measure(columns, scratch), 0);
}

void OType_ConfigTool_Contour::CopyTo(OType_ConfigTool& other) const {
    OType_ConfigTool::CopyTo(other);
    auto* o = dynamic_cast<OType_ConfigTool_Contour*>(&other);
    if (!o) return;
    o->m_placementMode = m_placementMode;
    o->m_kindTrailer = m_kindTrailer;
    o->m_payloadTrailer = m_payloadTrailer;
    CopyKindTo(*o);
}

int OType_ConfigTool_Contour::iCheckPropertyCompatibility(const ZRINFO& deviceInfo,
                                                          std::string& text) const {
    text.clear();
    int flags = 0;
    auto note = [&](const std::string& line) { text += (text.empty() ? "" : "\n") + line; };
    const int kind = iGetConfigToolType();
    if (deviceInfo.u16(ZRINFO::kBasicFeatures) == 0) {
        flags |= ToolCompatibility::kIncompatible;
        note("the device does not work with contour images");
    } else if (bKindNeedsPresence(kind) &&
               deviceInfo.u8(ZRINFO::kPresence + static_cast<size_t>(kind - 1)) == 0) {
        flags |= ToolCompatibility::kIncompatible;
        note("the device does not offer tools of this kind");
    }
    if (bUsesRegion() && !bFitsImage(NormalisedRegion(), ContourImageHeight(deviceInfo))) {
        flags |= ToolCompatibility::kAdjustable1;
        note("the region lies partly outside the image of the device");
    }
    if (!bIsSubKind(iGetFeatureType())) {
        flags |= ToolCompatibility::kAdjustable2;
        note("the feature type is not measured by this tool on the device");
    }
    return flags;
}

int OType_ConfigTool_Contour::iAdjustPropertyCompatibility(const ZRINFO& deviceInfo) {
    std::string text;
    if (iCheckPropertyCompatibility(deviceInfo, text) & ToolCompatibility::kIncompatible) return 0;
    if (bUsesRegion()) SetRegion(ClampToImage(GetRegion(), ContourImageHeight(deviceInfo)));
    if (!bIsSubKind(iGetFeatureType())) SetFeatureType(GetSubKinds().front());
    SetModifiedFlag(true);
    return 1;
}

int OType_ConfigTool_Contour::iChangePositionSymmetrical(int mode, const ZRINFO& deviceInfo) {
    if (!bUsesRegion()) return 1;
    const int height = ContourImageHeight(deviceInfo);
    ORect r = NormalisedRegion();
    switch (mode) {
        case 0:
            r = ClampToImage(r, height);
            break;
        case 1: {
            if (m_placementMode == PlacementMode::kFromBaseLine) return 0;
            const int32_t top = height - 1 - r.bottom;
            r.bottom = height - 1 - r.top;
            r.top = top;
            break;
        }
        case 2:
            if (m_placementMode == PlacementMode::kFromBaseLine) return 0;
            m_placementMode = m_placementMode == PlacementMode::kFromStart
                                  ? PlacementMode::kFromEnd
                                  : PlacementMode::kFromStart;
            break;
        default:
            return 0;
    }
    SetRegion(r);
    SetModifiedFlag(true);
    return 1;
}

void OType_ConfigTool_Contour::UpdateCFToolDefinition(OType_ZRPartSet& partSet,
                                                      const ZRINFO& deviceInfo, const OType_Part&,
                                                      OType_FeatureArray& features) {
    if (bUsesRegion()) SetRegion(ClampToImage(GetRegion(), ContourImageHeight(deviceInfo)));
    UpdateKindDefinition(partSet);
    for (OType_Feature& f : features) {
        if (f.toolId != iGetToolId() || f.type == iGetFeatureType()) continue;
        f.type = iGetFeatureType();
        f.name = partSet.GetFeatureNameOrDash(f.type);
        f.modified = true;
    }
    SetModifiedFlag(true);
}

void OType_ConfigTool_Contour::UpdateKindDefinition(const OType_ZRPartSet&) {}
void OType_ConfigTool_Contour::EncodeKindPayload(OByteStream&) const {}
bool OType_ConfigTool_Contour::bDecodeKindPayload(OByteStream&) {
    return true;
}
void OType_ConfigTool_Contour::CopyKindTo(OType_ConfigTool_Contour&) const {}

void OType_ConfigTool_Contour::EncodePayload(OByteStream& s) const {
    s.bWriteI32(m_placementMode);
    OByteStream_Memory kind;
    EncodeKindPayload(kind);
    kind.bWriteRaw(m_kindTrailer.data(), m_kindTrailer.size());
    s.bWriteByteArray(kind.Bytes());
    s.bWriteRaw(m_payloadTrailer.data(), m_payloadTrailer.size());
}

bool OType_ConfigTool_Contour::bDecodePayload(OByteStream& s) {
    int32_t mode = PlacementMode::kFromStart;
    if (s.iRemaining() >= 4 && !s.bReadI32(mode)) return false;
    std::vector<uint8_t> kindBytes;
    if (s.iRemaining() >= 4 && !s.bReadByteArray(kindBytes)) return false;
    auto kind = OByteStream_Memory::View(kindBytes);
    if (!bDecodeKindPayload(kind) || !kind.bIsOk()) return false;
    std::vector<uint8_t> kindTrailer;
    if (!kind.bReadBytes(kindTrailer, kind.iRemaining())) return false;
    std::vector<uint8_t> trailer;
    if (!s.bReadBytes(trailer, s.iRemaining())) return false;
    SetPlacementMode(mode);
    m_kindTrailer = std::move(kindTrailer);
    m_payloadTrailer = std::move(trailer);
    return true;
}

namespace ContourMeasure {

int64_t MaterialInRowsOfRuns(std::span<const int16_t> column, int32_t rowBegin, int32_t rowEnd) {
    int64_t sum = 0;
    for (size_t i = 0; i + 1 < column.size(); i += 2) {
        const OContourRun r = ContourRunAt(column, i);
        const int32_t a = std::max(r.top, rowBegin);
        const int32_t b = std::min(r.bottom, rowEnd);
        if (b > a) sum += b - a;
    }
    return sum;
}

OColumnExtent ExtentInRowsOfRuns(std::span<const int16_t> column, int32_t rowBegin,
                                 int32_t rowEnd) {
    OColumnExtent e;
    for (size_t i = 0; i + 1 < column.size(); i += 2) {
        const OContourRun r = ContourRunAt(column, i);
        const int32_t a = std::max(r.top, rowBegin);
        const int32_t b = std::min(r.bottom, rowEnd);
        if (b <= a) continue;
        if (!e.material) {
            e = {true, a, b};
        } else {
            e.lowest = std::min(e.lowest, a);
            e.highest = std::max(e.highest, b);
        }
    }
    return e;
}

bool bHasMaterialAt(std::span<const int16_t> column, int32_t row) {
    for (size_t i = 0; i + 1 < column.size(); i += 2) {
        const OContourRun r = ContourRunAt(column, i);
        if (r.top <= row && row < r.bottom) return true;
    }
    return false;
}

bool bColumnRange(const OContourColumns& columns, const ORect& placed, int& first, int& last) {
    first = std::max(placed.left, 0);
    last = std::min(placed.right, columns.iGetColumns() - 1);
    return first <= last;
}

bool OLineFit::bAngle(double& degrees) const {
    if (m_n < 2) return false;
    const double n = m_n;
    const double sxx = m_xx - m_x * m_x / n;
    const double sxy = m_xy - m_x * m_y / n;
    if (!(sxx > 1e-9)) return false;
    degrees = std::atan(sxy / sxx) * 57.29577951308232;
    return true;
}

}  // namespace ContourMeasure
