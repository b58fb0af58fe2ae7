// Coordinate transformer of a camera device: Tsai's camera model (pinhole camera with
// rotation R and translation T, effective focal length f, first-order radial lens
// distortion kappa1, image centre, pixel pitch and horizontal scale factor) mapping image
// pixels to points on a world plane z = const and back.
//
// World z grows away from the camera: the calibration surface is z = 0, and a level h
// units towards the device is the plane z = -h.
//
// The transformer is set up when both of its set-up indicators are non-zero: the camera
// constants are known, and a calibration has been made or received. Only then does it
// transform. Encodings use the model's object-block framing (model/stream/OObjectBlock.h).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/coordtrans/OCoordTrans_CalibPoint.h"
#include "model/coordtrans/OCoordTrans_Tsai_Parameters.h"

class OByteStream;
class OObjectBlockReader;

class OCoordTrans_Tsai_Transformer {
  public:
    using CalibPoint = OCoordTrans_CalibPoint;

    static constexpr uint32_t kObjectId = 0xFE7A2500;
    static constexpr size_t kMaxCalibrationPoints = 256;
    static constexpr size_t kMaxUnitBytes = 64;
    static constexpr const char* kDefaultUnit = "mm";

    OCoordTrans_Tsai_Transformer() = default;

    // Empty: not set up, all parameters at their defaults, unit "mm", no calibration
    // points, no kept trailer.
    void Reset();
    void CopyTo(OCoordTrans_Tsai_Transformer& target) const { target = *this; }

    int32_t iGetCameraParametersSet() const { return m_cameraParametersSet; }
    int32_t iGetCalibrationSet() const { return m_calibrationSet; }
    bool bIsSetUp() const { return m_cameraParametersSet != 0 && m_calibrationSet != 0; }

    // Sets the camera constants and marks them set; 0 (nothing changed) when invalid.
    int iSetCameraParameters(const OCoordTrans_Tsai_CameraParameters& camera);
    const OCoordTrans_Tsai_CameraParameters& GetCameraParameters() const { return m_camera; }
    // Sets the calibration constants, derives r1..r9 and marks the calibration set;
    // 0 (nothing changed) when invalid. The calibration points are kept.
    int iSetCalibrationParameters(const OCoordTrans_Tsai_CalibrationParameters& calibration);
    const OCoordTrans_Tsai_CalibrationParameters& GetCalibrationParameters() const {
        return m_calibration;
    }
    // r1..r9, row by row.
    const std::array<double, 9>& GetRotationMatrix() const { return m_rotation; }

    // All parameters and both indicators in the flat form the device exchanges.
    OCoordTrans_Tsai_Parameters oGetParameters() const;
    // Takes over all parameters and indicators; 0 (nothing changed) unless
    // bIsConsistent(). r1..r9 are recomputed from the angles.
    int iSetParameters(const OCoordTrans_Tsai_Parameters& parameters);

    const std::string& strGetUnit() const { return m_unit; }
    // "[mm]": the unit in square brackets, for field labels.
    std::string strGetUnitLabel() const { return "[" + m_unit + "]"; }
    // 0 for more than kMaxUnitBytes bytes or control characters.
    int iSetUnit(std::string_view unit);

    // Points of the last successful calibration (or as decoded).
    const std::vector<CalibPoint>& GetCalibrationPoints() const { return m_points; }

    // Coplanar calibration (world z = 0 for every point) with the camera constants set
    // before; on success the calibration constants and points are replaced and the
    // calibration is marked set. 0 leaves the transformer unchanged: camera constants not
    // set, fewer than 5 or more than kMaxCalibrationPoints points, non-finite values,
    // degenerate layouts (see OCoordTrans_Tsai_Calibrator.h).
    int iCalibrateCoplanar(const std::vector<CalibPoint>& points);

    // Image pixel -> world point on the plane z = zw. 0 when not set up, on non-finite
    // input, outside the invertible region of the lens distortion, when the viewing ray
    // is parallel to the plane or meets it behind the camera.
    int Image2World(double xi, double yi, double zw, double& xw, double& yw) const;
    // World point -> image pixel, with lens distortion. 0 when not set up, on non-finite
    // input, for points at or behind the camera and for points the distortion cannot map.
    int World2Image(double xw, double yw, double zw, double& xi, double& yi) const;

    // True when both indicators, all camera and calibration constants and the unit are
    // equal. Doubles compare with ==: encodings keep their exact bits, so a decoded copy
    // is the same transformation. Calibration points and kept trailer bytes do not count.
    bool bIsSameTransformation(const OCoordTrans_Tsai_Transformer& other) const;

    // One object block (kObjectId). Returns 1 when the stream took it.
    int iEncode(OByteStream& stream) const;
    // Reads one object block. 0 on a malformed or invalid block: the transformer is then
    // empty (Reset) and the stream failed.
    int iDecode(OByteStream& stream);
    std::vector<uint8_t> Encode() const;
    // The bytes must hold exactly one block; otherwise 0 and the transformer is empty.
    int iDecode(std::span<const uint8_t> bytes);

  private:
    bool bReadFields(OObjectBlockReader& block, OByteStream& stream);
    // Values finite, set groups valid, unit acceptable.
    bool bIsValidState() const;

    int32_t m_cameraParametersSet = 0;
    int32_t m_calibrationSet = 0;
    OCoordTrans_Tsai_CameraParameters m_camera;
    OCoordTrans_Tsai_CalibrationParameters m_calibration;
    std::array<double, 9> m_rotation{1, 0, 0, 0, 1, 0, 0, 0, 1};  // from the angles
    std::string m_unit = kDefaultUnit;
    std::vector<CalibPoint> m_points;
    std::vector<uint8_t> m_trailer;
};
