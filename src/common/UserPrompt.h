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
};

}  // namespace vantrel
