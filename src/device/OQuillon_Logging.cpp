// "Record received parts to file": received parts go into numbered part-list files instead
// of the project. Each file is a part-list file (".zrl" or ".kvl") that the part-list
// loader reads; its header is written with the first part, and its part count and length
// are brought up to date after every part, so that a file is complete at any moment and a
// file that never received a part stays empty and is deleted when logging stops.
#include <filesystem>

#include "device/OQuillon.h"
#include "model/stream/ObjectIds.h"
#include "model/strings/FileNameCleaning.h"
#include "model/strings/FormatPrintf.h"
#include "model/strings/ResStr.h"
#include "platform/Settings.h"
#include "platform/UserInteraction.h"

namespace {

constexpr uint32_t kPartListVersion = 1;
constexpr uint64_t kCountOffset = 16;  // length, id, version, mode, then the count

std::string NumberedPath(const std::string& base, int counter, const std::string& type) {
    if (counter == 0) return base + "." + type;
    return FormatPrintf("%s_%d.%s", base, counter, type);
}

// The proposed name with every name between separators cleaned; the separators stay.
std::string CleanProposal(const std::string& path) {
    std::string out;
    size_t start = 0;
    while (true) {
        const size_t slash = path.find_first_of("/\\", start);
        out += CleanFileName(path.substr(start, slash - start));
        if (slash == std::string::npos) return out;
        out += path[slash];
        start = slash + 1;
    }
}

bool bExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

}  // namespace

bool OQuillon::bOpenLogFile(const std::string& path) {
    m_logFile.bClose();
    if (!m_logFile.bOpen(path, OByteStream_File::Mode::Write)) return false;
    m_logFilePath = path;
    m_logFileOpen = 1;
    m_logFileParts = 0;
    return true;
}

void OQuillon::CloseLogFile() {
    if (!m_logFileOpen) return;
    m_logFile.bClose();
    m_logFileOpen = 0;
    std::error_code ec;
    if (std::filesystem::exists(m_logFilePath, ec) &&
        std::filesystem::file_size(m_logFilePath, ec) == 0)
        std::filesystem::remove(m_logFilePath, ec);
}

int OQuillon::StartLogging() {
    CloseLogFile();
    m_logFileParts = 0;
    m_logFileCounter = 0;
    std::string base = m_logSettings.basePath;
    if (base.size() < 2) {
        const std::string folder = m_owner ? m_owner->GetProjectFolder() : std::string();
        base = folder.empty() ? "*" : (std::filesystem::path(folder) / "*").string();
    }
    const bool newPlatform = bIsNewPlatformTarget();
    std::string type = newPlatform ? "kvl" : "zrl";
    FileDialogRequest request;
    request.title = ResStr(4143);
    request.filter = ResStr(newPlatform ? 5338 : 5317);
    request.defaultExtension = type;
    request.initialPath = CleanProposal(base + "." + type);
    request.bOverwritePrompt = true;
    const FileDialogResult chosen = m_ui.FileSave(request);
    if (!chosen.bAccepted || chosen.paths.empty()) return 0;
    const std::filesystem::path path(chosen.paths.front());
    base = (path.parent_path() / path.stem()).string();
    if (path.has_extension()) type = path.extension().string().substr(1);
    if (bExists(NumberedPath(base, 0, type))) {
        const MsgResult answer =
            m_ui.Message(ResStr(4146), MsgIcon::Question, MsgButtons::YesNoCancel);
        if (answer == MsgResult::Cancel) return 0;
        if (answer == MsgResult::Yes) {
            while (bExists(NumberedPath(base, m_logFileCounter, type)))
                ++m_logFileCounter;
        }
    }
    if (!bOpenLogFile(NumberedPath(base, m_logFileCounter, type))) {
        m_ui.Message(ResStr(5132) + "\r\n\r\n" + m_logFile.LastError(), MsgIcon::Error);
        return 0;
    }
    m_logBase = base;
    m_logType = type;
    m_loggingToFile = 1;
    m_logSettings.basePath = base;
    m_logSettings.extension = type;
    m_logSettings.Write(m_settings);
    return 1;
}

bool OQuillon::bWriteLogPart(const OType_Part& part) {
    OByteStream_File& f = m_logFile;
    if (m_logFileParts == 0) {
        f.bWriteU32(0);
        f.bWriteU32(ObjectId::kPartListFile);
        f.bWriteU32(kPartListVersion);
        f.bWriteI32(m_logType == "kvl" ? 2 : 1);
        f.bWriteU32(0);
    }
    part.iEncode(f, PartContent::kAll);
    const uint64_t end = f.iGetPos();
    ++m_logFileParts;
    // Keep the header true after every part.
    f.bSeek(0);
    f.bWriteU32(static_cast<uint32_t>(end - 4));
    f.bSeek(kCountOffset);
    f.bWriteU32(static_cast<uint32_t>(m_logFileParts));
    f.bSeek(end);
    return f.bFlush() && f.bIsOk();
}

int OQuillon::LogPart(const OType_Part& part) {
    if (!m_loggingToFile || !m_logFileOpen) return 0;
    int wanted = 0;
    if (part.bIsTeachPart()) {
        wanted = m_logSettings.useTeachParts;
    } else if (part.dGetResultValue(0) <= 100) {
        wanted = m_logSettings.useGoodParts;
    } else {
        wanted = m_logSettings.useBadParts;
    }
    if (!wanted) return 2;
    // A file that cannot be written, or a next file that cannot be made, ends recording to
    // file with 5132: parts must not go on silently into nothing.
    if (m_logFileParts >= std::max(1, m_logSettings.partsPerFile)) {
        CloseLogFile();
        ++m_logFileCounter;
        if (!bOpenLogFile(NumberedPath(m_logBase, m_logFileCounter, m_logType))) {
            FailLogging();
            return 0;
        }
    }
    if (!bWriteLogPart(part)) {
        FailLogging();
        return 0;
    }
    if (m_owner) m_owner->UpdatePartListView();
    return 1;
}

void OQuillon::FailLogging() {
    const std::string detail = m_logFile.LastError();
    StopLogging();
    m_ui.Message(ResStr(5132) + (detail.empty() ? "" : "\r\n\r\n" + detail), MsgIcon::Error);
    if (m_owner) m_owner->RefreshAllViews();
}

void OQuillon::StopLogging() {
    if (m_logFileOpen) m_logFile.bFlush();
    CloseLogFile();
    m_loggingToFile = 0;
}
