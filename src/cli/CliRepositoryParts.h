#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/CliCommands.h"
#include "common/UserPrompt.h"
#include "repository/SubRepository.h"

namespace vantrel::cli {

// --yes / --no: the answer to every question of a command run from a script.
struct AnswerFlags {
    bool yes = false;
    bool no = false;
};
void AddAnswerFlags(CLI::App& command, AnswerFlags& flags);
std::optional<PromptAnswer> PresetAnswer(const AnswerFlags& flags);

// --repository DIR, on every command that uses the repository.
void AddRepositoryOption(CLI::App& command, std::string& dir);
// Makes DIR (or the default when empty) the repository root and creates its folders; answers
// a line saying where the repository is.
std::string UseRepository(const std::string& dir);
// The help text naming the default repository.
std::string RepositoryHelp();

// A sub-repository option or argument: intro, fill or ending in any letter case.
CLI::Option* AddSubRepository(CLI::App& command, const std::string& name, std::string& value,
                              const std::string& help);
SubRepository SubRepositoryOf(const std::string& value);

// Names that are not entries of the sub-repository, each reported on stderr.
std::vector<std::string> ReportMissingEntries(SubRepository sub,
                                              const std::vector<std::string>& names);

// The extension of path in lower case (".dat", ".mid").
std::string LowerExtension(const std::filesystem::path& path);

// The control list and pattern data of a pair named by either of its files; the partner keeps
// the letter case of the extension given (x.DAT pairs with x.STY).
struct PatternPairPaths {
    std::filesystem::path controlList;
    std::filesystem::path patternData;
};
PatternPairPaths PairOf(const std::filesystem::path& file);

void RegisterRepoCommand(CLI::App& app, CliContext& context);
void RegisterCombineCommands(CLI::App& app, CliContext& context);
void RegisterDecodeCommand(CLI::App& app, CliContext& context);

}  // namespace vantrel::cli
