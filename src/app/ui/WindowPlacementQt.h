// Window placements of Qt windows: reading one from a widget and applying a stored one.
#pragma once

#include "app/OWindowPlacement.h"

class QWidget;

// The widget's normal rectangle (its geometry while neither minimised nor maximised) and
// whether it is maximised or minimised.
OWindowPlacement ReadPlacement(const QWidget& widget);
// Sets the normal rectangle (when it is not empty), then shows the widget as the show
// command says.
void ApplyPlacement(QWidget& widget, const OWindowPlacement& placement);
