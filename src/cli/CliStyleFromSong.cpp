// vantrel-cli style-from-song: the parts of a style cut from one song, each fitted with the mode
// that suits it, written into a folder and, on request, imported into the repository.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "cli/CliMidiCommands.h"
#include "cli/CliRepositoryParts.h"
#include "common/AtomicFile.h"
#include "common/GroupedNumber.h"
#include "common/TerminalPrompt.h"
#include "common/Utf8Path.h"
#include "fit/FitReportText.h"
#include "fit/StyleFromSong.h"
#include "midi/CMidiReader.h"
#include "repository/ImportParts.h"

namespace vantrel::cli {

namespace {

namespace fs = std::filesystem;

struct StyleCommand {
    std::string song;
    std::string intro;
    std::vector<std::string> fills;
    std::string ending;
    std::string folder;
    std::string repository;
    bool import = false;
    bool force = false;
    bool dryRun = false;
    std::string drop;
    std::string map;
};

std::string AddPart(std::vector<SongPart>& parts, SongPartKind kind, const std::string& text,
                    const char* option) {
    FitOptions range;
    if (const std::string problem = ParseMeasureRange(text, range); !problem.empty())
        return std::string(option) + ": " + problem.substr(problem.find("takes"));
    SongPart part;
    part.kind = kind;
    part.from = range.firstMeasure;
    part.to = *range.measures;
    part.number = kind == SongPartKind::Fill
                      ? static_cast<int>(std::count_if(
                            parts.begin(), parts.end(),
                            [](const SongPart& p) { return p.kind == SongPartKind::Fill; })) +
                            1
                      : 1;
    parts.push_back(part);
    return {};
}

std::string ChordsLine(const SongSurvey& survey) {
    std::size_t clear = 0;
    for (const auto& chord : survey.chords)
        clear += chord ? 1 : 0;
    std::string text = std::to_string(survey.chords.size()) + " measures, a clear chord in " +
                       std::to_string(clear);
    if (clear < survey.chords.size())
        text += " (" + std::to_string(survey.chords.size() - clear) + " with two chords or none)";
    return text;
}

// Imports every part under the song's name, or none.
bool ImportAll(const StyleCommand& command, const std::vector<SongPartOutcome>& outcomes) {
    UseRepository(command.repository);
    const std::string song = PathFromUtf8(command.song).stem().string();
    std::vector<PartFile> parts;
    for (const SongPartOutcome& outcome : outcomes) {
        parts.push_back({song + "-" + outcome.part.FileName(), PartFolder(outcome.part.kind),
                         outcome.result.output});
    }
    if (!command.force) {
        if (const auto present = PartsInRepository(parts); !present.empty()) {
            std::fprintf(stderr, "%s: nothing imported (use --force to replace it)\n",
                         AlreadyThereText(present.front()).c_str());
            return false;
        }
    }
    TerminalPrompt prompt(PromptAnswer::Yes);
    if (const std::string problem = ImportPartsAllOrNone(parts, command.force, prompt);
        !problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        return false;
    }
    for (const PartFile& part : parts) {
        std::printf("Imported %s into %s\n", part.name.c_str(),
                    std::string(SubRepositoryName(part.sub)).c_str());
    }
    return true;
}

int Run(const StyleCommand& command, std::vector<SongPart> parts, const FitOptions& base) {
    const auto image = ReadWholeFile(PathFromUtf8(command.song), kMaxMidiFileSize);
    if (!image) {
        std::fprintf(stderr, "%s cannot be read\n", command.song.c_str());
        return kExitFailed;
    }
    const SongSurvey survey = SurveySong(*image, base);
    if (!survey.refused.empty()) {
        std::fprintf(stderr, "%s: %s\n", command.song.c_str(), survey.refused.c_str());
        return kExitFailed;
    }
    std::printf("%s: %s\n", command.song.c_str(), ChordsLine(survey).c_str());
    if (parts.empty()) {
        parts = ProposeParts(survey);
        std::printf("Proposed parts (give --intro, --fill and --ending to choose others):\n");
        for (const SongPart& part : parts) {
            std::printf("  %-7s measures %u-%u: %s\n", part.Title().c_str(), part.from, part.to,
                        part.reason.c_str());
        }
    }
    for (const SongPart& part : parts) {
        if (part.to > survey.chords.size()) {
            std::fprintf(stderr, "%s: measures %u-%u reach past the song's %zu measures\n",
                         part.Title().c_str(), part.from, part.to, survey.chords.size());
            return kExitUsage;
        }
    }
    const std::vector<SongPartOutcome> outcomes = FitSongParts(*image, parts, base);
    const fs::path song = PathFromUtf8(command.song);
    const fs::path folder = command.folder.empty()
                                ? song.parent_path() / PathFromUtf8(song.stem().string() + "-style")
                                : PathFromUtf8(command.folder);
    bool allFit = true;
    std::size_t total = 0;
    for (const SongPartOutcome& outcome : outcomes) {
        const FitResult& result = outcome.result;
        const std::size_t budget = PartBudget(outcome.part);
        const bool fits = result.Fits() && result.bytes <= budget;
        allFit = allFit && fits;
        total += result.bytes;
        std::printf("%-11s %-7s measures %u-%u  %s\n", outcome.part.FileName().c_str(),
                    outcome.part.Title().c_str(), outcome.part.from, outcome.part.to,
                    PartChords(survey, outcome.part).c_str());
        for (const FitChange& change : result.changes) {
            if (change.kind != "chord")
                std::printf("    %s: %s\n", change.kind.c_str(), change.detail.c_str());
        }
        if (result.refused) {
            std::printf("    cannot be made: %s\n", result.reason.c_str());
            continue;
        }
        std::printf("    notes kept: %d; %s of %s bytes%s\n", NotesKept(result),
                    GroupedNumber(result.bytes).c_str(), GroupedNumber(budget).c_str(),
                    fits ? "" : ("; does not fit: " + FitShortfall(result)).c_str());
    }
    std::printf("style image: %s of %s bytes\n", GroupedNumber(total).c_str(),
                GroupedNumber(kStyleWrittenSize).c_str());
    if (!allFit) {
        std::fprintf(stderr, "a part does not fit: nothing written\n");
        return kExitFailed;
    }
    if (command.dryRun) {
        std::printf("(dry run: nothing written)\n");
        return kExitOk;
    }
    std::error_code ec;
    fs::create_directories(folder, ec);
    for (const SongPartOutcome& outcome : outcomes) {
        const fs::path path = folder / outcome.part.FileName();
        if (!command.force && fs::exists(path)) {
            std::fprintf(stderr, "%s exists; use --force to replace it: nothing written\n",
                         path.string().c_str());
            return kExitFailed;
        }
    }
    for (const SongPartOutcome& outcome : outcomes) {
        const fs::path path = folder / outcome.part.FileName();
        if (!PlaceFile(outcome.result.output, path, true)) {
            std::fprintf(stderr, "cannot write %s\n", path.string().c_str());
            return kExitFailed;
        }
        std::printf("wrote %s\n", path.string().c_str());
    }
    if (command.import && !ImportAll(command, outcomes))
        return kExitFailed;
    return kExitOk;
}

}  // namespace

void RegisterStyleFromSong(CLI::App& app, CliContext& context) {
    auto command = std::make_shared<StyleCommand>();
    auto* style = app.add_subcommand(
        "style-from-song",
        "Make the parts of a style from one song: each range of measures becomes a part, fitted "
        "as fit does, the Intro and the Ending moved into C major or A minor (fit --key auto), "
        "each Fill moved onto the source chord measure by measure (fit --source-chord). Writes "
        "intro.mid, fill1.mid ... and ending.mid into DIR (default SONG-style beside the song) "
        "and prints the chords found, the notes kept and the bytes of each part against its "
        "block and of all against the style image. Without --intro, --fill or --ending the parts "
        "are proposed: the first measures as Intro, the last as Ending, the one-chord stretches "
        "the song repeats most as Fills, each with its reason. Nothing is written when a part "
        "does not fit, and no file is replaced without --force; the song is never changed.\n" +
            RepositoryHelp());
    style->add_option("SONG", command->song, "The song (a Standard MIDI File)")->required();
    style->add_option("--intro", command->intro, "Measures FROM-TO of the Intro");
    style->add_option("--fill", command->fills,
                      "Measures FROM-TO of the next Fill (repeat for Fill 2 to 8)");
    style->add_option("--ending", command->ending, "Measures FROM-TO of the Ending");
    style->add_option("-o,--output", command->folder, "Folder for the parts (created if missing)");
    style->add_flag("--import", command->import,
                    "Import the parts into the repository as SONG-intro.mid, SONG-fill1.mid ... "
                    "(all of them or, when one cannot be imported, none)");
    style->add_flag("--force", command->force,
                    "Replace parts already in DIR (and, with --import, in the repository)");
    style->add_flag("--dry-run", command->dryRun, "Print the parts and write nothing");
    style->add_option("--drop", command->drop,
                      "Channels CH,... of the song to leave out of every part (as fit --drop)");
    style->add_option("--map", command->map,
                      "Channel placements SRC=DST,... (DST 10-16) for every part (as fit --map)");
    AddRepositoryOption(*style, command->repository);
    style->callback([command, &context] {
        std::vector<SongPart> parts;
        std::string problem;
        if (!command->intro.empty())
            problem = AddPart(parts, SongPartKind::Intro, command->intro, "--intro");
        if (command->fills.size() > kStyleMaxFills)
            problem = "at most " + std::to_string(kStyleMaxFills) + " Fills";
        for (const std::string& fill : command->fills) {
            if (problem.empty())
                problem = AddPart(parts, SongPartKind::Fill, fill, "--fill");
        }
        if (problem.empty() && !command->ending.empty())
            problem = AddPart(parts, SongPartKind::Ending, command->ending, "--ending");
        FitOptions base;
        if (problem.empty() && !command->drop.empty())
            problem = ParseChannelList(command->drop, base.dropChannels);
        if (problem.empty() && !command->map.empty())
            problem = ParseChannelMap(command->map, base.channelMap);
        if (!problem.empty()) {
            std::fprintf(stderr, "%s\n", problem.c_str());
            context.exitCode = kExitUsage;
            return;
        }
        context.exitCode = Run(*command, std::move(parts), base);
    });
}

}  // namespace vantrel::cli
