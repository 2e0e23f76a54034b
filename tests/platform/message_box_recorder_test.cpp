// SPDX-License-Identifier: MIT
// The recorder that answers message boxes in tests.

#include <gtest/gtest.h>

#include "platform/message_box.h"

namespace cf::platform {
namespace {

TEST(MessageBoxRecorder, RecordsRequestsAndGivesQueuedAnswers)
{
    MessageBoxRecorder recorder;
    recorder.QueueAnswer(MessageAnswer::Yes);
    EXPECT_EQ(ShowMessage(MessageIcon::Question, "Codice fiscale", "Sicuro?", MessageButtons::YesNo),
              MessageAnswer::Yes);
    EXPECT_EQ(ShowMessage(MessageIcon::Question, "Codice fiscale", "Di nuovo?", MessageButtons::YesNo),
              MessageAnswer::No)
        << "without a queued answer, the answer of Esc";
    EXPECT_EQ(ShowMessage(MessageIcon::Question, "T", "x", MessageButtons::YesNoCancel),
              MessageAnswer::Cancel);
    EXPECT_EQ(ShowMessage(MessageIcon::Critical, "T", "y"), MessageAnswer::Ok);

    ASSERT_EQ(recorder.requests().size(), 4u);
    EXPECT_EQ(recorder.requests()[0].text, "Sicuro?");
    EXPECT_EQ(recorder.requests()[0].title, "Codice fiscale");
    EXPECT_EQ(recorder.requests()[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(recorder.requests()[3].icon, MessageIcon::Critical);
}

}  // namespace
}  // namespace cf::platform
