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

std::string ElidedText(const OPainter& painter, std::string_view text, int width) {
    if (painter.TextSize(text).x <= width) return std::string(text);
    static constexpr std::string_view kEllipsis = "\xE2\x80\xA6";
    std::string cut(text);
    while (!cut.empty()) {
        // Drop the last character with all its UTF-8 continuation bytes.
        size_t end = cut.size() - 1;
        while (end > 0 && (static_cast<unsigned char>(cut[end]) & 0xC0) == 0x80)
            --end;
        cut.erase(end);
        while (!cut.empty() && cut.back() == ' ')
            cut.pop_back();
        if (painter.TextSize(cut + std::string(kEllipsis)).x <= width)
            return cut + std::string(kEllipsis);
    }
    return painter.TextSize(kEllipsis).x <= width ? std::string(kEllipsis) : std::string();
}

std::vector<int> OPrintTable::WeightedEdges(const ORect& area) const {
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

bool OPrintTable::bIsTitleRow(const std::vector<std::string>& cells) const {
    return !m_columns.empty() && m_columns.front().align == OTextAlign::Left && !cells.empty() &&
           !cells[0].empty() &&
           std::all_of(cells.begin() + 1, cells.end(),
                       [](const std::string& cell) { return cell.empty(); });
}

OPrintTable::ONeeded OPrintTable::NeededWidths(OPainter& painter) const {
    ONeeded needed{std::vector<int>(m_columns.size(), 0), {}};
    painter.SetFont(m_textHeight, true);
    for (size_t c = 0; c < m_columns.size(); ++c)
        needed.heading[c] = painter.TextSize(m_columns[c].title).x + 2 * kCellPadding;
    needed.all = needed.heading;
    painter.SetFont(m_textHeight, false);
    for (const auto& row : m_rows) {
        if (bIsTitleRow(row)) continue;
        for (size_t c = 0; c < m_columns.size() && c < row.size(); ++c)
            needed.all[c] = std::max(needed.all[c], painter.TextSize(row[c]).x + 2 * kCellPadding);
    }
    return needed;
}

std::vector<int> OPrintTable::ColumnEdges(OPainter& painter, const ORect& area) const {
    std::vector<int> edges = WeightedEdges(area);
    // Measuring changes only the painter's font, which Paint sets again for every row.
    const ONeeded needed = NeededWidths(painter);
    bool allFit = true;
    for (size_t c = 0; c < m_columns.size(); ++c)
        allFit = allFit && needed.all[c] <= edges[c + 1] - edges[c];
    if (allFit) return edges;

    int left = area.right - area.left;
    // Headings stand whole unless the page is too narrow even for them.
    std::vector<int> least = needed.heading;
    if (std::accumulate(least.begin(), least.end(), 0) > left) least.assign(least.size(), 0);
    // A column whose texts fit its share of what is left, or whose heading needs more than
    // that share, keeps what it needs; one at a time, until no column does.
    std::vector<int> width(m_columns.size(), -1);
    auto weight = [&](size_t c) { return std::max(m_columns[c].weight, 0); };
    for (bool fixedOne = true; fixedOne;) {
        fixedOne = false;
        int weights = 0;
        for (size_t c = 0; c < m_columns.size(); ++c)
            if (width[c] < 0) weights += weight(c);
        for (size_t c = 0; c < m_columns.size() && weights > 0 && !fixedOne; ++c) {
            if (width[c] >= 0) continue;
            const int share = left * weight(c) / weights;
            if (needed.all[c] <= share || least[c] >= share) {
                width[c] = needed.all[c] <= share ? needed.all[c] : least[c];
                left -= width[c];
                fixedOne = true;
            }
        }
    }
    if (left < 0) return edges;  // the texts' needs cannot be met: keep the weights
    // The rest goes by weight: to the columns still open, or to all when every column fits.
    const bool anyOpen = std::any_of(width.begin(), width.end(), [](int w) { return w < 0; });
    int weights = 0;
    for (size_t c = 0; c < m_columns.size(); ++c)
        if (!anyOpen || width[c] < 0) weights += weight(c);
    for (size_t c = 0; c < m_columns.size(); ++c) {
        const bool shares = !anyOpen || width[c] < 0;
        const int extra = shares && weights > 0 ? left * weight(c) / weights : 0;
        edges[c + 1] = edges[c] + std::max(width[c], 0) + extra;
    }
    edges.back() = area.right;  // what rounding left over
    return edges;
}

int OPrintTable::Paint(OPainter& painter, const ORect& area, int first, int count) const {
    const std::vector<int> edges = ColumnEdges(painter, area);
    const int rowHeight = iRowHeight();
    auto paintRow = [&](int top, const std::vector<std::string>& cells, bool heading) {
        if (heading) painter.FillRect({area.left, top, area.right, top + rowHeight}, kHeadingFill);
        painter.SetFont(m_textHeight, heading);
        painter.SetPen(kBlack);
        const bool title = !heading && bIsTitleRow(cells);
        const size_t shown = title ? 1 : m_columns.size();
        for (size_t c = 0; c < shown; ++c) {
            const int cellRight = title ? area.right : edges[c + 1];
            const int left = edges[c] + kCellPadding;
            const int right = cellRight - kCellPadding;
            const OTextAlign align = heading || title ? OTextAlign::Left : m_columns[c].align;
            const int x = align == OTextAlign::Left    ? left
                          : align == OTextAlign::Right ? right
                                                       : (left + right) / 2;
            painter.SetClip({edges[c], top, cellRight, top + rowHeight});
            painter.DrawText({x, top + kCellPadding}, ElidedText(painter, cells[c], right - left),
                             align);
        }
        painter.NoClip();
        painter.SetPen(kBlack);
        painter.DrawLine({area.left, top + rowHeight}, {area.right, top + rowHeight});
        if (title) return;
        for (size_t c = 1; c + 1 < edges.size(); ++c)
            painter.DrawLine({edges[c], top}, {edges[c], top + rowHeight});
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
