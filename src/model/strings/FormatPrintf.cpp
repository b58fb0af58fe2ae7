#include "model/strings/FormatPrintf.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace {

constexpr int kMaxWidthOrPrecision = 4096;

// One parsed conversion: the flags, width and precision as written, and the conversion.
struct OConversion {
    std::string flags;
    int width = -1;
    int precision = -1;
    char conversion = 0;
};

bool bIsIntegerConversion(char c) {
    return c == 'd' || c == 'i';
}
bool bIsUnsignedConversion(char c) {
    return c == 'o' || c == 'u' || c == 'x' || c == 'X';
}
bool bIsFloatingConversion(char c) {
    switch (c) {
        case 'f':
        case 'F':
        case 'e':
        case 'E':
        case 'g':
        case 'G':
        case 'a':
        case 'A':
            return true;
        default:
            return false;
    }
}
bool bIsKnownConversion(char c) {
    return bIsIntegerConversion(c) || bIsUnsignedConversion(c) || bIsFloatingConversion(c) ||
           c == 'c' || c == 's';
}

// Reads up to kMaxWidthOrPrecision; returns false for larger numbers.
bool bParseNumber(std::string_view format, size_t& pos, int& value) {
    value = 0;
    while (pos < format.size() && format[pos] >= '0' && format[pos] <= '9') {
        value = value * 10 + (format[pos] - '0');
        if (value > kMaxWidthOrPrecision) return false;
        ++pos;
    }
    return true;
}

// Parses the conversion that starts after the '%' at `pos`; on success `pos` is behind it.
bool bParseConversion(std::string_view format, size_t& pos, OConversion& conv) {
    while (pos < format.size() &&
           std::string_view("-+ #0").find(format[pos]) != std::string_view::npos) {
        conv.flags += format[pos++];
    }
    if (pos < format.size() && format[pos] >= '1' && format[pos] <= '9') {
        if (!bParseNumber(format, pos, conv.width)) return false;
    }
    if (pos < format.size() && format[pos] == '.') {
        ++pos;
        if (!bParseNumber(format, pos, conv.precision)) return false;
    }
    while (pos < format.size() &&
           std::string_view("hlLzjtq").find(format[pos]) != std::string_view::npos) {
        ++pos;
    }
    if (pos >= format.size() || !bIsKnownConversion(format[pos])) return false;
    conv.conversion = format[pos++];
    return true;
}

std::string BuildPattern(const OConversion& conv, std::string_view length) {
    std::string pattern = "%" + conv.flags;
    if (conv.width >= 0) pattern += std::to_string(conv.width);
    if (conv.precision >= 0) pattern += "." + std::to_string(conv.precision);
    pattern += length;
    pattern += conv.conversion;
    return pattern;
}

template <typename T>
void AppendSnprintf(std::string& out, const std::string& pattern, T value) {
    const int length = std::snprintf(nullptr, 0, pattern.c_str(), value);
    if (length <= 0) return;
    const size_t start = out.size();
    out.resize(start + static_cast<size_t>(length) + 1);
    std::snprintf(out.data() + start, static_cast<size_t>(length) + 1, pattern.c_str(), value);
    out.resize(start + static_cast<size_t>(length));
}

void AppendText(std::string& out, const OConversion& conv, std::string_view text) {
    if (conv.precision >= 0 && text.size() > static_cast<size_t>(conv.precision)) {
        text = text.substr(0, static_cast<size_t>(conv.precision));
    }
    const size_t pad = conv.width > 0 && text.size() < static_cast<size_t>(conv.width)
                           ? conv.width - text.size()
                           : 0;
    const bool leftAligned = conv.flags.find('-') != std::string::npos;
    if (!leftAligned) out.append(pad, ' ');
    out += text;
    if (leftAligned) out.append(pad, ' ');
}

// The decimal text of a numeric argument, used where a text is asked for.
std::string NumberText(const OFormatArg& arg) {
    switch (arg.eKind()) {
        case OFormatArg::Kind::Signed:
            return std::to_string(arg.iSigned());
        case OFormatArg::Kind::Unsigned:
            return std::to_string(arg.iUnsigned());
        default: {
            std::string out;
            AppendSnprintf(out, "%g", arg.dFloating());
            return out;
        }
    }
}

unsigned long long MaskedUnsigned(const OFormatArg& arg) {
    const auto value = static_cast<unsigned long long>(arg.iSigned());
    if (arg.iByteSize() >= sizeof(unsigned long long)) return value;
    return value & ((1ULL << (8 * arg.iByteSize())) - 1);
}

// A floating value truncated towards zero; false when it has no integer value.
bool bTruncated(double value, long long& result) {
    if (!std::isfinite(value) || value >= 9.2e18 || value <= -9.2e18) return false;
    result = static_cast<long long>(value);
    return true;
}

