#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "common/ScopedTempDir.h"

namespace vantrel::test {

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs vantrel-cli with arguments (already quoted for the shell) in folder, with its temporary
// folder set to tmp so a test can see what a command leaves there.
inline CliResult RunCli(const std::string& arguments, const std::filesystem::path& folder,
                        const std::filesystem::path& tmp) {
    ScopedTempDir capture;
    const auto out = capture.Path() / "out";
    const auto err = capture.Path() / "err";
    const std::string command = "cd '" + folder.string() + "' && TMPDIR='" + tmp.string() +
                                "' '" VANTREL_CLI "' " + arguments + " >'" + out.string() +
                                "' 2>'" + err.string() + "'";
    const int raw = std::system(command.c_str());
    CliResult result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = ReadText(out);
    result.err = ReadText(err);
    return result;
}

}  // namespace vantrel::test
