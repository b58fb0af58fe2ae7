#include "extraction/OContourViewScene.h"

#include <algorithm>
#include <cmath>

#include "extraction/OBasicContourFeatures.h"
#include "extraction/OContourViewController.h"
#include "extraction/OContourViewPaint.h"
#include "extraction/OContourViewText.h"
#include "extraction/OExtr_Default.h"
#include "extraction/OExtractorHost.h"
#include "model/draw/OPainter.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/FormatPrintf.h"
#include "tools/OContourColumns.h"
#include "tools/OType_ConfigTool_Contour.h"

namespace ContourViewScene {

namespace {

using ContourView::kScaleBandBottom;
using ContourView::kScaleBandLeft;

// Text sizes of the painter's current font, in the units a caller asks for.
class OPainterMeasurer : public OTextMeasurer {
  public:
    OPainterMeasurer(const OPainter& painter, double unitsPerBaseX, double unitsPerBaseY)
        : m_painter(painter), m_x(unitsPerBaseX), m_y(unitsPerBaseY) {}
    OPoint TextSize(std::string_view text) const override {
        const OPoint size = m_painter.TextSize(text);
        return {static_cast<int32_t>(std::lround(size.x * m_x)),
                static_cast<int32_t>(std::lround(size.y * m_y))};
    }

  private:
    const OPainter& m_painter;
    double m_x;
    double m_y;
};

struct OScene {
    OPainter& painter;
    OContourViewController& view;
    const OContourSceneArea& area;
    const OContourViewState& state;
    OMapping contour;
    OMapping pixels;

