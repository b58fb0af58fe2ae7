// A camera image of a part: position in the sensor, size, 1 (grey) or 3 (RGB) layers.
// Pixels are stored row by row from the top, layers interleaved (R, G, B).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

class OByteStream;

class OType_Image {
  public:
    static constexpr int kMaxSide = 16384;

    OType_Image() = default;
    // A black image; sizes outside 1..kMaxSide or layers other than 1 and 3 give an empty image.
    OType_Image(int width, int height, int layers);

    bool bIsEmpty() const { return m_width == 0 || m_height == 0; }
    int iGetPosX() const { return m_posX; }
    int iGetPosY() const { return m_posY; }
    void SetPos(int x, int y) {
        m_posX = x;
        m_posY = y;
    }
    int iGetWidth() const { return m_width; }
    int iGetHeight() const { return m_height; }
    int iGetLayers() const { return m_layers; }

    // Value of one layer at (x, y); 0 outside the image or for a missing layer.
    uint8_t GetPixel(int x, int y, int layer = 0) const;
    // Brightness at (x, y): the grey value, or for colour images the rounded luminance
    // 0.299 R + 0.587 G + 0.114 B.
    uint8_t GetPixel_Grey(int x, int y) const;
    void SetPixel(int x, int y, int layer, uint8_t value);

    std::span<const uint8_t> Pixels() const { return m_pixels; }
    std::span<uint8_t> Pixels() { return m_pixels; }
    size_t iGetByteSize() const { return m_pixels.size(); }

    int iEncode(OByteStream& stream) const;
    // Bytes iEncode writes, the block's length word included.
    uint64_t iGetObjectSize() const { return 32 + m_pixels.size() + m_trailer.size(); }
    // Returns 0 on malformed input and leaves the image empty.
    int iDecode(OByteStream& stream);

    bool operator==(const OType_Image& other) const = default;

  private:
    int m_posX = 0;
    int m_posY = 0;
    int m_width = 0;
    int m_height = 0;
    int m_layers = 1;
    std::vector<uint8_t> m_pixels;
    std::vector<uint8_t> m_trailer;
};
