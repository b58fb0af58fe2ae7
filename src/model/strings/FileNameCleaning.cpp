#include "model/strings/FileNameCleaning.h"

namespace {

std::string Clean(std::string_view text, std::string_view replacedByUnderscore) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out += ' ';
            ++i;
        } else if (c == '\r' || c == '\n') {
            out += ' ';
        } else if (replacedByUnderscore.find(c) != std::string_view::npos) {
            out += '_';
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

std::string CleanFileName(std::string_view path) {
    return Clean(path, "/?\"<>|");
}

std::string CleanFileNamePart(std::string_view name) {
    return Clean(name, "/?\"<>|:\\");
}
