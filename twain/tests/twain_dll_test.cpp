// KQCMos_TW.dll's simulated-camera build, loaded by full path as the data
// source loads it: the device object per camera model, its settings in the
// prefix's registry, the reports to a settings dialog, frames, palette,
// panning of a real preview window and the trace line.
//
// Each set of cameras gets its own copy of the DLL with a KQSimCam.ini
// beside it: a loaded copy keeps its cameras for the life of the process.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ctwain.h"
#include "dialog_recorder.h"
#include "preview_test_window.h"
#include "pump_until.h"
#include "saved_value_names.h"
#include "unique_temp_dir.h"

namespace {

using testing_support::PumpUntil;
using twain::test::DialogRecorder;

struct TwainLibrary {
    HMODULE module = nullptr;
    RegsterMVTwainFunction regster = nullptr;
    UnRegsterMVTwainFunction unregster = nullptr;
};

std::filesystem::path SimulatedBuild() { return std::filesystem::path(TWAIN_SIM_DLL_PATH).make_preferred(); }

// A copy of the simulated build whose bus holds the cameras of this ini text.
TwainLibrary LoadWithCameras(const std::string& ini) {
    static std::map<std::string, TwainLibrary> loaded;
    if (const auto at = loaded.find(ini); at != loaded.end()) return at->second;
    SetEnvironmentVariableW(L"KQSIM_CONFIG", nullptr);
    const auto folder = testing_support::UniqueTempPath("twain_dll") / std::to_string(loaded.size());
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(SimulatedBuild(), folder / L"KQCMos_TW.dll",
                               std::filesystem::copy_options::overwrite_existing);
    {
        std::ofstream out(folder / L"KQSimCam.ini", std::ios::binary | std::ios::trunc);
        out << ini;
    }
    TwainLibrary library;
    library.module = LoadLibraryW((folder / L"KQCMos_TW.dll").c_str());
    if (library.module != nullptr) {
        library.regster = reinterpret_cast<RegsterMVTwainFunction>(
            reinterpret_cast<void*>(GetProcAddress(library.module, "RegsterMVTwain")));
        library.unregster = reinterpret_cast<UnRegsterMVTwainFunction>(
            reinterpret_cast<void*>(GetProcAddress(library.module, "UnRegsterMVTwain")));
    }
    loaded[ini] = library;
    return library;
}

std::string OneCamera(int type) { return "[Cameras]\nCount=1\n[Camera1]\nType=" + std::to_string(type) + "\n"; }

const char* const kModelKeys[] = {
    "Software\\KQTarvo_CMOS_TW",  "Software\\KQBelun_CMOS_TW",  "Software\\KQOrsik_CMOS_TW",
    "Software\\KQPelvar_CMOS_TW", "Software\\KQZundra_CMOS_TW", "Software\\KQQuessa_CMOS_TW",
    "Software\\KQDorisk_CMOS_TW", "Software\\KQNaprel_CMOS_TW", "Software\\KQ_CMOS_TW",
};

bool KeyExists(HKEY root, const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, name.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

std::optional<DWORD> ReadValue(HKEY root, const std::string& key, const char* name) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueA(root, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value;
}

void WriteValue(HKEY root, const std::string& key, const char* name, DWORD value) {
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr), ERROR_SUCCESS);
    RegSetValueExA(k, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(k);
}

// Destroys the device object when the test ends.
struct Device {
    TwainLibrary library;
    CTWAIN* object = nullptr;
    explicit Device(const TwainLibrary& lib) : library(lib), object(lib.regster ? lib.regster() : nullptr) {}
    ~Device() { Close(); }
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;
    void Close() {
        if (object != nullptr) library.unregster(object);
        object = nullptr;
    }
    CTWAIN* operator->() const { return object; }
    int Get(unsigned id) const {
        int value = -12345;
        EXPECT_EQ(object->GetParam(id, &value), 1) << id;
        return value;
    }
};

class TwainDll : public ::testing::Test {
protected:
    void SetUp() override { ClearRegistry(); }
    void TearDown() override { ClearRegistry(); }
    static void ClearRegistry() {
        for (const char* key : kModelKeys) {
            RegDeleteTreeA(HKEY_CURRENT_USER, key);
            RegDeleteKeyA(HKEY_CURRENT_USER, key);
            RegDeleteTreeA(HKEY_LOCAL_MACHINE, key);
            RegDeleteKeyA(HKEY_LOCAL_MACHINE, key);
        }
    }
};

TEST_F(TwainDll, TheSimulatedBuildExportsTheThreeNames) {
    const TwainLibrary library = LoadWithCameras(OneCamera(10));
    ASSERT_NE(library.module, nullptr) << SimulatedBuild();
    EXPECT_NE(library.regster, nullptr);
    EXPECT_NE(library.unregster, nullptr);
    EXPECT_NE(GetProcAddress(library.module, "KQ_GetDeviceHandle"), nullptr);
}

TEST_F(TwainDll, WithoutACameraThereIsNoObjectAndNothingInTheRegistry) {
    const TwainLibrary library = LoadWithCameras("[Cameras]\nCount=0\n");
    ASSERT_NE(library.regster, nullptr);
    EXPECT_EQ(library.regster(), nullptr);
    library.unregster(nullptr);  // does nothing
    for (const char* key : kModelKeys) {
        SCOPED_TRACE(key);
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key));
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, key));
    }
}

