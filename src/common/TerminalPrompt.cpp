#include "common/TerminalPrompt.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <string>

namespace vantrel {

namespace {

const char* AnswerName(PromptAnswer answer) {
    switch (answer) {
        case PromptAnswer::Yes:
            return "Yes";
        case PromptAnswer::No:
            return "No";
        case PromptAnswer::Cancel:
            return "Cancel";
    }
    return "No";
}

PromptAnswer SafeDefault(PromptButtons buttons) {
    return buttons == PromptButtons::YesNoCancel ? PromptAnswer::Cancel : PromptAnswer::No;
}

// Each line of a detail indented under (or, for a question, above) the line scripts read.
void PrintDetail(std::FILE* out, const std::string& detail) {
    std::size_t start = 0;
    while (start < detail.size()) {
        const std::size_t end = std::min(detail.find('\n', start), detail.size());
        std::fprintf(out, "  %s\n", detail.substr(start, end - start).c_str());
        start = end + 1;
    }
}

}  // namespace

TerminalPrompt::TerminalPrompt(std::optional<PromptAnswer> presetAnswer, std::FILE* out,
                               std::FILE* in)
    : preset_(presetAnswer), out_(out), in_(in) {}

void TerminalPrompt::Message(const std::string& text) {
    std::fprintf(out_, "%s\n", text.c_str());
    std::fflush(out_);
}

void TerminalPrompt::MessageWithDetail(const std::string& text, const std::string& detail) {
    std::fprintf(out_, "%s\n", text.c_str());
    PrintDetail(out_, detail);
    std::fflush(out_);
}

PromptAnswer TerminalPrompt::AskWithDetail(const std::string& text, PromptButtons buttons,
                                           const std::string& detail) {
    PrintDetail(out_, detail);
    return Ask(text, buttons);
}

PromptAnswer TerminalPrompt::Ask(const std::string& text, PromptButtons buttons) {
    const bool withCancel = buttons == PromptButtons::YesNoCancel;
    if (preset_) {
        PromptAnswer answer = *preset_;
        if (answer == PromptAnswer::Cancel && !withCancel) {
            answer = PromptAnswer::No;
        }
        std::fprintf(out_, "%s %s\n", text.c_str(), AnswerName(answer));
        std::fflush(out_);
        return answer;
    }
    if (in_ == nullptr || !isatty(fileno(in_))) {
        const PromptAnswer answer = SafeDefault(buttons);
        std::fprintf(out_, "%s %s (no terminal to ask; use --yes or --no)\n", text.c_str(),
                     AnswerName(answer));
        std::fflush(out_);
        return answer;
    }
    for (;;) {
        std::fprintf(out_, "%s [%s] ", text.c_str(), withCancel ? "y/n/c" : "y/n");
        std::fflush(out_);
        char line[64];
        if (std::fgets(line, sizeof line, in_) == nullptr) {
            return SafeDefault(buttons);
        }
        const int c = std::tolower(static_cast<unsigned char>(line[0]));
        if (c == 'y')
            return PromptAnswer::Yes;
        if (c == 'n')
            return PromptAnswer::No;
        if (c == 'c' && withCancel)
            return PromptAnswer::Cancel;
    }
}

}  // namespace vantrel
