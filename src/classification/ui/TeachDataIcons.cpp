#include "classification/ui/TeachDataIcons.h"

#include <QPainter>
#include <QPixmap>

namespace TeachDataIcons {
namespace {

QPixmap Canvas() {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// A rounded badge with a short white glyph.
QIcon Badge(const QColor& colour, const QString& glyph, bool disc = false) {
    QPixmap pixmap = Canvas();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    if (disc) {
        p.drawEllipse(QRectF(1, 1, 14, 14));
    } else {
        p.drawRoundedRect(QRectF(1, 1, 14, 14), 3, 3);
    }
    QFont font("Arial");
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, kSize, kSize), Qt::AlignCenter, glyph);
    return QIcon(pixmap);
}

// A band between two bars: the range of a feature.
QIcon Range(const QColor& colour, bool locked) {
    QPixmap pixmap = Canvas();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour, 2));
    p.drawLine(QPointF(2, 4), QPointF(14, 4));
    p.drawLine(QPointF(2, 12), QPointF(14, 12));
    p.setPen(QPen(colour, 1));
    p.setBrush(colour.lighter(160));
    p.drawRect(QRectF(5, 5.5, 6, 5));
    if (locked) {
        p.setPen(QPen(QColor(60, 60, 60), 1.2));
        p.setBrush(QColor(230, 180, 40));
        p.drawRect(QRectF(9.5, 9.5, 5.5, 5));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(10.2, 6.8, 4, 5), 0, 180 * 16);
    }
    return QIcon(pixmap);
}

QIcon Excluded() {
    QPixmap pixmap = Canvas();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(150, 150, 150), 2));
    p.drawLine(QPointF(2, 4), QPointF(14, 4));
    p.drawLine(QPointF(2, 12), QPointF(14, 12));
    p.setPen(QPen(QColor(200, 40, 40), 2));
    p.drawLine(QPointF(3, 14), QPointF(13, 2));
    return QIcon(pixmap);
}

QIcon Check(const QColor& colour) {
    QPixmap pixmap = Canvas();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(QRectF(1, 1, 14, 14));
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(4.5, 8.5), QPointF(7, 11), QPointF(11.5, 5)}));
    return QIcon(pixmap);
}

QIcon Arrow() {
    QPixmap pixmap = Canvas();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 120, 170), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(3, 8), QPointF(13, 8));
    p.drawPolyline(QPolygonF({QPointF(9, 4), QPointF(13, 8), QPointF(9, 12)}));
    return QIcon(pixmap);
}

}  // namespace

std::array<QIcon, 6> RowIcons() {
    return {Range(QColor(0, 140, 150), false),
            Range(QColor(220, 120, 0), false),
            Excluded(),
            Badge(QColor(140, 140, 140), "?"),
            Range(QColor(40, 90, 200), false),
            Range(QColor(220, 120, 0), true)};
}

std::array<QIcon, 8> EvaluationIcons() {
    return {Badge(QColor(200, 30, 30), "X", true),
            Badge(QColor(230, 120, 0), "!", true),
            Badge(QColor(215, 180, 0), "~", true),
            Check(QColor(30, 160, 60)),
            Badge(QColor(40, 100, 200), "i", true),
            Badge(QColor(130, 130, 130), "-", true),
            Arrow(),
            Badge(QColor(130, 130, 130), "?", true)};
}

}  // namespace TeachDataIcons
