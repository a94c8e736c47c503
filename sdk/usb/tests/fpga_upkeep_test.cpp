// The newer FPGA cameras' upkeep: the sensor reset at open and when the
// camera comes back, the firmware download through request blocks, and the
// data requests of the type 25 camera.

#include <gtest/gtest.h>

#include "unique_temp_dir.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fpga_fixture.h"
#include "models/ebrant_fpga.h"

namespace kq::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Model {
    const char16_t* pattern;
    const char* name;
};

constexpr Model kResetModels[] = {
    {u"VID_F5A2&PID_1801", "ebrant"},
    {u"VID_F5A2&PID_1901", "quessa"},
    {u"VID_F5A2&PID_1501", "kelmar"},
};

constexpr Model kFirmwareModels[] = {
    {u"VID_F5A1&PID_1401", "yastro"},
    {u"VID_F5A2&PID_1501", "kelmar"},
    {u"VID_F5A1&PID_1301", "wimbro"},
};

CapInfo SensorWindow() {
    CapInfo r = FullWindow();
    r.width = 2592;
    r.height = 1944;
    return r;
}

void KQ_STDCALL RecordEvent(std::int32_t event, void*, void* context) {
    static_cast<std::vector<std::int32_t>*>(context)->push_back(event);
}

// Without the settling pause after each list, the pauses left are the
// reset's own.
class FpgaUpkeep : public FpgaTest {
protected:
    FpgaUpkeep() { library.SetDeviceOptions(DeviceOptions{.fpgaSettlingPause = false}); }

    std::uint32_t OpenModel(const Model& model, const CapInfo& record = SensorWindow()) {
        bus.AddCamera(InstanceId(model.pattern));
        const std::uint32_t handle = Open(static_cast<std::int32_t>(bus.ListInterfaces()->size()), record);
        bus.ClearLog();
        pauses.clear();
        return handle;
    }
    // The counted writes of every list sent, in order.
    std::vector<Writes> ListWrites() const {
        std::vector<Writes> out;
        for (const SentList& l : Lists()) out.push_back(l.counted);
        return out;
    }
    bool Removed(std::uint32_t handle) {
        return library.WithDevice(handle, [](BaseDevice& d) { return d.IsRemoved() ? 1 : 0; }) == 1;
    }
};

const Writes kPulse[] = {{{0x0D, 1}}, {{0x0D, 0}}, {{0x0D, 0}}};

TEST_F(FpgaUpkeep, OpenStopsPulsesTheResetRegisterAndWritesTheBlankingTogether) {
    for (const Model& model : kResetModels) {
        SCOPED_TRACE(model.name);
        bus.AddCamera(InstanceId(model.pattern));
        bus.ClearLog();
        pauses.clear();
        const std::uint32_t handle = Open(static_cast<std::int32_t>(bus.ListInterfaces()->size()), SensorWindow());
        const auto codes = Codes();
        ASSERT_FALSE(codes.empty());
        EXPECT_EQ(codes.front(), kqff::kIoctlStopCapture);
        const auto lists = ListWrites();
        ASSERT_GE(lists.size(), 5u);
        EXPECT_EQ(std::vector<Writes>(lists.begin(), lists.begin() + 4),
                  (std::vector<Writes>{kPulse[0], kPulse[1], kPulse[2], {{0x05, 0}, {0x06, 25}}}));
        EXPECT_EQ(lists[4].front().address, 0x04) << "then the caller's window";
        EXPECT_EQ(pauses, (std::vector<int>{200, 300, 100}));
        library.Uninitialize(handle);
    }
}

