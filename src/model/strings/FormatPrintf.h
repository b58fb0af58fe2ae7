// printf-style formatting into a std::string that cannot run into undefined behaviour.
//
// The format is parsed at run time and every conversion is paired with its argument; each
// conversion is then formatted on its own with std::snprintf and exactly the C type it
// expects (long long for d/i, unsigned long long for o/u/x/X, int for c, double for
// f/F/e/E/g/G/a/A; %s is padded and cut here). So "%d" with a std::size_t, "%lf" with a
// float or "%s" with a std::string are all fine. Length modifiers (hh, h, l, ll, L, z, j,
// t) are accepted and ignored: the argument's own type decides the width.
//
// Mismatches never reach snprintf:
// - a number for %s is written in decimal, a text for a numeric conversion is written as is,
//   an integer for a floating conversion is converted (and a floating value for an integer
//   conversion is truncated towards zero);
// - a conversion without an argument is copied to the output unchanged, surplus arguments
//   are ignored;
// - %n, %p, '*' widths, widths or precisions above 4096 and unknown conversions are copied
//   unchanged.
#pragma once

#include <concepts>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>

class OFormatArg {
  public:
    enum class Kind { Signed, Unsigned, Floating, Text };

    template <std::integral T>
    OFormatArg(T value) : m_byteSize(sizeof(T)) {
        if constexpr (std::is_same_v<T, bool> || std::is_unsigned_v<T>) {
            m_kind = Kind::Unsigned;
            m_unsigned = static_cast<unsigned long long>(value);
        } else {
            m_kind = Kind::Signed;
            m_signed = static_cast<long long>(value);
        }
    }
    template <typename T>
    requires std::is_enum_v<T> OFormatArg(T value)
        : OFormatArg(static_cast<std::underlying_type_t<T>>(value)) {}
    template <std::floating_point T>
    OFormatArg(T value) : m_kind(Kind::Floating), m_floating(static_cast<double>(value)) {}
    OFormatArg(const char* text) : m_kind(Kind::Text), m_text(text ? text : "(null)") {}
    OFormatArg(std::string_view text) : m_kind(Kind::Text), m_text(text) {}
    OFormatArg(const std::string& text) : m_kind(Kind::Text), m_text(text) {}

    Kind eKind() const { return m_kind; }
    long long iSigned() const { return m_signed; }
    unsigned long long iUnsigned() const { return m_unsigned; }
    double dFloating() const { return m_floating; }
    std::string_view oText() const { return m_text; }
    // Size of the original integer type, so that a negative int under %x prints 32 bits.
    std::size_t iByteSize() const { return m_byteSize; }

  private:
    Kind m_kind = Kind::Signed;
    long long m_signed = 0;
    unsigned long long m_unsigned = 0;
    double m_floating = 0.0;
    std::string_view m_text;
    std::size_t m_byteSize = 0;
};

std::string FormatPrintfArgs(std::string_view format, std::initializer_list<OFormatArg> args);

// The arguments must outlive the call only (texts are viewed, not copied).
template <typename... Args>
std::string FormatPrintf(std::string_view format, const Args&... args) {
    return FormatPrintfArgs(format, {OFormatArg(args)...});
}
