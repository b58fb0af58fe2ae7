#include "support/CtlRun.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) {
        if (c == '\'') {
            q += "'\\''";
        } else {
            q += c;
        }
    }
    return q + "'";
}

std::string Slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

CtlRun RunProgram(const std::filesystem::path& folder, const std::string& program,
                  const std::vector<std::string>& args, const std::vector<std::string>& env) {
    std::string command = "cd " + Quote(folder.string()) + " &&";
    if (!env.empty()) command += " env";
    for (const std::string& e : env)
        command += " " + Quote(e);
    command += " " + Quote(program);
    for (const std::string& a : args)
        command += " " + Quote(a);
    const auto outFile = folder / ".ctl.out";
    const auto errFile = folder / ".ctl.err";
    command += " >" + Quote(outFile.string()) + " 2>" + Quote(errFile.string());
    CtlRun run;
    const int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = Slurp(outFile);
    run.err = Slurp(errFile);
    return run;
}

CtlRun Ctl(const std::filesystem::path& folder, const std::vector<std::string>& args) {
    return RunProgram(folder, KALVOR_CTL_PATH, args);
}
