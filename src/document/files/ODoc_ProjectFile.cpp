// The document's side of project files: the dialogs, titles, busy state and the safe
// replacement of the old file around the block writer and reader.
#include <exception>
#include <new>

#include "document/CommandIds.h"
#include "document/DocumentTexts.h"
#include "document/ODoc.h"
#include "document/ORecentFileList.h"
#include "document/files/LegacyProjectFormat.h"
#include "document/files/OSafeFileWriter.h"
#include "document/files/ProjectBlocks.h"
#include "document/files/ProjectFileFormat.h"
#include "document/files/ProjectPaths.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/stream/OByteStream_File.h"
#include "model/strings/ResStr.h"
#include "platform/CommandQueue.h"
#include "platform/OWaitCursor.h"
#include "platform/UserInteraction.h"

namespace {

constexpr size_t kMaxSystemErrorText = 1024;
// Paths shorter than this always go through the file dialog.
constexpr size_t kMinimumPathLength = 5;

}  // namespace

std::string ODoc::ChooseSavePath(const std::string& path) {
    const bool family2 = m_session->bIsFamily2();
    const bool shortPath = path.size() < kMinimumPathLength;
    if (!shortPath && ProjectPaths::bContainsAny(path, {family2 ? ".kvp" : ".zrp"})) return path;
    FileDialogRequest request;
    std::string initial = m_lastFolder;
    if (shortPath) initial = ProjectPaths::Join(initial, family2 ? "*.kvp" : "*.zrp");
    request.initialPath = ProjectPaths::CleanDialogPath(initial);
    request.filter = ResStr(family2 ? 5345 : 5301);
    request.defaultExtension = family2 ? "kvp" : "zrp";
    request.bOverwritePrompt = true;
    const FileDialogResult chosen = m_services.ui.FileSave(request);
    if (!chosen.bAccepted || chosen.paths.empty()) return {};
    return chosen.paths.front();
}

std::string ODoc::ChooseOpenPath(const std::string& path) {
    const bool shortPath = path.size() < kMinimumPathLength;
    if (!shortPath && ProjectPaths::bContainsAny(path, {".zrp", ".ZRP", ".kvp", ".KVP"}))
        return path;
    FileDialogRequest request;
    const std::string initial = shortPath ? ProjectPaths::Join(m_lastFolder, "Systemfile") : path;
    request.initialPath = ProjectPaths::CleanDialogPath(initial);
    request.filter = ResStr(5344);
    request.defaultExtension = m_session->bIsFamily2() ? "kvp" : "zrp";
    const FileDialogResult chosen = m_services.ui.FileOpen(request);
    if (!chosen.bAccepted || chosen.paths.empty()) return {};
    return chosen.paths.front();
}

int ODoc::WriteProjectFile(const std::string& requestedPath, std::string& errorText) {
    errorText.clear();
    if (!m_session) return 0;
    if (m_services.views.bHasView(ViewKind::ProjectDocumentation))
        m_services.views.CommitPendingEdits(ViewKind::ProjectDocumentation);
    const std::string path = ChooseSavePath(requestedPath);
    if (path.empty()) return 2;

    OBusyScope busy(*this);
    int result = 0;
    {
        OWaitCursor wait(m_services.ui);
        m_session->SetProjectPath(path);
        m_lastFolder = ProjectPaths::FolderOf(path);
        result = WriteToFile(path, errorText);
    }
    if (result == 1) {
        if (m_services.recentFiles) m_services.recentFiles->Add(path);
        SetTitle(ProjectPaths::FileTitleOf(path));
        m_pathName = path;
        Recompute(opGetActualPartSet(), 0, 1, 0, 0, 0);
        SetModifiedFlag(0);
    }
    RefreshViews();
    return result;
}

int ODoc::WriteToFile(const std::string& path, std::string& errorText) {
    auto failed = [&](const std::string& why) {
        errorText =
            why.empty() ? DocumentText::kOldFileKept : why + "\r\n" + DocumentText::kOldFileKept;
        return 0;
    };
    OSafeFileWriter writer(path);
    if (!writer.bBegin()) return failed(writer.LastError());
    try {
        OByteStream_File file;
        if (!file.bOpen(writer.TemporaryPath(), OByteStream_File::Mode::Write))
            return failed(file.LastError());
        std::string blockError;
        const int written =
            ProjectFile::WriteProjectBlocks(file, *m_session, m_services.progress, blockError);
        const bool closed = file.bClose();
        if (written != 1 || !closed)
            return failed(!closed && !file.LastError().empty() ? file.LastError() : blockError);
    } catch (const std::exception& e) {
        return failed(e.what());
    }
    if (!writer.bCommit()) return failed(writer.LastError());
    return 1;
}

