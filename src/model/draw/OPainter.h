// The drawing surface tools and views paint on. Coordinates are logical units (contour or
// image pixels); the implementation maps them to the device. The desktop implements it
// with QPainter; headless code may record the calls.
#pragma once

#include <string_view>

#include "model/draw/OGeometry.h"

enum class OPenStyle { Solid, Dash, Dot };
enum class OTextAlign { Left, Center, Right };

class OPainter {
  public:
    virtual ~OPainter() = default;

    virtual void SetPen(ORgb colour, int width = 1, OPenStyle style = OPenStyle::Solid) = 0;
    // Fill colour for shapes; NoBrush() draws outlines only.
    virtual void SetBrush(ORgb colour) = 0;
    virtual void NoBrush() = 0;

    virtual void DrawLine(OPoint from, OPoint to) = 0;
    virtual void DrawRect(const ORect& rect) = 0;
    virtual void FillRect(const ORect& rect, ORgb colour) = 0;
    virtual void DrawEllipse(const ORect& bounds) = 0;
    virtual void DrawText(OPoint at, std::string_view text,
                          OTextAlign align = OTextAlign::Left) = 0;
};
