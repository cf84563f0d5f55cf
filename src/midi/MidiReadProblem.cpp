#include "midi/MidiReadProblem.h"

#include <new>

#include "midi/CMidiReader.h"
#include "midi/FileImage.h"
#include "midi/SmfHeader.h"

namespace vantrel {

namespace {

// The "MThd" chunk: tag, length 6, format, track count, division.
constexpr std::size_t kHeaderChunkSize = 14;

std::optional<std::string> HeaderProblem(std::span<const std::uint8_t> image) {
    const SmfHeader header = ParseSmfHeader(image);
    if (header.code == kHeaderOk)
        return std::nullopt;
    if (image.empty())
        return "is empty";
    ByteReader tag(image);
    if (image.size() >= 4 && !ReadChunkTag(tag, "MThd"))
        return "is not a MIDI file: it does not start with a MIDI header";
    if (!header.divisionRead) {
        return image.size() < kHeaderChunkSize
                   ? "is not a complete MIDI file: it ends inside its header"
                   : "is not a MIDI file: its header has the wrong length";
    }
    if (header.format > 1)
        return "is a format " + std::to_string(header.format) +
               " MIDI file; only format 0 and 1 files can be used";
    if (header.chunks.size() < header.trackCount)
        return "is not a complete MIDI file: " + std::to_string(header.chunks.size()) + " of " +
               std::to_string(header.trackCount) + " tracks are present";
    return "has bytes after its last track";
}

}  // namespace

std::string TrackDamageText(const TrackDamage& damage) {
    const std::string track = "track " + std::to_string(damage.track);
    if (!damage.EventsLost())
        return track + " does not end with End of Track";
    return track + " is damaged: its events stop at byte " + std::to_string(damage.stopOffset) +
           " of " + std::to_string(damage.length) + ", before End of Track (" +
           std::to_string(damage.eventsRead) + (damage.eventsRead == 1 ? " event" : " events") +
           " read)";
}

std::optional<std::string> DescribeReadProblem(const std::filesystem::path& file) {
    const std::string name = file.filename().string();
    FileImage image = ReadFileImage(file, kMaxMidiFileSize);
    switch (image.status) {
        case FileImageStatus::Ok:
            break;
        case FileImageStatus::CannotOpen:
            return name + " cannot be opened";
        case FileImageStatus::TooLarge:
            return name + " is too large for a MIDI file (more than 16 MB)";
        case FileImageStatus::ReadFailed:
            return name + " cannot be read";
    }
    try {
        if (const auto problem = HeaderProblem(image.bytes))
            return name + " " + *problem;
        CMidiReader reader;
        if (!reader.LoadImage(std::move(image.bytes)) || reader.ParseHeader() != kHeaderOk)
            return name + " is not a complete MIDI file";
        if (!reader.ParseTracks()) {
            if (reader.DamagedTracks().empty())
                return name + " is not a complete MIDI file";
            return name + " is not a complete MIDI file: " +
                   TrackDamageText(reader.DamagedTracks().front());
        }
    } catch (const std::bad_alloc&) {
        return name + " cannot be read: out of memory";
    }
    return std::nullopt;
}

}  // namespace vantrel
