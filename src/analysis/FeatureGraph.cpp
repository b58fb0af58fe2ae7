#include "analysis/FeatureGraph.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "classification/TeachDataPaint.h"
#include "model/draw/OPainter.h"
#include "model/part/OType_Feature.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/FormatPrintf.h"

namespace FeatureGraph {

namespace {

constexpr double kLargestBound = 1e20;
constexpr int kLeftMargin = 60;
constexpr int kBottomMargin = 20;
constexpr int kMarker = 7;
constexpr int kFont = 11;
const char* const kModeNames[kModes] = {"Values",          "Values & Histogram",
                                        "Values (trans.)", "Values (trans.) & Histogram",
                                        "Deviations",      "Deviations & Histogram"};

const OType_PartArray& ShownList(const OType_ZRPartSet& partSet) {
    return partSet.iShowGetTeachTest() ? partSet.TeachParts() : partSet.TestParts();
}

bool bPassesType(const OType_Part& part, const OChoice& choice) {
    if (!choice.typesShown || choice.typeEntry == kAll) return true;
    if (choice.typeEntry == kSelection) return part.bIsSelected();
    if (choice.typeEntry == kIgnored) return part.iGetOrientation() < 0;
    return part.iGetType() == choice.typeEntry - 2;
}

bool bPassesOrientation(const OType_Part& part, const OChoice& choice) {
    if (!choice.orientationsShown || choice.orientationEntry == kAll) return true;
    if (choice.orientationEntry == kSelection) return part.bIsSelected();
    return std::abs(part.iGetOrientation()) == choice.orientationEntry - 1;
}

double PlottedValue(const OType_Feature& f, int mode) {
    if (bDeviation(mode)) return f.deviation;
    if (bTransformed(mode)) return f.alternativeValue;
    return f.value;
}

}  // namespace

std::vector<std::string> DisplayEntries(bool transformedOffered) {
    std::vector<std::string> entries;
    for (int m = 0; m < kModes; ++m) {
        if (bTransformed(m) && !transformedOffered) continue;
        entries.emplace_back(kModeNames[m]);
    }
    return entries;
}

int iModeOfEntry(int entry, bool transformedOffered) {
    if (transformedOffered) return std::clamp(entry, 0, kModes - 1);
    const int modes[] = {0, 1, 4, 5};
    return modes[std::clamp(entry, 0, 3)];
}

int iEntryOfMode(int mode, bool transformedOffered) {
    if (transformedOffered) return std::clamp(mode, 0, kModes - 1);
    if (bTransformed(mode)) return mode - 2;
    return mode >= 4 ? mode - 2 : std::max(mode, 0);
}

std::vector<std::string> TypeEntries(int types) {
    std::vector<std::string> entries = {"All", "Selection", "Ignored parts"};
    for (int t = 1; t <= types; ++t)
        entries.push_back(FormatPrintf("%d", t));
    return entries;
}

std::vector<std::string> OrientationEntries(int orientations) {
    std::vector<std::string> entries = {"All", "Selection"};
    for (int o = 1; o <= orientations; ++o)
        entries.push_back(FormatPrintf("%d", o));
    return entries;
}

bool bHasTransformedValues(const OType_ZRPartSet& partSet) {
    const OType_PartArray& list = ShownList(partSet);
    for (int i = 0; i < list.iGetSize(); ++i) {
        for (const OType_Feature& f : list.GetAt(i)->Features()) {
            if (f.valid && !f.bIsText() && f.alternativeValue != f.value) return true;
        }
    }
    return false;
}

std::vector<OGraphPoint> CollectPoints(const OType_ZRPartSet& partSet, const OChoice& choice) {
    std::vector<OGraphPoint> points;
    const OType_PartArray& list = ShownList(partSet);
    points.reserve(static_cast<size_t>(list.iGetSize()));
    for (int i = 0; i < list.iGetSize(); ++i) {
        const OType_Part& part = *list.GetAt(i);
        if (!bPassesType(part, choice) || !bPassesOrientation(part, choice)) continue;
        const OType_Feature* f = part.Features().opGetAt(choice.feature);
        if (!f || !f->valid || f->bIsText()) continue;
        const double value = PlottedValue(*f, choice.mode);
        if (!std::isfinite(value)) continue;
        points.push_back({i, part.iGetRecordNo(), part.iGetType(), part.iGetOrientation(), value});
    }
    return points;
}

std::vector<OBound> CollectBounds(const OType_ZRPartSet& partSet, const OChoice& choice) {
    std::vector<OBound> bounds;
    if (bDeviation(choice.mode) || bTransformed(choice.mode)) return bounds;
    const bool statistics = partSet.iShowGetTeachTest() == 1;
    for (int t = 0; t < partSet.iGetNum_SubTypes(); ++t) {
        const bool typeShown =
            !choice.typesShown || choice.typeEntry < 3 || choice.typeEntry - 2 == t + 1;
        if (!typeShown) continue;
        const OType_ZRPartSet_SubType* record = partSet.opGetSubType(t);
        for (int o = 0; o < record->iGetNumOrientations(); ++o) {
            if (choice.orientationsShown && choice.orientationEntry >= 2 &&
                choice.orientationEntry - 1 != o + 1)
                continue;
            // Classes without sample parts have no bounds to show.
            const OType_VectorArray* vectors = record->opGetVectorArray(o);
            if (!vectors || vectors->iGetPartCount() == 0) continue;
            const OType_Vector* v = vectors->opGetAt(choice.feature);
            if (!v || v->textFeature || v->state == 13 || v->state == 15) continue;
            if ((v->option & FeatureOption::kValueMask) == FeatureOption::kExcluded) continue;
            bounds.push_back({o + 1, statistics ? v->minimum : v->lowerBound,
                              statistics ? v->maximum : v->upperBound});
        }
    }
    return bounds;
}

OScale ComputeScale(const std::vector<OGraphPoint>& points, const std::vector<OBound>& bounds,
                    bool histogram) {
    double lo = std::numeric_limits<double>::infinity();
    double hi = -lo;
    for (const OGraphPoint& p : points) {
        lo = std::min(lo, p.value);
        hi = std::max(hi, p.value);
    }
    for (const OBound& b : bounds) {
        for (double v : {b.lower, b.upper}) {
            if (std::fabs(v) > kLargestBound || !std::isfinite(v)) continue;
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    }
    OScale scale;
    if (lo > hi) lo = hi = 0.0;
    const double c = (lo + hi) / 2.0;
    double top = c + 1.05 * (hi - c);
    double bottom = c - 1.05 * (c - lo);
    const double step = std::pow(10.0, std::floor(std::log10(std::fabs(top - bottom) + 1.0)));
    bottom = std::floor(bottom / step) * step;
    top = std::ceil(top / step) * step;
    if (top - bottom == 0.0) {
        // A single value: a third of the height per unit.
        top = bottom + 2.0;
        bottom -= 1.0;
    }
    if (histogram) {
        const double range = top - bottom;
        int outside = 0;
        for (const OGraphPoint& p : points)
            if (p.value < bottom || p.value > top) ++outside;
        int n = std::min(static_cast<int>(std::ceil(range / 3.0)),
                         static_cast<int>(points.size()) / 2 - outside);
        if (n < 30) n = range < 30.0 ? std::max(1, static_cast<int>(range)) : 30;
        double width = std::ceil(range / n);
        if (width == 0.0) width = 100.0;
        top = std::max(top, bottom + (n + 1) * width);
        scale.bins = n;
        scale.binWidth = width;
        scale.counts.assign(static_cast<size_t>(n), 0);
        for (const OGraphPoint& p : points) {
            const double bin = std::floor((p.value - bottom) / width);
            if (bin >= 0 && bin < n) ++scale.counts[static_cast<size_t>(bin)];
        }
    }
    scale.bottom = bottom;
    scale.top = top;
    return scale;
}

std::string TickLabel(double value, bool deviation) {
    std::string text = FormatPrintf(std::fabs(value) >= 100000.0 ? "%2.3le" : "%5.0lf", value);
    if (deviation) text += "%";
    return text;
}

OPlot Paint(OPainter& painter, const ORect& area, const std::vector<OGraphPoint>& points,
            const std::vector<OBound>& bounds, const OScale& scale, int mode) {
    OPlot plot;
    painter.FillRect(area, {255, 255, 255});
    const ORect p{area.left + kLeftMargin, area.top + 5, area.right - 5,
                  area.bottom - kBottomMargin};
    plot.plotArea = p;
    if (p.Width() <= 0 || p.Height() <= 0) return plot;
    const double range = scale.top - scale.bottom;
    const auto y = [&](double v) {
        return p.bottom - static_cast<int>(std::lround((v - scale.bottom) / range * p.Height()));
    };
    painter.SetFont(kFont);

    // Histogram bins: bars along the value axis, their length proportional to the count.
    if (scale.bins > 0) {
        const int most = *std::max_element(scale.counts.begin(), scale.counts.end());
        for (int b = 0; b < scale.bins && most > 0; ++b) {
            const int count = scale.counts[static_cast<size_t>(b)];
            if (count == 0) continue;
            const double from = scale.bottom + b * scale.binWidth;
            const int length = count * p.Width() / 3 / most;
            painter.FillRect({p.left + 1, y(from + scale.binWidth), p.left + length, y(from)},
                             {215, 225, 235});
            painter.SetPen({150, 170, 190});
            painter.NoBrush();
            painter.DrawRect({p.left + 1, y(from + scale.binWidth), p.left + length, y(from)});
        }
    }

    // Vertical scale.
    const int bins = scale.bins > 0 ? scale.bins : 10;
    int count = static_cast<int>(range);
    count = std::min(count, p.Height() / (2 * bins) > 0 ? std::max(p.Height() / (2 * bins), 2) : 2);
    count = std::clamp(count, 2, 50);
    double tick = std::ceil(range / count);
    if (tick == 0.0) tick = 1.0;
    const double first = std::ceil(scale.bottom / tick) * tick;
    int index = 0;
    for (double v = first; v <= scale.top + 1e-9 && index < 200; v += tick, ++index) {
        const int ty = y(v);
        painter.SetPen(index % 2 == 0 ? ORgb{200, 200, 200} : ORgb{120, 120, 120});
        if (index % 2 == 0) {
            painter.DrawLine({p.left, ty}, {p.right, ty});
        } else {
            painter.DrawLine({p.left - 4, ty}, {p.left, ty});
        }
        painter.SetPen({0, 0, 0});
        const OPoint size = painter.TextSize("0");
        painter.DrawText({p.left - 6, ty - size.y / 2}, TickLabel(v, bDeviation(mode)),
                         OTextAlign::Right);
        ++plot.ticks;
    }
    painter.SetPen({0, 0, 0});
    painter.DrawLine({p.left, p.top}, {p.left, p.bottom});
    painter.DrawLine({p.left, p.bottom}, {p.right, p.bottom});

    // Decision bounds in the class colours.
    for (const OBound& b : bounds) {
        painter.SetPen(TeachDataPaint::ClassRgb(b.orientation), 1, OPenStyle::Dash);
        for (double v : {b.lower, b.upper}) {
            if (std::fabs(v) > kLargestBound || v < scale.bottom || v > scale.top) continue;
            painter.DrawLine({p.left, y(v)}, {p.right, y(v)});
        }
    }

    // The parts.
    const size_t n = points.size();
    const double spacing = n > 1 ? static_cast<double>(p.Width() - 20) / (n - 1) : 1.0;
    plot.markers.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        const int x = p.left + static_cast<int>(std::lround(spacing * static_cast<double>(i)));
        const int py = y(points[i].value);
        const ORect marker{x - kMarker / 2, py - kMarker / 2, x + kMarker / 2, py + kMarker / 2};
        const ORgb colour = TeachDataPaint::ClassRgb(std::abs(points[i].orientation));
        painter.SetPen(colour == ORgb{0, 0, 0} ? colour : ORgb{60, 60, 60});
        painter.SetBrush(colour);
        painter.DrawEllipse(marker);
        plot.markers.push_back(marker);
        if (i % 10 == 0) {
            painter.SetPen({0, 0, 0});
            painter.DrawLine({x, p.bottom}, {x, p.bottom + 3});
            painter.DrawText({x, p.bottom + 4}, FormatPrintf("%d", points[i].partNumber),
                             OTextAlign::Center);
        }
    }
    painter.NoBrush();
    return plot;
}

int iHitMarker(const OPlot& plot, int x, int y) {
    for (int i = static_cast<int>(plot.markers.size()) - 1; i >= 0; --i) {
        const ORect& r = plot.markers[static_cast<size_t>(i)];
        if (x >= r.left - 1 && x <= r.right + 1 && y >= r.top - 1 && y <= r.bottom + 1) return i;
    }
    return -1;
}

std::string FormatValue(double value) {
    return FormatPrintf(std::fabs(value) >= 100000.0 ? "%05.5le" : "%05.2lf", value);
}

std::string Description(const OType_ZRPartSet& partSet, int feature) {
    const OType_Part* part = partSet.opGetShowPart();
    const std::string none = " -- ";
    if (!part) return none;
    std::string text = FormatPrintf("%s %d", "Part", part->iGetRecordNo());
    const OType_Feature* f = part->Features().opGetAt(feature);
    if (!f) return text + ", " + none;
    text += ", " + (f->name.empty() ? none : f->name) + ": ";
    if (!f->valid) {
        text += none;
    } else if (f->bIsText()) {
        text += FormatPrintf("(\"%s\")", f->textValue);
    } else {
        text += FormatValue(f->value);
    }
    text += FormatPrintf(", %s: %s%%", "Deviation", FormatPrintf("%.2lf", f->deviation));
    if (const OType_ConfigTool* tool =
            partSet.Tools().opGetCFToolAtFeature(feature, partSet.iGetFixedFeatures()))
        text += FormatPrintf(" [%s]", tool->GetName());
    text += FormatPrintf(", %s %d", "Type", part->iGetType());
    text += FormatPrintf(", %s %d", "Orientation", std::abs(part->iGetOrientation()));
    if (part->iGetOrientation() < 0) text += ", Ignore part";
    return text;
}

std::vector<OTableRow> OrientationTable(const std::vector<OGraphPoint>& points) {
    std::vector<OTableRow> rows;
    for (int o = 1; o <= 8; ++o) {
        double lo = 0, hi = 0, sum = 0;
        int n = 0;
        for (const OGraphPoint& p : points) {
            if (std::abs(p.orientation) != o) continue;
            lo = n ? std::min(lo, p.value) : p.value;
            hi = n ? std::max(hi, p.value) : p.value;
            sum += p.value;
            ++n;
        }
        if (n) rows.push_back({o, FormatValue(lo), FormatValue(sum / n), FormatValue(hi)});
    }
    return rows;
}

}  // namespace FeatureGraph
