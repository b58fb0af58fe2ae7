#include "classification/TeachDataPaint.h"

#include <algorithm>

#include "model/draw/OPageLayout.h"
#include "model/draw/OPainter.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/FormatPrintf.h"

namespace TeachDataPaint {

namespace {
constexpr ORgb kWhite{255, 255, 255};
constexpr ORgb kBlack{0, 0, 0};
constexpr ORgb kGrey{128, 128, 128};
constexpr int kTickLength = 3;

int Round(double v) {
    return static_cast<int>(v < 0 ? v - 0.5 : v + 0.5);
}
}  // namespace

ORgb ClassRgb(int orientation) {
    return ORgb::FromColorRef(TeachDataView::ClassColour(orientation));
}

void PaintLearningCurve(OPainter& painter, const TeachDataView::OLearningCurve& curve,
                        int fontHeight) {
    const int left = Round(curve.plotLeft);
    const int right = Round(curve.plotRight);
    const int top = Round(curve.plotTop);
    const int bottom = Round(curve.plotBottom);
    painter.SetFont(fontHeight);
    painter.SetPen(kGrey);
    painter.DrawLine({left - kTickLength, top}, {left - kTickLength, bottom + kTickLength});
    painter.DrawLine({left - kTickLength, bottom + kTickLength}, {right, bottom + kTickLength});
    if (curve.points.empty()) return;

    painter.SetPen(kBlack);
    painter.DrawText({left, 0}, curve.topLabel);
    const int textHeight = painter.TextSize(curve.bottomLabel).y;
    painter.DrawText({left, bottom - textHeight}, curve.bottomLabel);
    for (const TeachDataView::OCurveTick& tick : curve.ticks) {
        const int x = Round(tick.x);
        painter.SetPen(kGrey);
        painter.DrawLine({x, bottom + kTickLength}, {x, bottom + 2 * kTickLength});
        painter.SetPen(kBlack);
        painter.DrawText({x, bottom + 2 * kTickLength}, tick.text, OTextAlign::Center);
    }
    for (const TeachDataView::OCurveLine& line : curve.lines) {
        painter.SetPen(ORgb::FromColorRef(line.colour));
        painter.DrawLine({Round(line.x1), Round(line.y1)}, {Round(line.x2), Round(line.y2)});
    }
    const int half = curve.markerSize / 2;
    for (const TeachDataView::OCurvePoint& p : curve.points) {
        const int x = Round(p.x), y = Round(p.y);
        painter.FillRect(
            {x - half, y - half, x - half + curve.markerSize - 1, y - half + curve.markerSize - 1},
            ORgb::FromColorRef(p.colour));
    }
}

}  // namespace TeachDataPaint

namespace {

constexpr int kHeaderShare = 15;  // percent of the first page
constexpr int kGap = 40;          // 4 mm between the tables
constexpr int kCurveFont = 30;

PageLayout::OPrintTable MakeTable(const TeachDataView::OPrintTable& source,
                                  const OType_VectorArray* vectors) {
    using PageLayout::OTableColumn;
    std::vector<OTableColumn> columns{{"Feature:", 3, OTextAlign::Left}};
    for (const std::string& title : source.columns)
        columns.push_back({title, 2, OTextAlign::Right});
    PageLayout::OPrintTable table(std::move(columns));
    for (size_t r = 0; r < source.rows.size(); ++r) {
        const int i = static_cast<int>(r);
        const OType_Vector* v = vectors ? vectors->opGetAt(i) : nullptr;
        std::vector<std::string> cells{FormatPrintf("%d. %s", i + 1, v ? v->name : "")};
        cells.insert(cells.end(), source.rows[r].begin(), source.rows[r].end());
        table.AddRow(std::move(cells));
    }
    return table;
}

}  // namespace

OTeachDataPrintable::OTeachDataPrintable(const OType_ZRPartSet& partSet, int displayMode,
                                         std::string title)
    : m_partSet(partSet), m_displayMode(displayMode), m_title(std::move(title)) {}

