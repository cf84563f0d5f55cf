#pragma once

#include <atomic>

namespace vantrel {

// The link words shared by the port layer, the protocol and the panels, one set per process.
// The MIDI input thread sets packetAcked while the link worker waits on it, the link worker
// moves the others while the window reads them, and a signal handler may set cancelRequested,
// so each is a lock-free atomic.
struct LinkState {
    std::atomic<bool> linkIdle{true};          // no device transaction runs
    std::atomic<bool> deviceConnected{false};  // the last connect succeeded
    std::atomic<bool> packetAcked{false};      // the device acknowledged the last packet
    std::atomic<bool> progressEnabled{false};  // report each acknowledged packet
    // The pacing of LinkOptions, read by the sending thread.
    std::atomic<int> ackTimeoutMs{100};
    std::atomic<int> packetGapMs{0};
    std::atomic<int> downloadRetries{2};
    // The user asked to stop the running operation (Cancel, Ctrl-C); each new operation
    // starts with it cleared.
    std::atomic<bool> cancelRequested{false};
};

LinkState& Link();

// Asks the running device operation to stop; safe in a signal handler.
inline void CancelLink() {
    Link().cancelRequested.store(true);
}
static_assert(std::atomic<bool>::is_always_lock_free);

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
