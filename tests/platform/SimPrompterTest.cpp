#include "platform/sim/SimPrompter.h"

#include <gtest/gtest.h>

using namespace kesmaro;

TEST(SimPrompterTest, AnswersFromTheQueueThenYesAndOk)
{
    SimPrompter prompter;
    prompter.queue(PromptAnswer::No);
    prompter.queue(PromptAnswer::Yes);
    prompter.queue(PromptAnswer::Cancel);

    EXPECT_EQ(prompter.Ask({"t", "ok only", PromptButtons::Ok, PromptIcon::None}),
              PromptAnswer::Ok); // takes nothing from the queue
    EXPECT_EQ(prompter.Ask({"t", "q1", PromptButtons::YesNo, PromptIcon::Question}),
              PromptAnswer::No);
    EXPECT_EQ(prompter.Ask({"t", "q2", PromptButtons::OkCancel, PromptIcon::Question}),
              PromptAnswer::Ok); // Yes stands for OK
    EXPECT_EQ(prompter.Ask({"t", "q3", PromptButtons::YesNo, PromptIcon::Question}),
              PromptAnswer::No); // Cancel stands for No
    EXPECT_EQ(prompter.Ask({"t", "q4", PromptButtons::YesNo, PromptIcon::Question}),
              PromptAnswer::Yes);
    EXPECT_EQ(prompter.Ask({"t", "q5", PromptButtons::OkCancel, PromptIcon::Question}),
              PromptAnswer::Ok);

    ASSERT_EQ(prompter.asked().size(), 6u);
    EXPECT_EQ(prompter.asked()[1].prompt.text, "q1");
    EXPECT_EQ(prompter.asked()[1].answer, PromptAnswer::No);
    EXPECT_EQ(prompter.pendingAnswers(), 0u);
}
