// The device session: the holder of the project-wide objects every part of the program
// shares — the part sets (check programs), the device information, the coordinate
// transformer, the project properties and documentation data, the working copy of the
// program options — and of the target system with its derived limits. It owns the link's
// connection object and decides how a connection is made, checked and ended, switches the
// device between operating and diagnostic mode, moves check programs and part data, takes
// received parts into the project and records them to files.
//
// The document creates one session and keeps it for its whole life. Everything here runs
// on the user-interface thread; the link's own threads reach the session only through the
// posted notifications and the link's synchronised received-part array.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "device/OType_Options.h"
#include "device/TargetSystem.h"
#include "link/OType_DeviceStatus.h"
#include "model/coordtrans/OCoordTrans_Tsai_Transformer.h"
#include "model/device/ZRINFO.h"
#include "model/partset/OType_ZRPartSetArray.h"
#include "model/project/OType_ProjectData.h"
#include "model/project/OType_ProjectProperties.h"
#include "model/stream/OByteStream_File.h"

class Clock;
class CommandQueue;
class OProgressCtrl;
class OQuillonComInterface;
class OType_ConfigTool;
class ProgressDisplay;
class Settings;
class UserInteraction;

// What the session needs from the document that owns it. The defaults serve an owner
// without windows.
class OQuillonOwner {
  public:
    virtual ~OQuillonOwner() = default;
    // The main frame's progress object; nullptr when there is none.
    virtual OProgressCtrl* opGetProgress() = 0;
    // Repaints every window of the main frame.
    virtual void RepaintMainFrame() = 0;
    // The document's flag that tells link notifications a connection change is under way.
    virtual void SetLinkStateChanging(bool changing) = 0;
    virtual bool bIsLinkStateChanging() const = 0;

    // The main frame's status bar, shown by the link's status text.
    virtual ProgressDisplay* opGetStatusBar() { return nullptr; }
    // Where the link posts its notifications and the session its own commands.
    virtual CommandQueue* opGetMainWindow() { return nullptr; }
    // The time source of the connection-lost debounce; nullptr for the system clock.
    virtual Clock* opGetClock() { return nullptr; }
    // Whether an application object with windows exists (check-mark boxes need one).
    virtual bool bHasApplication() const { return false; }
    virtual void BringMainWindowToFront() {}
    // Closes the modal dialog that is open, as if the user pressed Cancel.
    virtual void CancelActiveModalDialog() {}
    virtual void RefreshAllViews() {}
    // Re-sorts both part lists of the actual part set, keeping the shown parts, and updates
    // the part list view.
    virtual void RefreshPartLists() {}
    virtual void ShowPartListFrame() {}
    // Updates the part list view alone.
    virtual void UpdatePartListView() {}
    virtual void SetModified() {}
    // Recomputes every part set and refreshes the views (after a change of tools or
    // Teach-Data, e.g. a target change).
    virtual void RecomputeAndRefresh() {}
    // Recomputes one part set after its tools changed and refreshes the views.
    virtual void RecomputeAfterToolChange(OType_ZRPartSet& /*partSet*/) {}
    // Recomputes one part set after the properties of a tool changed (only the tools marked
    // changed compute again) and refreshes the views.
    virtual void RecomputeAfterToolEdit(OType_ZRPartSet& /*partSet*/) {}
    // The folder of the project file; empty for a project not saved yet.
    virtual std::string GetProjectFolder() const { return {}; }
};

// "Record received parts to file" settings, section "Settings".
struct OLogToFileSettings {
    std::string basePath;   // LOGGING_TOFILE_FILEPATH
    std::string extension;  // LOGGING_TOFILE_FILEEXTENSION
    int partsPerFile = 100;
    int useGoodParts = 1;
    int useBadParts = 1;
    int useTeachParts = 1;
    int useCameraImage = 0;

    void Read(const Settings& settings);
    void Write(Settings& settings) const;
    bool operator==(const OLogToFileSettings&) const = default;
};

// The project properties a new project is set up with (the rest come from the settings).
struct ONewProjectFlags {
    int useManualTypes = 0;
    int useManualOrientation = 0;
    int useAlternativeValue = 0;
    int useQuality = 1;
};

