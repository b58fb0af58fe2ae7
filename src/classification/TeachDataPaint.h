// Drawing of the teach-data view through OPainter: the learning curve (on the screen and on
// the printed page) and the printout of the shown part type. The same calls paint the
// window, the printer, the print preview and a PDF file.
#pragma once

#include <string>
#include <vector>

#include "classification/TeachDataView.h"
#include "model/draw/OPrintable.h"

class OPainter;
class OType_ZRPartSet;

namespace TeachDataPaint {

// The colour of a class colour index as the painter takes it.
ORgb ClassRgb(int orientation);

// Paints the curve in its own pixel coordinates (the mapping set by the caller), on a white
// area of the curve's size: axes, the "C=" labels, ticks, lines and markers.
void PaintLearningCurve(OPainter& painter, const TeachDataView::OLearningCurve& curve,
                        int fontHeight);

}  // namespace TeachDataPaint

// The printout of the shown part type: a header band (15 % of the first page) with the type's
// name and tolerance and its learning curve, then one framed table per orientation, running
// over as many pages as they need.
class OTeachDataPrintable : public OPrintable {
  public:
    // The part set must outlive the print job.
    OTeachDataPrintable(const OType_ZRPartSet& partSet, int displayMode, std::string title);

    std::string PrintTitle() const override { return m_title; }
    int iPreparePages(const OPage& page) override;
    void PaintPage(OPainter& painter, int index, const OPage& page) override;

    // A piece of one table on one page.
    struct OSlice {
        int table = 0;
        int firstRow = 0;
        int rowCount = 0;
        int top = 0;  // tenths of a millimetre from the top of the page
    };
    const std::vector<std::vector<OSlice>>& Pages() const { return m_pages; }
    const TeachDataView::OPrintout& Printout() const { return m_printout; }

  private:
    void PaintHeader(OPainter& painter, const ORect& band) const;

    const OType_ZRPartSet& m_partSet;
    int m_displayMode;
    std::string m_title;
    TeachDataView::OPrintout m_printout;
    std::vector<std::vector<OSlice>> m_pages;
};
