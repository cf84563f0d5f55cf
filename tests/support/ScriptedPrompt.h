#pragma once

#include <deque>
#include <string>
#include <vector>

#include "common/UserPrompt.h"

namespace vantrel::test {

// Records every message and question in the order shown, and answers questions from a script.
// A question with no scripted answer left is answered No (Cancel where offered) and counted in
// unscriptedQuestions, so a test can assert that nothing unexpected was asked.
class ScriptedPrompt final : public UserPrompt {
  public:
    void Message(const std::string& text) override { MessageWithDetail(text, {}); }
    PromptAnswer Ask(const std::string& text, PromptButtons buttons) override {
        return AskWithDetail(text, buttons, {});
    }
    void MessageWithDetail(const std::string& text, const std::string& detail) override {
        messages.push_back(text);
        shown.push_back(text);
        details.push_back(detail);
    }
    PromptAnswer AskWithDetail(const std::string& text, PromptButtons buttons,
                               const std::string& detail) override {
        questions.push_back(text);
        shown.push_back(text);
        details.push_back(detail);
        if (answers.empty()) {
            ++unscriptedQuestions;
            return buttons == PromptButtons::YesNoCancel ? PromptAnswer::Cancel : PromptAnswer::No;
        }
        const PromptAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    bool Offer(const std::string& text, const std::string& action) override {
        offers.push_back(text + " [" + action + "]");
        return acceptOffers;
    }

    std::deque<PromptAnswer> answers;    // scripted, consumed front first
    std::vector<std::string> offers;     // offers of an action, with the action in brackets
    bool acceptOffers = false;           // the answer to every offer
    std::vector<std::string> messages;   // message boxes, in order
    std::vector<std::string> questions;  // questions, in order
    std::vector<std::string> shown;      // both, interleaved as shown
    std::vector<std::string> details;    // the detail line of each entry of shown ("" for none)
    int unscriptedQuestions = 0;
};

}  // namespace vantrel::test
