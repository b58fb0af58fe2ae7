// An OPainter that keeps every call, for tests and for checking printout layouts without a
// printer. Text sizes are fixed: a character is 60 % of the font height wide, the line is
// the font height high.
#pragma once

#include <string>
#include <vector>

#include "model/draw/OImagePainter.h"
#include "model/draw/OPainter.h"

class ORecordingPainter : public OPainter, public OImagePainter {
  public:
    enum class Kind { Line, Rect, Fill, Ellipse, Text, Image };
    struct OOp {
        Kind kind = Kind::Line;
        OPoint from{};     // Line: start; Text: position
        OPoint to{};       // Line: end
        ORect rect{};      // Rect, Fill, Ellipse, Image (the target)
        ORgb colour{};     // the pen, or the fill colour of Fill
        std::string text;  // Text
        OTextAlign align = OTextAlign::Left;
        int fontHeight = 0;
        OMapping mapping;  // the mapping in force
        bool clipped = false;
        ORect clip{};
    };

    void SetMapping(const OMapping& mapping) override { m_mapping = mapping; }
    void SetClip(const ORect& base) override {
        m_clipped = true;
        m_clip = base;
    }
    void NoClip() override { m_clipped = false; }
    void SetPen(ORgb colour, int width = 1, OPenStyle style = OPenStyle::Solid) override;
    void SetBrush(ORgb colour) override { brush = colour; }
    void NoBrush() override {}
    void SetFont(int height, bool bold = false) override;
    OPoint TextSize(std::string_view text) const override;
    void DrawLine(OPoint from, OPoint to) override;
    void DrawRect(const ORect& rect) override;
    void FillRect(const ORect& rect, ORgb colour) override;
    void DrawEllipse(const ORect& bounds) override;
    void DrawText(OPoint at, std::string_view text, OTextAlign align = OTextAlign::Left) override;
    // Kept as the target rectangle with the picture's size as `to` (width, height).
    void DrawImage(const ORect& target, const OImageView& image) override;

    const OMapping& Mapping() const { return m_mapping; }
    // Every op of a kind, in order.
    std::vector<OOp> Of(Kind kind) const;
    std::vector<std::string> Texts() const;
    // The first text op whose text starts with `prefix` (nullptr when none).
    const OOp* FindText(std::string_view prefix) const;

    std::vector<OOp> ops;
    ORgb pen{};
    int penWidth = 1;
    OPenStyle penStyle = OPenStyle::Solid;
    ORgb brush{};
    int fontHeight = 10;
    bool fontBold = false;

  private:
    OOp Op(Kind kind) const;

    OMapping m_mapping;
    bool m_clipped = false;
    ORect m_clip{};
};
