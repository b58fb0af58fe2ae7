#include "app/ui/WindowPlacementQt.h"

#include <QWidget>

OWindowPlacement ReadPlacement(const QWidget& widget) {
    QRect normal = widget.isWindow() ? widget.normalGeometry() : QRect();
    if (normal.isEmpty()) normal = widget.geometry();
    return OWindowPlacement::Of(normal.left(), normal.top(), normal.left() + normal.width(),
                                normal.top() + normal.height(), widget.isMaximized(),
                                widget.isMinimized());
}

void ApplyPlacement(QWidget& widget, const OWindowPlacement& p) {
    const int width = p.right - p.left;
    const int height = p.bottom - p.top;
    if (width > 0 && height > 0) {
        if (widget.isMaximized() || widget.isMinimized()) widget.showNormal();
        widget.setGeometry(p.left, p.top, width, height);
    }
    if (p.bIsMaximized()) {
        widget.showMaximized();
    } else if (p.bIsMinimized()) {
        widget.showMinimized();
    } else if (widget.isVisible()) {
        widget.showNormal();
    }
}
