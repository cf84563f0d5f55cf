#include "common/Utf8Arguments.h"

namespace vantrel {

Utf8Arguments::Utf8Arguments(int argc, char** argv) : texts_(argv, argv + argc) {
    Point();
}

}  // namespace vantrel