TEST_F(FpgaUpkeep, ReArrivalPulsesTheResetResendsAndRestartsAStreamingCamera) {
    for (const Model& model : kResetModels) {
        SCOPED_TRACE(model.name);
        sim::SimulatedBus cameras;
        DeviceLibrary table(&cameras);
        std::vector<int> paused;
        table.SetSleeper([&](std::chrono::milliseconds d) { paused.push_back(static_cast<int>(d.count())); });
        table.SetDeviceOptions(DeviceOptions{.fpgaSettlingPause = false});
        // The system may spell the id in another case: the camera still
        // comes back, and the id it keeps is the one it opened with.
        const std::u16string id = InstanceId(model.pattern);
        cameras.AddCamera(id);
        const CapInfo record = SensorWindow();
        std::uint32_t handle = 0;
        std::int32_t index = 1;
        ASSERT_EQ(table.Initialize(&index, &record, &handle), status::kSuccess);
        std::vector<std::int32_t> events;
        table.WithDevice(handle, [&](BaseDevice& d) {
            d.SetDeviceEvent(RecordEvent, &events);
            return d.StartView(nullptr, {});
        });
        cameras.Unplug(0);
        ASSERT_EQ(table.OnDevicesRemoved(), status::kSuccess);
        cameras.Replug(0);
        cameras.ClearLog();
        paused.clear();
        CameraInterface back = cameras.InterfaceOf(0);
        std::transform(back.instanceId.begin(), back.instanceId.end(), back.instanceId.begin(),
                       [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c; });
        ASSERT_EQ(table.DeviceArrived(handle, back), status::kSuccess);
        EXPECT_EQ(events, (std::vector<std::int32_t>{0, 1}));
        EXPECT_EQ(table.RemovedDeviceCount(), 0);
        table.WithDevice(handle, [&](BaseDevice& d) {
            EXPECT_EQ(d.InstanceId(), id);
            EXPECT_TRUE(d.Streaming());
            return 0;
        });
        const auto log = cameras.Log();
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log.front().code, kqff::kIoctlStopCapture);
        EXPECT_EQ(log.back().code, kqff::kIoctlStartCapture);
        std::vector<Writes> lists;
        for (const auto& r : cameras.LogOf(kqff::kIoctlWriteCommand)) {
            if (const auto list = fpga::DecodeRegisterListRequest(r.input, AddressWidth::eightBit)) {
                lists.emplace_back(list->Counted().begin(), list->Counted().end());
            }
        }
        ASSERT_GE(lists.size(), 4u);
        EXPECT_EQ(std::vector<Writes>(lists.begin(), lists.begin() + 3),
                  (std::vector<Writes>{kPulse[0], kPulse[1], kPulse[2]}));
        EXPECT_EQ(lists[3].front().address, 0x04) << "the window is resent after the pulse";
        EXPECT_NE(std::find(lists.begin(), lists.end(), Writes{{0x05, 0}, {0x06, 25}}), lists.end())
            << "the blanking with the resend";
        EXPECT_EQ(paused, (std::vector<int>{200, 300, 100}));
        table.Uninitialize(handle);
    }
}

TEST_F(FpgaUpkeep, ACameraThatRefusesTheResetAfterReArrivalStaysRemoved) {
    const std::uint32_t handle = OpenModel(kResetModels[0]);
    ASSERT_EQ(library.DeviceRemoved(handle), status::kSuccess);
    bus.Unplug(0);
    bus.Replug(0);
    bus.FailControl(kqff::kIoctlWriteCommand, 1);
    EXPECT_EQ(library.DeviceArrived(handle, bus.InterfaceOf(0)), status::kNoDevice);
    EXPECT_TRUE(Removed(handle));
    EXPECT_EQ(library.RemovedDeviceCount(), 1);
    EXPECT_EQ(library.DeviceArrived(handle, bus.InterfaceOf(0)), status::kSuccess) << "the next arrival";
    EXPECT_FALSE(Removed(handle));
}

TEST_F(FpgaUpkeep, NeverRemovedOrAnotherInstanceIsNotThisDevice) {
    const std::uint32_t handle = OpenModel(kResetModels[0]);
    EXPECT_EQ(library.DeviceArrived(handle, bus.InterfaceOf(0)), status::kRefused);
    ASSERT_EQ(library.DeviceRemoved(handle), status::kSuccess);
    const std::size_t other = bus.AddCamera(InstanceId(kResetModels[0].pattern, 2));
    bus.ClearLog();
    EXPECT_EQ(library.DeviceArrived(handle, bus.InterfaceOf(other)), status::kRefused);
    EXPECT_TRUE(bus.Log().empty());
    EXPECT_TRUE(Removed(handle));
}