// What one FetchReceivedParts call did.
struct OFetchResult {
    int taken = 0;           // parts taken from the link
    int accepted = 0;        // of those, parts that passed the acceptance rules
    int addedTeach = 0;      // appended to the sample list
    int addedTest = 0;       // appended to the test list
    int logged = 0;          // written to the log file
    int removed = 0;         // oldest parts dropped by the delete-oldest policy
    bool continued = false;  // 35104 was posted to fetch on
    bool ListsChanged() const { return addedTeach + addedTest + removed > 0; }
};

// The new target system of a target change.
struct OTargetChange {
    ZRINFO deviceInfo;
    OTargetSystem target;
    int partSets = 1;  // check programs the project keeps
    int useManualTypes = 0;
    int useManualOrientation = 0;
    bool interactive = true;
    bool silent = false;  // leaves out the findings about feature settings
};

class OQuillon {
  public:
    // Ranges a target system must keep to be accepted.
    static constexpr int kMaxPartTypes = 512;
    static constexpr int kMaxPartsInSet = 16;
    static constexpr int kMaxOrientations = 8;
    // Parts FetchReceivedParts takes per call; the rest waits for the posted 35104.
    static constexpr int kMaxPartsPerFetch = 21;
    static constexpr int kPartLimitStep = 500;

    // mode is the document's creation mode (1 for the document's own session).
    OQuillon(Settings& settings, UserInteraction& ui, OQuillonOwner* owner, int mode = 1);
    // Writes the log settings back, resets the session and destroys the connection.
    ~OQuillon();
    OQuillon(const OQuillon&) = delete;
    OQuillon& operator=(const OQuillon&) = delete;

    // --- target system ---
    const OTargetSystem& GetTargetSystem() const { return m_target; }
    int iGetFamily() const { return TargetSystem::iFamily(m_target.hardware); }
    bool bIsFamily2() const { return iGetFamily() == 2; }
    bool bIsCameraTarget() const { return TargetSystem::bIsCamera(m_target.hardware); }
    bool bIsNewPlatformTarget() const { return TargetSystem::bIsNewPlatform(m_target.hardware); }
    int iGetFixedFeatures() const { return m_fixedFeatures; }
    int iGetToolCapacity() const { return m_toolCapacity; }
    // Stores the six values and derives the fixed-feature count and the tool capacity
    // (with the tool limits configured for the hardware's key group).
    void SetTargetValues(const OTargetSystem& target);
    // The six values from the settings, `defaults` for those not stored.
    void ReadTargetValues(const OTargetSystem& defaults);
    void WriteTargetValues() const;
    TargetSystem::OToolLimits GetConfiguredToolLimits() const;
    // False (with the reason) when the values name no usable target.
    static bool bIsAcceptableTarget(const OTargetSystem& target, std::string* reason = nullptr);

    // --- project set-up ---
    // A new project for `target`: device information made without a device, the four
    // project flags, `partSets` empty part sets. Refuses an unusable target with message
    // 4200 and leaves the session unchanged.
    bool bSetUpNewProject(const OTargetSystem& target, const ONewProjectFlags& flags,
                          int partSets = 1);
    // The session for a project read from a file: its device information (whose target
    // values it takes) and project properties. Part sets are added by the caller.
    bool bConfigureFromDeviceInfo(const ZRINFO& deviceInfo,
                                  const OType_ProjectProperties& properties);
    // Adds an empty part set with this session's context, the registered tool and
    // data-output kinds, the compatible firmware of the target and the feature names in
    // the program's language. full: with the target's part types per set, else none.
    OType_ZRPartSet* AddPartSet(bool full = true);
    // The named variant: the name is given only when it converts to the system code page.
    OType_ZRPartSet* AddPartSet(const std::string& name);
    // Gives a part set that is about to be decoded the session's context and kinds.
    void PreparePartSet(OType_ZRPartSet& partSet);

