// Runs the kalvorctl program in a folder and collects its exit status and output.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct OKalvorctlRun {
    int status = -1;
    std::string out;
    std::string err;
};

OKalvorctlRun RunKalvorctl(const std::filesystem::path& folder,
                           const std::vector<std::string>& args);
