// Serial number, IO line, data area, EEPROM and firmware requests as the
// driver receives them, byte for byte, and what the camera answers.

#include <gtest/gtest.h>

#include "unique_temp_dir.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <vector>

#include "core/base_device.h"
#include "sim_fixture.h"
#include "kqff_protocol.h"

namespace kq::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

class MemoryRequests : public LibraryTest {
protected:
    void SetUp() override {
        bus.AddCamera(InstanceId(u"VID_F5A1&PID_0301"));
        handle = Open(1);
        bus.ClearLog();
    }
    template <class Op>
    int On(Op&& op) {
        return library.WithDevice(handle, [&](BaseDevice& d) { return op(d); });
    }
    static Bytes Request(std::uint8_t operation, std::uint8_t number, std::span<const std::uint8_t> payload = {}) {
        Bytes r(64, 0);
        r[0] = 0x2C;
        r[2] = operation;
        r[3] = number;
        std::copy(payload.begin(), payload.end(), r.begin() + 4);
        return r;
    }
    std::uint32_t handle = 0;
};

TEST_F(MemoryRequests, SerialNumberAndIoLine) {
    std::array<std::uint8_t, 16> serial{};
    std::iota(serial.begin(), serial.end(), std::uint8_t{0x30});
    EXPECT_EQ(On([&](BaseDevice& d) { return d.SetSerialNumber(serial, BaseDevice::kSerialGuard); }), 0);
    EXPECT_EQ(On([&](BaseDevice& d) { return d.SetSerialNumber(serial, 1); }), 0);  // wrong guard: nothing sent
    std::array<std::uint8_t, 16> back{};
    EXPECT_EQ(On([&](BaseDevice& d) { return d.GetSerialNumber(back); }), 0);
    EXPECT_EQ(back, serial);
    EXPECT_EQ(On([](BaseDevice& d) { return d.SetIO(0xA5); }), 0);
    // The camera answers GET_IO from its input lines, not from what was set.
    bus.Device(0).Camera().SetIoInput(0x3C);
    std::uint8_t io = 0;
    EXPECT_EQ(On([&](BaseDevice& d) { return d.GetIO(io); }), 0);
    EXPECT_EQ(io, 0x3C);

    const auto log = bus.Log();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[0].code, 0x22E01Cu);
    EXPECT_EQ(log[0].input, Bytes(serial.begin(), serial.end()));
    EXPECT_EQ(log[1].code, 0x22E018u);
    EXPECT_EQ(log[2].code, 0x22E010u);
    EXPECT_EQ(log[2].input, (Bytes{0, 0xA5, 0}));  // byte 0 is reserved
    EXPECT_EQ(log[3].code, 0x22E014u);
}

TEST_F(MemoryRequests, DataAreaReadChangeWrite) {
    const std::array<std::uint8_t, 3> data{7, 8, 9};
    EXPECT_EQ(On([&](BaseDevice& d) { return d.WriteDataToDevice(data, 10); }), 0);
    std::array<std::uint8_t, 3> back{};
    EXPECT_EQ(On([&](BaseDevice& d) { return d.ReadDataFromDevice(back, 10); }), 0);
    EXPECT_EQ(back, data);
    // offset + count reaching 64 is refused without a request.
    const std::array<std::uint8_t, 4> four{};
    bus.ClearLog();
    EXPECT_EQ(On([&](BaseDevice& d) { return d.WriteDataToDevice(four, 60); }), status::kRefused);
    EXPECT_EQ(On([&](BaseDevice& d) { return d.WriteDataToDevice(four, -1); }), status::kRefused);
    EXPECT_TRUE(bus.Log().empty());
    EXPECT_EQ(On([](BaseDevice& d) { return d.DeviceIoControl(0x11223344); }), 0);
    Bytes pass(64, 0);
    pass[0] = 9;
    pass[1] = 0x44, pass[2] = 0x33, pass[3] = 0x22, pass[4] = 0x11;
    ASSERT_EQ(bus.Log().size(), 1u);
    EXPECT_EQ(bus.Log()[0].code, 0x22E034u);
    EXPECT_EQ(bus.Log()[0].input, pass);
}

