#include "combine/ui/CombineResources.h"

#include <QtGlobal>

#include "widgets/CGdipButton.h"

// Q_INIT_RESOURCE declares a function and must be used outside any namespace.
static void RegisterCombineResources() {
    Q_INIT_RESOURCE(combine);
}

namespace vantrel {

void EnsureCombineResources() {
    static const bool registered = [] {
        RegisterCombineResources();
        return true;
    }();
    (void)registered;
}

CGdipButton* MakeCombineButton(const QString& name, QWidget* parent) {
    EnsureCombineResources();
    const QString base = QStringLiteral(":/vantrel/button-") + name.toLower();
    auto* button = new CGdipButton(base + QStringLiteral(".svg"),
                                   base + QStringLiteral("-active.svg"), parent);
    button->setObjectName(name);
    button->setToolTip(name);
    button->setAccessibleName(name);
    return button;
}

}  // namespace vantrel
