#pragma once

namespace vantrel {

// The drag format of the file browser's selection. Its payload is the browser's folder; the
// files themselves are whatever the browser has selected when the drag is dropped, as the
// import takes them from there.
inline constexpr char kBrowserSelectionMime[] = "application/x-vantrel-browser-selection";

}  // namespace vantrel
