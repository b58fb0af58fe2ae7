#include "app/ui/ODlg_About.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/AboutTexts.h"
#include "app/ui/Artwork.h"
#include "kalvor/Version.h"

ODlg_About::ODlg_About(const QString& description, const QString& copyright, QWidget* parent)
    : QDialog(parent), m_logo(Artwork::LogoStrip()) {
    setWindowTitle(AboutTexts::kTitle);
    setObjectName("ODlg_About");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16 + kLogoRightOffset, 12);

    auto* name = new QLabel(QString("<b>%1</b>").arg(kalvor::version::kApplicationTitle), this);
    layout->addWidget(name);
    auto* version = new QLabel(QString("Version %1").arg(kalvor::version::kVersion), this);
    layout->addWidget(version);
    auto* descriptionLabel = new QLabel(description, this);
    descriptionLabel->setObjectName(QString::number(AboutTexts::kDescriptionControl));
    descriptionLabel->setWordWrap(true);
    layout->addWidget(descriptionLabel);
    auto* copyrightLabel = new QLabel(copyright, this);
    copyrightLabel->setObjectName(QString::number(AboutTexts::kCopyrightControl));
    layout->addWidget(copyrightLabel);
    layout->addSpacing(10);

    layout->addWidget(new QLabel(AboutTexts::kSupportedHeading, this));
    auto* devices = new QGridLayout;
    int row = 0;
    for (const OSupportedDevice& device : AboutTexts::SupportedDevices()) {
        devices->addWidget(new QLabel(QString::fromStdString(device.label), this), row, 0);
        auto* versions = new QLabel(QString::fromStdString(device.versions), this);
        versions->setObjectName(QString::number(device.controlId));
        devices->addWidget(versions, row, 1);
        ++row;
    }
    devices->setColumnStretch(1, 1);
    layout->addLayout(devices);
    layout->addStretch(1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("1");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    setMinimumSize(460, 260);
}

QPoint ODlg_About::LogoPosition() const {
    return {rect().right() - kLogoRightOffset, rect().top() + kLogoTop};
}

void ODlg_About::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter p(this);
    p.drawPixmap(LogoPosition(), m_logo);
}
