// The program's pictures, painted here: the splash picture, the logo strip of the about
// box, the welcome dialog's pictures and the toolbar icons.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace Artwork {

inline constexpr int kSplashWidth = 520;
inline constexpr int kSplashHeight = 450;
inline constexpr int kLogoStripWidth = 83;
inline constexpr int kLogoStripHeight = 15;

QPixmap SplashPicture();
QPixmap LogoStrip();
// 0: a new project, 1: a project file.
QPixmap WelcomePicture(int index, int size);
// The toolbar picture of a command.
QIcon CommandIcon(int commandId);

}  // namespace Artwork
