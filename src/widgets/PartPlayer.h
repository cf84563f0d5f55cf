#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "repository/SubRepository.h"

namespace vantrel {

// One part to hear: a pattern file and the sub-repository it plays as (an Intro or an Ending
// once, a Fill over the chart).
struct PlayItem {
    std::filesystem::path file;
    SubRepository sub = SubRepository::Fill;
};

// What the window's Play controls ask of the program's player; the frame implements it, so a
// pane reaches the player without knowing where it lives. Every call is made on the window's
// thread and returns at once: the sound plays on a thread of its own.
class PartPlayer {
  public:
    virtual ~PartPlayer() = default;

    // Plays the parts one after the other over the chord chart, replacing whatever plays. Empty
    // when it has started; otherwise what the user should read (the chart's error, why a part
    // does not convert, which package brings a SoundFont), and nothing plays.
    virtual std::string Play(const std::vector<PlayItem>& parts, const std::string& chart) = 0;
    // Stops at once with every note released; nothing happens when nothing plays.
    virtual void Stop() = 0;
    virtual bool Playing() const = 0;
    // The measure playing now, as the user reads it ("Measure 3 of 8: Am"); empty when nothing
    // plays. A problem that ended the sound (the audio device went away) is said here once.
    virtual std::string Progress() const = 0;
};

}  // namespace vantrel
