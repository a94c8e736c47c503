// The adapter channel's wire contracts byte for byte: commands, their
// acknowledgements, stream records, the discovery list, the adapter
// service's reply and the delivered frame's leader.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "adapter_reply.h"
#include "delivered_frame.h"
#include "discovery_list.h"
#include "driver_contract.h"
#include "gvcp_command.h"

namespace kqge {
namespace {

using Bytes = std::vector<std::uint8_t>;

const CommandTarget kTarget{
    {0x00, 0x11, 0x22, 0x33, 0x44, 0x55}, {192, 168, 1, 10}, {255, 255, 255, 0}, {192, 168, 1, 77}};

const Bytes kHeaderAfterCode = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 192, 168, 1, 10, 255, 255, 255, 0, 192, 168, 1, 77};

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

TEST(GvcpCommandTest, CommandsCarryTheirCodeAddressingAndBigEndianBody) {
    const std::uint8_t data[] = {1, 2, 3, 4, 5};
    const RegisterWrite one[] = {{0x00000A00, 0x00000002}};
    const RegisterWrite three[] = {{0x0D00, 0x11223344}, {0x0D04, 0x1}, {0xF0000010, 0xFFFFFFFE}};
    struct Case {
        const char* name;
        Bytes encoded;
        Bytes expected;
    } cases[] = {
        {"writereg one pair", EncodeWriteRegs(kTarget, one),
         Concat({{0x00, 0x82}, kHeaderAfterCode, {0x00, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x00, 0x02}})},
        {"writereg three pairs", EncodeWriteRegs(kTarget, three),
         Concat({{0x00, 0x82},
                 kHeaderAfterCode,
                 {0x00, 0x00, 0x0D, 0x00, 0x11, 0x22, 0x33, 0x44},
                 {0x00, 0x00, 0x0D, 0x04, 0x00, 0x00, 0x00, 0x01},
                 {0xF0, 0x00, 0x00, 0x10, 0xFF, 0xFF, 0xFF, 0xFE}})},
        {"readreg", EncodeReadReg(kTarget, 0x00000938),
         Concat({{0x00, 0x80}, kHeaderAfterCode, {0x00, 0x00, 0x09, 0x38}})},
        {"writemem", EncodeWriteMem(kTarget, 0x00000200, data),
         Concat({{0x00, 0x86}, kHeaderAfterCode, {0x00, 0x00, 0x02, 0x00}, {1, 2, 3, 4, 5}})},
        {"writereg without pairs", EncodeWriteRegs(kTarget, {}), {}},
        {"writemem without data", EncodeWriteMem(kTarget, 0, {}), {}},
    };
    for (const Case& c : cases) EXPECT_EQ(c.encoded, c.expected) << c.name;
    EXPECT_EQ(cases[0].encoded.size(), 28u);
    EXPECT_EQ(cases[1].encoded.size(), 20u + 8 * 3);
    EXPECT_EQ(cases[2].encoded.size(), 24u);
    EXPECT_EQ(cases[3].encoded.size(), 24u + 5);
}

TEST(GvcpCommandTest, AcknowledgementCountsOnlyWithStatusZeroAndItsOwnCode) {
    struct Case {
        const char* name;
        GvcpCommand command;
        Bytes ack;
        bool confirms;
    } cases[] = {
        {"readreg value", GvcpCommand::readReg, {0, 0, 0x00, 0x81, 0, 4, 0, 9, 0x12, 0x34, 0x56, 0x78}, true},
        {"readreg error status", GvcpCommand::readReg, {0x80, 0x06, 0x00, 0x81, 0, 4, 0, 9, 1, 2, 3, 4}, false},
        {"readreg answered by a write ack", GvcpCommand::readReg, {0, 0, 0x00, 0x83, 0, 4, 0, 9, 1, 2, 3, 4}, false},
        {"readreg zero length", GvcpCommand::readReg, {0, 0, 0x00, 0x81, 0, 0, 0, 9, 1, 2, 3, 4}, false},
        {"readreg value cut off", GvcpCommand::readReg, {0, 0, 0x00, 0x81, 0, 4, 0, 9, 1, 2, 3}, false},
        {"header cut off", GvcpCommand::writeReg, {0, 0, 0x00, 0x83, 0, 4, 0}, false},
        {"nothing", GvcpCommand::writeReg, {}, false},
        {"writereg", GvcpCommand::writeReg, {0, 0, 0x00, 0x83, 0, 4, 0, 2, 0, 0, 0, 1}, true},
        {"writereg error status", GvcpCommand::writeReg, {0x80, 0x02, 0x00, 0x83, 0, 4, 0, 2}, false},
        {"writereg answered by a read ack", GvcpCommand::writeReg, {0, 0, 0x00, 0x81, 0, 4, 0, 2, 0, 0, 0, 1}, false},
        {"writemem", GvcpCommand::writeMem, {0, 0, 0x00, 0x87, 0, 4, 0, 3, 0, 0, 2, 0}, true},
        {"writemem other code", GvcpCommand::writeMem, {0, 0, 0x00, 0x85, 0, 4, 0, 3, 0, 0, 2, 0}, false},
        {"writemem error status", GvcpCommand::writeMem, {0x80, 0x0C, 0x00, 0x87, 0, 4, 0, 3}, false},
    };
    for (const Case& c : cases) EXPECT_EQ(AckConfirms(c.ack, c.command), c.confirms) << c.name;

    EXPECT_EQ(ReadRegValue(cases[0].ack), 0x12345678u);
    for (int i = 1; i <= 4; ++i) EXPECT_FALSE(ReadRegValue(cases[i].ack).has_value()) << cases[i].name;
    const auto ack = DecodeAck(cases[10].ack);
    ASSERT_TRUE(ack.has_value());
    EXPECT_EQ(ack->length, 4);
    EXPECT_EQ(ack->id, 3);
    EXPECT_EQ(ack->payload.size(), 4u);
}

TEST(DriverContractTest, ControlCodesAreBufferedReadWriteRequestsOfDeviceType0x12) {
    const std::uint32_t functions[] = {0x207, 0x209, 0x20A, 0x20B, 0x20C, 0x20E};
    for (std::size_t i = 0; i < kDriverControls.size(); ++i) {
        const std::uint32_t code = (0x12u << 16) | (3u << 14) | (functions[i] << 2);
        EXPECT_EQ(static_cast<std::uint32_t>(kDriverControls[i]), code) << i;
    }
}

TEST(DriverContractTest, StreamRecordHasItsPortBigEndianAndTheRestLittleEndian) {
    const StreamRecord record{2592, 1944, 55005, 1464};
    const auto bytes = EncodeStreamRecord(record);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.end()), (Bytes{0x20, 0x0A, 0x98, 0x07, 0xD6, 0xDD, 0xB8, 0x05}));
    EXPECT_EQ(DecodeStreamRecord(bytes), record);
    EXPECT_FALSE(DecodeStreamRecord(std::span(bytes).first(7)).has_value());
    const Bytes nine(9, 0);
    EXPECT_FALSE(DecodeStreamRecord(nine).has_value());
}

