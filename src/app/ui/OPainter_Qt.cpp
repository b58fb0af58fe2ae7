#include "app/ui/OPainter_Qt.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <cmath>
#include <map>
#include <tuple>

namespace {

QColor Colour(ORgb c) {
    return QColor(c.r, c.g, c.b);
}

// Right and bottom of an ORect are inclusive: the rectangle covers whole units.
QRectF Covered(const ORect& r) {
    const double left = std::min(r.left, r.right);
    const double top = std::min(r.top, r.bottom);
    return QRectF(left, top, std::abs(r.right - r.left) + 1.0, std::abs(r.bottom - r.top) + 1.0);
}

QTransform MappingTransform(const OMapping& m) {
    // viewportOrg + (p - windowOrg) * viewportExt / windowExt
    QTransform t;
    t.translate(m.viewportOrg.x, m.viewportOrg.y);
    t.scale(m.dScaleX(), m.dScaleY());
    t.translate(-m.windowOrg.x, -m.windowOrg.y);
    return t;
}

// A small antialiased ellipse drawn once into a transparent image, for stamping. Graphs draw
// thousands of equal markers per paint, and tessellating each one is most of their cost.
constexpr double kMaxStampSide = 32.0;

const QImage& EllipseStamp(QSizeF size, const QPen& pen, const QBrush& brush, int margin) {
    using Key = std::tuple<double, double, QRgb, double, QRgb, int>;
    thread_local std::map<Key, QImage> stamps;
    const Key key{size.width(), size.height(),        pen.color().rgba(),
                  pen.widthF(), brush.color().rgba(), static_cast<int>(brush.style())};
    auto it = stamps.find(key);
    if (it != stamps.end()) return it->second;
    if (stamps.size() > 256) stamps.clear();
    QImage stamp(static_cast<int>(std::ceil(size.width())) + 2 * margin,
                 static_cast<int>(std::ceil(size.height())) + 2 * margin,
                 QImage::Format_ARGB32_Premultiplied);
    stamp.fill(Qt::transparent);
    QPainter p(&stamp);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(pen);
    p.setBrush(brush);
    p.drawEllipse(QRectF(QPointF(margin, margin), size));
    p.end();
    return stamps.emplace(key, std::move(stamp)).first->second;
}

bool bIsWhole(double v) {
    return v == std::floor(v);
}

}  // namespace

OPainter_Qt::OPainter_Qt(QPainter& painter, const QTransform& base)
    : m_painter(painter), m_base(base), m_full(base) {
    m_painter.save();
    m_baseScale = (std::hypot(base.m11(), base.m12()) + std::hypot(base.m21(), base.m22())) / 2;
    if (m_baseScale <= 0) m_baseScale = 1.0;
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setRenderHint(QPainter::TextAntialiasing, true);
    m_painter.setBrush(Qt::NoBrush);
    ApplyPen();
    UseLogical();
}

OPainter_Qt::~OPainter_Qt() {
    m_painter.restore();
}

QTransform OPainter_Qt::TenthsOfMillimetre(double dpiX, double dpiY, QPointF originDots) {
    QTransform t;
    t.translate(originDots.x(), originDots.y());
    t.scale(dpiX / 254.0, dpiY / 254.0);
    return t;
}

void OPainter_Qt::UseLogical() {
    if (m_logical) return;
    m_painter.setTransform(m_full);
    m_logical = true;
}

void OPainter_Qt::UseDevice() {
    if (!m_logical) return;
    m_painter.resetTransform();
    m_logical = false;
}

void OPainter_Qt::SetMapping(const OMapping& mapping) {
    m_full = MappingTransform(mapping) * m_base;
    m_logical = false;
    UseLogical();
}

void OPainter_Qt::SetClip(const ORect& base) {
    // QPainter takes a clip rectangle through its current transform: set it in device units.
    const QTransform current = m_painter.transform();
    m_painter.resetTransform();
    m_painter.setClipRect(m_base.mapRect(Covered(base)));
    m_painter.setTransform(current);
}

void OPainter_Qt::NoClip() {
    m_painter.setClipping(false);
}

void OPainter_Qt::ApplyPen() {
    QPen pen(m_penColour);
    pen.setCosmetic(true);
    pen.setWidthF(std::max(1.0, m_penWidth * m_baseScale));
    switch (m_penStyle) {
        case OPenStyle::Solid:
            pen.setStyle(Qt::SolidLine);
            break;
        case OPenStyle::Dash:
            pen.setStyle(Qt::DashLine);
            break;
        case OPenStyle::Dot:
            pen.setStyle(Qt::DotLine);
            break;
    }
    m_painter.setPen(pen);
}

