// vantrel-cli play: hear a part, or a whole style, the way the keyboard plays it over a chord
// chart: live through FluidSynth, into a WAV file, to a MIDI port, or as a MIDI file.
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "cli/CliCommands.h"
#include "cli/CliInterrupt.h"
#include "cli/CliMidiCommands.h"
#include "cli/CliPlaySource.h"
#include "cli/CliRepositoryParts.h"
#include "device/rtmidi/RtMidiBackend.h"
#include "music/ChordChart.h"
#include "play/Performance.h"
#include "play/PerformanceMidi.h"
#include "play/Player.h"
#include "play/PortOutput.h"
#include "play/SoundFont.h"
#include "play/SynthOutput.h"
#include "play/WavRender.h"

namespace vantrel::cli {

namespace {

struct PlayOptions {
    std::string source;
    std::string part;
    std::string chords;
    std::optional<double> bpm;
    int loops = 1;
    std::string soundFont;
    std::string wav;
    std::string port;
    std::string midi;
    std::string repository;
    bool json = false;
};

std::string TimeSignatureText(std::uint8_t timeSignature) {
    return std::to_string(timeSignature & 0x0F) + "/" +
           std::to_string(1 << std::min(timeSignature >> 4, 6));
}

class Report {
  public:
    Report(const PlayOptions& options, const play::Performance& performance)
        : json_(options.json), performance_(performance) {}

    void Parts(const std::vector<play::PlayPart>& parts) const {
        for (const play::PlayPart& part : parts) {
            const auto& header = part.entry.header;
            if (json_) {
                std::printf(
                    "{\"part\": %s, \"kind\": \"%s\", \"measures\": %u, "
                    "\"time_signature\": \"%s\", \"bpm\": %u}\n",
                    JsonString(part.name).c_str(), play::PartKindName(part.kind), header.measures,
                    TimeSignatureText(header.timeSignature).c_str(), header.tempo);
            } else {
                std::printf("%s: %s, %u measure%s of %s at %u BPM\n", part.name.c_str(),
                            play::PartKindName(part.kind), header.measures,
                            header.measures == 1 ? "" : "s",
                            TimeSignatureText(header.timeSignature).c_str(), header.tempo);
            }
        }
        const std::string chart = music::ChartText(performance_.chart);
        if (json_)
            std::printf("{\"chart\": %s}\n", JsonString(chart).c_str());
        else
            std::printf("Chart: %s\n", chart.c_str());
        std::fflush(stdout);
    }

    void Measure(std::size_t index) const {
        const play::PlayedMeasure& measure = performance_.measures[index];
        const std::string chord = music::ChordName(measure.chord);
        if (json_) {
            std::printf(
                "{\"measure\": %zu, \"of\": %zu, \"part\": %s, \"part_measure\": %u, "
                "\"chord\": %s, \"bpm\": %.6g, \"seconds\": %.3f}\n",
                index + 1, performance_.measures.size(), JsonString(measure.part).c_str(),
                measure.partMeasure + 1, JsonString(chord).c_str(), measure.bpm,
                measure.startSeconds);
        } else {
            std::printf("  measure %zu/%zu  %s %u  %s\n", index + 1, performance_.measures.size(),
                        measure.part.c_str(), measure.partMeasure + 1, chord.c_str());
        }
        std::fflush(stdout);
    }

    void AllMeasures() const {
        for (std::size_t i = 0; i < performance_.measures.size(); ++i)
            Measure(i);
    }

    // The last line: how it ended and where the sound went.
    void Outcome(const std::string& outcome, const std::string& output, const std::string& where,
                 const std::string& note = {}) const {
        if (json_) {
            std::printf(
                "{\"outcome\": \"%s\", \"output\": \"%s\", \"to\": %s, \"seconds\": %.3f}\n",
                outcome.c_str(), output.c_str(), JsonString(where).c_str(),
                performance_.DurationSeconds());
        } else if (!note.empty()) {
            std::printf("%s\n", note.c_str());
        }
        std::fflush(stdout);
    }

