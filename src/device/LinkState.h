#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

namespace vantrel {

// The link words shared by the port layer, the protocol and the panels, one set per process.
// The MIDI input thread writes some of them while the user-interface thread waits on them, so
// each is atomic, and a writer calls Notify after a change so that a waiter wakes at once
// instead of at the end of its slice.
struct LinkState {
    std::atomic<bool> linkIdle{true};          // no device transaction runs
    std::atomic<bool> deviceConnected{false};  // the last connect succeeded
    std::atomic<bool> packetAcked{false};      // the device acknowledged the last packet
    std::atomic<bool> progressEnabled{false};  // report each acknowledged packet
    // The pacing of LinkOptions, read by the sending thread.
    std::atomic<int> ackTimeoutMs{100};
    std::atomic<int> packetGapMs{0};
    std::atomic<int> downloadRetries{2};

    void Notify();
    // Blocks until Notify, `done` answers true, or `slice` has passed.
    void WaitSlice(std::chrono::milliseconds slice, const std::function<bool()>& done);

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
};

LinkState& Link();

// Marks a device transaction: LinkIdle is false while the object lives and true again on every
// way out of the request.
class LinkBusy {
  public:
    LinkBusy() { Link().linkIdle.store(false); }
    ~LinkBusy() { Link().linkIdle.store(true); }
    LinkBusy(const LinkBusy&) = delete;
    LinkBusy& operator=(const LinkBusy&) = delete;
};

}  // namespace vantrel
