#include "wizards/ui/WizardIcons.h"

#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <array>

namespace {

constexpr int kSize = 16;

QIcon Draw(int index) {
    static const std::array<QColor, 5> ratings = {QColor(200, 30, 30), QColor(235, 120, 20),
                                                  QColor(230, 200, 30), QColor(60, 160, 60),
                                                  QColor(40, 110, 200)};
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font = p.font();
    font.setPixelSize(10);
    font.setBold(true);
    p.setFont(font);
    const QRectF disc(2, 2, 12, 12);
    switch (index) {
        case 5:  // a step to check
            p.setPen(QColor(40, 90, 160));
            p.setBrush(Qt::white);
            p.drawRoundedRect(disc, 2, 2);
            p.drawText(disc, Qt::AlignCenter, "?");
            break;
        case 6:  // a detail line
            p.setPen(QColor(90, 90, 90));
            p.setBrush(QColor(150, 150, 150));
            p.drawPolygon(QPolygonF({QPointF(5, 4), QPointF(12, 8), QPointF(5, 12)}));
            break;
        case 7:  // not yet done
            p.setPen(QPen(QColor(120, 120, 120), 1.5));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(disc.adjusted(0.5, 0.5, -0.5, -0.5));
            break;
        default: {
            const QColor colour = ratings[static_cast<size_t>(std::clamp(index, 0, 4))];
            p.setPen(colour.darker(140));
            p.setBrush(colour);
            p.drawEllipse(disc);
            p.setPen(Qt::white);
            const char* mark = index <= 1 ? "!" : index == 4 ? "i" : "";
            p.drawText(disc, Qt::AlignCenter, mark);
            break;
        }
    }
    return QIcon(pixmap);
}

}  // namespace

QIcon WizardStatusIcon(int index) {
    // Drawn each time: a cached pixmap would outlive the application object.
    return Draw(std::clamp(index, 0, 7));
}
