#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "play/EventOutput.h"
#include "play/Performance.h"

namespace vantrel::play {

// What the player tells its listener.
struct PlayerNotice {
    enum class Kind {
        Measure,   // a measure begins: `measure` indexes Performance::measures
        Finished,  // the performance played to its end
        Stopped,   // Stop, a new Start or the player's destruction ended it
        Failed,    // the output went away: `problem` says why
    };
    Kind kind = Kind::Measure;
    std::size_t measure = 0;
    std::string problem;
};

// Plays a performance in real time into an output, on a thread of its own.
//
// Threads. Start, Stop, Wait, the queries and the destructor are called from one owner thread
// (the window's UI thread, the command line's main thread). The performance runs on the
// player's thread: it alone calls the output while a performance plays, and it calls the
// listener. The listener must be quick and must not call back into the player (Start and Stop
// wait for that thread); a window hands what it hears to its own thread (a queued signal) or
// polls CurrentMeasure instead. When Stop, a new Start or the destructor returns, the thread has
// ended, every note it started has been released (a note off for each sounding note, then
// Sustain off and All Notes Off on each of the channels 10 to 16), and the output and the
// listener are no longer used by that performance.
class Player {
  public:
    using Listener = std::function<void(const PlayerNotice&)>;

    explicit Player(Listener listener = {});
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // Plays the performance from its start; a performance already playing is stopped first.
    // The player shares the output until this performance ends.
    void Start(Performance performance, std::shared_ptr<EventOutput> output);
    // Stops at once and releases every note; nothing happens when nothing plays.
    void Stop();
    // Waits until the performance ends by itself or the time passes; true when it has ended.
    bool Wait(std::chrono::milliseconds timeout);

    bool Playing() const { return playing_.load(); }
    // The measure playing now (an index into Performance::measures); -1 before the first and
    // once the performance has ended.
    int CurrentMeasure() const { return currentMeasure_.load(); }
    // How the last performance ended; meaningful once Playing() is false.
    PlayerNotice::Kind Outcome() const { return outcome_.load(); }
    // Why the last performance failed; empty unless Outcome() is Failed.
    std::string Problem() const;

  private:
    void Run(const Performance& performance, EventOutput& output);
    // Waits until the moment or a stop request; false on a stop request.
    bool WaitUntil(std::chrono::steady_clock::time_point moment, EventOutput& output,
                   bool& outputGone);
    void Finish(PlayerNotice notice);

    Listener listener_;
    std::thread thread_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;                     // a stop request, or the performance ended
    bool stopRequested_ = false;                       // guarded by mutex_
    bool ended_ = true;                                // guarded by mutex_
    std::string problem_;                              // guarded by mutex_
    std::chrono::steady_clock::time_point nextCheck_;  // the player thread's own
    std::atomic<bool> playing_{false};
    std::atomic<int> currentMeasure_{-1};
    std::atomic<PlayerNotice::Kind> outcome_{PlayerNotice::Kind::Stopped};
};

}  // namespace vantrel::play
