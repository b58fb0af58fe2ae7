// The headless side of the communication manager (OView_QuillonConsole): what its controls
// show for the device's state, and what each control does. The panel does nothing of its
// own; every action runs a device command of the document, without closing the panel.
#pragma once

#include <string>
#include <vector>

class ODoc;

namespace ConsoleControl {
inline constexpr int kConnect = 1306;
inline constexpr int kImageNone = 1318;
inline constexpr int kImageContour = 1166;
inline constexpr int kImageContourAndCamera = 1167;
inline constexpr int kRecordNone = 1316;
inline constexpr int kRecordSampleParts = 1165;
inline constexpr int kRecordTestParts = 1317;
inline constexpr int kRecordToFile = 1321;
inline constexpr int kOrientation = 1252;
inline constexpr int kPartType = 1014;
inline constexpr int kStatus = 1161;
}  // namespace ConsoleControl

// What the panel shows.
struct OConsoleState {
    bool connected = false;
    bool radiosEnabled = false;      // online and not busy
    bool cameraModeEnabled = false;  // the third image mode: camera targets
    int imageMode = 0;               // 0 none, 1 contour, 2 contour and camera
    int recording = 0;               // 0 none, 1 sample parts, 2 test parts, 3 to file
    std::string status;              // the logging status (empty unless recording to file)
    bool orientationShown = false;
    std::vector<std::string> orientations;  // "unassigned", "1" ... the maximum
    int orientationIndex = 0;               // the current orientation (0 unassigned)
    bool typeShown = false;
    std::vector<std::string> types;  // "1" ... the maximum
    int typeIndex = 0;               // the current type − 1
    bool operator==(const OConsoleState&) const = default;
};

class OQuillonConsole {
  public:
    explicit OQuillonConsole(ODoc& doc);

    // The state for the panel. An out-of-range current orientation or type is reset to 1.
    OConsoleState Refresh();
    // The highest orientation and type received sample parts may get.
    int iMaxOrientation() const;
    int iMaxType() const;

    void Connect();
    // Act only when the choice differs from what Refresh showed last.
    void ChooseImageMode(int mode);
    void ChooseRecording(int choice);
    void ChooseOrientation(int index);
    void ChooseType(int index);

  private:
    void RunCommand(int id);
    void StopRecordingToFile();

    ODoc& m_doc;
    OConsoleState m_shown;
};
