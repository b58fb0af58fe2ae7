// Conversion between the UTF-8 text held in memory and the 8-bit system code page, which is
// Windows-1252 here, so that names and texts stay readable by 8-bit peers.
//
// Windows-1252 is Latin-1 (U+0000..U+007F and U+00A0..U+00FF map to the byte of the same
// value) with 27 typographic characters in 0x80..0x9F (€ ‚ ƒ „ … † ‡ ˆ ‰ Š ‹ Œ Ž ‘ ’ “ ” • – —
// ˜ ™ š › œ ž Ÿ). The bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D are undefined, and no C1 control
// character U+0080..U+009F is convertible.
//
// Invalid UTF-8 (stray continuation bytes, overlong forms, surrogates U+D800..U+DFFF, code
// points above U+10FFFF, truncated sequences) is never convertible.
#pragma once

#include <string>
#include <string_view>

// True when `utf8` is valid UTF-8 and every code point exists in Windows-1252.
bool bIsConvertibleToAnsi(std::string_view utf8);

// Windows-1252 bytes of `utf8`. Each unconvertible code point, and each maximal invalid
// UTF-8 subsequence, becomes one '?'; `ok` (when given) is then false, else true.
std::string Utf8ToCp1252(std::string_view utf8, bool* ok = nullptr);

// UTF-8 text of Windows-1252 bytes. The five undefined bytes become U+FFFD (the replacement
// character), which marks them as lost instead of inventing a C1 control character that
// would not convert back.
std::string Cp1252ToUtf8(std::string_view cp1252);
