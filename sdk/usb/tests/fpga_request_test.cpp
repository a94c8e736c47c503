// The FPGA request blocks and register lists, byte for byte.

#include <gtest/gtest.h>

#include <vector>

#include "models/fpga_request.h"

namespace kq::fpga {
namespace {

std::vector<std::uint8_t> Head(const Request& r, std::size_t n) { return {r.begin(), r.begin() + n}; }

TEST(FpgaRequest, ListsOfBothWidthsCarryTheCountedWritesAndTheOneAfter) {
    RegisterList list;
    list.height = 1536;
    list.width = 2048;
    list.control = 0x05;
    ASSERT_TRUE(list.Append({0x04, 2047}));
    ASSERT_TRUE(list.Append({0x1203, 1535}));
    struct Case {
        AddressWidth width;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {AddressWidth::eightBit,
         {16, 0x00, 0x06, 0x00, 0x08, 0x05, 2, 0xFF, 0x07, 0x04, 0xFF, 0x05, 0x03, 0xFF, 0x05, 0x03, 0}},
        {AddressWidth::sixteenBit, {16,   0x00, 0x06, 0x00, 0x08, 0x05, 2,    0xFF, 0x07, 0x04,
                                    0x00, 0xFF, 0x05, 0x03, 0x12, 0xFF, 0x05, 0x03, 0x12, 0}},
    };
    for (const Case& c : cases) {
        const Request r = RegisterListRequest(list, c.width);
        EXPECT_EQ(Head(r, c.bytes.size()), c.bytes);
        EXPECT_TRUE(std::all_of(r.begin() + c.bytes.size(), r.end(), [](std::uint8_t b) { return b == 0; }));
        const auto back = DecodeRegisterListRequest(r, c.width);
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(back->Count(), 2u);
        EXPECT_EQ(back->Trailing(),
                  (RegisterWrite{static_cast<std::uint16_t>(c.width == AddressWidth::eightBit ? 0x03 : 0x1203), 1535}));
    }
    EXPECT_EQ(ListBytes(AddressWidth::eightBit), 36u);
    EXPECT_EQ(ListBytes(AddressWidth::sixteenBit), 46u);
}

TEST(FpgaRequest, NineCountedWritesFillTheListAndTheTenthIsRefused) {
    for (AddressWidth width : {AddressWidth::eightBit, AddressWidth::sixteenBit}) {
        RegisterList list;
        for (std::uint16_t k = 0; k < 9; ++k) ASSERT_TRUE(list.Append({static_cast<std::uint16_t>(k + 1), k}));
        EXPECT_FALSE(list.Append({0x77, 0x77}));
        list.SetTrailing({0x09, 300});
        const Request r = RegisterListRequest(list, width);
        const std::size_t stride = width == AddressWidth::eightBit ? 3 : 4;
        // The write after the ninth ends exactly at the list's last byte.
        const std::size_t last = 1 + 6 + 9 * stride;
        EXPECT_EQ(r[last], 300 & 0xFF);
        EXPECT_EQ(r[last + 1], 300 >> 8);
        EXPECT_EQ(r[last + 2], 0x09);
        EXPECT_EQ(last + stride, 1 + ListBytes(width));
        EXPECT_EQ(r[6], 9);
    }
}

TEST(FpgaRequest, ValueAndEepromRequestsLayOutTheirPayload) {
    const Request delay = ValueRequest(Subcommand::triggerDelay, 0x01020304);
    EXPECT_EQ(Head(delay, 6), (std::vector<std::uint8_t>{11, 0x04, 0x03, 0x02, 0x01, 0}));
    std::array<std::uint8_t, kEepromBytes> area{};
    for (std::size_t i = 0; i < area.size(); ++i) area[i] = static_cast<std::uint8_t>(i + 1);
    const Request write = EepromWriteRequest(area);
    EXPECT_EQ(write[0], 7);
    EXPECT_EQ(write[1], 0);
    EXPECT_EQ(write[2], 1);
    EXPECT_EQ(write[41], 40);
    EXPECT_EQ(write[42], 0);
}

TEST(FpgaRequest, RepliesAreTakenOnlyWhenWhole) {
    Request reply{};
    for (std::size_t i = 0; i < reply.size(); ++i) reply[i] = static_cast<std::uint8_t>(i);
    const std::span<const std::uint8_t> all(reply);
    EXPECT_FALSE(DecodeSerialReply(all.first(17)).has_value());
    const auto serial = DecodeSerialReply(all.first(18));
    ASSERT_TRUE(serial.has_value());
    EXPECT_EQ((*serial)[0], 2);
    EXPECT_EQ((*serial)[15], 17);
    EXPECT_FALSE(DecodeEepromReply(all.first(41)).has_value());
    const auto area = DecodeEepromReply(all);
    ASSERT_TRUE(area.has_value());
    EXPECT_EQ((*area)[0], 2);
    EXPECT_EQ((*area)[39], 41);
}

TEST(FpgaRequest, ListDecoderRefusesOtherRequestsAndCountsPastNine) {
    RegisterList list;
    list.Append({1, 2});
    Request r = RegisterListRequest(list, AddressWidth::eightBit);
    r[6] = 10;
    EXPECT_FALSE(DecodeRegisterListRequest(r, AddressWidth::eightBit).has_value());
    EXPECT_FALSE(DecodeRegisterListRequest(PlainRequest(Subcommand::serial), AddressWidth::eightBit).has_value());
    EXPECT_FALSE(DecodeRegisterListRequest(std::span(r).first(20), AddressWidth::eightBit).has_value());
}

}  // namespace
}  // namespace kq::fpga
