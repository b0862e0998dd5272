// Work shared among threads: every piece done exactly once whatever runs it, a failure on any thread
// reaching the caller, and recomputes on two threads at once finding what the literal way finds.
#include "gem/gem.h"
#include "gem/parallel.h"
#include "tests/support/design_builders.h"
#include "tests/support/engine_checks.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

TEST(Parallel, EveryPieceIsDoneOnceAlsoWhenTheHelpersAreBusy) {
    constexpr int parts = 4, pieces = 250;
    for (int threads : {1, 2, 8}) {
        std::vector<std::atomic<int>> done(parts * pieces);
        engine::WorkQueue outer(parts, 1);
        engine::RunOnThreads(threads, [&](int) {
            outer.Drain([&](int part) {
                // A job within a job finds the helpers busy: its caller does all of it.
                engine::WorkQueue inner(pieces, 7);
                engine::RunOnThreads(threads, [&](int) {
                    inner.Drain(
                        [&](int i) { return ++done[static_cast<std::size_t>(part * pieces + i)] > 0; });
                });
                return true;
            });
        });
        for (std::size_t i = 0; i < done.size(); ++i)
            ASSERT_EQ(done[i].load(), 1) << "piece " << i << " with " << threads << " threads";
    }
}

TEST(Parallel, AFailureOnAnyThreadReachesTheCallerAndTheHelpersServeOn) {
    for (int threads : {1, 2, 8}) {
        for (int failing : {0, 37, 63}) {
            engine::WorkQueue queue(64, 1);
            auto job = [&](int) {
                queue.Drain([&](int i) {
                    if (i == failing) throw std::runtime_error("piece failed");
                    return true;
                });
            };
            EXPECT_THROW(engine::RunOnThreads(threads, job), std::runtime_error);
        }
        std::atomic<int> sum = 0;
        engine::WorkQueue queue(100, 3);
        engine::RunOnThreads(threads, [&](int) { queue.Drain([&](int i) { return (sum += i) >= 0; }); });
        EXPECT_EQ(sum.load(), 4950);
    }
}

TEST(Parallel, RecomputesOnTwoThreadsAtOnceFindTheLiteralStone) {
    auto reference = SphereDesign(3);
    reference->RecomputeReference();
    auto first = SphereDesign(3), second = SphereDesign(3);
    constexpr int rounds = 5;
    std::thread other([&] {
        for (int round = 0; round < rounds; ++round)
            first->Recompute();
    });
    for (int round = 0; round < rounds; ++round)
        second->Recompute();
    other.join();
    for (const TGem* gem : {first.get(), second.get()}) {
        EXPECT_TRUE(gem->RecomputedFast());
        for (const std::string& difference : EngineDifferences(*gem, *reference))
            ADD_FAILURE() << difference;
    }
}
