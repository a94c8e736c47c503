#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

#include "capability_table.h"
#include "fix32.h"
#include "source_fakes.h"

namespace twain {
namespace {

using test::TableMemory;

template <typename T>
T ReadAt(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    T value{};
    std::memcpy(&value, bytes.data() + at, sizeof value);
    return value;
}

class Capabilities : public ::testing::Test {
protected:
    CapabilityAnswer Run(TW_UINT16 msg, TW_CAPABILITY& cap, CapabilityContext context = {}) {
        return table.OnCapability(msg, cap, memory, context);
    }
    // The container's bytes after a successful answer.
    std::vector<std::uint8_t> Ask(TW_UINT16 msg, TW_UINT16 id, TW_UINT16* conType = nullptr,
                                  CapabilityContext context = {}) {
        TW_CAPABILITY cap{id, 0, nullptr};
        const CapabilityAnswer answer = Run(msg, cap, context);
        EXPECT_EQ(answer.returnCode, TWRC_SUCCESS) << std::hex << id << " msg " << msg;
        if (conType != nullptr) *conType = cap.ConType;
        auto* block = memory.Block(cap.hContainer);
        return block == nullptr ? std::vector<std::uint8_t>{} : *block;
    }
    // A TW_ONEVALUE of the type holding value's bytes, set on id.
    CapabilityAnswer SetOne(TW_UINT16 id, TW_UINT16 type, std::uint32_t value, CapabilityContext context = {}) {
        TW_HANDLE handle = memory.Allocate(sizeof(TW_ONEVALUE));
        auto& bytes = *memory.Block(handle);
        std::memcpy(bytes.data(), &type, 2);
        std::memcpy(bytes.data() + 2, &value, 4);
        TW_CAPABILITY cap{id, TWON_ONEVALUE, handle};
        return Run(MSG_SET, cap, context);
    }
    std::uint32_t CurrentOne(TW_UINT16 id) { return ReadAt<std::uint32_t>(Ask(MSG_GETCURRENT, id), 2); }

