// The class each type opens as, and the small model classes: the older
// sensors' direct capture record and the LED camera.

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <functional>
#include <map>
#include <typeinfo>
#include <vector>

#include "kqff_protocol.h"
#include "models/belun_led.h"
#include "models/device_factory.h"
#include "models/former_device.h"
#include "models/orsik_device.h"
#include "models/rovena_yuv.h"
#include "sim_fixture.h"

namespace kq::test {
namespace {

std::u16string TypePattern(int type) {
    for (const auto& entry : DeviceTypeTable()) {
        if (entry.typeCode == type) return std::u16string(entry.pattern);
    }
    return {};
}

class ModelTest : public LibraryTest {
protected:
    ModelTest() {
        library.SetSleeper([this](std::chrono::milliseconds d) { pauses.push_back(static_cast<int>(d.count())); });
    }
    std::uint32_t OpenType(int type, const CapInfo& record = SmallWindow()) {
        bus.AddCamera(InstanceId(TypePattern(type)));
        return Open(static_cast<std::int32_t>(bus.ListInterfaces()->size()), record);
    }
    int On(std::uint32_t handle, const std::function<int(BaseDevice&)>& op) { return library.WithDevice(handle, op); }

    std::vector<int> pauses;
};

TEST_F(ModelTest, EachTypeOpensAsItsClass) {
    struct Case {
        int type;
        DeviceClass expected;
        bool ownClass;  // made as its model class, not as the base
    };
    const Case cases[] = {
        {1, DeviceClass::CFormerDevice, true}, {2, DeviceClass::CFormerDevice, true},
        {3, DeviceClass::CBaseDevice, false},  {4, DeviceClass::CKQOrsikDevice, true},
        {5, DeviceClass::CBaseDevice, false},  {15, DeviceClass::CKQRovena_YUV, true},
        {17, DeviceClass::CKQBelun_LED, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        const std::uint32_t handle = OpenType(c.type);
        On(handle, [&](BaseDevice& d) {
            EXPECT_EQ(d.TypeCode(), c.type);
            EXPECT_EQ(d.Class(), c.expected);
            EXPECT_EQ(typeid(d) != typeid(BaseDevice), c.ownClass);
            EXPECT_EQ(dynamic_cast<CFormerDevice*>(&d) != nullptr, c.expected == DeviceClass::CFormerDevice);
            EXPECT_EQ(dynamic_cast<CKQBelun_LED*>(&d) != nullptr, c.expected == DeviceClass::CKQBelun_LED);
            EXPECT_EQ(dynamic_cast<CKQOrsikDevice*>(&d) != nullptr, c.expected == DeviceClass::CKQOrsikDevice);
            EXPECT_EQ(dynamic_cast<CKQRovena_YUV*>(&d) != nullptr, c.expected == DeviceClass::CKQRovena_YUV);
            return 0;
        });
        library.Uninitialize(handle);
    }
}

// The alternate automatic exposure acts on each family's own thresholds.
TEST_F(ModelTest, TheAlternateExposureTakesTheThresholdsOfTheModelFamily) {
    const std::pair<int, kqcmos::AlternateExposureThresholds> cases[] = {
        {3, {300, 150}}, {6, {300, 300}}, {7, {300, 300}}, {8, {300, 300}}, {22, {300, 300}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        const std::uint32_t handle = OpenType(c.first);
        On(handle, [&](BaseDevice& d) {
            EXPECT_EQ(d.Pixels().alternateThresholds.exposure, c.second.exposure);
            EXPECT_EQ(d.Pixels().alternateThresholds.brightness, c.second.brightness);
            return 0;
        });
        library.Uninitialize(handle);
    }
}

TEST_F(ModelTest, FormerSendsTheRecordWithOneLimitedGainAndNoControlBits) {
    struct Case {
        std::uint8_t gain;
        std::uint8_t sent;
    };
    const std::uint32_t handle = OpenType(2);
    for (const Case c : {Case{100, 63}, Case{3, 8}, Case{40, 40}}) {
        SCOPED_TRACE(c.gain);
        CapInfo record = SmallWindow();
        record.gain = {c.gain, 1, 200};
        record.control = 0x33;
        bus.ClearLog();
        ASSERT_EQ(On(handle, [&](BaseDevice& d) { return d.SetCapInfo(record); }), status::kSuccess);
        const auto log = bus.Log();
        ASSERT_EQ(log.size(), 1u);  // the record alone: no register list
        ASSERT_EQ(log[0].code, kqff::kIoctlSetFormat);
        ASSERT_EQ(log[0].input.size(), kCapInfoBytes);
        const CapInfo sent = DecodeCapInfo(std::span<const std::uint8_t, kCapInfoBytes>(log[0].input.data(), 36));
        EXPECT_EQ(sent.gain, (std::array<std::uint8_t, 3>{c.sent, c.sent, c.sent}));
        EXPECT_EQ(sent.control, 0);
        EXPECT_EQ(sent.width, 640u);
        EXPECT_EQ(sent.height, 480u);
    }
    EXPECT_TRUE(pauses.empty());
}

TEST_F(ModelTest, FormerRefusedFormatKeepsTheStoredRecord) {
    const std::uint32_t handle = OpenType(1);
    CapInfo before;
    On(handle, [&](BaseDevice& d) {
        before = d.StoredCapInfo();
        return 0;
    });
    CapInfo record = SmallWindow();
    record.width = 320;
    record.height = 240;
    record.gain = {20, 20, 20};
    bus.FailControl(kqff::kIoctlSetFormat, 1);
    EXPECT_EQ(On(handle, [&](BaseDevice& d) { return d.SetCapInfo(record); }), status::kNotSupported);
    On(handle, [&](BaseDevice& d) {
        EXPECT_EQ(d.StoredCapInfo(), before);
        EXPECT_EQ(d.FrameBytes(), before.width * before.height);
        return 0;
    });
}

// Requests the older sensors' and the contrast camera's cameras do not take: 10, and nothing reaches
// the driver or the caller's buffer.
TEST_F(ModelTest, FormerAndContrastCamerasAnswerTenToTheRequestsTheirCamerasLack) {
    std::array<std::uint8_t, 240> buffer;
    buffer.fill(0xA5);
    std::array<std::uint16_t, 1> address{0x09}, value{5};
    const std::vector<std::pair<const char*, std::function<int(BaseDevice&)>>> requests = {
        {"EEProm_Get", [&](BaseDevice& d) { return d.EEProm_Get(buffer); }},
        {"EEProm_Set", [&](BaseDevice& d) { return d.EEProm_Set(buffer); }},
        {"EEProm_GetByte", [&](BaseDevice& d) { return d.EEProm_GetByte(0, 4, buffer.data()); }},
        {"EEProm_SetByte", [&](BaseDevice& d) { return d.EEProm_SetByte(0, 4, buffer.data()); }},
        {"Write_Register", [&](BaseDevice& d) { return d.Write_Register(address, value); }},
        {"SetHBlank", [](BaseDevice& d) { return d.SetHBlank(100); }},
        {"SetVBlank", [](BaseDevice& d) { return d.SetVBlank(100); }},
        {"SetSpeedMode", [](BaseDevice& d) { return d.SetSpeedMode(1); }},
        {"SetExpouseDelayTime", [](BaseDevice& d) { return d.SetExpouseDelayTime(1); }},
        {"SetSensorRdMode", [](BaseDevice& d) { return d.SetSensorRdMode(1); }},
        {"SetTriggerDelayTime", [](BaseDevice& d) { return d.SetTriggerDelayTime(1); }},
        {"SetCustomIO", [](BaseDevice& d) { return d.SetCustomIO(1); }},
        {"SetCameraLED", [](BaseDevice& d) { return d.SetCameraLED(0, 1); }},
        {"SetGolbalGain", [](BaseDevice& d) { return d.SetGolbalGain(1); }},
    };
    for (const int type : {1, 4}) {
        const std::uint32_t handle = OpenType(type);
        for (const auto& [name, request] : requests) {
            SCOPED_TRACE(testing::Message() << "type " << type << " " << name);
            bus.ClearLog();
            EXPECT_EQ(On(handle, request), status::kNotSupported);
            EXPECT_TRUE(bus.Log().empty());
            EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](std::uint8_t b) { return b == 0xA5; }));
        }
        library.Uninitialize(handle);
    }
}

TEST_F(ModelTest, LedChannelsAreLimitedAndSentWithChannelZeroMarked) {
    struct Case {
        std::int32_t channel, value;
        int rc;
        std::array<std::uint8_t, 4> state;
    };
    // Each case builds on the state the one before left.
    const Case cases[] = {
        {0, 5, status::kSuccess, {0x15, 0, 0, 0}},       {2, 250, status::kSuccess, {0x15, 0, 127, 0}},
        {3, -7, status::kSuccess, {0x15, 0, 127, 0}},    {0, 0, status::kSuccess, {0x10, 0, 127, 0}},
        {4, 1, status::kRefused, {0x10, 0, 127, 0}},     {-1, 1, status::kRefused, {0x10, 0, 127, 0}},
        {1, 127, status::kSuccess, {0x10, 127, 127, 0}},
    };
    const std::uint32_t handle = OpenType(17);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.channel << "," << c.value);
        bus.ClearLog();
        EXPECT_EQ(On(handle, [&](BaseDevice& d) { return d.SetCameraLED(c.channel, c.value); }), c.rc);
        On(handle, [&](BaseDevice& d) {
            EXPECT_EQ(dynamic_cast<CKQBelun_LED&>(d).LedState(), c.state);
            return 0;
        });
        const auto log = bus.Log();
        if (c.rc != status::kSuccess) {
            EXPECT_TRUE(log.empty());
            continue;
        }
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0].code, kqff::kIoctlWriteBlock);
        std::vector<std::uint8_t> expected(64, 0);
        expected[0] = 0x2C;
        expected[2] = 0x06;
        std::copy(c.state.begin(), c.state.end(), expected.begin() + 4);
        EXPECT_EQ(log[0].input, expected);
    }
}

