#include "document/ui/PartListIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace PartListIcons {
namespace {

const QColor kTeal(0, 150, 160);
const QColor kGrey(140, 140, 140);
const QColor kGood(30, 160, 60);
const QColor kBad(210, 40, 40);
const QColor kPlain(110, 130, 150);

QPixmap Canvas() {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// A small part silhouette: the sample part's picture.
void DrawPart(QPainter& p, const QColor& colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    QPainterPath part;
    part.addRoundedRect(QRectF(1.5, 4.5, 13, 8), 2, 2);
    p.drawPath(part);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8, 8.5), 1.8, 1.8);
}

QIcon SampleUsed() {
    QPixmap pixmap = Canvas();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    DrawPart(p, kTeal);
    return QIcon(pixmap);
}

QIcon SampleIgnored() {
    QPixmap pixmap = Canvas();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    DrawPart(p, kGrey);
    p.setPen(QPen(kBad, 2));
    p.drawLine(QPointF(2, 14), QPointF(14, 2));
    return QIcon(pixmap);
}

QIcon Disc(const QColor& colour, bool good) {
    QPixmap pixmap = Canvas();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(QRectF(1, 1, 14, 14));
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    if (good) {
        p.drawPolyline(QPolygonF({QPointF(4.5, 8.5), QPointF(7, 11), QPointF(11.5, 5)}));
    } else {
        p.drawLine(QPointF(5, 5), QPointF(11, 11));
        p.drawLine(QPointF(11, 5), QPointF(5, 11));
    }
    return QIcon(pixmap);
}

QIcon Plain() {
    QPixmap pixmap = Canvas();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kPlain);
    p.drawRoundedRect(QRectF(3, 3, 10, 10), 2, 2);
    return QIcon(pixmap);
}

}  // namespace

std::array<QIcon, kNumPartListIcons> Icons() {
    return {SampleUsed(), SampleIgnored(), Disc(kGood, true), Disc(kBad, false), Plain()};
}

}  // namespace PartListIcons
