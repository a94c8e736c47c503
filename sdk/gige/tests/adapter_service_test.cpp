// The adapter list over real named pipes under Wine, from the adapter
// service stand-in started as its own process for each case.
#include <gtest/gtest.h>

#include <windows.h>

#include "adapter_service_client.h"
#include "adapter_service_fixture.h"

namespace kqge {
namespace {

using fixture::Service;
using fixture::StartService;

TEST(AdapterServiceTest, RepliesOverRealPipes) {
    const DWORD self = GetCurrentProcessId();
    const struct Case {
        const char* name;
        DWORD askedId;
        std::uint32_t countField;
        std::uint32_t records;
        std::int32_t status;
        std::size_t adapters;
        DWORD serviceExit;
    } cases[] = {
        {"one adapter", self, 1, 1, 0, 1, 0},
        {"seven adapters fill one read", self, 7, 7, 0, 7, 0},
        {"eight do not fit one read", self, 8, 8, 22, 0, 0},
        {"count 0", self, 0, 0, 23, 0, 0},
        {"a count above the records sent", self, 3, 1, 22, 0, 0},
        {"a negative count", self, 0xFFFFFFFF, 1, 23, 0, 0},
        {"another process id: no reply", self + 1, 1, 1, 22, 0, 2},
    };
    for (const Case& k : cases) {
        Service service = StartService(k.askedId, k.countField, k.records);
        const AdapterReply reply = RequestAdapters(self);
        EXPECT_EQ(service.ExitCode(), k.serviceExit) << k.name;
        EXPECT_EQ(reply.status, k.status) << k.name;
        ASSERT_EQ(reply.adapters.size(), k.adapters) << k.name;
        for (std::size_t i = 0; i < reply.adapters.size(); ++i) {
            const AdapterRecord& a = reply.adapters[i];
            EXPECT_EQ(a.name, u"Adapter " + std::u16string(1, static_cast<char16_t>(u'0' + i))) << k.name;
            EXPECT_EQ(a.description, u"Loopback adapter " + std::u16string(1, static_cast<char16_t>(u'0' + i)));
            EXPECT_EQ(a.ip, (std::array<std::uint8_t, 4>{10, 0, static_cast<std::uint8_t>(i), 1})) << k.name;
            EXPECT_EQ(a.mask, (std::array<std::uint8_t, 4>{255, 255, 255, 0})) << k.name;
            EXPECT_EQ(a.mac[5], i) << k.name;
            // The 4-byte handle reaches a 64-bit process sign-extended.
            const auto handle =
                reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(WidenedDriverHandle(a.driverHandle)));
            EXPECT_EQ(reinterpret_cast<std::intptr_t>(handle), -256 + static_cast<std::intptr_t>(i)) << k.name;
        }
    }
}

TEST(AdapterServiceTest, NoServiceMeansNoAdapter) {
    const AdapterReply reply = RequestAdapters(GetCurrentProcessId());
    EXPECT_EQ(reply.status, 23);
    EXPECT_TRUE(reply.adapters.empty());
}

}  // namespace
}  // namespace kqge
