// Building blocks of printed pages: bands, the head line and tables that run over several
// pages. Everything is in the page's tenths of a millimetre.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "model/draw/OPainter.h"

namespace PageLayout {

inline constexpr int kTextHeight = 35;      // 3.5 mm: body text
inline constexpr int kHeadTextHeight = 45;  // 4.5 mm: the head line
inline constexpr int kCellPadding = 12;     // 1.2 mm around a table cell's text

// `area` cut from top to bottom into bands of the given percentages of its height (the
// last band takes what rounding leaves).
std::vector<ORect> Bands(const ORect& area, std::initializer_list<int> percents);

// A line of text at the left and one at the right on top of `area`, underlined; the rest
// of `area` below it is returned.
ORect HeadLine(OPainter& painter, const ORect& area, const std::string& left,
               const std::string& right);

// `text` as it fits into `width` with the painter's font: whole, or cut after a whole
// character and ended with an ellipsis; empty when not even the ellipsis fits.
std::string ElidedText(const OPainter& painter, std::string_view text, int width);

// "Page %d of %d".
std::string PageNumberText(int page, int pages);

struct OTableColumn {
    std::string title;
    int weight = 1;  // share of the table's width
    OTextAlign align = OTextAlign::Left;
};

// A table of text cells with a heading row. Rows that do not fit on a page continue on
// the next one, under the heading again.
class OPrintTable {
  public:
    explicit OPrintTable(std::vector<OTableColumn> columns, int textHeight = kTextHeight);

    void AddRow(std::vector<std::string> cells);
    int iGetRowCount() const { return static_cast<int>(m_rows.size()); }
    int iRowHeight() const { return m_textHeight + 2 * kCellPadding; }
    // How many rows fit below the heading in an area of this height (at least 0).
    int iRowsFitting(int height) const;
    // Paints rows [first, first + count) with the heading into `area`; returns the bottom
    // of the last row painted.
    int Paint(OPainter& painter, const ORect& area, int first, int count) const;
    // The first row of every page when the first page offers `firstHeight` and every
    // further page `nextHeight`; a table without rows has one (empty) page.
    std::vector<int> PageStarts(int firstHeight, int nextHeight) const;
    // The column edges across `area` (columns + 1 values) as Paint draws them: by weight,
    // unless a column's heading or a cell would not fit its share; then the columns that
    // need less than their share get what they need, every heading stands whole where the
    // page allows, and the others share the rest by weight.
    std::vector<int> ColumnEdges(OPainter& painter, const ORect& area) const;

  private:
    std::vector<int> WeightedEdges(const ORect& area) const;
    // The width each column's heading (`heading`) and its heading and cells (`all`) need,
    // padding included.
    struct ONeeded {
        std::vector<int> heading;
        std::vector<int> all;
    };
    ONeeded NeededWidths(OPainter& painter) const;
    // A row with text in its first, left-aligned cell only: a section title across the row.
    bool bIsTitleRow(const std::vector<std::string>& cells) const;

    std::vector<OTableColumn> m_columns;
    std::vector<std::vector<std::string>> m_rows;
    int m_textHeight;
};

// A table as the body of printed pages: the first row of every page when each page offers
// `body`; empty when not even a heading and one row fit.
std::vector<int> TablePages(const OPrintTable& table, const ORect& body);
// Paints page `index` of those pages into `body` and "Page %d of %d" at the bottom right of
// `sheet`.
void PaintTablePage(OPainter& painter, const OPrintTable& table, const std::vector<int>& starts,
                    int index, const ORect& body, const ORect& sheet);

}  // namespace PageLayout
