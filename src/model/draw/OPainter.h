// The drawing surface tools, views and printouts paint on. Coordinates are logical units
// (contour or image pixels, tenths of a millimetre on a page); the mapping set last turns
// them into the painter's base units (screen pixels on the screen, tenths of a millimetre on
// a page). Pen widths, font heights and text sizes are in base units, so a line or a label
// keeps its size whatever the zoom. The desktop implements it with QPainter; tests record
// the calls (ORecordingPainter).
#pragma once

#include <string_view>

#include "model/draw/OGeometry.h"
#include "model/draw/OMapping.h"

enum class OPenStyle { Solid, Dash, Dot };
enum class OTextAlign { Left, Center, Right };

class OPainter {
  public:
    virtual ~OPainter() = default;

    // Logical units from here on; OMapping::Identity() draws in base units.
    virtual void SetMapping(const OMapping& mapping) = 0;
    // Only what lies inside `base` (base units) is drawn from here on, until NoClip().
    virtual void SetClip(const ORect& base) = 0;
    virtual void NoClip() = 0;

    virtual void SetPen(ORgb colour, int width = 1, OPenStyle style = OPenStyle::Solid) = 0;
    // Fill colour for shapes; NoBrush() draws outlines only.
    virtual void SetBrush(ORgb colour) = 0;
    virtual void NoBrush() = 0;
    // Arial (a sans-serif face) with a character height in base units.
    virtual void SetFont(int height, bool bold = false) = 0;
    // Width and height of a single line of text in the current font (base units).
    virtual OPoint TextSize(std::string_view text) const = 0;

    virtual void DrawLine(OPoint from, OPoint to) = 0;
    virtual void DrawRect(const ORect& rect) = 0;
    virtual void FillRect(const ORect& rect, ORgb colour) = 0;
    virtual void DrawEllipse(const ORect& bounds) = 0;
    // One line of text: `at` is the top of the line and, by the alignment, its left end,
    // centre or right end, as the text is read on the surface (text is never mirrored).
    virtual void DrawText(OPoint at, std::string_view text,
                          OTextAlign align = OTextAlign::Left) = 0;
};
