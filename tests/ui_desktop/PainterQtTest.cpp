// OPainter over QPainter: mappings, inclusive rectangles, clipping, text that is never
// mirrored and sizes in base units whatever the device's resolution.
#include <QImage>
#include <QPainter>

#include "app/ui/OPainter_Qt.h"
#include "ui_shell/ShellTestSupport.h"

namespace {

constexpr ORgb kRed{255, 0, 0};
constexpr ORgb kBlue{0, 0, 255};

QImage White(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

bool bIs(const QImage& image, int x, int y, ORgb c) {
    return image.pixelColor(x, y) == QColor(c.r, c.g, c.b);
}

// The rows of the image that hold any dark pixel inside columns [x0, x1).
std::pair<int, int> InkRows(const QImage& image, int x0, int x1) {
    int first = -1, last = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = x0; x < x1; ++x) {
            if (image.pixelColor(x, y).lightness() < 128) {
                if (first < 0) first = y;
                last = y;
                break;
            }
        }
    }
    return {first, last};
}

TEST(PainterQt, InclusiveRectanglesInBaseUnits) {
    shelltest::Application();
    QImage image = White(100, 100);
    {
        QPainter qp(&image);
        OPainter_Qt p(qp);
        p.FillRect({10, 10, 19, 19}, kRed);
        p.SetPen(kBlue);
        p.NoBrush();
        p.DrawRect({40, 40, 49, 49});
    }
    EXPECT_TRUE(bIs(image, 10, 10, kRed));
    EXPECT_TRUE(bIs(image, 19, 19, kRed)) << "right and bottom are inclusive";
    EXPECT_TRUE(bIs(image, 20, 20, {255, 255, 255}));
    EXPECT_TRUE(bIs(image, 40, 40, kBlue));
    EXPECT_TRUE(bIs(image, 49, 49, kBlue)) << "the outline covers the last unit";
    EXPECT_TRUE(bIs(image, 50, 50, {255, 255, 255}));
    EXPECT_TRUE(bIs(image, 45, 45, {255, 255, 255})) << "no brush: outline only";
}

TEST(PainterQt, ContourPixelsCountUpwards) {
    shelltest::Application();
    QImage image = White(100, 100);
    {
        QPainter qp(&image);
        OPainter_Qt p(qp);
        // Ten contour pixels each way over the whole image, row 0 at the bottom.
        p.SetMapping(OMapping::Fit({0, 0, 10, 10}, {0, 0, 100, 100}, true));
        p.FillRect({0, 0, 0, 0}, kRed);
        p.FillRect({9, 9, 9, 9}, kBlue);
    }
    EXPECT_TRUE(bIs(image, 5, 95, kRed)) << "pixel (0, 0) at the lower left";
    EXPECT_TRUE(bIs(image, 95, 5, kBlue)) << "pixel (9, 9) at the upper right";
    EXPECT_TRUE(bIs(image, 5, 5, {255, 255, 255}));
}

TEST(PainterQt, TextIsReadDownwardsFromItsPointAlsoUnderAFlippedMapping) {
    shelltest::Application();
    QImage image = White(200, 100);
    {
        QPainter qp(&image);
        OPainter_Qt p(qp);
        p.SetMapping(OMapping::Fit({0, 0, 200, 100}, {0, 0, 200, 100}, true));
        p.SetPen({0, 0, 0});
        p.SetFont(20, false);
        p.DrawText({10, 60}, "HH", OTextAlign::Left);  // top of the line at device y 40
        p.DrawText({190, 60}, "HH", OTextAlign::Right);
    }
    const auto [first, last] = InkRows(image, 0, 100);
    ASSERT_GE(first, 0) << "text was drawn";
    EXPECT_GE(first, 40) << "the text starts at its point and goes down";
    EXPECT_LE(last, 62);
    const auto right = InkRows(image, 100, 200);
    EXPECT_GE(right.first, 40) << "right-aligned text ends at its point";
    EXPECT_EQ(InkRows(image, 191, 200).first, -1) << "nothing right of the point";
}

