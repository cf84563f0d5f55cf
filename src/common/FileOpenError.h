#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace vantrel {

// The file layer's failure: a file that cannot be opened for reading. It is the one error that
// crosses subsystem boundaries as an exception; callers that only want to skip such a file
// (the file browser's song names) catch it.
class FileOpenError : public std::runtime_error {
  public:
    explicit FileOpenError(std::filesystem::path path)
        : std::runtime_error("cannot open " + path.string()), path_(std::move(path)) {}

    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace vantrel
