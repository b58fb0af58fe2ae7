// The check program manager ("Check program Manager", template 252): the project's check
// programs (or, on classic targets, the part types of the actual check program) beside what
// the device stores (its program slots, or its type memories), and the actions between them:
// connect and compare, copy to and from the device, delete on both sides, new / copy / paste /
// rename / move of the project's programs, and their exchange with files. The model does the work;
// the Qt window shows its lists and state and calls its actions. Every device action needs a link
// that is online and not busy; a refused transfer leaves the project as it was and the dialog
// usable.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "link/LinkPayloads.h"
#include "platform/CommandState.h"
#include "platform/ODialogModel.h"

class ODoc;
class OQuillon;
class OQuillonComInterface;

namespace TransferControl {
inline constexpr int kConnect = 1041;
inline constexpr int kCopyToDevice = 1196;
inline constexpr int kCopyFromDevice = 1197;
inline constexpr int kDeleteInDevice = 1010;
inline constexpr int kDeleteInProject = 1011;
inline constexpr int kNew = 1204;
inline constexpr int kCopy = 1205;
inline constexpr int kMoveUp = 1206;
inline constexpr int kMoveDown = 1207;
inline constexpr int kPaste = 1208;
inline constexpr int kRename = 1202;
inline constexpr int kImport = 1120;
inline constexpr int kExport = 1121;
inline constexpr int kCountText = 1203;
inline constexpr int kStateText = 1058;
// Only in ODlg_TransferDataNew.
inline constexpr int kNumberList = 1284;
inline constexpr int kAssign = 1012;
inline constexpr int kDeleteAssignment = 1013;
// The two lists (no ids of their own in the template).
inline constexpr const char* kProjectList = "projectList";
inline constexpr const char* kDeviceList = "deviceList";
}  // namespace TransferControl

// One row of a list: its columns.
using OTransferRow = std::vector<std::string>;

class ODlg_TransferData : public ODialogModel {
  public:
    explicit ODlg_TransferData(ODoc& doc);
    ~ODlg_TransferData() override = default;

    std::string DialogName() const override { return "ODlg_TransferData"; }
    std::string Title() const { return "Check program Manager"; }

    // --- what the dialog shows ---
    // Whole check programs move (new-platform targets) or part data of part types (classic).
    bool bProgramMode() const { return m_programMode; }
    std::string ProjectHeader() const;
    std::string DeviceHeader() const { return "Device:"; }
    std::vector<std::string> ProjectColumns() const;
    virtual std::vector<std::string> DeviceColumns() const;
    std::vector<OTransferRow> ProjectRows() const;
    virtual std::vector<OTransferRow> DeviceRows() const;
    const std::vector<int>& ProjectSelection() const { return m_projectSelection; }
    const std::vector<int>& DeviceSelection() const { return m_deviceSelection; }
    // Selections are kept in list order; indices outside the list are dropped.
    void SelectProject(std::vector<int> rows);
    void SelectDevice(std::vector<int> rows);
    // The program count (1203) and the state lines (1058).
    std::string CountText() const;
    std::string StateText() const { return m_state; }
    // Whether the last compare found a device that differs from the project.
    bool bDeviceDiffers() const { return m_deviceDiffers; }
    bool bHasCompared() const { return m_compared; }
    // Set when the dialog must close (connecting failed).
    bool bCloseRequested() const { return m_closeRequested; }
    // Whether the control exists in this dialog and is shown.
    virtual bool bHasControl(int id) const;
    // Whether the control can be used now.
    virtual OCommandState ControlState(int id) const;
    // The button texts of this dialog.
    virtual std::string ControlText(int id) const;

    // Called while a long action runs, so that the window can show the state text.
    std::function<void()> onProgress;

    // --- actions, by control id; false when the id is no action of this dialog ---
    virtual bool bExecute(int id);
    void Connect();
    virtual void CopyToDevice();
    virtual void CopyFromDevice();
    virtual void DeleteInDevice();
    void DeleteInProject();
    void NewProgram();
    void CopyProgram();
    void PasteProgram();
    void MoveUp();
    void MoveDown();
    void Rename();
    // Each selected check program to a configuration file of its own (new platform), or the
    // Teach-Data of each selected part type to a file (classic).
    void ExportToFile();
    // A configuration file into the one selected check program or, with none selected, into a
    // new one (new platform); a Teach-Data file into the selected part type (classic).
    void ImportFromFile();

  protected:
    // Reads the device's lists after connecting; false on failure.
    virtual bool bReadDeviceLists();
    bool bDeviceUsable() const;
    OQuillon& Session() const;
    OQuillonComInterface* Link() const;
    void SetState(std::string text);
    // The names of the project's check programs.
    std::vector<std::string> ProgramNames() const;
    // "Device <name>", made unique with " (2)", " (3)" ...
    std::string NewProgramName(const std::string& deviceName) const;
    // Receives the coordinate transformation after a program that uses it was copied.
    void ReceiveCoordTransAfterCopy(bool programUsesIt);
    static std::string SizeText(uint32_t bytes);
    void RunDocumentCommand(int id);
    // Tells a failed transfer that the session did not tell.
    void TellFailure();
    void Move(int direction);

    ODoc& m_doc;
    bool m_programMode = false;
    bool m_compared = false;
    bool m_deviceDiffers = false;
    bool m_closeRequested = false;
    std::vector<std::string> m_reported;  // differences told already
    std::string m_state;
    std::vector<int> m_projectSelection;
    std::vector<int> m_deviceSelection;
    // The device's program slots (program mode): number and name; and its stored programs.
    std::vector<LinkPayload::OProgramNumber> m_slots;
    std::vector<LinkPayload::OProgramEntry> m_programs;
    // The device's type memories (classic): their count.
    int m_typeMemories = 0;
};
