// The part list view on the offscreen platform: its form, what the lists show, the
// selection timers, keys, clicks, the context menu, the buttons and the screenshots.
#include <QHeaderView>
#include <QMenu>
#include <QStatusBar>
#include <QToolBar>

#include "PartListTestSupport.h"
#include "document/CommandIds.h"
#include "model/strings/ResStr.h"

namespace {

using namespace partlisttest;

TEST(PartListView, TheFormHasEveryControlByItsId) {
    PartListDesk desk(12, 6);
    TempDir dir;
    OView_PartList& view = *desk.view;
    for (int id : {1007, 1006}) {
        auto* sort = view.findChild<QComboBox*>(QString::number(id));
        ASSERT_NE(sort, nullptr) << id;
        EXPECT_EQ(sort->count(), 6) << "every sort order, by feature among them";
        EXPECT_EQ(sort->itemText(4), "Feature");
    }
    for (int id : {1164, 1165})
        EXPECT_NE(view.findChild<OPartListWidget*>(QString::number(id)), nullptr) << id;
    const std::pair<int, const char*> buttons[] = {{1178, ">"},  {1179, "<"}, {1175, ">>"},
                                                   {1176, "<<"}, {1177, "<"}, {1180, ">"}};
    for (const auto& [id, text] : buttons) {
        QPushButton* button = view.Button(id);
        ASSERT_NE(button, nullptr) << id;
        EXPECT_EQ(button->text(), text) << id;
    }
    EXPECT_EQ(view.StatusPane(0)->width(), 120);
    EXPECT_EQ(view.StatusPane(1)->width(), 120);
    EXPECT_EQ(view.StatusPane(2)->width(), 140);
    EXPECT_NE(view.Toolbar(), nullptr);
    EXPECT_EQ(desk.Rows(true), 12);
    EXPECT_EQ(desk.Rows(false), 6);
    EXPECT_EQ(desk.Text(true, 0), "1. Part Type= 1 Orient.= 1");
    EXPECT_EQ(desk.Text(true, 1), "2. Part Type= 1 Orient.= 2");
    SaveScreenshot(desk.Frame().grab().toImage(), dir, "part_list_parts");
}

}  // namespace
