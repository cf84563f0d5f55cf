#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// The three folders of the repository; the numbers are also the tab indexes of the
// sub-repository pane.
enum class SubRepository { Intro = 0, Fill = 1, Ending = 2 };

inline constexpr std::array<SubRepository, 3> kSubRepositories = {
    SubRepository::Intro, SubRepository::Fill, SubRepository::Ending};

// The folder name: "Intro", "Fill" or "Ending".
std::string_view SubRepositoryName(SubRepository sub);

// root/Intro, root/Fill or root/Ending.
std::filesystem::path SubRepositoryFolder(const std::filesystem::path& root, SubRepository sub);

// A folder name matched case-insensitively ("intro", "FILL"); nullopt for anything else.
std::optional<SubRepository> ParseSubRepository(std::string_view text);

}  // namespace vantrel
