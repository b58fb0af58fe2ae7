// What the project documentation sheet does to the project's documentation record: the
// fields of its four pages, writing a field (compared, checked for the system code page,
// the document marked modified), the write delay of the timer-driven fields, "Today",
// "Browse" for the additional file, and the sheet clipboard.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/project/OType_ProjectData.h"

class UserInteraction;

struct ODocumentationField {
    ProjectField field;
    int labelText;  // string resource of the label
    int page;       // 0 Project, 1 Customer, 2 Device, 3 Transport system
    bool multiLine;
    bool timed;  // written through the page's one-shot timer
};

class ODocumentationEditor {
  public:
    static constexpr int kPages = 4;
    static constexpr int kShortDelayMs = 800;
    static constexpr int kLongDelayMs = 2400;
    static constexpr const char* kMissingInfoWarning =
        "Warning:\nSome important information are missing in the project documentation.\nAt "
        "least the entries 'Project number' and 'Project engineer' should be filled out.\nProcess "
        "will be finished anyway.";

    // modified: called whenever a change was stored.
    ODocumentationEditor(OType_ProjectData& data, UserInteraction& ui,
                         std::function<void()> modified);

    static const std::vector<ODocumentationField>& Fields();
    static std::string PageTitle(int page);
    // The timer's delay after a change: longer while the text is empty or ends with ".".
    static int iWriteDelayMs(std::string_view text);
    // The date in the format of string 3217, local time.
    static std::string DateText(std::chrono::system_clock::time_point when);
    // Project number or engineer empty.
    static bool bMissesImportantInfo(const OType_ProjectData& data);

    const OType_ProjectData& Data() const { return m_data; }
    // Stores the text when it differs; false (with the code-page message) when the text
    // cannot be stored.
    bool bWrite(ProjectField field, const std::string& text);
    // "Today": the date into "Date:", at once.
    void EnterToday(std::chrono::system_clock::time_point now);
    // "Browse": a file-open dialog for any file, from the current file's folder or the
    // project folder; the chosen path becomes the additional file. False when cancelled.
    bool bBrowseAdditionalFile(const std::string& projectFolder);

    // The sheet clipboard: the whole record as bytes, and back (every field replaced).
    std::vector<uint8_t> CopyRecord() const { return m_data.Encode(); }
    bool bPasteRecord(const std::vector<uint8_t>& bytes);

  private:
    OType_ProjectData& m_data;
    UserInteraction& m_ui;
    std::function<void()> m_modified;
};
