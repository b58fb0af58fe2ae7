#include "wizards/ui/OWizardPartPicture.h"

#include <QPainter>

#include "model/part/OType_Part.h"
#include "tools/kvt/OKvtPartImage.h"

namespace {

// A deep copy: the part may change or go while the picture is shown.
QImage ImageOf(const cv::Mat& pixels) {
    if (pixels.empty()) return {};
    const QImage::Format format =
        pixels.channels() == 3 ? QImage::Format_RGB888 : QImage::Format_Grayscale8;
    return QImage(pixels.data, pixels.cols, pixels.rows, static_cast<qsizetype>(pixels.step[0]),
                  format)
        .copy();
}

}  // namespace

OWizardPartPicture::OWizardPartPicture(QWidget* parent) : QWidget(parent) {
    setMinimumSize(160, 100);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void OWizardPartPicture::ShowPart(const OType_Part* part, const ZRINFO& deviceInfo) {
    m_picture = QImage();
    if (part) {
        const OType_Image* image = part->opGetImage(0);
        m_picture =
            image && !image->bIsEmpty()
                ? ImageOf(KvtImage::View(*image))
                : ImageOf(KvtImage::ContourPicture(*part, KvtImage::ContourRows(deviceInfo)));
    }
    update();
}

QRect OWizardPartPicture::PictureRect() const {
    if (m_picture.isNull()) return {};
    const QSize size = m_picture.size().scaled(rect().size() - QSize(2, 2), Qt::KeepAspectRatio);
    QRect target(QPoint(0, 0), size);
    target.moveCenter(rect().center());
    return target;
}

void OWizardPartPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    if (!m_picture.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter.drawImage(PictureRect(), m_picture);
    }
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
