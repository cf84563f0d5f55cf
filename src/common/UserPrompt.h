#pragma once

#include <string>

namespace vantrel {

enum class PromptButtons { YesNo, YesNoCancel };
enum class PromptAnswer { Yes, No, Cancel };

// Every message box and question of the program goes through this interface, so the core can
// tell the user "Time signature is required!" without knowing whether a window, a terminal or a
// test is listening. Texts are passed exactly as the user must see them.
class UserPrompt {
  public:
    virtual ~UserPrompt() = default;

    // A modal message with an OK button and no icon.
    virtual void Message(const std::string& text) = 0;

    // A modal question; the answer is one of the offered buttons.
    virtual PromptAnswer Ask(const std::string& text, PromptButtons buttons) = 0;

    // The same with a detail line under the text: which file or slot the box is about, or the
    // values behind a refusal. The text stays exactly as given; where there is no room for a
    // detail (or it is empty) these are the plain Message and Ask.
    virtual void MessageWithDetail(const std::string& text, const std::string& detail) {
        (void)detail;
        Message(text);
    }
    virtual PromptAnswer AskWithDetail(const std::string& text, PromptButtons buttons,
                                       const std::string& detail) {
        (void)detail;
        return Ask(text, buttons);
    }

    // A message that offers one action beside Close (the window's "Make it fit…"); true when
    // the user chose the action. Where nothing can be offered the answer is false.
    virtual bool Offer(const std::string& text, const std::string& action) {
        (void)text;
        (void)action;
        return false;
    }
};

}  // namespace vantrel
