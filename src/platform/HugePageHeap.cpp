#include "platform/HugePageHeap.h"

#include <unistd.h>

#include <cstdlib>
#include <string_view>

namespace HugePageHeap {

namespace {
constexpr std::string_view kHugePages = "glibc.malloc.hugetlb";
}

std::string TunablesWith(const char* current) {
    const std::string_view given = current ? current : "";
    if (given.find(kHugePages) != std::string_view::npos) return {};
    std::string value(given);
    if (!value.empty()) value += ':';
    return value + std::string(kHugePages) + "=1";
}

void RestartWithHugePages(char** argv) {
    const std::string tunables = TunablesWith(std::getenv("GLIBC_TUNABLES"));
    if (tunables.empty() || !argv || !argv[0]) return;
    if (setenv("GLIBC_TUNABLES", tunables.c_str(), 1) != 0) return;
    execv("/proc/self/exe", argv);
    // Still here: the restart failed. Going on without huge pages only costs speed.
}

}  // namespace HugePageHeap
