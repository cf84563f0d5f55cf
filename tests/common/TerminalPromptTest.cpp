// Details on the terminal: the lines scripts read ("Using empty slot? Yes") stay as they are.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "common/TerminalPrompt.h"

namespace vantrel {
namespace {

std::string Printed(std::FILE* file) {
    std::rewind(file);
    std::string text;
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file))
        text.push_back(static_cast<char>(c));
    return text;
}

TEST(TerminalPrompt, DetailLinesAreIndentedApartFromTheTextAndTheAnswer) {
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    TerminalPrompt prompt(PromptAnswer::Yes, out, nullptr);
    prompt.MessageWithDetail("cut.mid:  File is not supported!", "cut.mid is not complete");
    EXPECT_EQ(prompt.AskWithDetail("Using empty slot?", PromptButtons::YesNo, "Slot 1 (empty)"),
              PromptAnswer::Yes);
    prompt.MessageWithDetail("Plain", "");
    prompt.MessageWithDetail("Two", "a: 3/4\nb: 4/4");
    EXPECT_EQ(Printed(out),
              "cut.mid:  File is not supported!\n  cut.mid is not complete\n"
              "  Slot 1 (empty)\nUsing empty slot? Yes\n"
              "Plain\n"
              "Two\n  a: 3/4\n  b: 4/4\n");
    std::fclose(out);
}

}  // namespace
}  // namespace vantrel
