#include "FakePortBackend.h"

#include <utility>

namespace vantrel::test {

FakePortBackend::FakePortBackend(std::vector<std::string> inputs, std::vector<std::string> outputs)
    : inputs_(std::move(inputs)), outputs_(std::move(outputs)), worker_([this] { Run(); }) {}

FakePortBackend::~FakePortBackend() {
    {
        const std::lock_guard lock(queueMutex_);
        quit_ = true;
    }
    queueChanged_.notify_all();
    worker_.join();
}

void FakePortBackend::SetResponder(Responder responder) {
    const std::lock_guard lock(queueMutex_);
    responder_ = std::move(responder);
}

void FakePortBackend::Inject(Bytes chunk) {
    {
        const std::lock_guard lock(queueMutex_);
        queue_.push_back(std::move(chunk));
    }
    queueChanged_.notify_all();
}

void FakePortBackend::Drain() {
    std::unique_lock lock(queueMutex_);
    queueChanged_.wait(lock, [this] { return queue_.empty() && !busy_; });
}

std::vector<Bytes> FakePortBackend::Sent() const {
    const std::lock_guard lock(queueMutex_);
    return sent_;
}

void FakePortBackend::Run() {
    std::unique_lock lock(queueMutex_);
    for (;;) {
        queueChanged_.wait(lock, [this] { return quit_ || !queue_.empty(); });
        if (quit_)
            return;
        Bytes chunk = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        lock.unlock();
        {
            const std::lock_guard deliver(deliverMutex_);
            if (started_ && callback_)
                callback_(chunk);
        }
        lock.lock();
        busy_ = false;
        queueChanged_.notify_all();
    }
}

bool FakePortBackend::OpenInput(std::size_t index, MidiInputConfig config) {
    ++portCalls;
    const std::lock_guard deliver(deliverMutex_);
    if (index >= inputs_.size() || callback_)
        return false;
    callback_ = std::move(config.onInput);
    return true;
}

bool FakePortBackend::StartInput() {
    ++portCalls;
    const std::lock_guard deliver(deliverMutex_);
    started_ = static_cast<bool>(callback_);
    return started_;
}

bool FakePortBackend::StopInput() {
    ++portCalls;
    const std::lock_guard deliver(deliverMutex_);
    if (!returnedOnStop.empty() && callback_)
        callback_(returnedOnStop);
    started_ = false;
    return true;
}

bool FakePortBackend::CloseInput() {
    ++portCalls;
    if (closeInputFailures > 0) {
        --closeInputFailures;
        return false;
    }
    const std::lock_guard deliver(deliverMutex_);
    started_ = false;
    callback_ = nullptr;
    return true;
}

bool FakePortBackend::OpenOutput(std::size_t index) {
    ++portCalls;
    if (index >= outputs_.size() || outputOpen_)
        return false;
    outputOpen_ = true;
    return true;
}

bool FakePortBackend::CloseOutput() {
    ++portCalls;
    outputOpen_ = false;
    return true;
}

bool FakePortBackend::Send(std::span<const std::uint8_t> bytes) {
    if (!outputOpen_)
        return false;
    std::vector<Bytes> answers;
    {
        const std::lock_guard lock(queueMutex_);
        sent_.emplace_back(bytes.begin(), bytes.end());
        if (responder_)
            answers = responder_(bytes);
        for (auto& answer : answers)
            queue_.push_back(std::move(answer));
    }
    queueChanged_.notify_all();
    return true;
}

}  // namespace vantrel::test
