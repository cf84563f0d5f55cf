#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "device/InputRing.h"
#include "device/LinkWorker.h"
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
    Cancelled,       // the user cancelled; nothing more of the message was sent
    SendFailed,      // the port refused a packet; the rest was not sent
    NoAcknowledge,   // a packet before the last went unacknowledged; the rest was not sent
    LastUnanswered,  // the whole message went out but its last packet was not acknowledged
};

// Receives each complete incoming System Exclusive message (F0h ... F7h) other than an
// acknowledge, on the link worker.
using SysExHandler = std::function<void(std::span<const std::uint8_t> message)>;

// The port layer: one shared instance per process (AcquireDevice / ReleaseDevice). It lists the
// ports, opens, starts and closes them in a fixed order, joins incoming bytes into System
// Exclusive messages for one handler, and sends messages as packets of at most 48 bytes with an
// acknowledge wait after each.
//
// Threads: three meet here.
//  - The backend's input thread runs OnMidiInput only. It joins bytes into messages in a
//    preallocated buffer, sets PacketAcked for an acknowledge, and puts every message into a
//    fixed ring for the link worker: it takes no lock, allocates nothing and never sends.
//  - The link worker (LinkWorker) runs every sending and waiting operation and the SysEx
//    handler, which may send status replies from there at once.
//  - The calling thread (the window's or the command line's) configures the device and calls
//    RunOnLink, directly or through SendMessage, WaitUntil and the protocol; it waits there,
//    running the injected pump and receiving the transfer steps and the messages meant for the
//    user, so a modal box it shows never pauses the worker. Or it posts a job (PostToLink) and
//    goes on: the job's steps, messages and its end (PostToCaller) reach it through the notice
//    wake as queued calls of DeliverNotices.
// Shutdown order: the worker is joined, then the input stopped and closed, then the output, and
// only then does the instance go away.
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
    // PumpMessages calls this on the waiting caller (GUI: process pending events; command
    // line: nothing).
    void SetPump(std::function<void()> pump);
    // Called on the waiting caller's thread for each acknowledged packet while progress is
    // enabled, in order.
    void SetTransferStep(std::function<void()> step);
    // Called on the waiting caller's thread when a download starts again from its header, with
    // the number of this retry and how many are allowed.
    using TransferRestart = std::function<void(int retry, int retries)>;
    void SetTransferRestart(TransferRestart restart);
    // Link worker: reports the restart to the caller.
    void TransferRestarted(int retry, int retries);
    // Where "midiInClose failed" goes; null drops it.
    void SetPrompt(UserPrompt* prompt);
    // The handler runs on the link worker.
    void SetSysExHandler(SysExHandler handler);

    // Runs `job` on the link worker while this thread waits, pumping (unless `pump` is false:
    // quick set-up work that must not dispatch window events) and delivering transfer steps
    // and messages; on the worker itself the job runs at once.
    void RunOnLink(const std::function<void()>& job, bool pump = true);
    bool OnLinkThread() const { return worker_->OnWorkerThread(); }
    // Queues `job` for the link worker and returns at once; the window submits its transfers
    // this way, so its thread never waits for the device.
    void PostToLink(std::function<void()> job);
    // Link worker: leaves `call` for the caller's thread, after the steps and messages left
    // before it (at once off the worker).
    void PostToCaller(std::function<void()> call);
    // Called on the link worker each time it leaves the caller something that no waiting
    // caller may collect; the window queues a call of DeliverNotices on its own thread there.
    // A wake is asked for once until the next delivery.
    void SetNoticeWake(std::function<void()> wake);
    // The caller's thread: runs what the worker left for it (transfer steps, restarts,
    // messages, calls), in order.
    void DeliverNotices();
    // Shows `text` through `prompt` on the waiting caller's thread (at once off the worker).
    void PostMessage(UserPrompt& prompt, std::string text);
    // Returns once the link worker has handed every message queued so far to the handler.
    void SettleInput();
    // Incoming messages lost because the worker fell a whole ring behind.
    std::size_t DroppedInput() const { return ring_.Dropped(); }
    // Incoming messages that were the packet just sent, before any acknowledge of it: the
    // input hears the output (a port wired back to this program, a MIDI thru). They never
    // reach the handler; a keyboard acknowledges a packet before it answers, so an answer
    // that happens to equal the request (the reply to "delete slot 0") is not one of them.
    std::uint32_t EchoesHeard() const { return echoes_.load(); }

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
    // Both run on the link worker (from another thread they are handed to it).
    // A whole message as packets, each acknowledged within the link's acknowledge time-out
    // (LinkOptions), with the link's packet gap after each acknowledge; false (the rest not
    // sent) when a send fails or an acknowledge does not come.
    [[nodiscard]] bool SendMessageAcked(std::span<const std::uint8_t> message);
    // The same, telling how it ended; `stop` (may be empty) is asked before every packet after
    // the first, so that a reply which decides the outcome ends the message early. A cancel of
    // the link is seen before every packet: the packet in flight is still acknowledged, then
    // nothing more is sent.
    // A message that stops before its last packet (Stopped, Cancelled, SendFailed,
    // NoAcknowledge) is ended on the wire before this returns: see CloseCutMessage.
    // `ackTimeout` replaces the link's acknowledge time-out for this message when given.
    [[nodiscard]] SendOutcome SendMessage(
        std::span<const std::uint8_t> message, const std::function<bool()>& stop = {},
        std::optional<std::chrono::milliseconds> ackTimeout = std::nullopt);

    // Input thread: joins incoming bytes and queues each complete message for the worker.
    void OnMidiInput(std::span<const std::uint8_t> chunk);

    bool PumpMessages();
    // On the link worker: hands the queued input to the handler while it waits until `done`
    // answers true (true) or more than `timeout` has passed (false).
    bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

  private:
    // What the worker leaves for the waiting caller, delivered there in order.
    struct Notice {
        enum class Kind { Step, Restart, Message, Call } kind = Kind::Step;
        UserPrompt* prompt = nullptr;
        std::string text;
        std::function<void()> call;
        int retry = 0;
        int retries = 0;
    };

    CMidiDevice();
    void OnInputMessage(std::span<const std::uint8_t> message);
    // Link worker: the queued messages to the trace and (all but acknowledges) the handler.
    void DispatchInput();
    // `awaitsAcknowledge`: a packet of SendMessage, whose echo IsEcho recognises.
    bool SendPacket(std::span<const std::uint8_t> piece, bool awaitsAcknowledge);
    // Link worker, in input order: an acknowledge, or whether the message echoes the last packet.
    void NoteAcknowledge();
    bool IsEcho(std::span<const std::uint8_t> message);
    void PostNotice(Notice notice);
    // Link worker: `sent` (the bytes of a message put on the wire so far) stopped before the
    // message's last packet. A keyboard still holds it unfinished and would take whatever comes
    // next as its rest, so one short packet ends it (sysex::MakeClosingPacket); the keyboard's
    // answer to that damaged message, awaited up to `ackTimeout`, is dropped here so that it is
    // never taken as the answer to the next request. No answer is fine too.
    void CloseCutMessage(std::span<const std::uint8_t> sent, std::chrono::milliseconds ackTimeout);
    void ShowMessage(const std::string& text);
    void ClosePorts();

    std::shared_ptr<MidiPortBackend> backend_;
    std::function<void()> pump_;
    std::function<void()> transferStep_;
    TransferRestart transferRestart_;
    UserPrompt* prompt_ = nullptr;

    std::uint32_t inputCount_ = 0;
    std::uint32_t outputCount_ = 0;
    std::array<PortEntry, kMaxPorts> inputPorts_;
    std::array<PortEntry, kMaxPorts> outputPorts_;

    std::atomic<InputState> inputState_{InputState::Closed};
    std::atomic<OutputState> outputState_{OutputState::Closed};
    std::atomic<bool> inputStopping_{false};

    SysExAssembler assembler_;        // input thread only
    SysExAssembler::Sink inputSink_;  // made once, so that feeding allocates nothing
    InputRing ring_;                  // input thread -> link worker
    std::mutex handlerMutex_;         // link worker against SetSysExHandler
    SysExHandler handler_;
    std::mutex sendMutex_;    // one send at a time; also guards output open/close
    std::mutex noticeMutex_;  // guards the three below
    std::deque<Notice> notices_;
    std::function<void()> noticeWake_;
    bool wakeAsked_ = false;
    // Link worker only: while a cut message is being closed, the next incoming message other
    // than an acknowledge is dropped rather than handed to the handler.
    bool dropNextAnswer_ = false;
    bool answerDropped_ = false;
    // Guarded by sendMutex_: the packet sent last, and whether an acknowledge has been taken
    // from the input since.
    std::array<std::uint8_t, kPacketSize> lastPacket_{};
    std::size_t lastPacketSize_ = 0;
    bool acknowledgedSince_ = false;
    std::atomic<std::uint32_t> echoes_{0};
    std::unique_ptr<LinkWorker> worker_;  // last: it stops before the members it uses go
};

}  // namespace vantrel
