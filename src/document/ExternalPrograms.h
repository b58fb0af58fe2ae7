// Other programs the document starts or activates: the companion viewer. The desktop starts
// programs with QProcess::startDetached; tests record what would have been started.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class ExternalPrograms {
  public:
    virtual ~ExternalPrograms() = default;
    // Starts the program with normal priority and does not wait for it; false with the
    // reason when it could not be started.
    virtual bool bStartDetached(const std::string& program, std::string& error) = 0;
    // Brings the window with this published handle to the foreground, activates it and
    // posts it the command; false when no such window exists.
    virtual bool bActivateWindow(int64_t handle, int commandId) = 0;
};

// Records the requests and answers as told; for tests and headless programs (which start
// nothing by default).
class OExternalPrograms_Recording : public ExternalPrograms {
  public:
    bool bStartDetached(const std::string& program, std::string& error) override;
    bool bActivateWindow(int64_t handle, int commandId) override;

    // Programs whose start succeeds; every other start fails.
    void AllowStart(std::string program) { m_startable.push_back(std::move(program)); }
    // The window handle that exists.
    void SetExistingWindow(int64_t handle) { m_window = handle; }

    const std::vector<std::string>& StartAttempts() const { return m_started; }
    const std::vector<std::pair<int64_t, int>>& Activations() const { return m_activations; }

  private:
    std::vector<std::string> m_startable;
    std::vector<std::string> m_started;
    std::vector<std::pair<int64_t, int>> m_activations;
    int64_t m_window = 0;
};
