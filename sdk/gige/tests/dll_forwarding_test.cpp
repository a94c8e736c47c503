// The exports over scripted camera doubles in the registry: every export
// reaches its camera operation with its arguments converted as the C
// interface says, hands back the camera's result and outputs, answers 21
// for an index no camera has and 2 for a null output, without calling the
// camera; user values keep all 64 bits.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "KQGEu.h"
#include "channel_fixture.h"
#include "gige_library.h"
#include "kqge_library.h"
#include "modal_script.h"
#include "simulated_adapters.h"
#include "unsupported_camera.h"

namespace kqge {
namespace {

// Every call a camera took, as "Name(arguments)".
std::vector<std::string>& Calls() {
    static std::vector<std::string> calls;
    return calls;
}

std::string Text(const std::filesystem::path& path) { return path.string(); }
std::string Text(void* pointer) {
    char text[32];
    std::snprintf(text, sizeof(text), "%p", pointer);
    return text;
}
template <class T>
std::string Text(T value) {
    return std::to_string(value);
}
template <class... A>
void Log(const char* name, A... arguments) {
    std::string call = std::string(name) + "(";
    const char* separator = "";
    ((call += separator + Text(arguments), separator = ","), ...);
    (void)separator;  // no arguments
    Calls().push_back(call + ")");
}

// Each operation logs its arguments, fills its outputs with values of its
// own and returns 40 + the camera's index, so that a result is seen to come
// from the right camera.
class ScriptedCamera final : public testing::UnsupportedCamera {
public:
    explicit ScriptedCamera(std::int32_t index) : index_(index) {}
    std::int32_t Index() const override { return index_; }
    void AssignPort(std::uint16_t) override {}
    std::size_t ReceiveBytes() const override { return 1500; }

    std::int32_t InitCamera(std::unique_ptr<kq::PreviewSurface> s) override { return Did("InitCamera", s != nullptr); }
    std::int32_t UnInitCamera() override { return Did("UnInitCamera"); }
    std::int32_t LiveStart() override { return Did("LiveStart"); }
    std::int32_t LiveStop() override { return Did("LiveStop"); }
    std::int32_t ResetCameraPort(std::int32_t port, CCameraManager& registry) override {
        return Did("ResetCameraPort", port, &registry == &Library().Registry());
    }
    std::int32_t GetCameraPort(std::uint16_t& port) const override { return Out("GetCameraPort", port, 55123); }
    std::int32_t SetPackageSize(std::int32_t b) override { return Did("SetPackageSize", b); }
    std::uint16_t GetPackageSize() const override {
        Log("GetPackageSize");
        return 7996;
    }
    std::int32_t SetPackageDelayTime(std::int32_t d) override { return Did("SetPackageDelayTime", d); }
    std::int32_t GetPackageDelayTime(std::int32_t& d) override { return Out("GetPackageDelayTime", d, 321); }
    std::int32_t CapFastMode(bool on) override { return Did("CapFastMode", on); }
    std::int32_t SetNewHwnd(std::unique_ptr<kq::PreviewSurface> s) override { return Did("SetNewHwnd", s != nullptr); }
    std::int32_t SetVideoWindowPos(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) override {
        return Did("SetVideoWindowPos", x, y, w, h);
    }
    std::int32_t GetCameraFrameRate(float& fps) const override { return Out("GetCameraFrameRate", fps, 12.5F); }
    std::int32_t GetNICFrameRate(float& fps) const override { return Out("GetNICFrameRate", fps, 99.25F); }
    std::int32_t GetCameraInfo(std::span<std::uint8_t, kDiscoveryRecordBytes> record) const override {
        record.front() = 0xA1;
        record.back() = 0xB2;
        return Done("GetCameraInfo");
    }
    std::int32_t GetCameraType(std::int32_t& code) const override { return Out("GetCameraType", code, 0x140B0); }

