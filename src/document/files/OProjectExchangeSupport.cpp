#include "document/files/OProjectExchangeSupport.h"

#include <cctype>

#include "model/strings/ResStr.h"

namespace ExchangePaths {

bool bHasExtension(std::string_view path, std::string_view extension) {
    std::string upper(extension);
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return path.find(extension) != std::string_view::npos ||
           path.find(upper) != std::string_view::npos;
}

bool bNamesKind(std::string_view path, const std::vector<std::string>& extensions) {
    if (path.size() < kMinimumPathLength) return false;
    for (const std::string& extension : extensions) {
        if (bHasExtension(path, extension)) return true;
    }
    return false;
}

std::string WithDetail(const std::string& text, const std::string& detail) {
    return detail.empty() ? text : text + "\r\n\r\n" + detail;
}

std::string JoinFilters(std::initializer_list<int> textIds) {
    std::string joined;
    for (int id : textIds) {
        if (!joined.empty()) joined += ";;";
        joined += ResStr(id);
    }
    return joined;
}

}  // namespace ExchangePaths
