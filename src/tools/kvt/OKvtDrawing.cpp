#include "tools/kvt/OKvtDrawing.h"

#include <algorithm>
#include <cmath>

#include "model/draw/OPainter.h"

namespace {

OPoint Round(const OPointD& p) {
    return {static_cast<int32_t>(std::lround(p.x)), static_cast<int32_t>(std::lround(p.y))};
}

ORgb ColourOf(OKvtMarkRole role, bool selected) {
    switch (role) {
        case OKvtMarkRole::Region:
            return selected ? ORgb{255, 0, 0} : ORgb{0, 0, 255};
        case OKvtMarkRole::Found:
            return {0, 200, 0};
        case OKvtMarkRole::Rejected:
            return {255, 160, 0};
        case OKvtMarkRole::Failure:
            return {255, 0, 0};
    }
    return {};
}

}  // namespace

void OKvtDrawing::Polygon(std::vector<OPointD> corners, OKvtMarkRole role) {
    m_marks.push_back({OKvtMark::Shape::Polygon, role, std::move(corners), 0, {}});
}
void OKvtDrawing::Line(OPointD from, OPointD to, OKvtMarkRole role) {
    m_marks.push_back({OKvtMark::Shape::Line, role, {from, to}, 0, {}});
}
void OKvtDrawing::Cross(OPointD at, double arm, OKvtMarkRole role) {
    m_marks.push_back({OKvtMark::Shape::Cross, role, {at}, arm, {}});
}
void OKvtDrawing::Circle(OPointD centre, double radius, OKvtMarkRole role) {
    m_marks.push_back({OKvtMark::Shape::Circle, role, {centre}, radius, {}});
}
void OKvtDrawing::Text(OPointD at, std::string text, OKvtMarkRole role) {
    m_marks.push_back({OKvtMark::Shape::Text, role, {at}, 0, std::move(text)});
}
void OKvtDrawing::Region(const OKvtRegion& region, OKvtMarkRole role) {
    const auto c = region.Corners();
    Polygon({c.begin(), c.end()}, role);
}

int OKvtDrawing::iCount(OKvtMarkRole role) const {
    return static_cast<int>(std::count_if(m_marks.begin(), m_marks.end(),
                                          [role](const auto& m) { return m.role == role; }));
}

void OKvtDrawing::Render(OPainter& painter, bool selected) const {
    painter.NoBrush();
    for (const OKvtMark& m : m_marks) {
        const bool emphasise = selected && m.role == OKvtMarkRole::Region;
        painter.SetPen(ColourOf(m.role, selected), emphasise ? 2 : 1,
                       m.role == OKvtMarkRole::Failure ? OPenStyle::Dash : OPenStyle::Solid);
        if (m.points.empty()) continue;
        switch (m.shape) {
            case OKvtMark::Shape::Polygon:
                for (size_t i = 0; i < m.points.size(); ++i)
                    painter.DrawLine(Round(m.points[i]),
                                     Round(m.points[(i + 1) % m.points.size()]));
                break;
            case OKvtMark::Shape::Line:
                if (m.points.size() >= 2) painter.DrawLine(Round(m.points[0]), Round(m.points[1]));
                break;
            case OKvtMark::Shape::Cross: {
                const OPointD c = m.points[0];
                painter.DrawLine(Round({c.x - m.radius, c.y}), Round({c.x + m.radius, c.y}));
                painter.DrawLine(Round({c.x, c.y - m.radius}), Round({c.x, c.y + m.radius}));
                break;
            }
            case OKvtMark::Shape::Circle: {
                const OPointD c = m.points[0];
                painter.DrawEllipse({static_cast<int32_t>(std::lround(c.x - m.radius)),
                                     static_cast<int32_t>(std::lround(c.y - m.radius)),
                                     static_cast<int32_t>(std::lround(c.x + m.radius)),
                                     static_cast<int32_t>(std::lround(c.y + m.radius))});
                break;
            }
            case OKvtMark::Shape::Text:
                painter.DrawText(Round(m.points[0]), m.text);
                break;
        }
    }
}
