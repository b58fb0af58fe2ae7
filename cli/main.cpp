// kalvorctl: headless access to projects, parts, teach data and devices.
#include <algorithm>
#include <iomanip>
#include <iostream>
#include <string>
#include <vector>

#include "CliVerb.h"
#include "kalvor/Version.h"

namespace {

std::vector<CliVerb>& Registry() {
    static std::vector<CliVerb> verbs;
    return verbs;
}

void PrintHelp(std::ostream& out) {
    out << "Usage: kalvorctl <command> [arguments]\n"
           "       kalvorctl --version | --help\n\n"
           "Headless access to Kalvor projects, part lists, Teach-Data and devices.\n";
    auto verbs = CliVerbs();
    std::sort(verbs.begin(), verbs.end(),
              [](const CliVerb& a, const CliVerb& b) { return a.name < b.name; });
    if (!verbs.empty()) out << "\nCommands:\n";
    for (const CliVerb& v : verbs) {
        out << "  kalvorctl " << v.name << (v.usage.empty() ? "" : " ") << v.usage << "\n      "
            << v.summary << "\n";
    }
    out << "\nExit status: 0 on success, 1 when the work failed, 2 on a usage error.\n";
}

}  // namespace

bool RegisterCliVerb(CliVerb verb) {
    Registry().push_back(std::move(verb));
    return true;
}

const std::vector<CliVerb>& CliVerbs() {
    return Registry();
}

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        PrintHelp(std::cerr);
        return 2;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintHelp(std::cout);
        return 0;
    }
    if (args[0] == "--version") {
        std::cout << "kalvorctl " << kalvor::version::kVersion << " ("
                  << kalvor::version::kApplicationTitle << ")\n";
        return 0;
    }
    for (const CliVerb& v : CliVerbs()) {
        if (v.name == args[0]) {
            const std::vector<std::string> rest(args.begin() + 1, args.end());
            try {
                return v.run(rest, std::cout, std::cerr);
            } catch (const std::exception& e) {
                std::cerr << "kalvorctl " << v.name << ": " << e.what() << "\n";
                return 1;
            }
        }
    }
    std::cerr << "kalvorctl: unknown command '" << args[0] << "' (see kalvorctl --help)\n";
    return 2;
}
