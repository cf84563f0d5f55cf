// Fitting arbitrary bytes as a MIDI file. What fit would write must pass the pattern rules (the
// conversion fuzzer sees to it that such files decode again), and a second fit must leave it
// exactly as it is. What fit leaves unmended may only be what it does not claim to mend: timing
// too long for the keyboard's written forms and pattern data beyond 16 bits. A file with a track
// the reader could not read to its end is refused, never fitted with that track's events lost.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "fit/FitMidi.h"
#include "midi/CMidiReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vantrel::FitOptions options;
    if (size % 2 == 0)
        options.measures = static_cast<std::uint32_t>(1 + size / 2 % 8);
    options.thinBends = size % 3 == 0;
    const vantrel::FitResult first = vantrel::FitMidiImage({data, size}, options);
    if (first.refused)
        return 0;
    vantrel::CMidiReader reader;
    reader.LoadImage({data, data + size});
    if (reader.ParseHeader() == vantrel::kHeaderOk) {
        reader.ParseTracks();
        for (const vantrel::TrackDamage& damage : reader.DamagedTracks()) {
            if (damage.EventsLost())
                std::abort();
        }
    }
    for (const std::string& error : first.checkErrors) {
        if (error.find("Too Long") == std::string::npos &&
            error.find("Pattern Size") == std::string::npos &&
            error.find("Back Convert") == std::string::npos &&
            error.find(" Error 0x") == std::string::npos) {
            std::abort();
        }
    }
    if (!first.checkErrors.empty())
        return 0;
    const vantrel::FitResult second = vantrel::FitMidiImage(first.output, options);
    if (second.refused || !second.unchanged || second.output != first.output ||
        second.bytes != first.bytes || second.notesOut != first.notesOut) {
        std::abort();
    }
    return 0;
}
