#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vantrel {

// Vantrel's texts are UTF-8: command-line arguments, names listed from a folder, names in the
// combine lists, messages. path::string() gives UTF-8 on every system, but a path made from a
// std::string goes through the C library's multibyte conversion, which on Windows is not UTF-8:
// a name beyond ASCII that went from path to text would come back as another name. Every text
// that becomes a path goes through PathFromUtf8.
std::filesystem::path PathFromUtf8(std::string_view text);

}  // namespace vantrel
