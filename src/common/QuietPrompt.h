#pragma once

#include <string>

#include "common/UserPrompt.h"

namespace vantrel {

// Shows nothing and declines every question: for measuring a file by converting it, which is
// not a check the user asked for, so the converter's own messages stay unseen.
class QuietPrompt final : public UserPrompt {
  public:
    void Message(const std::string&) override {}
    PromptAnswer Ask(const std::string&, PromptButtons) override { return PromptAnswer::No; }
};

}  // namespace vantrel
