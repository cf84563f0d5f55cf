#include "repository/ImportParts.h"

#include <system_error>

#include "common/AtomicFile.h"
#include "common/ScopedTempDir.h"
#include "common/Utf8Path.h"
#include "repository/CRepository.h"
#include "repository/ImportFiles.h"

namespace vantrel {

namespace fs = std::filesystem;

namespace {

// The entries a part replaced, kept aside until every part is in.
struct Replaced {
    fs::path entry;
    fs::path kept;
};

void TakeBack(const std::vector<fs::path>& imported, const std::vector<Replaced>& replaced) {
    std::error_code ec;
    for (const fs::path& entry : imported)
        fs::remove(entry, ec);
    for (const Replaced& old : replaced)
        CopyFileAtomically(old.kept, old.entry, true);
}

}  // namespace

SubRepository PartFolder(SongPartKind kind) {
    switch (kind) {
        case SongPartKind::Intro:
            return SubRepository::Intro;
        case SongPartKind::Ending:
            return SubRepository::Ending;
        case SongPartKind::Fill:
            break;
    }
    return SubRepository::Fill;
}

std::vector<PartFile> PartsInRepository(const std::vector<PartFile>& parts) {
    std::vector<PartFile> present;
    std::error_code ec;
    for (const PartFile& part : parts) {
        if (fs::exists(CRepository::Folder(part.sub) / PathFromUtf8(part.name), ec))
            present.push_back(part);
    }
    return present;
}

std::string AlreadyThereText(const PartFile& part) {
    return part.name + " is already in the repository's " +
           std::string(SubRepositoryName(part.sub)) + " folder";
}

std::string ImportPartsAllOrNone(const std::vector<PartFile>& parts, bool replace,
                                 UserPrompt& prompt) {
    if (!replace) {
        if (const auto present = PartsInRepository(parts); !present.empty())
            return AlreadyThereText(present.front()) + ": nothing imported";
    }
    ScopedTempDir staging;
    ScopedTempDir aside;
    if (!staging.Valid() || !aside.Valid())
        return "no temporary folder for the parts: nothing imported";
    for (const PartFile& part : parts) {
        if (!WriteFileAtomically(staging.Path() / PathFromUtf8(part.name), part.bytes))
            return part.name + " cannot be written to a temporary folder: nothing imported";
    }
    std::vector<Replaced> replaced;
    std::vector<fs::path> imported;
    std::error_code ec;
    for (const PartFile& part : parts) {
        const fs::path entry = CRepository::Folder(part.sub) / PathFromUtf8(part.name);
        if (fs::exists(entry, ec)) {
            // Set aside, so the import below asks no question and a failure can restore it.
            const fs::path kept = aside.Path() / std::to_string(replaced.size());
            if (!CopyFileAtomically(entry, kept, false) || !fs::remove(entry, ec)) {
                TakeBack(imported, replaced);
                return part.name + " in " + std::string(SubRepositoryName(part.sub)) +
                       " cannot be replaced: nothing imported";
            }
            replaced.push_back({entry, kept});
        }
        const ImportOutcome outcome =
            ImportFiles({part.name}, staging.Path(), CRepository::Folder(part.sub), true, prompt);
        if (outcome.copied.empty()) {
            TakeBack(imported, replaced);
            return part.name + " could not be imported into " +
                   std::string(SubRepositoryName(part.sub)) + ": nothing imported";
        }
        imported.push_back(entry);
    }
    return {};
}

}  // namespace vantrel
