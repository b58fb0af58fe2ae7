// Starts kalvor-devsim as a child process for a test, waits until it is ready (its
// "listening on ..." or "serial ..." line), and ends it when the test is done.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

class DevsimProcess {
  public:
    // Starts the simulator with the options (on free TCP ports unless --serial is among them).
    explicit DevsimProcess(std::vector<std::string> options = {});
    ~DevsimProcess();
    DevsimProcess(const DevsimProcess&) = delete;
    DevsimProcess& operator=(const DevsimProcess&) = delete;

    bool bIsReady() const { return m_ready; }
    int iBasePort() const { return m_port; }
    std::string PortText(int channel) const { return std::to_string(m_port + channel); }
    const std::string& SerialPath() const { return m_serial; }
    const std::string& ReadyLine() const { return m_line; }
    // Ends the simulator (SIGTERM, then SIGKILL) and waits for it.
    void Stop();

  private:
    pid_t m_pid = -1;
    bool m_ready = false;
    int m_port = 0;
    std::string m_serial;
    std::string m_line;
};
