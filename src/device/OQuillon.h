// The device session: the holder of the project-wide objects every part of the program
// shares — the part sets (check programs), the device information, the coordinate
// transformer, the project properties and documentation data, the working copy of the
// program options — and of the target system with its derived limits.
//
// The document creates one session and keeps it for its whole life. The device link
// (connection object, EnsureConnected, Disconnect, diagnostic mode) attaches here; the
// login-needed flag and the document's link-state-changing flag are already kept for it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "device/OType_Options.h"
#include "device/TargetSystem.h"
#include "model/coordtrans/OCoordTrans_Tsai_Transformer.h"
#include "model/device/ZRINFO.h"
#include "model/partset/OType_ZRPartSetArray.h"
#include "model/project/OType_ProjectData.h"
#include "model/project/OType_ProjectProperties.h"

class OProgressCtrl;
class Settings;
class UserInteraction;

// What the session needs from the document that owns it.
class OQuillonOwner {
  public:
    virtual ~OQuillonOwner() = default;
    // The main frame's progress object; nullptr when there is none.
    virtual OProgressCtrl* opGetProgress() = 0;
    // Repaints every window of the main frame.
    virtual void RepaintMainFrame() = 0;
    // The document's flag that tells link notifications a connection change is under way.
    virtual void SetLinkStateChanging(bool changing) = 0;
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

class OQuillon {
  public:
    // Ranges a target system must keep to be accepted.
    static constexpr int kMaxPartTypes = 512;
    static constexpr int kMaxPartsInSet = 16;
    static constexpr int kMaxOrientations = 8;

    // mode is the document's creation mode (1 for the document's own session).
    OQuillon(Settings& settings, UserInteraction& ui, OQuillonOwner* owner, int mode = 1);
    // Writes the log settings back and resets the session; the options copy writes itself.
    ~OQuillon();
    OQuillon(const OQuillon&) = delete;
    OQuillon& operator=(const OQuillon&) = delete;

    // --- target system ---
    const OTargetSystem& GetTargetSystem() const { return m_target; }
    int iGetFamily() const { return TargetSystem::iFamily(m_target.hardware); }
    bool bIsFamily2() const { return iGetFamily() == 2; }
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

    // Ends the session's project: stores the target values, resets the project
    // properties, clears the project data, the byte buffer, the part sets, the coordinate
    // transformer, the kept unknown blocks and the project path.
    void ResetSession();

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

  private:
    OProgressCtrl* opProgress() const;

    Settings& m_settings;
    UserInteraction& m_ui;
    OQuillonOwner* m_owner;
    int m_mode;

    OLogToFileSettings m_logSettings;
    int m_recordTeach = 0;
    int m_recordOrientation = 1;
    int m_recordType = 1;

    OTargetSystem m_target = TargetSystem::kNewProjectDefaults;
    int m_fixedFeatures = 12;
    int m_toolCapacity = 0;

    OType_ZRPartSetArray m_partSets;
    OType_ProjectData m_projectData;
    OType_Options m_options;
    std::vector<uint8_t> m_byteBuffer;
    ZRINFO m_deviceInfo;
    OCoordTrans_Tsai_Transformer m_coordTrans;
    OType_ProjectProperties m_properties;
    std::vector<uint8_t> m_unknownBlocks;
    std::string m_projectPath;
    int m_loginNeeded = 1;
};
