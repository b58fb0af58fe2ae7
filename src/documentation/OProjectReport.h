// The project documentation as a printed report: the title "Project documentation" with the
// project and the date in the head line, then one table of every page's fields (the target
// system after the device fields), section by section. Empty fields show "(not specified)";
// texts of several lines take one row per line. Rows that do not fit continue on the next
// page.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "model/draw/OPageLayout.h"
#include "model/draw/OPrintable.h"
#include "model/project/OType_ProjectData.h"

class OProjectReport : public OPrintable {
  public:
    using Lines = std::vector<std::pair<std::string, std::string>>;

    // target: label and value lines of the target system; date: the printing date.
    OProjectReport(const OType_ProjectData& data, const Lines& target, std::string date);

    std::string PrintTitle() const override;
    int iPreparePages(const OPage& page) override;
    void PaintPage(OPainter& painter, int index, const OPage& page) override;

    const PageLayout::OPrintTable& Table() const { return m_table; }

  private:
    ORect BodyArea(const OPage& page) const;
    void AddSection(const std::string& title, const Lines& lines);

    std::string m_headLeft;
    std::string m_date;
    PageLayout::OPrintTable m_table;
    std::vector<int> m_pageStarts;
};
