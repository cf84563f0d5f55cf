#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vantrel::test {

// Writes bytes to a file (creating its folder), failing the current test when it cannot.
void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path);

// Parses "F0 05 7E" style hex text into bytes (blanks and commas ignored).
std::vector<std::uint8_t> Hex(const std::string& text);

}  // namespace vantrel::test