    // A view pixel's base point.
    OPoint Base(int x, int y) const {
        return {area.origin.x + x * area.unit, area.origin.y + y * area.unit};
    }
    ORect BaseRect(int left, int top, int right, int bottom) const {
        const OPoint a = Base(left, top);
        const OPoint b = Base(right, bottom);
        return {a.x, a.y, b.x, b.y};
    }
    ORect DrawingArea() const {
        return BaseRect(kScaleBandLeft, 0, area.width, area.height - kScaleBandBottom);
    }
};

// The centre of the material on the screen's rows (the device's centre sums count rows by
// its own convention; the graphic marks the centre the user sees).
void PlaceCentre(const OType_Part& part, OBasicContourFeatures& measured) {
    OContourColumns columns;
    columns.Build(part.Contour());
    double area = 0, sumX = 0, sumY = 0;
    for (int c = 0; c < columns.iGetColumns(); ++c) {
        const auto values = columns.ColumnValues(c);
        for (size_t i = 0; i + 1 < values.size(); i += 2) {
            const OContourRun r = ContourRunAt(values, i);
            const double length = r.Length();
            if (length <= 0) continue;
            area += length;
            sumX += c * length;
            sumY += (r.top + r.bottom) / 2.0 * length;
        }
    }
    if (area <= 0) return;
    measured.centreX = sumX / area;
    measured.centreY = sumY / area;
}

void PaintSelectedBasicFeature(OScene& s, const OType_ZRPartSet& set, const OType_Part& part) {
    const int feature = set.iShowFeatureGetNo();
    if (feature < 0 || feature >= std::min(set.iGetFixedFeatures(), BasicFeature::kCount)) return;
    if (part.iGetConturDataSize() == 0) return;
    OBasicContourMeasure measure;
    OBasicContourFeatures measured;
    measure.Measure(part.Contour(), bIsVariantDeviceType(s.view.Host().iGetDeviceTypeCode()),
                    measured);
    PlaceCentre(part, measured);
    const OType_Feature* f = part.Features().opGetAt(feature);
    s.painter.SetPen(kBasicFeature, 2 * s.area.unit);
    s.painter.NoBrush();
    bPaintBasicFeature(s.painter, feature, measured,
                       f ? f->value : measured.values[static_cast<size_t>(feature)]);
}

void PaintPart(OScene& s, OType_ZRPartSet& set, bool printing) {
    const ContourViewPaint::OShownPart shown = ContourViewPaint::ShownPart(set);
    if (!shown.part) return;
    OType_Part& part = const_cast<OType_Part&>(*shown.part);
    s.painter.SetClip(s.DrawingArea());
    s.painter.SetMapping(s.contour);
    s.painter.SetFont(ContourViewScene::kFontPixels * s.area.unit);
    ContourViewPaint::PaintContour(s.painter, part, shown.fill, s.state);
    if (part.iGetConturDataSize() > 0) {
        if (printing) {
            for (int k = 0; k < set.Tools().iGetNum(); ++k)
                set.Tools().opGetAt(k)->PrintCFTool(s.painter, set);
        } else {
            ContourViewPaint::PaintTools(s.painter, s.view.Engine(), set,
                                         s.view.Host().GetDeviceInfo(), part, s.state.selectedTool);
        }
        s.painter.SetMapping(s.contour);
        PaintSelectedBasicFeature(s, set, part);
    }
    s.painter.NoClip();
}

void PaintGrid(OScene& s) {
    OPainter& p = s.painter;
    p.SetMapping(s.contour);
    p.SetFont(kFontPixels * s.area.unit);
    const double sx = std::fabs(s.contour.dScaleX());
    const double sy = std::fabs(s.contour.dScaleY());
    if (sx <= 0 || sy <= 0) return;
    const int step = ContourViewText::GridStep(OPainterMeasurer(p, 1.0 / sx, 1.0 / sy));
    const OContourViewState& v = s.state;
    const int bottom = std::min(v.windowBottom, v.windowTop);
    const int top = std::max(v.windowBottom, v.windowTop);
    const std::vector<int> columns = ContourViewText::GridLines(v.windowLeft, v.windowRight, step);
    const std::vector<int> rows = ContourViewText::GridLines(bottom, top, step);
    p.SetClip(s.DrawingArea());
    p.SetPen(kGrid, 1, OPenStyle::Dot);
    for (int x : columns)
        p.DrawLine({x, bottom}, {x, top});
    for (int y : rows)
        p.DrawLine({v.windowLeft, y}, {v.windowRight, y});
    p.NoClip();

    // The two scale bands with their axis lines and labels, in base units.
    const int w = s.area.width;
    const int h = s.area.height;
    p.SetMapping(OMapping::Identity());
    p.FillRect(s.BaseRect(0, 0, kScaleBandLeft - 1, h - 1), kButtonFace);
    p.FillRect(s.BaseRect(0, h - kScaleBandBottom, w - 1, h - 1), kButtonFace);
    p.SetPen(kGrid, s.area.unit);
    const OPoint corner = s.Base(kScaleBandLeft, h - kScaleBandBottom);
    p.DrawLine(s.Base(kScaleBandLeft, 0), corner);
    p.DrawLine(corner, s.Base(w, h - kScaleBandBottom));
    const ORect drawing = s.DrawingArea();
    const int textHeight = p.TextSize("0").y;
    for (int y : rows) {
        const OPoint at = s.contour.ToBase({0, y});
        if (at.y < drawing.top || at.y > drawing.bottom) continue;
        p.DrawText({drawing.left - 2 * s.area.unit, at.y - textHeight / 2},
                   ContourViewText::ScaleLabel(y), OTextAlign::Right);
    }
    for (int x : columns) {
        const OPoint at = s.contour.ToBase({x, 0});
        if (at.x < drawing.left || at.x > drawing.right) continue;
        p.DrawText({at.x, drawing.bottom + 3 * s.area.unit}, ContourViewText::ScaleLabel(x),
                   OTextAlign::Center);
    }
}

void PaintSelectedLabel(OScene& s, const OType_ZRPartSet& set) {
    const ContourViewPaint::OShownPart shown = ContourViewPaint::ShownPart(set);
    if (!shown.part) return;
    const std::string label =
        ContourViewPaint::SelectedFeatureLabel(set, *shown.part, set.iShowFeatureGetNo());
    if (label.empty()) return;
    OPainter& p = s.painter;
    p.SetMapping(OMapping::Identity());
    p.SetFont(kFontPixels * s.area.unit, true);
    const OPoint size = p.TextSize(label);
    const OPoint at = s.Base(kScaleBandLeft + 4, 3);
    p.FillRect({at.x - s.area.unit, at.y, at.x + size.x + s.area.unit, at.y + size.y},
               {255, 255, 255});
    p.SetPen({0, 0, 0});
    p.DrawText(at, label);
    p.SetFont(kFontPixels * s.area.unit);
}

void PaintQualityDisc(OScene& s, const OType_ZRPartSet& set) {
    const ContourViewPaint::OShownPart shown = ContourViewPaint::ShownPart(set);
    ORect disc;
    ORgb colour;
    if (!shown.part || !ContourViewPaint::bQualityDisc(*shown.part, shown.teach,
                                                       s.view.Host().bUsesQualityDecision(),
                                                       s.area.height, disc, colour)) {
        return;
    }
    OPainter& p = s.painter;
    p.SetMapping(s.pixels);
    p.SetPen(colour);
    p.SetBrush(colour);
    p.DrawEllipse(disc);
    p.NoBrush();
}

void PaintViewingAreaBars(OScene& s, const OType_ZRPartSet& set, bool printing) {
    if (!printing) s.view.UpdateViewingAreaBars();
    if (set.iGetFilterMode() != 1) return;
    OPainter& p = s.painter;
    const OContourViewState& v = s.state;
    p.SetClip(s.DrawingArea());
    p.SetMapping(OMapping::Identity());
    p.SetFont(kFontPixels * s.area.unit);
    const ORect drawing = s.DrawingArea();
    for (const auto& [limit, name] : {std::pair<int, const char*>{set.iGetFilterLimit1(), "Lower"},
                                      {set.iGetFilterLimit2(), "Upper"}}) {
        const OPoint at = s.contour.ToBase({v.windowLeft, limit});
        p.FillRect({drawing.left, at.y - 2 * s.area.unit, drawing.right, at.y + 2 * s.area.unit},
                   kViewingAreaBar);
        p.SetPen({0, 0, 0});
        p.DrawText({drawing.right - 4 * s.area.unit, at.y - p.TextSize("0").y - 3 * s.area.unit},
                   FormatPrintf("%s limit: %d", name, limit), OTextAlign::Right);
    }
    p.NoClip();
}

void PaintTapeMeasure(OScene& s) {
    const std::vector<std::string> text = s.view.TapeMeasureText();
    if (text.size() != 4) return;
    OPainter& p = s.painter;
    const OContourViewState& v = s.state;
    p.SetMapping(s.pixels);
    p.SetPen(ContourViewPaint::kTapeMeasure);
    p.DrawLine(v.measureStart, v.measureEnd);
    p.SetMapping(OMapping::Identity());
    p.SetFont(kFontPixels * s.area.unit);
    const std::array<std::string, 4> lines = {text[0], text[1], text[2], text[3]};
    const double perBase = 1.0 / s.area.unit;
    const ORect box =
        ContourViewText::TapeMeasureBox(lines, v.measureEnd, v.measureEnd.x - v.measureStart.x,
                                        OPainterMeasurer(p, perBase, perBase));
    const ORect base = s.BaseRect(box.left, box.top, box.right, box.bottom);
    p.SetPen({0, 0, 0});
    p.SetBrush({255, 255, 255});
    p.DrawRect(base);
    p.NoBrush();
    const int lineHeight = p.TextSize("X").y;
    const int indent = p.TextSize("X").x;
    for (size_t i = 0; i < lines.size(); ++i) {
        p.DrawText(
            {base.left + indent, base.top + 2 * s.area.unit + static_cast<int>(i) * lineHeight},
            lines[i]);
    }
}

}  // namespace

OMapping ContourMapping(const OViewMapping& m, const OContourSceneArea& area) {
    if (m.identity) return PixelMapping(area);
    OMapping mapping;
    mapping.windowOrg = {m.windowOrgX, m.windowOrgY};
    mapping.windowExt = {m.windowExtX, m.windowExtY};
    mapping.viewportOrg = {area.origin.x + m.viewportOrgX * area.unit,
                           area.origin.y + m.viewportOrgY * area.unit};
    mapping.viewportExt = {m.viewportExtX * area.unit, m.viewportExtY * area.unit};
    return mapping;
}

OMapping PixelMapping(const OContourSceneArea& area) {
    OMapping mapping;
    mapping.viewportOrg = area.origin;
    mapping.viewportExt = {area.unit, area.unit};
    return mapping;
}

void Paint(OPainter& painter, OContourViewController& view, const OContourSceneArea& area,
           bool printing) {
    const OContourViewState& state = view.Engine().ViewState();
    OScene s{painter,
             view,
             area,
             state,
             ContourMapping(ContourViewMapping(state, area.width, area.height), area),
             PixelMapping(area)};
    painter.SetMapping(OMapping::Identity());
    painter.NoClip();
    painter.FillRect(s.BaseRect(0, 0, area.width - 1, area.height - 1), {255, 255, 255});
    OType_ZRPartSet* set = view.Host().opGetActualPartSet();
    if (set) PaintPart(s, *set, printing);
    PaintGrid(s);
    if (set) {
        PaintSelectedLabel(s, *set);
        PaintQualityDisc(s, *set);
        PaintViewingAreaBars(s, *set, printing);
    }
    if (!printing) PaintTapeMeasure(s);
    painter.SetMapping(OMapping::Identity());
}

bool bPaintBasicFeature(OPainter& p, int index, const OBasicContourFeatures& m, double value) {
    const int columns = m.columns;
    const int top = m.smallestTop;
    const int cx = static_cast<int>(std::lround(m.centreX));
    const int cy = static_cast<int>(std::lround(m.centreY));
    const auto circle = [&](double radius) {
        const int r = static_cast<int>(std::lround(std::max(radius, 0.0)));
        p.DrawEllipse({cx - r, cy - r, cx + r, cy + r});
    };
    switch (index) {
        case BasicFeature::kColumns:
            p.DrawLine({0, cy}, {columns, cy});
            return true;
        case BasicFeature::kHeight:
            p.DrawLine({cx, top}, {cx, top + static_cast<int>(std::lround(value))});
            return true;
        case BasicFeature::kArea:
        case BasicFeature::kEdges:
            p.DrawRect({0, top, columns, top + static_cast<int>(std::lround(m.values[1]))});
            return true;
        case BasicFeature::kLeftArea:
            p.DrawLine({columns / 2, top}, {columns / 2, top + static_cast<int>(m.values[1])});
            return true;
        case BasicFeature::kLowerArea:
            p.DrawLine({0, m.middleRow}, {columns, m.middleRow});
            return true;
        case BasicFeature::kCentreRow:
        case BasicFeature::kCentreColumn:
            p.DrawLine({cx - 10, cy}, {cx + 10, cy});
            p.DrawLine({cx, cy - 10}, {cx, cy + 10});
            return true;
        case BasicFeature::kMinRadius:
        case BasicFeature::kMaxRadius:
            circle(value);
            return true;
        case BasicFeature::kMomentX: {
            const int d = static_cast<int>(std::lround(std::sqrt(std::max(value, 0.0))));
            p.DrawLine({cx - d, cy}, {cx + d, cy});
            return true;
        }
        case BasicFeature::kMomentY: {
            const int d = static_cast<int>(std::lround(std::sqrt(std::max(value, 0.0))));
            p.DrawLine({cx, cy - d}, {cx, cy + d});
            return true;
        }
        default:
            return false;
    }
}

}  // namespace ContourViewScene
