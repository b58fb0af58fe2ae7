#include <gtest/gtest.h>

#include "platform/Clipboard.h"

namespace {

TEST(Clipboard, OffersOnlyTheLastWrittenFormat) {
    OClipboard_Memory clip;
    const std::vector<uint8_t> a{1, 2, 3};
    ASSERT_TRUE(clip.bSetData("application/x-kalvor-tool", a));
    EXPECT_TRUE(clip.bHasFormat("application/x-kalvor-tool"));
    EXPECT_FALSE(clip.bHasFormat("application/x-kalvor-parts-zr"));
    std::vector<uint8_t> out;
    EXPECT_FALSE(clip.bGetData("application/x-kalvor-parts-zr", out));
    EXPECT_TRUE(clip.bGetData("application/x-kalvor-tool", out));
    EXPECT_EQ(out, a);
    ASSERT_TRUE(clip.bSetData("application/x-kalvor-parts-zr", {}));
    EXPECT_FALSE(clip.bHasFormat("application/x-kalvor-tool"))
        << "a write replaces the whole content";
}

TEST(Clipboard, PriorityFormatIsTheFirstOffered) {
    OClipboard_Memory clip;
    const std::vector<std::string> formats{"a", "b", "c"};
    EXPECT_EQ(clip.iGetPriorityFormat(formats), -1);
    clip.bSetData("c", std::vector<uint8_t>{9});
    EXPECT_EQ(clip.iGetPriorityFormat(formats), 2);
}

TEST(Clipboard, FailedWriteKeepsTheOldContent) {
    OClipboard_Memory clip;
    clip.bSetData("a", std::vector<uint8_t>{1});
    clip.FailNextWrite();
    EXPECT_FALSE(clip.bSetData("b", std::vector<uint8_t>{2}));
    EXPECT_TRUE(clip.bHasFormat("a"));
    EXPECT_TRUE(clip.bSetData("b", std::vector<uint8_t>{2})) << "only the next write fails";
}

}  // namespace
