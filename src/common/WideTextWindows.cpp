#include <windows.h>

#include "common/WideText.h"

namespace vantrel {

std::string Utf8FromWide(std::wstring_view wide) {
    const auto length = static_cast<int>(wide.size());
    if (length == 0)
        return {};
    const int size =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, text.data(), size, nullptr, nullptr);
    return text;
}

}  // namespace vantrel
