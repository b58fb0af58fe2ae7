// The application object: starts the program (command line, settings root, main frame,
// published window handle, window placement, then the welcome dialog or the test mode),
// creates the one project document at the first New or Open and reuses it afterwards,
// routes the application's commands and keeps the window placement helpers, the
// command-line lookup and the clipboard formats.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/OAppHost.h"
#include "app/OClipboardFormats.h"
#include "app/OCommandLine.h"
#include "app/OWindowPlacement.h"
#include "document/ODoc.h"
#include "document/ORecentFileList.h"
#include "platform/CommandTarget.h"
#include "testcases/OTestCaseSession.h"

class CommandQueue;
class ExternalPrograms;
class OProgressCtrl;
class Settings;
class UserInteraction;
class ViewHost;

class Clipboard;

struct OAppServices {
    Settings& settings;  // the program's store (profile root Brevik\<application title>)
    UserInteraction& ui;
    CommandQueue& mainWindow;
    ViewHost& views;
    ExternalPrograms& programs;
    OAppHost& host;
    // The stores shared with companion programs, user and machine-wide.
    Settings* companionUser = nullptr;
    Settings* companionMachine = nullptr;
    OProgressCtrl* progress = nullptr;
    Clipboard* clipboard = nullptr;
};

class OApp : public CommandTarget {
  public:
    static constexpr int kSupportedFirmwareBuild = 320;
    static constexpr const char* kInitialDescription = "Versioninfo";
    static constexpr const char* kInitialCopyright = "Copyrightinfo";
    // Where published window handles live in the companion stores.
    static constexpr const char* kHandleSection = "Windows";
    static constexpr const char* kHandleValue = "Kalvor_hWnd";
    static constexpr const char* kMainWindowKey = "MAIN";
    // The file filter of the project document template.
    static constexpr const char* kProjectFilter = "Project File (*.zrp *.kvp)";

    OApp(OAppServices services, OCommandLine commandLine);
    ~OApp() override;
    OApp(const OApp&) = delete;
    OApp& operator=(const OApp&) = delete;

    // The start-up sequence; false ends the program.
    bool InitInstance();
    // Resets the published window handle; returns the exit code.
    int ExitInstance();
    // The main frame asks before it closes: the save question, then the document's close.
    bool bQueryCloseMainFrame();

    // Opens through the one document (creating it the first time); nullptr when it failed.
    ODoc* OpenDocumentFile(const std::string& path);
    void OnFileNew();
    void OnFileOpen();
    void RunWelcomeDialog();

    void OnCommand(int commandId, int64_t argument) override;
    OCommandState GetCommandState(int commandId) const;
    // The text of a recent-file entry ("1 housing.zrp"); nothing for an empty entry.
    std::optional<std::string> RecentFileText(int index) const;

    ODoc* opGetDocument() const { return m_document.get(); }
    const OTestCaseSession* opGetTestCases() const { return m_testCases.get(); }
    const OCommandLine& CommandLine() const { return m_commandLine; }
    int iGetStartMode() const { return m_startMode; }
    const std::string& GetStartFile() const { return m_startFile; }
    const std::string& GetDescription() const { return m_description; }
    const std::string& GetCopyright() const { return m_copyright; }
    const OClipboardFormats& ClipboardFormats() const { return m_clipboard; }
    ORecentFileList& RecentFiles() { return m_recent; }
    bool bSocketsStarted() const { return m_socketsStarted; }

    // Placement helpers for any window key ("MAIN", "PARTLIST", ...).
    void SaveWindowPlacement(std::string_view key, const OWindowPlacement& placement);
    std::optional<OWindowPlacement> RestoreWindowPlacement(std::string_view key) const;

  private:
    ODoc& CreateDocument();
    void FinishDocumentCreation(ODoc& doc);
    void PublishWindowHandle(int64_t handle);
    void OpenRecentFile(int index);
    // Commands 33067, 33069 and 33071 of a test-case run; false for other commands.
    bool bOnTestCaseCommand(int id);

    OAppServices m_services;
    OCommandLine m_commandLine;
    ORecentFileList m_recent;
    std::unique_ptr<ODoc> m_document;
    std::unique_ptr<OTestCaseSession> m_testCases;  // while a test-case run goes on
    int m_startMode = StartMode::kNormal;
    std::string m_startFile;
    std::string m_description = kInitialDescription;
    std::string m_copyright = kInitialCopyright;
    OClipboardFormats m_clipboard;
    bool m_socketsStarted = false;
};
