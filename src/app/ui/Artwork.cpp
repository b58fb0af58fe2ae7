#include "app/ui/Artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "document/CommandIds.h"

namespace Artwork {
namespace {

const QColor kDeep(18, 44, 74);
const QColor kTeal(0, 150, 160);
const QColor kAmber(245, 170, 40);

// A part's silhouette as the device sees it: vertical runs of a rounded bracket shape.
void DrawContour(QPainter& p, const QRectF& area, const QColor& colour) {
    const int columns = 48;
    const double w = area.width() / columns;
    for (int c = 0; c < columns; ++c) {
        const double x = static_cast<double>(c) / (columns - 1);
        const double height = 0.35 + 0.45 * std::sin(x * 3.14159) + 0.12 * std::sin(x * 19.0);
        const double top = area.top() + area.height() * (1.0 - height) / 2.0;
        const double bottom = area.bottom() - area.height() * (1.0 - height) / 2.0;
        QRectF run(area.left() + c * w, top, w * 0.8, bottom - top);
        if (c > 14 && c < 22) {
            // A hole in the part: two runs in these columns.
            const double mid = (top + bottom) / 2.0;
            p.fillRect(QRectF(run.left(), top, run.width(), mid - top - 10), colour);
            p.fillRect(QRectF(run.left(), mid + 10, run.width(), bottom - mid - 10), colour);
        } else {
            p.fillRect(run, colour);
        }
    }
}

}  // namespace

QPixmap SplashPicture() {
    QPixmap pixmap(kSplashWidth, kSplashHeight);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, kSplashHeight);
    sky.setColorAt(0, kDeep);
    sky.setColorAt(1, kDeep.darker(160));
    p.fillRect(pixmap.rect(), sky);
    // A feeder track with parts passing the sensor.
    p.setPen(QPen(kTeal.lighter(130), 2));
    p.drawLine(30, 300, kSplashWidth - 30, 300);
    DrawContour(p, QRectF(60, 200, 150, 95), kTeal);
    DrawContour(p, QRectF(310, 200, 150, 95), kTeal.darker(130));
    // The light curtain.
    QLinearGradient beam(260, 60, 260, 300);
    beam.setColorAt(0, QColor(245, 170, 40, 200));
    beam.setColorAt(1, QColor(245, 170, 40, 20));
    p.fillRect(QRectF(255, 120, 10, 180), beam);
    p.setBrush(kAmber);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(225, 95, 70, 28), 6, 6);
    QFont title("Sans Serif", 44, QFont::Bold);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 20, kSplashWidth, 70), Qt::AlignCenter, "Kalvor");
    QFont sub("Sans Serif", 11);
    p.setFont(sub);
    p.setPen(kTeal.lighter(160));
    p.drawText(QRect(0, 320, kSplashWidth, 30), Qt::AlignCenter,
               "Teach-in for optical part inspection");
    return pixmap;
}

QPixmap LogoStrip() {
    QPixmap pixmap(kLogoStripWidth, kLogoStripHeight);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(kDeep);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(0, 0, kLogoStripWidth, kLogoStripHeight), 3, 3);
    p.fillRect(QRectF(4, 3, 3, 9), kAmber);
    QFont font("Sans Serif");
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(10, 0, kLogoStripWidth - 12, kLogoStripHeight), Qt::AlignCenter, "BREVIK");
    return pixmap;
}

QPixmap WelcomePicture(int index, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF page(size * 0.18, size * 0.08, size * 0.64, size * 0.84);
    p.setPen(QPen(kDeep, 2));
    p.setBrush(Qt::white);
    p.drawRoundedRect(page, 4, 4);
    DrawContour(p, page.adjusted(size * 0.08, size * 0.2, -size * 0.08, -size * 0.3), kTeal);
    if (index == 0) {
        p.setBrush(kAmber);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(page.right(), page.top() + size * 0.1), size * 0.14, size * 0.14);
        p.setPen(QPen(Qt::white, 3));
        const QPointF c(page.right(), page.top() + size * 0.1);
        p.drawLine(c - QPointF(size * 0.07, 0), c + QPointF(size * 0.07, 0));
        p.drawLine(c - QPointF(0, size * 0.07), c + QPointF(0, size * 0.07));
    } else {
        p.setPen(QPen(kDeep, 2));
        p.setBrush(kAmber);
        QPainterPath folder;
        folder.addRoundedRect(QRectF(size * 0.05, size * 0.58, size * 0.6, size * 0.36), 3, 3);
        p.drawPath(folder);
    }
    return pixmap;
}

QIcon CommandIcon(int id) {
    struct Glyph {
        int id;
        const char* text;
        QColor colour;
    };
    static const Glyph kGlyphs[] = {
        {Cmd::kFileNew, "N", kTeal},
        {Cmd::kFileOpen, "O", kTeal},
        {Cmd::kFileSave, "S", kTeal},
        {Cmd::kEditCut, "X", kDeep},
        {Cmd::kEditCopy, "C", kDeep},
        {Cmd::kEditPaste, "P", kDeep},
        {Cmd::kEditUndo, "\u21B6", kDeep},
        {Cmd::kEditRedo, "\u21B7", kDeep},
        {Cmd::kConnect, "\u21C4", kAmber},
        {Cmd::kRecordSampleParts, "T", kAmber},
        {Cmd::kRecordTestParts, "E", kAmber},
        {Cmd::kRecordWithoutContour, "K", kAmber},
        {Cmd::kRecordWithoutCamera, "B", kAmber},
        {Cmd::kViewPartList, "L", kTeal.darker(120)},
        {Cmd::kViewPartContour, "\u25D0", kTeal.darker(120)},
        {Cmd::kViewTeachData, "D", kTeal.darker(120)},
        {Cmd::kProjectWizard, "W", kAmber.darker(120)},
        {Cmd::kAppAbout, "?", kDeep},
        {Cmd::kEditDelete, "\u2715", kDeep},
        {Cmd::kPartProperties, "i", kDeep},
        {Cmd::kPrevPart, "\u25C0", kTeal},
        {Cmd::kNextPart, "\u25B6", kTeal},
        {Cmd::kSwitchTeachTest, "\u21C5", kTeal},
        {Cmd::kScreenshotToClipboard, "\u25A3", kTeal.darker(120)},
        {Cmd::kScreenshotToFile, "\u25A4", kTeal.darker(120)},
        {Cmd::kAddTolerance, "+", kAmber.darker(110)},
        {Cmd::kDecreaseTolerance, "\u2212", kAmber.darker(110)},
        {Cmd::kDeletePartType, "\u2715", kAmber.darker(130)},
        {Cmd::kPartTypeProperties, "T", kDeep},
        {Cmd::kCounterProperties, "#", kDeep},
        {Cmd::kTeachDataEvaluation, "\u2605", kTeal.darker(120)},
        {Cmd::kFeatureForQuality, "Q", kTeal},
        {Cmd::kFilePrint, "\u2399", kDeep},
    };
    QString text = "•";
    QColor colour = kDeep;
    for (const Glyph& g : kGlyphs) {
        if (g.id == id) {
            text = QString::fromUtf8(g.text);
            colour = g.colour;
        }
    }
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(2, 2, 20, 20), 4, 4);
    QFont font("Sans Serif");
    font.setPixelSize(13);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 24, 24), Qt::AlignCenter, text);
    return QIcon(pixmap);
}

}  // namespace Artwork
