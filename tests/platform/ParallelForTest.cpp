// Work spread over threads: every item once, contiguous shares in order, exceptions passed on.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

#include "platform/ParallelFor.h"

TEST(ParallelFor, EveryItemOnceWithAnyThreadCount) {
    for (int threads : {0, 1, 2, 3, 8}) {
        for (size_t count : {size_t{0}, size_t{1}, size_t{5}, size_t{1000}}) {
            std::vector<int> hits(count, 0);
            ParallelFor(threads, count, [&](size_t i) { ++hits[i]; });
            for (size_t i = 0; i < count; ++i)
                ASSERT_EQ(hits[i], 1) << threads << " threads, item " << i;
        }
    }
}

TEST(ParallelFor, SharesAreContiguousAndCoverTheRange) {
    std::vector<std::pair<size_t, size_t>> shares(3);
    std::atomic<int> calls{0};
    ParallelShares(3, 10, [&](int t, size_t begin, size_t end) {
        shares[static_cast<size_t>(t)] = {begin, end};
        ++calls;
    });
    EXPECT_EQ(calls.load(), 3);
    EXPECT_EQ(shares[0].first, 0u);
    EXPECT_EQ(shares[0].second, shares[1].first);
    EXPECT_EQ(shares[1].second, shares[2].first);
    EXPECT_EQ(shares[2].second, 10u);
    // More threads than items: one share per item at most.
    std::atomic<int> used{0};
    ParallelShares(8, 2, [&](int, size_t begin, size_t end) { used += end > begin ? 1 : 0; });
    EXPECT_EQ(used.load(), 2);
}

TEST(ParallelFor, AnExceptionOfAShareReachesTheCaller) {
    std::atomic<int> done{0};
    EXPECT_THROW(ParallelFor(2, 100,
                             [&](size_t i) {
                                 if (i == 75) throw std::runtime_error("item 75");
                                 ++done;
                             }),
                 std::runtime_error);
    // The other share ran to its end before the exception was passed on.
    EXPECT_GE(done.load(), 50);
    EXPECT_GE(iUsableThreads(2), 1);
    EXPECT_LE(iUsableThreads(2), 2);
}