// ---- Data requests of the type 25 camera ----

TEST_F(FpgaUpkeep, QuessaPassesThreeCallerBytesInADataRequest) {
    const std::uint32_t handle = OpenModel(kResetModels[1]);
    ASSERT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.DeviceIoControl(0x44332211); }), status::kSuccess);
    const auto sent = bus.LogOf(kqff::kIoctlWriteCommand);
    ASSERT_EQ(sent.size(), 1u);
    Bytes expected(64, 0);
    expected[0] = 9;
    expected[1] = 0x11;
    expected[3] = 0x33;
    expected[5] = 0x44;
    EXPECT_EQ(sent[0].input, expected);
    EXPECT_TRUE(bus.LogOf(kqff::kIoctlWriteData).empty()) << "not the generic pass-through";

    bus.FailControl(kqff::kIoctlWriteCommand, 1);
    EXPECT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.DeviceIoControl(1); }), status::kNoDevice);
}

TEST_F(FpgaUpkeep, QuessaDataRequestsGoThroughTheFortyByteArea) {
    const std::uint32_t handle = OpenModel(kResetModels[1]);
    std::array<std::uint8_t, fpga::kEepromBytes> area{};
    ASSERT_EQ(On(handle, [&](CKQNavelo_FPGA& d) { return d.ReadDataFromDevice(area, 0); }), status::kSuccess);
    const std::array<std::uint8_t, 3> bytes{0xA1, 0xB2, 0xC3};
    bus.ClearLog();
    ASSERT_EQ(On(handle, [&](CKQNavelo_FPGA& d) { return d.WriteDataToDevice(bytes, 37); }), status::kSuccess);
    std::copy(bytes.begin(), bytes.end(), area.begin() + 37);
    const auto sent = bus.LogOf(kqff::kIoctlWriteCommand);
    ASSERT_EQ(sent.size(), 1u);
    const fpga::Request expected = fpga::EepromWriteRequest(area);
    EXPECT_EQ(sent[0].input, Bytes(expected.begin(), expected.end()));
    std::array<std::uint8_t, 3> back{};
    ASSERT_EQ(On(handle, [&](CKQNavelo_FPGA& d) { return d.ReadDataFromDevice(back, 37); }), status::kSuccess);
    EXPECT_EQ(back, bytes);

    struct Case {
        std::int32_t offset;
        std::size_t length;
    };
    for (const Case c : {Case{38, 3}, Case{-1, 1}, Case{40, 1}, Case{0, 41}}) {
        SCOPED_TRACE(c.offset);
        bus.ClearLog();
        std::vector<std::uint8_t> buffer(c.length, 0x5A);
        EXPECT_EQ(On(handle, [&](CKQNavelo_FPGA& d) { return d.WriteDataToDevice(buffer, c.offset); }),
                  status::kNotSupported);
        EXPECT_EQ(On(handle, [&](CKQNavelo_FPGA& d) { return d.ReadDataFromDevice(buffer, c.offset); }),
                  status::kNotSupported);
        EXPECT_TRUE(bus.Log().empty());
        EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](std::uint8_t b) { return b == 0x5A; }));
    }
}

// ---- Firmware through request blocks ----

struct Progress {
    std::vector<std::pair<int, int>> reports;
    static void KQ_STDCALL On(std::int32_t bytes, std::int32_t status, void* context) {
        static_cast<Progress*>(context)->reports.emplace_back(bytes, status);
    }
};

std::filesystem::path FirmwareFile(std::size_t bytes) {
    const auto path = testing_support::UniqueTempPath("kq_fpga_firmware_" + std::to_string(bytes) + ".iic");
    std::ofstream out(path, std::ios::binary);
    for (std::size_t i = 0; i < bytes; ++i) out.put(static_cast<char>(i * 7 + 3));
    return path;
}

