#pragma once

#include <string>
#include <vector>

namespace vantrel::winmm {

// The product names of the system's input or output ports, in port number order; a port whose
// capabilities cannot be read keeps its place with an empty name.
std::vector<std::string> InputPortNames();
std::vector<std::string> OutputPortNames();

}  // namespace vantrel::winmm
