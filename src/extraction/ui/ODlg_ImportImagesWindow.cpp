#include "extraction/ui/ODlg_ImportImagesWindow.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "extraction/OImageContour.h"
#include "model/image/ImageCodec.h"

namespace {

constexpr int kPreviewWidth = 360;
constexpr int kPreviewHeight = 288;

QString Q(const std::string& text) {
    return QString::fromStdString(text).replace("\r\n", "\n");
}

QSpinBox* SpinBox(const char* id, int minimum, int maximum, int value, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(id);
    box->setRange(minimum, maximum);
    box->setValue(std::clamp(value, minimum, maximum));
    return box;
}

// The picture scaled to fit the preview, part pixels tinted green.
QImage PreviewOf(const OType_Image& image, const OImageThreshold& threshold) {
    const double scale = std::min({1.0, double(kPreviewWidth) / image.iGetWidth(),
                                   double(kPreviewHeight) / image.iGetHeight()});
    const int w = std::max(1, int(image.iGetWidth() * scale));
    const int h = std::max(1, int(image.iGetHeight() * scale));
    QImage out(w, h, QImage::Format_RGB32);
    const bool colour = image.iGetLayers() == 3;
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        const int sy = std::min(image.iGetHeight() - 1, int(y / scale));
        for (int x = 0; x < w; ++x) {
            const int sx = std::min(image.iGetWidth() - 1, int(x / scale));
            const int r = image.GetPixel(sx, sy, 0);
            const int g = colour ? image.GetPixel(sx, sy, 1) : r;
            const int b = colour ? image.GetPixel(sx, sy, 2) : r;
            // The contour is made from the first byte of a pixel.
            if (ImageContour::bIsPart(r, threshold)) {
                line[x] = qRgb(r * 2 / 5, g * 2 / 5 + 153, b * 2 / 5);
            } else {
                line[x] = qRgb(r, g, b);
            }
        }
    }
    return out;
}

double PartShare(const OType_Image& image, const OImageThreshold& threshold) {
    const auto pixels = image.Pixels();
    const size_t layers = static_cast<size_t>(image.iGetLayers());
    size_t part = 0;
    for (size_t i = 0; i < pixels.size(); i += layers)
        part += ImageContour::bIsPart(pixels[i], threshold) ? 1 : 0;
    return pixels.empty() ? 0.0 : 100.0 * double(part) * double(layers) / double(pixels.size());
}

}  // namespace

