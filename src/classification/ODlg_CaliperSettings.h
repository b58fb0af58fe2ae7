// The tape-measure settings of the part contour views: horizontal and vertical scaling
// factors and, for devices with coordinate transformation, the Z coordinate.
#pragma once

#include <string>

#include "platform/ODialogModel.h"

class ODlg_CaliperSettings : public ODialogModel {
  public:
    static constexpr int kTemplate = 280;
    static constexpr int kHorizontalEdit = 1072;
    static constexpr int kVerticalEdit = 1073;
    static constexpr int kZEdit = 1074;
    static constexpr int kZCaption = 1324;

    ODlg_CaliperSettings(double horizontal, double vertical, double z, bool showZ)
        : m_horizontal(horizontal), m_vertical(vertical), m_z(z), m_showZ(showZ) {}

    std::string DialogName() const override { return "ODlg_CaliperSettings"; }
    static std::string Title() { return "Settings for tape measure"; }
    static std::string HorizontalCaption() { return "Horizontal tape measure scaling factor:"; }
    static std::string VerticalCaption() { return "Vertical tape measure scaling factor:"; }
    static std::string ZCaption() {
        return "Tape measure Z coordinate (in world coordinates):\nRequired for transformation; 0 "
               "[e.g. mm] is the level of the calibration surface, positive values are "
               "direction to device.";
    }

    double dGetHorizontal() const { return m_horizontal; }
    double dGetVertical() const { return m_vertical; }
    double dGetZ() const { return m_z; }
    void SetHorizontal(double v) { m_horizontal = v; }
    void SetVertical(double v) { m_vertical = v; }
    void SetZ(double v) { m_z = v; }
    // The Z caption and edit are shown only when the device transforms coordinates.
    bool bShowsZ() const { return m_showZ; }

    // Whether OK changed any value the caller passed in (Z only when shown).
    bool bChangedFrom(double horizontal, double vertical, double z) const;
    // Every shown field must hold a finite number.
    bool bValidate(std::string& message) override;

  private:
    double m_horizontal;
    double m_vertical;
    double m_z;
    bool m_showZ;
};
