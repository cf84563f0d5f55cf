// Fitting arbitrary bytes as a MIDI file. Whatever fit accepts must come out as a file the
// converter takes, decode again into the channels its control list names, and be left as it is
// by a second fit.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "fit/FitMidi.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vantrel::FitOptions options;
    if (size > 0 && data[0] % 3 == 0)
        options.measures = 1u + data[size - 1] % 8u;
    const vantrel::FitResult first = vantrel::FitMidiImage({data, size}, options);
    if (first.refused)
        return 0;
    if (!first.checkErrors.empty())
        std::abort();
    const vantrel::FitResult second = vantrel::FitMidiImage(first.output, options);
    if (second.refused || !second.unchanged || second.output != first.output ||
        second.bytes != first.bytes || second.notesOut != first.notesOut) {
        std::abort();
    }
    return 0;
}
