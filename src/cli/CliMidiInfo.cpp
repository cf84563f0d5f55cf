#include <cstdio>

#include "cli/CliMidiCommands.h"
#include "common/FileOpenError.h"
#include "common/Utf8Path.h"
#include "midi/CMidiFile.h"
#include "midi/CMidiReader.h"
#include "midi/MidiReadProblem.h"

namespace vantrel::cli {

namespace {

// Prints what the reader and the file information make of one file; false when the reader
// cannot use it.
bool PrintInfo(const std::string& file) {
    std::printf("%s\n", file.c_str());
    CMidiReader reader;
    reader.SetPath(PathFromUtf8(file));
    try {
        reader.LoadFile();
    } catch (const FileOpenError&) {
        std::printf("  cannot be opened\n");
        return false;
    }
    const int code = reader.ParseHeader();
    if (code != kHeaderOk) {
        std::printf("  not a usable MIDI file (header code %d)\n", code);
        return false;
    }
    const bool complete = reader.ParseTracks();
    reader.MergeTracks();
    std::printf("  name: %s\n", reader.GetFirstMetaText().c_str());
    std::printf("  format: %u\n", unsigned{reader.Format()});
    std::printf("  tracks: %u\n", reader.TrackCount());
    std::printf("  division: %u\n", unsigned{reader.Division()});
    std::printf("  events: %zu\n", reader.MergedEvents().size());
    for (const TrackDamage& damage : reader.DamagedTracks())
        std::printf("  %s\n", TrackDamageText(damage).c_str());
    if (!complete && reader.DamagedTracks().empty())
        std::printf("  a track does not end with End of Track\n");
    CMidiFile information;
    if (information.Load(PathFromUtf8(file))) {
        if (!information.Tempos().empty()) {
            std::printf("  tempo: BPM: %d\n", information.Tempos().front().bpm);
        }
        if (!information.TimeSignatures().empty()) {
            const auto& signature = information.TimeSignatures().front();
            std::printf("  time signature: %d/%d\n", signature.numerator, signature.denominator);
        }
    }
    return complete;
}

}  // namespace

void RegisterMidiInfo(CLI::App& app, CliContext& context) {
    AddPerFileCommand(app, context, "info",
                      "Show a MIDI file's first meta text, format, tracks, division, event count, "
                      "first tempo and time signature.\n" +
                          MidiSizeCapText(),
                      PrintInfo);
}

}  // namespace vantrel::cli