void AppendInteger(std::string& out, const OConversion& conv, const OFormatArg& arg) {
    const bool isUnsigned = bIsUnsignedConversion(conv.conversion);
    long long truncated = 0;
    switch (arg.eKind()) {
        case OFormatArg::Kind::Signed:
            if (isUnsigned) {
                AppendSnprintf(out, BuildPattern(conv, "ll"), MaskedUnsigned(arg));
            } else {
                AppendSnprintf(out, BuildPattern(conv, "ll"), arg.iSigned());
            }
            return;
        case OFormatArg::Kind::Unsigned:
            if (!isUnsigned && arg.iUnsigned() > static_cast<unsigned long long>(
                                                     std::numeric_limits<long long>::max())) {
                OConversion asUnsigned = conv;
                asUnsigned.conversion = 'u';
                AppendSnprintf(out, BuildPattern(asUnsigned, "ll"), arg.iUnsigned());
            } else if (isUnsigned) {
                AppendSnprintf(out, BuildPattern(conv, "ll"), arg.iUnsigned());
            } else {
                AppendSnprintf(out, BuildPattern(conv, "ll"),
                               static_cast<long long>(arg.iUnsigned()));
            }
            return;
        case OFormatArg::Kind::Floating:
            if (!bTruncated(arg.dFloating(), truncated)) {
                AppendText(out, conv, NumberText(arg));
            } else if (isUnsigned) {
                AppendSnprintf(out, BuildPattern(conv, "ll"),
                               static_cast<unsigned long long>(truncated));
            } else {
                AppendSnprintf(out, BuildPattern(conv, "ll"), truncated);
            }
            return;
        case OFormatArg::Kind::Text:
            AppendText(out, conv, arg.oText());
            return;
    }
}

void AppendFloating(std::string& out, const OConversion& conv, const OFormatArg& arg) {
    switch (arg.eKind()) {
        case OFormatArg::Kind::Signed:
            AppendSnprintf(out, BuildPattern(conv, ""), static_cast<double>(arg.iSigned()));
            return;
        case OFormatArg::Kind::Unsigned:
            AppendSnprintf(out, BuildPattern(conv, ""), static_cast<double>(arg.iUnsigned()));
            return;
        case OFormatArg::Kind::Floating:
            AppendSnprintf(out, BuildPattern(conv, ""), arg.dFloating());
            return;
        case OFormatArg::Kind::Text:
            AppendText(out, conv, arg.oText());
            return;
    }
}

void AppendCharacter(std::string& out, const OConversion& conv, const OFormatArg& arg) {
    switch (arg.eKind()) {
        case OFormatArg::Kind::Signed:
            AppendSnprintf(out, BuildPattern(conv, ""), static_cast<int>(arg.iSigned() & 0xFF));
            return;
        case OFormatArg::Kind::Unsigned:
            AppendSnprintf(out, BuildPattern(conv, ""), static_cast<int>(arg.iUnsigned() & 0xFF));
            return;
        case OFormatArg::Kind::Floating:
            AppendText(out, conv, NumberText(arg));
            return;
        case OFormatArg::Kind::Text:
            AppendText(out, conv, arg.oText());
            return;
    }
}

void AppendConversion(std::string& out, const OConversion& conv, const OFormatArg& arg) {
    if (conv.conversion == 's') {
        AppendText(
            out, conv,
            arg.eKind() == OFormatArg::Kind::Text ? std::string(arg.oText()) : NumberText(arg));
    } else if (conv.conversion == 'c') {
        AppendCharacter(out, conv, arg);
    } else if (bIsFloatingConversion(conv.conversion)) {
        AppendFloating(out, conv, arg);
    } else {
        AppendInteger(out, conv, arg);
    }
}

}  // namespace

std::string FormatPrintfArgs(std::string_view format, std::initializer_list<OFormatArg> args) {
    std::string out;
    out.reserve(format.size() + 16 * args.size());
    const OFormatArg* nextArg = args.begin();
    size_t pos = 0;
    while (pos < format.size()) {
        const size_t percent = format.find('%', pos);
        if (percent == std::string_view::npos) {
            out += format.substr(pos);
            break;
        }
        out += format.substr(pos, percent - pos);
        if (percent + 1 < format.size() && format[percent + 1] == '%') {
            out += '%';
            pos = percent + 2;
            continue;
        }
        size_t end = percent + 1;
        OConversion conv;
        if (!bParseConversion(format, end, conv)) {
            // Not a conversion this formatter passes on: keep the '%' and go on after it.
            out += '%';
            pos = percent + 1;
            continue;
        }
        if (nextArg == args.end()) {
            out += format.substr(percent, end - percent);
        } else {
            AppendConversion(out, conv, *nextArg++);
        }
        pos = end;
    }
    return out;
}
