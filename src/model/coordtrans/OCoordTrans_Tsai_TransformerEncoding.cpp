// Encoding of OCoordTrans_Tsai_Transformer. Payload of the object block, in groups:
//   camera:      i32 camera-parameters-set, f64 Ncx, Nfx, dx, dy, dpx, dpy, Cx, Cy, sx
//   calibration: i32 calibration-set, f64 f, kappa1, Tx, Ty, Tz, Rx, Ry, Rz
//   unit:        u32 byte count, UTF-8 bytes
//   points:      u32 count (<= 256), then per point f64 image x, image y, world x, y, z
//   trailer:     bytes of a newer encoding, kept and written back unchanged
// A payload may end after any whole group (the missing groups keep their defaults); one
// that ends inside a group is damaged.
#include <cmath>
#include <initializer_list>

#include "model/coordtrans/OCoordTrans_Tsai_Rotation.h"
#include "model/coordtrans/OCoordTrans_Tsai_Transformer.h"
#include "model/stream/OByteStream_Memory.h"
#include "model/stream/OObjectBlock.h"

namespace {

constexpr uint64_t kCameraGroupBytes = 4 + 9 * 8;
constexpr uint64_t kCalibrationGroupBytes = 4 + 8 * 8;
constexpr uint64_t kCountBytes = 4;
constexpr uint64_t kPointBytes = 5 * 8;

void WriteDoubles(OByteStream& stream, std::initializer_list<double> values) {
    for (double v : values)
        stream.bWriteDouble(v);
}

bool ReadDoubles(OByteStream& stream, std::initializer_list<double*> values) {
    for (double* v : values)
        stream.bReadDouble(*v);
    return stream.bIsOk();
}

// Whether the next group is present: true when it fits, false (with `damaged` set when
// bytes remain) when it does not.
bool bGroupPresent(const OObjectBlockReader& block, uint64_t bytes, bool& damaged) {
    if (block.bHas(bytes)) return true;
    damaged = block.iRemaining() != 0;
    return false;
}

}  // namespace

int OCoordTrans_Tsai_Transformer::iEncode(OByteStream& stream) const {
    OObjectBlockWriter block(stream, kObjectId);
    const auto& c = m_camera;
    const auto& k = m_calibration;
    stream.bWriteI32(m_cameraParametersSet);
    WriteDoubles(stream, {c.Ncx, c.Nfx, c.dx, c.dy, c.dpx, c.dpy, c.Cx, c.Cy, c.sx});
    stream.bWriteI32(m_calibrationSet);
    WriteDoubles(stream, {k.f, k.kappa1, k.Tx, k.Ty, k.Tz, k.Rx, k.Ry, k.Rz});
    stream.bWriteString(m_unit);
    stream.bWriteU32(static_cast<uint32_t>(m_points.size()));
    for (const auto& p : m_points) {
        WriteDoubles(stream, {p.imageX, p.imageY, p.worldX, p.worldY, p.worldZ});
    }
    block.bWriteTrailer(m_trailer);
    return block.bClose() ? 1 : 0;
}

bool OCoordTrans_Tsai_Transformer::bReadFields(OObjectBlockReader& block, OByteStream& stream) {
    bool damaged = false;
    if (!bGroupPresent(block, kCameraGroupBytes, damaged)) return !damaged;
    auto& c = m_camera;
    stream.bReadI32(m_cameraParametersSet);
    if (!ReadDoubles(stream, {&c.Ncx, &c.Nfx, &c.dx, &c.dy, &c.dpx, &c.dpy, &c.Cx, &c.Cy, &c.sx}))
        return false;

    if (!bGroupPresent(block, kCalibrationGroupBytes, damaged)) return !damaged;
    auto& k = m_calibration;
    stream.bReadI32(m_calibrationSet);
    if (!ReadDoubles(stream, {&k.f, &k.kappa1, &k.Tx, &k.Ty, &k.Tz, &k.Rx, &k.Ry, &k.Rz}))
        return false;
    m_rotation = OCoordTrans_Tsai_Rotation::FromAngles(k.Rx, k.Ry, k.Rz);

    if (!bGroupPresent(block, kCountBytes, damaged)) return !damaged;
    if (!stream.bReadString(m_unit)) return false;

    if (!bGroupPresent(block, kCountBytes, damaged)) return !damaged;
    uint32_t count = 0;
    if (!stream.bReadCount(count, kPointBytes) || count > kMaxCalibrationPoints) return false;
    m_points.resize(count);
    for (auto& p : m_points) {
        if (!ReadDoubles(stream, {&p.imageX, &p.imageY, &p.worldX, &p.worldY, &p.worldZ}))
            return false;
    }
    m_trailer = block.TakeTrailer();
    return stream.bIsOk();
}

int OCoordTrans_Tsai_Transformer::iDecode(OByteStream& stream) {
    OCoordTrans_Tsai_Transformer decoded;
    bool ok = false;
    {
        OObjectBlockReader block(stream, kObjectId);
        ok = block.bIsOk() && decoded.bReadFields(block, stream);
        ok = block.bClose() && ok;
    }
    if (!ok || !stream.bIsOk() || !decoded.bIsValidState()) {
        stream.Fail();
        Reset();
        return 0;
    }
    *this = std::move(decoded);
    return 1;
}

std::vector<uint8_t> OCoordTrans_Tsai_Transformer::Encode() const {
    OByteStream_Memory stream;
    if (!iEncode(stream)) return {};
    return stream.TakeBytes();
}

int OCoordTrans_Tsai_Transformer::iDecode(std::span<const uint8_t> bytes) {
    auto stream = OByteStream_Memory::View(bytes);
    if (!iDecode(stream)) return 0;
    if (stream.iRemaining() != 0) {
        Reset();
        return 0;
    }
    return 1;
}