template <std::size_t N>
Bytes AsBytes(const std::array<std::uint8_t, N>& field) {
    return Bytes(field.begin(), field.end());
}

Bytes DiscoveryBytes(std::size_t records, std::size_t extra = 0) {
    Bytes bytes(records * kDiscoveryRecordBytes + extra, 0);
    for (std::size_t i = 0; i < records; ++i) bytes[i * kDiscoveryRecordBytes + 15] = static_cast<std::uint8_t>(i);
    return bytes;
}

TEST(DiscoveryListTest, KeepsTheFirstTenWholeRecords) {
    struct Case {
        const char* name;
        Bytes returned;
        std::size_t kept;
    } cases[] = {
        {"nothing", {}, 0},
        {"part of one", Bytes(kDiscoveryRecordBytes - 1, 0), 0},
        {"one", DiscoveryBytes(1), 1},
        {"two and a part", DiscoveryBytes(2, 100), 2},
        {"ten", DiscoveryBytes(10), 10},
        {"eleven", DiscoveryBytes(11), 10},
        {"a full buffer", DiscoveryBytes(16, kDeviceListBytes - 16 * kDiscoveryRecordBytes), 10},
    };
    for (const Case& c : cases) {
        const auto records = ParseDiscoveryList(c.returned);
        ASSERT_EQ(records.size(), c.kept) << c.name;
        for (std::size_t i = 0; i < records.size(); ++i) EXPECT_EQ(records[i].Mac()[5], i) << c.name;
    }
}

