// A posted text is the sender's copy, taken over once by the receiver.
#include <gtest/gtest.h>

#include <string>

#include "handed_over_text.h"

namespace {

TEST(HandedOverText, TheReceiverTakesTheCopyOnce) {
    std::wstring buffer = L"C:\\shots\\first.bmp";
    const std::uintptr_t first = HandOverText(buffer);
    // The sender's buffer takes the next still's path before the message
    // arrives.
    buffer = L"C:\\shots\\second.bmp";
    const std::uintptr_t second = HandOverText(buffer);
    ASSERT_NE(first, second);

    EXPECT_EQ(TakeHandedOverText(first), std::optional<std::wstring>(L"C:\\shots\\first.bmp"));
    EXPECT_EQ(TakeHandedOverText(first), std::nullopt);
    EXPECT_EQ(TakeHandedOverText(second), std::optional<std::wstring>(L"C:\\shots\\second.bmp"));
}

TEST(HandedOverText, NumbersThatWereNotHandedOverYieldNothing) {
    const std::wstring text = L"C:\\elsewhere.bmp";
    EXPECT_EQ(TakeHandedOverText(0), std::nullopt);
    EXPECT_EQ(TakeHandedOverText(reinterpret_cast<std::uintptr_t>(&text)), std::nullopt);
    EXPECT_EQ(TakeHandedOverText(12345), std::nullopt);
}

}  // namespace
