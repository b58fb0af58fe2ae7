// kalvor-devsim: a simulated part-inspection device for Kalvor (see docs/simulator.md).
#include <iostream>
#include <string>
#include <vector>

#include "kalvor/Version.h"
#include "platform/Log.h"
#include "sim/OSimOptions.h"
#include "sim/OSimServer.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    for (const auto& a : args) {
        if (a == "--version") {
            std::cout << "kalvor-devsim " << kalvor::version::kVersion << "\n";
            return 0;
        }
    }
    OSimOptions options;
    std::string message;
    const int parsed = ParseSimOptions(args, options, std::cout, message);
    if (parsed == 1) return 0;
    if (parsed == 2) {
        std::cerr << "kalvor-devsim: " << message << "\n";
        return 2;
    }
    OSimServer server(options);
    if (!server.bOpen(message)) {
        std::cerr << "kalvor-devsim: " << message << "\n";
        return 1;
    }
    std::cout << server.ReadyLine() << std::endl;
    Log::Write(LogLevel::Info, "devsim", server.ReadyLine());
    server.Run();
    return 0;
}
