#include "DevsimProcess.h"

#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <sstream>

#ifndef KALVOR_DEVSIM_PATH
#define KALVOR_DEVSIM_PATH "kalvor-devsim"
#endif

DevsimProcess::DevsimProcess(std::vector<std::string> options) {
    const bool serial = std::find(options.begin(), options.end(), "--serial") != options.end();
    if (!serial && std::find(options.begin(), options.end(), "--port") == options.end()) {
        options.insert(options.begin(), {"--port", "0"});
    }
    int out[2];
    if (pipe(out) != 0) return;
    const pid_t parent = getpid();
    m_pid = fork();
    if (m_pid == 0) {
        // A test that dies (a failed sanitizer check) must not leave the simulator running:
        // it would hold the test's output open and the test runner would wait for ever.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) _exit(127);
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        std::vector<char*> argv;
        std::string path = KALVOR_DEVSIM_PATH;
        argv.push_back(path.data());
        for (auto& o : options)
            argv.push_back(o.data());
        argv.push_back(nullptr);
        execv(path.c_str(), argv.data());
        _exit(127);
    }
    close(out[1]);
    // Read the first line, at most 10 s.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::string text;
    while (text.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        pollfd p{out[0], POLLIN, 0};
        if (poll(&p, 1, 100) <= 0) continue;
        char buffer[256];
        const ssize_t n = read(out[0], buffer, sizeof buffer);
        if (n <= 0) break;
        text.append(buffer, static_cast<size_t>(n));
    }
    close(out[0]);
    m_line = text.substr(0, text.find('\n'));
    std::istringstream words(m_line);
    std::string w;
    while (words >> w) {
        if (w == "ports") words >> m_port;
        if (w == "serial") words >> m_serial;
    }
    m_ready = m_port > 0 || !m_serial.empty();
}

DevsimProcess::~DevsimProcess() {
    Stop();
}

void DevsimProcess::Stop() {
    if (m_pid <= 0) return;
    kill(m_pid, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (waitpid(m_pid, nullptr, WNOHANG) == m_pid) {
            m_pid = -1;
            return;
        }
        usleep(10000);
    }
    kill(m_pid, SIGKILL);
    waitpid(m_pid, nullptr, 0);
    m_pid = -1;
}
