#include "model/strings/MultiLanguageText.h"

namespace {

constexpr char kSeparator = '|';

// The text of `language` (0-based); empty when the text has fewer languages.
std::string_view LanguageText(std::string_view text, int language) {
    size_t start = 0;
    for (int i = 0; i < language; ++i) {
        const size_t separator = text.find(kSeparator, start);
        if (separator == std::string_view::npos) return {};
        start = separator + 1;
    }
    const size_t end = text.find(kSeparator, start);
    return text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

}  // namespace

std::string oStrExtractLanguage(std::string_view multiLanguageText, int language) {
    if (language > 0) {
        const std::string_view text = LanguageText(multiLanguageText, language);
        if (!text.empty()) return std::string(text);
    }
    return std::string(LanguageText(multiLanguageText, 0));
}