    std::int32_t SetExposure(std::uint32_t e) override { return Did("SetExposure", e); }
    std::int32_t GetExposure(std::int32_t& e) override { return Out("GetExposure", e, 4321); }
    std::int32_t SetGainR(std::uint32_t g) override { return Did("SetGainR", g); }
    std::int32_t SetGainG(std::uint32_t g) override { return Did("SetGainG", g); }
    std::int32_t SetGainB(std::uint32_t g) override { return Did("SetGainB", g); }
    std::int32_t SetGain_A(std::int32_t g) override { return Did("SetGain_A", g); }
    std::int32_t SetResolution(std::uint32_t w, std::uint32_t h) override { return Did("SetResolution", w, h); }
    std::int32_t SetOffsetH(std::int32_t o) override { return Did("SetOffsetH", o); }
    std::int32_t SetOffsetV(std::int32_t o) override { return Did("SetOffsetV", o); }
    std::int32_t EnableAE(bool on) override { return Did("EnableAE", on); }
    std::int32_t EnableAG(bool on) override { return Did("EnableAG", on); }
    std::int32_t SetFlipMode(std::int32_t k) override { return Did("SetFlipMode", k); }
    std::int32_t SetZoomMode(std::int32_t m) override { return Did("SetZoomMode", m); }
    std::int32_t SetExpMode(std::int32_t m) override { return Did("SetExpMode", m); }
    std::int32_t SetCapMode(std::int32_t m) override { return Did("SetCapMode", m); }
    std::int32_t SetSpeedMode(std::int32_t m) override { return Did("SetSpeedMode", m); }
    std::int32_t SetFlashState(bool on, bool mode) override { return Did("SetFlashState", on, mode); }
    std::int32_t HDR_Enable(std::int32_t on) override { return Did("HDR_Enable", on); }
    std::int32_t SetValidBitsOff(std::int32_t s) override { return Did("SetValidBitsOff", s); }
    std::int32_t SetDoAutoCorrection() override { return Did("SetDoAutoCorrection"); }
    std::int32_t SetDoCorrecting(bool on) override { return Did("SetDoCorrecting", on); }

    std::int32_t WriteRegister(std::uint32_t a, std::uint32_t v) override { return Did("WriteRegister", a, v); }
    std::int32_t ReadRegister(std::uint32_t a, std::uint32_t& v) override {
        v = 0xCAFEF00D;
        return Did("ReadRegister", a);
    }
    std::int32_t SetTriggerMode(std::int32_t m) override { return Did("SetTriggerMode", m); }
    std::int32_t GetTriggerMode(std::int32_t& m) override { return Out("GetTriggerMode", m, 2); }
    std::int32_t SetWatchdogState(bool on) override { return Did("SetWatchdogState", on); }
    std::int32_t GetWatchdogState(std::int32_t& on) override { return Out("GetWatchdogState", on, 1); }
    std::int32_t SetIO(std::uint32_t line, std::uint32_t level) override { return Did("SetIO", line, level); }
    std::int32_t GetIO(std::uint32_t line, std::uint32_t& level) override {
        level = 1;
        return Did("GetIO", line);
    }
    std::int32_t SetTriggerDelayTime(std::uint32_t d) override { return Did("SetTriggerDelayTime", d); }
    std::int32_t SoftTrigger() override { return Did("SoftTrigger"); }
    std::int32_t SetCameraIP(std::uint32_t ip, std::uint32_t mask, std::uint32_t gateway) override {
        return Did("SetCameraIP", ip, mask, gateway);
    }
    std::int32_t IPConfig(bool on) override { return Did("IPConfig", on); }
    std::int32_t SetDhcpEnable(bool on) override { return Did("SetDhcpEnable", on); }
    std::int32_t SetMacAddr(std::uint32_t v) override { return Did("SetMacAddr", v); }
    std::int32_t UpdateDeviceProgram(std::int32_t start, const std::filesystem::path& path) override {
        return Did("UpdateDeviceProgram", start, path);
    }

