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

bool LinkWorker::Enqueue(Call* call) {
    if (OnWorkerThread())
        return false;
    {
        const std::lock_guard lock(mutex_);
        if (stopped_ || quit_)
            return false;
        calls_.push_back(call);
    }
    Wake();
    return true;
}

void LinkWorker::Post(std::function<void()> job) {
    auto call = std::make_unique<Call>();
    call->posted = std::make_unique<std::function<void()>>(std::move(job));
    call->job = call->posted.get();
    if (!Enqueue(call.get())) {
        (*call->job)();
        return;
    }
    (void)call.release();  // the worker deletes it once it has run
}

void LinkWorker::Run(const std::function<void()>& job, const std::function<void()>& meanwhile) {
    Call call{&job, false, nullptr, nullptr};
    if (!Enqueue(&call)) {
        job();
        return;
    }
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
            if (call->posted) {
                const std::unique_ptr<Call> finished(call);
                continue;
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