TEST_F(MemoryRequests, EepromBlocksAndCache) {
    std::array<std::uint8_t, 240> data{};
    std::iota(data.begin(), data.end(), std::uint8_t{1});
    EXPECT_EQ(On([&](BaseDevice& d) { return d.EEProm_Set(data); }), 0);
    const auto writes = bus.LogOf(0x22E028);
    ASSERT_EQ(writes.size(), 4u);
    for (std::uint8_t b = 0; b < 4; ++b) {
        EXPECT_EQ(writes[b].input, Request(8, b + 1, std::span(data).subspan(b * 60, 60))) << int(b);
    }
    // Served from the cache, without a request.
    bus.ClearLog();
    std::array<std::uint8_t, 240> back{};
    EXPECT_EQ(On([&](BaseDevice& d) { return d.EEProm_Get(back); }), 0);
    EXPECT_EQ(back, data);
    EXPECT_TRUE(bus.Log().empty());
}

// The library reads an EEPROM block with IOCTL_KQ_WRITE_COMMAND, for which
// the driver reads no response: it reports the 64 bytes sent and hands back
// zeros. A zero length byte is not a block, so nothing is believed or cached.
TEST_F(MemoryRequests, EepromByteReadsTouchOnlyTheirBlocksOnce) {
    std::array<std::uint8_t, 10> part{};
    EXPECT_EQ(On([&](BaseDevice& d) { return d.EEProm_GetByte(55, 10, part.data()); }), status::kNoDevice);
    EXPECT_EQ(part, (std::array<std::uint8_t, 10>{}));
    auto reads = bus.LogOf(0x22E02C);
    ASSERT_EQ(reads.size(), 1u);  // the first block's failure ends the call
    EXPECT_EQ(reads[0].input, Request(7, 1));
    EXPECT_EQ(reads[0].output, Bytes(64, 0));
    bus.ClearLog();
    EXPECT_EQ(On([&](BaseDevice& d) { return d.EEProm_GetByte(60, 10, part.data()); }), status::kNoDevice);
    reads = bus.LogOf(0x22E02C);
    ASSERT_EQ(reads.size(), 1u);  // only its own block
    EXPECT_EQ(reads[0].input, Request(7, 2));
    EXPECT_EQ(On([&](BaseDevice& d) { return d.EEProm_GetByte(231, 10, part.data()); }), status::kRefused);
    EXPECT_EQ(On([&](BaseDevice& d) { return d.EEProm_SetByte(240, 1, part.data()); }), status::kRefused);
}

TEST_F(MemoryRequests, EepromAnswersThatAreShortOrTooLongAreNotCached) {
    for (int attempt = 1; attempt <= 3; ++attempt) {
        std::array<std::uint8_t, 240> out{};
        EXPECT_EQ(On([&](BaseDevice& d) { return d.EEProm_Get(out); }), status::kNoDevice);
        // Not cached: each call asks the camera again.
        EXPECT_EQ(bus.LogOf(0x22E02C).size(), static_cast<std::size_t>(attempt));
    }
}

class Firmware : public MemoryRequests {
protected:
    struct Progress {
        std::vector<std::pair<int, int>> reports;
        static void KQ_STDCALL On(std::int32_t bytes, std::int32_t status, void* context) {
            static_cast<Progress*>(context)->reports.emplace_back(bytes, status);
        }
    };
    std::filesystem::path WriteFile(std::size_t bytes) {
        const auto path = testing_support::UniqueTempPath("kq_firmware_" + std::to_string(bytes) + ".iic");
        std::ofstream out(path, std::ios::binary);
        for (std::size_t i = 0; i < bytes; ++i) out.put(static_cast<char>(i + 1));
        return path;
    }
};

