#pragma once

#include <cstdint>
#include <span>

#include "pattern/ControlListEntry.h"
#include "pattern/PatternDecoder.h"

namespace vantrel::cli {

// Human-readable dumps for `inspect`, indented by the given prefix.
void PrintControlListEntry(const ControlListEntry& entry, const char* indent);
void PrintPatternData(const DecodedPattern& pattern, const char* indent);
// Decodes and prints pattern data; false (with the reason printed) when it is malformed.
bool PrintPatternBytes(std::span<const std::uint8_t> data, const char* indent);

}  // namespace vantrel::cli
