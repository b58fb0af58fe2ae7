#include "model/part/OType_Image.h"

#include "model/stream/OObjectBlock.h"
#include "model/stream/ObjectIds.h"

namespace {
bool ValidShape(int width, int height, int layers) {
    return width > 0 && height > 0 && width <= OType_Image::kMaxSide &&
           height <= OType_Image::kMaxSide && (layers == 1 || layers == 3);
}
}  // namespace

OType_Image::OType_Image(int width, int height, int layers) {
    if (!ValidShape(width, height, layers)) return;
    m_width = width;
    m_height = height;
    m_layers = layers;
    m_pixels.assign(static_cast<size_t>(width) * height * layers, 0);
}

uint8_t OType_Image::GetPixel(int x, int y, int layer) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height || layer < 0 || layer >= m_layers) return 0;
    return m_pixels[(static_cast<size_t>(y) * m_width + x) * m_layers + layer];
}

uint8_t OType_Image::GetPixel_Grey(int x, int y) const {
    if (m_layers == 1) return GetPixel(x, y, 0);
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return 0;
    const uint8_t* p = &m_pixels[(static_cast<size_t>(y) * m_width + x) * 3];
    // Integer luminance with rounding: (299 R + 587 G + 114 B + 500) / 1000.
    return static_cast<uint8_t>((299 * p[0] + 587 * p[1] + 114 * p[2] + 500) / 1000);
}

void OType_Image::SetPixel(int x, int y, int layer, uint8_t value) {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height || layer < 0 || layer >= m_layers) return;
    m_pixels[(static_cast<size_t>(y) * m_width + x) * m_layers + layer] = value;
}

int OType_Image::iEncode(OByteStream& stream) const {
    OObjectBlockWriter block(stream, ObjectId::kImage);
    stream.bWriteI32(m_posX);
    stream.bWriteI32(m_posY);
    stream.bWriteI32(m_width);
    stream.bWriteI32(m_height);
    stream.bWriteI32(m_layers);
    stream.bWriteByteArray(m_pixels);
    block.bWriteTrailer(m_trailer);
    return block.bClose() ? 1 : 0;
}

int OType_Image::iDecode(OByteStream& stream) {
    *this = OType_Image();
    OObjectBlockReader block(stream, ObjectId::kImage);
    OType_Image img;
    stream.bReadI32(img.m_posX);
    stream.bReadI32(img.m_posY);
    stream.bReadI32(img.m_width);
    stream.bReadI32(img.m_height);
    stream.bReadI32(img.m_layers);
    if (!block.bIsOk()) return 0;
    const bool empty = img.m_width == 0 && img.m_height == 0;
    if (!empty && !ValidShape(img.m_width, img.m_height, img.m_layers)) return stream.Fail();
    if (empty) img.m_layers = 1;
    if (!stream.bReadByteArray(img.m_pixels)) return 0;
    if (img.m_pixels.size() != static_cast<size_t>(img.m_width) * img.m_height * img.m_layers) {
        return stream.Fail();
    }
    img.m_trailer = block.TakeTrailer();
    if (!block.bClose()) return 0;
    *this = std::move(img);
    return 1;
}
