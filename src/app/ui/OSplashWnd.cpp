#include "app/ui/OSplashWnd.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QScreen>

#include "app/ui/Artwork.h"

namespace {
QPointer<OSplashWnd> g_current;
}  // namespace

OSplashWnd::OSplashWnd(QString description, QString copyright, QWidget* mainWindow)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_picture(Artwork::SplashPicture()),
      m_description(std::move(description)),
      m_copyright(std::move(copyright)),
      m_mainWindow(mainWindow) {
    setObjectName("104");
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(m_picture.size());
    setCursor(Qt::ArrowCursor);
    if (QScreen* screen = QApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &OSplashWnd::HideSplashScreen);
    // The splash belongs to its main window: it goes with it, and with it the filter that
    // takes the next click or key.
    if (mainWindow) {
        connect(mainWindow, &QObject::destroyed, this, [this] {
            m_mainWindow = nullptr;
            HideSplashScreen();
        });
    }
    qApp->installEventFilter(this);
}

OSplashWnd::~OSplashWnd() {
    qApp->removeEventFilter(this);
}

OSplashWnd* OSplashWnd::ShowSplashScreen(bool enabled, const QString& description,
                                         const QString& copyright, QWidget* mainWindow) {
    if (!enabled || g_current) return nullptr;
    auto* splash = new OSplashWnd(description, copyright, mainWindow);
    g_current = splash;
    splash->show();
    splash->m_timer.start(kShowMs);
    return splash;
}

OSplashWnd* OSplashWnd::Current() {
    return g_current.data();
}

void OSplashWnd::HideSplashScreen() {
    m_timer.stop();
    hide();
    if (m_mainWindow) m_mainWindow->update();
    g_current = nullptr;
    deleteLater();
}

void OSplashWnd::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawPixmap(0, 0, m_picture);
    p.setPen(Qt::white);
    p.drawText(QRect(0, kDescriptionTop, width(), kBandHeight),
               Qt::AlignCenter | Qt::TextSingleLine, m_description);
    p.drawText(QRect(0, kCopyrightTop, width(), kBandHeight), Qt::AlignCenter | Qt::TextSingleLine,
               m_copyright);
}

bool OSplashWnd::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
        case QEvent::NonClientAreaMouseButtonPress:
            if (isVisible()) {
                HideSplashScreen();
                return true;
            }
            break;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}
