// Pieces the export and import operations share: the result of an operation and what a
// file kind looks like to the file dialogs.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

struct OExchangeResult {
    enum Code { Failed = 0, Done = 1, Cancelled = 2 };
    int code = Failed;
    // What the user was shown on failure (empty otherwise).
    std::string message;
    // The files written or read.
    std::vector<std::string> files;

    bool bDone() const { return code == Done; }
};

// A file kind as the dialogs see it.
struct OExchangeFileKind {
    // Extensions (with the dot, lower case) that let a path skip the dialog; a path must
    // hold one of them in lower or upper case and have at least five characters.
    std::vector<std::string> extensions;
    std::string filter;            // the dialog's filter text
    std::string defaultExtension;  // without the dot
};

namespace ExchangePaths {

inline constexpr size_t kMinimumPathLength = 5;

// Whether the path holds one of the extensions in lower or upper case and is long enough
// to be used without a dialog.
bool bNamesKind(std::string_view path, const std::vector<std::string>& extensions);
// Whether the path holds the extension in lower or upper case.
bool bHasExtension(std::string_view path, std::string_view extension);
// "text\r\n\r\ndetail", or the text alone.
std::string WithDetail(const std::string& text, const std::string& detail);
// Filters of the string table joined with ";;".
std::string JoinFilters(std::initializer_list<int> textIds);

}  // namespace ExchangePaths