    // Ends the session: disconnects a logged-in device, stores the target values, resets
    // the project properties, clears the project data, the byte buffer, the part sets, the
    // coordinate transformer, the kept unknown blocks and the project path.
    void ResetSession();

    // --- target system and tools ---
    // May a tool of this kind (and sub-kind) be added to the actual part set?
    bool IsToolAllowed(int kind, int subKind) const;
    // Adds a tool from the document's tool commands; the added tool, or nullptr (message
    // 2081 when the target allows no such tool). A caller that makes the addition part of a
    // larger edit (pasting a tool) stores the undo step itself.
    OType_ConfigTool* AddTool(OType_ZRPartSet& partSet, int kind, int subKind, int parameter,
                              const std::string& name = {}, bool withUndoStep = true);
    // Applies property values to a tool of the part set, as the tool manager's apply does:
    // every value is checked before any is taken; on a change the tool is fitted to the part
    // set, the part set recomputed and an undo step stored. False with `error` when refused.
    bool bApplyToolProperties(OType_ZRPartSet& partSet, OType_ConfigTool& tool,
                              const OPropertyValues& values, std::string& error);
    // Removes the tool at `position` together with every tool that reads its features
    // (directly or through others) and their feature records, recomputes and stores an undo
    // step. Returns the names of the removed tools (the asked one first); empty for a bad
    // position.
    std::vector<std::string> RemoveToolWithDependents(OType_ZRPartSet& partSet, int position);
    // The ids of the tools that read features of the tool `toolId`, directly or through
    // others, the tool itself first.
    static std::vector<int> DependentToolIds(const OType_ZRPartSet& partSet, int toolId);
    // Adds a data output of the kind to the actual part set; 1 on success.
    int AddDataOutput(int kind, int withDefaults, int silent = 0);
    // Whether a data output of the kind could be added to the actual part set now.
    bool bCanAddDataOutput(int kind) const;
    // Changes the project's target system; 1 when changed, 0 when the user cancelled.
    int ChangeTargetSystem(const OTargetChange& change);
    // The findings a target change would report (the list dialog's lines).
    std::vector<std::string> TargetChangeFindings(const OTargetChange& change) const;

    // --- the connection ---
    // Makes the connection object for a kind (3 TCP, any other value serial); a connection
    // of another kind is ended first.
    void CreateConnection(int kind);
    OQuillonComInterface* opGetConnection() const { return m_link.get(); }
    // 1 when the link is usable: a keep-alive answered, or a login or reconnect made.
    int EnsureConnected();
    // Ends the connection (flag 1: only when offline, without logging out).
    int Disconnect(int flag);
    // Diagnostic mode on (recording) or off; 1 on success.
    int SetDiagnosticMode(int on);
    // Copies the device's 1228-byte information record into buffer; 1 on success.
    int UploadDeviceInfo(ZRINFO& buffer);
    // The handling of the link's connection-lost notification (after the link's UpdatePO).
    void OnConnectionLost();
    bool bIsOnline() const;
    // The texts of the status bar's two link panes: the connection and the device's mode.
    std::array<std::string, 2> LinkPaneTexts() const;
    bool bIsBusy() const;
    int iGetSendMode() const;
    bool bIsDiagMode() const;
    OType_DeviceStatus& DeviceStatus() { return m_deviceStatus; }

    // --- transfers; 1 on success ---
    int ClearProgram(int programNo);
    int UploadProgramFile(OType_ZRPartSet& partSet, const std::string& name);
    int UploadProgram(int partSetIndex, int programNo, int replaceAll);
    int DownloadProgramFile(int partSetIndex);
    int DownloadProgram(int partSetIndex, int programNo, int silent);
    int ClearPartData(int partDataNo);
    int ClearAllPartData();
    int UploadPartData(int partTypeIndex, int partDataNo);
    int DownloadPartData(int partTypeIndex, int partDataNo);
    int CalibrateCoordinateTransformation();
    int SendCoordinateTransformation();
    int ReceiveCoordinateTransformation();
    // The one-shot actions "$CERRACK", "$CCHGPRG" and "$CTRIGGR" (4174 on failure).
    int SendErrorAcknowledge();
    int SendAcceptCheckProgram();
    int SendTrigger();
    // The part-data protocol of the connected device (from the device information it
    // reported, else the project's): 1 packages, 0 legacy blocks, others none.
    int iGetDevicePartDataProtocol() const;
    // The part-data format the session encodes with: 1 the part set's own protocol (the
    // default), 0 the short legacy record of older devices.
    int iGetPartDataFormat() const { return m_partDataFormat; }
    void SetPartDataFormat(int format) { m_partDataFormat = format ? 1 : 0; }
    // The time-out of a program download of `bytes` bytes, in seconds.
    static int iProgramTimeOutSec(uint64_t bytes);

