#include "play/PartSources.h"

#include <algorithm>
#include <cctype>

#include "common/UserPrompt.h"
#include "midi/MidiReadProblem.h"
#include "pattern/PatternCheck.h"
#include "pattern/StyleImage.h"

namespace vantrel::play {

namespace {

// Keeps the converter's messages as the reasons of a refusal instead of showing them.
class KeepingPrompt final : public UserPrompt {
  public:
    void Message(const std::string& text) override { messages.push_back(text); }
    PromptAnswer Ask(const std::string& text, PromptButtons) override {
        messages.push_back(text);
        return PromptAnswer::No;
    }
    std::vector<std::string> messages;
};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

void AddUnique(std::vector<std::string>& lines, const std::string& line) {
    if (std::find(lines.begin(), lines.end(), line) == lines.end())
        lines.push_back(line);
}

void Decode(std::span<const std::uint8_t> controlList, std::span<const std::uint8_t> patternData,
            const std::string& name, PartKind kind, PartLoad& load) {
    const auto entry = DecodeControlListEntry(controlList);
    if (!entry) {
        load.problems.push_back(name + ": the control list is shorter than one entry");
        return;
    }
    auto decoded = DecodePatternData(patternData);
    if (!decoded.pattern) {
        load.problems.push_back(name + ": " + decoded.error);
        return;
    }
    load.parts.push_back({name, kind, *entry, std::move(*decoded.pattern)});
}

// "intro", "ending", "fill1".."fill8" and the block that holds it.
std::optional<std::size_t> BlockOfPart(const std::string& which) {
    if (which == "intro")
        return kIntroBlock;
    if (which == "ending")
        return kEndingBlock;
    if (which.size() == 5 && which.rfind("fill", 0) == 0 && which[4] >= '1' &&
        which[4] <= static_cast<char>('0' + kStyleMaxFills)) {
        return FillBlock(static_cast<std::size_t>(which[4] - '0'));
    }
    return std::nullopt;
}

bool BlockIsEmpty(std::span<const std::uint8_t> block) {
    return std::all_of(block.begin(), block.end(), [](std::uint8_t b) { return b == 0; });
}

void LoadBlock(std::span<const std::uint8_t> image, std::size_t block, const std::string& name,
               PartKind kind, PartLoad& load) {
    const auto bytes = StyleBlockBytes(image, block);
    const auto entry = DecodeControlListEntry(bytes);
    const std::size_t size = entry ? entry->dataSize : 0;
    if (!entry || kControlListEntrySize + size > bytes.size()) {
        load.problems.push_back(name + ": the block holds no well-formed part");
        return;
    }
    Decode(bytes, bytes.subspan(kControlListEntrySize, size), name, kind, load);
}

}  // namespace

PartLoad LoadPatternFile(const std::filesystem::path& midiFile, PartKind kind) {
    PartLoad load;
    KeepingPrompt prompt;
    const PatternProducts products = ConvertToProducts(midiFile, prompt);
    const std::string name = midiFile.filename().string();
    if (!products.Passed()) {
        load.problems.push_back(name + ":  File is not supported!");
        if (auto problem = DescribeReadProblem(midiFile))
            load.problems.push_back(*problem);
        for (const auto& message : prompt.messages)
            AddUnique(load.problems, message);
        for (const auto& error : products.errors)
            AddUnique(load.problems, error);
        return load;
    }
    Decode(products.controlList, products.patternData, midiFile.stem().string(), kind, load);
    return load;
}

PartLoad LoadPatternPair(std::span<const std::uint8_t> controlList,
                         std::span<const std::uint8_t> patternData, const std::string& name,
                         PartKind kind) {
    PartLoad load;
    Decode(controlList, patternData, name, kind, load);
    return load;
}

bool IsStylePartName(const std::string& which) {
    return which == "all" || BlockOfPart(which).has_value();
}

PartLoad LoadStyleImage(std::span<const std::uint8_t> image, const std::string& which) {
    PartLoad load;
    const StyleImageVerdict verdict = ValidateStyleImage(image);
    if (!verdict) {
        load.problems.push_back(verdict.reason);
        return load;
    }
    if (which == "all") {
        LoadBlock(image, kIntroBlock, "intro", PartKind::Intro, load);
        for (std::size_t fill = 1; fill <= kStyleMaxFills; ++fill) {
            if (!BlockIsEmpty(StyleBlockBytes(image, FillBlock(fill))))
                LoadBlock(image, FillBlock(fill), "fill" + std::to_string(fill), PartKind::Fill,
                          load);
        }
        LoadBlock(image, kEndingBlock, "ending", PartKind::Ending, load);
        return load;
    }
    const auto block = BlockOfPart(which);
    if (!block) {
        load.problems.push_back(
            "\"" + which + "\" is not a part of a style: intro, fill1 to fill8, ending or all");
        return load;
    }
    if (BlockIsEmpty(StyleBlockBytes(image, *block))) {
        load.problems.push_back("The style holds no " + which);
        return load;
    }
    LoadBlock(image, *block, which, KindFromName(which), load);
    return load;
}

PartKind KindFromName(const std::string& name) {
    const std::string lower = Lower(name);
    if (lower.rfind("intro", 0) == 0)
        return PartKind::Intro;
    if (lower.rfind("ending", 0) == 0)
        return PartKind::Ending;
    return PartKind::Fill;
}

}  // namespace vantrel::play
