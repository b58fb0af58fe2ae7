// Texts held in several languages, as in the feature-name table of a part set.
//
// Format: the texts of languages 0, 1, 2, ... in this order, separated by '|':
//   "Length|Länge|Longueur"
// A text without '|' is the same in every language. A language beyond the last text, a
// negative language number, or an empty text for the language ("Length||Longueur" for
// language 1) falls back to the text of language 0. '|' therefore cannot be part of a text.
#pragma once

#include <string>
#include <string_view>

std::string oStrExtractLanguage(std::string_view multiLanguageText, int language);
