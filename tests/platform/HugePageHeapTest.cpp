// The restart with huge pages for malloc: the tunable is added to what the user set, a choice
// of the user's own stands, and the restarted program runs with the same arguments and the
// tunable in its environment.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "ScopedEnv.h"
#include "platform/HugePageHeap.h"

using HugePageHeap::TunablesWith;

TEST(HugePageHeap, TheTunableIsAddedToWhatTheUserSet) {
    EXPECT_EQ(TunablesWith(nullptr), "glibc.malloc.hugetlb=1");
    EXPECT_EQ(TunablesWith(""), "glibc.malloc.hugetlb=1");
    EXPECT_EQ(TunablesWith("glibc.malloc.check=3"), "glibc.malloc.check=3:glibc.malloc.hugetlb=1");
    EXPECT_EQ(TunablesWith("glibc.malloc.hugetlb=0"), "") << "the user's own choice stands";
    EXPECT_EQ(TunablesWith("glibc.malloc.check=3:glibc.malloc.hugetlb=2"), "");
}

TEST(HugePageHeap, NoRestartWhenTheTunableIsSet) {
    ScopedEnv tunables("GLIBC_TUNABLES", "glibc.malloc.hugetlb=0");
    char self[] = "test_platform";
    char* argv[] = {self, nullptr};
    HugePageHeap::RestartWithHugePages(argv);  // returns: nothing to do
    EXPECT_STREQ(std::getenv("GLIBC_TUNABLES"), "glibc.malloc.hugetlb=0");
}

// Run by the next test in a restarted child only.
TEST(HugePageHeap, RestartedChildSeesTheTunable) {
    if (!std::getenv("KALVOR_HUGE_PAGE_CHILD")) GTEST_SKIP() << "runs inside the next test";
    const char* tunables = std::getenv("GLIBC_TUNABLES");
    ASSERT_NE(tunables, nullptr);
    EXPECT_EQ(std::string(tunables), "glibc.malloc.hugetlb=1");
}

TEST(HugePageHeap, TheProgramRestartsItselfWithItsArguments) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        setenv("KALVOR_HUGE_PAGE_CHILD", "1", 1);
        unsetenv("GLIBC_TUNABLES");
        char self[] = "test_platform";
        char filter[] = "--gtest_filter=HugePageHeap.RestartedChildSeesTheTunable";
        char* argv[] = {self, filter, nullptr};
        HugePageHeap::RestartWithHugePages(argv);
        _exit(99);  // not restarted
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "99: no restart; 1: the child's check failed";
}
