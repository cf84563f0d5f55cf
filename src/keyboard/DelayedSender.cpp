#include "keyboard/DelayedSender.h"

#include <utility>

namespace vantrel {

DelayedSender::DelayedSender(Deliver deliver)
    : deliver_(std::move(deliver)), thread_([this] { Run(); }) {}

DelayedSender::~DelayedSender() {
    Stop();
}

void DelayedSender::Queue(std::vector<std::uint8_t> message, Clock::duration delay) {
    {
        std::lock_guard lock(mutex_);
        if (stopping_)
            return;
        queue_.push(Pending{Clock::now() + delay, nextOrder_++, std::move(message)});
    }
    wake_.notify_one();
}

void DelayedSender::Discard() {
    std::unique_lock lock(mutex_);
    queue_ = {};
    if (std::this_thread::get_id() != thread_.get_id()) {
        idle_.wait(lock, [this] { return !delivering_; });
    }
}

void DelayedSender::Stop() {
    {
        std::lock_guard lock(mutex_);
        if (stopping_ && !thread_.joinable())
            return;
        stopping_ = true;
        queue_ = {};
    }
    wake_.notify_one();
    if (thread_.joinable() && std::this_thread::get_id() != thread_.get_id())
        thread_.join();
}

void DelayedSender::Run() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (queue_.empty()) {
            wake_.wait(lock);
            continue;
        }
        const Clock::time_point due = queue_.top().due;
        if (Clock::now() < due) {
            wake_.wait_until(lock, due);
            continue;
        }
        // priority_queue::top is const; the message is moved out just before the pop.
        std::vector<std::uint8_t> message = std::move(const_cast<Pending&>(queue_.top()).message);
        queue_.pop();
        delivering_ = true;
        lock.unlock();
        deliver_(message);
        lock.lock();
        delivering_ = false;
        idle_.notify_all();
    }
}

}  // namespace vantrel