    std::int32_t SetFrameCallBack(FrameCallback callback, void* user) override {
        frameCallback = callback;
        return Did("SetFrameCallBack", user);
    }
    std::int32_t SetTriggerState(bool on, FrameCallback callback, void* user) override {
        frameCallback = callback;
        return Did("SetTriggerState", on, user);
    }
    std::int32_t GetFrame(std::uint8_t* picture) override {
        picture[0] = 0x5C;
        return Did("GetFrame");
    }
    std::int32_t GetFrameToImage(const std::filesystem::path& path, std::int32_t kind) override {
        return Did("GetFrameToImage", path, kind);
    }
    std::int32_t SetColorMode(std::int32_t k) override { return Did("SetColorMode", k); }
    std::int32_t SetContrast(std::uint32_t c) override { return Did("SetContrast", c); }
    std::int32_t SetSaturation(std::int32_t v) override { return Did("SetSaturation", v); }
    std::int32_t GetSaturation(std::int32_t& v) const override { return Out("GetSaturation", v, 16); }
    std::int32_t SetSharpness(std::int32_t v) override { return Did("SetSharpness", v); }
    std::int32_t GetSharpness(std::int32_t& v) const override { return Out("GetSharpness", v, 8); }
    std::int32_t SetDoAE(bool mark, bool on, AutoCallback callback, void* user) override {
        autoCallback = callback;
        return Did("SetDoAE", mark, on, user);
    }
    std::int32_t AEParam(bool flag, std::int32_t window) override { return Did("AEParam", flag, window); }
    std::int32_t SetDoAWB(std::int32_t once, bool continuous, AutoCallback callback, void* user) override {
        autoCallback = callback;
        return Did("SetDoAWB", once, continuous, user);
    }
    std::int32_t GetAWBVal(std::uint32_t& r, std::uint32_t& g, std::uint32_t& b) const override {
        r = 11;
        g = 22;
        b = 33;
        return Done("GetAWBVal");
    }
    std::int32_t ReSetAWBVal(std::int32_t r, std::int32_t g, std::int32_t b) override {
        return Did("ReSetAWBVal", r, g, b);
    }
    std::int32_t MCResolutionShow(bool on) override { return Did("MCResolutionShow", on); }
    std::int32_t IsMCResolutionShow(std::int32_t& on) const override { return Out("IsMCResolutionShow", on, 1); }
    std::int32_t SetMCResolution(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) override {
        return Did("SetMCResolution", x, y, w, h);
    }
    std::int32_t GetMCResolution(std::int32_t& x, std::int32_t& y, std::int32_t& w, std::int32_t& h) const override {
        x = 2;
        y = 4;
        w = 640;
        h = 480;
        return Done("GetMCResolution");
    }
    std::int32_t SetCapture(bool on, const std::filesystem::path& path, bool takePath) override {
        return Did("SetCapture", on, path, takePath);
    }
    // Offers the code in use, as a camera does, and logs the choice.
    std::int32_t SelectAviCompressor(CompressorChooser& chooser) override {
        return Did("SelectAviCompressor", chooser.Choose(0x44495658));
    }
    std::int32_t SetAviCompressor(std::uint32_t code) override { return Did("SetAviCompressor", code); }

    FrameCallback frameCallback = nullptr;
    AutoCallback autoCallback = nullptr;

private:
    template <class... A>
    std::int32_t Did(const char* name, A... arguments) const {
        Log(name, arguments...);
        return 40 + index_;
    }
    std::int32_t Done(const char* name) const { return Did(name); }
    template <class T, class V>
    std::int32_t Out(const char* name, T& out, V value) const {
        out = static_cast<T>(value);
        return Did(name);
    }

