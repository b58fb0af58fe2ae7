// The part picture of the project wizard's recording pages: a contour drawn dark on a bright
// ground the right way up, a camera image in its own colours, nothing for no part, and the
// picture fitted into the widget with its shape kept.
#include <gtest/gtest.h>

#include "model/device/ZRINFO.h"
#include "model/part/OType_Part.h"
#include "ui_shell/ShellTestSupport.h"
#include "wizards/ui/OWizardPartPicture.h"

using namespace shelltest;

namespace {

// Three columns; the middle one holds material in rows 10 .. 19 (counting upwards), the
// others none (an empty column is a run of length 0: (v, -v)).
OType_Part ContourPart() {
    OType_Part part;
    part.SetConturData({1, -1, 10, -20, 1, -1});
    return part;
}

}  // namespace

TEST(WizardPartPicture, AContourIsDrawnDarkOnBrightWithRowsCountingUpwards) {
    Application();
    OWizardPartPicture picture;
    ZRINFO info;  // no image height: 512 rows
    const OType_Part part = ContourPart();
    picture.ShowPart(&part, info);
    const QImage& image = picture.Picture();
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), 3);
    EXPECT_EQ(image.height(), 512);
    EXPECT_EQ(qGray(image.pixel(1, 511 - 10)), 0) << "contour row 10 is near the bottom";
    EXPECT_EQ(qGray(image.pixel(1, 511 - 19)), 0);
    EXPECT_EQ(qGray(image.pixel(1, 511 - 20)), 255) << "row 20 is past the run";
    EXPECT_EQ(qGray(image.pixel(0, 511 - 15)), 255) << "an empty column";

    picture.ShowPart(nullptr, info);
    EXPECT_TRUE(picture.Picture().isNull());
    EXPECT_TRUE(picture.PictureRect().isEmpty());
}

TEST(WizardPartPicture, ACameraImageKeepsItsColoursAndItsShapeWhenFitted) {
    Application();
    OType_Part part = ContourPart();  // the camera image wins over the contour
    OType_Image red(4, 2, 3);
    for (int i = 0; i < 4 * 2; ++i)
        red.Pixels()[static_cast<size_t>(i) * 3] = 255;
    part.AddImage(std::move(red));

    OWizardPartPicture picture;
    picture.resize(202, 202);
    picture.ShowPart(&part, ZRINFO{});
    ASSERT_EQ(picture.Picture().size(), QSize(4, 2));
    EXPECT_EQ(picture.Picture().pixelColor(3, 1), QColor(255, 0, 0));
    const QRect fitted = picture.PictureRect();
    EXPECT_EQ(fitted.width(), 200);
    EXPECT_EQ(fitted.height(), 100) << "the shape is kept";
    EXPECT_EQ(fitted.center(), picture.rect().center());

    // The picture is a copy: the part may go while it is shown.
    const QImage shown = picture.Picture();
    part = OType_Part();
    EXPECT_EQ(picture.Picture(), shown);
    const QImage grab = picture.grab().toImage();
    EXPECT_EQ(grab.pixelColor(fitted.center()), QColor(255, 0, 0));
}
