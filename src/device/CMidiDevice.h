#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>

#include "device/MidiPortBackend.h"
#include "device/SysExAssembler.h"

namespace vantrel {

class UserPrompt;

enum class InputState : int { Closed = 0, Open = 1, Started = 2 };
enum class OutputState : int { Closed = 0, Open = 1 };

struct PortEntry {
    std::int32_t id = 0;  // the port's index in the backend's list
    std::string name;     // as the backend reports it
};

// How a message's sending ended.
enum class SendOutcome {
    Sent,            // every packet acknowledged
    Stopped,         // the caller's stop condition held before the next packet
    SendFailed,      // the port refused a packet; the rest was not sent
    NoAcknowledge,   // a packet before the last went unacknowledged; the rest was not sent
    LastUnanswered,  // the whole message went out but its last packet was not acknowledged
};

// Receives each complete incoming System Exclusive message (F0h ... F7h), on the input thread.
using SysExHandler = std::function<void(std::span<const std::uint8_t> message)>;

// The port layer: one shared instance per process (AcquireDevice / ReleaseDevice). It lists the
// ports, opens, starts and closes them in a fixed order, joins incoming bytes into System
// Exclusive messages for one handler, and sends messages as packets of at most 48 bytes with an
// acknowledge wait after each.
//
// Threads: every operation runs on the user-interface thread except OnMidiInput, which the
// backend calls on its input thread, and SendPacket, which the handler may also call from
// there (sends are serialised). Waits block in short slices on the link's condition variable
// between calls of the injected pump, so they neither spin nor freeze the window.
class CMidiDevice {
  public:
    static constexpr std::size_t kMaxPorts = 64;
    static constexpr std::size_t kPacketSize = 48;
    static constexpr std::size_t kFirstPieceSize = 47;
    static constexpr std::size_t kPieceSize = 46;
    static constexpr std::chrono::milliseconds kAckTimeout{100};  // the default of LinkOptions
    static constexpr std::chrono::milliseconds kWaitSlice{5};
    static constexpr int kCloseAttempts = 12;
    static constexpr std::chrono::milliseconds kCloseRetryDelay{10};

    // How many packets SendMessageAcked cuts a message of this length into.
    static std::size_t PacketCount(std::size_t messageLength);

    // The shared instance, created on first use (with no ports until a backend is set); each
    // call adds one reference.
    static CMidiDevice* AcquireDevice();
    // Drops one reference; the last one closes both ports and destroys the instance.
    static void ReleaseDevice();
    // The shared instance or null; for the input thread's reply handler.
    static CMidiDevice* Instance();

    virtual ~CMidiDevice();
    CMidiDevice(const CMidiDevice&) = delete;
    CMidiDevice& operator=(const CMidiDevice&) = delete;

    // Closes both ports, then uses this backend from now on.
    void SetBackend(std::shared_ptr<MidiPortBackend> backend);
    // PumpMessages calls this (GUI: process pending events; command line: nothing).
    void SetPump(std::function<void()> pump);
    // Called on the sending thread after each acknowledged packet while progress is enabled.
    void SetTransferStep(std::function<void()> step);
    // Called on the sending thread when a download starts again from its header.
    void SetTransferRestart(std::function<void()> restart);
    void TransferRestarted();
    // Where "midiInClose failed" goes; null drops it.
    void SetPrompt(UserPrompt* prompt);
    void SetSysExHandler(SysExHandler handler);

    // Closes both ports, then refills both port tables from the backend.
    void EnumeratePorts();
    std::uint32_t InputPortCount() const { return inputCount_; }
    std::uint32_t OutputPortCount() const { return outputCount_; }
    const std::array<PortEntry, kMaxPorts>& InputPorts() const { return inputPorts_; }
    const std::array<PortEntry, kMaxPorts>& OutputPorts() const { return outputPorts_; }

    InputState GetInputState() const { return inputState_.load(); }
    OutputState GetOutputState() const { return outputState_.load(); }

    // Opening, as the protocol's OpenPorts does it: the input with OnMidiInput as callback
    // (state Open), the output (state Open).
    [[nodiscard]] bool OpenInput(std::size_t index);
    [[nodiscard]] bool OpenOutput(std::size_t index);
    [[nodiscard]] bool CloseInput();
    [[nodiscard]] bool CloseOutput();
    [[nodiscard]] bool StartInput();

    // One packet of at most 47 bytes of message (see the cut rules in the .cpp); no wait.
    [[nodiscard]] bool SendPacket(std::span<const std::uint8_t> piece);
    // A whole message as packets, each acknowledged within the link's acknowledge time-out
    // (LinkOptions), with the link's packet gap after each acknowledge; false (the rest not
    // sent) when a send fails or an acknowledge does not come.
    [[nodiscard]] bool SendMessageAcked(std::span<const std::uint8_t> message);
    // The same, telling how it ended; `stop` (may be empty) is asked before every packet after
    // the first, so that a reply which decides the outcome ends the message early.
    [[nodiscard]] SendOutcome SendMessage(std::span<const std::uint8_t> message,
                                          const std::function<bool()>& stop = {});

    // Input thread: joins incoming bytes and hands each complete message to the handler.
    void OnMidiInput(std::span<const std::uint8_t> chunk);

    bool PumpMessages();
    // Pumps and waits until `done` answers true (true) or more than `timeout` has passed
    // (false).
    bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

  private:
    CMidiDevice();
    void DeliverMessage(std::span<const std::uint8_t> message);
    void ShowMessage(const std::string& text);

    std::shared_ptr<MidiPortBackend> backend_;
    std::function<void()> pump_;
    std::function<void()> transferStep_;
    std::function<void()> transferRestart_;
    UserPrompt* prompt_ = nullptr;

    std::uint32_t inputCount_ = 0;
    std::uint32_t outputCount_ = 0;
    std::array<PortEntry, kMaxPorts> inputPorts_;
    std::array<PortEntry, kMaxPorts> outputPorts_;

    std::atomic<InputState> inputState_{InputState::Closed};
    std::atomic<OutputState> outputState_{OutputState::Closed};
    std::atomic<bool> inputStopping_{false};

    SysExAssembler assembler_;  // input thread only
    std::mutex handlerMutex_;
    SysExHandler handler_;
    std::mutex sendMutex_;  // one send at a time; also guards output open/close
};

}  // namespace vantrel
