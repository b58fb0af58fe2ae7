// Decodes arbitrary bytes as a coordinate transformer. A decoded transformer must encode
// to bytes that decode to the same transformer, and its transforms and calibration must
// never yield non-finite results.
#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

#include "../FuzzSeeds.h"
#include "model/coordtrans/OCoordTrans_CalibrationPlate.h"
#include "model/coordtrans/OCoordTrans_Tsai_Transformer.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

void ExerciseTransforms(const OCoordTrans_Tsai_Transformer& t) {
    const double samples[] = {0.0, 1.0, -1.0, 320.5, 1e6, -1e12, 1e300};
    for (double a : samples) {
        for (double b : samples) {
            double x = 0, y = 0;
            if (t.Image2World(a, b, -a * 1e-3, x, y)) Check(std::isfinite(x) && std::isfinite(y));
            if (t.World2Image(a, b, b * 1e-3, x, y)) Check(std::isfinite(x) && std::isfinite(y));
        }
    }
}

OCoordTrans_Tsai_Transformer MakeCalibrated() {
    return CalibrateOnPlate(
        OCoordTrans_Tsai_CameraParameters::FromSensor(1280, 1280, 0.0048, 0.0048, 640, 512, 1),
        3e-3);
}

}  // namespace

std::vector<std::vector<uint8_t>> KalvorFuzzSeeds() {
    std::vector<std::vector<uint8_t>> seeds;
    seeds.push_back(OCoordTrans_Tsai_Transformer().Encode());
    OCoordTrans_Tsai_Transformer cameraOnly;
    cameraOnly.iSetCameraParameters(
        OCoordTrans_Tsai_CameraParameters::FromSensor(640, 720, 0.0074, 0.0074, 320, 240, 1.01));
    cameraOnly.iSetUnit("inch");
    seeds.push_back(cameraOnly.Encode());
    const auto calibrated = MakeCalibrated();
    seeds.push_back(calibrated.Encode());
    // With a trailer of a newer encoding.
    auto withTrailer = calibrated.Encode();
    withTrailer.insert(withTrailer.end(), {1, 2, 3, 4, 5, 6, 7});
    const auto length = static_cast<uint32_t>(withTrailer.size() - 4);
    for (int i = 0; i < 4; ++i)
        withTrailer[i] = static_cast<uint8_t>(length >> (8 * i));
    seeds.push_back(withTrailer);
    return seeds;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    OCoordTrans_Tsai_Transformer t;
    if (!t.iDecode(std::span<const uint8_t>(data, size))) {
        Check(!t.bIsSetUp() && t.bIsSameTransformation(OCoordTrans_Tsai_Transformer()));
        return 0;
    }
    const auto bytes = t.Encode();
    OCoordTrans_Tsai_Transformer again;
    Check(again.iDecode(bytes) == 1);
    Check(again.bIsSameTransformation(t) && again.Encode() == bytes);
    ExerciseTransforms(t);
    if (t.iGetCameraParametersSet() != 0 && t.iCalibrateCoplanar(t.GetCalibrationPoints())) {
        Check(t.bIsSetUp());
        ExerciseTransforms(t);
    }
    return 0;
}
