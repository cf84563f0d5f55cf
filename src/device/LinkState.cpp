#include "device/LinkState.h"

namespace vantrel {

void LinkState::Notify() {
    // Taking the lock orders the change before a waiter's predicate check, so a wake-up is not
    // lost between its check and its wait.
    { const std::lock_guard lock(mutex_); }
    changed_.notify_all();
}

void LinkState::WaitSlice(std::chrono::milliseconds slice, const std::function<bool()>& done) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, slice, done);
}

LinkState& Link() {
    static LinkState state;
    return state;
}

}  // namespace vantrel