void ODoc::ResetToFreshProject(const std::string& path) {
    m_session->ResetSession();
    OnNewDocument();
    if (!path.empty()) SetTitle(ProjectPaths::FileTitleOf(path));
}

int ODoc::LoadProjectFile(const std::string& requestedPath, std::string& errorText, int quiet) {
    errorText.clear();
    if (!m_session || !m_session->opGetActualPartSet()) return 0;
    HideChildFrames();
    const std::string path = ChooseOpenPath(requestedPath);
    if (path.empty()) {
        ShowChildFrames();
        return 2;
    }

    OBusyScope busy(*this);
    m_session->ResetSession();
    OnNewDocument();
    int result = 0;
    std::vector<std::string> notes;
    {
        OWaitCursor wait(m_services.ui);
        m_lastFolder = ProjectPaths::FolderOf(path);
        result = ReadFromFile(path, errorText, notes);
    }
    if (result != 1) {
        ResetToFreshProject(path);
        ShowChildFrames();
        return 0;
    }
    FinishLoading(quiet, notes);
    return 1;
}

int ODoc::ReadFromFile(const std::string& path, std::string& errorText,
                       std::vector<std::string>& notes) {
    try {
        OByteStream_File file;
        if (!file.bOpen(path, OByteStream_File::Mode::Read)) {
            errorText = file.LastError().substr(0, kMaxSystemErrorText);
            return 0;
        }
        SetTitle(ProjectPaths::FileTitleOf(path));
        m_pathName = path;
        m_services.views.RepaintMainFrame();
        int result = 0;
        if (ProjectFile::bIsLegacyProjectFile(file)) {
            file.bClose();
            result = ReadLegacyFile(path, errorText, notes);
        } else {
            result = ProjectFile::ReadProjectBlocks(file, *m_session, m_services.settings,
                                                    m_services.progress, errorText);
        }
        if (result == 1) m_session->SetProjectPath(path);
        return result;
    } catch (const std::bad_alloc&) {
        errorText = ResStr(3300);
        return 0;
    } catch (const std::exception& e) {
        errorText = e.what();
        return 0;
    }
}

int ODoc::ReadLegacyFile(const std::string& path, std::string& errorText,
                         std::vector<std::string>& notes) {
    std::vector<uint8_t> bytes;
    if (!bReadWholeFile(path, ProjectBlocks::kMaxBlockLength, bytes, errorText)) return 0;
    const OType_ProjectProperties properties =
        ProjectFile::PropertiesWithoutRecord(m_services.settings, 1);
    if (!LegacyProject::iRead(bytes, *m_session, properties, errorText, notes)) return 0;
    RefreshPartSetBar(1);
    return 1;
}

void ODoc::FinishLoading(int quiet, const std::vector<std::string>& notes) {
    EnsureEngines();
    if (!quiet) {
        for (const std::string& note : notes)
            m_services.ui.Message(note, MsgIcon::Information);
    }
    int keep = 1;
    if (!quiet && !CheckProjectConsistency()) {
        m_services.ui.Message(ResStr(4240), MsgIcon::Warning);
        keep = EditProjectProperties(1);
    }
    RecomputeAll(0, 0, 1, 1, 0);
    RefreshViews();

    OType_ZRPartSet* set = opGetActualPartSet();
    if (set && !set->opGetShowPart()) {
        if (set->TestParts().bIsEmpty() && !set->TeachParts().bIsEmpty()) {
            set->iShowSetTeachTest(1);
        } else if (!set->TestParts().bIsEmpty()) {
            set->iShowSetTeachTest(0);
        }
    }
    m_pathName = m_session->GetProjectPath();
    m_modified = false;
    SetTitle(ProjectPaths::FileTitleOf(m_pathName));
    m_newProject = 0;
    SetModifiedFlag(0);
    OType_ZRPartSetArray& sets = m_session->PartSets();
    for (int i = 0; i < sets.iGetNum(); ++i)
        sets.opGetPartSet(i)->UndoRedo().bStartUndoRedo(*sets.opGetPartSet(i));

    if (OExtractor* extractor = opGetExtractor()) extractor->ResetView();
    ShowChildFrames();
    m_services.views.RecalcLayout();
    m_services.views.RepaintMainFrame();
    if (!keep) {
        SetModifiedFlag(0);
        m_services.mainWindow.Post(Cmd::kFileNew);
    }
}
