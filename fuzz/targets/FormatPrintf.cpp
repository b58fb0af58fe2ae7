// printf-style formatting of arbitrary format texts with a fixed set of arguments.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "../FuzzSeeds.h"
#include "model/strings/FormatPrintf.h"

std::vector<std::vector<uint8_t>> KalvorFuzzSeeds() {
    const std::string seeds[] = {"%d. %s", "%s: %d (%d%%)", "%05.2lf %05.4le", "%-20.3s|%x|%c",
                                 "%4096d%n%*d%"};
    std::vector<std::vector<uint8_t>> result;
    for (const auto& s : seeds)
        result.emplace_back(s.begin(), s.end());
    return result;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view format(reinterpret_cast<const char*>(data), size);
    const std::string text =
        FormatPrintf(format, -42, 3.5, std::string("name"), 'x', uint64_t{7}, "", -1.0e300);
    // Each conversion adds at most its width or precision (4096) plus the value itself.
    if (text.size() > size * 5000 + 1000) std::abort();
    return 0;
}
