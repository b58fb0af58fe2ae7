#include "document/files/ProjectPaths.h"

#include "model/strings/FileNameCleaning.h"

namespace ProjectPaths {
namespace {

size_t LastSeparator(std::string_view path) {
    return path.find_last_of("\\/");
}

}  // namespace

bool bContainsAny(std::string_view path, std::initializer_list<std::string_view> texts) {
    for (std::string_view text : texts) {
        if (path.find(text) != std::string_view::npos) return true;
    }
    return false;
}

std::string FolderOf(std::string_view path) {
    const size_t sep = LastSeparator(path);
    return sep == std::string_view::npos ? std::string() : std::string(path.substr(0, sep));
}

std::string FileTitleOf(std::string_view path) {
    const size_t sep = LastSeparator(path);
    return std::string(sep == std::string_view::npos ? path : path.substr(sep + 1));
}

std::string Join(std::string_view folder, std::string_view name) {
    if (folder.empty()) return std::string(name);
    const bool windows =
        folder.find('\\') != std::string_view::npos && folder.find('/') == std::string_view::npos;
    const char sep = windows ? '\\' : '/';
    std::string joined(folder);
    if (joined.back() != sep) joined += sep;
    joined.append(name);
    return joined;
}

std::string CleanDialogPath(std::string_view path) {
    // CleanFileName keeps backslashes; cleaning each "/"-separated name keeps our own
    // separators too.
    std::string cleaned;
    size_t begin = 0;
    while (true) {
        const size_t sep = path.find('/', begin);
        cleaned += CleanFileName(path.substr(
            begin, sep == std::string_view::npos ? std::string_view::npos : sep - begin));
        if (sep == std::string_view::npos) break;
        cleaned += '/';
        begin = sep + 1;
    }
    return cleaned;
}

}  // namespace ProjectPaths
