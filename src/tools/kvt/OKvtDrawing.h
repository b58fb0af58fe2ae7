// What a family-2 tool shows over the image: its region and what it found, as data in
// image coordinates (see OKvtRegion.h). The image window maps image to screen coordinates
// and paints it; Render() paints it through OPainter for printouts and tests.
#pragma once

#include <string>
#include <vector>

#include "model/draw/OGeometry.h"
#include "tools/kvt/OKvtRegion.h"

class OPainter;

// What a mark means; the painter picks its colour.
enum class OKvtMarkRole {
    Region,    // the tool's region
    Found,     // something the tool found (an edge, a blob, a circle)
    Rejected,  // something looked at but not taken (a blob outside the size range)
    Failure,   // the region cannot be measured (outside the image, no image)
};

struct OKvtMark {
    enum class Shape { Polygon, Line, Cross, Circle, Text };
    Shape shape = Shape::Line;
    OKvtMarkRole role = OKvtMarkRole::Found;
    std::vector<OPointD>
        points;         // polygon corners (closed), line ends, cross or circle centre, text anchor
    double radius = 0;  // circle radius, cross arm length
    std::string text;
};

class OKvtDrawing {
  public:
    void Polygon(std::vector<OPointD> corners, OKvtMarkRole role);
    void Line(OPointD from, OPointD to, OKvtMarkRole role = OKvtMarkRole::Found);
    void Cross(OPointD at, double arm, OKvtMarkRole role = OKvtMarkRole::Found);
    void Circle(OPointD centre, double radius, OKvtMarkRole role = OKvtMarkRole::Found);
    void Text(OPointD at, std::string text, OKvtMarkRole role = OKvtMarkRole::Found);
    // The region's outline.
    void Region(const OKvtRegion& region, OKvtMarkRole role = OKvtMarkRole::Region);

    const std::vector<OKvtMark>& Marks() const { return m_marks; }
    bool bIsEmpty() const { return m_marks.empty(); }
    // Number of marks with the role.
    int iCount(OKvtMarkRole role) const;

    // Paints the marks, rounded to whole pixels; `selected` draws the region emphasised.
    void Render(OPainter& painter, bool selected) const;

  private:
    std::vector<OKvtMark> m_marks;
};
