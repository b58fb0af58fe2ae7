// The calibration a camera makes from its calibration plate: a 5 x 5 grid of marks 20 mm
// apart on the world plane z = 0, seen by a 12 mm lens 480 mm away with the plate tilted
// (0.5, -0.15, 0.3 rad) and shifted (-20, 15) mm. The device simulator calibrates this way;
// seeds use it for a transformer that is truly calibrated.
#pragma once

#include "model/coordtrans/OCoordTrans_Tsai_Parameters.h"
#include "model/coordtrans/OCoordTrans_Tsai_Transformer.h"

// The transformer calibrated from the marks' image positions, with the lens distortion
// `kappa1` (not set up when the camera constants do not allow a calibration).
OCoordTrans_Tsai_Transformer CalibrateOnPlate(const OCoordTrans_Tsai_CameraParameters& camera,
                                              double kappa1);
