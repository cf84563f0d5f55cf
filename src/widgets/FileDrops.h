#pragma once

#include <QStringList>

class QMimeData;

namespace vantrel {

// The drag format of the file browser's selection. Its payload is the browser's folder; the
// files themselves are whatever the browser has selected when the drag is dropped, as the
// import takes them from there.
inline constexpr char kBrowserSelectionMime[] = "application/x-vantrel-browser-selection";

// The local files among dropped URLs, in the order dropped.
QStringList LocalFilesOf(const QMimeData& data);

}  // namespace vantrel
