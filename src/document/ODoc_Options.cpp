// "&Options...": the options dialog for the session's working copy, and what a changed
// connection kind needs afterwards.
#include "device/ODlg_Options.h"
#include "document/ODoc.h"
#include "platform/UserInteraction.h"

void ODoc::RunOptionsDialog() {
    CloseCommunicationManager();
    OQuillon& session = *m_session;
    ODlg_Options dialog(m_services.settings, m_services.ui, session.Options().Values(),
                        iGetFamily());
    if (!m_services.ui.bRunDialog(dialog)) return;
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
    RecomputeAll(1, 0, 1, 1, 0);
    RefreshViews();
}
