// Code-page conversion of arbitrary bytes, read both as UTF-8 and as Windows-1252.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "../FuzzSeeds.h"
#include "model/strings/CodePage.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

std::vector<std::vector<uint8_t>> KalvorFuzzSeeds() {
    const std::string seeds[] = {"plain", "\xC3\xA4\xE2\x82\xAC", "\xF0\x9F\x98\x80",
                                 "\xED\xA0\x80", "\x80\x81\x9F\xFF"};
    std::vector<std::vector<uint8_t>> result;
    for (const auto& s : seeds)
        result.emplace_back(s.begin(), s.end());
    return result;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    bool ok = false;
    const std::string ansi = Utf8ToCp1252(input, &ok);
    Require(ok == bIsConvertibleToAnsi(input));
    Require(ansi.size() <= input.size());
    if (ok) Require(Cp1252ToUtf8(ansi) == input);

    const std::string utf8 = Cp1252ToUtf8(input);
    bool back = false;
    const std::string again = Utf8ToCp1252(utf8, &back);
    Require(again.size() == input.size());
    for (size_t i = 0; i < input.size(); ++i) {
        const auto b = static_cast<uint8_t>(input[i]);
        const bool undefined = b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
        Require(again[i] == (undefined ? '?' : input[i]));
    }
    return 0;
}