ODlg_ImportImagesWindow::ODlg_ImportImagesWindow(ODlg_ImportImages& model, QWidget* parent)
    : QDialog(parent), m_model(model) {
    setWindowTitle(Q(ODlg_ImportImages::Title()));
    auto* columns = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    columns->addLayout(left);

    auto* position = new QGroupBox(tr("Position in the field of view"), this);
    auto* positionForm = new QVBoxLayout(position);
    const int limit = ODlg_ImportImages::kMaxPosition;
    m_positionY = SpinBox("1007", -limit, limit, model.iGetPositionY(), position);
    m_positionX = SpinBox("1008", -limit, limit, model.iGetPositionX(), position);
    for (auto [label, box] : {std::pair{ODlg_ImportImages::PositionYLabel(), m_positionY},
                              std::pair{ODlg_ImportImages::PositionXLabel(), m_positionX}}) {
        auto* text = new QLabel(Q(label), position);
        text->setBuddy(box);
        positionForm->addWidget(text);
        positionForm->addWidget(box);
    }
    left->addWidget(position);

    auto* contour = new QGroupBox(tr("Contour image"), this);
    auto* contourForm = new QFormLayout(contour);
    m_thresholdType = new QComboBox(contour);
    m_thresholdType->setObjectName("1299");
    for (const std::string& name : ODlg_ImportImages::ThresholdTypeNames())
        m_thresholdType->addItem(Q(name));
    m_thresholdType->setCurrentIndex(std::clamp(model.iGetThresholdType(), 0, 1));
    contourForm->addRow(tr("Threshold:"), m_thresholdType);
    m_dark = SpinBox("1001", 0, 255, model.iGetDark(), contour);
    contourForm->addRow(tr("Lower brightness limit:"), m_dark);
    m_bright = SpinBox("1002", 0, 255, model.iGetBright(), contour);
    contourForm->addRow(tr("Upper brightness limit:"), m_bright);
    left->addWidget(contour);
    left->addStretch(1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("Import"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName("1");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("2");
    left->addWidget(buttons);

    auto* right = new QVBoxLayout;
    columns->addLayout(right, 1);
    right->addWidget(
        new QLabel(tr("%n picture(s) chosen:", nullptr, int(model.Files().size())), this));
    m_files = new QListWidget(this);
    m_files->setObjectName("files");
    m_files->setMaximumHeight(110);
    for (const std::string& path : model.Files()) {
        auto* item =
            new QListWidgetItem(QFileInfo(QString::fromStdString(path)).fileName(), m_files);
        item->setToolTip(QString::fromStdString(path));
    }
    right->addWidget(m_files);
    m_preview = new QLabel(this);
    m_preview->setObjectName("preview");
    m_preview->setAlignment(Qt::AlignCenter);
    m_preview->setMinimumSize(kPreviewWidth, kPreviewHeight);
    m_preview->setFrameShape(QFrame::StyledPanel);
    right->addWidget(m_preview, 1);
    m_previewInfo = new QLabel(this);
    m_previewInfo->setObjectName("previewInfo");
    m_previewInfo->setWordWrap(true);
    right->addWidget(m_previewInfo);

    connect(buttons, &QDialogButtonBox::accepted, this, &ODlg_ImportImagesWindow::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_files, &QListWidget::currentRowChanged, this, &ODlg_ImportImagesWindow::LoadPreview);
    for (QSpinBox* box : {m_positionX, m_positionY, m_dark, m_bright})
        connect(box, &QSpinBox::valueChanged, this, &ODlg_ImportImagesWindow::UpdatePreview);
    connect(m_thresholdType, &QComboBox::currentIndexChanged, this,
            &ODlg_ImportImagesWindow::UpdatePreview);
    if (m_files->count() > 0) m_files->setCurrentRow(0);
    UpdatePreview();
}

void ODlg_ImportImagesWindow::LoadPreview(int row) {
    m_previewImage = OType_Image();
    m_previewError.clear();
    if (row >= 0 && row < int(m_model.Files().size())) {
        std::string error;
        if (!ImageCodec::bLoadFile(m_model.Files()[size_t(row)], m_previewImage, error))
            m_previewError = QString::fromStdString(error);
    }
    UpdatePreview();
}

void ODlg_ImportImagesWindow::UpdatePreview() {
    OImageThreshold threshold;
    threshold.type = m_thresholdType->currentIndex();
    threshold.dark = m_dark->value();
    threshold.bright = m_bright->value();
    if (m_previewImage.bIsEmpty()) {
        m_preview->setPixmap(QPixmap());
        m_preview->setText(m_previewError.isEmpty() ? tr("No picture") : tr("Cannot be read"));
        m_previewInfo->setText(m_previewError);
        return;
    }
    m_preview->setPixmap(QPixmap::fromImage(PreviewOf(m_previewImage, threshold)));
    const int w = m_previewImage.iGetWidth(), h = m_previewImage.iGetHeight();
    QString info = tr("%1 x %2 pixels, %3; %4 % of the pixels become part of the contour (green).")
                       .arg(w)
                       .arg(h)
                       .arg(m_previewImage.iGetLayers() == 1 ? tr("grey") : tr("colour"))
                       .arg(PartShare(m_previewImage, threshold), 0, 'f', 1);
    if (ODlg_ImportImages::bIsOutsideField(m_positionX->value(), m_positionY->value(), w, h)) {
        info += "\n" + tr("At this position the picture lies outside the field of view of %1 x %2.")
                           .arg(ODlg_ImportImages::kFieldWidth)
                           .arg(ODlg_ImportImages::kFieldHeight);
    }
    m_previewInfo->setText(info);
}

void ODlg_ImportImagesWindow::TakeFields() {
    m_model.SetPositionY(m_positionY->value());
    m_model.SetPositionX(m_positionX->value());
    m_model.SetThresholdType(m_thresholdType->currentIndex());
    m_model.SetDark(m_dark->value());
    m_model.SetBright(m_bright->value());
}

void ODlg_ImportImagesWindow::accept() {
    TakeFields();
    // The model's validation decides; the caller shows its message and keeps the dialog.
    QDialog::accept();
}
