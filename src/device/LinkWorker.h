#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <semaphore>
#include <thread>

namespace vantrel {

// The one thread that talks to the device. Every device operation runs here, one after the
// other, so nothing the window does (a modal box, a slow repaint) can pause a message halfway;
// and the messages the MIDI input thread has collected are handed to the reply handler here, so
// status replies leave from this thread at once, never from the input thread.
//
// Threads: Wake may be called from any thread, the MIDI input thread included (it takes no lock
// and allocates nothing). Run is called from any other thread and blocks it; the caller's own
// `meanwhile` (progress delivery, for the window its event pump) runs on the caller between
// short slices. Post, from any thread, queues a job and returns at once: the window submits its
// transfers that way and learns of their end from a notice the job leaves (CMidiDevice).
// WaitForWake and SignalCaller belong to the worker.
class LinkWorker {
  public:
    // `onWake` runs on the worker each time it wakes, before it looks for a job. The thread
    // starts with Start, not here: whoever owns the worker must have stored it before the
    // thread can reach it through `onWake`.
    explicit LinkWorker(std::function<void()> onWake);
    ~LinkWorker();
    LinkWorker(const LinkWorker&) = delete;
    LinkWorker& operator=(const LinkWorker&) = delete;

    // Starts the thread; call once, before Run.
    void Start();
    // Runs `job` on the worker and returns when it has finished (an exception it throws is
    // thrown here). On the worker itself, or once stopped, the job runs at once on this thread.
    void Run(const std::function<void()>& job, const std::function<void()>& meanwhile);
    // Queues `job` behind the others and returns; an exception it throws is dropped. Once
    // stopped, the job runs at once on this thread.
    void Post(std::function<void()> job);
    // Finishes the jobs already submitted, then ends and joins the thread.
    void Stop();
    bool OnWorkerThread() const { return std::this_thread::get_id() == id_.load(); }

    // Any thread: wakes the worker from WaitForWake.
    void Wake() { wake_.release(); }
    // Worker: sleeps until Wake or until `slice` has passed.
    void WaitForWake(std::chrono::milliseconds slice);
    // Worker: wakes the caller waiting in Run, so that it runs `meanwhile` now.
    void SignalCaller();

  private:
    struct Call {
        const std::function<void()>* job;
        bool done = false;
        std::exception_ptr failure;
        std::unique_ptr<std::function<void()>> posted;  // owned: nobody waits for this call
    };
    void Loop();
    // Queues the call unless the worker is stopped or is this thread; false: run it here.
    bool Enqueue(Call* call);

    std::function<void()> onWake_;
    std::counting_semaphore<> wake_{0};
    std::mutex mutex_;  // guards the fields below; never taken by the input thread
    std::condition_variable callerWake_;
    std::deque<Call*> calls_;
    std::uint64_t signals_ = 0;
    bool quit_ = false;
    bool stopped_ = false;
    std::thread thread_;
    std::atomic<std::thread::id> id_{};
};

}  // namespace vantrel
