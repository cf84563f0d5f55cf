#include "play/Player.h"

#include <algorithm>
#include <array>
#include <cstdint>

#if defined(__linux__)
#include <pthread.h>
#include <sched.h>
#endif

namespace vantrel::play {

namespace {

using Clock = std::chrono::steady_clock;

// How often a long wait between events asks whether the output is still there.
constexpr std::chrono::milliseconds kOutputCheckInterval{200};

// The notes the performance holds down, counted per channel and key, so that stopping
// releases exactly those.
class SoundingNotes {
  public:
    void Note(const TimedMessage& message) {
        auto& count = counts_[message.bytes[0] & 0x0F][message.bytes[1] & 0x7F];
        if (message.IsNoteOn())
            ++count;
        else if (message.IsNoteOff() && count > 0)
            --count;
    }

    void Release(EventOutput& output) const {
        for (std::uint8_t channel = 0; channel < 16; ++channel) {
            for (std::uint8_t key = 0; key < 128; ++key) {
                if (counts_[channel][key] != 0) {
                    const std::array<std::uint8_t, 3> off{static_cast<std::uint8_t>(0x80 | channel),
                                                          key, 0x40};
                    (void)output.Send(off);
                }
            }
        }
        // Sustain off first: under a held pedal All Notes Off would leave the notes sounding.
        for (int channel = 10; channel <= 16; ++channel) {
            const auto status = static_cast<std::uint8_t>(0xB0 | (channel - 1));
            (void)output.Send(std::array<std::uint8_t, 3>{status, 64, 0});
            (void)output.Send(std::array<std::uint8_t, 3>{status, 123, 0});
        }
    }

  private:
    std::array<std::array<std::uint16_t, 128>, 16> counts_{};
};

// Events are due within a millisecond or two, also on a busy machine: where the user may have
// real-time scheduling (a musician's system usually grants it, as for JACK), the player's
// thread takes it, at a priority below a sound server's own threads; elsewhere it stays an
// ordinary thread. Its waits all sleep, so it never holds a core.
void TakeRealTimePriority() {
#if defined(__linux__)
    sched_param param{};
    param.sched_priority = 5;
    (void)pthread_setschedparam(pthread_self(), SCHED_FIFO, &param);
#endif
}

Clock::time_point MomentOf(Clock::time_point start, const Performance& performance,
                           std::uint32_t tick) {
    return start + std::chrono::duration_cast<Clock::duration>(
                       std::chrono::duration<double>(performance.SecondsAt(tick)));
}

}  // namespace

Player::Player(Listener listener) : listener_(std::move(listener)) {}

Player::~Player() {
    Stop();
}

void Player::Start(Performance performance, std::shared_ptr<EventOutput> output) {
    Stop();
    {
        std::lock_guard lock(mutex_);
        stopRequested_ = false;
        ended_ = false;
        problem_.clear();
    }
    currentMeasure_.store(-1);
    playing_.store(true);
    thread_ = std::thread([this, performance = std::move(performance), output = std::move(output)] {
        Run(performance, *output);
    });
}

void Player::Stop() {
    if (!thread_.joinable())
        return;
    {
        std::lock_guard lock(mutex_);
        stopRequested_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

bool Player::Wait(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return wake_.wait_for(lock, timeout, [this] { return ended_; });
}

std::string Player::Problem() const {
    std::lock_guard lock(mutex_);
    return problem_;
}

bool Player::WaitUntil(Clock::time_point moment, EventOutput& output, bool& outputGone) {
    std::unique_lock lock(mutex_);
    while (!stopRequested_) {
        const Clock::time_point now = Clock::now();
        if (now >= nextCheck_) {
            nextCheck_ = now + kOutputCheckInterval;
            lock.unlock();
            outputGone = !output.StillThere();
            lock.lock();
            if (outputGone)
                return false;
            continue;
        }
        if (moment <= nextCheck_)
            return !wake_.wait_until(lock, moment, [this] { return stopRequested_; });
        if (wake_.wait_until(lock, nextCheck_, [this] { return stopRequested_; }))
            return false;
    }
    return false;
}

void Player::Run(const Performance& performance, EventOutput& output) {
    TakeRealTimePriority();
    SoundingNotes sounding;
    const Clock::time_point start = Clock::now();
    nextCheck_ = start + kOutputCheckInterval;
    std::size_t nextEvent = 0;
    std::size_t nextMeasure = 0;
    bool outputGone = false;
    bool stopped = false;
    while (!stopped && !outputGone) {
        const bool measureFirst =
            nextMeasure < performance.measures.size() &&
            (nextEvent >= performance.events.size() ||
             performance.measures[nextMeasure].startTick <= performance.events[nextEvent].tick);
        if (measureFirst) {
            const PlayedMeasure& measure = performance.measures[nextMeasure];
            if (!WaitUntil(MomentOf(start, performance, measure.startTick), output, outputGone)) {
                stopped = !outputGone;
                break;
            }
            currentMeasure_.store(static_cast<int>(nextMeasure));
            if (listener_)
                listener_({PlayerNotice::Kind::Measure, nextMeasure, {}});
            ++nextMeasure;
        } else if (nextEvent < performance.events.size()) {
            const TimedMessage& event = performance.events[nextEvent];
            if (!WaitUntil(MomentOf(start, performance, event.tick), output, outputGone)) {
                stopped = !outputGone;
                break;
            }
            if (!output.Send(event.Bytes())) {
                outputGone = true;
                break;
            }
            sounding.Note(event);
            ++nextEvent;
        } else {
            stopped =
                !WaitUntil(MomentOf(start, performance, performance.endTick), output, outputGone) &&
                !outputGone;
            break;
        }
    }
    sounding.Release(output);
    if (outputGone) {
        std::string problem = output.Problem();
        if (problem.empty())
            problem = "the output stopped taking events";
        Finish({PlayerNotice::Kind::Failed, 0, std::move(problem)});
    } else {
        Finish({stopped ? PlayerNotice::Kind::Stopped : PlayerNotice::Kind::Finished, 0, {}});
    }
}

void Player::Finish(PlayerNotice notice) {
    currentMeasure_.store(-1);
    outcome_.store(notice.kind);
    {
        std::lock_guard lock(mutex_);
        problem_ = notice.problem;
    }
    if (listener_)
        listener_(notice);
    playing_.store(false);
    {
        std::lock_guard lock(mutex_);
        ended_ = true;
    }
    wake_.notify_all();
}

}  // namespace vantrel::play
