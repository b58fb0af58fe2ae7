// Plain geometry and colour types shared by the model, the tools and the views.
#pragma once

#include <cstdint>

struct OPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const OPoint&) const = default;
};

// A rectangle in contour or image pixels; right and bottom are inclusive.
struct ORect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool bIsEmpty() const { return left == right && top == bottom; }
    bool operator==(const ORect&) const = default;
};

struct ORgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    static constexpr ORgb FromColorRef(uint32_t bgr) {
        return {static_cast<uint8_t>(bgr & 0xFF), static_cast<uint8_t>((bgr >> 8) & 0xFF),
                static_cast<uint8_t>((bgr >> 16) & 0xFF)};
    }
    bool operator==(const ORgb&) const = default;
};