TEST_F(TwainDll, EachModelGetsTheSizesAndKeyOfItsReportedType) {
    struct Row {
        int typeCode;
        std::vector<std::string> sizes;
        int maxExposure;
        const char* key;
    };
    const std::vector<std::string> four{"640 * 480", "800 * 600", "1024 * 768", "1280 * 1024"};
    const std::vector<std::string> six{"640 * 480",   "800 * 600",   "1024 * 768",
                                       "1280 * 1024", "1600 * 1200", "2048 * 1536"};
    const Row rows[] = {
        {1, four, 5000, "Software\\KQTarvo_CMOS_TW\\CAPINFO"},
        {3, four, 5000, "Software\\KQTarvo_CMOS_TW\\CAPINFO"},
        {9, four, 5000, "Software\\KQTarvo_CMOS_TW\\CAPINFO"},
        {12, four, 10000, "Software\\KQTarvo_CMOS_TW\\CAPINFO"},
        {13, four, 10000, "Software\\KQTarvo_CMOS_TW\\CAPINFO"},
        {2, six, 5000, "Software\\KQBelun_CMOS_TW\\CAPINFO"},
        {5, six, 5000, "Software\\KQBelun_CMOS_TW\\CAPINFO"},
        {11, six, 10000, "Software\\KQBelun_CMOS_TW\\CAPINFO"},
        {19, six, 10000, "Software\\KQBelun_CMOS_TW\\CAPINFO"},  // reports 11
        {4,
         {"640 * 480", "800 * 600", "1024 * 768", "1280 * 1024", "1600 * 1200"},
         255,
         "Software\\KQOrsik_CMOS_TW\\CAPINFO"},
        {6,
         {"640 * 480", "800 * 600", "1024 * 768", "1280 * 1024", "1600 * 1200", "2048 * 1536", "2592 * 1944"},
         5000,
         "Software\\KQPelvar_CMOS_TW\\CAPINFO"},
        {7, {"872 * 640", "1744 * 1280", "3488 * 2560"}, 5000, "Software\\KQZundra_CMOS_TW\\CAPINFO"},
        // Type 8 from both sensor widths: the library reads the probe's
        // width back as asked, so both keep the full table.
        {21,
         {"640 * 486", "1280 * 972", "1296 * 972", "2560 * 1944", "2592 * 1944"},
         10000,
         "Software\\KQQuessa_CMOS_TW\\CAPINFO"},
        {8,
         {"640 * 486", "1280 * 972", "1296 * 972", "2560 * 1944", "2592 * 1944"},
         10000,
         "Software\\KQQuessa_CMOS_TW\\CAPINFO"},
        {10, {"752 * 480"}, 5000, "Software\\KQDorisk_CMOS_TW\\CAPINFO"},
        {16,
         {"640 * 480", "800 * 600", "1024 * 768", "1280 * 720", "1280 * 960"},
         10000,
         "Software\\KQNaprel_CMOS_TW\\CAPINFO"},
        // Types without a key of their own save where they were read.
        {14, four, 5000, "Software\\KQ_CMOS_TW\\CAPINFO"},
        {15, four, 5000, "Software\\KQ_CMOS_TW\\CAPINFO"},
        {17, four, 5000, "Software\\KQ_CMOS_TW\\CAPINFO"},
        {18, four, 5000, "Software\\KQ_CMOS_TW\\CAPINFO"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typeCode);
        ClearRegistry();
        Device device(LoadWithCameras(OneCamera(row.typeCode)));
        ASSERT_NE(device.object, nullptr);
        const twain::ResolutionEntry* table = nullptr;
        int count = 0;
        ASSERT_EQ(device->GetResolutions(&table, &count), 1);
        std::vector<std::string> sizes;
        for (int i = 0; i < count; ++i) sizes.emplace_back(table[i].name);
        EXPECT_EQ(sizes, row.sizes);
        EXPECT_EQ(device.Get(7) >> 16, table[count - 1].width);  // the width's range is the sensor
        EXPECT_EQ(device.Get(0) >> 16, row.maxExposure);
        device.Close();
        EXPECT_TRUE(ReadValue(HKEY_CURRENT_USER, row.key, "SizeMode").has_value());
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, row.key));
    }
}

