// Builds a style image from pattern MIDI files the way the upload does, for the end-to-end
// test: make_style_image OUT INTRO FILL... ENDING [--malformed]
// With --malformed the Intro's size field is made to point past its block: same length, but
// not a well-formed image.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "combine/StyleBuild.h"
#include "common/AtomicFile.h"
#include "common/ScopedTempDir.h"
#include "common/TerminalPrompt.h"
#include "pattern/PatternCheck.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    bool malformed = false;
    if (!args.empty() && args.back() == "--malformed") {
        malformed = true;
        args.pop_back();
    }
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: make_style_image OUT INTRO FILL... ENDING [--malformed]\n");
        return 2;
    }
    vantrel::ScopedTempDir root;
    std::vector<std::string> names;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const char* folder = i == 1 ? "Intro" : i + 1 == args.size() ? "Ending" : "Fill";
        const fs::path source = args[i];
        fs::create_directories(root.Path() / folder);
        fs::copy_file(source, root.Path() / folder / source.filename(),
                      fs::copy_options::overwrite_existing);
        names.push_back(source.filename().string());
    }
    vantrel::TerminalPrompt prompt;
    auto image = vantrel::BuildStyleImage(root.Path(), names, prompt, &vantrel::ConvertToProducts);
    if (!image)
        return 1;
    if (malformed) {
        (*image)[0x50] = 0xFF;  // control list entry: size of the pattern data, low byte
        (*image)[0x51] = 0x7F;
    }
    return vantrel::WriteFileAtomically(args[0], *image) ? 0 : 1;
}
