// From Play to the first note: a window's Start on a player whose FluidSynth output (SoundFont
// loaded once, audio driver running) it keeps, to the moment the first note on reaches the
// synthesizer. Runs `runs` times and prints the median and the largest; the SoundFont's load is
// timed once beside it.
//   bench_play_live SOUNDFONT PATTERN.mid [RUNS]
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <vector>

#include "music/ChordChart.h"
#include "play/PartSources.h"
#include "play/Player.h"
#include "play/SynthOutput.h"

namespace {

using Clock = std::chrono::steady_clock;

// Passes every message on and notes when the first note on went through.
class FirstNoteClock final : public vantrel::play::EventOutput {
  public:
    explicit FirstNoteClock(vantrel::play::EventOutput& inner) : inner_(inner) {}
    bool Send(std::span<const std::uint8_t> message) override {
        const bool sent = inner_.Send(message);
        if ((message[0] & 0xF0) == 0x90 && message[2] != 0) {
            std::lock_guard lock(mutex_);
            if (!first_) {
                first_ = Clock::now();
                noted_.notify_all();
            }
        }
        return sent;
    }
    Clock::time_point WaitFirst() {
        std::unique_lock lock(mutex_);
        noted_.wait(lock, [&] { return first_.has_value(); });
        return *first_;
    }

  private:
    vantrel::play::EventOutput& inner_;
    std::mutex mutex_;
    std::condition_variable noted_;
    std::optional<Clock::time_point> first_;
};

// Notes when each message was handed over, to set against its time in the performance.
class ArrivalClock final : public vantrel::play::EventOutput {
  public:
    explicit ArrivalClock(std::size_t expected) { arrivals_.reserve(expected + 64); }
    bool Send(std::span<const std::uint8_t>) override {
        arrivals_.push_back(Clock::now());
        return true;
    }
    const std::vector<Clock::time_point>& Arrivals() const { return arrivals_; }

  private:
    std::vector<Clock::time_point> arrivals_;
};

// How far from its time the player hands each event to its output (no port in between): the
// median and p99 of the differences from the median delay, in milliseconds.
void PrintPlayerTiming(const vantrel::play::Performance& performance) {
    auto clock = std::make_shared<ArrivalClock>(performance.events.size());
    vantrel::play::Player player;
    const auto pressed = Clock::now();
    player.Start(performance, clock);
    while (!player.Wait(std::chrono::milliseconds(100))) {
    }
    std::vector<double> late;
    for (std::size_t i = 0; i < performance.events.size(); ++i) {
        const double due = performance.SecondsAt(performance.events[i].tick);
        late.push_back(std::chrono::duration<double>(clock->Arrivals()[i] - pressed).count() - due);
    }
    std::sort(late.begin(), late.end());
    std::printf(
        "Player timing, %zu events over %.1f s: late by median %.3f ms, p99 %.3f ms, "
        "largest %.3f ms\n",
        late.size(), performance.DurationSeconds(), late[late.size() / 2] * 1000,
        late[late.size() * 99 / 100] * 1000, late.back() * 1000);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace vantrel;
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_play_live SOUNDFONT PATTERN.mid [RUNS]\n");
        return 2;
    }
    const int runs = argc > 3 ? std::atoi(argv[3]) : 20;
    const auto load = play::LoadPatternFile(argv[2], play::PartKind::Fill);
    if (!load.Ok()) {
        std::fprintf(stderr, "the pattern does not convert\n");
        return 1;
    }
    const auto performance =
        play::BuildPerformance(load.parts, *music::ParseChordChart("C | Am | F | G7").chart, {});
    PrintPlayerTiming(performance);
    const auto opening = Clock::now();
    std::string problem;
    std::shared_ptr<play::SynthOutput> synth = play::SynthOutput::Open(argv[1], problem);
    if (!synth) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        return 1;
    }
    const double openMs = std::chrono::duration<double, std::milli>(Clock::now() - opening).count();
    std::vector<double> delays;
    play::Player player;
    for (int run = 0; run < runs; ++run) {
        auto clock = std::make_shared<FirstNoteClock>(*synth);
        const auto pressed = Clock::now();
        player.Start(performance, clock);
        delays.push_back(
            std::chrono::duration<double, std::milli>(clock->WaitFirst() - pressed).count());
        player.Stop();
    }
    std::sort(delays.begin(), delays.end());
    std::printf("FluidSynth output (%s driver) ready in %.0f ms (SoundFont load, once)\n",
                synth->Driver().c_str(), openMs);
    std::printf("Play to first note, %d runs: median %.3f ms, largest %.3f ms\n", runs,
                delays[delays.size() / 2], delays.back());
    return 0;
}
