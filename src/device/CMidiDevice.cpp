#include "device/CMidiDevice.h"

#include <algorithm>
#include <thread>
#include <utility>

#include "common/UserPrompt.h"
#include "device/LinkState.h"
#include "device/LinkTrace.h"
#include "device/SysExProtocol.h"

namespace vantrel {

namespace {

constexpr std::uint8_t kSysExStart = 0xF0;
constexpr std::uint8_t kSysExEnd = 0xF7;
constexpr int kOutputCloseRetries = 11;

std::mutex instanceMutex;
std::atomic<CMidiDevice*> instance{nullptr};
int referenceCount = 0;

void FillTable(std::array<PortEntry, CMidiDevice::kMaxPorts>& table, std::uint32_t& count,
               const std::vector<std::string>& names) {
    // The tables hold 64 ports a direction; ports beyond that are not offered.
    count = static_cast<std::uint32_t>(std::min(names.size(), CMidiDevice::kMaxPorts));
    table.fill(PortEntry{});
    for (std::uint32_t i = 0; i < count; ++i) {
        table[i] = PortEntry{static_cast<std::int32_t>(i), names[i]};
    }
}

}  // namespace

std::size_t CMidiDevice::PacketCount(std::size_t messageLength) {
    if (messageLength == 0)
        return 0;
    if (messageLength <= kFirstPieceSize)
        return 1;
    return 1 + (messageLength - kFirstPieceSize + kPieceSize - 1) / kPieceSize;
}

CMidiDevice* CMidiDevice::AcquireDevice() {
    const std::lock_guard lock(instanceMutex);
    if (instance.load() == nullptr)
        instance.store(new CMidiDevice());
    ++referenceCount;
    return instance.load();
}

void CMidiDevice::ReleaseDevice() {
    CMidiDevice* doomed = nullptr;
    {
        const std::lock_guard lock(instanceMutex);
        if (referenceCount <= 0 || --referenceCount > 0)
            return;
        doomed = instance.load();
        // The worker ends first, then input stops, before the instance (and the buffers the
        // callback uses) goes away.
        doomed->ClosePorts();
        instance.store(nullptr);
    }
    delete doomed;
}

CMidiDevice* CMidiDevice::Instance() {
    return instance.load();
}

CMidiDevice::CMidiDevice()
    : inputSink_([this](std::span<const std::uint8_t> message) { OnInputMessage(message); }),
      worker_(std::make_unique<LinkWorker>([this] { DispatchInput(); })) {
    // Only now that worker_ holds it may the thread run: DispatchInput reads worker_.
    worker_->Start();
}

CMidiDevice::~CMidiDevice() {
    ClosePorts();
}

void CMidiDevice::ClosePorts() {
    worker_->Stop();
    (void)CloseInput();
    (void)CloseOutput();
}

void CMidiDevice::SetBackend(std::shared_ptr<MidiPortBackend> backend) {
    RunOnLink(
        [&] {
            (void)CloseInput();
            (void)CloseOutput();
            const std::lock_guard lock(sendMutex_);
            backend_ = std::move(backend);
        },
        false);
}

void CMidiDevice::SetPump(std::function<void()> pump) {
    pump_ = std::move(pump);
}

void CMidiDevice::SetTransferStep(std::function<void()> step) {
    transferStep_ = std::move(step);
}

void CMidiDevice::SetTransferRestart(TransferRestart restart) {
    transferRestart_ = std::move(restart);
}

void CMidiDevice::TransferRestarted(int retry, int retries) {
    if (Link().progressEnabled.load())
        PostNotice({Notice::Kind::Restart, nullptr, {}, {}, retry, retries});
}

void CMidiDevice::SetPrompt(UserPrompt* prompt) {
    prompt_ = prompt;
}

void CMidiDevice::SetSysExHandler(SysExHandler handler) {
    const std::lock_guard lock(handlerMutex_);
    handler_ = std::move(handler);
}

void CMidiDevice::ShowMessage(const std::string& text) {
    if (prompt_ != nullptr)
        PostMessage(*prompt_, text);
}

void CMidiDevice::PostMessage(UserPrompt& prompt, std::string text) {
    if (OnLinkThread())
        PostNotice({Notice::Kind::Message, &prompt, std::move(text), {}});
    else
        prompt.Message(text);
}

void CMidiDevice::PostToLink(std::function<void()> job) {
    worker_->Post(std::move(job));
}

void CMidiDevice::PostToCaller(std::function<void()> call) {
    if (OnLinkThread())
        PostNotice({Notice::Kind::Call, nullptr, {}, std::move(call)});
    else
        call();
}

void CMidiDevice::SetNoticeWake(std::function<void()> wake) {
    const std::lock_guard lock(noticeMutex_);
    noticeWake_ = std::move(wake);
}

void CMidiDevice::PostNotice(Notice notice) {
    std::function<void()> wake;
    {
        const std::lock_guard lock(noticeMutex_);
        notices_.push_back(std::move(notice));
        if (noticeWake_ && !wakeAsked_) {
            wakeAsked_ = true;
            wake = noticeWake_;
        }
    }
    worker_->SignalCaller();
    if (wake)
        wake();
}

void CMidiDevice::DeliverNotices() {
    // One at a time: a message box opened here delivers the newer notices from its own event
    // loop, and they must still come after the older ones.
    for (;;) {
        Notice notice;
        {
            const std::lock_guard lock(noticeMutex_);
            if (notices_.empty()) {
                wakeAsked_ = false;
                return;
            }
            notice = std::move(notices_.front());
            notices_.pop_front();
        }
        switch (notice.kind) {
            case Notice::Kind::Step:
                if (transferStep_)
                    transferStep_();
                break;
            case Notice::Kind::Restart:
                if (transferRestart_)
                    transferRestart_(notice.retry, notice.retries);
                break;
            case Notice::Kind::Message:
                notice.prompt->Message(notice.text);
                break;
            case Notice::Kind::Call:
                notice.call();
                break;
        }
    }
}

void CMidiDevice::RunOnLink(const std::function<void()>& job, bool pump) {
    if (OnLinkThread()) {
        job();
        return;
    }
    worker_->Run(job, [this, pump] {
        if (pump)
            PumpMessages();
        DeliverNotices();
    });
    DeliverNotices();
}

void CMidiDevice::EnumeratePorts() {
    RunOnLink(
        [this] {
            (void)CloseInput();
            (void)CloseOutput();
            const std::vector<std::string> none;
            FillTable(inputPorts_, inputCount_, backend_ ? backend_->InputPortNames() : none);
            FillTable(outputPorts_, outputCount_, backend_ ? backend_->OutputPortNames() : none);
        },
        false);
}

bool CMidiDevice::OpenInput(std::size_t index) {
    if (!backend_ || inputState_.load() != InputState::Closed)
        return false;
    MidiInputConfig config{[this](std::span<const std::uint8_t> chunk) { OnMidiInput(chunk); }};
    if (!backend_->OpenInput(index, std::move(config)))
        return false;
    inputState_.store(InputState::Open);
    return true;
}

bool CMidiDevice::OpenOutput(std::size_t index) {
    const std::lock_guard lock(sendMutex_);
    if (!backend_ || outputState_.load() != OutputState::Closed)
        return false;
    if (!backend_->OpenOutput(index))
        return false;
    outputState_.store(OutputState::Open);
    return true;
}

bool CMidiDevice::CloseInput() {
    if (inputState_.load() == InputState::Started) {
        // Bytes the stop hands back are ignored by OnMidiInput from here on.
        inputStopping_.store(true);
        if (!backend_->StopInput())
            return false;
        inputState_.store(InputState::Open);
    }
    if (inputState_.load() == InputState::Open) {
        int failures = 0;
        while (!backend_->CloseInput()) {
            if (++failures >= kCloseAttempts) {
                ShowMessage("midiInClose failed");
                return false;
            }
            (void)backend_->StopInput();
            std::this_thread::sleep_for(kCloseRetryDelay);
        }
        inputState_.store(InputState::Closed);
    }
    return true;
}

bool CMidiDevice::CloseOutput() {
    const std::lock_guard lock(sendMutex_);
    if (outputState_.load() != OutputState::Open)
        return true;
    for (int retries = 0; !backend_->CloseOutput(); ++retries) {
        if (retries >= kOutputCloseRetries)
            return false;
        std::this_thread::sleep_for(kCloseRetryDelay);
    }
    outputState_.store(OutputState::Closed);
    return true;
}

bool CMidiDevice::StartInput() {
    if (inputState_.load() != InputState::Open)
        return false;
    // Cleared first: the backend may deliver as soon as it has started.
    inputStopping_.store(false);
    if (!backend_->StartInput()) {
        inputStopping_.store(true);
        return false;
    }
    inputState_.store(InputState::Started);
    return true;
}

// Packet cut rules. The packet holds 48 bytes with F0h preset at byte 0 and F7h at byte 47:
//  - a 47-byte piece (the first piece of a long message, F0h included) fills bytes 0-46;
//  - a 46-byte piece that does not end with F7h (a middle piece) fills bytes 1-46;
//  - any other piece ends a message: sent as it is when it starts with F0h, else after F0h.
bool CMidiDevice::SendPacket(std::span<const std::uint8_t> piece) {
    return SendPacket(piece, false);
}

bool CMidiDevice::SendPacket(std::span<const std::uint8_t> piece, bool awaitsAcknowledge) {
    const std::size_t length = piece.size();
    // Longer pieces would not fit the packet; no caller makes them.
    if (length == 0 || length > kFirstPieceSize)
        return false;
    std::array<std::uint8_t, kPacketSize> packet{};
    packet[0] = kSysExStart;
    packet[kPacketSize - 1] = kSysExEnd;
    std::size_t packetLength = 0;
    if (length == kFirstPieceSize) {
        std::copy(piece.begin(), piece.end(), packet.begin());
        packetLength = kPacketSize;
    } else if (length == kPieceSize && piece.back() != kSysExEnd) {
        std::copy(piece.begin(), piece.end(), packet.begin() + 1);
        packetLength = kPacketSize;
    } else if (piece.front() == kSysExStart) {
        std::copy(piece.begin(), piece.end(), packet.begin());
        packetLength = length;
    } else {
        std::copy(piece.begin(), piece.end(), packet.begin() + 1);
        packetLength = length + 1;
    }
    const std::span<const std::uint8_t> bytes(packet.data(), packetLength);
    const std::lock_guard lock(sendMutex_);
    if (outputState_.load() != OutputState::Open)
        return false;
    Trace().Outgoing(bytes);
    // Only a packet that the keyboard acknowledges before it answers can be told from its echo.
    std::copy(bytes.begin(), bytes.end(), lastPacket_.begin());
    lastPacketSize_ = awaitsAcknowledge ? bytes.size() : 0;
    acknowledgedSince_ = false;
    return backend_->Send(bytes);
}

bool CMidiDevice::SendMessageAcked(std::span<const std::uint8_t> message) {
    return SendMessage(message) == SendOutcome::Sent;
}

SendOutcome CMidiDevice::SendMessage(std::span<const std::uint8_t> message,
                                     const std::function<bool()>& stop,
                                     std::optional<std::chrono::milliseconds> ackTimeout) {
    if (!OnLinkThread()) {
        SendOutcome outcome = SendOutcome::SendFailed;
        RunOnLink([&] { outcome = SendMessage(message, stop, ackTimeout); });
        return outcome;
    }
    LinkState& link = Link();
    const std::chrono::milliseconds ackWait =
        ackTimeout.value_or(std::chrono::milliseconds(link.ackTimeoutMs.load()));
    // Every way out before the last packet ends the message on the wire first.
    const auto cut = [&](SendOutcome outcome, std::size_t sent) {
        if (sent > 0)
            CloseCutMessage(message.first(sent), ackWait);
        return outcome;
    };
    const std::chrono::milliseconds packetGap(link.packetGapMs.load());
    std::size_t offset = 0;
    while (offset < message.size()) {
        if (link.cancelRequested.load())
            return cut(SendOutcome::Cancelled, offset);
        if (offset > 0 && stop && stop())
            return cut(SendOutcome::Stopped, offset);
        const std::size_t limit = offset == 0 ? kFirstPieceSize : kPieceSize;
        const std::size_t size = std::min(limit, message.size() - offset);
        const bool last = offset + size == message.size();
        link.packetAcked.store(false);
        if (!SendPacket(message.subspan(offset, size), true))
            return cut(SendOutcome::SendFailed, offset);
        if (!WaitUntil([&link] { return link.packetAcked.load(); }, ackWait)) {
            if (last)
                return SendOutcome::LastUnanswered;
            return cut(SendOutcome::NoAcknowledge, offset + size);
        }
        if (link.progressEnabled.load())
            PostNotice({Notice::Kind::Step, nullptr, {}, {}});
        offset += size;
        if (!last && packetGap.count() > 0) {
            (void)WaitUntil(
                [&stop, &link] { return (stop && stop()) || link.cancelRequested.load(); },
                packetGap);
        }
    }
    return SendOutcome::Sent;
}

void CMidiDevice::CloseCutMessage(std::span<const std::uint8_t> sent,
                                  std::chrono::milliseconds ackTimeout) {
    Trace().Event("message cut after " + std::to_string(sent.size()) +
                  " bytes: closing it with a short packet");
    if (!SendPacket(sysex::MakeClosingPacket(sent))) {
        Trace().Event("the closing packet could not be sent");
        return;
    }
    dropNextAnswer_ = true;
    answerDropped_ = false;
    const bool answered = WaitUntil([this] { return answerDropped_; }, ackTimeout);
    dropNextAnswer_ = false;
    Trace().Event(answered ? "the keyboard's answer to the cut message dropped"
                           : "no answer to the cut message within " +
                                 std::to_string(ackTimeout.count()) + " ms");
}

void CMidiDevice::OnMidiInput(std::span<const std::uint8_t> chunk) {
    if (inputStopping_.load())
        return;
    assembler_.Feed(chunk, inputSink_);
}

void CMidiDevice::OnInputMessage(std::span<const std::uint8_t> message) {
    // The sender waits on this word alone; the acknowledge still goes through the ring so that
    // the trace shows it in its place.
    if (sysex::IsAcknowledge(message))
        Link().packetAcked.store(true);
    (void)ring_.Push(message);
    worker_->Wake();
}

void CMidiDevice::SettleInput() {
    RunOnLink([this] { DispatchInput(); });
}

void CMidiDevice::DispatchInput() {
    if (!OnLinkThread())
        return;
    while (ring_.Pop([this](std::span<const std::uint8_t> message) {
        Trace().Incoming(message);
        if (sysex::IsAcknowledge(message)) {
            NoteAcknowledge();
            return;
        }
        if (IsEcho(message)) {
            echoes_.fetch_add(1);
            Trace().Event("the packet just sent came back on the input: an echo, not an answer");
            return;
        }
        if (dropNextAnswer_ && !answerDropped_) {
            answerDropped_ = true;
            return;
        }
        const std::lock_guard lock(handlerMutex_);
        if (handler_)
            handler_(message);
    })) {
    }
}

void CMidiDevice::NoteAcknowledge() {
    const std::lock_guard lock(sendMutex_);
    acknowledgedSince_ = true;
}

bool CMidiDevice::IsEcho(std::span<const std::uint8_t> message) {
    const std::lock_guard lock(sendMutex_);
    return !acknowledgedSince_ && lastPacketSize_ != 0 && message.size() == lastPacketSize_ &&
           std::equal(message.begin(), message.end(), lastPacket_.begin());
}

bool CMidiDevice::PumpMessages() {
    if (pump_)
        pump_();
    return true;
}

bool CMidiDevice::WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    if (!OnLinkThread()) {
        bool reached = false;
        RunOnLink([&] { reached = WaitUntil(done, timeout); });
        return reached;
    }
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    for (;;) {
        DispatchInput();
        if (done()) {
            DispatchInput();  // what came with the answer goes to the trace before the next send
            return true;
        }
        const auto elapsed = Clock::now() - start;
        if (elapsed > timeout)
            return false;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(timeout - elapsed);
        worker_->WaitForWake(std::min(kWaitSlice, left + std::chrono::milliseconds(1)));
    }
}

}  // namespace vantrel
