#pragma once

#include <string>
#include <vector>

#include "common/UserPrompt.h"

namespace vantrel {

// Passes every message and question on with one detail line added, for boxes raised by code
// that does not know what the user is working on (the converter does not know which of several
// imported files it is checking). Keeps the texts of the plain messages it passed on.
class DetailPrompt final : public UserPrompt {
  public:
    DetailPrompt(UserPrompt& inner, std::string detail)
        : inner_(inner), detail_(std::move(detail)) {}

    void Message(const std::string& text) override {
        shown_.push_back(text);
        inner_.MessageWithDetail(text, detail_);
    }
    PromptAnswer Ask(const std::string& text, PromptButtons buttons) override {
        return inner_.AskWithDetail(text, buttons, detail_);
    }
    void MessageWithDetail(const std::string& text, const std::string& detail) override {
        shown_.push_back(text);
        inner_.MessageWithDetail(text, detail);
    }
    PromptAnswer AskWithDetail(const std::string& text, PromptButtons buttons,
                               const std::string& detail) override {
        return inner_.AskWithDetail(text, buttons, detail);
    }

    const std::vector<std::string>& MessagesShown() const { return shown_; }

  private:
    UserPrompt& inner_;
    std::string detail_;
    std::vector<std::string> shown_;
};

}  // namespace vantrel
