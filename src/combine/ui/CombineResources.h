#pragma once

namespace vantrel {

// Registers the pictures of the Combine and Upload buttons (compiled into a static library, so
// registration runs only when something calls this); repeated calls do nothing.
void EnsureCombineResources();

}  // namespace vantrel
