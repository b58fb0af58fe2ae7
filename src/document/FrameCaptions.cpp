#include "document/FrameCaptions.h"

std::string ChildFrameCaption(std::string_view baseTitle, int partSets,
                              std::string_view actualPartSetName) {
    if (partSets < 2) return std::string(baseTitle);
    std::string name(actualPartSetName);
    for (char& c : name) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    return std::string(baseTitle) + " - " + name;
}

std::string MainFrameCaption(std::string_view applicationTitle, std::string_view documentTitle) {
    if (documentTitle.empty()) return std::string(applicationTitle);
    return std::string(applicationTitle) + " - " + std::string(documentTitle);
}