TEST(DiscoveryListTest, ReadsAddressesAndABoundedModelName) {
    Bytes bytes(kDiscoveryRecordBytes, 0xEE);
    const Bytes mac = {0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5};
    std::copy(mac.begin(), mac.end(), bytes.begin() + 10);
    const Bytes ip = {10, 0, 0, 5}, mask = {255, 0, 0, 0}, gateway = {10, 0, 0, 1};
    std::copy(ip.begin(), ip.end(), bytes.begin() + 36);
    std::copy(mask.begin(), mask.end(), bytes.begin() + 52);
    std::copy(gateway.begin(), gateway.end(), bytes.begin() + 68);
    const std::string name = "Gige-Parsun 5M";
    std::copy(name.begin(), name.end(), bytes.begin() + 104);
    bytes[104 + name.size()] = 0;

    const auto records = ParseDiscoveryList(bytes);
    ASSERT_EQ(records.size(), 1u);
    const DiscoveryRecord& r = records[0];
    EXPECT_EQ(AsBytes(r.Mac()), mac);
    EXPECT_EQ(AsBytes(r.CurrentIp()), ip);
    EXPECT_EQ(AsBytes(r.SubnetMask()), mask);
    EXPECT_EQ(AsBytes(r.DefaultGateway()), gateway);
    EXPECT_EQ(r.ModelName(), name);

    // A name filling its 32 bytes ends there, not in the bytes that follow.
    std::fill(bytes.begin() + 104, bytes.begin() + 136, 'M');
    EXPECT_EQ(ParseDiscoveryList(bytes)[0].ModelName(), std::string(32, 'M'));
}

// A reply as the service writes it: count, then records with the name and
// description fields as given (possibly without terminator).
struct ReplyBuilder {
    Bytes bytes = Bytes(4, 0);

    ReplyBuilder& Count(std::int32_t count) {
        const auto c = static_cast<std::uint32_t>(count);
        for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(c >> (8 * i));
        return *this;
    }
    ReplyBuilder& Record(std::uint32_t handle, const std::u16string& name, const std::u16string& description) {
        Bytes r(kAdapterRecordBytes, 0);
        for (int i = 0; i < 4; ++i) r[i] = static_cast<std::uint8_t>(handle >> (8 * i));
        for (std::size_t i = 0; i < name.size(); ++i) {
            r[8 + 2 * i] = static_cast<std::uint8_t>(name[i]);
            r[9 + 2 * i] = static_cast<std::uint8_t>(name[i] >> 8);
        }
        for (std::size_t i = 0; i < description.size(); ++i) {
            r[264 + 2 * i] = static_cast<std::uint8_t>(description[i]);
            r[265 + 2 * i] = static_cast<std::uint8_t>(description[i] >> 8);
        }
        const Bytes tail = {192, 168, 7, static_cast<std::uint8_t>(handle), 255, 255, 0, 0, 2, 4, 6, 8, 10, 12};
        std::copy(tail.begin(), tail.end(), r.begin() + 520);
        bytes.insert(bytes.end(), r.begin(), r.end());
        return *this;
    }
    ReplyBuilder& Records(std::int32_t n) {
        for (std::int32_t i = 0; i < n; ++i) Record(0x100 + i, u"eth" + std::u16string(1, u'0' + i), u"wired");
        return Count(n);
    }
    ReplyBuilder& PadTo(std::size_t size) {
        bytes.resize(size, 0);
        return *this;
    }
};

