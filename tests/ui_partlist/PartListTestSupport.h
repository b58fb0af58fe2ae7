// The desktop with a project of family 1 whose part list is open, for the part list
// tests: sample and test parts made by hand or recorded, and the view's widgets.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <string>

#include "app/ui/OFrame_Child.h"
#include "document/ODoc.h"
#include "document/ui/OPartListModel.h"
#include "document/ui/OPartListWidget.h"
#include "document/ui/OView_PartList.h"
#include "model/partset/OType_ZRPartSet.h"
#include "ui_shell/ShellTestSupport.h"

namespace partlisttest {

using namespace shelltest;

// A contour part of `columns` columns whose height depends on i.
inline std::unique_ptr<OType_Part> MakePart(int i, bool sample, int columns = 30) {
    auto part = std::make_unique<OType_Part>();
    std::vector<int16_t> runs;
    for (int x = 0; x < columns; ++x) {
        runs.push_back(static_cast<int16_t>(10 + (x + i) % 5));
        runs.push_back(static_cast<int16_t>(-(40 + (x * (i + 1)) % 9)));
    }
    part->SetConturData(std::move(runs));
    part->SetOrientation(1 + i % 2);
    part->SetType(1);
    part->SetTeachPart(sample);
    return part;
}

// A running desktop with a new family-1 project (two part types, eight orientations, both
// used) and its part list.
struct PartListDesk {
    // Without the splash, which would swallow the first click.
    Shell shell{{"-ETH:1", "/nologo"}};
    ODoc* doc = nullptr;
    OView_PartList* view = nullptr;

    explicit PartListDesk(int sampleParts = 0, int testParts = 0) {
        shell.settings->SetInt("Settings", "TARGET_SYSTEM_HW", 1);
        shell.settings->SetInt("Settings", "TARGET_SYSTEM_SW", 818);
        shell.settings->SetInt("Settings", "TARGET_SYSTEM_PARTTYPES", 6);
        shell.settings->SetInt("Settings", "TARGET_SYSTEM_PARTSINSET", 2);
        shell.settings->SetInt("Settings", "TARGET_SYSTEM_ORI", 8);
        shell.settings->SetInt("Settings", "PROJECT_USE_ORIENTATION", 1);
        shell.settings->SetInt("Settings", "PROJECT_USE_TYPES", 1);
        shell.settings->SetInt("Settings", "SHOW_WIZARD_BAR", 0);
        EXPECT_TRUE(shell.desktop->Start());
        shell.App().OnFileNew();
        doc = shell.App().opGetDocument();
        OFrame_Main& frame = shell.Frame();
        frame.resize(1100, 700);
        frame.show();
        frame.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&frame));
        view = qobject_cast<OView_PartList*>(frame.Frame(ViewKind::PartList)->widget());
        AddParts(sampleParts, testParts);
    }

    OType_ZRPartSet& Set() { return *doc->opGetActualPartSet(); }
    OFrame_Main& Frame() { return shell.Frame(); }
    OUserInteraction_Scripted& Ui() { return shell.ui; }

    void AddParts(int sampleParts, int testParts) {
        OType_ZRPartSet& set = Set();
        for (int i = 0; i < sampleParts; ++i) {
            OType_Part* part = set.TeachParts().Add(MakePart(i, true));
            part->SetRecordNo(set.TeachParts().iGetSize());
        }
        for (int i = 0; i < testParts; ++i) {
            OType_Part* part = set.TestParts().Add(MakePart(50 + i, false));
            part->SetRecordNo(set.TestParts().iGetSize());
        }
        doc->Recompute(&set, 0, 0, 1, 1, 0);
        doc->RefreshViews();
        ProcessEvents();
    }

    // A command as the main menu runs it: the current view first.
    void Run(int id) { Frame().ExecuteCommand(id, Frame().CurrentView()); }
    OPartListWidget* List(bool sample) { return view->List(sample); }
    int Rows(bool sample) { return view->Model(sample)->rowCount(); }
    std::string Text(bool sample, int row) {
        return view->Model(sample)->Rows()[static_cast<size_t>(row)].text;
    }
    std::vector<int> SelectedFlags(bool sample) {
        std::vector<int> rows;
        const OType_PartArray& list = sample ? Set().TeachParts() : Set().TestParts();
        for (int i = 0; i < list.iGetSize(); ++i) {
            if (list.GetAt(i)->bIsSelected()) rows.push_back(i);
        }
        return rows;
    }
};

}  // namespace partlisttest
