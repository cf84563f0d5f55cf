#include "device/ProtocolState.h"

namespace vantrel {

ProtocolState& Protocol() {
    static ProtocolState state;
    return state;
}

}  // namespace vantrel
