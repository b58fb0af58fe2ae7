// The desktop with a family-1 project whose sample parts are taught, and its teach-data
// window opened by its command, for the teach-data tests.
#pragma once

#include <QLabel>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTreeWidget>

#include "analysis/ui/OView_VectorProperties.h"
#include "app/ui/OFrame_SplitChild.h"
#include "classification/ui/OClassifierWindow.h"
#include "classification/ui/OTeachDataList.h"
#include "document/CommandIds.h"
#include "ui_partlist/PartListTestSupport.h"

namespace teachdatatest {

using namespace partlisttest;

struct TeachDesk : PartListDesk {
    OFrame_SplitChild* frame = nullptr;
    OClassifierWindow* teach = nullptr;
    OView_VectorProperties* vector = nullptr;

    // `sampleParts` parts alternating between orientations 1 and 2, told apart by their
    // length; identical contours make the two orientations inseparable.
    explicit TeachDesk(int sampleParts = 12, bool identical = false) : PartListDesk(0, 0) {
        OType_ZRPartSet& set = Set();
        for (int i = 0; i < sampleParts; ++i) {
            // Orientation 2's parts are longer unless the contours are to be identical.
            auto part = identical ? MakePart(0, true) : MakePart(i, true, i % 2 ? 36 : 30);
            part->SetOrientation(1 + i % 2);
            OType_Part* added = set.TeachParts().Add(std::move(part));
            added->SetRecordNo(set.TeachParts().iGetSize());
        }
        doc->Recompute(&set, 0, 0, 1, 1, 0);
        doc->RefreshViews();
        ProcessEvents();
        Open();
    }

    void Open() {
        Run(Cmd::kViewTeachData);
        ProcessEvents();
        frame = qobject_cast<OFrame_SplitChild*>(Frame().Frame(ViewKind::TeachData));
        if (!frame) return;
        teach = qobject_cast<OClassifierWindow*>(frame->View());
        vector = qobject_cast<OView_VectorProperties*>(frame->Companion());
    }

    QString Cell(int row, int column) { return teach->List()->topLevelItem(row)->text(column); }
    QString Tolerance() {
        return teach->findChild<QLabel*>(QString::number(TeachDataView::kToleranceTextControl))
            ->text();
    }
    int TypeTolerance() { return Set().opGetSubType(0)->iGetTolerance(); }
};

}  // namespace teachdatatest
