#pragma once

#include <iostream>

namespace vantrel::rtmidi {

// The MIDI services print their own complaints when they cannot start (no sound card for ALSA,
// no server for JACK), which a machine without them is not in error about; the backend reports
// what matters through its results. Installs silent error handlers once.
void SilenceMidiServices();

// Keeps RtMidi's own printing to std::cerr quiet for a scope (it prints before it throws).
class QuietCerr {
  public:
    QuietCerr() : saved_(std::cerr.rdbuf(nullptr)) {}
    ~QuietCerr() {
        std::cerr.rdbuf(saved_);
        std::cerr.clear();
    }
    QuietCerr(const QuietCerr&) = delete;
    QuietCerr& operator=(const QuietCerr&) = delete;

  private:
    std::streambuf* saved_;
};

}  // namespace vantrel::rtmidi
