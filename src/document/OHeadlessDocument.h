// A document with everything it needs and no windows: for kalvorctl, benchmarks and
// tests. Messages go to the given interaction (the console by default), views are
// recorded, posted commands queue until drained.
#pragma once

#include <memory>

#include "document/ExternalPrograms.h"
#include "document/ODoc.h"
#include "document/ORecentFileList.h"
#include "document/OViewHost_Recording.h"
#include "platform/Clipboard.h"
#include "platform/OCommandQueue_Manual.h"
#include "platform/OProgressCtrl.h"
#include "platform/OProgressDisplay_Recording.h"
#include "platform/OSettings_Memory.h"

class Clock;
class Settings;
class UserInteraction;

// How a headless document is set up beyond its store and interaction.
struct OHeadlessOptions {
    // Behave as a program with windows (messages with a check mark stay such).
    bool withApplication = false;
    // The time source of the device session's debounce; nullptr for the system clock.
    Clock* clock = nullptr;
};

class OHeadlessDocument {
  public:
    // settings: the program's store; ui: nullptr for the console on stderr. The document
    // starts with a new project.
    OHeadlessDocument(Settings& settings, UserInteraction* ui = nullptr,
                      OHeadlessOptions options = {});
    ~OHeadlessDocument();
    OHeadlessDocument(const OHeadlessDocument&) = delete;
    OHeadlessDocument& operator=(const OHeadlessDocument&) = delete;

    ODoc& Doc() { return *m_doc; }
    OQuillon& Session() { return *m_doc->opGetSession(); }
    OViewHost_Recording& Views() { return m_views; }
    OCommandQueue_Manual& Queue() { return m_queue; }
    OExternalPrograms_Recording& Programs() { return m_programs; }
    OSettings_Memory& CompanionUser() { return m_companionUser; }
    OSettings_Memory& CompanionMachine() { return m_companionMachine; }
    ORecentFileList& RecentFiles() { return m_recent; }
    OProgressCtrl& Progress() { return m_progress; }
    OClipboard_Memory& ClipboardStore() { return m_clipboard; }
    // The status bar: every status text the document and the device link showed.
    OProgressDisplay_Recording& StatusBar() { return m_statusBar; }
    // Dispatches the posted commands (link notifications among them) to the document.
    int iDispatchPosted(int maxCommands = 100000) {
        return m_queue.iDispatchAll(*m_doc, maxCommands);
    }

  private:
    std::unique_ptr<UserInteraction> m_ownUi;
    OViewHost_Recording m_views;
    OCommandQueue_Manual m_queue;
    OExternalPrograms_Recording m_programs;
    OSettings_Memory m_companionUser;
    OSettings_Memory m_companionMachine;
    ORecentFileList m_recent;
    OProgressDisplay_Recording m_statusBar;
    OProgressCtrl m_progress;
    OClipboard_Memory m_clipboard;
    std::unique_ptr<ODoc> m_doc;
};
