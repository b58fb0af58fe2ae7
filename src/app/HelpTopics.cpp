#include "app/HelpTopics.h"

#include <filesystem>

#include "kalvor/Version.h"

namespace HelpTopics {

namespace {

constexpr int kHelpIdOffset = 65536;
constexpr const char* kStartPage = "index.html";

}  // namespace

int iCommandOfHelpId(int helpId) {
    if (helpId < kFirstCommandHelpId || helpId > kLastCommandHelpId) return 0;
    return helpId - kHelpIdOffset;
}

std::string PageOf(std::optional<ViewKind> kind) {
    if (!kind) return kStartPage;
    switch (*kind) {
        case ViewKind::PartList:
            return "part-list.html";
        case ViewKind::PartContour:
            return "part-contour.html";
        case ViewKind::TeachData:
            return "teach-data.html";
        case ViewKind::FeatureGraph:
        case ViewKind::PartFeatures:
        case ViewKind::FeatureProperties:
            return "analysis.html";
        case ViewKind::ProjectDocumentation:
            return "project-setup.html";
        case ViewKind::CommunicationManager:
            return "device.html";
        case ViewKind::ToolProperties:
        case ViewKind::DataOutput:
            return "tools.html";
    }
    return kStartPage;
}

std::function<bool(const std::string& path)>& DocumentOpener() {
    static std::function<bool(const std::string& path)> opener;
    return opener;
}

std::string ManualFolder(const std::string& programFolder) {
    namespace fs = std::filesystem;
    const fs::path candidates[] = {fs::path(programFolder) / kalvor::version::kManualBesideProgram,
                                   fs::path(kalvor::version::kManualInSources)};
    for (const fs::path& folder : candidates) {
        std::error_code error;
        if (fs::exists(folder / kStartPage, error)) return fs::weakly_canonical(folder).string();
    }
    return {};
}

}  // namespace HelpTopics
