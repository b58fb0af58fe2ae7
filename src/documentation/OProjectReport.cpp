#include "documentation/OProjectReport.h"

#include "documentation/ODocumentationEditor.h"
#include "model/draw/OPainter.h"
#include "model/strings/ResStr.h"

namespace {

using PageLayout::OTableColumn;

constexpr int kTitleHeight = 60;  // 6 mm
constexpr int kHeadHeight =
    PageLayout::kHeadTextHeight + 3 * PageLayout::kCellPadding + kTitleHeight + 40;
constexpr int kFootHeight = PageLayout::kTextHeight + 2 * PageLayout::kCellPadding;

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\r') continue;
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    lines.push_back(line);
    return lines;
}

}  // namespace

OProjectReport::OProjectReport(const OType_ProjectData& data, const Lines& target, std::string date)
    : m_date(std::move(date)), m_table({OTableColumn{"Field", 2}, OTableColumn{"Entry", 5}}) {
    m_headLeft = data.Get(ProjectField::ProjectName);
    if (!data.Get(ProjectField::ProjectNo).empty())
        m_headLeft += (m_headLeft.empty() ? "" : " \u2013 ") + data.Get(ProjectField::ProjectNo);
    for (int page = 0; page < ODocumentationEditor::kPages; ++page) {
        Lines lines;
        for (const ODocumentationField& f : ODocumentationEditor::Fields()) {
            if (f.page != page) continue;
            // The customer page holds two blocks: the customer's, then the end customer's.
            if (f.field == ProjectField::CustomerName) lines.emplace_back(ResStr(1511), "");
            if (f.field == ProjectField::EndCustomerName) lines.emplace_back(ResStr(1518), "");
            const std::string& value = data.Get(f.field);
            if (value.empty()) {
                lines.emplace_back(ResStr(f.labelText), ResStr(1587));
                continue;
            }
            const std::vector<std::string> parts = SplitLines(value);
            for (size_t i = 0; i < parts.size(); ++i)
                lines.emplace_back(i == 0 ? ResStr(f.labelText) : std::string(), parts[i]);
        }
        AddSection(ODocumentationEditor::PageTitle(page), lines);
        if (page == 2 && !target.empty()) AddSection(ResStr(1555), target);
    }
}

void OProjectReport::AddSection(const std::string& title, const Lines& lines) {
    m_table.AddRow({title, {}});
    for (const auto& [label, value] : lines)
        m_table.AddRow({label, value});
}

std::string OProjectReport::PrintTitle() const {
    return ResStr(1500);
}

ORect OProjectReport::BodyArea(const OPage& page) const {
    return {0, kHeadHeight, page.width, page.height - kFootHeight};
}

int OProjectReport::iPreparePages(const OPage& page) {
    m_pageStarts = PageLayout::TablePages(m_table, BodyArea(page));
    return static_cast<int>(m_pageStarts.size());
}

void OProjectReport::PaintPage(OPainter& painter, int index, const OPage& page) {
    if (index < 0 || index >= static_cast<int>(m_pageStarts.size())) return;
    const ORect below = PageLayout::HeadLine(painter, page.Area(), m_headLeft, m_date);
    painter.SetFont(kTitleHeight, true);
    const std::string title = index == 0 ? PrintTitle() : PrintTitle() + " " + ResStr(1586);
    painter.DrawText({0, below.top + 20}, title, OTextAlign::Left);
    PageLayout::PaintTablePage(painter, m_table, m_pageStarts, index, BodyArea(page), page.Area());
}
