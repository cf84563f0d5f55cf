#pragma once

#include <QPixmap>

namespace vantrel {

// The picture under the cursor while browser rows are dragged: the row the drag started on,
// and when more rows go with it a badge with their count ("3 files"), since a drop imports the
// whole selection.
QPixmap BrowserDragPicture(const QPixmap& row, int selectedCount);

}  // namespace vantrel
