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

}  // namespace shelltest
