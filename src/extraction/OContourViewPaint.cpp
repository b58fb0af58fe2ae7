#include "extraction/OContourViewPaint.h"

#include <algorithm>
#include <chrono>

#include "extraction/OContourViewState.h"
#include "extraction/OExtr_Default.h"
#include "model/draw/OPainter.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/FormatPrintf.h"
#include "model/strings/ResStr.h"
#include "tools/FeatureValueText.h"
#include "tools/OContourColumns.h"
#include "tools/OType_ConfigTool_Contour.h"

namespace ContourViewPaint {

namespace {
constexpr int kNoContourText = 26006;
constexpr int kDiscMargin = 5;
constexpr int kDiscSize = 15;
}  // namespace

OShownPart ShownPart(const OType_ZRPartSet& partSet) {
    OShownPart shown;
    shown.teach = partSet.iShowGetTeachTest() == 1;
    shown.fill = shown.teach ? kTeachFill : kTestFill;
    if (shown.teach) {
        const int n = partSet.iShowTeachPartGetNo();
        shown.part = n < 0 ? nullptr : partSet.TeachParts().GetAt(n);
    } else {
        shown.part = partSet.TestParts().GetAt(partSet.iShowTestPartGetNo());
    }
    return shown;
}

void PaintContour(OPainter& painter, const OType_Part& part, ORgb fill,
                  const OContourViewState& view) {
    if (part.iGetConturDataSize() == 0) {
        painter.SetPen({0, 0, 0});
        painter.DrawText(
            {view.windowLeft + 20, view.windowBottom + (view.windowTop - view.windowBottom) / 2},
            ResStr(kNoContourText));
        return;
    }
    OContourColumns columns;
    columns.Build(part.Contour());
    const int first = std::max(view.windowLeft, 0);
    const int last = std::min(view.windowRight, columns.iGetColumns() - 1);
    for (int c = first; c <= last; ++c) {
        const auto values = columns.ColumnValues(c);
        for (size_t i = 0; i + 1 < values.size(); i += 2) {
            const OContourRun r = ContourRunAt(values, i);
            if (r.Length() > 0) painter.FillRect({c, r.top, c, r.bottom - 1}, fill);
        }
    }
}

int PaintTools(OPainter& painter, OExtr_Default& engine, OType_ZRPartSet& partSet,
               const ZRINFO& deviceInfo, OType_Part& part, int selectedTool) {
    int drawn = 0;
    OType_ConfigToolArray& tools = partSet.Tools();
    for (int k = 0; k < tools.iGetNum(); ++k) {
        OType_ConfigTool& tool = *tools.opGetAt(k);
        bool owned = false;
        for (const OType_Feature& f : part.Features())
            owned = owned || f.toolId == tool.iGetToolId();
        if (!owned) continue;
        if (!tool.bTryLock(std::chrono::milliseconds(0))) {
            engine.ReportToolLockErrors(ExtractionError::kToolBusy);
            continue;
        }
        tool.iExtractObject_Test(partSet, deviceInfo, part, part.Features(), 0, &painter,
                                 k == selectedTool ? ToolDrawFlags::kSelected : 0, ORect{});
        tool.Unlock();
        ++drawn;
    }
    return drawn;
}

std::string SelectedFeatureLabel(const OType_ZRPartSet& partSet, const OType_Part& part,
                                 int feature) {
    const OType_Feature* f = part.Features().opGetAt(feature);
    if (!f) return {};
    const OType_ConfigTool* tool = partSet.Tools().opFindById(f->toolId);
    const std::string value = f->bIsText() ? f->textValue : FormatFeatureValue(f->value);
    return FormatPrintf("%s %s - %s", tool ? tool->GetName() : std::string(), f->name, value);
}

bool bQualityDisc(const OType_Part& part, bool teach, bool qualityOn, int clientHeight, ORect& disc,
                  ORgb& colour) {
    if (teach || !qualityOn) return false;
    disc = {kDiscMargin, clientHeight - kDiscMargin - kDiscSize, kDiscMargin + kDiscSize,
            clientHeight - kDiscMargin};
    colour = part.dGetResultValue(0) <= 100.0 ? kGoodPart : kBadPart;
    return true;
}

OPrintBands PrintBands(const ORect& page) {
    const int top = std::min(page.top, page.bottom);
    const int height = std::abs(page.bottom - page.top);
    const int headEnd = top + height * 15 / 100;
    const int pictureEnd = top + height * 65 / 100;
    return {{page.left, top, page.right, headEnd},
            {page.left, headEnd, page.right, pictureEnd},
            {page.left, pictureEnd, page.right, top + height}};
}

}  // namespace ContourViewPaint
