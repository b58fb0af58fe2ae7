#include <gtest/gtest.h>

#include <thread>
#include <utility>
#include <vector>

#include "platform/OCommandQueue_Manual.h"

namespace {

using Command = std::pair<int, int64_t>;

class RecordingTarget : public CommandTarget {
  public:
    void OnCommand(int commandId, int64_t argument) override {
        received.emplace_back(commandId, argument);
    }
    std::vector<Command> received;
};

TEST(CommandQueue, DispatchesInPostingOrderWithArguments) {
    OCommandQueue_Manual queue;
    RecordingTarget target;
    EXPECT_FALSE(queue.bDispatchOne(target));
    queue.Post(35100);
    queue.Post(35104, -1);
    queue.Post(35100, int64_t{1} << 40);
    EXPECT_EQ(queue.iPendingCount(), 3u);
    EXPECT_TRUE(queue.bDispatchOne(target));
    EXPECT_EQ(target.received, (std::vector<Command>{{35100, 0}}));
    EXPECT_EQ(queue.iDispatchAll(target), 2);
    EXPECT_EQ(target.received,
              (std::vector<Command>{{35100, 0}, {35104, -1}, {35100, int64_t{1} << 40}}));
    EXPECT_TRUE(queue.Pending().empty());
}

// Posts 35104 ("continue fetching") to itself twice, as the document does while parts wait.
class ReposterTarget : public CommandTarget {
  public:
    explicit ReposterTarget(CommandQueue& queue) : m_queue(queue) {}
    void OnCommand(int commandId, int64_t argument) override {
        received.emplace_back(commandId, argument);
        if (commandId == 35104 && argument < 2) m_queue.Post(35104, argument + 1);
    }
    std::vector<Command> received;

  private:
    CommandQueue& m_queue;
};

TEST(CommandQueue, CommandsPostedWhileDispatchingAreDispatchedInOrder) {
    OCommandQueue_Manual queue;
    ReposterTarget target(queue);
    queue.Post(35104, 0);
    queue.Post(35107, 9);
    EXPECT_EQ(queue.iDispatchAll(target), 4);
    const std::vector<Command> expected{{35104, 0}, {35107, 9}, {35104, 1}, {35104, 2}};
    EXPECT_EQ(target.received, expected);
}

class EndlessTarget : public CommandTarget {
  public:
    explicit EndlessTarget(CommandQueue& queue) : m_queue(queue) {}
    void OnCommand(int commandId, int64_t) override { m_queue.Post(commandId); }

  private:
    CommandQueue& m_queue;
};

TEST(CommandQueue, DispatchAllStopsAtItsLimit) {
    OCommandQueue_Manual queue;
    EndlessTarget target(queue);
    queue.Post(1);
    EXPECT_EQ(queue.iDispatchAll(target, 10), 10);
    EXPECT_EQ(queue.Pending(), (std::vector<Command>{{1, 0}}));
    EXPECT_EQ(queue.iDispatchAll(target, 0), 0);
}

TEST(CommandQueue, RemovePendingAtHeadDropsOnlyLeadingDuplicates) {
    OCommandQueue_Manual queue;
    for (int id : {35107, 35107, 35100, 35107})
        queue.Post(id, id == 35100 ? 5 : 0);
    EXPECT_EQ(queue.iRemovePendingAtHead(35100, 100), 0);  // not at the head
    EXPECT_EQ(queue.iRemovePendingAtHead(35107, 100), 2);
    EXPECT_EQ(queue.Pending(), (std::vector<Command>{{35100, 5}, {35107, 0}}));
    EXPECT_TRUE(queue.bHasPending(35107));  // the one behind 35100 stays
    EXPECT_FALSE(queue.bHasPending(35108));
}

TEST(CommandQueue, RemovePendingAtHeadHonoursItsMaximum) {
    OCommandQueue_Manual queue;
    for (int i = 0; i < 150; ++i)
        queue.Post(35107, i);
    EXPECT_EQ(queue.iRemovePendingAtHead(35107, 100), 100);
    ASSERT_EQ(queue.iPendingCount(), 50u);
    EXPECT_EQ(queue.Pending().front(), (Command{35107, 100}));
    EXPECT_EQ(queue.iRemovePendingAtHead(35107, 0), 0);
    EXPECT_EQ(queue.iRemovePendingAtHead(35107, -3), 0);
    queue.Clear();
    EXPECT_EQ(queue.iRemovePendingAtHead(35107, 100), 0);
}

TEST(CommandQueue, PostsFromOtherThreadsKeepEachThreadsOrder) {
    OCommandQueue_Manual queue;
    RecordingTarget target;
    constexpr int kThreads = 4;
    constexpr int kPerThread = 2000;
    std::vector<std::thread> posters;
    for (int t = 0; t < kThreads; ++t) {
        posters.emplace_back([&queue, t] {
            for (int i = 0; i < kPerThread; ++i)
                queue.Post(35100 + t, i);
        });
    }
    // Drain while the posters run, as the UI thread would.
    while (target.received.size() < static_cast<size_t>(kThreads * kPerThread)) {
        if (queue.bWaitForPost(std::chrono::seconds(10))) queue.iDispatchAll(target);
    }
    for (auto& poster : posters)
        poster.join();

    std::vector<int64_t> next(kThreads, 0);
    for (const auto& [id, argument] : target.received) {
        const int t = id - 35100;
        ASSERT_TRUE(t >= 0 && t < kThreads);
        EXPECT_EQ(argument, next[t]) << "thread " << t;
        next[t] = argument + 1;
    }
    for (int t = 0; t < kThreads; ++t)
        EXPECT_EQ(next[t], kPerThread);
}

TEST(CommandQueue, WaitForPostWakesOnAPostFromAnotherThread) {
    OCommandQueue_Manual queue;
    EXPECT_FALSE(queue.bWaitForPost(std::chrono::milliseconds(1)));
    std::thread poster([&queue] { queue.Post(35108); });
    EXPECT_TRUE(queue.bWaitForPost(std::chrono::seconds(30)));
    poster.join();
    // Already pending: returns at once.
    EXPECT_TRUE(queue.bWaitForPost(std::chrono::milliseconds(0)));
    EXPECT_TRUE(queue.bHasPending(35108));
}

}  // namespace
