#pragma once

namespace vantrel {

// How the keyboard program waits to be stopped: Ctrl-C or SIGTERM on Linux, Ctrl-C, Ctrl-Break
// or the console closing on Windows. Made before any thread starts, so that on Linux every
// thread inherits the blocked signals and no handler ever runs inside the keyboard or the MIDI
// threads; Wait returns on the main thread.
class StopSignal {
  public:
    StopSignal();
    StopSignal(const StopSignal&) = delete;
    StopSignal& operator=(const StopSignal&) = delete;
    void Wait();
};

}  // namespace vantrel
