#include "model/draw/OPageLayout.h"

#include <algorithm>
#include <numeric>

namespace PageLayout {

namespace {
constexpr ORgb kBlack{0, 0, 0};
constexpr ORgb kHeadingFill{225, 225, 225};
}  // namespace

std::vector<ORect> Bands(const ORect& area, std::initializer_list<int> percents) {
    std::vector<ORect> bands;
    const int height = area.bottom - area.top;
    int top = area.top;
    int sum = 0;
    size_t i = 0;
    for (int percent : percents) {
        sum += percent;
        const bool last = ++i == percents.size();
        const int bottom =
            last ? area.top + height * std::min(sum, 100) / 100 : area.top + height * sum / 100;
        bands.push_back({area.left, top, area.right, bottom});
        top = bottom;
    }
    return bands;
}

ORect HeadLine(OPainter& painter, const ORect& area, const std::string& left,
               const std::string& right) {
    painter.SetFont(kHeadTextHeight, true);
    painter.SetPen(kBlack);
    painter.DrawText({area.left, area.top}, left, OTextAlign::Left);
    painter.SetFont(kHeadTextHeight, false);
    painter.DrawText({area.right, area.top}, right, OTextAlign::Right);
    const int line = area.top + kHeadTextHeight + kCellPadding;
    painter.SetPen(kBlack, 3);
    painter.DrawLine({area.left, line}, {area.right, line});
    painter.SetPen(kBlack);
    return {area.left, std::min(line + 2 * kCellPadding, area.bottom), area.right, area.bottom};
}

std::string PageNumberText(int page, int pages) {
    return "Page " + std::to_string(page) + " of " + std::to_string(pages);
}

OPrintTable::OPrintTable(std::vector<OTableColumn> columns, int textHeight)
    : m_columns(std::move(columns)), m_textHeight(std::max(textHeight, 1)) {}

void OPrintTable::AddRow(std::vector<std::string> cells) {
    cells.resize(m_columns.size());
    m_rows.push_back(std::move(cells));
}

int OPrintTable::iRowsFitting(int height) const {
    return std::max(0, height / iRowHeight() - 1);
}

std::vector<int> OPrintTable::ColumnEdges(const ORect& area) const {
    const int total = std::max(
        1, std::accumulate(m_columns.begin(), m_columns.end(), 0,
                           [](int s, const OTableColumn& c) { return s + std::max(c.weight, 0); }));
    std::vector<int> edges{area.left};
    int sum = 0;
    for (const OTableColumn& c : m_columns) {
        sum += std::max(c.weight, 0);
        edges.push_back(area.left + (area.right - area.left) * sum / total);
    }
    return edges;
}

int OPrintTable::Paint(OPainter& painter, const ORect& area, int first, int count) const {
    const std::vector<int> edges = ColumnEdges(area);
    const int rowHeight = iRowHeight();
    auto paintRow = [&](int top, const std::vector<std::string>& cells, bool heading) {
        if (heading) painter.FillRect({area.left, top, area.right, top + rowHeight}, kHeadingFill);
        painter.SetFont(m_textHeight, heading);
        painter.SetPen(kBlack);
        for (size_t c = 0; c < m_columns.size(); ++c) {
            const int left = edges[c] + kCellPadding;
            const int right = edges[c + 1] - kCellPadding;
            const OTextAlign align = heading ? OTextAlign::Left : m_columns[c].align;
            const int x = align == OTextAlign::Left    ? left
                          : align == OTextAlign::Right ? right
                                                       : (left + right) / 2;
            painter.SetClip({edges[c], top, edges[c + 1], top + rowHeight});
            painter.DrawText({x, top + kCellPadding}, cells[c], align);
        }
        painter.NoClip();
        painter.SetPen(kBlack);
        painter.DrawLine({area.left, top + rowHeight}, {area.right, top + rowHeight});
    };
    std::vector<std::string> titles;
    for (const OTableColumn& c : m_columns)
        titles.push_back(c.title);
    int top = area.top;
    paintRow(top, titles, true);
    top += rowHeight;
    const int last = std::min<int>(first + std::max(count, 0), iGetRowCount());
    for (int r = std::max(first, 0); r < last; ++r) {
        paintRow(top, m_rows[static_cast<size_t>(r)], false);
        top += rowHeight;
    }
    painter.NoBrush();
    painter.DrawRect({area.left, area.top, area.right, top});
    for (size_t c = 1; c + 1 < edges.size(); ++c)
        painter.DrawLine({edges[c], area.top}, {edges[c], top});
    return top;
}

std::vector<int> OPrintTable::PageStarts(int firstHeight, int nextHeight) const {
    std::vector<int> starts{0};
    int fitting = iRowsFitting(firstHeight);
    const int next = std::max(1, iRowsFitting(nextHeight));
    int row = 0;
    while (row + fitting < iGetRowCount()) {
        row += fitting;
        starts.push_back(row);
        fitting = next;
    }
    return starts;
}

std::vector<int> TablePages(const OPrintTable& table, const ORect& body) {
    const int height = body.bottom - body.top;
    if (height < 2 * table.iRowHeight()) return {};
    return table.PageStarts(height, height);
}

void PaintTablePage(OPainter& painter, const OPrintTable& table, const std::vector<int>& starts,
                    int index, const ORect& body, const ORect& sheet) {
    if (index < 0 || index >= static_cast<int>(starts.size())) return;
    const size_t i = static_cast<size_t>(index);
    const int first = starts[i];
    const int end = i + 1 < starts.size() ? starts[i + 1] : table.iGetRowCount();
    table.Paint(painter, body, first, end - first);
    painter.SetFont(kTextHeight, false);
    painter.DrawText({sheet.right, sheet.bottom - kTextHeight},
                     PageNumberText(index + 1, static_cast<int>(starts.size())), OTextAlign::Right);
}

}  // namespace PageLayout
