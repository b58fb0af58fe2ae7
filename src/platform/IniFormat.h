// The text form of an INI settings file: "[section]" lines, then "name=value" lines.
//
// Section names, value names and values are escaped, so that any text survives a round trip:
//   \\ backslash   \n line feed   \r carriage return   \t tab   \s blank (only written for
//   blanks at the start or end, which the reader would otherwise trim)   \= \; \# \[ \]
//   the characters that the reader treats as separators, comment starts or section brackets
//   \xHH any other control byte, and every byte that is not part of valid UTF-8.
// The reader trims unescaped blanks and tabs around names and values, skips empty lines,
// lines starting with ';' or '#' and a leading UTF-8 byte-order mark, and accepts CR LF line
// ends. Everything else that does not fit is an error with its line number.
#pragma once

#include <string>
#include <string_view>

#include "platform/SettingsValue.h"

std::string EscapeIniText(std::string_view text);
// False (with error set) for an unknown escape, a lone trailing backslash or a bad \x.
bool bUnescapeIniText(std::string_view escaped, std::string& text, std::string& error);

std::string FormatIni(const SettingsValueMap& values);
// Parses a whole file; on failure values is left empty and error says what and where.
bool bParseIni(std::string_view content, SettingsValueMap& values, std::string& error);
