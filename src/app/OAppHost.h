// What the application object needs from the desktop: the main frame and the boxes that
// belong to it. The Qt program implements it in app/ui; tests record the calls.
#pragma once

#include <cstdint>
#include <string>

#include "app/OWindowPlacement.h"
#include "document/ODoc.h"

class OAppHost {
  public:
    virtual ~OAppHost() = default;

    // Creates the main frame with its status bar, toolbar and the splash window (when
    // showSplash), waiting 2000 ms; false when it cannot be made.
    virtual bool bCreateMainFrame(bool showSplash) = 0;
    // The main window's handle as published for companion programs.
    virtual int64_t MainWindowHandle() const = 0;
    virtual void ShowMainWindow() = 0;
    virtual void ApplyMainWindowPlacement(const OWindowPlacement& placement) = 0;
    virtual void ShowAboutBox() = 0;
    // Closes the main frame (which asks the application whether it may close).
    virtual void CloseMainFrame() = 0;
    // The frame's own commands: toolbar and status bar toggles, window arrangement.
    virtual bool bIsFrameCommand(int commandId) const = 0;
    virtual void ExecuteFrameCommand(int commandId) = 0;
    virtual OCommandState FrameCommandState(int commandId) const = 0;
};
