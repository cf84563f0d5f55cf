#include "midi/SongName.h"

#include <new>

#include "midi/CMidiReader.h"
#include "midi/FileImage.h"
#include "midi/TrackWalk.h"

namespace vantrel {

std::optional<std::string> SongNameOfImage(std::span<const std::uint8_t> image) {
    if (image.size() > kMaxMidiFileSize)
        return std::nullopt;
    try {
        const SmfHeader header = ParseSmfHeader(image);
        if (header.code != kHeaderOk)
            return std::nullopt;
        TracksSummary summary = WalkTracks(image, header.chunks,
                                           [](std::size_t, const TrackEventView&) { return true; });
        if (!summary.allTracksEnd)
            return std::nullopt;
        return std::move(summary.firstMetaText);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

std::optional<std::string> ReadSongName(const std::filesystem::path& path) {
    const FileImage file = ReadFileImage(path, kMaxMidiFileSize);
    if (file.status != FileImageStatus::Ok)
        return std::nullopt;
    return SongNameOfImage(file.bytes);
}

}  // namespace vantrel
