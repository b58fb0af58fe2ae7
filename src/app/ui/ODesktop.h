// The desktop program put together: the Qt settings stores, user interaction, command
// queue and main frame around the application object, as the application's host.
#pragma once

#include <QIcon>
#include <memory>
#include <string>
#include <vector>

#include "app/OApp.h"
#include "app/OAppHost.h"
#include "app/ui/OClipboard_Qt.h"
#include "app/ui/OCommandQueue_Qt.h"
#include "app/ui/OExternalPrograms_Qt.h"
#include "app/ui/OUserInteraction_Qt.h"
#include "platform/OProgressCtrl.h"
#include "platform/Settings.h"

class OFrame_Main;

struct ODesktopOptions {
    // How long the main frame's creation waits (the splash is shown meanwhile).
    int creationWaitMs = 2000;
};

// The stores the desktop uses; missing ones are the QSettings stores of the program.
struct ODesktopStores {
    std::unique_ptr<Settings> settings;
    std::unique_ptr<Settings> companionUser;
    std::unique_ptr<Settings> companionMachine;
};

class ODesktop : public OAppHost {
  public:
    // arguments: the command-line arguments after the program name. ui: nullptr for the
    // Qt dialogs (tests script the user instead).
    ODesktop(std::vector<std::string> arguments, ODesktopStores stores = {},
             UserInteraction* ui = nullptr, ODesktopOptions options = {});
    ~ODesktop() override;
    ODesktop(const ODesktop&) = delete;
    ODesktop& operator=(const ODesktop&) = delete;

    // InitInstance; false ends the program.
    bool Start();
    // ExitInstance; the exit code.
    int Finish();

    // Opens a file handed over by a later start of the program: the main window comes to the
    // front and the file opens like a start file, once no dialog is open any more.
    void OpenHandedFile(const std::string& path);
    // The program's icon in the sizes it is drawn in.
    static QIcon ProgramIcon();

    OApp& App() { return *m_app; }
    OFrame_Main& Frame() { return *m_frame; }
    Settings& SettingsStore() { return *m_stores.settings; }
    OUserInteraction_Qt& QtInteraction() { return m_qtUi; }
    OProgressCtrl& Progress() { return m_progress; }

    // --- OAppHost ---
    bool bCreateMainFrame(bool showSplash) override;
    int64_t MainWindowHandle() const override;
    void ShowMainWindow() override;
    void ApplyMainWindowPlacement(const OWindowPlacement& placement) override;
    void ShowAboutBox() override;
    void CloseMainFrame() override;
    bool bIsFrameCommand(int commandId) const override;
    void ExecuteFrameCommand(int commandId) override;
    OCommandState FrameCommandState(int commandId) const override;

  private:
    void OpenHandedFilesWhenFree();

    ODesktopStores m_stores;
    ODesktopOptions m_options;
    OUserInteraction_Qt m_qtUi;
    UserInteraction* m_ui;
    OCommandQueue_Qt m_queue;
    OExternalPrograms_Qt m_programs;
    OClipboard_Qt m_clipboard;
    OProgressCtrl m_progress;
    std::unique_ptr<OFrame_Main> m_frame;
    std::unique_ptr<OApp> m_app;
    std::vector<std::string> m_handedFiles;
};
