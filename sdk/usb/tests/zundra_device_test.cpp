// The 3488 x 2560 camera of type 7: its 52-byte block (sent twice after
// open), windows on the sensor, the requests it lacks, and the trailer
// behind each frame that lets it keep only triggered frames.

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <thread>
#include <vector>

#include "frame_count.h"
#include "kqff_protocol.h"
#include "models/zundra_device.h"
#include "sim_fixture.h"

namespace kq::test {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

std::uint32_t LE32(const Bytes& b, std::size_t at) {
    return b.at(at) | (b.at(at + 1) << 8) | (b.at(at + 2) << 16) | (static_cast<std::uint32_t>(b.at(at + 3)) << 24);
}
std::uint32_t LE16(const Bytes& b, std::size_t at) { return b.at(at) | (b.at(at + 1) << 8); }

CapInfo Window(std::uint32_t width, std::uint32_t height) {
    CapInfo r = SmallWindow();
    r.width = width;
    r.height = height;
    return r;
}

class ZundraTest : public LibraryTest {
protected:
    // The camera, its frames with or without the trigger mark in the trailer.
    std::uint32_t OpenZundra(bool triggerMarks, const CapInfo& record = Window(64, 32)) {
        bus.AddCamera(InstanceId(u"VID_F5A1&PID_0701"), u"Test camera", [triggerMarks] {
            auto device = std::make_unique<sim::DriverCoreDevice>(0xF5A1, 0x0701);
            device->Camera().SetPicture(kqff::sim::Picture::Bayer);
            device->Camera().SetFramesOnRequest(true);
            kqff::sim::StreamFaults faults;
            faults.startMarkers = triggerMarks;
            device->StartVideo(faults);
            return device;
        });
        return Open(1, record);
    }
    template <class Op>
    int On(std::uint32_t handle, Op&& op) {
        return library.WithDevice(handle, [&](BaseDevice& d) { return op(dynamic_cast<CKQZundra_Device&>(d)); });
    }
    std::vector<Bytes> Blocks() const {
        std::vector<Bytes> out;
        for (const auto& r : bus.LogOf(kqff::kIoctlSetFormat)) out.push_back(r.input);
        return out;
    }
    // Frames delivered while the camera sends `reads` frames; waits for the
    // first when one is `expected`.
    int FramesOf(std::uint32_t handle, std::size_t camera, int reads, bool expected) {
        FrameCount count;
        On(handle, [&](CKQZundra_Device& d) { return d.SetFrameCallBack(&FrameCount::OnFrame, &count); });
        bus.SetReadBudget(camera, reads);
        EXPECT_EQ(On(handle, [](CKQZundra_Device& d) { return d.StartView(nullptr, {}); }), status::kSuccess);
        if (expected) EXPECT_TRUE(count.WaitFor(1));
        EXPECT_TRUE(bus.WaitForBlockedRead(camera, 20s));
        On(handle, [](CKQZundra_Device& d) { return d.StopView(); });
        On(handle, [](CKQZundra_Device& d) { return d.SetFrameCallBack(nullptr, nullptr); });
        return count.frames;
    }
};

TEST_F(ZundraTest, TheFirstBlockGoesTwiceWithoutTheLongLine) {
    const std::uint32_t handle = OpenZundra(true);
    EXPECT_EQ(On(handle, [](CKQZundra_Device& d) { return static_cast<int>(d.Class()); }),
              static_cast<int>(DeviceClass::CKQZundra_Device));
    auto blocks = Blocks();
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0], blocks[1]);
    ASSERT_EQ(blocks[0].size(), 52u);
    EXPECT_EQ(LE32(blocks[0], 8), 64u);
    EXPECT_EQ(LE16(blocks[0], 36), 0u) << "no 660-column line";
    EXPECT_EQ(LE16(blocks[0], 48), 0u) << "no trigger period";

    bus.ClearLog();
    CapInfo binned = Window(4000, 2000);
    binned.columnStart = 300;
    binned.rowStart = 200;
    binned.mode[3] = capinfo_bits::binning;
    ASSERT_EQ(On(handle, [&](CKQZundra_Device& d) { return d.ApplyCapInfo(binned); }), status::kSuccess);
    blocks = Blocks();
    ASSERT_EQ(blocks.size(), 1u) << "later blocks go once";
    EXPECT_EQ(LE32(blocks[0], 8), 3488u / 2);
    EXPECT_EQ(LE32(blocks[0], 4), 2560u / 2);
    EXPECT_EQ(LE32(blocks[0], 12), 0u);
    EXPECT_EQ(LE32(blocks[0], 16), 0u);
    EXPECT_EQ(On(handle, [](CKQZundra_Device& d) { return static_cast<int>(d.StoredCapInfo().columnStart); }), 300);
    EXPECT_EQ(On(handle, [&](CKQZundra_Device& d) { return d.ApplyCapInfo(Window(0, 20)); }), status::kNotSupported);
}

TEST_F(ZundraTest, OutputLinesAreControlBitsSixAndSevenAndMissingRequestsSendNothing) {
    const std::uint32_t handle = OpenZundra(true);
    ASSERT_EQ(On(handle, [](CKQZundra_Device& d) { return d.SetIO(0xFE); }), status::kSuccess);
    EXPECT_EQ(Blocks().back()[27], 0x80);
    bus.ClearLog();
    std::array<std::uint8_t, 240> area{};
    const std::uint16_t address = 1, value = 2;
    for (const int rc : {On(handle, [&](CKQZundra_Device& d) { return d.EEProm_Get(area); }),
                         On(handle, [&](CKQZundra_Device& d) { return d.SetHBlank(5); }),
                         On(handle, [&](CKQZundra_Device& d) { return d.SetSpeedMode(1); }),
                         On(handle, [&](CKQZundra_Device& d) {
                             return d.Write_Register(std::span(&address, 1), std::span(&value, 1));
                         })}) {
        EXPECT_EQ(rc, status::kNotSupported);
    }
    EXPECT_TRUE(bus.Log().empty());
    // 9 t below 2842 is one line.
    EXPECT_EQ(On(handle, [](CKQZundra_Device& d) { return static_cast<int>(d.ExposureToRegister(315)); }), 1);
}

TEST_F(ZundraTest, TriggeredOnlyKeepsFramesWhoseTrailerMarksThem) {
    struct Case {
        bool marks;
        std::uint8_t control;
        bool delivered;
    };
    std::size_t camera = 0;
    for (const Case c : {Case{false, 0x02, false}, Case{true, 0x02, true}, Case{false, 0x00, true}}) {
        SCOPED_TRACE(testing::Message() << c.marks << " " << int(c.control));
        CapInfo r = Window(640, 480);
        r.control = c.control;
        const std::uint32_t handle = OpenZundra(c.marks, r);
        // Control bit 1 is the block's own: set through the send itself.
        ASSERT_EQ(On(handle, [&](CKQZundra_Device& d) { return d.ApplyCapInfo(r); }), status::kSuccess);
        const int frames = FramesOf(handle, camera, 3, c.delivered);
        if (c.delivered) {
            EXPECT_GE(frames, 1);
        } else {
            EXPECT_EQ(frames, 0);
            EXPECT_EQ(On(handle, [](CKQZundra_Device& d) { return d.FrameRate() > 0.0f ? 1 : 0; }), 0);
        }
        library.Uninitialize(handle);
        bus.Unplug(camera++);  // the next case's camera is the first listed
    }
}

}  // namespace
}  // namespace kq::test
