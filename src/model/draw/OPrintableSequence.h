// Several printables printed as one job: the pages of the first, then those of the next, each
// laid out for the same paper. The printout of the whole project is made of the printouts
// of its views.
#pragma once

#include <string>
#include <vector>

#include "model/draw/OPrintable.h"

class OPrintableSequence : public OPrintable {
  public:
    // The parts are not owned; they must outlive the print job.
    OPrintableSequence(std::string title, std::vector<OPrintable*> parts)
        : m_title(std::move(title)), m_parts(std::move(parts)) {}

    std::string PrintTitle() const override { return m_title; }
    int iPreparePages(const OPage& page) override;
    void PaintPage(OPainter& painter, int index, const OPage& page) override;
    void EndPrinting() override;

    // The pages each part prepared, in order.
    const std::vector<int>& PageCounts() const { return m_pages; }

  private:
    std::string m_title;
    std::vector<OPrintable*> m_parts;
    std::vector<int> m_pages;
};
