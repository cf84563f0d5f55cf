// vantrel-cli repo: list, import, copy and remove the entries of the repository.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "cli/CliRepositoryParts.h"
#include "common/TerminalPrompt.h"
#include "common/Utf8Path.h"
#include "repository/CRepository.h"
#include "repository/ImportPaths.h"

namespace vantrel::cli {

namespace {

struct RepoOptions {
    std::string repository;
    std::string sub;   // list's filter, import's --to, remove's SUB
    std::string from;  // copy's --from
    std::string to;    // copy's --to
    std::vector<std::string> names;
    AnswerFlags answers;
};

int RunList(const RepoOptions& options) {
    std::printf("Repository: %s\n", UseRepository(options.repository).c_str());
    for (SubRepository sub : kSubRepositories) {
        if (!options.sub.empty() && sub != SubRepositoryOf(options.sub))
            continue;
        std::vector<std::string> names = CRepository::List(sub);
        std::sort(names.begin(), names.end());
        std::printf("%s (%zu):\n", std::string(SubRepositoryName(sub)).c_str(), names.size());
        for (const std::string& name : names)
            std::printf("  %s\n", name.c_str());
    }
    return kExitOk;
}

int RunImport(const RepoOptions& options) {
    UseRepository(options.repository);
    const SubRepository sub = SubRepositoryOf(options.sub);
    TerminalPrompt prompt(PresetAnswer(options.answers));
    std::vector<std::filesystem::path> paths;
    for (const std::string& name : options.names)
        paths.push_back(PathFromUtf8(name));
    const ImportOutcome outcome = ImportPaths(paths, CRepository::Folder(sub), true, prompt);
    for (const std::string& name : outcome.copied) {
        std::printf("Imported %s into %s\n", name.c_str(),
                    std::string(SubRepositoryName(sub)).c_str());
    }
    return outcome.notSupported.empty() && !outcome.cancelled ? kExitOk : kExitFailed;
}

int RunCopy(const RepoOptions& options) {
    UseRepository(options.repository);
    const SubRepository from = SubRepositoryOf(options.from);
    const SubRepository to = SubRepositoryOf(options.to);
    const std::vector<std::string> missing = ReportMissingEntries(from, options.names);
    const std::vector<std::string> present = CRepository::List(to);
    for (const std::string& name : options.names) {
        if (std::find(present.begin(), present.end(), name) != present.end()) {
            std::fprintf(stderr, "%s: already in %s, left unchanged\n", name.c_str(),
                         std::string(SubRepositoryName(to)).c_str());
        }
    }
    const std::vector<std::string> failed = CRepository::CopyTo(from, to, options.names);
    for (const std::string& name : failed) {
        std::fprintf(stderr, "%s: could not be copied into %s\n", name.c_str(),
                     std::string(SubRepositoryName(to)).c_str());
    }
    return missing.empty() && failed.empty() ? kExitOk : kExitFailed;
}

int RunRemove(const RepoOptions& options) {
    UseRepository(options.repository);
    const SubRepository sub = SubRepositoryOf(options.sub);
    const std::vector<std::string> missing = ReportMissingEntries(sub, options.names);
    CRepository::Remove(sub, options.names);
    return missing.empty() ? kExitOk : kExitFailed;
}

int RunRemoveAll(const RepoOptions& options) {
    UseRepository(options.repository);
    const SubRepository sub = SubRepositoryOf(options.sub);
    const std::size_t count = CRepository::List(sub).size();
    TerminalPrompt prompt(PresetAnswer(options.answers));
    const std::string question = "Remove all " + std::to_string(count) + " entries of " +
                                 std::string(SubRepositoryName(sub)) + "?";
    if (count > 0 && prompt.Ask(question, PromptButtons::YesNo) != PromptAnswer::Yes) {
        return kExitFailed;
    }
    CRepository::RemoveAll(sub);
    return kExitOk;
}

using Runner = int (*)(const RepoOptions&);

CLI::App* AddAction(CLI::App& repo, const std::shared_ptr<RepoOptions>& options,
                    CliContext& context, const char* name, const char* help, Runner run) {
    auto* command = repo.add_subcommand(name, help);
    command->callback([options, &context, run] { context.exitCode = run(*options); });
    return command;
}

}  // namespace

void RegisterRepoCommand(CLI::App& app, CliContext& context) {
    auto options = std::make_shared<RepoOptions>();
    auto* repo = app.add_subcommand(
        "repo", "Keep pattern MIDI files in the repository's Intro, Fill and Ending folders.\n" +
                    RepositoryHelp());
    repo->require_subcommand(1);
    repo->fallthrough();
    AddRepositoryOption(*repo, options->repository);

    auto* list = AddAction(*repo, options, context, "list",
                           "Say where the repository is and list its entries", RunList);
    AddSubRepository(*list, "SUB", options->sub, "Only this sub-repository");

    auto* import = AddAction(*repo, options, context, "import",
                             "Check MIDI files against the keyboard's pattern rules and copy "
                             "those that pass into a sub-repository",
                             RunImport);
    AddSubRepository(*import, "--to", options->sub, "Target sub-repository")->required();
    import->add_option("FILE", options->names, "MIDI files")->required();
    AddAnswerFlags(*import, options->answers);

    auto* copy =
        AddAction(*repo, options, context, "copy",
                  "Copy entries to another sub-repository (an entry there is kept)", RunCopy);
    AddSubRepository(*copy, "--from", options->from, "Source sub-repository")->required();
    AddSubRepository(*copy, "--to", options->to, "Target sub-repository")->required();
    copy->add_option("NAME", options->names, "Entry names")->required();

    auto* remove = AddAction(*repo, options, context, "remove", "Delete entries", RunRemove);
    AddSubRepository(*remove, "SUB", options->sub, "Sub-repository")->required();
    remove->add_option("NAME", options->names, "Entry names")->required();

    auto* removeAll =
        AddAction(*repo, options, context, "remove-all",
                  "Delete every entry of a sub-repository (asks first)", RunRemoveAll);
    AddSubRepository(*removeAll, "SUB", options->sub, "Sub-repository")->required();
    AddAnswerFlags(*removeAll, options->answers);
}

}  // namespace vantrel::cli