    std::int32_t index_;
};

class ScriptedFactory final : public CameraFactory {
public:
    std::unique_ptr<IGigECamera> Make(std::uint32_t, CNIC&, const DiscoveryRecord&) override {
        return std::make_unique<ScriptedCamera>(next++);
    }
    std::int32_t next = 0;
};

// One simulated adapter listing eight cameras.
class OneAdapter final : public AdapterService {
public:
    AdapterReply RequestAdapters() override {
        AdapterReply reply;
        reply.adapters.push_back(fixture::Adapter());
        reply.adapters[0].driverHandle = standin::SimulatedAdapters::kFirstHandle;
        return reply;
    }
};

}  // namespace

// The exports under test run over this library.
GigELibrary& Library() {
    static standin::SimulatedAdapters adapters;
    static OneAdapter service;
    static ScriptedFactory factory;
    static GigELibrary library(service, adapters, factory, fixture::kTestAckTimeout);
    return library;
}

namespace {

constexpr std::int32_t kIndex = 3;  // answers 43
constexpr std::int32_t kUnknown = 8;

// Defined before the suites that start the library, so it runs first.
TEST(BeforeStartUpTest, NothingAnswersButTheCount) {
    std::int32_t count = 77, type = 77;
    EXPECT_EQ(KQGE_GetCameraCount(&count), 25);
    EXPECT_EQ(count, 77);
    EXPECT_EQ(KQGE_LiveStart(0), 21);
    EXPECT_EQ(KQGE_GetCameraType(0, &type), 21);
    EXPECT_EQ(type, 77);
    EXPECT_EQ(KQGE_UnInitialize(), 0);
    EXPECT_TRUE(Calls().empty());
}

struct Started : ::testing::Test {
    static void SetUpTestSuite() { ASSERT_EQ(KQGE_Initialize(), 0); }
    static void TearDownTestSuite() { KQGE_UnInitialize(); }
    void SetUp() override { Calls().clear(); }
    ScriptedCamera& Camera() { return static_cast<ScriptedCamera&>(*Library().FindCamera(kIndex)); }
};

// An export called with a camera index, and the call the camera must see.
struct Forwarding {
    const char* call;
    std::function<std::int32_t(std::int32_t index)> export_;
};

TEST_F(Started, EveryExportReachesItsOperationWithItsArguments) {
    const HWND window = GetDesktopWindow();
    float fps = 0;
    std::uint16_t port = 0;
    std::int32_t value = 0, x = 0, y = 0, w = 0, h = 0;
    std::uint32_t red = 0, green = 0, blue = 0, level = 0, reg = 0;
    std::vector<unsigned char> picture(16, 0), record(248, 0);
    const Forwarding cases[] = {
        {"InitCamera(1)", [&](std::int32_t i) { return KQGE_InitCamera(i, window); }},
        {"InitCamera(0)", [&](std::int32_t i) { return KQGE_InitCamera(i, nullptr); }},
        {"UnInitCamera()", [&](std::int32_t i) { return KQGE_UnInitCamera(i); }},
        {"LiveStart()", [&](std::int32_t i) { return KQGE_LiveStart(i); }},
        {"LiveStop()", [&](std::int32_t i) { return KQGE_LiveStop(i); }},
        {"ResetCameraPort(60001,1)", [&](std::int32_t i) { return KQGE_ResetCameraPort(i, 60001); }},
        {"GetCameraPort()", [&](std::int32_t i) { return KQGE_GetCameraPort(i, &port); }},
        {"SetExposure(4000000000)", [&](std::int32_t i) { return KQGE_SetExposure(i, 4000000000u); }},
        {"GetExposure()", [&](std::int32_t i) { return KQGE_GetExposure(i, &value); }},
        {"SetGainR(7)", [&](std::int32_t i) { return KQGE_SetGainR(i, 7); }},
        {"SetGainG(8)", [&](std::int32_t i) { return KQGE_SetGainG(i, 8); }},
        {"SetGainB(9)", [&](std::int32_t i) { return KQGE_SetGainB(i, 9); }},
        {"SetGain_A(-3)", [&](std::int32_t i) { return KQGE_SetGain_A(i, -3); }},
        {"SetResolution(1360,1024)", [&](std::int32_t i) { return KQGE_SetResolution(i, 1360, 1024); }},
        {"WriteRegister(167772160,3)", [&](std::int32_t i) { return KQGE_WriterRegister(i, 0x0A000000, 3); }},
        {"ReadRegister(2359296)", [&](std::int32_t i) { return KQGE_ReadRegister(i, 0x00240000, &reg); }},
        {"GetCameraFrameRate()", [&](std::int32_t i) { return KQGE_GetCameraFrameRate(i, &fps); }},
        {"SetVideoWindowPos(-5,6,700,500)", [&](std::int32_t i) { return KQGE_SetVideoWindowPos(i, -5, 6, 700, 500); }},
        {"EnableAE(1)", [&](std::int32_t i) { return KQGE_EnableAE(i, 5); }},
        {"EnableAG(0)", [&](std::int32_t i) { return KQGE_EnableAG(i, 0); }},
        {"SetFlipMode(4)", [&](std::int32_t i) { return KQGE_SetFlipMode(i, 4); }},
        {"SetZoomMode(2)", [&](std::int32_t i) { return KQGE_SetZoomMode(i, 2); }},
        {"SetExpMode(1)", [&](std::int32_t i) { return KQGE_SetExpMode(i, 1); }},
        {"SetCapMode(0)", [&](std::int32_t i) { return KQGE_SetCapMode(i, 0); }},
        {"SetSpeedMode(3)", [&](std::int32_t i) { return KQGE_SetSpeedMode(i, 3); }},
        {"SetOffsetH(16)", [&](std::int32_t i) { return KQGE_SetOffsetH(i, 16); }},
        {"SetOffsetV(-16)", [&](std::int32_t i) { return KQGE_SetOffsetV(i, -16); }},
        {"GetFrame()", [&](std::int32_t i) { return KQGE_GetFrame(i, picture.data()); }},
        {"GetFrameToImage(shot.tif,2)",
         [&](std::int32_t i) { return KQGE_GetFrameToImage(i, L"shot.tif", 2, 77, 88); }},
        {"SetCameraIP(1,2,3)", [&](std::int32_t i) { return KQGE_SetCameraIP(i, 1, 2, 3); }},
        {"IPConfig(1)", [&](std::int32_t i) { return KQGE_IPConfig(i, 1); }},
        {"GetCameraInfo()", [&](std::int32_t i) { return KQGE_GetCameraInfo(i, record.data()); }},
        {"SetContrast(64)", [&](std::int32_t i) { return KQGE_SetContrast(i, 64); }},
        {"SetFlashState(1,0)", [&](std::int32_t i) { return KQGE_SetFlashState(i, 1, 0); }},
        {"SetColorMode(5)", [&](std::int32_t i) { return KQGE_SetColorMode(i, 5); }},
        {"SetDhcpEnable(0)", [&](std::int32_t i) { return KQGE_SetDhcpEnable(i, 0); }},
        {"SetMacAddr(305419896)", [&](std::int32_t i) { return KQGE_SetMacAddr(i, 0x12345678, 48213957); }},
        {"GetCameraType()", [&](std::int32_t i) { return KQGE_GetCameraType(i, &value); }},
        {"GetNICFrameRate()", [&](std::int32_t i) { return KQGE_GetNICFrameRate(i, &fps); }},
        {"SetCapture(1,movie.avi,1)", [&](std::int32_t i) { return KQGE_CaptureStart(i, L"movie.avi"); }},
        {"SetCapture(0,,1)", [&](std::int32_t i) { return KQGE_CaptureStop(i); }},
        {"SetAviCompressor(1145656920)", [&](std::int32_t i) { return KQGE_SetAviCompressor(i, 0x44495658); }},
        {"SetTriggerMode(2)", [&](std::int32_t i) { return KQGE_SetTriggerMode(i, 2); }},
        {"GetTriggerMode()", [&](std::int32_t i) { return KQGE_GetTriggerMode(i, &value); }},
        {"SetPackageDelayTime(-1)", [&](std::int32_t i) { return KQGE_SetPackageDelayTime(i, -1); }},
        {"GetPackageDelayTime()", [&](std::int32_t i) { return KQGE_GetPackageDelayTime(i, &value); }},
        {"SetWatchdogState(1)", [&](std::int32_t i) { return KQGE_SetWatchdogState(i, 1); }},
        {"GetWatchdogState()", [&](std::int32_t i) { return KQGE_GetWatchdogState(i, &value); }},
        {"SetIO(2,1)", [&](std::int32_t i) { return KQGE_SetIO(i, 2, 1); }},
        {"GetIO(1)", [&](std::int32_t i) { return KQGE_GetIO(i, 1, &level); }},
        {"SetTriggerDelayTime(1000)", [&](std::int32_t i) { return KQGE_SetTriggerDelayTime(i, 1000); }},
        {"SoftTrigger()", [&](std::int32_t i) { return KQGE_SoftTrigger(i); }},
        {"HDR_Enable(7)", [&](std::int32_t i) { return KQGE_HDR_Enable(i, 7); }},
        {"MCResolutionShow(1)", [&](std::int32_t i) { return KQGE_MCResolutionShow(i, 1); }},
        {"IsMCResolutionShow()", [&](std::int32_t i) { return KQGE_IsMCResolutionShow(i, &value); }},
        {"SetMCResolution(10,20,300,200)", [&](std::int32_t i) { return KQGE_SetMCResolution(i, 10, 20, 300, 200); }},
        {"GetMCResolution()", [&](std::int32_t i) { return KQGE_GetMCResolution(i, &x, &y, &w, &h); }},
        {"SetValidBitsOff(2)", [&](std::int32_t i) { return KQGE_SetValidBitsOff(i, 2); }},
        {"AEParam(1,2)", [&](std::int32_t i) { return KQGE_AEParam(i, 1, 2); }},
        {"SetNewHwnd(1)", [&](std::int32_t i) { return KQGE_SetNewHwnd(i, window); }},
        {"SetPackageSize(1502)", [&](std::int32_t i) { return KQGE_SetPackageSize(i, 1502); }},
        {"UpdateDeviceProgram(1,fw.jic)", [&](std::int32_t i) { return KQGE_UpdateDeviceProgram(i, 1, L"fw.jic"); }},
        {"UpdateDeviceProgram(0,output_file.jic)",
         [&](std::int32_t i) { return KQGE_UpdateDeviceProgram(i, 0, nullptr); }},
        {"CapFastMode(1)", [&](std::int32_t i) { return KQGE_CapFastMode(i, 1); }},
        {"GetAWBVal()", [&](std::int32_t i) { return KQGE_GetAWBVal(i, &red, &green, &blue); }},
        {"ReSetAWBVal(1,2,3)", [&](std::int32_t i) { return KQGE_ReSetAWBVal(i, 1, 2, 3); }},
        {"SetDoAutoCorrection()", [&](std::int32_t i) { return KQGE_SetDoAutoCorrection(i); }},
        {"SetDoCorrecting(1)", [&](std::int32_t i) { return KQGE_SetDoCorrecting(i, 1); }},
        {"SetSaturation(40)", [&](std::int32_t i) { return KQGE_SetSaturation(i, 40); }},
        {"GetSaturation()", [&](std::int32_t i) { return KQGE_GetSaturation(i, &value); }},
        {"SetSharpness(12)", [&](std::int32_t i) { return KQGE_SetSharpness(i, 12); }},
        {"GetSharpness()", [&](std::int32_t i) { return KQGE_GetSharpness(i, &value); }},
    };
    for (const Forwarding& c : cases) {
        Calls().clear();
        EXPECT_EQ(c.export_(kIndex), 40 + kIndex) << c.call;
        EXPECT_EQ(Calls(), std::vector<std::string>{c.call});

        Calls().clear();
        EXPECT_EQ(c.export_(kUnknown), 21) << c.call;
        EXPECT_EQ(c.export_(-1), 21) << c.call;
        EXPECT_TRUE(Calls().empty()) << c.call << " reached a camera";
    }
}

TEST_F(Started, OutputsComeBackFromTheCamera) {
    std::uint16_t port = 0, size = 0;
    std::int32_t exposure = 0, type = 0, x = 0, y = 0, w = 0, h = 0;
    std::uint32_t reg = 0, red = 0, green = 0, blue = 0;
    float fps = 0;
    std::vector<unsigned char> record(248, 0);
    EXPECT_EQ(KQGE_GetCameraPort(kIndex, &port), 43);
    EXPECT_EQ(port, 55123);
    EXPECT_EQ(KQGE_GetPackageSize(kIndex, &size), 0) << "a member read, not a camera result";
    EXPECT_EQ(size, 7996);
    EXPECT_EQ(KQGE_GetExposure(kIndex, &exposure), 43);
    EXPECT_EQ(exposure, 4321);
    EXPECT_EQ(KQGE_GetCameraType(kIndex, &type), 43);
    EXPECT_EQ(type, 0x140B0);
    EXPECT_EQ(KQGE_ReadRegister(kIndex, 0x0A00, &reg), 43);
    EXPECT_EQ(reg, 0xCAFEF00Du);
    EXPECT_EQ(KQGE_GetNICFrameRate(kIndex, &fps), 43);
    EXPECT_EQ(fps, 99.25F);
    EXPECT_EQ(KQGE_GetAWBVal(kIndex, &red, &green, &blue), 43);
    EXPECT_EQ((std::vector<std::uint32_t>{red, green, blue}), (std::vector<std::uint32_t>{11, 22, 33}));
    EXPECT_EQ(KQGE_GetMCResolution(kIndex, &x, &y, &w, &h), 43);
    EXPECT_EQ((std::vector<std::int32_t>{x, y, w, h}), (std::vector<std::int32_t>{2, 4, 640, 480}));
    EXPECT_EQ(KQGE_GetCameraInfo(kIndex, record.data()), 43);
    EXPECT_EQ(record.front(), 0xA1) << "the whole 248-byte record is the camera's";
    EXPECT_EQ(record.back(), 0xB2);
}

TEST_F(Started, NullOutputsGiveTwoWithoutCallingTheCamera) {
    std::int32_t v = 0;
    std::uint32_t u = 0;
    const Forwarding cases[] = {
        {"GetCameraPort", [](std::int32_t i) { return KQGE_GetCameraPort(i, nullptr); }},
        {"GetExposure", [](std::int32_t i) { return KQGE_GetExposure(i, nullptr); }},
        {"ReadRegister", [](std::int32_t i) { return KQGE_ReadRegister(i, 0, nullptr); }},
        {"GetCameraFrameRate", [](std::int32_t i) { return KQGE_GetCameraFrameRate(i, nullptr); }},
        {"GetFrame", [](std::int32_t i) { return KQGE_GetFrame(i, nullptr); }},
        {"GetFrameToImage", [](std::int32_t i) { return KQGE_GetFrameToImage(i, nullptr, 0, 0, 0); }},
        {"GetCameraInfo", [](std::int32_t i) { return KQGE_GetCameraInfo(i, nullptr); }},
        {"GetCameraType", [](std::int32_t i) { return KQGE_GetCameraType(i, nullptr); }},
        {"GetNICFrameRate", [](std::int32_t i) { return KQGE_GetNICFrameRate(i, nullptr); }},
        {"CaptureStart", [](std::int32_t i) { return KQGE_CaptureStart(i, nullptr); }},
        {"GetTriggerMode", [](std::int32_t i) { return KQGE_GetTriggerMode(i, nullptr); }},
        {"GetPackageDelayTime", [](std::int32_t i) { return KQGE_GetPackageDelayTime(i, nullptr); }},
        {"GetWatchdogState", [](std::int32_t i) { return KQGE_GetWatchdogState(i, nullptr); }},
        {"GetIO", [](std::int32_t i) { return KQGE_GetIO(i, 0, nullptr); }},
        {"IsMCResolutionShow", [](std::int32_t i) { return KQGE_IsMCResolutionShow(i, nullptr); }},
        {"GetMCResolution x", [&](std::int32_t i) { return KQGE_GetMCResolution(i, nullptr, &v, &v, &v); }},
        {"GetMCResolution height", [&](std::int32_t i) { return KQGE_GetMCResolution(i, &v, &v, &v, nullptr); }},
        {"GetPackageSize", [](std::int32_t i) { return KQGE_GetPackageSize(i, nullptr); }},
        {"GetAWBVal red", [&](std::int32_t i) { return KQGE_GetAWBVal(i, nullptr, &u, &u); }},
        {"GetAWBVal blue", [&](std::int32_t i) { return KQGE_GetAWBVal(i, &u, &u, nullptr); }},
        {"GetSaturation", [](std::int32_t i) { return KQGE_GetSaturation(i, nullptr); }},
        {"GetSharpness", [](std::int32_t i) { return KQGE_GetSharpness(i, nullptr); }},
    };
    for (const Forwarding& c : cases) {
        EXPECT_EQ(c.export_(kIndex), 2) << c.call;
        EXPECT_EQ(c.export_(kUnknown), 21) << c.call << ": the index is checked first";
    }
    EXPECT_TRUE(Calls().empty());
}

TEST_F(Started, TheMacAddressIsWrittenOnlyWithItsGuard) {
    EXPECT_EQ(KQGE_SetMacAddr(kIndex, 0x12345678, 48213956), 0);
    EXPECT_EQ(KQGE_SetMacAddr(kIndex, 0x12345678, 0), 0);
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(KQGE_SetMacAddr(kUnknown, 0x12345678, 0), 21);
}

// What the caller's callbacks received.
struct Received {
    unsigned char* pixels = nullptr;
    KQGE_FRAME_INFO info{};
    std::int32_t exposure = 0;
    void* user = nullptr;
};

void KQGEAPI OnFrame(unsigned char* pixels, KQGE_FRAME_INFO* info, void* user) {
    auto* received = static_cast<Received*>(user);
    received->pixels = pixels;
    received->info = *info;
    received->user = user;
}

void KQGEAPI OnExposure(int32_t exposure, int32_t, void* user) {
    auto* received = static_cast<Received*>(user);
    received->exposure = exposure;
    received->user = user;
}

TEST_F(Started, CallbacksAndTheirUserValuesReachTheCallerWhole) {
    static Received high;
    Received* user = &high;
    const auto bits = reinterpret_cast<std::uintptr_t>(user);

    ASSERT_EQ(KQGE_SetFrameCallBack(kIndex, OnFrame, user), 43);
    EXPECT_EQ(Calls().back(), "SetFrameCallBack(" + Text(static_cast<void*>(user)) + ")");
    ScriptedCamera& camera = Camera();
    ASSERT_NE(camera.frameCallback, nullptr);
    std::uint8_t pixel = 0x77;
    FrameInfo info{752, 480, 24};
    camera.frameCallback(&pixel, &info, user);
    EXPECT_EQ(high.pixels, &pixel);
    EXPECT_EQ(high.info.width, 752);
    EXPECT_EQ(high.info.height, 480);
    EXPECT_EQ(high.info.bitsPerPixel, 24);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(high.user), bits);

