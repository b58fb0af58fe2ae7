#include "model/draw/ORecordingPainter.h"

void ORecordingPainter::SetPen(ORgb colour, int width, OPenStyle style) {
    pen = colour;
    penWidth = width;
    penStyle = style;
}

void ORecordingPainter::SetFont(int height, bool bold) {
    fontHeight = height;
    fontBold = bold;
}

OPoint ORecordingPainter::TextSize(std::string_view text) const {
    return {static_cast<int32_t>(text.size()) * fontHeight * 6 / 10, fontHeight};
}

ORecordingPainter::OOp ORecordingPainter::Op(Kind kind) const {
    OOp op;
    op.kind = kind;
    op.colour = pen;
    op.fontHeight = fontHeight;
    op.mapping = m_mapping;
    op.clipped = m_clipped;
    op.clip = m_clip;
    return op;
}

void ORecordingPainter::DrawLine(OPoint from, OPoint to) {
    OOp op = Op(Kind::Line);
    op.from = from;
    op.to = to;
    ops.push_back(std::move(op));
}

void ORecordingPainter::DrawRect(const ORect& rect) {
    OOp op = Op(Kind::Rect);
    op.rect = rect;
    ops.push_back(std::move(op));
}

void ORecordingPainter::FillRect(const ORect& rect, ORgb colour) {
    OOp op = Op(Kind::Fill);
    op.rect = rect;
    op.colour = colour;
    ops.push_back(std::move(op));
}

void ORecordingPainter::DrawEllipse(const ORect& bounds) {
    OOp op = Op(Kind::Ellipse);
    op.rect = bounds;
    op.colour = brush;
    ops.push_back(std::move(op));
}

void ORecordingPainter::DrawText(OPoint at, std::string_view text, OTextAlign align) {
    OOp op = Op(Kind::Text);
    op.from = at;
    op.text = std::string(text);
    op.align = align;
    ops.push_back(std::move(op));
}

std::vector<ORecordingPainter::OOp> ORecordingPainter::Of(Kind kind) const {
    std::vector<OOp> result;
    for (const OOp& op : ops) {
        if (op.kind == kind) result.push_back(op);
    }
    return result;
}

std::vector<std::string> ORecordingPainter::Texts() const {
    std::vector<std::string> result;
    for (const OOp& op : ops) {
        if (op.kind == Kind::Text) result.push_back(op.text);
    }
    return result;
}

const ORecordingPainter::OOp* ORecordingPainter::FindText(std::string_view prefix) const {
    for (const OOp& op : ops) {
        if (op.kind == Kind::Text && std::string_view(op.text).substr(0, prefix.size()) == prefix)
            return &op;
    }
    return nullptr;
}

void ORecordingPainter::DrawImage(const ORect& target, const OImageView& image) {
    OOp op = Op(Kind::Image);
    op.rect = target;
    op.to = {image.width, image.height};
    ops.push_back(std::move(op));
}
