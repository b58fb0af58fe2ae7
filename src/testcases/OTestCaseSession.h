// A test-case run inside the desktop program: started by command 33067, it runs the worker,
// brings the worker's steps (opening a test case among them) onto the user-interface thread
// through command 33069, and on command 33071 disconnects, closes the project unmodified and
// leaves the program.
#pragma once

#include <memory>

#include "platform/OCallQueue.h"
#include "testcases/ODocTestCaseHost.h"
#include "testcases/OTestCaseRunner.h"

class CommandQueue;
class ODoc;

class OTestCaseSession {
  public:
    OTestCaseSession(ODoc& doc, CommandQueue& mainWindow, OTestCaseOptions options);
    // Stops a run that is still going and waits for its worker.
    ~OTestCaseSession();
    OTestCaseSession(const OTestCaseSession&) = delete;
    OTestCaseSession& operator=(const OTestCaseSession&) = delete;

    // 33067: opens the log and starts the run (without a log the end is posted at once).
    void Start();
    // 33069: runs the calls the worker waits for.
    void RunPendingCalls() { m_calls.iRunPending(); }
    // 33071: the end of the run; posts the program's exit.
    void End();

    const OTestCaseRunner& Runner() const { return m_runner; }

  private:
    ODoc& m_doc;
    CommandQueue& m_mainWindow;
    OCallQueue m_calls;
    ODocTestCaseHost m_host;
    OTestCaseRunner m_runner;
    bool m_ended = false;
};
