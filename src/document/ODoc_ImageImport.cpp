// Camera image import into the actual part set (reached from the Import command).
#include "document/CommandIds.h"
#include "document/ODoc.h"
#include "extraction/ODlg_ImportImages.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/ResStr.h"
#include "platform/UserInteraction.h"

namespace {
constexpr int kStrImageFilter = 5352;
}

int ODoc::ImportCameraImages(int teach, std::vector<std::string> files) {
    OType_ZRPartSet* partSet = opGetActualPartSet();
    if (!partSet) return 0;
    CloseCommunicationManager();
    if (files.empty()) {
        FileDialogRequest request;
        request.title = ODlg_ImportImages::Title();
        request.filter = ResStr(kStrImageFilter);
        request.initialPath = m_lastFolder;
        request.bMultipleSelection = true;
        FileDialogResult chosen = m_services.ui.FileOpen(request);
        if (!chosen.bAccepted || chosen.paths.empty()) return 2;
        files = std::move(chosen.paths);
    }
    const std::string& first = files.front();
    const size_t slash = first.find_last_of("/\\");
    if (slash != std::string::npos) m_lastFolder = first.substr(0, slash);

    ODlg_ImportImages dialog(m_services.settings, std::move(files), &m_services.ui,
                             m_services.progress);
    if (!m_services.ui.bRunDialog(dialog)) return 2;
    auto parts = dialog.TakeParts();
    if (parts.empty()) return 0;

    OBusyScope busy(*this);
    OType_PartArray& list = teach ? partSet->TeachParts() : partSet->TestParts();
    for (auto& part : parts) {
        part->SetTeachPart(teach != 0);
        list.Add(std::move(part));
    }
    SetModifiedFlag(1);
    Recompute(partSet, 0, teach ? 0 : 1, 1, 1, 0);
    bStoreUndoStep(*partSet, "Imported camera images", Cmd::kViewPartContour);
    RefreshViews();
    return 1;
}
