#include "managers/ui/ManagerWindows.h"

#include "document/ui/OViewRegistry.h"
#include "managers/ui/OView_ConfigToolManager.h"
#include "managers/ui/OView_DeviceDataIOManager.h"

void RegisterManagerViews() {
    RegisterViewCreator(ViewKind::ToolProperties, [](ODoc& doc, QWidget* parent) -> QWidget* {
        return new OView_ConfigToolManager(doc, parent);
    });
    // Data outputs exist on camera devices only.
    OViewTemplate dataOutputs;
    dataOutputs.create = [](ODoc& doc, QWidget* parent) -> QWidget* {
        return new OView_DeviceDataIOManager(doc, parent);
    };
    dataOutputs.families = 0b10;
    RegisterViewTemplate(ViewKind::DataOutput, std::move(dataOutputs));
}