TEST_F(TwainDll, ACleanKeyGivesTheDefaultsAndEverythingIsSavedForTheUser) {
    const std::string key = "Software\\KQDorisk_CMOS_TW\\CAPINFO";
    {
        Device device(LoadWithCameras(OneCamera(10)));
        ASSERT_NE(device.object, nullptr);
        const std::pair<unsigned, int> defaults[] = {
            {0, 100 | 5000 << 16},
            {1, 500 | 6000 << 16},
            {3, 500 | 6000 << 16},
            {6, 16 | 32 << 16},
            {9, 32 | 63 << 16},
            {14, 1},
            {18, 1},
            {23, 0},
            {30, 24},
            {31, 1},
            {28, 752},
            {29, 480},
        };
        for (const auto& [id, value] : defaults) EXPECT_EQ(device.Get(id), value) << id;
    }
    for (const char* name : twain::test::kSavedValueNames)
        EXPECT_TRUE(ReadValue(HKEY_CURRENT_USER, key, name).has_value()) << name;
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, key, "Exposure"), 100u);
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, key, "HOffset1024"), 215u);
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, key, "SizeMode"), 0u);  // clamped to the one size
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, key));
}

TEST_F(TwainDll, AChangedValueSurvivesTheNextOpen) {
    const TwainLibrary library = LoadWithCameras(OneCamera(10));
    {
        Device device(library);
        ASSERT_NE(device.object, nullptr);
        device->SetParam(0, 777);
        device->SetParam(32, 4);
        device->SetParam(13, 1);
    }
    Device again(library);
    ASSERT_NE(again.object, nullptr);
    EXPECT_EQ(again.Get(0), 777 | 5000 << 16);
    EXPECT_EQ(again.Get(32), 4);
    EXPECT_EQ(again.Get(13), 1);
    EXPECT_EQ(again.Get(30), 8);  // grey output comes back with BW
}

TEST_F(TwainDll, AMachineWideKeyIsReadOnceWhenTheUserHasNone) {
    const std::string key = "Software\\KQDorisk_CMOS_TW\\CAPINFO";
    WriteValue(HKEY_LOCAL_MACHINE, key, "Exposure", 555);
    const TwainLibrary library = LoadWithCameras(OneCamera(10));
    {
        Device device(library);
        ASSERT_NE(device.object, nullptr);
        EXPECT_EQ(device.Get(0), 555 | 5000 << 16);
    }
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, key, "Exposure"), 555u);
    WriteValue(HKEY_LOCAL_MACHINE, key, "Exposure", 666);
    Device again(library);
    ASSERT_NE(again.object, nullptr);
    EXPECT_EQ(again.Get(0), 555 | 5000 << 16);                        // the user's key now
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, key, "Exposure"), 666u);  // left as it was
}

class TwainDllPreview : public TwainDll {
protected:
    void SetUp() override {
        TwainDll::SetUp();
        device = std::make_unique<Device>(LoadWithCameras(OneCamera(10)));
        ASSERT_NE(device->object, nullptr);
        (*device)->m_settingsDialog = dialog.window;
        (*device)->m_previewWindow = preview.get();
    }
    void TearDown() override {
        device.reset();
        TwainDll::TearDown();
    }

    DialogRecorder dialog;
    kq::test::TestWindow preview{400, 300};
    std::unique_ptr<Device> device;
};

