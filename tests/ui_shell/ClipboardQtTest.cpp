#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include "ShellTestSupport.h"
#include "app/ui/OClipboard_Qt.h"

namespace {

TEST(ClipboardQt, FormatsTravelAsMimeTypes) {
    shelltest::Application();
    OClipboard_Qt clipboard;
    const std::vector<uint8_t> bytes{0, 1, 2, 255, 0};
    ASSERT_TRUE(clipboard.bSetData("application/x-kalvor-tool", bytes));
    EXPECT_TRUE(clipboard.bHasFormat("application/x-kalvor-tool"));
    EXPECT_FALSE(clipboard.bHasFormat("application/x-kalvor-parts-zr"));
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->data("application/x-kalvor-tool").size(), 5) << "zero bytes survive";
    std::vector<uint8_t> back;
    ASSERT_TRUE(clipboard.bGetData("application/x-kalvor-tool", back));
    EXPECT_EQ(back, bytes);
    clipboard.Clear();
    EXPECT_FALSE(clipboard.bHasFormat("application/x-kalvor-tool"));
}

}  // namespace
