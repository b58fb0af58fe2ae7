// What a printable view hands the print service: a title and pages drawn through OPainter.
// A page is laid out in tenths of a millimetre over the printable area of the paper, the
// origin at its top left corner and y counting downwards; the same drawing goes to the
// printer, the print preview and a PDF file, and to a recording painter in tests.
#pragma once

#include <string>

#include "model/draw/OGeometry.h"

class OPainter;

struct OPage {
    int width = 0;   // tenths of a millimetre
    int height = 0;  // tenths of a millimetre
    ORect Area() const { return {0, 0, width, height}; }
    bool bIsLandscape() const { return width > height; }
    bool operator==(const OPage&) const = default;
};

// An A4 sheet less 10 mm margins on every side.
inline constexpr OPage kA4PortraitArea{1900, 2770};

class OPrintable {
  public:
    virtual ~OPrintable() = default;

    // The name of the print job (and of the PDF file's title).
    virtual std::string PrintTitle() const = 0;
    // Called once before the pages are painted; the number of pages for this page size
    // (0: nothing to print).
    virtual int iPreparePages(const OPage& page) = 0;
    // Paints page `index` (from 0) with the page as identity mapping.
    virtual void PaintPage(OPainter& painter, int index, const OPage& page) = 0;
    // Called once after the last page (also after a cancelled or failed job).
    virtual void EndPrinting() {}
};
