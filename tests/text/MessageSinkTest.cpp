#include <gtest/gtest.h>

#include "support/RecordingSink.h"

TEST(MessageSink, DeliversToTheInstalledSinkAndRestoresThePrevious) {
    TRecordingSink outer;
    {
        TRecordingSink inner;
        ShowMessage("inner", 3);
        ASSERT_EQ(inner.messages.size(), 1u);
        EXPECT_EQ(inner.messages[0].position, 3);
        EXPECT_TRUE(outer.messages.empty());
    }
    ShowMessage("outer");
    ASSERT_EQ(outer.messages.size(), 1u);
    EXPECT_EQ(outer.messages[0].text, "outer");
    EXPECT_EQ(outer.messages[0].position, -1);
}
