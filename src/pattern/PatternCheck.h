#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vantrel {

class UserPrompt;

// The products of converting one pattern file, held in memory.
struct PatternProducts {
    std::vector<std::string> errors;        // empty: the keyboard takes the file
    std::vector<std::uint8_t> controlList;  // the ".dat" product (one 82-byte entry)
    std::vector<std::uint8_t> patternData;  // the ".sty" product

    bool Passed() const { return errors.empty(); }
};

// Converts one MIDI file exactly as the import check and the upload do, into a private
// temporary folder that is removed before returning, so nothing is left on disk and no file
// beside the input is touched. Messages go through the prompt. A file that cannot be opened,
// or products that could not be written, are error entries too. The products are filled only
// when the conversion passed.
PatternProducts ConvertToProducts(const std::filesystem::path& midiFile, UserPrompt& prompt);

// The same, for callers that only need the verdict.
inline std::vector<std::string> CheckPatternFile(const std::filesystem::path& midiFile,
                                                 UserPrompt& prompt) {
    return ConvertToProducts(midiFile, prompt).errors;
}

}  // namespace vantrel