int OTeachDataPrintable::iPreparePages(const OPage& page) {
    m_printout = TeachDataView::BuildPrintout(m_partSet, m_displayMode);
    m_pages.clear();
    if (m_printout.header.empty()) return 0;
    const OType_ZRPartSet_SubType* record = m_partSet.opGetSubType(m_partSet.iShowSubTypeGetNo());
    const int firstTop = page.height * kHeaderShare / 100 + kGap;
    const int headingHeight = PageLayout::kHeadTextHeight + PageLayout::kCellPadding;
    m_pages.emplace_back();
    int top = firstTop;
    for (size_t t = 0; t < m_printout.tables.size(); ++t) {
        const PageLayout::OPrintTable table = MakeTable(
            m_printout.tables[t], record ? record->opGetVectorArray(static_cast<int>(t)) : nullptr);
        int row = 0;
        do {
            int fitting = table.iRowsFitting(page.height - top - headingHeight);
            const bool wantsRow = table.iGetRowCount() > 0;
            if (wantsRow && fitting < 1 && top > 0) {
                m_pages.emplace_back();
                top = 0;
                fitting = table.iRowsFitting(page.height - headingHeight);
            }
            // A page too small for a single row still takes one, so printing ends.
            if (wantsRow) fitting = std::max(fitting, 1);
            const int count = std::min(fitting, table.iGetRowCount() - row);
            m_pages.back().push_back({static_cast<int>(t), row, count, top});
            top += headingHeight + table.iRowHeight() * (count + 1) + kGap;
            row += count;
        } while (row < table.iGetRowCount());
    }
    return static_cast<int>(m_pages.size());
}

void OTeachDataPrintable::PaintHeader(OPainter& painter, const ORect& band) const {
    painter.SetPen({0, 0, 0});
    painter.SetFont(PageLayout::kHeadTextHeight, true);
    painter.DrawText({band.left, band.top}, m_printout.header);
    const int curveTop = band.top + PageLayout::kHeadTextHeight + PageLayout::kCellPadding;
    const TeachDataView::OLearningCurve curve = TeachDataView::BuildLearningCurve(
        m_partSet, m_partSet.iShowSubTypeGetNo(), TeachDataView::iDisplayModeOf(m_partSet) == 0,
        band.Width(), band.bottom - curveTop);
    OMapping shifted;
    shifted.viewportOrg = {band.left, curveTop};
    painter.SetMapping(shifted);
    TeachDataPaint::PaintLearningCurve(painter, curve, kCurveFont);
    painter.SetMapping(OMapping::Identity());
}

void OTeachDataPrintable::PaintPage(OPainter& painter, int index, const OPage& page) {
    if (index < 0 || index >= static_cast<int>(m_pages.size())) return;
    painter.SetMapping(OMapping::Identity());
    if (index == 0) PaintHeader(painter, {0, 0, page.width, page.height * kHeaderShare / 100});
    const OType_ZRPartSet_SubType* record = m_partSet.opGetSubType(m_partSet.iShowSubTypeGetNo());
    for (const OSlice& slice : m_pages[static_cast<size_t>(index)]) {
        const TeachDataView::OPrintTable& source =
            m_printout.tables[static_cast<size_t>(slice.table)];
        painter.SetPen({0, 0, 0});
        painter.SetFont(PageLayout::kHeadTextHeight, true);
        painter.DrawText({0, slice.top}, source.heading);
        const PageLayout::OPrintTable table =
            MakeTable(source, record ? record->opGetVectorArray(slice.table) : nullptr);
        const int tableTop = slice.top + PageLayout::kHeadTextHeight + PageLayout::kCellPadding;
        table.Paint(painter, {0, tableTop, page.width, page.height}, slice.firstRow,
                    slice.rowCount);
    }
}
