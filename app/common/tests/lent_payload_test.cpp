// Payload addresses are readable only while one of our senders lends them.
#include <gtest/gtest.h>

#include <string>

#include "lent_payload.h"

namespace {

std::uintptr_t AddressOf(const void* p) { return reinterpret_cast<std::uintptr_t>(p); }

TEST(LentPayload, OnlyAddressesLentRightNowAreAccepted) {
    std::wstring path = L"C:\\a.jpg";
    std::wstring other = L"C:\\b.jpg";
    EXPECT_FALSE(IsLentPayload(AddressOf(&path)));
    EXPECT_FALSE(IsLentPayload(0));
    {
        CLentPayload lent(&path);
        EXPECT_EQ(lent.Get(), AddressOf(&path));
        EXPECT_TRUE(IsLentPayload(AddressOf(&path)));
        EXPECT_FALSE(IsLentPayload(AddressOf(&other)));
        // An address inside the record is not the record.
        EXPECT_FALSE(IsLentPayload(AddressOf(&path) + 1));
        {
            CLentPayload again(&path);
            EXPECT_TRUE(IsLentPayload(AddressOf(&path)));
        }
        // The outer lend still holds after the nested one ends.
        EXPECT_TRUE(IsLentPayload(AddressOf(&path)));
    }
    EXPECT_FALSE(IsLentPayload(AddressOf(&path)));
}

}  // namespace
