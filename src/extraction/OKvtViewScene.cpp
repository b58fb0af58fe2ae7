#include "extraction/OKvtViewScene.h"

#include <algorithm>
#include <cmath>

#include "extraction/OContourViewPaint.h"
#include "extraction/OExtr_KVT.h"
#include "extraction/OExtractorHost.h"
#include "extraction/OKvtViewController.h"
#include "extraction/OKvtViewHost.h"
#include "model/coordtrans/OCoordTrans_Tsai_Transformer.h"
#include "model/draw/OImagePainter.h"
#include "model/draw/OPainter.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "tools/kvt/OType_ConfigTool_KVT.h"

namespace KvtViewScene {

namespace {

using ContourViewScene::kButtonFace;
using ContourViewScene::kFontPixels;
using ContourViewScene::kGrid;
using KvtView::kScaleBandBottom;
using KvtView::kScaleBandLeft;

constexpr ORgb kWhite{255, 255, 255};
constexpr ORgb kBlack{0, 0, 0};
constexpr ORgb kTapeMeasure{255, 255, 0};
constexpr int kHandleHalf = 3;  // view pixels of half a handle square

struct OScene {
    OPainter& painter;
    OKvtViewController& view;
    const OContourSceneArea& area;
    OKvtViewMapping mapping;
    OMapping image;

