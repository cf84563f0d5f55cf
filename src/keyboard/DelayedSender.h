#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <queue>
#include <span>
#include <thread>
#include <vector>

namespace vantrel {

// Hands byte messages to a delivery function on its own thread, each no earlier than its due
// time and, among messages due at the same time, in the order they were queued. The keyboard
// queues its acknowledges and replies here, so its caller (a MIDI input thread) never waits for
// the other side, and a reply can be held back without holding up later acknowledges.
//
// Queue may be called from any thread, also from inside the delivery function. The delivery
// function runs on the sender's thread with no lock held.
class DelayedSender {
  public:
    using Deliver = std::function<void(std::span<const std::uint8_t>)>;
    using Clock = std::chrono::steady_clock;

    explicit DelayedSender(Deliver deliver);
    ~DelayedSender();  // Stop()
    DelayedSender(const DelayedSender&) = delete;
    DelayedSender& operator=(const DelayedSender&) = delete;

    void Queue(std::vector<std::uint8_t> message, Clock::duration delay);

    // Drops every message not yet delivered; waits for a delivery in progress to finish unless
    // called from the delivery function itself.
    void Discard();

    // Ends the thread; messages not yet delivered are dropped. Idempotent.
    void Stop();

  private:
    struct Pending {
        Clock::time_point due;
        std::uint64_t order;
        std::vector<std::uint8_t> message;
        bool operator>(const Pending& other) const {
            return due != other.due ? due > other.due : order > other.order;
        }
    };

    void Run();

    Deliver deliver_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::priority_queue<Pending, std::vector<Pending>, std::greater<>> queue_;
    std::uint64_t nextOrder_ = 0;
    bool delivering_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace vantrel
