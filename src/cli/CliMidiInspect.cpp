#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>

#include "cli/CliMidiCommands.h"
#include "cli/CliMidiPrint.h"
#include "common/AtomicFile.h"
#include "common/Utf8Path.h"
#include "pattern/StyleImage.h"

namespace vantrel::cli {

namespace {

namespace fs = std::filesystem;

// Larger than any product or image; inspect reads nothing bigger.
inline constexpr std::uintmax_t kMaxInspectSize = 1024 * 1024;

bool InspectControlList(std::span<const std::uint8_t> bytes) {
    if (bytes.empty() || bytes.size() % kControlListEntrySize != 0) {
        std::printf("control list of %zu bytes is not a whole number of %zu-byte entries\n",
                    bytes.size(), kControlListEntrySize);
        return false;
    }
    for (std::size_t i = 0; i * kControlListEntrySize < bytes.size(); ++i) {
        std::printf("control list entry %zu\n", i);
        PrintControlListEntry(*DecodeControlListEntry(bytes.subspan(i * kControlListEntrySize)),
                              "  ");
    }
    return true;
}

bool InspectStyleImage(std::span<const std::uint8_t> image) {
    const StyleImageVerdict verdict = ValidateStyleImage(image);
    std::printf("style image: %zu bytes, %s%s\n", image.size(),
                verdict ? "well formed" : "not well formed: ", verdict.reason.c_str());
    for (std::size_t block = 0; block < kStyleBlockCount; ++block) {
        const auto bytes = StyleBlockBytes(image, block);
        std::printf("block %zu %s at offset %zu: ", block, StyleBlockName(block).c_str(),
                    block * kStyleBlockSize);
        if (std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; })) {
            std::printf("empty\n");
            continue;
        }
        const auto entry = DecodeControlListEntry(bytes);
        const std::size_t used = kControlListEntrySize + entry->dataSize;
        std::printf("%zu of %zu bytes used\n", used, StyleBlockCapacity(block));
        PrintControlListEntry(*entry, "  ");
        if (used <= bytes.size()) {
            PrintPatternBytes(bytes.subspan(kControlListEntrySize, entry->dataSize), "  ");
        }
    }
    return verdict.wellFormed;
}

std::string LowerExtension(const fs::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

bool Inspect(const std::string& file) {
    const auto bytes = ReadWholeFile(PathFromUtf8(file), kMaxInspectSize);
    if (!bytes) {
        std::printf("%s: cannot be read (or larger than %ju bytes)\n", file.c_str(),
                    kMaxInspectSize);
        return false;
    }
    std::printf("%s\n", file.c_str());
    const std::string extension = LowerExtension(PathFromUtf8(file));
    if (extension == ".dat")
        return InspectControlList(*bytes);
    if (extension == ".sty")
        return PrintPatternBytes(*bytes, "");
    if (extension == ".mix" || bytes->size() == kStyleWrittenSize ||
        bytes->size() == kStyleBufferSize) {
        return InspectStyleImage(*bytes);
    }
    std::printf("not a control list (.dat), pattern data (.sty) or style image (.mix)\n");
    return false;
}

}  // namespace

void RegisterMidiInspect(CLI::App& app, CliContext& context) {
    AddPerFileCommand(
        app, context, "inspect",
        "Decode a control list (FILE.dat), pattern data (FILE.sty) or a combined style image "
        "(Total.mix) and print its fields, channel blocks and events. Exit status 1 when the "
        "file is not well formed.",
        Inspect);
}

}  // namespace vantrel::cli
