// Plays a part to a MIDI port over JACK with `vantrel-cli play --port` and checks what arrives
// against the performance: the same messages in the same order (then the release of every
// channel), and 99 in 100 of them within a tolerance of their time. Prints the timing error's
// median, p99 and largest value.
//   play_over_port CLI PATTERN.mid CHART TOLERANCE_MS
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <thread>

#include <unistd.h>
#include <string>
#include <vector>

#include "device/rtmidi/RtMidiBackend.h"
#include "music/ChordChart.h"
#include "play/PartSources.h"
#include "play/Performance.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Arrival {
    Clock::time_point at;
    std::vector<std::uint8_t> bytes;
};

int Fail(const std::string& text) {
    std::fprintf(stderr, "play_over_port: %s\n", text.c_str());
    return 1;
}

std::string HexOf(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    char part[4];
    for (auto b : bytes) {
        std::snprintf(part, sizeof part, "%02X ", b);
        text += part;
    }
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace vantrel;
    if (argc != 5)
        return Fail("usage: play_over_port CLI PATTERN.mid CHART TOLERANCE_MS");
    const std::string cli = argv[1], pattern = argv[2], chartText = argv[3];
    const double tolerance = std::atof(argv[4]) / 1000.0;

    std::mutex mutex;
    std::vector<Arrival> arrivals;
    arrivals.reserve(100000);
    const std::string portName = "Play Receiver " + std::to_string(::getpid());
    auto receiver = OpenVirtualPortPair(
        "PlayCheck", portName,
        [&](std::span<const std::uint8_t> chunk) {
            const auto now = Clock::now();
            std::lock_guard lock(mutex);
            arrivals.push_back({now, {chunk.begin(), chunk.end()}});
        },
        true);
    if (!receiver || receiver->ApiName() != "jack")
        return Fail("no JACK server to open a port on");

    const std::string command = "'" + cli + "' play '" + pattern + "' --chords '" + chartText +
                                "' --port '" + portName + "' >/dev/null";
    const int status = std::system(command.c_str());
    if (status != 0)
        return Fail("vantrel-cli play --port ended with status " + std::to_string(status));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    receiver.reset();

    const auto load = play::LoadPatternFile(
        pattern, play::KindFromName(std::filesystem::path(pattern).filename().string()));
    if (!load.Ok())
        return Fail("the pattern does not convert");
    const play::Performance performance =
        play::BuildPerformance(load.parts, *music::ParseChordChart(chartText).chart, {});

    // Every event, then sustain off and All Notes Off on each of the channels 10 to 16.
    std::vector<std::vector<std::uint8_t>> expected;
    for (const auto& event : performance.events)
        expected.emplace_back(event.Bytes().begin(), event.Bytes().end());
    for (std::uint8_t channel = 9; channel < 16; ++channel) {
        expected.push_back({static_cast<std::uint8_t>(0xB0 | channel), 64, 0});
        expected.push_back({static_cast<std::uint8_t>(0xB0 | channel), 123, 0});
    }
    if (arrivals.size() != expected.size()) {
        return Fail("received " + std::to_string(arrivals.size()) +
                    " messages, the performance has " + std::to_string(expected.size()));
    }
    for (std::size_t i = 0; i < expected.size(); ++i) {
        if (arrivals[i].bytes != expected[i])
            return Fail("message " + std::to_string(i) + " is " + HexOf(arrivals[i].bytes) +
                        ", the performance has " + HexOf(expected[i]));
    }
    // Each event's arrival against its time in the performance. The port's own delay is the
    // same for every event; the median of the differences stands for it.
    std::vector<double> offsets;
    const Clock::time_point start = arrivals.front().at;
    for (std::size_t i = 0; i < performance.events.size(); ++i) {
        const double arrived = std::chrono::duration<double>(arrivals[i].at - start).count();
        offsets.push_back(arrived - performance.SecondsAt(performance.events[i].tick));
    }
    std::vector<double> sorted = offsets;
    std::sort(sorted.begin(), sorted.end());
    const double delay = sorted[sorted.size() / 2];
    std::vector<double> errors;
    for (double offset : offsets)
        errors.push_back(std::fabs(offset - delay));
    std::sort(errors.begin(), errors.end());
    const double median = errors[errors.size() / 2];
    const double p99 = errors[std::min(errors.size() - 1, errors.size() * 99 / 100)];
    std::printf(
        "%zu events over %.2f s: timing error median %.2f ms, p99 %.2f ms, largest %.2f ms\n",
        performance.events.size(), performance.DurationSeconds(), median * 1000, p99 * 1000,
        errors.back() * 1000);
    // On a machine shared with other work a rare event can be held up far longer than the
    // rest: the tolerance bounds the p99, ten times it the largest.
    if (p99 > tolerance || errors.back() > 10 * tolerance)
        return Fail("events came too far from their time (p99 " + std::to_string(p99 * 1000) +
                    " ms, largest " + std::to_string(errors.back() * 1000) + " ms)");
    return 0;
}
