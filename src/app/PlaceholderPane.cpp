#include "app/PlaceholderPane.h"

namespace vantrel {

PlaceholderPane::PlaceholderPane(const QString& objectName, QWidget* parent) : QFrame(parent) {
    setObjectName(objectName);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
}

}  // namespace vantrel