    // --- recording ---
    // Whether recording needs camera images (the actual part set's tools decide).
    bool bImagesNeeded() const;
    // Moves received parts from the link into the project (or the log file).
    OFetchResult FetchReceivedParts();
    // The part limit of the lists now (PARTBUFFERSIZE, raised by the answers to 3227).
    int iGetPartLimit() const { return m_options.partBufferSize + m_partLimitRaise; }
    // Forgets raises of the part limit; called whenever the options are read again.
    void ResetPartLimit() { m_partLimitRaise = 0; }
    // Raises the part limit by 500 parts until the options are read again.
    void RaisePartLimit() { m_partLimitRaise += kPartLimitStep; }
    // Question 3227 (never two at once: while one is open the answer is No); Yes raises
    // the part limit.
    bool bAskToRaisePartLimit();
    static bool bIsLimitQuestionOpen();
    int StartLogging();
    int LogPart(const OType_Part& part);
    void StopLogging();
    bool bIsLoggingToFile() const { return m_loggingToFile != 0; }
    const std::string& GetLogFilePath() const { return m_logFilePath; }
    int iGetLogFileCounter() const { return m_logFileCounter; }
    int iGetLogFileParts() const { return m_logFileParts; }
    // The device's part log (new platform, TCP): whether it is offered, download, delete.
    bool bCanUsePartLog() const;
    int DownloadPartLog();
    int DeletePartLog();

    // --- the project's objects ---
    OType_ZRPartSetArray& PartSets() { return m_partSets; }
    const OType_ZRPartSetArray& PartSets() const { return m_partSets; }
    OType_ZRPartSet* opGetActualPartSet() const { return m_partSets.opGetActualPartSet(); }
    OType_ZRPartSet* opGetPartSet(int i) const { return m_partSets.opGetPartSet(i); }
    ZRINFO& DeviceInfo() { return m_deviceInfo; }
    const ZRINFO& DeviceInfo() const { return m_deviceInfo; }
    OCoordTrans_Tsai_Transformer& CoordTransformer() { return m_coordTrans; }
    const OCoordTrans_Tsai_Transformer& CoordTransformer() const { return m_coordTrans; }
    OType_ProjectProperties& ProjectProperties() { return m_properties; }
    const OType_ProjectProperties& ProjectProperties() const { return m_properties; }
    OType_ProjectData& ProjectData() { return m_projectData; }
    const OType_ProjectData& ProjectData() const { return m_projectData; }
    OType_Options& Options() { return m_options; }
    const OType_Options& Options() const { return m_options; }
    OLogToFileSettings& LogSettings() { return m_logSettings; }
    std::vector<uint8_t>& ByteBuffer() { return m_byteBuffer; }
    Settings& SettingsStore() const { return m_settings; }
    UserInteraction& UI() const { return m_ui; }

    // Blocks of a loaded project file that this program does not know, each re-wrapped
    // with its header and end marker; written back after the last block on saving.
    const std::vector<uint8_t>& UnknownBlocks() const { return m_unknownBlocks; }
    void SetUnknownBlocks(std::vector<uint8_t> bytes) { m_unknownBlocks = std::move(bytes); }

    const std::string& GetProjectPath() const { return m_projectPath; }
    void SetProjectPath(std::string path) { m_projectPath = std::move(path); }

