#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "device/MidiPortBackend.h"

namespace vantrel::test {

using Bytes = std::vector<std::uint8_t>;

// A port backend with a device script behind it. Every packet sent is recorded and shown to the
// responder, whose answers (byte chunks) reach the input callback on the backend's own thread,
// in order, as a system's MIDI input thread would bring them.
class FakePortBackend final : public MidiPortBackend {
  public:
    using Responder = std::function<std::vector<Bytes>(std::span<const std::uint8_t> packet)>;

    explicit FakePortBackend(std::vector<std::string> inputs = {"Fake In"},
                             std::vector<std::string> outputs = {"Fake Out"});
    ~FakePortBackend() override;

    void SetResponder(Responder responder);
    // Queues bytes for the input thread.
    void Inject(Bytes chunk);
    // Waits until the input thread has delivered (or dropped) everything queued.
    void Drain();
    std::vector<Bytes> Sent() const;

    // Bytes StopInput hands to the callback, as a system returns a queued buffer on reset.
    Bytes returnedOnStop;
    // How many of the next CloseInput calls fail.
    int closeInputFailures = 0;
    // Backend calls of any kind other than the port lists.
    int portCalls = 0;

    std::vector<std::string> InputPortNames() override { return inputs_; }
    std::vector<std::string> OutputPortNames() override { return outputs_; }
    bool OpenInput(std::size_t index, MidiInputConfig config) override;
    bool StartInput() override;
    bool StopInput() override;
    bool CloseInput() override;
    bool OpenOutput(std::size_t index) override;
    bool CloseOutput() override;
    bool Send(std::span<const std::uint8_t> bytes) override;

  private:
    void Run();

    std::vector<std::string> inputs_;
    std::vector<std::string> outputs_;

    std::mutex deliverMutex_;  // held while the callback runs
    MidiInputCallback callback_;
    bool started_ = false;
    bool outputOpen_ = false;

    mutable std::mutex queueMutex_;
    std::condition_variable queueChanged_;
    std::deque<Bytes> queue_;
    bool busy_ = false;
    bool quit_ = false;
    Responder responder_;
    std::vector<Bytes> sent_;

    std::thread worker_;
};

}  // namespace vantrel::test
