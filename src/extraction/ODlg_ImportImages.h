// "Import of camera images": picture files become parts. The user says where the pictures
// lie in the device's field of view (position X left, Y bottom) and how the contour image is
// made from each picture (threshold type and the dark and bright limits). OK reads every
// file and makes one part per readable picture: its camera image at the chosen position, its
// contour by thresholding (OImageContour.h) and the file path as its comment.
//
// The five values are read from "Settings" when the dialog is made and written back when it
// is destroyed, whether it was confirmed or not.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "extraction/OImageContour.h"
#include "model/part/OType_Part.h"
#include "platform/ODialogModel.h"

class OProgressCtrl;
class Settings;
class UserInteraction;

class ODlg_ImportImages : public ODialogModel {
  public:
    // Control ids of the dialog's fields.
    static constexpr int kIdPositionY = 1007;
    static constexpr int kIdPositionX = 1008;
    static constexpr int kIdThresholdType = 1299;
    static constexpr int kIdDark = 1001;
    static constexpr int kIdBright = 1002;
    // Registry values in section "Settings".
    static constexpr const char* kSection = "Settings";
    static constexpr const char* kKeyPositionY = "VIEWINGAREALOWERLIMIT";
    static constexpr const char* kKeyPositionX = "VIEWINGAREALEFTLIMIT";
    static constexpr const char* kKeyThresholdType = "THRESHOLDFUNCTION";
    static constexpr const char* kKeyDark = "THRESHOLDDARK";
    static constexpr const char* kKeyBright = "THRESHOLDBRIGHT";
    // The device's field of view.
    static constexpr int kFieldWidth = 1280;
    static constexpr int kFieldHeight = 1024;
    // Positions a user may enter; the contour's 16-bit rows and columns need the room.
    static constexpr int kMaxPosition = 30000;

    struct Skipped {
        std::string path;
        std::string reason;
    };

    // `ui` shows the wait cursor and the messages after OK; without it OK imports quietly.
    ODlg_ImportImages(Settings& settings, std::vector<std::string> files,
                      UserInteraction* ui = nullptr, OProgressCtrl* progress = nullptr);
    ~ODlg_ImportImages() override;

    std::string DialogName() const override { return "ODlg_ImportImages"; }
    static std::string Title() { return "Import of camera images"; }
    static std::string PositionYLabel();
    static std::string PositionXLabel();
    // The two threshold types, by list index.
    static std::vector<std::string> ThresholdTypeNames();

    bool bValidate(std::string& message) override;
    // Imports (with the wait cursor), then shows the field-of-view message once when a
    // picture lies outside the field and lists the files that could not be read.
    void OnOk() override;

    // --- fields ---
    int iGetPositionX() const { return m_positionX; }
    void SetPositionX(int x) { m_positionX = x; }
    int iGetPositionY() const { return m_positionY; }
    void SetPositionY(int y) { m_positionY = y; }
    int iGetThresholdType() const { return m_threshold.type; }
    void SetThresholdType(int type) { m_threshold.type = type; }
    int iGetDark() const { return m_threshold.dark; }
    void SetDark(int dark) { m_threshold.dark = dark; }
    int iGetBright() const { return m_threshold.bright; }
    void SetBright(int bright) { m_threshold.bright = bright; }
    const OImageThreshold& Threshold() const { return m_threshold; }
    const std::vector<std::string>& Files() const { return m_files; }

    // --- the import, without user interface ---
    // Empties the output and makes one part per readable file; returns the number of parts.
    int iImport();
    // The parts made by the last import, in file order; the dialog owns them.
    std::vector<std::unique_ptr<OType_Part>>& Parts() { return m_parts; }
    // Take the parts out of the dialog.
    std::vector<std::unique_ptr<OType_Part>> TakeParts();
    const std::vector<Skipped>& SkippedFiles() const { return m_skipped; }
    // Some picture lies (partly) outside the field of view or a position was negative.
    bool bOutsideFieldOfView() const { return m_outsideField; }

    // Whether a picture of this size at this position lies outside the field of view.
    static bool bIsOutsideField(int x, int y, int width, int height);

  private:
    Settings& m_settings;
    std::vector<std::string> m_files;
    UserInteraction* m_ui;
    OProgressCtrl* m_progress;
    int m_positionX = 0;
    int m_positionY = 0;
    OImageThreshold m_threshold;
    std::vector<std::unique_ptr<OType_Part>> m_parts;
    std::vector<Skipped> m_skipped;
    bool m_outsideField = false;
};
