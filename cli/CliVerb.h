// kalvorctl's verbs register themselves here, one file per verb group.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

struct CliVerb {
    std::string name;     // first word of the command line, e.g. "blocks"
    std::string usage;    // one line: arguments after the name
    std::string summary;  // one line: what it does
    // Arguments after the verb name; returns the process exit status.
    std::function<int(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)>
        run;
};

bool RegisterCliVerb(CliVerb verb);
const std::vector<CliVerb>& CliVerbs();

#define KALVOR_CLI_CONCAT_INNER(a, b) a##b
#define KALVOR_CLI_CONCAT(a, b) KALVOR_CLI_CONCAT_INNER(a, b)
// Registers a verb at start-up: KALVOR_CLI_VERB({"name", "usage", "summary", &Run});
#define KALVOR_CLI_VERB(...)                                        \
    static const bool KALVOR_CLI_CONCAT(kalvorCliVerb_, __LINE__) = \
        RegisterCliVerb(CliVerb __VA_ARGS__)
