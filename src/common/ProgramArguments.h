#pragma once

#include <string>
#include <vector>

namespace vantrel {

// The program's command-line arguments as UTF-8 texts. On Windows main's argv is in the ANSI
// code page, where a file name beyond it is already lost, so the arguments are taken again from
// the system's UTF-16 command line; there the console is also set to show UTF-8 output.
class ProgramArguments {
  public:
    ProgramArguments(int argc, char** argv);

    int Count() const { return static_cast<int>(pointers_.size()); }
    // argv-shaped, valid as long as this object.
    const char* const* Values() const { return pointers_.data(); }

  private:
    std::vector<std::string> texts_;
    std::vector<const char*> pointers_;
};

}  // namespace vantrel
