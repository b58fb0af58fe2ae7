#include "app/ui/OViewScreenshot.h"

#include <QApplication>
#include <QClipboard>
#include <QWidget>

#include "document/CommandIds.h"
#include "model/strings/ResStr.h"
#include "platform/UserInteraction.h"

namespace ViewScreenshot {

QImage Capture(QWidget& view) {
    return view.grab().toImage();
}

bool bCopyToClipboard(QWidget& view) {
    const QImage image = Capture(view);
    QClipboard* clipboard = QApplication::clipboard();
    if (image.isNull() || !clipboard) return false;
    clipboard->setImage(image);
    return true;
}

bool bSaveToFile(QWidget& view, UserInteraction& ui, const std::string& folder) {
    FileDialogRequest request;
    request.initialPath = folder;
    request.filter = ResStr(kFilterText);
    request.defaultExtension = "bmp";
    request.bOverwritePrompt = true;
    const FileDialogResult chosen = ui.FileSave(request);
    if (!chosen.bAccepted || chosen.paths.empty()) return false;
    const QImage image = Capture(view).convertToFormat(QImage::Format_RGB888);
    if (image.isNull() || !image.save(QString::fromStdString(chosen.paths.front()), "BMP")) {
        ui.Message(ResStr(kWriteFailedText), MsgIcon::Error);
        return false;
    }
    return true;
}

bool bRunCommand(int commandId, QWidget& view, UserInteraction& ui, const std::string& folder) {
    switch (commandId) {
        case Cmd::kScreenshotToClipboard:
            bCopyToClipboard(view);
            return true;
        case Cmd::kScreenshotToFile:
            bSaveToFile(view, ui, folder);
            return true;
        default:
            return false;
    }
}

}  // namespace ViewScreenshot