    OPoint Base(double x, double y) const {
        return {area.origin.x + static_cast<int32_t>(std::lround(x * area.unit)),
                area.origin.y + static_cast<int32_t>(std::lround(y * area.unit))};
    }
    // An image point's base point, exact to the base unit.
    OPoint BaseOf(OPointD p) const {
        const OPointD w = mapping.ToWindow(p);
        return Base(w.x, w.y);
    }
    ORect BaseRect(double left, double top, double right, double bottom) const {
        const OPoint a = Base(left, top);
        const OPoint b = Base(right, bottom);
        return {a.x, a.y, b.x, b.y};
    }
    ORect DrawingArea() const {
        return BaseRect(kScaleBandLeft, 0, area.width, area.height - kScaleBandBottom);
    }
};

void PaintPicture(OScene& s, const OKvtShownPicture& picture) {
    OPainter& p = s.painter;
    p.SetMapping(OMapping::Identity());
    p.FillRect(s.DrawingArea(), kBackground);
    if (picture.bIsEmpty()) return;
    p.SetClip(s.DrawingArea());
    const OPoint topLeft = s.BaseOf({-0.5, -0.5});
    const OPoint bottomRight = s.BaseOf({picture.width - 0.5, picture.height - 0.5});
    OImageView view;
    view.data = picture.pixels.data;
    view.width = picture.width;
    view.height = picture.height;
    view.layers = picture.layers;
    view.stride = picture.pixels.step[0];
    // Painters without pictures (none so far) show the ground only.
    if (auto* images = dynamic_cast<OImagePainter*>(&p))
        images->DrawImage({topLeft.x, topLeft.y, bottomRight.x, bottomRight.y}, view);
    p.NoClip();
}

void PaintHandles(OScene& s, const OKvtRegion& region) {
    OPainter& p = s.painter;
    p.SetMapping(OMapping::Identity());
    const int half = kHandleHalf * s.area.unit;
    const auto corners = region.Corners();
    std::vector<OPointD> points(corners.begin(), corners.end());
    for (size_t i = 0; i < corners.size(); ++i) {
        const OPointD a = corners[i], b = corners[(i + 1) % corners.size()];
        points.push_back({(a.x + b.x) / 2, (a.y + b.y) / 2});
    }
    p.SetPen(kBlack, s.area.unit);
    p.SetBrush(kHandle);
    for (const OPointD& at : points) {
        const OPoint c = s.BaseOf(at);
        p.FillRect({c.x - half, c.y - half, c.x + half, c.y + half}, kHandle);
        p.DrawRect({c.x - half, c.y - half, c.x + half, c.y + half});
    }
    // The knob that turns the region about its centre, on a stalk from the top edge.
    const OPoint top = s.BaseOf(region.ToImage(region.width / 2, -0.5));
    const OPoint knob = s.BaseOf(KvtShapeTracker::TurnKnob(region, s.mapping));
    p.DrawLine(top, knob);
    p.DrawEllipse({knob.x - half - 1, knob.y - half - 1, knob.x + half + 1, knob.y + half + 1});
    const OPoint centre = s.BaseOf({region.centreX, region.centreY});
    p.DrawLine({centre.x - half, centre.y}, {centre.x + half, centre.y});
    p.DrawLine({centre.x, centre.y - half}, {centre.x, centre.y + half});
    p.NoBrush();
}

void PaintTools(OScene& s, bool printing) {
    OPainter& p = s.painter;
    p.SetClip(s.DrawingArea());
    p.SetFont(kFontPixels * s.area.unit);
    const OType_ZRPartSet* ps = s.view.PartSet();
    for (const OKvtToolOnView& tool : s.view.ToolsToDraw()) {
        p.SetMapping(s.image);
        tool.drawing.Render(p, tool.selected);
        if (!tool.selected || printing || !ps) continue;
        if (const auto* kvt =
                dynamic_cast<const OType_ConfigTool_KVT*>(ps->Tools().opGetAt(tool.index))) {
            if (kvt->bUsesImage()) PaintHandles(s, kvt->GetShape());
        }
    }
    p.NoClip();
}

// The label of a tick: pixel value, or the world value along the picture's middle line.
std::string TickLabel(const OScene& s, double pixel, bool horizontal) {
    const OType_ZRPartSet* ps = s.view.PartSet();
    if (!s.view.bShowsWorld() || !ps) return KvtViewText::ScaleLabel(pixel);
    const OKvtViewState& v = s.view.Engine().ViewState();
    const OPointD at = horizontal ? OPointD{pixel, v.rangeTop + v.rangeHeight / 2}
                                  : OPointD{v.rangeLeft + v.rangeWidth / 2, pixel};
    const auto world =
        KvtViewText::ImageToWorld(*ps->opGetCoordTransformer(), at, -s.view.ViewHost().dGetTapeZ());
    if (!world) return "-";
    return KvtViewText::ScaleLabel(std::round((horizontal ? world->x : world->y) * 10) / 10);
}

void PaintScales(OScene& s) {
    OPainter& p = s.painter;
    const int w = s.area.width;
    const int h = s.area.height;
    p.SetMapping(OMapping::Identity());
    p.SetFont(kFontPixels * s.area.unit);
    p.FillRect(s.BaseRect(0, 0, kScaleBandLeft, h), kButtonFace);
    p.FillRect(s.BaseRect(0, h - kScaleBandBottom, w, h), kButtonFace);
    p.SetPen(kGrid, s.area.unit);
    const OPoint corner = s.Base(kScaleBandLeft, h - kScaleBandBottom);
    p.DrawLine(s.Base(kScaleBandLeft, 0), corner);
    p.DrawLine(corner, s.Base(w, h - kScaleBandBottom));
    const int labelWidth = p.TextSize("00000").x / std::max(1, s.area.unit);
    const double step = LabelStep(s.mapping.scale, labelWidth);
    const OPointD first = s.mapping.ToImage({double(kScaleBandLeft), 0});
    const OPointD last = s.mapping.ToImage({double(w), double(h - kScaleBandBottom)});
    const int textHeight = p.TextSize("0").y;
    const int tick = 4 * s.area.unit;
    for (double x = std::ceil(first.x / step) * step; x <= last.x; x += step) {
        const OPoint at = s.BaseOf({x, 0});
        p.DrawLine({at.x, corner.y}, {at.x, corner.y + tick});
        p.DrawText({at.x, corner.y + tick}, TickLabel(s, x, true), OTextAlign::Center);
    }
    for (double y = std::ceil(first.y / step) * step; y <= last.y; y += step) {
        const OPoint at = s.BaseOf({0, y});
        p.DrawLine({corner.x - tick, at.y}, {corner.x, at.y});
        p.DrawText({corner.x - tick, at.y - textHeight / 2}, TickLabel(s, y, false),
                   OTextAlign::Right);
    }
    if (s.view.bShowsWorld()) {
        p.DrawText(s.Base(w - 2, h - kScaleBandBottom / 2.0 - kFontPixels / 2.0), " Xw",
                   OTextAlign::Right);
        p.DrawText(s.Base(0, 1), " Yw");
    }
}

void PaintSelectedLabel(OScene& s) {
    const OType_ZRPartSet* ps = s.view.PartSet();
    const OType_Part* part = ps ? ps->opGetShowPart() : nullptr;
    if (!part) return;
    const std::string label =
        ContourViewPaint::SelectedFeatureLabel(*ps, *part, ps->iShowFeatureGetNo());
    if (label.empty()) return;
    OPainter& p = s.painter;
    p.SetMapping(OMapping::Identity());
    p.SetFont(kFontPixels * s.area.unit, true);
    const OPoint size = p.TextSize(label);
    const OPoint at = s.Base(kScaleBandLeft + 4, 3);
    p.FillRect({at.x - s.area.unit, at.y, at.x + size.x + s.area.unit, at.y + size.y}, kWhite);
    p.SetPen(kBlack);
    p.DrawText(at, label);
    p.SetFont(kFontPixels * s.area.unit);
}

void PaintTapeMeasure(OScene& s) {
    const std::vector<std::string> lines = s.view.TapeMeasureText();
    if (lines.empty()) return;
    const OKvtViewState& v = s.view.Engine().ViewState();
    OPainter& p = s.painter;
    p.SetMapping(OMapping::Identity());
    p.SetFont(kFontPixels * s.area.unit);
    const OPoint start = s.BaseOf(v.measureStart);
    const OPoint end = s.BaseOf(v.measureEnd);
    p.SetPen(kTapeMeasure, s.area.unit);
    p.DrawLine(start, end);
    int widest = 0;
    int lineHeight = 0;
    for (const std::string& line : lines) {
        const OPoint size = p.TextSize(line);
        widest = std::max(widest, size.x);
        lineHeight = std::max(lineHeight, size.y);
    }
    const int width = widest + 2 * p.TextSize("0").x;
    const int left = end.x < start.x ? end.x - width : end.x;
    const ORect box{left, end.y, left + width, end.y + lineHeight * int(lines.size())};
    p.FillRect(box, kWhite);
    p.SetPen(kBlack, s.area.unit);
    p.NoBrush();
    p.DrawRect(box);
    for (size_t i = 0; i < lines.size(); ++i)
        p.DrawText({box.left + p.TextSize("0").x, box.top + lineHeight * int(i)}, lines[i]);
}

}  // namespace

OMapping ImageMapping(const OKvtViewMapping& m, const OContourSceneArea& area) {
    constexpr int kUnits = 10000;
    OMapping mapping;
    mapping.windowOrg = {0, 0};
    mapping.windowExt = {kUnits, kUnits};
    const double perPixel = m.scale * area.unit;
    const int ext = std::max(1, static_cast<int>(std::lround(perPixel * kUnits)));
    mapping.viewportExt = {ext, ext};
    mapping.viewportOrg = {
        area.origin.x +
            static_cast<int32_t>(std::lround((m.offsetX - m.rangeLeft * m.scale) * area.unit)),
        area.origin.y +
            static_cast<int32_t>(std::lround((m.offsetY - m.rangeTop * m.scale) * area.unit))};
    return mapping;
}

double LabelStep(double scale, int labelPixels) {
    const double wanted = (labelPixels + 8) / std::max(scale, 1e-9);
    for (double power = 1; power < 1e7; power *= 10) {
        for (double factor : {1.0, 2.0, 5.0}) {
            if (factor * power >= wanted) return factor * power;
        }
    }
    return 1e7;
}

void Paint(OPainter& painter, OKvtViewController& view, const OContourSceneArea& area,
           bool printing) {
    view.SetClientSize(area.width, area.height);
    view.SyncShownImage();
    OScene s{painter, view, area, view.Mapping(), {}};
    s.image = ImageMapping(s.mapping, area);
    PaintPicture(s, view.ShownPicture());
    PaintTools(s, printing);
    PaintSelectedLabel(s);
    PaintScales(s);
    if (!printing) PaintTapeMeasure(s);
    painter.SetMapping(OMapping::Identity());
}

}  // namespace KvtViewScene
