#pragma once

#include "common/UserPrompt.h"

class QWidget;

namespace vantrel {

// The window program's messages and questions: modal message boxes without an icon, titled
// with the program's name, with OK, Yes/No or Yes/No/Cancel.
class MessageBoxPrompt final : public UserPrompt {
  public:
    void SetParentWindow(QWidget* parent) { parent_ = parent; }

    void Message(const std::string& text) override;
    PromptAnswer Ask(const std::string& text, PromptButtons buttons) override;
    // The detail is the box's informative text, under the message.
    void MessageWithDetail(const std::string& text, const std::string& detail) override;
    PromptAnswer AskWithDetail(const std::string& text, PromptButtons buttons,
                               const std::string& detail) override;
    // The action is a button beside Close.
    bool Offer(const std::string& text, const std::string& action) override;

  private:
    QWidget* parent_ = nullptr;
};

}  // namespace vantrel
