#include "device/LinkState.h"

namespace vantrel {

LinkState& Link() {
    static LinkState state;
    return state;
}

}  // namespace vantrel
