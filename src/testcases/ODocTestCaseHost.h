// The test-case runner's host over the program's document and device session. How calls
// reach the user-interface thread and how the end is posted depend on the program around it
// (the desktop's event loop, kalvorctl's own loop) and are given as functions.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "testcases/OTestCaseHost.h"

class ODoc;
class OCheckProgramRun;
class OQuillon;

class ODocTestCaseHost : public OTestCaseHost {
  public:
    using RunOnUi = std::function<bool(const std::function<void()>&)>;
    using PostEndFn = std::function<void()>;

    ODocTestCaseHost(ODoc& doc, RunOnUi runOnUi, PostEndFn postEnd);
    ~ODocTestCaseHost() override;

    // Splits "HOST" or "HOST:PORT" (the command port; parts and data follow it).
    static void SplitAddress(const std::string& address, std::string& host, int& basePort);

    bool bRunOnUiThread(const std::function<void()>& call) override { return m_runOnUi(call); }
    void PostEnd() override { m_postEnd(); }
    bool bLinkUsable() override;
    bool bConnect(const std::string& address) override;
    bool bOpenProject(const std::string& path, std::string& description) override;
    bool bAdaptToDevice(OTestDeviceImage& image, std::string& error) override;
    int iGetProgramCount() override;
    std::string GetProgramName(int index) override;
    bool bSendProgram(int index) override;
    bool bLoadParts(const std::string& path, std::vector<OType_Part>& parts,
                    std::string& error) override;
    bool bSendTestImage(const OType_Image& image, const OType_Image& recorded) override;
    bool bTrigger() override;
    OType_Part Recompute(const OType_Part& devicePart) override;
    std::string ToolName(int toolId) override;
    void EndRun() override;

  private:
    OQuillon& Session();

    ODoc& m_doc;
    RunOnUi m_runOnUi;
    PostEndFn m_postEnd;
    std::string m_address;
    std::unique_ptr<OCheckProgramRun> m_pc;  // the active program, as computed here
};
