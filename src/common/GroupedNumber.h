#pragma once

#include <cstddef>
#include <string>

namespace vantrel {

// 1312 as "1,312": byte counts as the window and the command line show them.
std::string GroupedNumber(std::size_t number);

}  // namespace vantrel
