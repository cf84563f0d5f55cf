// Tempo and time signature collection on arbitrary bytes.
#include <cstdint>
#include <cstdlib>

#include "midi/CMidiFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vantrel::CMidiFile file;
    if (file.LoadImage({data, size})) {
        for (const auto& entry : file.TimeSignatures()) {
            if (entry.denominator <= 0)
                std::abort();
        }
    }
    return 0;
}
