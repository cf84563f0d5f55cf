#include "app/WindowPlayer.h"

#include "music/ChordChart.h"
#include "play/PartSources.h"
#include "play/SoundFont.h"
#include "play/SynthOutput.h"

namespace vantrel {

namespace {

play::PartKind KindOf(SubRepository sub) {
    switch (sub) {
        case SubRepository::Intro:
            return play::PartKind::Intro;
        case SubRepository::Ending:
            return play::PartKind::Ending;
        case SubRepository::Fill:
            break;
    }
    return play::PartKind::Fill;
}

}  // namespace

std::shared_ptr<play::EventOutput> OpenDesktopSynth(std::string& problem) {
    const std::vector<std::filesystem::path> candidates = play::DebianSoundFonts();
    const play::SoundFontChoice soundFont = play::ChooseSoundFont(std::nullopt, candidates);
    if (soundFont.path.empty()) {
        problem = soundFont.problem;
        return nullptr;
    }
    return play::SynthOutput::Open(soundFont.path, problem);
}

WindowPlayer::WindowPlayer() : makeOutput_(OpenDesktopSynth) {}

WindowPlayer::~WindowPlayer() {
    // Before the output goes: the player's thread may still be sending into it.
    player_.Stop();
}

void WindowPlayer::SetOutputMaker(OutputMaker make) {
    player_.Stop();
    output_.reset();
    makeOutput_ = std::move(make);
}

std::string WindowPlayer::Play(const std::vector<PlayItem>& parts, const std::string& chart) {
    const music::ChartParseResult parsed = music::ParseChordChart(chart);
    if (!parsed.chart)
        return "Chords: " + parsed.error;
    std::vector<play::PlayPart> converted;
    for (const PlayItem& item : parts) {
        play::PartLoad load = play::LoadPatternFile(item.file, KindOf(item.sub));
        if (!load.Ok()) {
            std::string problem;
            for (const std::string& line : load.problems)
                problem += (problem.empty() ? "" : " ") + line;
            return problem.empty() ? item.file.filename().string() + ": nothing to play" : problem;
        }
        for (play::PlayPart& part : load.parts)
            converted.push_back(std::move(part));
    }
    if (!output_) {
        std::string problem;
        output_ = makeOutput_(problem);
        if (!output_)
            return problem;
    }
    play::Performance performance = play::BuildPerformance(converted, *parsed.chart, {});
    // Stopped first, so the list is not read while the last performance's thread runs.
    player_.Stop();
    measures_ = performance.measures;
    player_.Start(std::move(performance), output_);
    return {};
}

void WindowPlayer::Stop() {
    player_.Stop();
}

std::string WindowPlayer::Progress() const {
    if (!player_.Playing()) {
        if (player_.Outcome() == play::PlayerNotice::Kind::Failed)
            return player_.Problem();
        return {};
    }
    const int measure = player_.CurrentMeasure();
    if (measure < 0 || static_cast<std::size_t>(measure) >= measures_.size())
        return "Starting\u2026";
    const play::PlayedMeasure& played = measures_[static_cast<std::size_t>(measure)];
    return "Measure " + std::to_string(measure + 1) + " of " + std::to_string(measures_.size()) +
           ": " + music::ChordName(played.chord) + " (" + played.part + ")";
}

}  // namespace vantrel
