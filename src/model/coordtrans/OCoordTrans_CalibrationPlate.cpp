#include "model/coordtrans/OCoordTrans_CalibrationPlate.h"

#include <vector>

#include "model/coordtrans/OCoordTrans_CalibPoint.h"

OCoordTrans_Tsai_Transformer CalibrateOnPlate(const OCoordTrans_Tsai_CameraParameters& camera,
                                              double kappa1) {
    OCoordTrans_Tsai_CalibrationParameters pose;
    pose.f = 12;
    pose.kappa1 = kappa1;
    pose.Tx = -20;
    pose.Ty = 15;
    pose.Tz = 480;
    pose.Rx = 0.5;
    pose.Ry = -0.15;
    pose.Rz = 0.3;
    OCoordTrans_Tsai_Transformer truth;
    truth.iSetCameraParameters(camera);
    truth.iSetCalibrationParameters(pose);
    std::vector<OCoordTrans_CalibPoint> marks;
    for (double x = -40; x <= 40; x += 20) {
        for (double y = -40; y <= 40; y += 20) {
            OCoordTrans_CalibPoint p;
            p.worldX = x;
            p.worldY = y;
            truth.World2Image(x, y, 0, p.imageX, p.imageY);
            marks.push_back(p);
        }
    }
    OCoordTrans_Tsai_Transformer calibrated;
    calibrated.iSetCameraParameters(camera);
    calibrated.iCalibrateCoplanar(marks);
    return calibrated;
}
