// The Success dialog, the last step: Escape ends the run as OK does.
#include "setup_fixture.h"

namespace {

class Success : public SetupTest {};

TEST_F(Success, EscapeEndsTheRunAsOkDoes) {
    HWND success = Reach(Step::kSuccess, "C:\\ZEL\\");
    ASSERT_NE(nullptr, success);
    ASSERT_TRUE(Key(success, VK_ESCAPE));
    ASSERT_TRUE(Gone(success));
    ExpectEnd({}, 0);
    EXPECT_EQ("", CompareWithMedium(kDefaultDestination));
}

} // namespace
