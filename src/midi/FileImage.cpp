#include "midi/FileImage.h"

#include <cstdio>
#include <memory>

#include "common/SystemFile.h"

namespace vantrel {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

FileImage ReadFileImage(const std::filesystem::path& path, std::uintmax_t maxSize) {
    FileImage result;
    const std::unique_ptr<std::FILE, FileCloser> file(OpenForBinaryRead(path));
    if (!file)
        return result;
    result.status = FileImageStatus::ReadFailed;
    if (std::fseek(file.get(), 0, SEEK_END) != 0)
        return result;
    const long end = std::ftell(file.get());
    if (end < 0 || std::fseek(file.get(), 0, SEEK_SET) != 0)
        return result;
    const auto size = static_cast<std::uintmax_t>(end);
    if (size > maxSize) {
        result.status = FileImageStatus::TooLarge;
        return result;
    }
    result.bytes.resize(static_cast<std::size_t>(size));
    if (std::fread(result.bytes.data(), 1, result.bytes.size(), file.get()) !=
        result.bytes.size()) {
        result.bytes.clear();
        return result;
    }
    // A folder opens and "reads" nothing with a nonsense size on some systems; insist on EOF.
    if (std::fgetc(file.get()) != EOF || std::ferror(file.get())) {
        result.bytes.clear();
        return result;
    }
    result.status = FileImageStatus::Ok;
    return result;
}

}  // namespace vantrel