    ASSERT_EQ(KQGE_SetTriggerState(kIndex, 1, OnFrame, user), 43);
    EXPECT_EQ(Calls().back(), "SetTriggerState(1," + Text(static_cast<void*>(user)) + ")");
    ASSERT_EQ(KQGE_SetDoAE(kIndex, 0, 1, OnExposure, user), 43);
    EXPECT_EQ(Calls().back(), "SetDoAE(0,1," + Text(static_cast<void*>(user)) + ")");
    camera.autoCallback(2500, 0, user);
    EXPECT_EQ(high.exposure, 2500);
    ASSERT_EQ(KQGE_SetDoAWB(kIndex, 1, 0, OnExposure, user), 43);
    EXPECT_EQ(Calls().back(), "SetDoAWB(1,0," + Text(static_cast<void*>(user)) + ")");

    // A user value that is no pointer at all, with its high half set: all
    // 64 bits reach the camera.
    void* const tagged = reinterpret_cast<void*>(static_cast<std::uintptr_t>(0x8765432112345678ull));
    ASSERT_EQ(KQGE_SetFrameCallBack(kIndex, nullptr, tagged), 43);
    EXPECT_EQ(Calls().back(), "SetFrameCallBack(" + Text(tagged) + ")");
    EXPECT_EQ(camera.frameCallback, nullptr) << "null removes the callback";

