#pragma once

#include <cstdio>
#include <optional>

#include "common/UserPrompt.h"

namespace vantrel {

// Messages go to stderr. Questions take a preset answer (--yes/--no) when one is given; else
// they are asked on the terminal when stdin is one; else they are answered No (Cancel where a
// Cancel button exists), which never overwrites or deletes anything.
class TerminalPrompt final : public UserPrompt {
  public:
    explicit TerminalPrompt(std::optional<PromptAnswer> presetAnswer = std::nullopt,
                            std::FILE* out = stderr, std::FILE* in = stdin);

    void Message(const std::string& text) override;
    PromptAnswer Ask(const std::string& text, PromptButtons buttons) override;
    // The detail goes on indented lines of its own, so the line with the text (and, for a
    // question, the answer) reads the same as without it.
    void MessageWithDetail(const std::string& text, const std::string& detail) override;
    PromptAnswer AskWithDetail(const std::string& text, PromptButtons buttons,
                               const std::string& detail) override;

  private:
    std::optional<PromptAnswer> preset_;
    std::FILE* out_;
    std::FILE* in_;
};

}  // namespace vantrel