TEST_F(Firmware, ChunksGoOutReorderedWithProgressPerChunk) {
    const auto path = WriteFile(125);
    Progress progress;
    On([&](BaseDevice& d) { return d.SetFirmwareProgress(&Progress::On, &progress); });
    ASSERT_EQ(On([&](BaseDevice& d) { return d.UpdateDeviceProgram(true, &path); }), 0);
    EXPECT_EQ(On([](BaseDevice& d) { return d.WaitFirmware(); }), 0);
    EXPECT_EQ(progress.reports, (std::vector<std::pair<int, int>>{{60, 0}, {120, 0}, {125, 0}}));

    const auto chunks = bus.LogOf(0x22E028);
    ASSERT_EQ(chunks.size(), 3u);
    for (std::uint8_t n = 0; n < 3; ++n) {
        std::array<std::uint8_t, 60> file{};
        for (std::size_t i = 0; i < 60 && n * 60 + i < 125; ++i) file[i] = static_cast<std::uint8_t>(n * 60 + i + 1);
        Bytes payload;
        for (int group : {3, 0, 4, 1, 5, 2})
            payload.insert(payload.end(), file.begin() + group * 10, file.begin() + group * 10 + 10);
        EXPECT_EQ(chunks[n].input, Request(0xC2, n + 1, payload)) << "chunk " << int(n);
    }
    // Still marked running until switched off.
    EXPECT_EQ(On([&](BaseDevice& d) { return d.UpdateDeviceProgram(true, &path); }), status::kRefused);
    EXPECT_EQ(On([&](BaseDevice& d) { return d.UpdateDeviceProgram(false, nullptr); }), 0);
    std::filesystem::remove(path);
}

TEST_F(Firmware, FastModeIsRefusedWhileAnUpdateRuns) {
    const auto path = WriteFile(125);
    ASSERT_EQ(On([&](BaseDevice& d) { return d.UpdateDeviceProgram(true, &path); }), 0);
    EXPECT_EQ(On([](BaseDevice& d) { return d.WaitFirmware(); }), 0);
    bus.ClearLog();
    EXPECT_EQ(On([](BaseDevice& d) { return d.CapFastMode(true); }), status::kNotSupported);
    EXPECT_TRUE(bus.Log().empty()) << "nothing is sent to the camera";

    EXPECT_EQ(On([&](BaseDevice& d) { return d.UpdateDeviceProgram(false, nullptr); }), 0);
    EXPECT_EQ(On([](BaseDevice& d) { return d.CapFastMode(true); }), status::kSuccess);
    EXPECT_EQ(bus.LogOf(kqff::kIoctlStartCapture).size(), 1u);
    EXPECT_EQ(On([](BaseDevice& d) { return d.CapFastMode(false); }), status::kSuccess);
    std::filesystem::remove(path);
}

TEST_F(Firmware, FileIsCheckedBeforeAnythingIsSent) {
    const auto missing = std::filesystem::temp_directory_path() / "kq_no_such_firmware.iic";
    const auto tooLarge = WriteFile(255 * 60 + 1);
    EXPECT_EQ(On([&](BaseDevice& d) { return d.UpdateDeviceProgram(true, &missing); }), status::kNoDevice);
    EXPECT_EQ(On([&](BaseDevice& d) { return d.UpdateDeviceProgram(true, &tooLarge); }), status::kNotSupported);
    EXPECT_TRUE(bus.Log().empty());
    std::filesystem::remove(tooLarge);
}

// The generic download gives each chunk three sends.
TEST_F(Firmware, AChunkFailingThreeTimesEndsTheDownloadWithMinusOne) {
    const auto path = WriteFile(125);
    Progress progress;
    On([&](BaseDevice& d) { return d.SetFirmwareProgress(&Progress::On, &progress); });
    bus.FailControl(0x22E028, 3);
    ASSERT_EQ(On([&](BaseDevice& d) { return d.UpdateDeviceProgram(true, &path); }), 0);
    EXPECT_EQ(On([](BaseDevice& d) { return d.WaitFirmware(); }), status::kRefused);
    EXPECT_EQ(progress.reports, (std::vector<std::pair<int, int>>{{60, -1}}));
    EXPECT_EQ(bus.LogOf(0x22E028).size(), 3u);
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace kq::test
