// The whole conversion of arbitrary bytes as a MIDI file: the checks, track encoding and the
// products. Whatever passes must decode again and fit a style block's bookkeeping.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "common/UserPrompt.h"
#include "pattern/CMidiPattern.h"
#include "pattern/ControlListEntry.h"
#include "pattern/PatternDecoder.h"

namespace {

class SilentPrompt final : public vantrel::UserPrompt {
  public:
    void Message(const std::string&) override {}
    vantrel::PromptAnswer Ask(const std::string&, vantrel::PromptButtons) override {
        return vantrel::PromptAnswer::No;
    }
};

// A folder of this process for the input and the products, removed when the fuzzer exits.
struct WorkFolder {
    WorkFolder() {
        path = std::filesystem::temp_directory_path() /
               ("pattern-convert-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
    }
    ~WorkFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::filesystem::path path;
};

const std::filesystem::path& Folder() {
    static const WorkFolder folder;
    return folder.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto input = Folder() / "input.mid";
    {
        std::ofstream out(input, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    SilentPrompt prompt;
    vantrel::CMidiPattern pattern(prompt, Folder());
    pattern.AddInputFile(input);
    pattern.Convert();
    if (pattern.Errors().empty()) {
        const auto& list = pattern.ControlListWritten();
        const auto& patternData = pattern.PatternDataWritten();
        const auto entry = vantrel::DecodeControlListEntry(list);
        if (list.size() != vantrel::kControlListEntrySize || !entry ||
            entry->dataSize != patternData.size()) {
            std::abort();
        }
        const auto decoded = vantrel::DecodePatternData(patternData);
        if (!decoded.pattern || decoded.pattern->ChannelMask() != entry->header.channelMask) {
            std::abort();
        }
    }
    return 0;
}