    Calls().clear();
    EXPECT_EQ(KQGE_SetFrameCallBack(kUnknown, OnFrame, user), 21);
    EXPECT_EQ(KQGE_SetTriggerState(kUnknown, 1, OnFrame, user), 21);
    EXPECT_EQ(KQGE_SetDoAE(kUnknown, 0, 1, OnExposure, user), 21);
    EXPECT_EQ(KQGE_SetDoAWB(kUnknown, 1, 0, OnExposure, user), 21);
    EXPECT_TRUE(Calls().empty());
}

TEST_F(Started, TheCompressorIsChosenInTheSystemDialog) {
    std::wstring title;
    testing_support::ModalScript script({[&](HWND dialog) {
        title = testing_support::ModalScript::Text(dialog);
        testing_support::ModalScript::Press(dialog, IDCANCEL);
    }});
    EXPECT_EQ(KQGE_SelectAviCompressor(kIndex, nullptr), 43);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(title, L"Video Compressor");
    EXPECT_EQ(Calls(), std::vector<std::string>{"SelectAviCompressor(0)"}) << "cancelled: no compressor";
    EXPECT_EQ(KQGE_SelectAviCompressor(kUnknown, nullptr), 21);
}

// The picture saver needs no camera and no start-up.
TEST(FrameToImageTest, SavesACallersPictureOrSaysWhyNot) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / L"kqge_frame_to_image";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::vector<unsigned char> picture(6 * 4 * 3, 0x40);

