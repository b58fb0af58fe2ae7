#include "device/ui/DeviceWindows.h"

#include "app/ui/OUserInteraction_Qt.h"
#include "device/ODlg_TransferDataNew.h"
#include "device/ui/ODlg_IdentifyZRTypeWindow.h"
#include "device/ui/ODlg_MsgBox_WithCheckMarkWindow.h"
#include "device/ui/ODlg_OptionsWindow.h"
#include "device/ui/ODlg_TransferDataWindow.h"
#include "device/ui/OView_QuillonConsole.h"
#include "document/ui/OViewRegistry.h"

void RegisterDeviceDialogs(OUserInteraction_Qt& ui) {
    ui.RegisterDialog("ODlg_IdentifyZRType", [](ODialogModel& model, QWidget* parent) {
        return static_cast<QDialog*>(
            new ODlg_IdentifyZRTypeWindow(static_cast<ODlg_IdentifyZRType&>(model), parent));
    });
    ui.RegisterDialog("ODlg_Options", [](ODialogModel& model, QWidget* parent) {
        return static_cast<QDialog*>(
            new ODlg_OptionsWindow(static_cast<ODlg_Options&>(model), parent));
    });
    ui.RegisterDialog("ODlg_MsgBox_WithCheckMark", [](ODialogModel& model, QWidget* parent) {
        return static_cast<QDialog*>(new ODlg_MsgBox_WithCheckMarkWindow(
            static_cast<ODlg_MsgBox_WithCheckMark&>(model), parent));
    });
    for (const char* name : {"ODlg_TransferData", "ODlg_TransferDataNew"}) {
        ui.RegisterDialog(name, [](ODialogModel& model, QWidget* parent) {
            return static_cast<QDialog*>(
                new ODlg_TransferDataWindow(static_cast<ODlg_TransferData&>(model), parent));
        });
    }
}

void RegisterDeviceViews() {
    RegisterViewCreator(ViewKind::CommunicationManager, [](ODoc& doc, QWidget* parent) -> QWidget* {
        return new OView_QuillonConsole(doc, parent);
    });
}
