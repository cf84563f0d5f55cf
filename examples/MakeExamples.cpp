// vantrel-make-examples OUTDIR: writes the example style's parts as Standard MIDI Files.
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "ExampleStyle.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vantrel-make-examples OUTDIR\n");
        return 2;
    }
    const std::filesystem::path outDir = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(outDir, ec);
    for (const auto& part : vantrel::examples::MakeExampleStyle()) {
        const auto path = outDir / part.fileName;
        if (!part.midi.Save(path)) {
            std::fprintf(stderr, "%s: cannot be written\n", path.string().c_str());
            return 1;
        }
        std::printf("%s\n", path.string().c_str());
    }
    return 0;
}
