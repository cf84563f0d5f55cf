#include "combine/ui/CombineResources.h"

#include <QtGlobal>

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

}  // namespace vantrel
