#include "device/CMidiTrans.h"

#include <algorithm>
#include <string>

#include "common/AtomicFile.h"
#include "common/UserPrompt.h"
#include "device/CMidiDevice.h"
#include "device/LinkOptions.h"
#include "device/LinkState.h"
#include "device/LinkTrace.h"
#include "device/ProtocolState.h"
#include "device/SysExProtocol.h"

namespace vantrel {

CMidiTrans::CMidiTrans(UserPrompt& prompt)
    : device_(CMidiDevice::AcquireDevice()), prompt_(prompt) {}

CMidiTrans::~CMidiTrans() {
    CMidiDevice::ReleaseDevice();
}

void CMidiTrans::RegisterHandler() {
    device_->SetSysExHandler(&CMidiTrans::OnDeviceMessage);
}

std::size_t CMidiTrans::DownloadPacketCount(std::uintmax_t fileSize) {
    const auto dataLength = static_cast<std::size_t>(2 * fileSize + sysex::kFrameOverhead);
    return CMidiDevice::PacketCount(sysex::kFileHeaderMessageSize) +
           CMidiDevice::PacketCount(dataLength);
}

TransferState CMidiTrans::CurrentState() {
    return Protocol().transferState.load();
}

bool CMidiTrans::WasCancelled() {
    return Link().cancelRequested.load();
}

template <typename Operation>
bool CMidiTrans::OnLink(Operation operation) {
    const LinkBusy busy;
    Link().cancelRequested.store(false);
    bool result = false;
    device_->RunOnLink([&] { result = operation(); });
    return result;
}

void CMidiTrans::WaitWhile(TransferState waiting, std::chrono::milliseconds timeout,
                           const std::atomic<std::uint32_t>* progress) {
    const auto& state = Protocol().transferState;
    const auto& cancelled = Link().cancelRequested;
    for (;;) {
        const std::uint32_t seen = progress != nullptr ? progress->load() : 0;
        const bool changed = device_->WaitUntil(
            [&] {
                return state.load() != waiting || cancelled.load() ||
                       (progress != nullptr && progress->load() != seen);
            },
            timeout);
        if (!changed || state.load() != waiting || cancelled.load())
            return;
    }
}

void CMidiTrans::SendStatusReply(std::span<const std::uint8_t> reply) {
    CMidiDevice* device = CMidiDevice::Instance();
    if (device != nullptr)
        (void)device->SendPacket(reply);
}

bool CMidiTrans::OpenPorts(std::size_t inputPort, std::size_t outputPort) {
    return OnLink([&] {
        (void)device_->CloseInput();
        if (device_->OpenInput(inputPort)) {
            (void)device_->CloseOutput();
            if (device_->OpenOutput(outputPort) && device_->StartInput())
                return true;
            (void)device_->CloseOutput();
        }
        (void)device_->CloseInput();
        return false;
    });
}

bool CMidiTrans::Exchange(TransferState waiting, std::span<const std::uint8_t> request,
                          std::chrono::milliseconds timeout, TransferState awaited,
                          const std::atomic<std::uint32_t>* progress) {
    // The waiting state is set before sending, so a reply that comes at once is not lost. Any
    // reply that moves the state on decides the request, so the wait ends there, and the rest of
    // a message is not sent after it.
    SetTransferState(waiting);
    const auto& state = Protocol().transferState;
    const SendOutcome sent = device_->SendMessage(
        request, [&state, waiting] { return state.load() != waiting; }, ackTimeout_);
    lostAcknowledge_ = sent == SendOutcome::NoAcknowledge || sent == SendOutcome::LastUnanswered;
    // A message cut short cannot be answered; one whose last acknowledge was lost may have
    // arrived whole all the same.
    if (sent != SendOutcome::NoAcknowledge && sent != SendOutcome::SendFailed &&
        sent != SendOutcome::Cancelled)
        WaitWhile(waiting, timeout, progress);
    return state.load() == awaited;
}

bool CMidiTrans::RequestConnect(std::string& deviceName) {
    return OnLink([&] { return ConnectOnLink(deviceName); });
}

bool CMidiTrans::ConnectOnLink(std::string& deviceName) {
    ProtocolState& protocol = Protocol();
    {
        const std::lock_guard lock(protocol.resultMutex);
        protocol.deviceName.clear();
    }
    if (!Exchange(TransferState::ConnectSent, sysex::MakeConnectRequest(), kConnectTimeout,
                  TransferState::Connected))
        return false;
    const std::lock_guard lock(protocol.resultMutex);
    deviceName = protocol.deviceName;
    return true;
}

bool CMidiTrans::RequestSlotList(std::vector<std::string>& names) {
    return OnLink([&] { return SlotListOnLink(names); });
}

bool CMidiTrans::SlotListOnLink(std::vector<std::string>& names) {
    ProtocolState& protocol = Protocol();
    names.clear();
    {
        const std::lock_guard lock(protocol.resultMutex);
        protocol.slotNames.clear();
    }
    protocol.listEntries.store(0);
    if (!Exchange(TransferState::ListRequested, sysex::MakeSlotListRequest(), kSlotListTimeout,
                  TransferState::ListComplete, &protocol.listEntries))
        return false;
    const std::lock_guard lock(protocol.resultMutex);
    names = protocol.slotNames;
    return true;
}

bool CMidiTrans::DeleteSlot(int slot) {
    const auto request = sysex::MakeDeleteRequest(slot);
    if (!request)
        return false;
    return OnLink([&] {
        return Exchange(TransferState::DeleteSent, *request, kDeleteTimeout,
                        TransferState::Deleted);
    });
}

bool CMidiTrans::DownloadFile(const std::filesystem::path& path, int slot, int timeoutMs) {
    // The header carries only the low 8 bits of the slot: a larger number would overwrite
    // another slot, so it is refused like a delete of such a slot.
    if (!sysex::EncodeSlot(slot))
        return false;
    return OnLink([&] { return DownloadOnLink(path, slot, timeoutMs); });
}

void CMidiTrans::StartDownload(const std::filesystem::path& path, int slot, int timeoutMs,
                               std::function<void(bool stored)> finished) {
    if (!sysex::EncodeSlot(slot)) {
        finished(false);
        return;
    }
    // Busy from here, not from when the worker takes the job up, so a click in between is
    // refused; idle again only where the caller learns the outcome.
    Link().linkIdle.store(false);
    Link().cancelRequested.store(false);
    device_->PostToLink([this, path, slot, timeoutMs, finished = std::move(finished)] {
        bool stored = false;
        try {
            stored = DownloadOnLink(path, slot, timeoutMs);
        } catch (...) {
            stored = false;  // LinkIdle must come back all the same
        }
        device_->PostToCaller([finished, stored] {
            Link().linkIdle.store(true);
            finished(stored);
        });
    });
}

bool CMidiTrans::DownloadOnLink(const std::filesystem::path& path, int slot, int timeoutMs) {
    lastDownload_ = DownloadReport{};
    const auto bytes = ReadWholeFile(path, kMaxDownloadSize);
    if (!bytes)
        return false;
    const LinkOptions options = CurrentLinkOptions();
    // An acknowledge that came too late once may do so again: each try after one waits twice as
    // long for every acknowledge, up to the longest wait the link settings offer.
    lastDownload_.ackTimeout = options.ackTimeout;
    for (int attempt = 0;; ++attempt) {
        ackTimeout_ = lastDownload_.ackTimeout;
        const bool stored = TryDownload(*bytes, slot, timeoutMs);
        ackTimeout_.reset();
        if (stored)
            return true;
        // Only silence is tried again: a state that moved on is the device's own answer.
        const TransferState state = CurrentState();
        const bool unanswered =
            state == TransferState::HeaderSent || state == TransferState::DataSent;
        lastDownload_.lostAcknowledge = lostAcknowledge_ && unanswered && !WasCancelled();
        if (!lastDownload_.lostAcknowledge || attempt >= options.retries)
            return false;
        lastDownload_.ackTimeout =
            std::min(2 * lastDownload_.ackTimeout, LinkOptions::kMaxAckTimeout);
        lastDownload_.retries = attempt + 1;
        Trace().Event("retry " + std::to_string(attempt + 1) + " of " +
                      std::to_string(options.retries) +
                      " from the file header, each acknowledge awaited up to " +
                      std::to_string(lastDownload_.ackTimeout.count()) + " ms");
        (void)device_->WaitUntil([] { return WasCancelled(); },
                                 RetrySettlePause(options.ackTimeout));
        if (WasCancelled())
            return false;
        device_->TransferRestarted(attempt + 1, options.retries);
    }
}

bool CMidiTrans::TryDownload(std::span<const std::uint8_t> bytes, int slot, int timeoutMs) {
    const auto size = static_cast<std::uint32_t>(bytes.size());
    Protocol().pendingFileSize.store(size);
    const bool stored = SendFileHeader(slot, size, timeoutMs) && SendFileData(bytes, timeoutMs);
    Protocol().pendingFileSize.store(0);
    return stored;
}

bool CMidiTrans::SendFileHeader(int slot, std::uint32_t size, int timeoutMs) {
    const auto message = sysex::MakeFileHeaderMessage(static_cast<std::uint8_t>(slot), size);
    if (Exchange(TransferState::HeaderSent, message,
                 std::chrono::milliseconds(std::max(timeoutMs, 0)), TransferState::HeaderAccepted))
        return true;
    if (CurrentState() == TransferState::CapacityRefused)
        device_->PostMessage(prompt_, "Capacity is not allowed!");
    return false;
}

bool CMidiTrans::SendFileData(std::span<const std::uint8_t> bytes, int timeoutMs) {
    // The device stores about 1000 bytes per time-out period.
    const auto timeout = std::chrono::milliseconds(
        std::int64_t{std::max(timeoutMs, 0)} * static_cast<std::int64_t>(bytes.size() / 1000 + 1));
    return Exchange(TransferState::DataSent, sysex::MakeFileDataMessage(bytes), timeout,
                    TransferState::DataStored);
}

}  // namespace vantrel
