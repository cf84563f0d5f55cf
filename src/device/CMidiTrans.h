#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vantrel {

class CMidiDevice;
class UserPrompt;

// What the protocol waits for; the values are those the device link has always used.
enum class TransferState : std::int32_t {
    None = 0,  // start; a reply whose command does not match the awaited one
    ConnectSent = 1,
    Connected = 2,
    ConnectFailedStatus2 = 3,
    ConnectFailed = 4,
    ListRequested = 5,
    ListComplete = 6,
    ListOutOfOrder = 8,
    HeaderSent = 10,
    HeaderAccepted = 11,
    CapacityRefused = 12,
    HeaderRefusedStatus2 = 13,
    HeaderRefused = 14,
    DataSent = 15,
    DataStored = 16,
    DataFailedStatus2 = 17,
    DataFailed = 18,
    DeleteSent = 27,
    Deleted = 28,
    DeleteFailedStatus2 = 29,
    DeleteFailed = 30,
};

// How the last download went beyond stored or not, for the advice shown with its outcome.
struct DownloadReport {
    int retries = 0;               // tries sent again from the file header
    bool lostAcknowledge = false;  // the last try stopped on an acknowledge that did not come
    std::chrono::milliseconds ackTimeout{0};  // how long the last try awaited each one
};

// The device's System Exclusive protocol over the port layer. Each request is a blocking call
// for its caller (the window's thread keeps pumping events meanwhile) that runs on the link
// worker: it sets the transfer state it waits on, sends, and waits until the reply handler,
// also on the link worker, moves the state to an outcome, the time-out passes or the user
// cancels (CancelLink). LinkIdle is false from the call to its return. All protocol state is
// shared by every handle; each handle holds one reference to the shared CMidiDevice.
class CMidiTrans {
  public:
    static constexpr std::chrono::milliseconds kConnectTimeout{200};
    // For the first entry, and again for each further entry.
    static constexpr std::chrono::milliseconds kSlotListTimeout{1000};
    static constexpr std::chrono::milliseconds kDeleteTimeout{1000};
    static constexpr int kDownloadTimeoutMs = 500;  // what the download workflow passes
    static constexpr std::uintmax_t kMaxDownloadSize = 1u << 24;

    // "Capacity is not allowed!" is shown through `prompt`.
    explicit CMidiTrans(UserPrompt& prompt);
    virtual ~CMidiTrans();
    CMidiTrans(const CMidiTrans&) = delete;
    CMidiTrans& operator=(const CMidiTrans&) = delete;

    CMidiDevice& Device() const { return *device_; }
    // Makes OnDeviceMessage the port layer's SysEx handler (the port chooser does this each
    // time it fills its port lists, before ports are opened).
    void RegisterHandler();

    // Indices into the port layer's tables. Closes whatever was open first.
    [[nodiscard]] bool OpenPorts(std::size_t inputPort, std::size_t outputPort);
    [[nodiscard]] bool RequestConnect(std::string& deviceName);
    [[nodiscard]] bool RequestSlotList(std::vector<std::string>& names);
    // Slots outside 0-255 are refused without sending anything.
    [[nodiscard]] bool DeleteSlot(int slot);
    // Sends the file into the slot: header, then data; true only when the device reports the
    // data stored. Slots outside 0-255 and files that cannot be read fail without sending. A
    // try that loses an acknowledge (and gets no reply that decides it) is sent again from the
    // header, as often as LinkOptions::retries says; a refusal by the device is final.
    [[nodiscard]] bool DownloadFile(const std::filesystem::path& path, int slot, int timeoutMs);
    // Retries and lost acknowledges of the last DownloadFile or StartDownload, once it has
    // returned or finished.
    const DownloadReport& LastDownload() const { return lastDownload_; }
    // DownloadFile without waiting: LinkIdle goes false and the download is queued for the link
    // worker; `finished` runs later on this thread, from CMidiDevice::DeliverNotices after the
    // transfer's steps and messages, with LinkIdle true again.
    void StartDownload(const std::filesystem::path& path, int slot, int timeoutMs,
                       std::function<void(bool stored)> finished);

    // Acknowledged packets a download of a file of this size takes: the header, then the data
    // (892 for a 20474-byte style image), which is one progress step each.
    static std::size_t DownloadPacketCount(std::uintmax_t fileSize);

    // The reply handler, on the link worker.
    static void OnDeviceMessage(std::span<const std::uint8_t> message);
    static TransferState CurrentState();
    // Whether the user cancelled the operation that ran last (or runs now).
    static bool WasCancelled();

  private:
    // Marks the link busy, clears an old cancel and runs the operation on the link worker.
    template <typename Operation>
    bool OnLink(Operation operation);
    bool ConnectOnLink(std::string& deviceName);
    bool SlotListOnLink(std::vector<std::string>& names);
    bool DownloadOnLink(const std::filesystem::path& path, int slot, int timeoutMs);
    // Waits while the state stays `waiting`, up to `timeout`; when `progress` is given, each
    // change of it gives the wait another `timeout`.
    void WaitWhile(TransferState waiting, std::chrono::milliseconds timeout,
                   const std::atomic<std::uint32_t>* progress = nullptr);
    // Sets the waiting state, sends the request and waits for a reply that decides it; true
    // when that reply moved the state to `awaited`.
    bool Exchange(TransferState waiting, std::span<const std::uint8_t> request,
                  std::chrono::milliseconds timeout, TransferState awaited,
                  const std::atomic<std::uint32_t>* progress = nullptr);
    static void SendStatusReply(std::span<const std::uint8_t> reply);
    bool SendFileHeader(int slot, std::uint32_t size, int timeoutMs);
    bool SendFileData(std::span<const std::uint8_t> bytes, int timeoutMs);
    bool TryDownload(std::span<const std::uint8_t> bytes, int slot, int timeoutMs);

    CMidiDevice* device_;
    UserPrompt& prompt_;
    bool lostAcknowledge_ = false;  // the last exchange lost an acknowledge
    // The acknowledge wait of the download try that runs (empty: the link's own).
    std::optional<std::chrono::milliseconds> ackTimeout_;
    DownloadReport lastDownload_;  // written on the link worker, read once it has finished
};

}  // namespace vantrel
