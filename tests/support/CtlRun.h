// Runs the kalvorctl program of the build, as a user would from a shell.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct CtlRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs kalvorctl in `folder` with the arguments (each quoted for the shell) and collects
// its exit status, standard output and error output.
CtlRun Ctl(const std::filesystem::path& folder, const std::vector<std::string>& args);
// Runs any program the same way; `env` holds NAME=VALUE settings placed before it ("env" style).
CtlRun RunProgram(const std::filesystem::path& folder, const std::string& program,
                  const std::vector<std::string>& args, const std::vector<std::string>& env = {});
