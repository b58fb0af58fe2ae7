// The vector properties pane beside the teach-data list: the apply timers, refused entries
// named under the form with nothing applied, an accepted edit as one undo step, and a range
// locked by hand that survives a recompute.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "TeachDataTestSupport.h"
#include "model/teach/OType_Vector.h"

namespace {

using namespace teachdatatest;

QLineEdit* Edit(TeachDesk& desk, int id) {
    return qobject_cast<QLineEdit*>(desk.vector->Control(id));
}

void Type(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    if (!text.isEmpty()) QTest::keyClicks(edit, text);
}

const OType_Vector& Vector(TeachDesk& desk, int orientation, int feature) {
    return desk.Set().opGetSubType(0)->opGetVectorArray(orientation)->At(feature);
}

TEST(VectorPropertiesView, EditsWaitForTheTimerAndRefusedOnesChangeNothing) {
    TeachDesk desk;
    desk.doc->SelectFeature(2);
    ProcessEvents();
    const size_t stepsBefore = desk.Set().UndoRedo().iGetNumSteps();
    const OType_Vector before = Vector(desk, 0, 2);
    QLineEdit* factor = Edit(desk, VectorProperties::kFactor);
    ASSERT_NE(factor, nullptr);

    Type(factor, "");
    EXPECT_TRUE(desk.vector->ApplyTimer().isActive());
    EXPECT_EQ(desk.vector->ApplyTimer().interval(), 2400) << "empty: the slow delay";
    Type(factor, "0.");
    EXPECT_EQ(desk.vector->ApplyTimer().interval(), 2400);
    Type(factor, "abc");
    EXPECT_EQ(desk.vector->ApplyTimer().interval(), 800);
    desk.vector->CommitPendingEdits();
    ProcessEvents();
    EXPECT_TRUE(desk.vector->ErrorLabel()->isVisibleTo(desk.vector));
    EXPECT_TRUE(desk.vector->ErrorLabel()->text().startsWith("Tolerance factor:"));
    EXPECT_EQ(Vector(desk, 0, 2), before);
    EXPECT_EQ(desk.Set().UndoRedo().iGetNumSteps(), stepsBefore);

    Type(factor, "1");
    Type(Edit(desk, VectorProperties::kMaximum), "-99999");
    desk.vector->CommitPendingEdits();
    ProcessEvents();
    EXPECT_EQ(desk.vector->ErrorLabel()->text(),
              "The minimum must not be greater than the maximum.");
    EXPECT_EQ(Vector(desk, 0, 2), before);
}

TEST(VectorPropertiesView, AnAcceptedFactorIsNormalisedStoredAndUndoable) {
    TeachDesk desk;
    desk.doc->SelectFeature(1);
    ProcessEvents();
    Type(Edit(desk, VectorProperties::kFactor), "3.7");
    QTRY_VERIFY_WITH_TIMEOUT(!desk.vector->ApplyTimer().isActive(), 3000);
    ProcessEvents();
    EXPECT_DOUBLE_EQ(Vector(desk, 0, 1).factor, 3.0);
    EXPECT_DOUBLE_EQ(Vector(desk, 1, 1).factor, 3.0);
    EXPECT_EQ(Edit(desk, VectorProperties::kFactor)->text(), "3");
    EXPECT_EQ(desk.Set().UndoRedo().GetUndoShortText(), "UNDO:Teach-Data modified");
    EXPECT_EQ(desk.Cell(1, 4), "3.00") << "the list shows the factor";
    desk.Run(Cmd::kEditUndo);
    ProcessEvents();
    EXPECT_DOUBLE_EQ(Vector(desk, 0, 1).factor, 1.0);
}

TEST(VectorPropertiesView, ARangeLockedByHandSurvivesARecompute) {
    TeachDesk desk;
    desk.doc->SelectFeature(0);
    ProcessEvents();
    auto* lock =
        qobject_cast<QRadioButton*>(desk.vector->Control(VectorProperties::kRangeManualLocked));
    ASSERT_NE(lock, nullptr);
    Type(Edit(desk, VectorProperties::kMinimum), "1");
    Type(Edit(desk, VectorProperties::kMean), "2");
    Type(Edit(desk, VectorProperties::kMaximum), "3000");
    lock->click();  // a radio applies at once, with the edits
    ProcessEvents();
    EXPECT_FALSE(desk.vector->ApplyTimer().isActive());
    EXPECT_EQ(Vector(desk, 0, 0).option & 7u, 2u);
    EXPECT_DOUBLE_EQ(Vector(desk, 0, 0).maximum, 3000.0);

    desk.doc->Recompute(&desk.Set(), 0, 0, 1, 1, 0);
    desk.doc->RefreshViews();
    ProcessEvents();
    EXPECT_DOUBLE_EQ(Vector(desk, 0, 0).minimum, 1.0);
    EXPECT_DOUBLE_EQ(Vector(desk, 0, 0).mean, 2.0);
    EXPECT_DOUBLE_EQ(Vector(desk, 0, 0).maximum, 3000.0);
    EXPECT_TRUE(lock->isChecked());
    EXPECT_EQ(Edit(desk, VectorProperties::kMaximum)->text(), "3000");
}

TEST(VectorPropertiesView, UncheckingTheFeatureExcludesIt) {
    TeachDesk desk;
    desk.doc->SelectFeature(4);
    ProcessEvents();
    auto* use = qobject_cast<QCheckBox*>(desk.vector->Control(VectorProperties::kUseForQuality));
    ASSERT_TRUE(use->isChecked());
    QTest::mouseClick(use, Qt::LeftButton);
    ProcessEvents();
    EXPECT_EQ(Vector(desk, 0, 4).option & 7u, 1u);
    EXPECT_EQ(desk.Cell(4, 5), " -- ");
}

TEST(VectorPropertiesView, TheChosenClassCanDifferFromTheShownOne) {
    TeachDesk desk;
    auto* orientation =
        qobject_cast<QComboBox*>(desk.vector->Control(VectorProperties::kOrientation));
    ASSERT_NE(orientation, nullptr);
    ASSERT_EQ(orientation->count(), 2);
    desk.doc->SelectFeature(0);
    ProcessEvents();
    EXPECT_EQ(desk.vector->ShownForm().orientation, 0);
}

}  // namespace
