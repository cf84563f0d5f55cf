#include "widgets/Resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE declares a function and must be used outside any namespace.
static void RegisterVantrelResources() {
    Q_INIT_RESOURCE(vantrel);
}

namespace vantrel {

void EnsureResources() {
    static const bool registered = [] {
        RegisterVantrelResources();
        return true;
    }();
    (void)registered;
}

}  // namespace vantrel
