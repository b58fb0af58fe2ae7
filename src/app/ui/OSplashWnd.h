// The splash window shown while the main frame is made: a borderless picture, centred,
// with the description and the copyright; it hides itself after 2000 ms, or when a key or
// mouse button is pressed anywhere in the program (the press is swallowed).
#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>

class OSplashWnd : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kShowMs = 2000;
    static constexpr int kDescriptionTop = 390;
    static constexpr int kCopyrightTop = 415;
    static constexpr int kBandHeight = 20;

    OSplashWnd(QString description, QString copyright, QWidget* mainWindow);
    ~OSplashWnd() override;

    // Shows the splash once; nullptr when disabled.
    static OSplashWnd* ShowSplashScreen(bool enabled, const QString& description,
                                        const QString& copyright, QWidget* mainWindow);
    static OSplashWnd* Current();
    // Hides and destroys the splash; the main window is repainted.
    void HideSplashScreen();

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPixmap m_picture;
    QString m_description;
    QString m_copyright;
    QPointer<QWidget> m_mainWindow;
    QTimer m_timer;
};
