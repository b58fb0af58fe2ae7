#include "extraction/OContourViewText.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "model/part/OType_Part.h"
#include "model/strings/FormatPrintf.h"
#include "model/strings/ResStr.h"

namespace ContourViewText {

namespace {

constexpr int kTeachPartLabel = 26003;
constexpr int kTestPartLabel = 26004;
constexpr int kOrientationLabel = 2183;
constexpr int kTypeLabel = 2227;
constexpr int kCommentLabel = 26005;
constexpr int kMinStretchPane = 50;

int StepX(int q) {
    if (q <= 0) return 1;
    if (q <= 3) return 2;
    if (q <= 5) return 4;
    if (q <= 14) return 10;
    if (q < 39) return 20;
    return 40;
}

int StepY(int q) {
    if (q <= 0) return 1;
    if (q <= 3) return 2;
    if (q <= 9) return 4;
    if (q <= 14) return 10;
    if (q < 39) return 20;
    return 40;
}

std::string WithoutLineBreaks(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += (text[i] == '\r' || text[i] == '\n') ? ' ' : text[i];
    }
    return out;
}

}  // namespace

int GridStep(int textWidth, int textHeight) {
    return std::max(StepX(2 * textWidth / kGridBase), StepY(2 * textHeight / kGridBase));
}

int GridStep(const OTextMeasurer& measurer) {
    const OPoint size = measurer.TextSize("00000");
    return GridStep(std::abs(size.x), std::abs(size.y));
}

std::vector<int> GridLines(int from, int to, int step) {
    std::vector<int> lines;
    const int spacing = kGridBase * std::max(step, 1);
    if (to < from) std::swap(from, to);
    int first = (from / spacing) * spacing;
    if (first < from) first += spacing;
    for (int v = first; v <= to; v += spacing)
        lines.push_back(v);
    return lines;
}

std::string ScaleLabel(int value) {
    return FormatPrintf("%d", value);
}

std::array<std::string, 4> TapeMeasureLines(OPoint start, OPoint end, double fx, double fy) {
    const int dx = end.x - start.x;
    const int dy = end.y - start.y;
    const bool scaled = fx != 1.0 || fy != 1.0;
    const double length = std::sqrt(double(dx) * dx * fx * fx + double(dy) * dy * fy * fy);
    std::array<std::string, 4> lines;
    lines[0] = FormatPrintf("X:%d Y:%d - X:%d Y:%d", start.x, start.y, end.x, end.y);
    lines[1] =
        scaled ? FormatPrintf("Dx:%3.0lf (%3.3lf), Dy:%3.0lf (%3.3lf)", fx * dx, fx, fy * dy, fy)
               : FormatPrintf("Dx:%3.0lf , Dy:%3.0lf", fx * dx, fy * dy);
    lines[2] = scaled ? FormatPrintf("D:%3.2lf (x:%3.3lf, y:%3.3lf)", length, fx, fy)
                      : FormatPrintf("D:%3.2lf", length);
    if (dx == 0) {
        lines[3] = dy > 0 ? "Alpha:90" : "Alpha:-90";
    } else {
        double alpha = std::atan(static_cast<double>(dy) / dx) * 57.29577951;
        if (dx < 0 && dy > 0) alpha += 180.0;
        if (dx < 0 && dy <= 0) alpha -= 180.0;
        lines[3] = FormatPrintf("Alpha:%3.2lf", alpha);
    }
    return lines;
}

ORect TapeMeasureBox(const std::array<std::string, 4>& lines, OPoint end, int dx,
                     const OTextMeasurer& measurer) {
    int widest = 0, lineHeight = 0;
    for (const std::string& line : lines) {
        const OPoint size = measurer.TextSize(line);
        widest = std::max(widest, size.x);
        lineHeight = std::max(lineHeight, size.y);
    }
    const int width = widest + 2 * measurer.TextSize("0").x;
    const int height = lineHeight * static_cast<int>(lines.size());
    const int left = dx < 0 ? end.x - width : end.x;
    return {left, end.y, left + width, end.y + height};
}

std::string PointerPane(OPoint contour) {
    return FormatPrintf("X:%d Y:%d", contour.x, contour.y);
}

OStatusPanes PartPanes(const OType_Part* part, bool teach, int deviceOrientations,
                       bool usesOrientations, bool usesTypes) {
    OStatusPanes panes;
    const std::string& partLabel = ResStr(teach ? kTeachPartLabel : kTestPartLabel);
    if (!part) {
        panes.text[1] = FormatPrintf("%s --", partLabel);
        panes.text[2] = " -- ";
        panes.text[3] = FormatPrintf("%s --", ResStr(kCommentLabel));
        return panes;
    }
    panes.text[1] = FormatPrintf("%s %d", partLabel, part->iGetRecordNo());
    std::string& assignment = panes.text[2];
    if (deviceOrientations > 1 && usesOrientations)
        assignment = FormatPrintf("%s %d", ResStr(kOrientationLabel), part->iGetOrientation());
    if (part->iGetType() <= 0) {
        assignment += (assignment.empty() ? "" : ", ") + std::string("Ignore part");
    } else if (usesTypes) {
        assignment += FormatPrintf(assignment.empty() ? "%s %d" : ", %s %d", ResStr(kTypeLabel),
                                   std::abs(part->iGetType()));
    }
    panes.text[3] =
        FormatPrintf("%s %s", ResStr(kCommentLabel), WithoutLineBreaks(part->GetComment()));
    return panes;
}

std::array<int, 4> PaneWidths(const OTextMeasurer& m) {
    return {m.TextSize(FormatPrintf("X:%d Y:%d", 10000, 10000)).x,
            m.TextSize(FormatPrintf("%s %d", ResStr(kTeachPartLabel), 10000)).x,
            m.TextSize(
                 FormatPrintf("%s %d, %s %d", ResStr(kOrientationLabel), 16, ResStr(kTypeLabel), 8))
                .x,
            kMinStretchPane};
}

}  // namespace ContourViewText
