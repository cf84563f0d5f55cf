#include <cstdio>
#include <filesystem>
#include <memory>

#include "cli/CliMidiCommands.h"
#include "common/TerminalPrompt.h"
#include "common/Utf8Path.h"
#include "pattern/CMidiPattern.h"
#include "pattern/PatternCheck.h"

namespace vantrel::cli {

namespace {

namespace fs = std::filesystem;

bool ConvertOne(const std::string& file, const std::string& outputFolder, bool force) {
    const fs::path input = PathFromUtf8(file);
    const fs::path outputPath = PathFromUtf8(outputFolder);
    std::error_code ec;
    if (!outputFolder.empty())
        fs::create_directories(outputPath, ec);
    const fs::path folder = outputFolder.empty() ? input.parent_path() : outputPath;
    const std::string base = (folder / PathFromUtf8(ProductBaseName(input))).string();
    const fs::path controlList = PathFromUtf8(base + "dat");
    const fs::path patternData = PathFromUtf8(base + "sty");
    for (const auto& target : {controlList, patternData}) {
        if (!force && fs::exists(target)) {
            std::printf("%s: %s exists; use --force to replace it\n", file.c_str(),
                        target.string().c_str());
            return false;
        }
    }
    TerminalPrompt prompt;
    const PatternProducts products = ConvertToProducts(input, prompt);
    if (!products.Passed()) {
        PrintCheckResult(file, products);
        return false;
    }
    if (!PlaceFile(products.controlList, controlList, force) ||
        !PlaceFile(products.patternData, patternData, force)) {
        std::printf("%s: cannot write %s and %s\n", file.c_str(), controlList.string().c_str(),
                    patternData.string().c_str());
        return false;
    }
    std::printf("%s -> %s, %s\n", file.c_str(), controlList.string().c_str(),
                patternData.string().c_str());
    return true;
}

}  // namespace

void RegisterMidiConvert(CLI::App& app, CliContext& context) {
    auto folder = std::make_shared<std::string>();
    auto force = std::make_shared<bool>(false);
    auto* command = AddPerFileCommand(
        app, context, "convert",
        "Convert MIDI pattern files into the keyboard's control list BASE.dat and pattern data "
        "BASE.sty, beside each input or into DIR. An existing file is never replaced without "
        "--force; files are written whole or not at all.\n" +
            MidiSizeCapText(),
        [folder, force](const std::string& file) { return ConvertOne(file, *folder, *force); });
    command->add_option("-o,--output", *folder, "Folder for the products (created if missing)");
    command->add_flag("--force", *force, "Replace existing BASE.dat and BASE.sty");
}

}  // namespace vantrel::cli