TEST(PainterQt, SizesStayInBaseUnitsOnAFinerDevice) {
    shelltest::Application();
    QImage screen = White(10, 10);
    QImage fine = White(10, 10);
    QPainter a(&screen);
    QPainter b(&fine);
    OPainter_Qt coarse(a);
    OPainter_Qt dense(b, OPainter_Qt::TenthsOfMillimetre(600, 600));
    EXPECT_NEAR(dense.dBaseScale(), 600 / 254.0, 1e-9);
    coarse.SetFont(30, false);
    dense.SetFont(30, false);
    const OPoint s = coarse.TextSize("Part contour");
    const OPoint d = dense.TextSize("Part contour");
    EXPECT_NEAR(d.y, s.y, s.y * 0.25) << "a font height of 30 base units either way";
    EXPECT_GT(s.x, s.y);
    EXPECT_EQ(dense.ToDevice({254, 0}), QPointF(600, 0)) << "25.4 mm are one inch";
}

TEST(PainterQt, ClipKeepsDrawingInsideUntilLifted) {
    shelltest::Application();
    QImage image = White(100, 100);
    {
        QPainter qp(&image);
        OPainter_Qt p(qp);
        p.SetClip({0, 0, 49, 49});
        p.FillRect({0, 0, 99, 99}, kRed);
        p.NoClip();
        p.FillRect({90, 0, 99, 9}, kBlue);
    }
    EXPECT_TRUE(bIs(image, 49, 49, kRed));
    EXPECT_TRUE(bIs(image, 60, 60, {255, 255, 255}));
    EXPECT_TRUE(bIs(image, 95, 5, kBlue));
}

// The clip rectangle is in base units whatever mapping is in force when it is set, also on
// a device whose base units are not its pixels (a printed page).
TEST(PainterQt, ClipIsInBaseUnitsUnderAnyMappingAndBase) {
    shelltest::Application();
    QImage image = White(100, 100);
    {
        QPainter qp(&image);
        OPainter_Qt p(qp, QTransform::fromScale(0.5, 0.5));  // two base units a pixel
        OMapping flipped;
        flipped.windowExt = {1, -1};
        flipped.viewportOrg = {0, 199};
        p.SetMapping(flipped);
        p.SetClip({20, 20, 119, 119});
        p.FillRect({-500, -500, 500, 500}, kRed);
        p.NoClip();
    }
    EXPECT_TRUE(bIs(image, 10, 10, kRed));
    EXPECT_TRUE(bIs(image, 59, 59, kRed));
    EXPECT_TRUE(bIs(image, 5, 5, {255, 255, 255}));
    EXPECT_TRUE(bIs(image, 70, 70, {255, 255, 255}));
}

// Small ellipses on images are stamped from a cached picture: they must look exactly like
// ellipses drawn one by one, over any background, in every colour used together.
TEST(PainterQt, StampedEllipsesMatchDrawnOnes) {
    shelltest::Application();
    QImage stamped(120, 60, QImage::Format_RGB32);
    stamped.fill(QColor(200, 220, 240));
    QImage drawn = stamped;
    const ORgb colours[] = {kRed, kBlue, {0, 0, 0}};
    {
        QPainter qp(&stamped);
        OPainter_Qt p(qp);
        for (int i = 0; i < 12; ++i) {
            p.SetPen(i % 2 ? ORgb{60, 60, 60} : colours[i % 3], 1 + i % 2);
            p.SetBrush(colours[i % 3]);
            p.DrawEllipse({5 + 9 * i, 10 + i, 11 + 9 * i, 16 + i + i % 4});
        }
    }
    {
        QPainter qp(&drawn);
        qp.setRenderHint(QPainter::Antialiasing, true);
        for (int i = 0; i < 12; ++i) {
            const ORgb pen = i % 2 ? ORgb{60, 60, 60} : colours[i % 3];
            const ORgb fill = colours[i % 3];
            QPen qpen(QColor(pen.r, pen.g, pen.b));
            qpen.setWidth(1 + i % 2);
            qp.setPen(qpen);
            qp.setBrush(QColor(fill.r, fill.g, fill.b));
            qp.drawEllipse(QRectF(5 + 9 * i, 10 + i, 6, 6 + i % 4));
        }
    }
    int worst = 0, inked = 0;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            const QColor a = stamped.pixelColor(x, y), b = drawn.pixelColor(x, y);
            worst = std::max({worst, std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                              std::abs(a.blue() - b.blue())});
            inked += b != QColor(200, 220, 240) ? 1 : 0;
        }
    }
    EXPECT_GT(inked, 12 * 20) << "the ellipses were drawn";
    EXPECT_LE(worst, 2) << "antialiased edges may differ by rounding only";
}

}  // namespace