// A failed send is reported and keeps the channels as they were, so the
// next block carries only what the camera took.
TEST_F(ModelTest, LedSendThatFailsIsReported) {
    const std::uint32_t handle = OpenType(17);
    bus.FailControl(kqff::kIoctlWriteBlock, 1);
    EXPECT_EQ(On(handle, [](BaseDevice& d) { return d.SetCameraLED(1, 9); }), status::kNoDevice);
    On(handle, [](BaseDevice& d) {
        EXPECT_EQ(dynamic_cast<CKQBelun_LED&>(d).LedState(), (std::array<std::uint8_t, 4>{0x10, 0, 0, 0}));
        return 0;
    });
    bus.ClearLog();
    ASSERT_EQ(On(handle, [](BaseDevice& d) { return d.SetCameraLED(2, 4); }), status::kSuccess);
    std::vector<std::uint8_t> expected(64, 0);
    expected[0] = 0x2C;
    expected[2] = 0x06;
    expected[4] = 0x10;
    expected[6] = 4;
    EXPECT_EQ(bus.LogOf(kqff::kIoctlWriteBlock).at(0).input, expected);
}

TEST_F(ModelTest, PausesGoThroughTheInjectedSleeper) {
    const std::uint32_t handle = OpenType(3);
    pauses.clear();
    EXPECT_EQ(On(handle, [](BaseDevice& d) { return d.SetTriggerMode(1); }), status::kSuccess);
    EXPECT_EQ(pauses, std::vector<int>{500});
}

}  // namespace
}  // namespace kq::test

