#pragma once

namespace vantrel {

// Registers the program's compiled-in pictures. The library that holds them is static, so its
// registration runs only when something calls this; repeated calls do nothing.
void EnsureResources();

}  // namespace vantrel
