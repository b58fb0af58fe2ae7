#include "document/ui/DocumentDialogs.h"

#include "app/ui/OUserInteraction_Qt.h"
#include "document/ui/ODlg_CheckProgramPropertiesWindow.h"
#include "document/ui/ODlg_PartPropertiesWindow.h"

void RegisterDocumentDialogs(OUserInteraction_Qt& ui) {
    ui.RegisterDialog("ODlg_PartProperties", [](ODialogModel& model, QWidget* parent) -> QDialog* {
        return new ODlg_PartPropertiesWindow(static_cast<ODlg_PartProperties&>(model), parent);
    });
    ui.RegisterDialog("ODlg_CheckProgramProperties",
                      [](ODialogModel& model, QWidget* parent) -> QDialog* {
                          return new ODlg_CheckProgramPropertiesWindow(
                              static_cast<ODlg_CheckProgramProperties&>(model), parent);
                      });
}
