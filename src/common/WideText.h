#pragma once

#include <string>
#include <string_view>

namespace vantrel {

// Windows hands names (arguments, port names) over as UTF-16; Vantrel's texts are UTF-8.
// Built on Windows only (WideTextWindows.cpp).
std::string Utf8FromWide(std::wstring_view wide);

}  // namespace vantrel