TEST_F(TwainDllPreview, OneShotResultsReachTheDialogAsPostedMessages) {
    (*device)->StartPreview(0, 0, 752, 480);
    (*device)->SetParam(15, 1);
    ASSERT_TRUE(PumpUntil([&] { return dialog.Of(1).size() == 1; }));
    const std::vector<WPARAM> ids{3, 2, 1};
    std::vector<WPARAM> got;
    for (const auto& [id, value] : dialog.reports) got.push_back(id);
    EXPECT_EQ(got, ids);
    for (const WPARAM id : ids) {
        const LPARAM value = dialog.Of(id).at(0);
        EXPECT_EQ(value >> 16, 6000) << id;
        EXPECT_EQ(device->Get(static_cast<unsigned>(id)), static_cast<int>(value)) << id;
    }

    dialog.reports.clear();
    (*device)->SetParam(16, 1);
    ASSERT_TRUE(PumpUntil([&] { return dialog.Of(0).size() == 1; }));
    const LPARAM exposure = dialog.Of(0)[0];
    EXPECT_EQ(exposure >> 16, 5000);
    EXPECT_GT(exposure & 0xFFFF, 0);
    EXPECT_EQ(device->Get(0), static_cast<int>(exposure));
    (*device)->StopPreview();
}

TEST_F(TwainDllPreview, StopPreviewReturnsWhileResultsWaitForTheDialog) {
    (*device)->StartPreview(0, 0, 752, 480);
    (*device)->SetParam(15, 1);
    // This thread pumps nothing now: a result can only be queued for it.
    MSG queued{};
    const ULONGLONG end = GetTickCount64() + 10000;
    bool posted = false;
    while (!posted && GetTickCount64() < end) {
        posted = PeekMessageW(&queued, dialog.window, DialogRecorder::kMessage, DialogRecorder::kMessage,
                              PM_NOREMOVE | PM_NOYIELD) != 0;
        if (!posted) MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_POSTMESSAGE);
    }
    ASSERT_TRUE(posted) << "no result was posted while the dialog's thread was busy";
    (*device)->StopPreview();
    EXPECT_TRUE(PumpUntil([&] { return dialog.Of(1).size() == 1; }));
}

// The preview's pixels: the simulated scene's colour bars over its grey ramp.
TEST_F(TwainDllPreview, ThePreviewWindowShowsTheCamerasPicture) {
    (*device)->SetParam(18, 0);  // the capture at its size, not the fixed display
    (*device)->StartPreview(0, 0, 752, 480);
    std::set<std::uint32_t> colours;
    const auto showsBars = [&] {
        const auto pixels = preview.ReadBack(400, 300);
        colours.clear();
        if (pixels.empty()) return false;
        // A row near the top: bottom-up, so the last rows read back.
        const std::size_t row = 290;
        for (std::size_t x = 0; x < 400; x += 4) {
            const std::uint8_t* p = &pixels[(row * 400 + x) * 3];
            if (std::max({p[0], p[1], p[2]}) - std::min({p[0], p[1], p[2]}) > 100) {
                colours.insert(p[0] >> 6 | (p[1] >> 6) << 2 | (p[2] >> 6) << 4);
            }
        }
        return colours.size() >= 3;
    };
    EXPECT_TRUE(PumpUntil(showsBars)) << colours.size() << " saturated colours";
    (*device)->StopPreview();
}

