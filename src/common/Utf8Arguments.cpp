#include "common/Utf8Arguments.h"

namespace vantrel {

void Utf8Arguments::Point() {
    pointers_.clear();
    for (std::string& text : texts_)
        pointers_.push_back(text.data());
    pointers_.push_back(nullptr);
}

}  // namespace vantrel
