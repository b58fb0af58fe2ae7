// Parameter records of the Tsai camera model: the camera constants (sensor and frame
// grabber geometry, known before calibration), the calibration constants (pose, focal
// length and radial lens distortion, found by calibration) and the flat record of all
// of them that travels to and from the device.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

class OByteStream;

struct OCoordTrans_Tsai_CameraParameters {
    double Ncx = 0;  // sensor elements in x
    double Nfx = 0;  // pixels per line as sampled by the frame grabber
    double dx = 0;   // centre-to-centre distance of sensor elements in x [unit]
    double dy = 0;   // centre-to-centre distance of sensor elements in y [unit]
    double dpx = 0;  // effective pixel pitch in x [unit], dx * Ncx / Nfx
    double dpy = 0;  // effective pixel pitch in y [unit], dy
    double Cx = 0;   // image centre [pixel]
    double Cy = 0;
    double sx = 1;  // horizontal scale factor (frame grabber timing)

    // Derives dpx and dpy from the sensor geometry.
    static OCoordTrans_Tsai_CameraParameters FromSensor(double Ncx, double Nfx, double dx,
                                                        double dy, double Cx, double Cy, double sx);
    // All finite; counts, pitches and sx positive.
    bool bIsValid() const;
    bool operator==(const OCoordTrans_Tsai_CameraParameters&) const = default;
};

struct OCoordTrans_Tsai_CalibrationParameters {
    double f = 0;       // effective focal length [unit]
    double kappa1 = 0;  // first-order radial distortion [1/unit^2]
    double Tx = 0;      // translation world -> camera [unit]
    double Ty = 0;
    double Tz = 0;
    double Rx = 0;  // Euler angles [rad]: R = Rz(Rz) * Ry(Ry) * Rx(Rx)
    double Ry = 0;
    double Rz = 0;

    // All finite and f positive.
    bool bIsValid() const;
    bool operator==(const OCoordTrans_Tsai_CalibrationParameters&) const = default;
};

// Every parameter as a double in one fixed order (see docs/coordinate-transformation.md):
//   0..8   Ncx, Nfx, dx, dy, dpx, dpy, Cx, Cy, sx
//   9..16  f, kappa1, Tx, Ty, Tz, Rx, Ry, Rz
//   17..25 r1..r9 (the rotation matrix row by row, derived from Rx, Ry, Rz)
//   26, 27 camera-parameters-set and calibration-set indicators
struct OCoordTrans_Tsai_Parameters {
    static constexpr size_t kCount = 28;
    // Largest difference between r1..r9 and the matrix of the angles that is accepted.
    static constexpr double kRotationTolerance = 1e-6;

    OCoordTrans_Tsai_CameraParameters camera;
    OCoordTrans_Tsai_CalibrationParameters calibration;
    std::array<double, 9> r{};
    int32_t iCameraParametersSet = 0;
    int32_t iCalibrationSet = 0;

    std::array<double, kCount> ToDoubles() const;
    // Fails unless there are exactly kCount values and both indicators are whole numbers
    // in the 32-bit range.
    static int iFromDoubles(std::span<const double> values, OCoordTrans_Tsai_Parameters& out);

    // Values are finite; a set indicator requires valid parameters of its group, and a
    // set calibration requires r1..r9 to match the angles within kRotationTolerance.
    bool bIsConsistent() const;

    // kCount little-endian doubles, nothing else.
    bool bWrite(OByteStream& stream) const;
    bool bRead(OByteStream& stream);
};
