// What the test-case runner needs from the program around it: a way onto the user-interface
// thread, the end command, and the document and device operations a test case uses. Every
// operation except RunOnUiThread and PostEnd is called on the user-interface thread.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "model/part/OType_Part.h"
#include "testcases/TestImage.h"

class OTestCaseHost {
  public:
    virtual ~OTestCaseHost() = default;

    // Runs `call` on the user-interface thread and returns when it has run; false when it
    // could not run (the program is closing).
    virtual bool bRunOnUiThread(const std::function<void()>& call) = 0;
    // Posts the end of the run to the main window; its handler calls EndRun.
    virtual void PostEnd() = 0;

    // The link is online, not busy, a TCP link, and answers a keep-alive within 3 tries.
    virtual bool bLinkUsable() = 0;
    // Connects to the device over TCP (ports 10000-10002) and prepares it for test parts:
    // recording into the test list, diagnostic mode without warning, part images on.
    virtual bool bConnect(const std::string& address) = 0;
    // Opens a project file; `description` receives its description.
    virtual bool bOpenProject(const std::string& path, std::string& description) = 0;
    // Reads and identifies the device, changes the project's target system to it without
    // asking and reports its image size and pixel format.
    virtual bool bAdaptToDevice(OTestDeviceImage& image, std::string& error) = 0;

    virtual int iGetProgramCount() = 0;
    virtual std::string GetProgramName(int index) = 0;
    // Makes the program the active one and sends it to the device.
    virtual bool bSendProgram(int index) = 0;
    // Reads a part-list file with the active program's part reader.
    virtual bool bLoadParts(const std::string& path, std::vector<OType_Part>& parts,
                            std::string& error) = 0;
    // Sends a test image and the placement of the recorded image (X, Y, right, top).
    virtual bool bSendTestImage(const OType_Image& image, const OType_Image& recorded) = 0;
    virtual bool bTrigger() = 0;
    // The part as the active program computes it here: features and classification.
    virtual OType_Part Recompute(const OType_Part& devicePart) = 0;
    // The name of a tool of the active program; empty when there is none with that id.
    virtual std::string ToolName(int toolId) = 0;

    // The end of the run: disconnect, close the project unmodified, leave the program.
    virtual void EndRun() = 0;
};