  private:
    bool json_;
    const play::Performance& performance_;
};

std::optional<std::filesystem::path> SoundFontFor(const PlayOptions& options) {
    std::optional<std::filesystem::path> given;
    if (!options.soundFont.empty())
        given = options.soundFont;
    const auto candidates = play::DebianSoundFonts();
    const play::SoundFontChoice choice = play::ChooseSoundFont(given, candidates);
    if (choice.path.empty()) {
        std::fprintf(stderr, "%s%s\n", choice.problem.c_str(),
                     given ? "" : ", or give one with --soundfont FILE");
        return std::nullopt;
    }
    return choice.path;
}

int WriteMidi(const PlayOptions& options, const play::Performance& performance,
              const Report& report) {
    report.AllMeasures();
    if (!play::PerformanceToMidi(performance).Save(options.midi)) {
        std::fprintf(stderr, "%s cannot be written\n", options.midi.c_str());
        return kExitFailed;
    }
    report.Outcome("written", "midi", options.midi, "Wrote " + options.midi);
    return kExitOk;
}

int WriteWav(const PlayOptions& options, const play::Performance& performance,
             const Report& report) {
    const auto soundFont = SoundFontFor(options);
    if (!soundFont)
        return kExitFailed;
    report.AllMeasures();
    const auto started = std::chrono::steady_clock::now();
    const play::RenderResult result = play::RenderWav(performance, *soundFont, options.wav);
    if (!result.written) {
        std::fprintf(stderr, "%s\n", result.problem.c_str());
        return kExitFailed;
    }
    const double took =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    char note[256];
    std::snprintf(note, sizeof note, "Wrote %s: %.2f s of sound rendered in %.2f s with %s",
                  options.wav.c_str(), result.seconds, took, soundFont->string().c_str());
    report.Outcome("written", "wav", options.wav, note);
    return kExitOk;
}

// Plays in real time, printing each measure as it begins; Ctrl-C stops at once.
int PlayLive(const play::Performance& performance, std::shared_ptr<play::EventOutput> output,
             const std::string& kind, const std::string& where, const Report& report) {
    InterruptStopsPlaying interrupt;
    play::Player player;
    player.Start(performance, output);
    int shown = -1;
    auto showUpTo = [&](int measure) {
        while (shown < measure) {
            ++shown;
            report.Measure(static_cast<std::size_t>(shown));
        }
    };
    while (!player.Wait(std::chrono::milliseconds(10))) {
        if (InterruptStopsPlaying::Interrupted()) {
            player.Stop();
            report.Outcome("interrupted", kind, where, "Stopped; every note released.");
            return kExitInterrupted;
        }
        const int measure = player.CurrentMeasure();
        if (measure > shown)
            showUpTo(measure);
    }
    switch (player.Outcome()) {
        case play::PlayerNotice::Kind::Failed:
            std::fprintf(stderr, "%s; playing stopped, every note released\n",
                         player.Problem().c_str());
            report.Outcome("failed", kind, where);
            return kExitFailed;
        case play::PlayerNotice::Kind::Finished:
            showUpTo(static_cast<int>(performance.measures.size()) - 1);
            report.Outcome("finished", kind, where);
            return kExitOk;
        default:
            report.Outcome("stopped", kind, where);
            return kExitInterrupted;
    }
}

int PlayToPort(const PlayOptions& options, const play::Performance& performance,
               const Report& report) {
    std::string problem;
    auto output = play::PortOutput::Open(MakeRtMidiBackend("Vantrel"), options.port, problem);
    if (!output) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        return kExitFailed;
    }
    const std::string name = output->PortName();
    if (!options.json)
        std::printf("Playing to MIDI port %s; Ctrl-C stops\n", name.c_str());
    return PlayLive(performance, std::move(output), "port", name, report);
}

int PlayThroughSynth(const PlayOptions& options, const play::Performance& performance,
                     const Report& report) {
    const auto soundFont = SoundFontFor(options);
    if (!soundFont)
        return kExitFailed;
    std::string problem;
    auto output = play::SynthOutput::Open(*soundFont, problem);
    if (!output) {
        std::fprintf(stderr, "%s\nTo hear it later, render it to a file instead: --wav FILE\n",
                     problem.c_str());
        return kExitFailed;
    }
    if (!options.json) {
        std::printf("Playing through FluidSynth (%s) with %s; Ctrl-C stops\n",
                    output->Driver().c_str(), soundFont->string().c_str());
    }
    return PlayLive(performance, std::move(output), "synth", soundFont->string(), report);
}

int RunPlay(const PlayOptions& options) {
    const auto chart = music::ParseChordChart(options.chords);
    if (!chart.chart) {
        std::fprintf(stderr, "--chords: %s\n", chart.error.c_str());
        return kExitUsage;
    }
    const play::PartLoad load = LoadPlaySource(options.source, options.part, options.repository);
    if (!load.Ok()) {
        for (const std::string& problem : load.problems)
            std::fprintf(stderr, "%s\n", problem.c_str());
        if (load.problems.empty())
            std::fprintf(stderr, "%s: nothing to play\n", options.source.c_str());
        return kExitFailed;
    }
    play::PerformanceOptions performanceOptions;
    performanceOptions.bpm = options.bpm;
    performanceOptions.loops = options.loops;
    const play::Performance performance =
        play::BuildPerformance(load.parts, *chart.chart, performanceOptions);
    const Report report(options, performance);
    report.Parts(load.parts);
    if (!options.midi.empty())
        return WriteMidi(options, performance, report);
    if (!options.wav.empty())
        return WriteWav(options, performance, report);
    if (!options.port.empty())
        return PlayToPort(options, performance, report);
    return PlayThroughSynth(options, performance, report);
}

}  // namespace

