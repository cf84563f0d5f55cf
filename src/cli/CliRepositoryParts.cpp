#include "cli/CliRepositoryParts.h"

#include <algorithm>
#include <cstdio>

#include "common/Utf8Path.h"
#include "repository/CRepository.h"
#include "repository/RepositoryRoot.h"

namespace vantrel::cli {

void AddAnswerFlags(CLI::App& command, AnswerFlags& flags) {
    auto* yes = command.add_flag("--yes,-y", flags.yes, "Answer Yes to every question");
    auto* no = command.add_flag("--no", flags.no, "Answer No to every question");
    yes->excludes(no);
}

std::optional<PromptAnswer> PresetAnswer(const AnswerFlags& flags) {
    if (flags.yes)
        return PromptAnswer::Yes;
    if (flags.no)
        return PromptAnswer::No;
    return std::nullopt;
}

std::string RepositoryHelp() {
    return "Repository root folder holding Intro, Fill and Ending (default: " +
           DescribeDefaultRepositoryRoot() + ")";
}

void AddRepositoryOption(CLI::App& command, std::string& dir) {
    command.add_option("--repository", dir, RepositoryHelp());
}

std::string UseRepository(const std::string& dir) {
    std::string where;
    if (dir.empty()) {
        CRepository::SetRoot(DefaultRepositoryRoot().root);
        where = DescribeDefaultRepositoryRoot();
    } else {
        CRepository::SetRoot(std::filesystem::absolute(PathFromUtf8(dir)));
        where = CRepository::Root().string() + " (given with --repository)";
    }
    CRepository::CreateFolders();
    return where;
}

CLI::Option* AddSubRepository(CLI::App& command, const std::string& name, std::string& value,
                              const std::string& help) {
    return command.add_option(name, value, help)
        ->check(CLI::IsMember({"intro", "fill", "ending"}, CLI::ignore_case));
}

SubRepository SubRepositoryOf(const std::string& value) {
    return ParseSubRepository(value).value_or(SubRepository::Intro);
}

std::vector<std::string> ReportMissingEntries(SubRepository sub,
                                              const std::vector<std::string>& names) {
    const std::vector<std::string> entries = CRepository::List(sub);
    std::vector<std::string> missing;
    for (const std::string& name : names) {
        if (std::find(entries.begin(), entries.end(), name) != entries.end())
            continue;
        std::fprintf(stderr, "%s: no such entry in %s\n", name.c_str(),
                     std::string(SubRepositoryName(sub)).c_str());
        missing.push_back(name);
    }
    return missing;
}

}  // namespace vantrel::cli