TEST_F(TwainDllPreview, PanningStopsAtZeroAndAtCaptureMinusView) {
    // A 1280 x 1024 capture in the 800 x 600 the preview shows.
    Device large(LoadWithCameras(OneCamera(1)));
    ASSERT_NE(large.object, nullptr);
    large->m_previewWindow = preview.get();
    large->SetParam(18, 0);
    large->StartPreview(0, 0, 1280, 1024);
    ASSERT_EQ(large.Get(28), 1280);
    ASSERT_EQ(large.Get(29), 1024);
    const int limitX = 1280 - 800;
    const int limitY = 1024 - 600;
    struct Step {
        UINT message;
        WORD code, thumb;
        int result, x, y;
    };
    const Step steps[] = {
        {WM_HSCROLL, SB_LINELEFT, 0, 0, 0, 0},
        {WM_HSCROLL, SB_PAGERIGHT, 0, 1, 100, 0},
        {WM_HSCROLL, SB_LINERIGHT, 0, 1, 101, 0},
        {WM_HSCROLL, SB_THUMBTRACK, 5000, 1, limitX, 0},
        {WM_HSCROLL, SB_LINERIGHT, 0, 0, limitX, 0},
        {WM_HSCROLL, SB_PAGELEFT, 0, 1, limitX - 100, 0},
        {WM_VSCROLL, SB_PAGEDOWN, 0, 1, limitX - 100, 100},
        {WM_VSCROLL, SB_THUMBTRACK, static_cast<WORD>(limitY - 50), 1, limitX - 100, limitY - 50},
        {WM_VSCROLL, SB_PAGEDOWN, 0, 0, limitX - 100, limitY},
        {WM_VSCROLL, SB_PAGEUP, 0, 1, limitX - 100, limitY - 100},
        {WM_VSCROLL, SB_ENDSCROLL, 0, 1, limitX - 100, limitY - 100},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << s.message << " code " << s.code);
        EXPECT_EQ(large->OnScroll(preview.get(), s.message, MAKEWPARAM(s.code, s.thumb), 0, 0, 0), s.result);
        EXPECT_EQ(GetScrollPos(preview.get(), SB_HORZ), s.x);
        EXPECT_EQ(GetScrollPos(preview.get(), SB_VERT), s.y);
    }
    large->StopPreview();
}

TEST_F(TwainDllPreview, TheScrollBarsFollowTheCaptureSize) {
    (*device)->SetParam(18, 0);
    (*device)->StartPreview(0, 0, 752, 480);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(preview.get(), SB_HORZ, &info));
    EXPECT_EQ(info.nMax, 752);
    EXPECT_EQ(info.nPage, 753u);  // a page of 800, cut to the whole range
    ASSERT_TRUE(GetScrollInfo(preview.get(), SB_VERT, &info));
    EXPECT_EQ(info.nMax, 480);
    (*device)->SetParam(19, 1);  // skip 2: half the range
    (*device)->SetParam(8, 400);
    ASSERT_TRUE(GetScrollInfo(preview.get(), SB_VERT, &info));
    EXPECT_EQ(info.nMax, 200);
    (*device)->StopPreview();
}

// Rows of a record's DIB as the data source lays it out.
struct Dib {
    int width, height, bits;
    std::size_t Row() const { return static_cast<std::size_t>((width * bits + 31) / 32 * 4); }
    std::size_t Bytes() const { return Row() * static_cast<std::size_t>(height); }
};

TEST_F(TwainDllPreview, FramesFillTheRecordBottomUpAndNeverPastIt) {
    struct Case {
        int colourMode;  // SetParam 11
        int bits;
    };
    for (const Case c : {Case{0, 24}, Case{1, 8}}) {
        SCOPED_TRACE(c.bits);
        (*device)->SetParam(11, c.colourMode);
        ASSERT_EQ(device->Get(30), c.bits);
        const Dib dib{752, 480, c.bits};
        constexpr std::size_t kGuard = 64;
        std::vector<std::uint8_t> buffer(dib.Bytes() + kGuard, 0xA5);
        TwainImageRecord record{0,
                                0,
                                static_cast<std::int32_t>(dib.Bytes()),
                                c.bits,
                                buffer.data(),
                                static_cast<std::int32_t>(dib.Bytes()),
                                c.bits};
        (*device)->GetFrame(&record);
        EXPECT_EQ(record.width, 752);
        EXPECT_EQ(record.height, 480);
        EXPECT_TRUE(std::all_of(buffer.end() - kGuard, buffer.end(), [](std::uint8_t b) { return b == 0xA5; }));
        // The first stored row is the picture's last: the grey ramp, many
        // levels. The last stored row is the top: eight bars, few levels.
        const auto levels = [&](std::size_t row) {
            std::set<int> seen;
            const std::uint8_t* p = buffer.data() + row * dib.Row();
            for (int x = 0; x < 752; ++x) seen.insert(p[x * (c.bits / 8) + (c.bits == 24 ? 1 : 0)]);
            return seen.size();
        };
        EXPECT_GT(levels(0), 60u);
        EXPECT_LT(levels(479), 30u);

        // A record asking for less gets exactly that much.
        std::vector<std::uint8_t> small(dib.Row() * 10 + 5 + kGuard, 0xA5);
        TwainImageRecord part{0,
                              0,
                              static_cast<std::int32_t>(dib.Bytes()),
                              c.bits,
                              small.data(),
                              static_cast<std::int32_t>(dib.Row() * 10 + 5),
                              c.bits};
        (*device)->GetFrame(&part);
        EXPECT_TRUE(std::all_of(small.end() - kGuard, small.end(), [](std::uint8_t b) { return b == 0xA5; }));
        EXPECT_FALSE(std::all_of(small.begin(), small.end() - kGuard, [](std::uint8_t b) { return b == 0xA5; }));
    }
}

