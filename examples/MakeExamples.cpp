// vantrel-make-examples OUTDIR: writes the example style's parts as Standard MIDI Files.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "ExampleStyle.h"
#include "common/ProgramArguments.h"
#include "common/Utf8Path.h"

namespace {

constexpr const char* kUsage = "usage: vantrel-make-examples OUTDIR\n";

void PrintHelp() {
    std::printf(
        "%s\n"
        "Writes the example style's parts (intro.mid, fill1.mid, fill2.mid, fill3.mid,\n"
        "ending.mid) as Standard MIDI Files into OUTDIR, creating the folder when it is\n"
        "missing, and prints the path of each file written. Files of those names in OUTDIR\n"
        "are replaced.\n\n"
        "  -h, --help   show this text\n\n"
        "Exit status 0 when every file was written, 1 when one cannot be, 2 on a usage error.\n",
        kUsage);
}

}  // namespace

int main(int rawCount, char** rawValues) {
    const vantrel::ProgramArguments arguments(rawCount, rawValues);
    const int argc = arguments.Count();
    const char* const* argv = arguments.Values();
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        PrintHelp();
        return 0;
    }
    // A folder named like an option is far likelier a mistyped option than a wish.
    if (argc != 2 || argv[1][0] == '-' || argv[1][0] == '\0') {
        if (argc == 2 && argv[1][0] == '-')
            std::fprintf(stderr, "vantrel-make-examples: unknown option %s\n", argv[1]);
        std::fprintf(stderr, "%s(vantrel-make-examples --help tells more)\n", kUsage);
        return 2;
    }
    const std::filesystem::path outDir = vantrel::PathFromUtf8(argv[1]);
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
