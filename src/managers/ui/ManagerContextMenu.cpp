#include "managers/ui/ManagerContextMenu.h"

#include <QAction>
#include <QMenu>

QMenu* BuildManagerContextMenu(QWidget& owner, int menuId,
                               const std::vector<OManagerMenuEntry>& entries,
                               const std::function<bool(int)>& enabled,
                               const std::function<void(int)>& run) {
    auto* menu = new QMenu(&owner);
    menu->setObjectName(QString::number(menuId));
    for (const OManagerMenuEntry& entry : entries) {
        if (entry.id == 0) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(entry.text);
        action->setObjectName(QString::number(entry.id));
        action->setEnabled(enabled(entry.id));
        const int id = entry.id;
        QObject::connect(action, &QAction::triggered, menu, [run, id] { run(id); });
    }
    return menu;
}
