#include "managers/OToolManagerPrintout.h"

#include <ctime>

#include "model/draw/OPainter.h"

namespace {

using PageLayout::OTableColumn;

constexpr int kFootHeight = PageLayout::kTextHeight + 2 * PageLayout::kCellPadding;
constexpr int kHeadHeight = PageLayout::kHeadTextHeight + 3 * PageLayout::kCellPadding;

std::string NumberText(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

}  // namespace

OToolManagerPrintout::OToolManagerPrintout(
    std::string title, std::vector<std::pair<std::string, std::string>> infoLines,
    OPropertyList properties, std::string dateTime)
    : m_title(std::move(title)),
      m_dateTime(std::move(dateTime)),
      m_table({OTableColumn{"Property", 3}, OTableColumn{"Value", 3}, OTableColumn{"Range", 2}}) {
    for (auto& [label, value] : infoLines)
        m_table.AddRow({label, value, {}});
    std::string page;
    for (const OProperty& p : properties) {
        if (p.page != page) {
            page = p.page;
            m_table.AddRow({"[" + page + "]", {}, {}});
        }
        std::string value = PropertyList::Display(p);
        if (!p.unit.empty() && p.kind != OPropertyKind::Choice) value += " " + p.unit;
        m_table.AddRow({p.label, value, RangeText(p)});
    }
}

std::string OToolManagerPrintout::DateTimeText(std::chrono::system_clock::time_point when) {
    const std::time_t t = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    localtime_r(&t, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return text;
}

std::string OToolManagerPrintout::RangeText(const OProperty& p) {
    switch (p.kind) {
        case OPropertyKind::Integer:
        case OPropertyKind::Real: {
            const int decimals = p.kind == OPropertyKind::Real ? p.decimals : 0;
            std::string text =
                NumberText(p.minimum, decimals) + " \u2026 " + NumberText(p.maximum, decimals);
            if (!p.unit.empty()) text += " " + p.unit;
            return text;
        }
        case OPropertyKind::Text:
            return p.maxLength > 0 ? "\u2264 " + std::to_string(p.maxLength) + " characters"
                                   : std::string();
        default:
            return {};
    }
}

ORect OToolManagerPrintout::BodyArea(const OPage& page) const {
    return {0, kHeadHeight, page.width, page.height - kFootHeight};
}

int OToolManagerPrintout::iPreparePages(const OPage& page) {
    m_pageStarts = PageLayout::TablePages(m_table, BodyArea(page));
    return static_cast<int>(m_pageStarts.size());
}

void OToolManagerPrintout::PaintPage(OPainter& painter, int index, const OPage& page) {
    if (index < 0 || index >= static_cast<int>(m_pageStarts.size())) return;
    PageLayout::HeadLine(painter, page.Area(), m_title, m_dateTime);
    PageLayout::PaintTablePage(painter, m_table, m_pageStarts, index, BodyArea(page), page.Area());
}