    // Connection kind of the options copy (3 TCP, else serial).
    int iGetConnectionKind() const { return m_options.connectionKind; }
    void SetConnectionKind(int kind) { m_options.connectionKind = kind; }
    int iGetLoginNeeded() const { return m_loginNeeded; }

    // --- recording values ---
    int iGetRecordingTarget() const { return m_recordTeach; }  // 1 sample parts, 0 test parts
    void SetRecordingTarget(int teach) { m_recordTeach = teach ? 1 : 0; }
    int iGetRecordOrientation() const { return m_recordOrientation; }
    void SetRecordOrientation(int orientation) { m_recordOrientation = orientation; }
    int iGetRecordType() const { return m_recordType; }
    void SetRecordType(int type) { m_recordType = type; }

    int iGetMode() const { return m_mode; }

    // The diagnostic-mode warning (7002) unless the user switched it off, with its
    // do-not-show-again mark where an application exists.
    void WarnDiagnosticMode();
    // Sends commandKONZEI, asking Retry / Cancel while it fails; 1 when it succeeded.
    int iSendKonzeiWithRetry();

  private:
    OProgressCtrl* opProgress() const;
    void SetLinkStateChanging(bool changing);
    int iTransferPreamble();
    // Whether the bytes decode as a check program (tried on a scratch part set).
    bool bDecodesAsProgram(std::span<const uint8_t> bytes);
    void ShowTransferError(int code, int otherTextId);
    int iSendAction(const char* name, uint32_t number, bool clear);
    int iSendBytes(const char* download, const char* upload, uint32_t number,
                   const std::vector<uint8_t>& bytes);
    int iLegacyClearPartData(int partDataNo);
    int iLegacyUploadPartData(int partDataNo, std::vector<uint8_t>& record);
    int iLegacyDownloadPartData(int partDataNo, const std::vector<uint8_t>& record);
    // Appends a received part to a list under the part-limit policy; false when destroyed.
    bool bAppendWithinLimit(OType_PartArray& list, std::unique_ptr<OType_Part> part,
                            OFetchResult& result);
    bool bOpenLogFile(const std::string& path);
    bool bWriteLogPart(const OType_Part& part);
    void CloseLogFile();
    // Stops logging after a file error and says so (5132).
    void FailLogging();
    void RemoveSurplusTools(OType_ZRPartSet& partSet, const ZRINFO& info, int programNo,
                            bool classic, bool report);
    void RemoveSurplusDataOutputs(OType_ZRPartSet& partSet, const ZRINFO& info, int programNo,
                                  bool report);

    Settings& m_settings;
    UserInteraction& m_ui;
    OQuillonOwner* m_owner;
    int m_mode;

    // Log-to-file state.
    OByteStream_File m_logFile;
    OLogToFileSettings m_logSettings;
    int m_loggingToFile = 0;
    int m_logFileOpen = 0;
    int m_logFileParts = 0;
    int m_logFileCounter = 0;
    std::string m_logBase;  // the chosen path without its extension
    std::string m_logType;  // its extension
    std::string m_logFilePath;
    uint64_t m_logCountPos = 0;

    int m_recordTeach = 0;
    int m_recordOrientation = 1;
    int m_recordType = 1;

    OTargetSystem m_target = TargetSystem::kNewProjectDefaults;
    int m_fixedFeatures = 12;
    int m_toolCapacity = 0;

    OType_ZRPartSetArray m_partSets;
    OType_ProjectData m_projectData;
    OType_Options m_options;
    int m_partLimitRaise = 0;
    int m_partDataFormat = 1;
    std::vector<uint8_t> m_byteBuffer;
    ZRINFO m_deviceInfo;
    OCoordTrans_Tsai_Transformer m_coordTrans;
    OType_ProjectProperties m_properties;
    OType_DeviceStatus m_deviceStatus;
    std::unique_ptr<OQuillonComInterface> m_link;
    int m_loginNeeded = 1;
    std::vector<uint8_t> m_unknownBlocks;
    std::string m_projectPath;

    // Connection-lost handling: the second of the last notification, and re-entrance.
    std::optional<int64_t> m_lastConnectionLostSecond;
    bool m_handlingConnectionLost = false;
};
