#include "repository/SubRepository.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace vantrel {

std::string_view SubRepositoryName(SubRepository sub) {
    switch (sub) {
        case SubRepository::Intro:
            return "Intro";
        case SubRepository::Fill:
            return "Fill";
        case SubRepository::Ending:
            return "Ending";
    }
    return "Intro";
}

std::filesystem::path SubRepositoryFolder(const std::filesystem::path& root, SubRepository sub) {
    return root / std::string(SubRepositoryName(sub));
}

std::optional<SubRepository> ParseSubRepository(std::string_view text) {
    for (SubRepository sub : kSubRepositories) {
        const std::string_view name = SubRepositoryName(sub);
        const bool same =
            std::equal(name.begin(), name.end(), text.begin(), text.end(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) ==
                       std::tolower(static_cast<unsigned char>(b));
            });
        if (same)
            return sub;
    }
    return std::nullopt;
}

}  // namespace vantrel
