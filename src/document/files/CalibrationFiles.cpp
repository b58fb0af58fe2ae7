#include "document/files/CalibrationFiles.h"

#include <algorithm>
#include <cmath>

#include "model/coordtrans/OCoordTrans_Tsai_Transformer.h"
#include "model/strings/FormatPrintf.h"
#include "model/strings/ResStr.h"

namespace CalibrationFiles {
namespace {

// The relative deviation in percent; 0 for a world value of 0.
double Percent(double world, double deviation) {
    return world == 0.0 ? 0.0 : std::fabs(deviation / world) * 100.0;
}

}  // namespace

std::string CalibrationTable(const OCoordTrans_Tsai_Transformer& transformer) {
    std::string out =
        FormatPrintf("%s\t%s\t%s\t%s\t%s\t%s\t%s\r\n", ResStr(9823), ResStr(9824), ResStr(9825),
                     ResStr(9826), ResStr(9827), ResStr(9830), ResStr(9831));
    const auto& points = transformer.GetCalibrationPoints();
    const size_t count =
        std::min(points.size(), OCoordTrans_Tsai_Transformer::kMaxCalibrationPoints);
    for (size_t n = 0; n < count; ++n) {
        const OCoordTrans_CalibPoint& p = points[n];
        out += FormatPrintf("%d.\t", n + 1);
        for (double v : {p.imageX, p.imageY, p.worldX, p.worldY, p.worldZ})
            out += FormatPrintf("%05.2lf\t", v);
        double x = 0, y = 0;
        if (transformer.bIsSetUp() && transformer.Image2World(p.imageX, p.imageY, 0.0, x, y)) {
            const double dx = p.worldX - x;
            const double dy = p.worldY - y;
            out += FormatPrintf("%05.3lf\t%05.3lf\t%05.3lf\t%05.3lf\r\n", dx, dy,
                                Percent(p.worldX, dx), Percent(p.worldY, dy));
        } else {
            out += " \t \t \t \r\n";
        }
    }
    return out;
}

}  // namespace CalibrationFiles
