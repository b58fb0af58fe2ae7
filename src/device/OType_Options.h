// The user-visible program options: one record kept in the settings section "Settings".
// The device session holds a working copy that reads every value when it is made and
// writes every value back when it ends; the options dialog edits it and writes it on OK.
#pragma once

#include <string>

class Settings;

// The option values, in the order of the options record.
struct OOptionValues {
    // Where the companion viewer is installed when nothing else is configured.
    static constexpr const char* kDefaultViewerPath = "/opt/Telmar/Mirrel/Mirrel";

    int connectionKind = 0;  // 3 TCP, other values serial
    int autoSpeed = 1;
    int msgBeep = 1;
    std::string viewerPath = kDefaultViewerPath;
    int useDifferingFeatures = 1;
    int partBufferSize = 4000;
    int partLimitPolicy = 0;  // 0 ask, 1 delete new, 2 increase, 3 delete oldest
    int rejectDefectContourParts = 0;
    int hideDisabledFeatures = 0;
    int autoShowCameraOrContourImage = 1;
    int showFlagwordInfo = 0;
    int showWorldCoords = 0;
    int showUnselectedTools = 0;
    int displayReceivedPart = 1;

    bool operator==(const OOptionValues&) const = default;
};

class OType_Options : public OOptionValues {
  public:
    static constexpr const char* kSection = "Settings";

    // Reads every value with its default.
    explicit OType_Options(Settings& settings);
    // Writes every value back.
    ~OType_Options();
    OType_Options(const OType_Options&) = delete;
    OType_Options& operator=(const OType_Options&) = delete;

    const OOptionValues& Values() const { return *this; }
    void Assign(const OOptionValues& values) { static_cast<OOptionValues&>(*this) = values; }

    static OOptionValues Read(const Settings& settings);
    // withDisplayReceivedPart false leaves "DISPLAYRECEIVEDPART" as stored (the options
    // dialog's first write).
    static void Write(Settings& settings, const OOptionValues& values,
                      bool withDisplayReceivedPart = true);
    void WriteBack(bool withDisplayReceivedPart = true) const;

  private:
    Settings& m_settings;
};