void RegisterPlayCommand(CLI::App& app, CliContext& context) {
    auto options = std::make_shared<PlayOptions>();
    auto* play = app.add_subcommand(
        "play",
        "Hear a part, or a whole style, the way the keyboard plays it while you hold the chords "
        "of a chart. The part is converted exactly as the import and the upload convert it (in a "
        "private temporary folder; nothing is written into the repository) and played from the "
        "converted pattern: channels 10 and 11 (drums, percussion) as they are, the bass "
        "(channel 12) moved to each chord's root, the chord parts (13-16) moved note by note onto "
        "each chord; an Intro or an Ending plays once in the key of the chart's first chord, a "
        "Fill loops over the chart. Each measure is printed as it begins.\n"
        "Sound goes to the desktop's audio through FluidSynth, or with --wav into a WAV file, "
        "with --port to a MIDI output port, with --midi into a MIDI file. SoundFont: "
        "--soundfont, else /usr/share/sounds/sf2/FluidR3_GM.sf2 (Debian package "
        "fluid-soundfont-gm), else TimGM6mb.sf2 (timgm6mb-soundfont).\n"
        "Ctrl-C stops at once with every note released (exit status 130). Exit status 0 when it "
        "played or wrote to the end, 1 when the part does not convert or the output fails, 2 on "
        "a usage error.");
    play->add_option("SOURCE", options->source,
                     "A pattern MIDI file; either file of a .dat + .sty pair; a style image "
                     "(Total.mix); or a repository entry: intro/NAME, fill/NAME, ending/NAME")
        ->required();
    play->add_option("--part", options->part,
                     "Of a style image: intro, fill1 .. fill8, ending, or all (the default: the "
                     "Intro, each Fill, then the Ending). Of a single pattern: how it plays, "
                     "intro, fill or ending (default: from its folder or the start of its name)");
    play->add_option(
        "--chords", options->chords,
        "The chord chart, one chord per measure: \"C | Am | F | G7\"; % repeats the "
        "last chord; roots with # or b (F#m7, Bb); slash bass C/E. Default: C major 7, "
        "the chord patterns are written on");
    play->add_option("--tempo", options->bpm, "Beats per minute (default: the part's own)")
        ->check(CLI::Range(20.0, 400.0));
    play->add_option("--loops", options->loops, "How many times a Fill goes over the chart")
        ->check(CLI::Range(1, 100));
    play->add_option("--soundfont", options->soundFont, "A General MIDI SoundFont (.sf2)");
    auto* wav = play->add_option("--wav", options->wav,
                                 "Render into this WAV file instead of playing (faster than real "
                                 "time; 44.1 kHz 16-bit stereo, with one second of release tail)");
    auto* port = play->add_option("--port", options->port,
                                  "Play to this MIDI output port in real time (an index or a name "
                                  "from `vantrel-cli ports`, or a unique part of a name)");
    auto* midi = play->add_option("--midi", options->midi,
                                  "Write the performance into this Standard MIDI File instead");
    wav->excludes(port)->excludes(midi);
    port->excludes(midi);
    play->add_flag("--json", options->json,
                   "One JSON object per line: each part, the chart, each measure as it begins, "
                   "then {outcome, output, to, seconds}");
    AddRepositoryOption(*play, options->repository);
    play->callback([options, &context] { context.exitCode = RunPlay(*options); });
}

}  // namespace vantrel::cli
