// The tool manager's printout: a head line with the view's title and the date and time,
// then one table of what the manager shows — the information page's lines followed by the
// tool's properties page by page, each with its value and its range. Rows that do not fit
// continue on the next page.
#pragma once

#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "model/draw/OPageLayout.h"
#include "model/draw/OPrintable.h"
#include "model/tools/OPropertyList.h"

class OToolManagerPrintout : public OPrintable {
  public:
    OToolManagerPrintout(std::string title,
                         std::vector<std::pair<std::string, std::string>> infoLines,
                         OPropertyList properties, std::string dateTime);

    std::string PrintTitle() const override { return m_title; }
    int iPreparePages(const OPage& page) override;
    void PaintPage(OPainter& painter, int index, const OPage& page) override;

    const PageLayout::OPrintTable& Table() const { return m_table; }
    // "2026-12-09 20:45" in local time.
    static std::string DateTimeText(std::chrono::system_clock::time_point when);
    // "0 … 511 px" for numbers, the choices for a choice; empty otherwise.
    static std::string RangeText(const OProperty& property);

  private:
    ORect BodyArea(const OPage& page) const;

    std::string m_title;
    std::string m_dateTime;
    PageLayout::OPrintTable m_table;
    std::vector<int> m_pageStarts;
};
