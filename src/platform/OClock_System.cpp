#include "platform/OClock_System.h"

std::chrono::steady_clock::time_point OClock_System::Now() const {
    return std::chrono::steady_clock::now();
}

std::chrono::system_clock::time_point OClock_System::WallNow() const {
    return std::chrono::system_clock::now();
}
