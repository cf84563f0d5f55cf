#include "common/Utf8Path.h"

namespace vantrel {

std::filesystem::path PathFromUtf8(std::string_view text) {
    // A char8_t text is UTF-8 by definition, whatever the system's multibyte encoding.
    std::u8string utf8(text.size(), u8'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        utf8[i] = static_cast<char8_t>(text[i]);
    return std::filesystem::path(utf8);
}

}  // namespace vantrel
