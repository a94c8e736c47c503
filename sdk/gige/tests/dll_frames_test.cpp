// Live frames through the stand-in build of KQGEu.dll with the real camera
// classes: a colour camera opened and streaming, its frames at the
// callback with their size and pixels as the simulated camera sent them
// converted, and every way of stopping while frames flow returning
// promptly.
#include <gtest/gtest.h>

#include <windows.h>

#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "KQGEu.h"
#include "adapter_service_fixture.h"
#include "frame_reference.h"
#include "kernel_handle.h"
#include "live_frames.h"
#include "simulated_camera.h"
#include "standin_dll.h"
#include "unix_command.h"

namespace kqge {
namespace {

using Bytes = std::vector<std::uint8_t>;
using fixture::Frames;
using fixture::ReturnsPromptly;

fixture::StandInExports& Dll() { return fixture::StandIn(); }

// The simulated "Gige-CMOSAlvino", a Bayer colour camera, on the second
// adapter.
constexpr std::int32_t kColourCamera = 9;
constexpr std::uint32_t kColourModelCode = 0x10003600;
constexpr FrameSize kSize{64, 48};

// The block of the simulated camera's frame that `pixels` were converted
// from; 0 when none of the first `blocks` was.
std::uint16_t SourceBlock(const Bytes& pixels, std::uint16_t blocks) {
    const ModelTraits& traits = TraitsOf(kColourModelCode);
    for (std::uint16_t block = 1; block <= blocks; ++block) {
        const Bytes raw = standin::SimulatedCamera::Pattern({kSize.width, kSize.height, standin::kMono8}, block);
        if (test::Reference(traits, kSize, static_cast<OutputKind>(traits.defaultOutputKind), raw) == pixels) {
            return block;
        }
    }
    return 0;
}

struct LiveColourCamera : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(Dll().Bound());
        fixture::Service service = fixture::StartService(GetCurrentProcessId(), 2, 2);
        ASSERT_EQ(Dll().Initialize(), 0);
        ASSERT_EQ(Dll().InitCamera(kColourCamera, nullptr), 0);
        ASSERT_EQ(Dll().SetResolution(kColourCamera, kSize.width, kSize.height), 0);
        ASSERT_EQ(Dll().SetFrameCallBack(kColourCamera, &Frames::Take, &frames), 0);
    }
    void TearDown() override { Dll().UnInitialize(); }

    Frames frames;
};

TEST_F(LiveColourCamera, FramesReachTheCallbackAsTheCameraSentThem) {
    ASSERT_EQ(Dll().LiveStart(kColourCamera), 0);
    ASSERT_TRUE(frames.WaitFor(3));
    EXPECT_EQ(ReturnsPromptly([] { return Dll().LiveStop(kColourCamera); }), 0);
    const std::size_t stopped = frames.Count();

    std::uint16_t previous = 0;
    for (std::size_t i = 0; i < stopped; ++i) {
        const Frames::Frame& frame = frames.frames[i];
        SCOPED_TRACE("frame " + std::to_string(i));
        EXPECT_EQ(frame.info.width, kSize.width);
        EXPECT_EQ(frame.info.height, kSize.height);
        EXPECT_EQ(frame.info.bitsPerPixel, 24);
        const std::uint16_t block = SourceBlock(frame.pixels, 2000);
        EXPECT_GT(block, previous) << "each frame a later one the camera sent";
        previous = block;
    }

    // Stopped means no frame more; a restart streams again.
    ASSERT_EQ(Dll().LiveStart(kColourCamera), 0);
    EXPECT_TRUE(frames.WaitFor(stopped + 2));
    EXPECT_EQ(ReturnsPromptly([] { return Dll().LiveStop(kColourCamera); }), 0);
}

