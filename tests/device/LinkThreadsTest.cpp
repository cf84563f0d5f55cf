// The hand-over between the MIDI input thread and the link worker: the fixed ring of incoming
// messages, and the worker that runs every device operation.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "device/InputRing.h"
#include "device/LinkWorker.h"

namespace vantrel::test {
namespace {

std::vector<std::uint8_t> Numbered(std::uint8_t n, std::size_t size) {
    std::vector<std::uint8_t> message(size, n);
    message.front() = 0xF0;
    message.back() = 0xF7;
    return message;
}

std::vector<std::uint8_t> PopOne(InputRing& ring) {
    std::vector<std::uint8_t> out;
    EXPECT_TRUE(ring.Pop([&](std::span<const std::uint8_t> m) { out.assign(m.begin(), m.end()); }));
    return out;
}

TEST(InputRing, KeepsOrderAndContentAcrossTheWrapAndCountsWhatAFullRingDrops) {
    InputRing ring;
    // Three rounds through the slots, each message of its own length and filling.
    for (int round = 0; round < 3; ++round) {
        for (std::size_t i = 0; i < InputRing::kSlots; ++i)
            ASSERT_TRUE(ring.Push(Numbered(static_cast<std::uint8_t>(i), 10 + i)));
        EXPECT_FALSE(ring.Push(Numbered(99, 10)));
        for (std::size_t i = 0; i < InputRing::kSlots; ++i)
            ASSERT_EQ(PopOne(ring), Numbered(static_cast<std::uint8_t>(i), 10 + i));
        EXPECT_TRUE(ring.Empty());
    }
    EXPECT_EQ(ring.Dropped(), 3u);
    EXPECT_FALSE(ring.Pop([](std::span<const std::uint8_t>) { FAIL(); }));
}

TEST(InputRing, AMessageLongerThanASlotIsDroppedNotCut) {
    InputRing ring;
    EXPECT_TRUE(ring.Push(Numbered(1, InputRing::kMessageCapacity)));
    EXPECT_FALSE(ring.Push(Numbered(2, InputRing::kMessageCapacity + 1)));
    EXPECT_EQ(PopOne(ring).size(), InputRing::kMessageCapacity);
    EXPECT_TRUE(ring.Empty());
    EXPECT_EQ(ring.Dropped(), 1u);
}

TEST(InputRing, OneProducerAndOneConsumerSeeEveryMessageWhole) {
    InputRing ring;
    constexpr int kMessages = 20000;
    std::thread producer([&] {
        for (int i = 0; i < kMessages; ++i) {
            const auto message = Numbered(static_cast<std::uint8_t>(i & 0x7F), 3 + i % 200);
            while (!ring.Push(message))
                std::this_thread::yield();
        }
    });
    int received = 0;
    while (received < kMessages) {
        const bool got = ring.Pop([&](std::span<const std::uint8_t> m) {
            ASSERT_EQ(std::vector<std::uint8_t>(m.begin(), m.end()),
                      Numbered(static_cast<std::uint8_t>(received & 0x7F), 3 + received % 200));
            ++received;
        });
        if (!got)
            std::this_thread::yield();
    }
    producer.join();
    EXPECT_TRUE(ring.Empty());
}

TEST(LinkWorker, RunsJobsOnItsOwnThreadInOrderWhileTheCallerKeepsPumping) {
    std::atomic<int> wakes{0};
    LinkWorker worker([&] { wakes.fetch_add(1); });
    worker.Start();
    std::vector<int> order;
    std::thread::id ranOn;
    int pumped = 0;
    worker.Run(
        [&] {
            ranOn = std::this_thread::get_id();
            EXPECT_TRUE(worker.OnWorkerThread());
            // A job that calls Run again runs the inner job at once instead of waiting for
            // itself.
            worker.Run([&] { order.push_back(1); }, {});
            order.push_back(2);
            worker.SignalCaller();
        },
        [&] { ++pumped; });
    EXPECT_NE(ranOn, std::this_thread::get_id());
    EXPECT_FALSE(worker.OnWorkerThread());
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    EXPECT_GE(pumped, 1);  // at least once after the job, so the last progress is delivered
    EXPECT_GE(wakes.load(), 1);
}

TEST(LinkWorker, AnExceptionReachesTheCallerAndAStoppedWorkerRunsJobsInPlace) {
    LinkWorker worker({});
    worker.Start();
    EXPECT_THROW(worker.Run([] { throw std::runtime_error("lost"); }, {}), std::runtime_error);
    // The worker survives a throwing job.
    bool ran = false;
    worker.Run([&] { ran = true; }, {});
    EXPECT_TRUE(ran);

    worker.Stop();
    std::thread::id ranOn;
    worker.Run([&] { ranOn = std::this_thread::get_id(); }, {});
    EXPECT_EQ(ranOn, std::this_thread::get_id());
}

TEST(LinkWorker, AJobSubmittedFromTheCallersPumpWaitsItsTurn) {
    LinkWorker worker({});
    worker.Start();
    std::vector<int> order;
    bool nested = false;
    worker.Run([&] { order.push_back(1); },
               [&] {
                   if (nested)
                       return;
                   nested = true;  // as a click handled in the window's pump would
                   worker.Run([&] { order.push_back(2); }, {});
               });
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
}

TEST(LinkWorker, PostedJobsRunInOrderOnTheWorkerWithoutACallerWaiting) {
    LinkWorker worker({});
    worker.Start();
    std::vector<int> order;
    std::atomic<bool> onWorker{true};
    for (int i = 0; i < 5; ++i) {
        worker.Post([&, i] {
            onWorker.store(onWorker.load() && worker.OnWorkerThread());
            order.push_back(i);
            if (i == 2)
                throw std::runtime_error("dropped");  // and the worker goes on
        });
    }
    // A waiting call queued behind them returns once they have all run.
    worker.Run([] {}, {});
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_TRUE(onWorker.load());

    // Stop finishes what was posted; after it a post runs in place.
    std::atomic<bool> ranBeforeStop{false};
    worker.Post([&] { ranBeforeStop.store(true); });
    worker.Stop();
    EXPECT_TRUE(ranBeforeStop.load());
    std::thread::id ranOn;
    worker.Post([&] { ranOn = std::this_thread::get_id(); });
    EXPECT_EQ(ranOn, std::this_thread::get_id());
}

}  // namespace
}  // namespace vantrel::test
