// Files of the coordinate-transformation calibration: ".kvtr" (the transformer's own
// encoding, read back by the import), ".txt" (a table of the calibration points and their
// deviations) and ".bmp" (the calibration picture).
#pragma once

#include <cstdint>
#include <string>

class OCoordTrans_Tsai_Transformer;

namespace CalibrationFiles {

inline constexpr uint64_t kMaxTransformerFileBytes = uint64_t{1} << 20;

// The ".txt" table, one byte per character: a header line with the texts 9823, 9824, 9825,
// 9826, 9827, 9830 and 9831; then per calibration point (at most 256, numbered from 1)
// "n.\t", image x, image y, world x, world y and world z as "%05.2lf\t"; then, for a
// transformer that is set up, the point's image position taken to the world plane z = 0
// and "%05.3lf\t" x3 + "%05.3lf\r\n": the deviations in x and y and their relative size in
// percent (0 when the world value is 0); otherwise " \t \t \t \r\n".
std::string CalibrationTable(const OCoordTrans_Tsai_Transformer& transformer);

}  // namespace CalibrationFiles
