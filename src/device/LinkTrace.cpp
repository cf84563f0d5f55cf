#include "device/LinkTrace.h"

#include <algorithm>
#include <cstdio>

#include "common/AtomicFile.h"

namespace vantrel {

std::string HexBytes(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 3);
    for (const std::uint8_t byte : bytes) {
        if (!text.empty())
            text.push_back(' ');
        text.push_back(kDigits[byte >> 4]);
        text.push_back(kDigits[byte & 0x0F]);
    }
    return text;
}

void LinkTrace::Start(std::size_t maxLines) {
    const std::lock_guard lock(mutex_);
    lines_.clear();
    maxLines_ = std::max<std::size_t>(maxLines, 1);
    start_ = std::chrono::steady_clock::now();
    recording_.store(true);
}

void LinkTrace::Stop() {
    recording_.store(false);
}

void LinkTrace::Outgoing(std::span<const std::uint8_t> packet) {
    if (Recording())
        Add("out  ", HexBytes(packet));
}

void LinkTrace::Incoming(std::span<const std::uint8_t> bytes) {
    if (Recording())
        Add("in   ", HexBytes(bytes));
}

void LinkTrace::Event(std::string_view text) {
    if (Recording())
        Add("state", text);
}

void LinkTrace::Add(std::string_view kind, std::string_view text) {
    const std::lock_guard lock(mutex_);
    const auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start_);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%10.3f ", static_cast<double>(elapsed.count()) / 1000.0);
    std::string line(stamp);
    line.append(kind).append(" ").append(text);
    lines_.push_back(std::move(line));
    while (lines_.size() > maxLines_)
        lines_.pop_front();
}

std::vector<std::string> LinkTrace::Lines() const {
    const std::lock_guard lock(mutex_);
    return {lines_.begin(), lines_.end()};
}

bool LinkTrace::SaveTo(const std::filesystem::path& path) const {
    std::string text;
    for (const std::string& line : Lines())
        text.append(line).push_back('\n');
    return WriteFileAtomically(
        path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

LinkTrace& Trace() {
    static LinkTrace trace;
    return trace;
}

}  // namespace vantrel