// The request of block n (from 1) of a file written by FirmwareFile.
Bytes FirmwareBlock(std::size_t n, std::size_t fileBytes) {
    std::array<std::uint8_t, 60> chunk{};
    for (std::size_t i = 0; i < 60 && (n - 1) * 60 + i < fileBytes; ++i) {
        chunk[i] = static_cast<std::uint8_t>(((n - 1) * 60 + i) * 7 + 3);
    }
    Bytes r{0x2C, 0x00, 0xC2, static_cast<std::uint8_t>(n)};
    for (int group : {3, 0, 4, 1, 5, 2}) r.insert(r.end(), chunk.begin() + group * 10, chunk.begin() + group * 10 + 10);
    return r;
}

TEST_F(FpgaUpkeep, FirmwareGoesOutAsNumberedRequestBlocksCheckedChunkByChunk) {
    struct Size {
        std::size_t bytes;
        std::size_t blocks;
    };
    for (const Model& model : kFirmwareModels) {
        for (const Size size : {Size{15300, 255}, Size{1160, 20}}) {
            SCOPED_TRACE(std::string(model.name) + " " + std::to_string(size.bytes));
            const std::uint32_t handle = OpenModel(model, FullWindow());
            const auto path = FirmwareFile(size.bytes);
            Progress progress;
            On(handle, [&](CKQNavelo_FPGA& d) { return d.SetFirmwareProgress(&Progress::On, &progress); });
            ASSERT_EQ(On(handle, [&](CKQNavelo_FPGA& d) { return d.UpdateDeviceProgram(true, &path); }), 0);
            EXPECT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.WaitFirmware(); }), status::kSuccess);
            const auto sent = bus.LogOf(kqff::kIoctlWriteCommand);
            ASSERT_EQ(sent.size(), size.blocks);
            for (std::size_t n = 1; n <= size.blocks; ++n) {
                ASSERT_EQ(sent[n - 1].input, FirmwareBlock(n, size.bytes)) << "block " << n;
            }
            EXPECT_TRUE(bus.LogOf(kqff::kIoctlWriteBlock).empty());
            ASSERT_EQ(progress.reports.size(), size.blocks);
            EXPECT_EQ(progress.reports.back(), (std::pair<int, int>{static_cast<int>(size.bytes), 0}));
            On(handle, [](CKQNavelo_FPGA& d) { return d.UpdateDeviceProgram(false, nullptr); });
            library.Uninitialize(handle);
            std::filesystem::remove(path);
        }
    }
}

TEST_F(FpgaUpkeep, FirmwareTooLongIsRefusedAndFourFailedSendsEndTheDownload) {
    const std::uint32_t handle = OpenModel(kFirmwareModels[0], FullWindow());
    const auto tooLong = FirmwareFile(15301);
    EXPECT_EQ(On(handle, [&](CKQNavelo_FPGA& d) { return d.UpdateDeviceProgram(true, &tooLong); }),
              status::kNotSupported);
    EXPECT_TRUE(bus.Log().empty());

    const auto path = FirmwareFile(125);
    Progress progress;
    On(handle, [&](CKQNavelo_FPGA& d) { return d.SetFirmwareProgress(&Progress::On, &progress); });
    bus.FailControl(kqff::kIoctlWriteCommand, 4);
    ASSERT_EQ(On(handle, [&](CKQNavelo_FPGA& d) { return d.UpdateDeviceProgram(true, &path); }), 0);
    EXPECT_EQ(On(handle, [](CKQNavelo_FPGA& d) { return d.WaitFirmware(); }), status::kRefused);
    EXPECT_EQ(bus.LogOf(kqff::kIoctlWriteCommand).size(), 4u);
    EXPECT_EQ(progress.reports, (std::vector<std::pair<int, int>>{{60, -1}}));
    std::filesystem::remove(tooLong);
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace kq::test