// The plateaus along a grey row of at least 20 pixels: the bars' levels.
std::vector<int> GreyBars(const std::uint8_t* row, int width) {
    std::vector<int> levels;
    int start = 0;
    for (int x = 1; x <= width; ++x) {
        if (x == width || std::abs(row[x] - row[x - 1]) > 12) {
            if (x - start > 20) levels.push_back(row[start + (x - start) / 2]);
            start = x;
        }
    }
    return levels;
}

// Switching to 8-bit output restarts the running preview: the frame taken
// right after it is the grey bars, neither empty nor the colour picture from
// before the switch.
TEST_F(TwainDllPreview, AFrameRightAfterTheSwitchToEightBitIsGrey) {
    (*device)->StartPreview(0, 0, 752, 480);
    (*device)->SetParam(11, 1);
    const Dib dib{752, 480, 8};
    std::vector<std::uint8_t> buffer(dib.Bytes(), 0);
    TwainImageRecord record{0, 0, static_cast<std::int32_t>(dib.Bytes()), 8, buffer.data(),
                            static_cast<std::int32_t>(dib.Bytes()), 8};
    (*device)->GetFrame(&record);
    (*device)->StopPreview();
    EXPECT_EQ(record.width, 752);
    EXPECT_EQ(record.height, 480);
    // A quarter down from the top, stored bottom-up.
    const std::vector<int> bars = GreyBars(buffer.data() + (480 - 1 - 120) * dib.Row(), 752);
    ASSERT_GE(bars.size(), 6u) << "no bars in the picture";
    // The white bar and the black one (the card moves from frame to frame).
    const auto [darkest, brightest] = std::minmax_element(bars.begin(), bars.end());
    EXPECT_GT(*brightest, *darkest + 150) << testing::PrintToString(bars);
}

TEST_F(TwainDllPreview, SizeChangesReachTheCamera) {
    struct Case {
        unsigned id;
        int value;
        int width, height;
    };
    const Case cases[] = {{7, 643, 640, 480}, {8, 301, 640, 296}, {10, 0, 752, 480}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        (*device)->SetParam(c.id, c.value);
        TwainImageRecord record{};
        (*device)->GetFrame(&record);
        EXPECT_EQ(record.width, c.width);
        EXPECT_EQ(record.height, c.height);
    }
}

TEST_F(TwainDllPreview, ThePaletteIsAGreyRamp) {
    RGBQUAD palette[256];
    std::memset(palette, 0x5A, sizeof palette);
    EXPECT_EQ((*device)->GetPalette(palette), 256);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(palette[i].rgbBlue, i);
        EXPECT_EQ(palette[i].rgbGreen, i);
        EXPECT_EQ(palette[i].rgbRed, i);
        EXPECT_EQ(palette[i].rgbReserved, 0);
    }
}

TEST_F(TwainDllPreview, AHeightChangeAppendsTheTraceLine) {
    DeleteFileA("C:\\SDK.log");
    const auto section = [] {
        std::vector<char> text(4096, 0);
        const DWORD n =
            GetPrivateProfileSectionA("TW_TEST", text.data(), static_cast<DWORD>(text.size()), "C:\\SDK.log");
        std::vector<std::string> lines;
        for (const char* p = text.data(); p < text.data() + n && *p != 0; p += std::strlen(p) + 1) {
            lines.emplace_back(p);
        }
        return lines;
    };
    (*device)->SetParam(8, 400);
    auto lines = section();
    ASSERT_EQ(lines.size(), 1u);
    // "hh-mm-ss-mmm = 0x<handle> ": the profile reads the key up to its first '='.
    EXPECT_NE(lines[0].find("=0x"), std::string::npos) << lines[0];
    EXPECT_EQ(lines[0].substr(lines[0].size() - 11), "MV_RES_Y--1") << lines[0];
    (*device)->SetParam(7, 640);  // a width change leaves no line
    EXPECT_EQ(section().size(), 1u);
    DeleteFileA("C:\\SDK.log");
}

}  // namespace
