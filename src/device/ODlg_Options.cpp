#include "device/ODlg_Options.h"

#include "document/files/ProjectPaths.h"
#include "model/strings/ResStr.h"
#include "platform/Settings.h"
#include "platform/UserInteraction.h"

namespace {

constexpr int kTcp = 3;

}  // namespace

ODlg_Options::ODlg_Options(Settings& settings, UserInteraction& ui, const OOptionValues& start,
                           int family)
    : values(start), m_settings(settings), m_ui(ui), m_family(family) {}

std::vector<std::pair<int, std::string>> ODlg_Options::ConnectionChoices() const {
    if (m_family == 2) return {{kTcp, ResStr(6406)}};
    return {{0, ResStr(6403)}, {1, ResStr(6404)}};
}

int ODlg_Options::iConnectionIndex() const {
    const auto choices = ConnectionChoices();
    for (size_t i = 0; i < choices.size(); ++i) {
        if (choices[i].first == values.connectionKind) return static_cast<int>(i);
    }
    return 0;
}

void ODlg_Options::ChooseConnection(int index) {
    const auto choices = ConnectionChoices();
    if (index >= 0 && index < static_cast<int>(choices.size()))
        values.connectionKind = choices[static_cast<size_t>(index)].first;
}

std::string ODlg_Options::ViewerPathProposal() const {
    const std::string& path = values.viewerPath.size() < 2
                                  ? std::string(OOptionValues::kDefaultViewerPath)
                                  : values.viewerPath;
    return ProjectPaths::CleanDialogPath(path);
}

bool ODlg_Options::bBrowseViewerPath() {
    FileDialogRequest request;
    request.filter = ResStr(5308);
    request.initialPath = ViewerPathProposal();
    const FileDialogResult chosen = m_ui.FileOpen(request);
    if (!chosen.bAccepted || chosen.paths.empty()) return false;
    values.viewerPath = chosen.paths.front();
    m_settings.SetText(OType_Options::kSection, "MIRREL_PATH", values.viewerPath);
    return true;
}

bool ODlg_Options::bValidate(std::string& message) {
    if (values.partBufferSize < kMinPartBuffer || values.partBufferSize > kMaxPartBuffer) {
        message = "Please enter an integer between 1 and 25000.";
        return false;
    }
    return true;
}

void ODlg_Options::OnOk() {
    if (m_family == 2) {
        values.connectionKind = kTcp;
    } else if (values.connectionKind != 0 && values.connectionKind != 1) {
        values.connectionKind = 0;
    }
    OType_Options::Write(m_settings, values, false);
}
