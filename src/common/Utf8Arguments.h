#pragma once

#include <string>
#include <vector>

namespace vantrel {

// A program's command-line arguments as UTF-8, which is what paths and texts are everywhere in
// the program. On Linux they are argv as given. On Windows argv is in the ANSI code page, which
// loses every character it cannot hold (a folder named in Greek on a Western system), so the
// arguments are read again from the wide command line; the console is also switched to UTF-8
// output there, so that printed names show as they are.
class Utf8Arguments {
  public:
    Utf8Arguments(int argc, char** argv);
    Utf8Arguments(const Utf8Arguments&) = delete;
    Utf8Arguments& operator=(const Utf8Arguments&) = delete;

    int Count() const { return static_cast<int>(texts_.size()); }
    // argv-style: Count() pointers followed by a null one, valid while this object lives.
    char** Values() { return pointers_.data(); }

  private:
    void Point();

    std::vector<std::string> texts_;
    std::vector<char*> pointers_;
};

}  // namespace vantrel
