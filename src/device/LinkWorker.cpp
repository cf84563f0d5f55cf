#include "device/LinkWorker.h"

#include <utility>

namespace vantrel {

namespace {
// How often a waiting caller runs its `meanwhile` when the worker has nothing to report.
constexpr std::chrono::milliseconds kCallerSlice{5};
// How long the idle worker sleeps before it looks again without being woken.
constexpr std::chrono::milliseconds kIdleSlice{50};
}  // namespace

LinkWorker::LinkWorker(std::function<void()> onWake) : onWake_(std::move(onWake)) {}

void LinkWorker::Start() {
    thread_ = std::thread([this] { Loop(); });
    id_.store(thread_.get_id());
}

LinkWorker::~LinkWorker() {
    Stop();
}

void LinkWorker::Stop() {
    {
        const std::lock_guard lock(mutex_);
        if (stopped_)
            return;
        quit_ = true;
    }
    Wake();
    if (thread_.joinable())
        thread_.join();
    const std::lock_guard lock(mutex_);
    stopped_ = true;
    id_.store({});
}

void LinkWorker::WaitForWake(std::chrono::milliseconds slice) {
    if (wake_.try_acquire_for(slice)) {
        // Several wakes may have piled up; one look serves them all.
        while (wake_.try_acquire()) {
        }
    }
}

void LinkWorker::SignalCaller() {
    {
        const std::lock_guard lock(mutex_);
        ++signals_;
    }
    callerWake_.notify_all();
}

void LinkWorker::Run(const std::function<void()>& job, const std::function<void()>& meanwhile) {
    bool atOnce = OnWorkerThread();
    Call call{&job, false, nullptr};
    {
        const std::lock_guard lock(mutex_);
        atOnce = atOnce || stopped_ || quit_;
        if (!atOnce)
            calls_.push_back(&call);
    }
    if (atOnce) {
        job();
        return;
    }
    Wake();
    for (;;) {
        bool done = false;
        {
            std::unique_lock lock(mutex_);
            const std::uint64_t seen = signals_;
            callerWake_.wait_for(lock, kCallerSlice, [&] { return call.done || signals_ != seen; });
            done = call.done;
        }
        if (meanwhile)
            meanwhile();
        if (done)
            break;
    }
    if (call.failure)
        std::rethrow_exception(call.failure);
}

void LinkWorker::Loop() {
    id_.store(std::this_thread::get_id());
    for (;;) {
        WaitForWake(kIdleSlice);
        if (onWake_)
            onWake_();
        for (;;) {
            Call* call = nullptr;
            {
                const std::lock_guard lock(mutex_);
                if (calls_.empty()) {
                    if (quit_)
                        return;
                    break;
                }
                call = calls_.front();
                calls_.pop_front();
            }
            try {
                (*call->job)();
            } catch (...) {
                call->failure = std::current_exception();
            }
            {
                const std::lock_guard lock(mutex_);
                call->done = true;
            }
            callerWake_.notify_all();
        }
    }
}

}  // namespace vantrel
