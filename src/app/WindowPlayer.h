#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "play/EventOutput.h"
#include "play/Performance.h"
#include "play/Player.h"
#include "widgets/PartPlayer.h"

namespace vantrel {

// The window's player: converts each part as the upload does (so what is heard is what the
// keyboard gets; nothing is written beside the parts), lays it over the chord chart and plays it on
// the player's own thread into FluidSynth's live sound. The synthesizer is made at the first Play
// and kept, as loading a SoundFont takes a moment.
class WindowPlayer final : public PartPlayer {
  public:
    // Makes the output at the first Play; null with the reason when there is none.
    using OutputMaker = std::function<std::shared_ptr<play::EventOutput>(std::string& problem)>;

    WindowPlayer();
    ~WindowPlayer() override;

    // Tests play into a recording output instead of the sound card.
    void SetOutputMaker(OutputMaker make);

    std::string Play(const std::vector<PlayItem>& parts, const std::string& chart) override;
    void Stop() override;
    bool Playing() const override { return player_.Playing(); }
    std::string Progress() const override;

  private:
    OutputMaker makeOutput_;
    std::shared_ptr<play::EventOutput> output_;
    std::vector<play::PlayedMeasure> measures_;  // of the performance started last
    play::Player player_;
};

// The desktop's sound: FluidSynth with Debian's General MIDI SoundFont.
std::shared_ptr<play::EventOutput> OpenDesktopSynth(std::string& problem);

}  // namespace vantrel