    CCapabilityTable table;
    TableMemory memory;
};

TEST_F(Capabilities, SupportedCapsListsEachOfThe35Once) {
    TW_UINT16 conType = 0;
    const auto bytes = Ask(MSG_GET, CAP_SUPPORTEDCAPS, &conType);
    EXPECT_EQ(conType, TWON_ARRAY);
    ASSERT_GE(bytes.size(), 6u);
    EXPECT_EQ(ReadAt<TW_UINT16>(bytes, 0), TWTY_UINT16);
    const auto count = ReadAt<TW_UINT32>(bytes, 2);
    EXPECT_EQ(count, kSupportedCapabilityCount);
    ASSERT_EQ(bytes.size(), 6 + 2 * count);
    std::vector<TW_UINT16> listed;
    for (std::size_t i = 0; i < count; ++i) listed.push_back(ReadAt<TW_UINT16>(bytes, 6 + 2 * i));
    EXPECT_EQ(std::set<TW_UINT16>(listed.begin(), listed.end()).size(), kSupportedCapabilityCount);
    EXPECT_EQ(listed, std::vector<TW_UINT16>(table.SupportedIds().begin(), table.SupportedIds().end()));
    EXPECT_EQ(listed.front(), CAP_SUPPORTEDCAPS);
    EXPECT_EQ(listed.back(), ICAP_SUPPORTEDSIZES);
}

// Every listed capability answers each read its operations allow, in the
// container its slot names, and refuses the rest.
TEST_F(Capabilities, EveryCapabilityAnswersItsOperations) {
    for (TW_UINT16 id : table.SupportedIds()) {
        SCOPED_TRACE(id);
        const CapabilitySlot* slot = table.Find(id);
        ASSERT_NE(slot, nullptr);
        TW_UINT16 conType = 0;
        const auto support = Ask(MSG_QUERYSUPPORT, id, &conType);
        EXPECT_EQ(conType, TWON_ONEVALUE);
        EXPECT_EQ(ReadAt<TW_UINT16>(support, 0), TWTY_UINT32);
        EXPECT_EQ(ReadAt<TW_UINT32>(support, 2), slot->operations);
        EXPECT_TRUE(slot->operations & TWQC_GET);

        const auto got = Ask(MSG_GET, id, &conType);
        EXPECT_EQ(conType, slot->getContainer);
        EXPECT_EQ(ReadAt<TW_UINT16>(got, 0), slot->itemType);
        for (TW_UINT16 msg : {MSG_GETCURRENT, MSG_GETDEFAULT}) {
            const auto one = Ask(msg, id, &conType);
            EXPECT_EQ(conType, slot->otherContainer);
            EXPECT_EQ(ReadAt<TW_UINT16>(one, 0), slot->itemType);
        }
        if ((slot->operations & TWQC_SET) == 0) {
            EXPECT_EQ(SetOne(id, slot->itemType, 0).condition, TWCC_CAPBADOPERATION);
            TW_CAPABILITY cap{id, 0, nullptr};
            EXPECT_EQ(Run(MSG_RESET, cap).condition, TWCC_CAPBADOPERATION);
        } else {
            const auto reset = Ask(MSG_RESET, id);
            EXPECT_EQ(reset, Ask(MSG_GETDEFAULT, id));
        }
    }
}

TEST_F(Capabilities, BitDepthAndPixelTypeOfferWhatTheDeviceSends) {
    for (int bits : {24, 8}) {
        SCOPED_TRACE(bits);
        table.SetDeviceOutputBits(bits);
        for (TW_UINT16 id : {ICAP_BITDEPTH, kBitDepthSlotId}) {
            const auto e = Ask(MSG_GET, id);
            ASSERT_EQ(ReadAt<TW_UINT32>(e, 2), 2u);
            EXPECT_EQ(ReadAt<TW_UINT16>(e, 14), 8);
            EXPECT_EQ(ReadAt<TW_UINT16>(e, 16), 24);
            EXPECT_EQ(ReadAt<TW_UINT16>(e, 14 + 2 * ReadAt<TW_UINT32>(e, 6)), bits);
        }
        const auto pixel = Ask(MSG_GET, ICAP_PIXELTYPE);
        ASSERT_EQ(ReadAt<TW_UINT32>(pixel, 2), 2u);
        EXPECT_EQ(ReadAt<TW_UINT16>(pixel, 14), TWPT_GRAY);
        EXPECT_EQ(ReadAt<TW_UINT16>(pixel, 16), TWPT_RGB);
        EXPECT_EQ(CurrentOne(ICAP_PIXELTYPE) & 0xFFFF, bits == 8 ? TWPT_GRAY : TWPT_RGB);
        EXPECT_EQ(SetOne(ICAP_BITDEPTH, TWTY_UINT16, bits).returnCode, TWRC_SUCCESS);
        EXPECT_EQ(SetOne(ICAP_BITDEPTH, TWTY_UINT16, bits == 8 ? 24 : 8).condition, TWCC_BADVALUE);
        EXPECT_EQ(SetOne(ICAP_BITDEPTH, TWTY_UINT16, 32).condition, TWCC_BADVALUE);
        EXPECT_EQ(CurrentOne(ICAP_BITDEPTH) & 0xFFFF, static_cast<std::uint32_t>(bits));
    }
}

TEST_F(Capabilities, SetAcceptsListedAndRangeValuesOnly) {
    struct Row {
        TW_UINT16 id;
        TW_UINT16 type;
        std::uint32_t value;
        TW_UINT16 condition;
    };
    const auto fix = [](float v) { return Fix32Bits(ToFix32(v)); };
    const Row rows[] = {
        {ICAP_XFERMECH, TWTY_UINT16, TWSX_MEMORY, TWCC_SUCCESS},
        {ICAP_XFERMECH, TWTY_UINT16, TWSX_FILE, TWCC_SUCCESS},
        {ICAP_XFERMECH, TWTY_UINT16, 3, TWCC_BADVALUE},
        {ICAP_XFERMECH, TWTY_UINT32, TWSX_MEMORY, TWCC_BADVALUE},  // wrong item type
        {ICAP_BRIGHTNESS, TWTY_FIX32, fix(-1000), TWCC_SUCCESS},
        {ICAP_BRIGHTNESS, TWTY_FIX32, fix(0), TWCC_SUCCESS},
        {ICAP_BRIGHTNESS, TWTY_FIX32, fix(1000), TWCC_SUCCESS},
        {ICAP_BRIGHTNESS, TWTY_FIX32, fix(500), TWCC_BADVALUE},
        {ICAP_BRIGHTNESS, TWTY_FIX32, fix(2000), TWCC_BADVALUE},
        {ICAP_HIGHLIGHT, TWTY_FIX32, fix(128), TWCC_SUCCESS},
        {ICAP_HIGHLIGHT, TWTY_FIX32, fix(0), TWCC_SUCCESS},
        {ICAP_HIGHLIGHT, TWTY_FIX32, fix(255), TWCC_SUCCESS},
        {ICAP_HIGHLIGHT, TWTY_FIX32, fix(127.5f), TWCC_BADVALUE},
        {ICAP_HIGHLIGHT, TWTY_FIX32, fix(256), TWCC_BADVALUE},
        {ICAP_HIGHLIGHT, TWTY_FIX32, fix(-1), TWCC_BADVALUE},
        {ICAP_IMAGEFILEFORMAT, TWTY_UINT16, TWFF_BMP, TWCC_SUCCESS},
        {ICAP_IMAGEFILEFORMAT, TWTY_UINT16, TWFF_TIFF, TWCC_BADVALUE},
        {CAP_XFERCOUNT, TWTY_INT16, 25, TWCC_SUCCESS},
        {CAP_XFERCOUNT, TWTY_INT16, 26, TWCC_BADVALUE},
        {CAP_XFERCOUNT, TWTY_INT16, 0, TWCC_BADVALUE},
        {ICAP_AUTOBRIGHT, TWTY_BOOL, 1, TWCC_SUCCESS},
        {ICAP_AUTOBRIGHT, TWTY_BOOL, 2, TWCC_BADVALUE},
        {CAP_DEVICEONLINE, TWTY_BOOL, 1, TWCC_CAPBADOPERATION},
        {0x7777, TWTY_UINT16, 0, TWCC_CAPUNSUPPORTED},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << std::hex << row.id << " " << row.value);
        const auto before = Ask(MSG_GETCURRENT, row.id == 0x7777 ? ICAP_UNITS : row.id);
        const CapabilityAnswer answer = SetOne(row.id, row.type, row.value);
        EXPECT_EQ(answer.condition, row.condition);
        EXPECT_EQ(answer.returnCode, row.condition == TWCC_SUCCESS ? TWRC_SUCCESS : TWRC_FAILURE);
        if (row.condition == TWCC_SUCCESS) {
            EXPECT_EQ(CurrentOne(row.id) & (CCapabilityTable::ItemSize(row.type) == 2 ? 0xFFFFu : ~0u), row.value);
        } else if (row.id != 0x7777) {
            EXPECT_EQ(Ask(MSG_GETCURRENT, row.id), before);
        }
    }
}

TEST_F(Capabilities, RangeContainerCarriesLimitsAndValues) {
    EXPECT_EQ(SetOne(ICAP_HIGHLIGHT, TWTY_FIX32, Fix32Bits(ToFix32(200))).returnCode, TWRC_SUCCESS);
    TW_UINT16 conType = 0;
    const auto range = Ask(MSG_GET, ICAP_HIGHLIGHT, &conType);
    EXPECT_EQ(conType, TWON_RANGE);
    ASSERT_EQ(range.size(), sizeof(TW_RANGE));
    EXPECT_EQ(FromFix32(Fix32FromBits(ReadAt<TW_UINT32>(range, 2))), 0.0f);
    EXPECT_EQ(FromFix32(Fix32FromBits(ReadAt<TW_UINT32>(range, 6))), 255.0f);
    EXPECT_EQ(FromFix32(Fix32FromBits(ReadAt<TW_UINT32>(range, 10))), 1.0f);
    EXPECT_EQ(FromFix32(Fix32FromBits(ReadAt<TW_UINT32>(range, 14))), 128.0f);
    EXPECT_EQ(FromFix32(Fix32FromBits(ReadAt<TW_UINT32>(range, 18))), 200.0f);
    const auto brightness = Ask(MSG_GET, ICAP_BRIGHTNESS);
    const TW_FIX32 min = Fix32FromBits(ReadAt<TW_UINT32>(brightness, 2));
    EXPECT_EQ(min.Whole, -1000);
    EXPECT_EQ(min.Frac, 0);
}

TEST_F(Capabilities, ResetOfTransferCountReturnsMinusOne) {
    ASSERT_EQ(SetOne(CAP_XFERCOUNT, TWTY_INT16, 5).returnCode, TWRC_SUCCESS);
    EXPECT_EQ(CurrentOne(CAP_XFERCOUNT) & 0xFFFF, 5u);
    const auto reset = Ask(MSG_RESET, CAP_XFERCOUNT);
    EXPECT_EQ(ReadAt<TW_INT16>(reset, 2), -1);
    EXPECT_EQ(ReadAt<TW_INT16>(Ask(MSG_GETCURRENT, CAP_XFERCOUNT), 2), -1);
}

TEST_F(Capabilities, OlderApplicationsHearBadCap) {
    CapabilityContext old;
    old.appProtocolMajor = 1;
    old.appProtocolMinor = 5;
    EXPECT_EQ(SetOne(CAP_DEVICEONLINE, TWTY_BOOL, 1, old).condition, TWCC_BADCAP);
    TW_CAPABILITY unknown{0x7777, 0, nullptr};
    EXPECT_EQ(Run(MSG_GET, unknown, old).condition, TWCC_BADCAP);
    // Value errors keep their code.
    EXPECT_EQ(SetOne(ICAP_XFERMECH, TWTY_UINT16, 3, old).condition, TWCC_BADVALUE);
}

TEST_F(Capabilities, FeederLoadedFollowsPendingTransfers) {
    CapabilityContext pending;
    pending.transfersPending = true;
    EXPECT_EQ(ReadAt<TW_UINT16>(Ask(MSG_GET, CAP_FEEDERLOADED, nullptr, pending), 2), 1);
    EXPECT_EQ(ReadAt<TW_UINT16>(Ask(MSG_GET, CAP_FEEDERLOADED), 2), 0);
}

TEST_F(Capabilities, EnumerationsFramesAndStrings) {
    const auto halftones = Ask(MSG_GET, ICAP_HALFTONES);
    ASSERT_EQ(halftones.size(), 14u + 2 * 34);
    EXPECT_STREQ(reinterpret_cast<const char*>(&halftones[14]), "FLOYD/STEINBURG");
    EXPECT_STREQ(reinterpret_cast<const char*>(&halftones[14 + 34]), "BORDERED");
    const auto frames = Ask(MSG_GETCURRENT, ICAP_FRAMES);
    ASSERT_EQ(frames.size(), 18u);
    EXPECT_EQ(FromFix32(Fix32FromBits(ReadAt<TW_UINT32>(frames, 2 + 8))), 11.0f);
    const auto mech = Ask(MSG_GET, ICAP_XFERMECH);
    EXPECT_EQ(ReadAt<TW_UINT32>(mech, 2), 3u);
    EXPECT_EQ(ReadAt<TW_UINT32>(mech, 6), 0u);  // current NATIVE
    EXPECT_EQ(ReadAt<TW_UINT16>(mech, 14 + 4), TWSX_MEMORY);
    const auto formats = Ask(MSG_GET, ICAP_IMAGEFILEFORMAT);
    EXPECT_EQ(ReadAt<TW_UINT32>(formats, 2), 1u);
    EXPECT_EQ(ReadAt<TW_UINT16>(formats, 14), TWFF_BMP);
}

TEST_F(Capabilities, ContainersThatCannotBeMadeSayLowMemory) {
    memory.failAllocations = true;
    TW_CAPABILITY cap{ICAP_XFERMECH, 0, nullptr};
    const CapabilityAnswer answer = Run(MSG_GET, cap);
    EXPECT_EQ(answer.returnCode, TWRC_FAILURE);
    EXPECT_EQ(answer.condition, TWCC_LOWMEMORY);
    EXPECT_EQ(+cap.hContainer, nullptr);
}

TEST_F(Capabilities, UnknownMessagesAndShortContainersFail) {
    TW_CAPABILITY cap{ICAP_XFERMECH, 0, nullptr};
    EXPECT_EQ(Run(MSG_GETFIRST, cap).condition, TWCC_BADPROTOCOL);
    TW_HANDLE tiny = memory.Allocate(3);
    TW_CAPABILITY shortSet{ICAP_XFERMECH, TWON_ONEVALUE, tiny};
    EXPECT_EQ(Run(MSG_SET, shortSet).condition, TWCC_BADVALUE);
    TW_CAPABILITY nullSet{ICAP_XFERMECH, TWON_ONEVALUE, nullptr};
    EXPECT_EQ(Run(MSG_SET, nullSet).condition, TWCC_BADVALUE);
}

}  // namespace
}  // namespace twain
