#include "testcases/OTestCaseSession.h"

#include "document/CommandIds.h"
#include "document/ODoc.h"
#include "platform/CommandQueue.h"
#include "platform/Log.h"
#include "platform/UserInteraction.h"

OTestCaseSession::OTestCaseSession(ODoc& doc, CommandQueue& mainWindow, OTestCaseOptions options)
    : m_doc(doc),
      m_mainWindow(mainWindow),
      m_calls([this] { m_mainWindow.Post(Cmd::kTestCaseOpen); }),
      m_host(
          doc, [this](const std::function<void()>& call) { return m_calls.bCall(call); },
          [this] { m_mainWindow.Post(Cmd::kTestCaseEnd); }),
      m_runner(m_host, std::move(options)) {}

OTestCaseSession::~OTestCaseSession() {
    m_runner.Stop();
    m_calls.Close();
    m_runner.Join();
    m_doc.SetTestPartObserver({});
    m_doc.UI().SetUnattended({});
}

void OTestCaseSession::Start() {
    std::string error;
    if (!m_runner.bInit(&error))
        Log::Write(LogLevel::Error, "test cases", "cannot open the verification log " + error);
    m_doc.SetTestPartObserver([this](const OType_Part& part) { m_runner.OnDevicePart(part); });
    // Nobody watches the run: what would be a message box goes into the log.
    m_doc.UI().SetUnattended([this](std::string_view text) { m_runner.LogMessage(text); });
    m_runner.bStart();
}

void OTestCaseSession::End() {
    if (m_ended) return;
    m_ended = true;
    m_runner.Stop();
    m_calls.Close();
    m_runner.Join();
    m_doc.SetTestPartObserver({});
    m_host.EndRun();
    m_runner.CloseLog();
    m_doc.UI().SetUnattended({});
    m_mainWindow.Post(Cmd::kAppExit);
}
