// The context menu of a manager window: entries by command id (0 for a separator), each
// enabled by the window's command state and running its command when chosen.
#pragma once

#include <QString>
#include <functional>
#include <vector>

class QMenu;
class QWidget;

struct OManagerMenuEntry {
    int id = 0;
    QString text;
};

QMenu* BuildManagerContextMenu(QWidget& owner, int menuId,
                               const std::vector<OManagerMenuEntry>& entries,
                               const std::function<bool(int)>& enabled,
                               const std::function<void(int)>& run);
