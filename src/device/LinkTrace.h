#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// A record of a transfer for support: every packet in both directions and every change of the
// protocol's state, one line each, with the milliseconds since recording began:
//      12.345 out   F0 00 21 3D ...
//      12.871 in    F0 00 21 3D 55 52 53 57 08 F7
//      13.002 state HeaderSent -> HeaderAccepted
// One per process. Packets are recorded on the thread that sends or receives them, so lines are
// added under a lock; while recording is off nothing is taken or allocated. The record keeps the
// newest lines, kMaxLines unless Start is given fewer (the window records all the time).
class LinkTrace {
  public:
    static constexpr std::size_t kMaxLines = 200000;

    // Starts a fresh record of at most maxLines lines (at least one).
    void Start(std::size_t maxLines = kMaxLines);
    void Stop();
    bool Recording() const { return recording_.load(std::memory_order_relaxed); }

    void Outgoing(std::span<const std::uint8_t> packet);
    void Incoming(std::span<const std::uint8_t> bytes);
    void Event(std::string_view text);

    std::vector<std::string> Lines() const;
    // Writes the record (atomically: the file is whole or not there). False on failure.
    [[nodiscard]] bool SaveTo(const std::filesystem::path& path) const;

  private:
    void Add(std::string_view kind, std::string_view text);

    std::atomic<bool> recording_{false};
    mutable std::mutex mutex_;
    std::chrono::steady_clock::time_point start_;
    std::deque<std::string> lines_;
    std::size_t maxLines_ = kMaxLines;
};

LinkTrace& Trace();

std::string HexBytes(std::span<const std::uint8_t> bytes);

}  // namespace vantrel
