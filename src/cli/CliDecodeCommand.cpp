// vantrel-cli decode: a combined style image, or a control list and pattern data pair, back into
// one MIDI file per part, to hear what a slot will play.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "cli/CliRepositoryParts.h"
#include "combine/StyleDecode.h"
#include "common/AtomicFile.h"
#include "common/Utf8Path.h"

namespace vantrel::cli {

namespace {

namespace fs = std::filesystem;

// Pattern data offsets and sizes are 16-bit, a control list has one 82-byte entry per input;
// nothing a decoder takes comes near this.
constexpr std::uintmax_t kMaxInputSize = 1u << 20;

std::optional<std::vector<std::uint8_t>> Read(const fs::path& path) {
    auto bytes = ReadWholeFile(path, kMaxInputSize);
    if (!bytes)
        std::fprintf(stderr, "%s cannot be read\n", path.string().c_str());
    return bytes;
}

// FILE.dat or FILE.sty names the pair; anything else is read as a style image.
std::optional<StyleDecodeResult> Decode(const fs::path& file, std::string& pairName) {
    const std::string extension = LowerExtension(file);
    if (extension != ".dat" && extension != ".sty") {
        const auto image = Read(file);
        if (!image)
            return std::nullopt;
        return DecodeStyleImage(*image);
    }
    const PatternPairPaths pair = PairOf(file);
    const auto controlList = Read(pair.controlList);
    const auto patternData = Read(pair.patternData);
    if (!controlList || !patternData)
        return std::nullopt;
    pairName = file.stem().string();
    return DecodePatternPair(*controlList, *patternData);
}

int RunDecode(const std::string& file, const std::string& outDir) {
    std::string pairName;
    const auto result = Decode(PathFromUtf8(file), pairName);
    if (!result)
        return kExitFailed;
    for (const std::string& error : result->errors) {
        std::fprintf(stderr, "%s: %s\n", file.c_str(), error.c_str());
    }
    std::error_code ec;
    fs::create_directories(PathFromUtf8(outDir), ec);
    int status = result->errors.empty() ? kExitOk : kExitFailed;
    for (const DecodedPart& part : result->parts) {
        const fs::path path =
            PathFromUtf8(outDir) / PathFromUtf8((pairName.empty() ? part.name : pairName) + ".mid");
        if (part.midi.Save(path)) {
            std::printf("%s\n", path.string().c_str());
        } else {
            std::fprintf(stderr, "%s cannot be written\n", path.string().c_str());
            status = kExitFailed;
        }
    }
    return status;
}

}  // namespace

std::string LowerExtension(const fs::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

PatternPairPaths PairOf(const fs::path& file) {
    const bool upper = file.extension().string() != LowerExtension(file);
    PatternPairPaths pair{file, file};
    pair.controlList.replace_extension(upper ? ".DAT" : ".dat");
    pair.patternData.replace_extension(upper ? ".STY" : ".sty");
    return pair;
}

void RegisterDecodeCommand(CLI::App& app, CliContext& context) {
    auto file = std::make_shared<std::string>();
    auto outDir = std::make_shared<std::string>();
    auto* decode = app.add_subcommand(
        "decode",
        "Turn a combined style image (Total.mix), or a .dat + .sty pair, back into one MIDI file "
        "per part (intro.mid, ending.mid, fill1.mid ...; NAME.mid for a pair)");
    decode->add_option("FILE", *file, "Style image, or either file of a .dat + .sty pair")
        ->required();
    decode->add_option("-o,--output", *outDir, "Folder for the MIDI files")->required();
    decode->callback([file, outDir, &context] { context.exitCode = RunDecode(*file, *outDir); });
}

}  // namespace vantrel::cli
