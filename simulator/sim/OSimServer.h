// The simulator's transport: TCP acceptors on the three ports (or one serial line), the
// connections and login sessions, the part stream, timers and the fault injection. Runs
// everything on one io_context thread, so the device needs no locks.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "sim/OSimDevice.h"
#include "sim/OSimOptions.h"

class OSimServer {
  public:
    explicit OSimServer(const OSimOptions& options);
    ~OSimServer();

    // Opens the ports or the serial line; false with a message when that fails.
    bool bOpen(std::string& message);
    // The line that tells a starter the device is ready.
    std::string ReadyLine() const;
    // Runs until a signal, --quit-after or Stop().
    void Run();
    void Stop();

  private:
    class OImpl;
    std::unique_ptr<OImpl> m_impl;
};
