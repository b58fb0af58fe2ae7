// Runs an automation script against the real desktop (`kalvor --script FILE`): the steps run
// one after the other from a timer, so a command that opens a modal dialog does not block
// the script — the next steps run while the dialog is open and may answer it. A failing
// step prints why (with its line) and ends the program with exit code 1; a script that
// cannot be read or names an unknown verb ends it with 2 before anything runs.
//
// Verbs are registered with their number of arguments; docs/automation.md lists them.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/ScriptSteps.h"

class ODesktop;
class QWidget;

class OScriptRunner : public QObject {
    Q_OBJECT
  public:
    enum class Result { Done, Retry, Failed };
    // A verb's work; `error` says why on Failed. Retry runs the step again at the next tick
    // until the step's time-out has passed (then it fails with the last error).
    using Handler = std::function<Result(const OScriptStep& step, std::string& error)>;

    struct OVerb {
        int minArgs = 0;
        int maxArgs = 0;
        std::string usage;
        Handler handler;
    };

    static constexpr int kTickMs = 10;
    static constexpr int kDefaultTimeoutMs = 5000;
    static constexpr int kExitFailed = 1;
    static constexpr int kExitBadScript = 2;

    OScriptRunner(ODesktop& desktop, std::vector<OScriptStep> steps, QObject* parent = nullptr);

    // Reads and parses the file; false with the reason.
    static bool bLoad(const std::string& path, std::vector<OScriptStep>& steps, std::string& error);

    void RegisterVerb(const std::string& verb, int minArgs, int maxArgs, std::string usage,
                      Handler handler);
    const std::map<std::string, OVerb>& Verbs() const { return m_verbs; }
    // Every step names a known verb with a fitting number of arguments.
    bool bValidate(std::string& error) const;
    // Starts the timer; steps run from the event loop (also from a modal dialog's).
    void Start();

    bool bIsFinished() const { return m_finished; }
    int iExitCode() const { return m_exitCode; }
    const std::string& LastError() const { return m_lastError; }
    // Where messages go (stderr by default); tests collect them.
    void SetOutput(std::function<void(const std::string&)> output) { m_output = std::move(output); }
    // Leave the event loop when the script ends (the program's behaviour; off in tests).
    void SetExitApplication(bool exit) { m_exitApplication = exit; }

    // The widget a control id names: searched in the open modal dialog, the active window
    // and then every visible top-level window; nullptr when none is visible.
    static QWidget* FindControl(const std::string& id);
    // The top-level dialog the user would answer: the active modal widget, else the topmost
    // visible dialog.
    static QWidget* OpenDialog();

  signals:
    void finished(int exitCode);

  private:
    void Tick();
    void Finish(int code, const std::string& message);
    void RegisterStandardVerbs();
    void Print(const std::string& text) const;

    Result Open(const OScriptStep& step, std::string& error);
    Result Command(const OScriptStep& step, std::string& error);
    Result Grab(const OScriptStep& step, std::string& error);
    Result Widgets(const OScriptStep& step, std::string& error);
    Result Dialog(const OScriptStep& step, std::string& error);
    Result Set(const OScriptStep& step, std::string& error);
    Result Click(const OScriptStep& step, std::string& error);
    Result Key(const OScriptStep& step, std::string& error);
    Result Expect(const OScriptStep& step, std::string& error);
    Result Pdf(const OScriptStep& step, std::string& error);

    ODesktop& m_desktop;
    std::vector<OScriptStep> m_steps;
    std::map<std::string, OVerb> m_verbs;
    QTimer m_timer;
    size_t m_next = 0;
    // The step that is retried and since when.
    bool m_retrying = false;
    QElapsedTimer m_stepClock;
    qint64 m_resumeAt = 0;
    QElapsedTimer m_clock;
    int m_timeoutMs = kDefaultTimeoutMs;
    // The modal dialog that was open when each running step started (innermost last).
    std::vector<QPointer<QWidget>> m_modalAtStart;
    bool m_finished = false;
    bool m_tickPending = false;
    int m_exitCode = 0;
    bool m_exitApplication = true;
    std::string m_lastError;
    std::function<void(const std::string&)> m_output;
};
