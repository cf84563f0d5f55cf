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
// folder set to tmp so a test can see what a command leaves there. On Windows the command goes
// through cmd, which takes double quotes only.
inline CliResult RunCli(const std::string& arguments, const std::filesystem::path& folder,
                        const std::filesystem::path& tmp) {
    ScopedTempDir capture;
    const auto out = capture.Path() / "out";
    const auto err = capture.Path() / "err";
#ifdef _WIN32
    const std::string cli = std::filesystem::absolute(VANTREL_CLI).string();
    // The outer quotes are cmd's own: it strips the first and the last of the line.
    const std::string command = "\"cd /d \"" + folder.string() + "\" && set \"TMP=" + tmp.string() +
                                "\" && set \"TEMP=" + tmp.string() + "\" && \"" + cli + "\" " +
                                arguments + " >\"" + out.string() + "\" 2>\"" + err.string() +
                                "\"\"";
    const int raw = std::system(command.c_str());
    CliResult result;
    result.status = raw;
#else
    const std::string command = "cd '" + folder.string() + "' && TMPDIR='" + tmp.string() +
                                "' '" VANTREL_CLI "' " + arguments + " >'" + out.string() +
                                "' 2>'" + err.string() + "'";
    const int raw = std::system(command.c_str());
    CliResult result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
    result.out = ReadText(out);
    result.err = ReadText(err);
    return result;
}

}  // namespace vantrel::test
