#include "cli/CliPlaySource.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>

#include "common/AtomicFile.h"
#include "repository/RepositoryRoot.h"
#include "repository/SubRepository.h"

namespace vantrel::cli {

namespace {

namespace fs = std::filesystem;

// A control list, pattern data or style image is far smaller; nothing larger is read.
constexpr std::uintmax_t kMaxImageSize = 1u << 20;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

play::PartLoad Problem(std::string text) {
    play::PartLoad load;
    load.problems.push_back(std::move(text));
    return load;
}

// How a single pattern plays: --part, else what the folder or its name says.
std::optional<play::PartKind> KindOfPattern(const std::string& part, play::PartKind fallback) {
    if (part.empty())
        return fallback;
    const std::string lower = Lower(part);
    if (lower == "intro")
        return play::PartKind::Intro;
    if (lower == "ending")
        return play::PartKind::Ending;
    if (lower.rfind("fill", 0) == 0 && play::IsStylePartName(lower == "fill" ? "fill1" : lower))
        return play::PartKind::Fill;
    return std::nullopt;
}

play::PartLoad LoadPair(const fs::path& file, play::PartKind kind) {
    const std::string extension = Lower(file.extension().string());
    const bool upper = file.extension().string() != extension;
    fs::path controlListPath = file;
    fs::path patternDataPath = file;
    controlListPath.replace_extension(upper ? ".DAT" : ".dat");
    patternDataPath.replace_extension(upper ? ".STY" : ".sty");
    const auto controlList = ReadWholeFile(controlListPath, kMaxImageSize);
    if (!controlList)
        return Problem(controlListPath.string() + " cannot be read");
    const auto patternData = ReadWholeFile(patternDataPath, kMaxImageSize);
    if (!patternData)
        return Problem(patternDataPath.string() + " cannot be read");
    return play::LoadPatternPair(*controlList, *patternData, file.stem().string(), kind);
}

play::PartLoad LoadFile(const fs::path& file, const std::string& part,
                        std::optional<play::PartKind> folderKind) {
    const std::string extension = Lower(file.extension().string());
    const bool pattern =
        extension == ".mid" || extension == ".midi" || extension == ".dat" || extension == ".sty";
    if (!pattern) {
        const auto image = ReadWholeFile(file, kMaxImageSize);
        if (!image)
            return Problem(file.string() + " cannot be read");
        return play::LoadStyleImage(*image, part.empty() ? "all" : Lower(part));
    }
    const auto kind =
        KindOfPattern(part, folderKind.value_or(play::KindFromName(file.filename().string())));
    if (!kind)
        return Problem("--part " + part + ": a single pattern plays as intro, fill or ending");
    if (extension == ".dat" || extension == ".sty")
        return LoadPair(file, *kind);
    return play::LoadPatternFile(file, *kind);
}

}  // namespace

play::PartLoad LoadPlaySource(const std::string& source, const std::string& part,
                              const std::string& repositoryDir) {
    std::error_code ec;
    const fs::path path(source);
    if (fs::is_regular_file(path, ec))
        return LoadFile(path, part, std::nullopt);
    // "fill/NAME": an entry of the repository, read where it lies.
    const auto slash = source.find('/');
    if (slash != std::string::npos) {
        if (const auto sub = ParseSubRepository(source.substr(0, slash))) {
            const fs::path root = repositoryDir.empty() ? DefaultRepositoryRoot().root
                                                        : fs::absolute(repositoryDir, ec);
            const fs::path entry = SubRepositoryFolder(root, *sub) / source.substr(slash + 1);
            if (!fs::is_regular_file(entry, ec))
                return Problem(source + " is not an entry of the repository in " + root.string());
            const play::PartKind kind = *sub == SubRepository::Intro    ? play::PartKind::Intro
                                        : *sub == SubRepository::Ending ? play::PartKind::Ending
                                                                        : play::PartKind::Fill;
            return LoadFile(entry, part, kind);
        }
    }
    return Problem(source + " does not exist");
}

}  // namespace vantrel::cli