TEST(AdapterReplyTest, TakesOnlyRecordsThatArrivedWhole) {
    struct Case {
        const char* name;
        Bytes reply;
        std::int32_t status;
        std::size_t adapters;
    } cases[] = {
        {"one adapter", ReplyBuilder().Records(1).bytes, 0, 1},
        {"one adapter in a full read", ReplyBuilder().Records(1).PadTo(kAdapterReplyMaxBytes).bytes, 0, 1},
        {"seven adapters in a full read", ReplyBuilder().Records(7).PadTo(kAdapterReplyMaxBytes).bytes, 0, 7},
        {"count zero", ReplyBuilder().Records(0).PadTo(kAdapterReplyMaxBytes).bytes, 23, 0},
        {"negative count", ReplyBuilder().Records(1).Count(-1).bytes, 23, 0},
        {"count of eight in one read", ReplyBuilder().Records(7).Count(8).PadTo(kAdapterReplyMaxBytes).bytes, 22, 0},
        {"count beyond any read", ReplyBuilder().Records(1).Count(0x7FFFFFFF).bytes, 22, 0},
        {"second record cut", ReplyBuilder().Records(2).PadTo(4 + 536 + 300).bytes, 22, 0},
        {"count cut", Bytes{1, 0, 0}, 22, 0},
        {"nothing", Bytes{}, 22, 0},
    };
    for (const Case& c : cases) {
        const AdapterReply reply = ParseAdapterReply(c.reply);
        EXPECT_EQ(reply.status, c.status) << c.name;
        ASSERT_EQ(reply.adapters.size(), c.adapters) << c.name;
        for (std::size_t i = 0; i < reply.adapters.size(); ++i) {
            const AdapterRecord& a = reply.adapters[i];
            EXPECT_EQ(a.driverHandle, 0x100 + i) << c.name;
            EXPECT_EQ(a.name, u"eth" + std::u16string(1, u'0' + static_cast<char16_t>(i))) << c.name;
            EXPECT_EQ(a.description, u"wired") << c.name;
            EXPECT_EQ(a.ip[3], static_cast<std::uint8_t>(0x100 + i)) << c.name;
            EXPECT_EQ(a.mask[1], 255) << c.name;
            EXPECT_EQ(a.mac[5], 12) << c.name;
        }
    }
}

TEST(AdapterReplyTest, NamesStopAtTheirFieldsWithoutTerminator) {
    const std::u16string longName(kAdapterNameChars, u'N');
    const std::u16string longDescription(kAdapterNameChars, u'D');
    const AdapterReply reply = ParseAdapterReply(ReplyBuilder().Record(1, longName, longDescription).Count(1).bytes);
    ASSERT_EQ(reply.adapters.size(), 1u);
    EXPECT_EQ(reply.adapters[0].name, longName);
    EXPECT_EQ(reply.adapters[0].description, longDescription);
}

TEST(AdapterReplyTest, HandleIsSignExtended) {
    EXPECT_EQ(WidenedDriverHandle(0xFFFFFFFF), -1);
    EXPECT_EQ(WidenedDriverHandle(0x80000000), -0x80000000LL);
    EXPECT_EQ(WidenedDriverHandle(0x7FFFFFFF), 0x7FFFFFFF);
    EXPECT_EQ(WidenedDriverHandle(0x1C4), 0x1C4);
}

TEST(DeliveredFrameTest, LeaderGivesPortAndTriggerMarkAndShortReadsAreDropped) {
    struct Case {
        const char* name;
        std::size_t length;
        std::uint8_t mark[2];
        std::uint8_t port[2];
        bool kept;
        bool triggered;
        std::uint16_t hostPort;
    } cases[] = {
        {"shorter than the leader fields", 43, {0xFF, 0x01}, {0xD6, 0xDD}, false, false, 0},
        {"nothing", 0, {0, 0}, {0, 0}, false, false, 0},
        {"just the leader fields", 44, {0xFF, 0x01}, {0xD6, 0xDD}, true, true, 55005},
        {"free running", 1000, {0x00, 0x00}, {0xD6, 0xDE}, true, false, 55006},
        {"mark the wrong way round", 1000, {0x01, 0xFF}, {0xEA, 0x60}, true, false, 60000},
        {"other mark", 1000, {0xFF, 0x00}, {0x00, 0x01}, true, false, 1},
    };
    for (const Case& c : cases) {
        Bytes read(std::max<std::size_t>(c.length, 64), 0x5A);
        if (c.length >= 44) {
            read[40] = c.mark[0];
            read[41] = c.mark[1];
            read[42] = c.port[0];
            read[43] = c.port[1];
        }
        const auto frame = ReadDeliveredFrame(std::span(read).first(c.length));
        ASSERT_EQ(frame.has_value(), c.kept) << c.name;
        if (!frame) continue;
        EXPECT_EQ(frame->hostPort, c.hostPort) << c.name;
        EXPECT_EQ(frame->triggered, c.triggered) << c.name;
        EXPECT_EQ(frame->bytes.size(), c.length) << c.name;
        EXPECT_EQ(frame->bytes.data(), read.data()) << c.name;
    }
}

}  // namespace
}  // namespace kqge
