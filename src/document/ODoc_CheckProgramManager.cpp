// "Check program manager" (Alt+M): the dialog of the target (the configuration list of the
// target with stored configurations, 1024, or the plain one) and what the document does when
// it closes.
#include <memory>

#include "device/ODlg_TransferData.h"
#include "device/ODlg_TransferDataNew.h"
#include "document/ODoc.h"
#include "model/strings/ResStr.h"
#include "platform/UserInteraction.h"

namespace {
constexpr int kTargetWithConfigurations = 1024;
constexpr int kNotConsistent = 4240;
}  // namespace

void ODoc::RunCheckProgramManager() {
    std::unique_ptr<ODlg_TransferData> dialog;
    if (m_session->GetTargetSystem().hardware == kTargetWithConfigurations) {
        dialog = std::make_unique<ODlg_TransferDataNew>(*this);
    } else {
        dialog = std::make_unique<ODlg_TransferData>(*this);
    }
    m_services.ui.bRunDialog(*dialog);
    RefreshPartLists();
    if (dialog->bDeviceDiffers()) EditProjectProperties(0);
    RecomputeAll(1, 0, 1, 1, 0);
    if (!CheckProjectConsistency()) {
        m_services.ui.Message(ResStr(kNotConsistent), MsgIcon::Warning);
        EditProjectProperties(1);
    }
    RefreshPartSetBar(1);
    RefreshViews();
}