// The latest frame saved as each picture kind, read back by ImageMagick.
TEST_F(LiveColourCamera, PicturesOfTheLatestFrameAreReadByImageMagick) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / L"kqge_dll_pictures";
    fs::remove_all(folder);
    fs::create_directories(folder);
    ASSERT_EQ(Dll().LiveStart(kColourCamera), 0);
    ASSERT_TRUE(frames.WaitFor(2));

    const struct Case {
        std::int32_t kind;
        const wchar_t* file;
        const char* read;  // size, format and depth as identify reads them
    } cases[] = {
        {0, L"shot.bmp", "64 48 BMP3 8"},
        {1, L"shot.jpg", "64 48 JPEG 8"},
        {2, L"shot.tif", "64 48 TIFF 8"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.read);
        const fs::path picture = folder / c.file;
        ASSERT_EQ(Dll().GetFrameToImage(kColourCamera, picture.c_str(), c.kind, 0, 0), 0);
        const fs::path read = folder / (std::wstring(c.file) + L".txt");
        const fs::path part = folder / L"read.part";
        using unix_testing::Quoted;
        using unix_testing::UnixPath;
        ASSERT_TRUE(unix_testing::RunShell("identify -format '%w %h %m %z' " + Quoted(UnixPath(picture)) + " > " +
                                               Quoted(UnixPath(part)) + " 2>&1; mv " + Quoted(UnixPath(part)) + " " +
                                               Quoted(UnixPath(read)),
                                           read));
        std::ostringstream text;
        text << std::ifstream(read).rdbuf();
        EXPECT_EQ(text.str(), c.read);
    }
    EXPECT_EQ(ReturnsPromptly([] { return Dll().LiveStop(kColourCamera); }), 0);
    fs::remove_all(folder);
}

// A borderless window showing exactly the frame, with no background of its
// own that painting could put over the drawn frame.
struct FrameWindow {
    FrameWindow() {
        WNDCLASSW type{};
        type.lpfnWndProc = DefWindowProcW;
        type.hInstance = GetModuleHandleW(nullptr);
        type.lpszClassName = L"kqge_frame_window";
        RegisterClassW(&type);
        handle = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, type.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0,
                                 0, kSize.width, kSize.height, nullptr, nullptr, type.hInstance, nullptr);
    }
    ~FrameWindow() { DestroyWindow(handle); }
    COLORREF Pixel(int x, int y) const {
        HDC dc = GetDC(handle);
        const COLORREF pixel = GetPixel(dc, x, y);
        ReleaseDC(handle, dc);
        return pixel;
    }

    HWND handle = nullptr;
};

// The frames drawn into the caller's window: once stopped, the window
// shows the last frame the callback had, bottom-up rows upright.
TEST_F(LiveColourCamera, FramesAreDrawnIntoTheCallersWindow) {
    FrameWindow window;
    ASSERT_NE(window.handle, nullptr);
    ASSERT_EQ(Dll().UnInitCamera(kColourCamera), 0);
    ASSERT_EQ(Dll().InitCamera(kColourCamera, window.handle), 0);
    ASSERT_EQ(Dll().SetResolution(kColourCamera, kSize.width, kSize.height), 0);
    ASSERT_EQ(Dll().SetFrameCallBack(kColourCamera, &Frames::Take, &frames), 0);
    ASSERT_EQ(Dll().LiveStart(kColourCamera), 0);
    ASSERT_TRUE(frames.WaitFor(3));
    ASSERT_EQ(ReturnsPromptly([] { return Dll().LiveStop(kColourCamera); }), 0);

    const Bytes& last = frames.frames.back().pixels;
    ASSERT_EQ(last.size(), static_cast<std::size_t>(kSize.width * kSize.height * 3));
    const struct Point {
        int x, y;
    } points[] = {{0, 0}, {kSize.width - 1, 0}, {0, kSize.height - 1}, {kSize.width - 1, kSize.height - 1}, {17, 29}};
    for (const Point& p : points) {
        const std::size_t at = (static_cast<std::size_t>(kSize.height - 1 - p.y) * kSize.width + p.x) * 3;
        EXPECT_EQ(window.Pixel(p.x, p.y), RGB(last[at + 2], last[at + 1], last[at])) << p.x << "," << p.y;
    }
}

// Each way out of a streaming camera returns and joins its threads.
TEST_F(LiveColourCamera, StoppingWhileStreamingReturnsPromptly) {
    const struct Case {
        const char* name;
        std::function<std::int32_t()> stop;
    } cases[] = {
        {"LiveStop", [] { return Dll().LiveStop(kColourCamera); }},
        {"UnInitCamera", [] { return Dll().UnInitCamera(kColourCamera); }},
        {"UnInitialize", [] { return Dll().UnInitialize(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Opens the camera again after UnInitCamera; an open one stays as it is.
        (void)Dll().InitCamera(kColourCamera, nullptr);
        ASSERT_EQ(Dll().SetResolution(kColourCamera, kSize.width, kSize.height), 0);
        ASSERT_EQ(Dll().SetFrameCallBack(kColourCamera, &Frames::Take, &frames), 0);
        const std::size_t before = frames.Count();
        ASSERT_EQ(Dll().LiveStart(kColourCamera), 0);
        ASSERT_TRUE(frames.WaitFor(before + 2)) << "streaming";
        EXPECT_EQ(ReturnsPromptly(c.stop), 0);
    }
}

}  // namespace
}  // namespace kqge
