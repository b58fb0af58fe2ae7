#include "documentation/ui/DocumentationWindows.h"

#include "document/ui/OViewRegistry.h"
#include "documentation/ui/OView_Project.h"

void RegisterDocumentationViews() {
    RegisterViewCreator(ViewKind::ProjectDocumentation, [](ODoc& doc, QWidget* parent) -> QWidget* {
        return new OView_Project(doc, parent);
    });
}
