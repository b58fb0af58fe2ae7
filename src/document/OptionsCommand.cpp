#include "document/OptionsCommand.h"
#include "device/ODlg_Options.h"
#include "document/ODoc.h"
#include "platform/UserInteraction.h"

void RunOptionsDialog(ODoc& doc) {
    doc.CloseCommunicationManager();
    OQuillon& session = *doc.opGetSession();
    ODlg_Options dialog(doc.SettingsStore(), doc.UI(), session.Options().Values(),
                        doc.iGetFamily());
    if (!doc.UI().bRunDialog(dialog)) return;
    const int kind = dialog.values.connectionKind;
    if (kind != session.Options().connectionKind) {
        if (session.iGetLoginNeeded() == 0) {
            session.EnsureConnected();
            session.Disconnect(0);
        }
        session.CreateConnection(kind);
    }
    session.Options().Assign(dialog.values);
    session.Options().WriteBack(true);
    // A part limit raised while recording lasts until the options are taken again.
    session.ResetPartLimit();
    doc.RecomputeAll(1, 0, 1, 1, 0);
    doc.RefreshViews();
}
