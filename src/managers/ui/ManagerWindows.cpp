#include "managers/ui/ManagerWindows.h"

#include "document/ui/OViewRegistry.h"
#include "managers/ui/OView_ConfigToolManager.h"

void RegisterManagerViews() {
    RegisterViewCreator(ViewKind::ToolProperties, [](ODoc& doc, QWidget* parent) -> QWidget* {
        return new OView_ConfigToolManager(doc, parent);
    });
}
