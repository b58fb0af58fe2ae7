// One correspondence between an image point and its known world position, as used to
// calibrate a coordinate transformer.
#pragma once

struct OCoordTrans_CalibPoint {
    double imageX = 0;  // [pixel]
    double imageY = 0;
    double worldX = 0;  // [unit of the transformer]
    double worldY = 0;
    double worldZ = 0;

    bool operator==(const OCoordTrans_CalibPoint&) const = default;
};
