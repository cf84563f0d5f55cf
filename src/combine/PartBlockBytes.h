#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "combine/StyleBuild.h"
#include "repository/SubRepository.h"

namespace vantrel {

// What one part takes of its block in the style image, measured before an upload so the user
// sees which part will not fit.
struct PartBlockBytes {
    std::optional<std::size_t> used;  // control list + pattern data; none when it does not convert
    std::size_t capacity = 0;         // what the block carries to the keyboard

    bool Fits() const { return used && *used <= capacity; }
};

// The block of an entry: Intro and Ending have theirs, the Fill at position p (0 for the first
// listed) goes to Fill p + 1.
std::size_t PartBlock(SubRepository sub, std::size_t position);

// Converts the file as the upload does, quietly: the converter's own messages are not shown,
// since measuring is not a check the user asked for.
PartBlockBytes MeasurePart(const std::filesystem::path& file, std::size_t block,
                           const PartConverter& convert = ConvertToProducts);

// "1,312 / 2,048"; "- / 2,048" for a file that does not convert.
std::string BytesAgainstBlock(const PartBlockBytes& bytes);

}  // namespace vantrel
