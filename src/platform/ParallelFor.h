// Runs work items on a few threads, each thread taking one contiguous share of the items in
// order. The calling thread takes the first share and waits for the others; an exception of
// any share is rethrown once all have ended. Results stay the same for any thread count when
// each item writes only its own slot.
#pragma once

#include <algorithm>
#include <cstddef>
#include <exception>
#include <thread>
#include <vector>

// Calls share(thread, begin, end) for `threads` contiguous shares of [0, count).
template <typename Share>
void ParallelShares(int threads, size_t count, Share&& share) {
    const size_t n = std::max<size_t>(
        1, std::min<size_t>(static_cast<size_t>(std::max(threads, 1)), std::max<size_t>(count, 1)));
    if (n == 1) {
        share(0, size_t{0}, count);
        return;
    }
    std::vector<std::exception_ptr> errors(n);
    auto run = [&](size_t t) {
        try {
            share(static_cast<int>(t), count * t / n, count * (t + 1) / n);
        } catch (...) {
            errors[t] = std::current_exception();
        }
    };
    std::vector<std::thread> workers;
    workers.reserve(n - 1);
    for (size_t t = 1; t < n; ++t)
        workers.emplace_back(run, t);
    run(0);
    for (std::thread& w : workers)
        w.join();
    for (const std::exception_ptr& e : errors) {
        if (e) std::rethrow_exception(e);
    }
}

// Calls item(i) for every i in [0, count), spread over `threads` threads.
template <typename Item>
void ParallelFor(int threads, size_t count, Item&& item) {
    ParallelShares(threads, count, [&](int, size_t begin, size_t end) {
        for (size_t i = begin; i < end; ++i)
            item(i);
    });
}

// The threads a computation may use: the logical processors, at least 1, at most `limit`.
inline int iUsableThreads(int limit) {
    const int n = static_cast<int>(std::thread::hardware_concurrency());
    return std::clamp(n, 1, std::max(limit, 1));
}
