// The Qt application of the shell tests and a desktop with memory stores and a scripted
// user, so that no test touches the user's settings or waits for input.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "app/ui/ODesktop.h"
#include "app/ui/OFrame_Main.h"
#include "app/ui/OPainter_Qt.h"
#include "model/draw/OPrintable.h"
#include "platform/OSettings_Memory.h"
#include "platform/OUserInteraction_Scripted.h"
#include "support/TempDir.h"

namespace shelltest {

inline QApplication& Application() {
    static int argc = 1;
    static char name[] = "test_ui_shell";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

inline void ProcessEvents() {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

// A desktop whose settings live in memory; `settings` outlives it when given.
struct Shell {
    OUserInteraction_Scripted ui;
    OSettings_Memory* settings = nullptr;
    std::unique_ptr<ODesktop> desktop;

    explicit Shell(std::vector<std::string> arguments = {"-ETH:1"},
                   std::unique_ptr<OSettings_Memory> store = std::make_unique<OSettings_Memory>()) {
        Application();
        settings = store.get();
        ODesktopStores stores;
        stores.settings = std::move(store);
        stores.companionUser = std::make_unique<OSettings_Memory>();
        stores.companionMachine = std::make_unique<OSettings_Memory>();
        ODesktopOptions options;
        options.creationWaitMs = 0;
        desktop = std::make_unique<ODesktop>(std::move(arguments), std::move(stores), &ui, options);
    }
    OApp& App() { return desktop->App(); }
    OFrame_Main& Frame() { return desktop->Frame(); }
};

// Saves the image in the test's folder and, when KALVOR_SCREENSHOT_DIR is set, there too.
inline std::filesystem::path SaveScreenshot(const QImage& image, const TempDir& dir,
                                            const std::string& name) {
    const auto path = dir / (name + ".png");
    EXPECT_TRUE(image.save(QString::fromStdString(path.string()), "PNG"));
    if (const char* keep = std::getenv("KALVOR_SCREENSHOT_DIR"); keep && *keep) {
        std::filesystem::create_directories(keep);
        image.save(QString::fromStdString((std::filesystem::path(keep) / (name + ".png")).string()),
                   "PNG");
    }
    return path;
}

// The window with a dialog painted over it, centred, under a caption bar with the
// dialog's title (the offscreen platform draws no window decorations).
inline QImage Composite(QWidget& window, QWidget& dialog) {
    QImage image = window.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage top = dialog.grab().toImage();
    constexpr int kCaption = 24;
    const QPoint at((image.width() - top.width()) / 2,
                    (image.height() - top.height() + kCaption) / 2);
    QPainter painter(&image);
    const QRect caption(at.x(), at.y() - kCaption, top.width(), kCaption);
    painter.fillRect(caption, QColor(40, 70, 110));
    painter.fillRect(QRect(at, top.size()).adjusted(-1, -kCaption - 1, 1, 1), Qt::NoBrush);
    painter.setPen(Qt::white);
    painter.drawText(caption.adjusted(8, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
                     dialog.windowTitle());
    painter.drawImage(at, top);
    painter.setPen(QColor(40, 70, 110));
    painter.drawRect(QRect(at, top.size()).adjusted(-1, -kCaption, 0, 0));
    return image;
}

// Page `index` of a printout as it lies on an A4 sheet (the printable area inside a 10 mm
// margin), at a third of a pixel per tenth of a millimetre, for the manual.
inline QImage PrintedPage(OPrintable& printable, int index) {
    constexpr int kMargin = 100;
    QImage sheet((kA4PortraitArea.width + 2 * kMargin) / 3,
                 (kA4PortraitArea.height + 2 * kMargin) / 3, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter qp(&sheet);
    qp.setPen(QColor(160, 160, 160));
    qp.drawRect(sheet.rect().adjusted(0, 0, -1, -1));
    QTransform pageToSheet = QTransform::fromScale(1.0 / 3, 1.0 / 3);
    pageToSheet.translate(kMargin, kMargin);  // in page units, before the scale
    {
        OPainter_Qt drawing(qp, pageToSheet);
        printable.iPreparePages(kA4PortraitArea);
        printable.PaintPage(drawing, index, kA4PortraitArea);
    }
    return sheet;
}

}  // namespace shelltest
