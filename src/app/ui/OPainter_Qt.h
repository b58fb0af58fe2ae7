// OPainter over a QPainter: the screen, a printer page, a PDF page or an image. Base units
// are turned into the QPainter's device units by `base` (identity on the screen; on a page
// tenths of a millimetre to printer dots), logical units by the mapping set last.
#pragma once

#include <QColor>
#include <QFont>
#include <QTransform>

#include "model/draw/OImagePainter.h"
#include "model/draw/OPainter.h"

class QPainter;

class OPainter_Qt : public OPainter, public OImagePainter {
  public:
    explicit OPainter_Qt(QPainter& painter, const QTransform& base = QTransform());
    ~OPainter_Qt() override;
    OPainter_Qt(const OPainter_Qt&) = delete;
    OPainter_Qt& operator=(const OPainter_Qt&) = delete;

    // Tenths of a millimetre onto a device of the given resolution (dots per inch), the
    // origin at `originDots`.
    static QTransform TenthsOfMillimetre(double dpiX, double dpiY, QPointF originDots = {});

    void SetMapping(const OMapping& mapping) override;
    void SetClip(const ORect& base) override;
    void NoClip() override;
    void SetPen(ORgb colour, int width = 1, OPenStyle style = OPenStyle::Solid) override;
    void SetBrush(ORgb colour) override;
    void NoBrush() override;
    void SetFont(int height, bool bold = false) override;
    OPoint TextSize(std::string_view text) const override;
    void DrawLine(OPoint from, OPoint to) override;
    void DrawRect(const ORect& rect) override;
    void FillRect(const ORect& rect, ORgb colour) override;
    void DrawEllipse(const ORect& bounds) override;
    void DrawText(OPoint at, std::string_view text, OTextAlign align = OTextAlign::Left) override;
    void DrawImage(const ORect& target, const OImageView& image) override;

    // Device units per base unit (the mean of x and y).
    double dBaseScale() const { return m_baseScale; }
    // The QPainter's device point of a logical point.
    QPointF ToDevice(OPoint logical) const;

  private:
    void UseLogical();
    void UseDevice();
    void ApplyPen();
    QFont DeviceFont() const;

    QPainter& m_painter;
    QTransform m_base;
    QTransform m_full;  // logical -> device
    double m_baseScale = 1.0;
    bool m_logical = false;
    QColor m_penColour = Qt::black;
    int m_penWidth = 1;
    OPenStyle m_penStyle = OPenStyle::Solid;
    bool m_hasBrush = false;
    QColor m_brush = Qt::white;
    int m_fontHeight = 10;
    bool m_bold = false;
};
