// Screenshots of a view: its client area as a bitmap, on the clipboard or in a ".bmp" file
// chosen in a save dialog.
#pragma once

#include <QImage>
#include <string>

class QWidget;
class UserInteraction;

namespace ViewScreenshot {

inline constexpr int kFilterText = 7018;       // "Bitmap (*.bmp);;All files (*)"
inline constexpr int kWriteFailedText = 8226;  // the file could not be written

QImage Capture(QWidget& view);
// Puts the view's bitmap on the clipboard; false when there is nothing to capture.
bool bCopyToClipboard(QWidget& view);
// Asks for the file (starting in `folder` when given) and writes the bitmap; false when
// cancelled or failed (a failure is reported to the user).
bool bSaveToFile(QWidget& view, UserInteraction& ui, const std::string& folder = {});
// Runs the view commands "Copy screenshot to clipboard" (32830) and "Save screenshot to
// file" (32829) on `view`; false for any other command.
bool bRunCommand(int commandId, QWidget& view, UserInteraction& ui, const std::string& folder = {});

}  // namespace ViewScreenshot