void OPainter_Qt::SetPen(ORgb colour, int width, OPenStyle style) {
    m_penColour = Colour(colour);
    m_penWidth = std::max(width, 0);
    m_penStyle = style;
    ApplyPen();
}

void OPainter_Qt::SetBrush(ORgb colour) {
    m_hasBrush = true;
    m_brush = Colour(colour);
    m_painter.setBrush(m_brush);
}

void OPainter_Qt::NoBrush() {
    m_hasBrush = false;
    m_painter.setBrush(Qt::NoBrush);
}

void OPainter_Qt::SetFont(int height, bool bold) {
    m_fontHeight = std::max(height, 1);
    m_bold = bold;
}

QFont OPainter_Qt::DeviceFont() const {
    QFont font("Arial");
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(m_fontHeight * m_baseScale))));
    font.setBold(m_bold);
    return font;
}

OPoint OPainter_Qt::TextSize(std::string_view text) const {
    const QFontMetricsF metrics(DeviceFont(), m_painter.device());
    const QString s = QString::fromUtf8(text.data(), static_cast<int>(text.size()));
    return {static_cast<int32_t>(std::ceil(metrics.horizontalAdvance(s) / m_baseScale)),
            static_cast<int32_t>(std::ceil(metrics.height() / m_baseScale))};
}

QPointF OPainter_Qt::ToDevice(OPoint p) const {
    return m_full.map(QPointF(p.x, p.y));
}

void OPainter_Qt::DrawLine(OPoint from, OPoint to) {
    UseLogical();
    m_painter.drawLine(QPointF(from.x, from.y), QPointF(to.x, to.y));
}

void OPainter_Qt::DrawRect(const ORect& rect) {
    UseDevice();
    // Outlines in device space, so that a one-unit pen stays on whole pixels.
    const QRectF r = m_full.mapRect(Covered(rect)).adjusted(0, 0, -1, -1);
    m_painter.drawRect(r);
}

void OPainter_Qt::FillRect(const ORect& rect, ORgb colour) {
    UseLogical();
    m_painter.fillRect(Covered(rect), Colour(colour));
}

void OPainter_Qt::DrawEllipse(const ORect& bounds) {
    UseDevice();
    const QRectF r = m_full.mapRect(Covered(bounds)).adjusted(0, 0, -1, -1);
    // On images and screens a small ellipse on whole pixels is stamped; printers and PDF
    // files get the ellipse itself.
    const QPaintEngine* engine = m_painter.paintEngine();
    if (engine && engine->type() == QPaintEngine::Raster && r.width() <= kMaxStampSide &&
        r.height() <= kMaxStampSide && bIsWhole(r.left()) && bIsWhole(r.top()) &&
        m_painter.opacity() == 1.0 &&
        m_painter.compositionMode() == QPainter::CompositionMode_SourceOver) {
        const int margin = static_cast<int>(std::ceil(m_painter.pen().widthF())) + 1;
        m_painter.drawImage(r.topLeft() - QPointF(margin, margin),
                            EllipseStamp(r.size(), m_painter.pen(), m_painter.brush(), margin));
        return;
    }
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    m_painter.drawEllipse(r);
    m_painter.setRenderHint(QPainter::Antialiasing, false);
}

void OPainter_Qt::DrawText(OPoint at, std::string_view text, OTextAlign align) {
    UseDevice();
    const QFont font = DeviceFont();
    m_painter.setFont(font);
    const QFontMetricsF metrics(font, m_painter.device());
    const QString s = QString::fromUtf8(text.data(), static_cast<int>(text.size()));
    const QPointF p = ToDevice(at);
    const double width = metrics.horizontalAdvance(s);
    double x = p.x();
    if (align == OTextAlign::Center) x -= width / 2;
    if (align == OTextAlign::Right) x -= width;
    const QPen pen = m_painter.pen();
    m_painter.setPen(m_penColour);
    m_painter.drawText(QPointF(x, p.y() + metrics.ascent()), s);
    m_painter.setPen(pen);
}

void OPainter_Qt::DrawImage(const ORect& target, const OImageView& image) {
    if (image.bIsEmpty() || (image.layers != 1 && image.layers != 3)) return;
    // A view of the caller's pixels: no copy before Qt scales them onto the device.
    const QImage view(image.data, image.width, image.height, static_cast<qsizetype>(image.stride),
                      image.layers == 1 ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    UseDevice();
    const QRectF logical(std::min(target.left, target.right), std::min(target.top, target.bottom),
                         std::abs(target.right - target.left),
                         std::abs(target.bottom - target.top));
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    m_painter.drawImage(m_full.mapRect(logical), view);
}