    const struct Case {
        const wchar_t* name;
        std::int32_t width, height, bits, kind;
        std::int32_t result;
        const wchar_t* written;  // null: no file
    } cases[] = {
        {L"grey", 6, 4, 8, 0, 0, L"grey.bmp"},      {L"colour.jpg", 6, 4, 24, 1, 0, L"colour.jpg"},
        {L"colour", 6, 4, 24, 2, 0, L"colour.tif"}, {L"wide", 3, 4, 16, 3, 0, L"wide.png"},
        {L"sixteen", 3, 4, 16, 0, 17, nullptr},     {L"sixteen", 3, 4, 16, 1, 17, nullptr},
        {L"seven", 6, 4, 24, 7, 20, nullptr},       {L"negative", 6, 4, 24, -1, 20, nullptr},
        {L"no width", 0, 4, 24, 0, 3, nullptr},
    };
    for (const Case& c : cases) {
        const std::filesystem::path path = folder / c.name;
        EXPECT_EQ(KQGE_FrameToImage(picture.data(), path.c_str(), c.width, c.height, c.bits, c.kind), c.result) << path;
        std::error_code missing;
        if (c.written) {
            EXPECT_GT(std::filesystem::file_size(folder / c.written, missing), 0u) << path;
        }
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 4);
    EXPECT_EQ(std::vector<unsigned char>(picture.size(), 0x40), picture) << "the caller's picture is never changed";
    EXPECT_EQ(KQGE_FrameToImage(nullptr, (folder / L"x").c_str(), 6, 4, 24, 0), 2);
    EXPECT_EQ(KQGE_FrameToImage(picture.data(), nullptr, 6, 4, 24, 0), 2);
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace kqge
