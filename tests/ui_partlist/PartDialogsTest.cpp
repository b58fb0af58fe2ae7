// The part properties (246) and check program properties (168) windows over their models:
// what they show, hide and grey for the project, and what OK hands to the model.
#include <QLineEdit>
#include <QPlainTextEdit>

#include "PartListTestSupport.h"
#include "document/ODlg_CheckProgramProperties.h"
#include "document/ODlg_PartProperties.h"
#include "document/ui/ODlg_CheckProgramPropertiesWindow.h"
#include "document/ui/ODlg_PartPropertiesWindow.h"
#include "model/coordtrans/OCoordTrans_Tsai_Transformer.h"
#include "model/project/OType_ProjectProperties.h"
#include "model/strings/ResStr.h"

namespace {

using namespace partlisttest;

template <typename T>
T* Find(QWidget& dialog, const char* name) {
    T* widget = dialog.findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

TEST(PartDialogs, PartPropertiesOfSampleParts) {
    PartListDesk desk;
    TempDir dir;
    OType_Part first;
    first.SetComment("scratch\r\non the left");
    first.SetType(2);
    first.SetOrientation(-3);
    OType_ProjectProperties properties;
    const OTargetSystem target{1, 818, 0, 6, 2, 8};
    ODlg_PartProperties model({&first}, true, properties, target);
    ODlg_PartPropertiesWindow window(model, &desk.Frame());
    window.show();
    ProcessEvents();
    EXPECT_EQ(window.windowTitle(), "Part properties");
    EXPECT_EQ(window.objectName(), "246");
    auto* comment = Find<QPlainTextEdit>(window, "comment");
    auto* type = Find<QComboBox>(window, "type");
    auto* orientation = Find<QComboBox>(window, "orientation");
    EXPECT_EQ(comment->toPlainText(), "scratch\non the left");
    EXPECT_TRUE(type->isVisible());
    EXPECT_EQ(type->count(), 2);
    EXPECT_EQ(type->currentText(), "2");
    EXPECT_EQ(orientation->count(), 9) << "ignored, then 1 to 8";
    EXPECT_EQ(orientation->itemText(0), "ignored");
    EXPECT_EQ(orientation->currentIndex(), 0);
    SaveScreenshot(Composite(desk.Frame(), window), dir, "part_properties");

    comment->setPlainText("scratch\nright");
    orientation->setCurrentIndex(5);
    window.accept();
    EXPECT_EQ(model.comment, "scratch\r\nright") << "line breaks are kept as CR LF";
    EXPECT_EQ(model.orientationEntry, 5);
    model.OnOk();
    EXPECT_EQ(first.iGetOrientation(), 5);
    EXPECT_EQ(first.GetComment(), "scratch\r\nright");
}

TEST(PartDialogs, WithoutOrientationsTheSelectorAsksForTeachUse) {
    PartListDesk desk;
    OType_Part part;
    part.SetOrientation(4);
    OType_ProjectProperties properties;
    properties.useOrientation = 0;
    properties.useTypes = 0;
    ODlg_PartProperties model({&part}, true, properties, {1, 818, 0, 6, 2, 8});
    ODlg_PartPropertiesWindow window(model, &desk.Frame());
    window.show();
    ProcessEvents();
    auto* orientation = Find<QComboBox>(window, "orientation");
    EXPECT_EQ(orientation->count(), 2);
    EXPECT_EQ(orientation->itemText(1), "used");
    EXPECT_EQ(orientation->currentIndex(), 1);
    EXPECT_FALSE(Find<QComboBox>(window, "type")->isVisible()) << "types are not used";
    bool labelled = false;
    for (QLabel* label : window.findChildren<QLabel*>())
        labelled = labelled || label->text() == "Teach use:";
    EXPECT_TRUE(labelled);
    orientation->setCurrentIndex(0);
    window.accept();
    model.OnOk();
    EXPECT_EQ(part.iGetOrientation(), -4) << "ignored, its orientation behind the sign";
}

TEST(PartDialogs, TestPartsShowTypeAndOrientationGreyedOrNotAtAll) {
    PartListDesk desk;
    OType_Part a;
    OType_Part b;
    b.SetComment("b");
    OType_ProjectProperties properties;
    ODlg_PartProperties several({&a, &b}, false, properties, {1, 818, 0, 6, 2, 8});
    ODlg_PartPropertiesWindow window(several, &desk.Frame());
    window.show();
    ProcessEvents();
    EXPECT_TRUE(Find<QComboBox>(window, "type")->isVisible());
    EXPECT_FALSE(Find<QComboBox>(window, "type")->isEnabled());
    EXPECT_FALSE(Find<QComboBox>(window, "orientation")->isEnabled());
    EXPECT_EQ(Find<QLabel>(window, "partCount")->text(), "2 selected parts");
    EXPECT_EQ(Find<QPlainTextEdit>(window, "comment")->toPlainText(), "") << "comments differ";

    ODlg_PartProperties one({&a}, false, properties, {1, 818, 0, 6, 1, 1});
    ODlg_PartPropertiesWindow hidden(one, &desk.Frame());
    hidden.show();
    ProcessEvents();
    EXPECT_FALSE(Find<QComboBox>(hidden, "type")->isVisible()) << "one part type";
    EXPECT_FALSE(Find<QComboBox>(hidden, "orientation")->isVisible()) << "one orientation";
}

TEST(PartDialogs, CheckProgramPropertiesWithAndWithoutTheZCoordinate) {
    PartListDesk desk;
    TempDir dir;
    OType_ZRPartSet& set = desk.Set();
    set.SetName("Housing");
    ODlg_CheckProgramProperties plain(set, false);
    ODlg_CheckProgramPropertiesWindow window(plain, &desk.Frame());
    window.show();
    ProcessEvents();
    EXPECT_EQ(window.windowTitle(), "Check program properties");
    EXPECT_EQ(Find<QLineEdit>(window, "name")->text(), "Housing");
    EXPECT_EQ(window.findChild<QLineEdit*>("z"), nullptr);
    Find<QLineEdit>(window, "name")->setText("Housing, top");
    window.accept();
    EXPECT_EQ(plain.name, "Housing, top");

    OCoordTrans_Tsai_Transformer transformer;
    transformer.iSetUnit("inch");
    set.SetCoordTransformer(&transformer);
    set.SetZCoordinate(2.5);
    ODlg_CheckProgramProperties withZ(set, true);
    ODlg_CheckProgramPropertiesWindow zWindow(withZ, &desk.Frame());
    zWindow.show();
    ProcessEvents();
    EXPECT_EQ(Find<QLineEdit>(zWindow, "z")->text(), "2.5");
    EXPECT_EQ(Find<QLabel>(zWindow, "unit")->text(), "[inch]");
    SaveScreenshot(Composite(desk.Frame(), zWindow), dir, "check_program_properties");
    Find<QLineEdit>(zWindow, "z")->setText("7");
    zWindow.accept();
    withZ.OnOk();
    EXPECT_DOUBLE_EQ(set.dGetZCoordinate(), 7.0);
    EXPECT_TRUE(withZ.bZChanged());
    EXPECT_FALSE(withZ.bNameChanged());
    set.SetCoordTransformer(&desk.doc->opGetSession()->CoordTransformer());
}

}  // namespace
