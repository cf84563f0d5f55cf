#pragma once

#include <QFrame>

namespace vantrel {

// Holds the place of a pane whose content is not part of the window yet (device slots,
// download panel, combine lists), so the arrangement and the size rules stay those of the
// finished window.
class PlaceholderPane : public QFrame {
    Q_OBJECT
  public:
    explicit PlaceholderPane(const QString& objectName, QWidget* parent = nullptr);
};

}  // namespace vantrel
