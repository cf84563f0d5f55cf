#include <cstdio>
#include <filesystem>
#include <memory>

#include "cli/CliMidiCommands.h"
#include "common/Utf8Path.h"
#include "fit/FitMidi.h"
#include "fit/FitReportText.h"
#include "music/ChordChart.h"

namespace vantrel::cli {

namespace {

namespace fs = std::filesystem;

struct FitCommand {
    std::vector<std::string> files;
    std::string folder;
    bool force = false;
    bool json = false;
    bool dryRun = false;
    FitOptions options;
};

std::string JsonCounts(const std::map<int, int>& counts) {
    std::string text = "{";
    for (const auto& [channel, count] : counts) {
        text += (text.size() > 1 ? ", \"" : "\"") + std::to_string(channel) +
                "\": " + std::to_string(count);
    }
    return text + "}";
}

void PrintJson(const std::string& file, const std::string& output, const FitResult& result,
               bool first) {
    std::printf("%s\n  {\"file\": %s, \"output\": %s, \"fits\": %s, ", first ? "" : ",",
                JsonString(file).c_str(), output.empty() ? "null" : JsonString(output).c_str(),
                result.Fits() ? "true" : "false");
    const std::string reason = FitShortfall(result);
    if (!reason.empty())
        std::printf("\"reason\": %s, ", JsonString(reason).c_str());
    std::printf("\"changes\": [");
    for (std::size_t i = 0; i < result.changes.size(); ++i) {
        std::printf("%s{\"kind\": %s, \"detail\": %s}", i ? ", " : "",
                    JsonString(result.changes[i].kind).c_str(),
                    JsonString(result.changes[i].detail).c_str());
    }
    std::map<int, int> channelBytes;
    for (const auto& [channel, bytes] : result.channelBytes)
        channelBytes[channel] = static_cast<int>(bytes);
    std::printf(
        "], \"notes_in\": %s, \"notes_out\": %s, \"bytes\": %zu, \"budget\": %zu, "
        "\"channel_bytes\": %s}",
        JsonCounts(result.notesIn).c_str(), JsonCounts(result.notesOut).c_str(), result.bytes,
        kFitBudget, JsonCounts(channelBytes).c_str());
}

// Fits one file; false when its output does not fit or cannot be written.
bool FitOne(const FitCommand& command, const std::string& file, bool first) {
    const fs::path input = PathFromUtf8(file);
    const fs::path folder = PathFromUtf8(command.folder);
    const FitResult result = FitMidiFile(input, command.options);
    std::string output;
    std::string writeProblem;
    if (!result.refused && result.checkErrors.empty()) {
        output = FittedPath(input, folder).string();
        std::error_code ec;
        if (command.dryRun) {
        } else if (!command.force && fs::exists(PathFromUtf8(output))) {
            writeProblem = output + " exists; use --force to replace it";
        } else if ((!command.folder.empty() && !fs::create_directories(folder, ec) && ec) ||
                   !PlaceFile(result.output, PathFromUtf8(output), command.force)) {
            writeProblem = "cannot write " + output;
        }
    }
    const std::string shortfall = FitShortfall(result);
    if (command.json) {
        PrintJson(file, writeProblem.empty() ? output : std::string(), result, first);
    } else {
        if (result.refused) {
            std::printf("%s: cannot be fitted: %s\n", file.c_str(), result.reason.c_str());
            return false;
        }
        std::printf("%s -> %s%s\n", file.c_str(), output.empty() ? "(not written)" : output.c_str(),
                    command.dryRun ? " (dry run: nothing written)" : "");
        for (const std::string& line : FitReportLines(result))
            std::printf("  %s\n", line.c_str());
    }
    if (!writeProblem.empty())
        std::fprintf(stderr, "%s: %s\n", file.c_str(), writeProblem.c_str());
    return shortfall.empty() && writeProblem.empty();
}

}  // namespace

void RegisterMidiFit(CLI::App& app, CliContext& context) {
    auto command = std::make_shared<FitCommand>();
    auto* fit = app.add_subcommand(
        "fit",
        "Make MIDI files fit the keyboard's pattern rules, writing a new file NAME.fit.mid "
        "beside each input (or into DIR); the input is never changed. In this order: every time "
        "to 192 ticks per quarter note, one track per channel, the first tempo and time "
        "signature at tick 0 of track 0 (defaults when there are none), channels onto 10-16 "
        "(10 stays drums, channels already on 11-16 stay, the others in the order of their first "
        "note onto 12-16 and then 11, the lowest mean pitch as bass on 12; channels without "
        "notes are left out), notes never released ended at the end of their last measure, "
        "--measures, the chords (--chords, --source-chord, --key), --thin-bends. Prints one line "
        "per change, the notes in and out of each "
        "channel, and the "
        "bytes of the converted output against the 2,048-byte block (2,042 for the eighth Fill). "
        "Exit status 0 when every output fits, 1 when one cannot be made to fit (with the "
        "reason), 2 on a usage error.\n" +
            MidiSizeCapText());
    fit->add_option("FILE", command->files, "MIDI files")->required();
    fit->add_option("-o,--output", command->folder,
                    "Folder for the fitted files (created if missing)");
    fit->add_flag("--force", command->force, "Replace an existing NAME.fit.mid");
    auto measures = std::make_shared<std::string>();
    fit->add_option("--measures", *measures,
                    "Keep the first N measures, or measures FROM-TO (counted from 1): the tempo, "
                    "time signature, programs and controllers in force at FROM move to tick 0, "
                    "notes sounding across either edge are cut there; a time signature change "
                    "inside the range is refused");
    fit->add_option("--tempo", command->options.tempoBpm,
                    "Tempo in BPM when the file has none (default 120)")
        ->check(CLI::Range(1.0, 999.0));
    auto signature = std::make_shared<std::string>();
    auto map = std::make_shared<std::string>();
    auto drop = std::make_shared<std::string>();
    fit->add_option("--time-signature", *signature,
                    "Time signature N/D when the file has none (default 4/4)");
    fit->add_option("--map", *map,
                    "Channel placements SRC=DST,... (DST 10-16), before the default rule");
    fit->add_option("--drop", *drop, "Channels CH,... to leave out (their notes are counted)");
    fit->add_flag("--json", command->json,
                  "One JSON array of {file, output, fits, reason, changes: [{kind, detail}], "
                  "notes_in, notes_out, bytes, budget, channel_bytes}");
    fit->add_flag("--thin-bends", command->options.thinBends,
                  "Thin pitch bend, modulation and expression streams: leave out events that "
                  "repeat a value or come within a thirty-second note, keeping the last of a run");
    fit->add_flag("--dry-run", command->dryRun, "Print the changes and write nothing");
    auto chords = std::make_shared<std::string>();
    auto key = std::make_shared<std::string>();
    auto minorAs = std::make_shared<std::string>();
    fit->add_option("--chords", *chords,
                    "The chord of each measure kept, as a chart: \"G | D | Em | C\" (one chord a "
                    "measure, % repeats the one before); without it the chords are detected from "
                    "the bass and chord channels 12-16 and reported with how sure each is");
    auto* source = fit->add_flag(
        "--source-chord", command->options.sourceChord,
        "For Fills and Main parts: move the bass and chord notes (channels 12-16) of every "
        "measure from its chord onto C major 7, tone by tone, so that the keyboard plays them "
        "back over whatever chord is held; a bass line (walking, or moving between notes) begins "
        "every measure on C, even where it began it on another chord tone; a pedal stays. "
        "Measures with two chords or none clear are left as they are, with a warning (give "
        "--chords to decide them). Drums never move");
    auto* keyOption = fit->add_option(
        "--key", *key,
        "For Intro and Ending: move every channel but the drums by one interval from the key "
        "(auto: detected from the whole part; or G, Em, F#m, ...) into C major, or A minor for a "
        "minor key; the chord changes stay");
    fit->add_option("--minor-as", *minorAs,
                    "With --key: a minor key goes to a (A minor, the "
                    "default) or c (C minor)")
        ->check(CLI::IsMember({"a", "c"}));
    source->excludes(keyOption);
    fit->callback([command, measures, signature, map, drop, chords, key, minorAs, &context] {
        std::string problem;
        if (!chords->empty()) {
            const music::ChartParseResult chart = music::ParseChordChart(*chords);
            if (chart.chart)
                command->options.chart = chart.chart;
            else
                problem = "--chords: " + chart.error;
        }
        if (problem.empty() && !key->empty())
            problem = ParseKeyChoice(*key, command->options);
        command->options.minorAsC = *minorAs == "c";
        if (!measures->empty())
            problem = ParseMeasureRange(*measures, command->options);
        if (problem.empty() && !signature->empty())
            problem = ParseTimeSignature(*signature, command->options);
        if (problem.empty() && !map->empty())
            problem = ParseChannelMap(*map, command->options.channelMap);
        if (problem.empty() && !drop->empty())
            problem = ParseChannelList(*drop, command->options.dropChannels);
        if (!problem.empty()) {
            std::fprintf(stderr, "%s\n", problem.c_str());
            context.exitCode = kExitUsage;
            return;
        }
        if (command->json)
            std::printf("[");
        for (std::size_t i = 0; i < command->files.size(); ++i) {
            if (!FitOne(*command, command->files[i], i == 0))
                context.exitCode = kExitFailed;
        }
        if (command->json)
            std::printf("\n]\n");
    });
}

}  // namespace vantrel::cli
