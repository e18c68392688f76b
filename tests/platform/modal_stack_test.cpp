#include "platform/modal_stack.h"

#include <gtest/gtest.h>

#include <vector>

namespace ts::platform {
namespace {

// Windows are numbers here; closing one only records it, as a window system
// would only ask it to close.
struct Stack {
    std::vector<int> closed;
    ModalStack<int> modals{[this](int& window) { closed.push_back(window); }};
};

TEST(ModalStack, AQuitClosesTheWindowsFromTheInnermostOutOneAtATime) {
    Stack s;
    s.modals.push(1);
    s.modals.push(2);
    s.modals.requestQuit();
    EXPECT_EQ(s.closed, std::vector<int>{2});
    s.modals.closeNext();  // asked already: not asked twice
    EXPECT_EQ(s.closed, std::vector<int>{2});

    EXPECT_TRUE(s.modals.pop());  // what it answered counts as dismissed
    ASSERT_TRUE(s.modals.quitContinues());
    s.modals.closeNext();
    EXPECT_EQ(s.closed, (std::vector<int>{2, 1}));
    EXPECT_TRUE(s.modals.pop());
    EXPECT_FALSE(s.modals.quitContinues());
    EXPECT_FALSE(s.modals.quitPending());
    EXPECT_TRUE(s.modals.quitEverRequested());
}

TEST(ModalStack, WindowsOpenedDuringAQuitAreClosedTooAndARepeatedRequestAsksAgain) {
    Stack s;
    s.modals.requestQuit();  // nothing open: the next window gets it
    EXPECT_TRUE(s.closed.empty());
    s.modals.push(1);
    s.modals.closeNext();
    EXPECT_EQ(s.closed, std::vector<int>{1});

    // Window 1, closing, asks a question first: that box is closed as well.
    s.modals.push(2);
    s.modals.closeNext();
    EXPECT_EQ(s.closed, (std::vector<int>{1, 2}));
    s.modals.requestQuit();  // the box has not gone yet: asked once more
    EXPECT_EQ(s.closed, (std::vector<int>{1, 2, 2}));
    EXPECT_TRUE(s.modals.pop());
    ASSERT_TRUE(s.modals.quitContinues());
    s.modals.closeNext();  // window 1 was asked already
    EXPECT_EQ(s.closed, (std::vector<int>{1, 2, 2}));
}

TEST(ModalStack, WithoutAQuitNothingIsClosed) {
    Stack s;
    s.modals.push(1);
    s.modals.closeNext();
    EXPECT_TRUE(s.closed.empty());
    EXPECT_FALSE(s.modals.pop());
    EXPECT_FALSE(s.modals.quitContinues());
    EXPECT_FALSE(s.modals.quitEverRequested());
}

}  // namespace
}  // namespace ts::platform
