// The reader's whole sequence and the song-name scan on arbitrary bytes; the two must agree on
// what the file browser shows. A file the reader accepts has lost no events: every track chunk
// that holds bytes was read up to its End of Track, and only an empty chunk gives an empty track.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "midi/CMidiReader.h"
#include "midi/SmfHeader.h"
#include "midi/SongName.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> image(data, data + size);
    vantrel::CMidiReader reader;
    reader.LoadImage(image);
    const int code = reader.ParseHeader();
    const bool tracksOk = reader.ParseTracks();
    reader.MergeTracks();
    std::size_t events = 0;
    for (std::uint32_t track = 0; track < reader.TrackCount(); ++track) {
        const auto list = reader.TrackEvents(track);
        for (auto it = list.begin(); it != list.end(); ++it) {
            // Walking and indexing must find the same event.
            const vantrel::MidiEvent walked = *it;
            const vantrel::MidiEvent indexed = list[it.Index()];
            if (walked.Data().size() != walked.length || walked.time != indexed.time ||
                walked.status != indexed.status || walked.Data().data() != indexed.Data().data() ||
                walked.length != indexed.length)
                std::abort();
            ++events;
        }
    }
    const auto merged = reader.MergedEvents();
    std::size_t mergedEvents = 0;
    for (auto it = merged.begin(); it != merged.end(); ++it) {
        if (it.Track() >= reader.TrackCount() ||
            it.IndexInTrack() >= reader.TrackEvents(it.Track()).size())
            std::abort();
        ++mergedEvents;
    }
    if (merged.size() != events || mergedEvents != events)
        std::abort();
    if (code == vantrel::kHeaderOk && tracksOk) {
        const vantrel::SmfHeader header = vantrel::ParseSmfHeader(image);
        for (std::uint32_t track = 0; track < header.chunks.size(); ++track) {
            const auto kept = reader.TrackEvents(track);
            const bool emptyChunk = header.chunks[track].length == 0;
            if (emptyChunk != kept.empty() || (!kept.empty() && !kept.back().IsEndOfTrack()))
                std::abort();
        }
    }
    const auto songName = vantrel::SongNameOfImage(image);
    const bool shown = code == vantrel::kHeaderOk && tracksOk;
    if (songName.has_value() != shown)
        std::abort();
    if (shown && *songName != reader.GetFirstMetaText())
        std::abort();
    return 0;
}
