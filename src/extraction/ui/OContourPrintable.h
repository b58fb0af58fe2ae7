// The printout of the part contour windows of both families: a page cut into a head band (15 %), a
// picture band (50 %) and a text band (35 %). The head band carries the title and what the part
// features view says of the part, the picture band the part with grid, scales and the tools
// over the screen's visible range, the text band the feature table, which continues on
// further pages when it does not fit.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "analysis/PartFeaturesDisplay.h"
#include "extraction/OContourViewScene.h"
#include "model/draw/OPrintable.h"

class ODoc;

class OContourPrintable : public OPrintable {
  public:
    // Paints the view's scene for printing into an area of the picture band (the window of
    // either family hands in its own scene).
    using PicturePainter = std::function<void(OPainter&, const OContourSceneArea&)>;

    OContourPrintable(ODoc& doc, PicturePainter picture, std::pair<int, int> screenSize);

    std::string PrintTitle() const override;
    int iPreparePages(const OPage& page) override;
    void PaintPage(OPainter& painter, int index, const OPage& page) override;

    // The part-features context of the document's project (also for the view).
    static OPartFeaturesContext FeaturesContext(ODoc& doc);

  private:
    void PaintHead(OPainter& painter, const ORect& band, int index, int pages);
    void PaintPicture(OPainter& painter, const ORect& band);

    ODoc& m_doc;
    PicturePainter m_picture;
    std::pair<int, int> m_screenSize;
    std::vector<OPartInfoRow> m_info;
    std::vector<std::vector<std::string>> m_rows;
    std::vector<int> m_pageStarts;
    ORect m_textBand;
    bool m_dataWords = false;
};