namespace kq::test {
namespace {

// The camera families that take some of the requests the base refuses.
enum class Takes { fpga, trigger52, sixteenBit, yuv, led, none };

struct CameraCase {
    int type;
    std::u16string_view pattern;  // empty: no identification selects it, made directly
    Takes family;
};

// One camera of every type; type 10 once per colour type.
constexpr CameraCase kEveryType[] = {
    {1, u"VID_F5A1&PID_0101", Takes::none},        {2, u"VID_F5A1&PID_0201", Takes::none},
    {3, u"VID_F5A1&PID_0301", Takes::none},        {4, u"VID_F5A1&PID_0401", Takes::none},
    {5, u"VID_F5A1&PID_0501", Takes::none},        {6, u"VID_F5A1&PID_0601", Takes::none},
    {7, u"VID_F5A1&PID_0701", Takes::none},        {8, u"VID_F5A1&PID_0801", Takes::none},
    {9, u"VID_F5A1&PID_0901", Takes::sixteenBit},  {10, u"VID_F5A1&PID_0A01", Takes::trigger52},
    {10, u"VID_F5A1&PID_0A02", Takes::trigger52},  {11, u"VID_F5A1&PID_0B01", Takes::fpga},
    {12, u"VID_F5A1&PID_0C01", Takes::fpga},       {13, u"VID_F5A1&PID_0D01", Takes::fpga},
    {14, u"VID_F5A1&PID_0E01", Takes::sixteenBit}, {15, u"VID_F5A1&PID_0F01", Takes::yuv},
    {16, u"VID_F5A1&PID_1001", Takes::fpga},       {17, u"VID_F5A1&PID_1101", Takes::led},
    {18, u"VID_FFF0&PID_0018", Takes::fpga},       {19, u"VID_F5A1&PID_1301", Takes::fpga},
    {20, u"VID_F5A1&PID_1401", Takes::fpga},       {21, u"VID_F5A2&PID_1501", Takes::fpga},
    {22, u"VID_F5A1&PID_1601", Takes::none},       {23, u"", Takes::none},
    {24, u"VID_F5A2&PID_1801", Takes::fpga},       {25, u"VID_F5A2&PID_1901", Takes::fpga},
};

constexpr std::uint32_t kNoRequest = 0;

// Every request the base device answers with 10 goes to the classes whose
// cameras take it, which answer 0 with their request (or none, where the
// setting stays in the library); every other class answers 10, sends
// nothing and leaves the caller's buffer as it was.
TEST_F(ModelTest, RequestsTheBaseRefusesReachTheClassesThatTakeThem) {
    std::array<std::uint8_t, 40> area;
    struct Request {
        const char* name;
        std::function<int(BaseDevice&)> call;
        std::map<Takes, std::uint32_t> sent;  // the family's first control code
    };
    const Request requests[] = {
        {"SetSourceFormat",
         [](BaseDevice& d) { return d.SetSourceFormat(1); },
         {{Takes::sixteenBit, kNoRequest}, {Takes::yuv, kNoRequest}}},
        {"SetGolbalGain", [](BaseDevice& d) { return d.SetGolbalGain(3); }, {{Takes::yuv, kqff::kIoctlSetFormat}}},
        {"SetTriggerDelayTime",
         [](BaseDevice& d) { return d.SetTriggerDelayTime(2); },
         {{Takes::fpga, kqff::kIoctlWriteCommand}}},
        {"SetTriggerSource",
         [](BaseDevice& d) { return d.SetTriggerSource(1); },
         {{Takes::fpga, kqff::kIoctlSetFormat}, {Takes::trigger52, kqff::kIoctlSetFormat}}},
        {"SetTriggerSourceTime",
         [](BaseDevice& d) { return d.SetTriggerSourceTime(40); },
         {{Takes::fpga, kqff::kIoctlWriteCommand}, {Takes::trigger52, kqff::kIoctlSetFormat}}},
        {"SetTriggerCheckSignalTime",
         [](BaseDevice& d) { return d.SetTriggerCheckSignalTime(20); },
         {{Takes::trigger52, kqff::kIoctlSetFormat}}},
        {"SetCustomIO", [](BaseDevice& d) { return d.SetCustomIO(1); }, {{Takes::fpga, kqff::kIoctlSetFormat}}},
        {"SetCameraLED", [](BaseDevice& d) { return d.SetCameraLED(0, 5); }, {{Takes::led, kqff::kIoctlWriteBlock}}},
        {"EEProm_Set_Test",
         [&](BaseDevice& d) { return d.EEProm_Set_Test(area.data()); },
         {{Takes::fpga, kqff::kIoctlWriteCommand}}},
        {"EEProm_Get_Test",
         [&](BaseDevice& d) { return d.EEProm_Get_Test(area.data()); },
         {{Takes::fpga, kqff::kIoctlTransact}}},
    };
    for (const CameraCase& camera : kEveryType) {
        bus.AddCamera(InstanceId(camera.pattern.empty() ? u"VID_F5A1&PID_0901" : camera.pattern));
        const auto position = static_cast<std::int32_t>(bus.ListInterfaces()->size());
        std::shared_ptr<BaseDevice> direct;
        std::uint32_t handle = 0;
        if (camera.pattern.empty()) {
            DeviceIdentity identity;
            identity.typeCode = camera.type;
            direct = MakeDevice(identity);
            direct->SetSleeper([](std::chrono::milliseconds) {});
            ASSERT_EQ(direct->OpenDevice(bus, bus.InterfaceOf(position - 1), SmallWindow(), 1), status::kSuccess);
        } else {
            handle = Open(position);
        }
        const auto on = [&](const std::function<int(BaseDevice&)>& op) {
            return direct ? op(*direct) : On(handle, op);
        };
        on([&](BaseDevice& d) {
            EXPECT_EQ(d.TypeCode(), camera.type);
            return 0;
        });
        for (const Request& request : requests) {
            SCOPED_TRACE(testing::Message() << "type " << camera.type << " " << request.name);
            area.fill(0xA5);
            bus.ClearLog();
            const int rc = on(request.call);
            const auto log = bus.Log();
            const auto taken = request.sent.find(camera.family);
            if (taken == request.sent.end()) {
                EXPECT_EQ(rc, status::kNotSupported);
                EXPECT_TRUE(log.empty());
                EXPECT_TRUE(std::all_of(area.begin(), area.end(), [](std::uint8_t b) { return b == 0xA5; }));
                continue;
            }
            EXPECT_EQ(rc, status::kSuccess);
            if (taken->second == kNoRequest) {
                EXPECT_TRUE(log.empty());
            } else {
                ASSERT_FALSE(log.empty());
                EXPECT_EQ(log.front().code, taken->second);
            }
        }
        if (direct) {
            direct->CloseDevice();
        } else {
            library.Uninitialize(handle);
        }
    }
}

// Fast capture and the preview exclude each other: a preview does not start
// in fast mode, fast mode does not start under a preview, and neither a new
// window, a zoom change nor a camera coming back turns on the other one. So
// a grab in fast mode never competes with a capture thread for the frames.
TEST_F(ModelTest, FastCaptureAndPreviewNeverRunTogether) {
    for (const int type : {3, 6, 11, 16}) {
        SCOPED_TRACE(testing::Message() << "type " << type);
        const std::uint32_t handle = OpenType(type);
        const std::size_t camera = bus.ListInterfaces()->size() - 1;
        const auto streaming = [&] { return On(handle, [](BaseDevice& d) { return d.Streaming() ? 1 : 0; }); };
        const auto comeBack = [&] {
            bus.Unplug(camera);
            ASSERT_EQ(library.DeviceRemoved(handle), status::kSuccess);
            bus.Replug(camera);
            ASSERT_EQ(library.DeviceArrived(handle, bus.InterfaceOf(camera)), status::kSuccess);
        };
        CapInfo smaller = SmallWindow();
        smaller.width = 320;
        smaller.height = 240;

        ASSERT_EQ(On(handle, [](BaseDevice& d) { return d.CapFastMode(true); }), status::kSuccess);
        bus.ClearLog();
        EXPECT_EQ(On(handle, [](BaseDevice& d) { return d.StartView(nullptr, {}); }), status::kNotSupported);
        EXPECT_TRUE(bus.Log().empty());
        // The grab triggers the running camera and reads: no start or stop code.
        std::vector<std::uint8_t> raw(640 * 480);
        kqcmos::FrameSize grabbed{};
        EXPECT_EQ(On(handle,
                     [&](BaseDevice& d) {
                         return d.GrabFrame(raw.data(), true, [&](const DeliveredFrame& f) {
                             grabbed = f.size;
                             return 0;
                         });
                     }),
                  status::kSuccess);
        EXPECT_EQ(grabbed, (kqcmos::FrameSize{640, 480}));
        EXPECT_FALSE(bus.Log().empty());
        EXPECT_TRUE(bus.LogOf(kqff::kIoctlStartCapture).empty());
        EXPECT_TRUE(bus.LogOf(kqff::kIoctlStopCapture).empty());
        EXPECT_EQ(On(handle, [&](BaseDevice& d) { return d.SetCapInfo(smaller); }), status::kSuccess);
        EXPECT_EQ(On(handle, [](BaseDevice& d) { return d.SetZoomMode(1); }), status::kSuccess);
        EXPECT_EQ(On(handle, [](BaseDevice& d) { return d.SetZoomMode(0); }), status::kSuccess);
        EXPECT_EQ(streaming(), 0) << "a window change in fast mode starts no preview";
        comeBack();
        EXPECT_EQ(streaming(), 0);
        EXPECT_EQ(On(handle, [](BaseDevice& d) { return d.StartView(nullptr, {}); }), status::kNotSupported);
        ASSERT_EQ(On(handle, [](BaseDevice& d) { return d.CapFastMode(false); }), status::kSuccess);

        ASSERT_EQ(On(handle, [](BaseDevice& d) { return d.StartView(nullptr, {}); }), status::kSuccess);
        comeBack();
        bus.ClearLog();
        EXPECT_EQ(On(handle, [](BaseDevice& d) { return d.CapFastMode(true); }), status::kNotSupported);
        EXPECT_EQ(On(handle, [](BaseDevice& d) { return d.CapFastMode(false); }), status::kNotSupported);
        EXPECT_TRUE(bus.Log().empty());
        EXPECT_EQ(streaming(), 1);
        EXPECT_EQ(On(handle, [](BaseDevice& d) { return d.StopView(); }), status::kSuccess);
        library.Uninitialize(handle);
    }
}

}  // namespace
}  // namespace kq::test
