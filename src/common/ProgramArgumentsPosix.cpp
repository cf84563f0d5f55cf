#include "common/ProgramArguments.h"

namespace vantrel {

ProgramArguments::ProgramArguments(int argc, char** argv) : texts_(argv, argv + argc) {
    for (const std::string& text : texts_)
        pointers_.push_back(text.c_str());
}

}  // namespace vantrel
