// The USB CMOS and CCD video-parameter dialogs in both languages, driven by
// control id: the CMOS dialog over KQCMOSu's simulated-camera build (what the
// simulated camera holds, read back through KQ_Get*) and over the CMOS
// double, the CCD dialog over the CCD double (its call log).
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "KQSim.h"
#include "camera_resource.h"
#include "camera_sdk_families.h"
#include "ccd_camera.h"
#include "cmos_camera.h"
#include "fake_camera.h"
#include "language_library.h"
#include "library_double_fixture.h"
#include "modal_script.h"
#include "param_dialog_driver.h"
#include "test_program_folder.h"
#include "unique_temp_dir.h"
#include "usb_param_dlg.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ModalScript;
using namespace param_dialog_driver;

const wchar_t* const kCaptions[] = {L"Video Parameters", L"\u89c6\u9891\u53c2\u6570\u8bbe\u7f6e"};

// ---- Over the scripted doubles: what reaches the library ----

template <typename Binding, typename Camera>
class DoubleDialogTest : public LibraryDoubleFixture<Binding, Camera>, public ::testing::WithParamInterface<int> {
protected:
    using Fixture = LibraryDoubleFixture<Binding, Camera>;
    Camera& OpenPreviewing(const wchar_t* doubleFile, const std::string& script) {
        Fixture::LoadDouble(doubleFile, script);
        Camera& camera = Fixture::Open(1);
        camera.StartPreview(Fixture::m_host);
        EXPECT_EQ(camera.IsVideoOpen(), 1);
        return camera;
    }
    // The library calls from `from` on, without the read-backs of the
    // capture record that follow every change of it.
    std::vector<std::string> CallsFrom(std::size_t from) const {
        std::vector<std::string> calls;
        for (const std::string& line : Fixture::LogFrom(from)) {
            if (line.rfind("KQ_GetCapInfo", 0) != 0) {
                calls.push_back(line);
            }
        }
        return calls;
    }
    void Script(const std::string& text) const {
        Fixture::template DoubleHook<SdkDoubleSetScript>("SdkDouble_SetScript")(text.c_str());
    }

    LanguageLibrary language_{GetParam()};
};

using CcdDialogTest = DoubleDialogTest<CCCDSdkBinding, CCCDCamera>;
using CmosDoubleDialogTest = DoubleDialogTest<CCMOSSdkBinding, CCMOSCamera>;

TEST_P(CcdDialogTest, GainEditsClampIntoTheCcdRangeAndGoOutInTheCaptureRecord) {
    CCCDCamera& camera = OpenPreviewing(L"sdk_double_ccd.dll", "device.1.type 2\n");
    std::size_t mark = 0;
    std::wstring caption, red, blue;
    ModalScript script({[&](HWND d) {
        caption = ModalScript::Text(d);
        mark = LogMark();
        Type(d, IDC_VP_RED, L"0");
        red = Shown(d, IDC_VP_RED);
        Type(d, IDC_VP_BLUE, L"99");
        blue = Shown(d, IDC_VP_BLUE);
        Type(d, IDC_VP_AD_GAIN, L"300");
        ModalScript::Press(d, IDOK);
    }});
    EXPECT_EQ(camera.ShowVideoParams(), IDOK);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(caption, kCaptions[GetParam()]);
    EXPECT_EQ(red, L"1");
    EXPECT_EQ(blue, L"63");
    const std::vector<std::string> calls = CallsFrom(mark);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_NE(calls[0].find("gains 1 32 32"), std::string::npos) << calls[0];
    EXPECT_NE(calls[1].find("gains 1 32 63"), std::string::npos) << calls[1];
    // The AD gain travels in the horizontal-offset field.
    EXPECT_NE(calls[2].find("offsets 255 0"), std::string::npos) << calls[2];
}

TEST_P(CcdDialogTest, RgbColourSwitchesHdrOnAndLeavingItSwitchesHdrOff) {
    CCCDCamera& camera = OpenPreviewing(L"sdk_double_ccd.dll", "device.1.type 2\n");
    std::size_t mark = 0;
    bool onAfterRgbColour = false, onAfterRgb = true;
    ModalScript script({[&](HWND d) {
        mark = LogMark();
        Choose(d, IDC_MP_COLOUR, 5);
        onAfterRgbColour = Checked(d, IDC_MP_HDR);
        Choose(d, IDC_MP_COLOUR, 0);
        onAfterRgb = Checked(d, IDC_MP_HDR);
        ModalScript::Press(d, IDOK);
    }});
    camera.ShowVideoParams();
    EXPECT_TRUE(onAfterRgbColour);
    EXPECT_FALSE(onAfterRgb);
    EXPECT_EQ(CallsFrom(mark), (std::vector<std::string>{"KQ_SetParamColor h1 5", "KQ_SetHDR h1 1",
                                                         "KQ_SetParamColor h1 0", "KQ_SetHDR h1 0"}));
}

TEST_P(CcdDialogTest, ARefusedColourModeKeepsTheSelectionAndTheCameraKeepsItsColour) {
    CCCDCamera& camera = OpenPreviewing(L"sdk_double_ccd.dll", "device.1.type 2\n");
    int selected = -1;
    ModalScript script({[&](HWND d) {
        Script("device.1.type 2\nreturn.KQ_SetParamColor 4\n");
        Choose(d, IDC_MP_COLOUR, 2);
        selected = Selected(d, IDC_MP_COLOUR);
        ModalScript::Press(d, IDOK);
    }});
    EXPECT_EQ(camera.ShowVideoParams(), IDOK);
    EXPECT_EQ(selected, 0);
    EXPECT_EQ(camera.GetBW(), 0);
}

TEST_P(CcdDialogTest, CancelResendsWhatWasFoundAndTheCameraKeepsIt) {
    CCCDCamera& camera = OpenPreviewing(L"sdk_double_ccd.dll", "device.1.type 2\n");
    camera.EnableCrossLine(0, 10, 20);
    std::size_t beforeCancel = 0;
    ModalScript script({[&](HWND d) {
        Slide(d, IDC_VP_CONTRAST_SLIDER, 25);
        Press(d, IDC_VP_CROSS);
        Choose(d, IDC_MP_AE_LEVEL, 2);
        Choose(d, IDC_MP_FLIP, 1);
        beforeCancel = LogMark();
        ModalScript::Press(d, IDCANCEL);
    }});
    EXPECT_EQ(camera.ShowVideoParams(), IDCANCEL);
    const std::vector<std::string> all = Log();
    EXPECT_TRUE(Contains(all, "KQ_SetContrastValue h1 25"));
    EXPECT_TRUE(Contains(all, "KQ_SetAELevel h1 2"));
    const std::vector<std::string> restored = CallsFrom(beforeCancel);
    ASSERT_GE(restored.size(), 6u);
    EXPECT_EQ(restored[0].rfind("KQ_SetCapInfo h1 ", 0), 0u) << restored[0];
    EXPECT_EQ(restored[1], "KQ_SetContrastValue h1 16");
    EXPECT_TRUE(Contains(restored, "KQ_SetParamFlip h1 0"));
    EXPECT_TRUE(Contains(restored, "KQ_SetAELevel h1 0"));
    // Only what changed goes back from the advanced page.
    EXPECT_FALSE(Contains(restored, "KQ_SetParamColor h1 0"));
    int on = 1, x = 0, y = 0;
    camera.GetCrosslineStatus(&on, &x, &y);
    EXPECT_EQ(on, 0);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 20);
}

TEST_P(CcdDialogTest, OkKeepsTheColourAndTheExposureTheLibraryTook) {
    CCCDCamera& camera = OpenPreviewing(L"sdk_double_ccd.dll", "device.1.type 2\n");
    ModalScript script({[&](HWND d) {
        Choose(d, IDC_MP_COLOUR, 2);
        Type(d, IDC_VP_EXPOSURE, L"300");
        ModalScript::Press(d, IDOK);
    }});
    EXPECT_EQ(camera.ShowVideoParams(), IDOK);
    EXPECT_EQ(camera.GetBW(), 1);
    camera.SaveSettings();
    EXPECT_EQ(ReadConfig(L"CCD", L"ColorMode"), 2);
    EXPECT_EQ(ReadConfig(L"CCD", L"Exposure"), 300);
}

TEST_P(CcdDialogTest, ALibraryWithoutHdrOffersNoHdrBox) {
    struct Case {
        const wchar_t* library;
        bool shown;
    };
    for (const Case& c : {Case{L"sdk_double_ccd.dll", true}, Case{L"sdk_double_ccd_without_hdr.dll", false}}) {
        CCCDCamera& camera = OpenPreviewing(c.library, "device.1.type 2\n");
        bool shown = !c.shown;
        ModalScript script({[&](HWND d) {
            shown = Shows(d, IDC_MP_HDR);
            ModalScript::Press(d, IDCANCEL);
        }});
        camera.ShowVideoParams();
        EXPECT_EQ(shown, c.shown);
        TearDown();
    }
}

TEST_P(CcdDialogTest, ThePresetButtonOpensTheCcdPresetsWithTheExposureTime) {
    CCCDCamera& camera = OpenPreviewing(L"sdk_double_ccd.dll", "device.1.type 2\n");
    std::wstring time, unit, adLabel;
    ModalScript script({[&](HWND d) { ModalScript::Press(d, IDC_VP_PRESET); },
                        [&](HWND presets) {
                            time = ModalScript::ItemText(presets, IDC_PRESET_EXPOSURE_TIME);
                            unit = ModalScript::ItemText(presets, IDC_PRESET_EXPOSURE_UNIT);
                            adLabel = ModalScript::ItemText(presets, IDC_PRESET_AD_LABEL);
                            ModalScript::Press(presets, IDCANCEL);
                        },
                        [&](HWND d) { ModalScript::Press(d, IDOK); }});
    camera.ShowVideoParams();
    EXPECT_TRUE(script.Finished());
    // Exposure 200 of a fresh Config.ini: 200 x 2984 x 0.025 us.
    EXPECT_EQ(time, L"14.920");
    EXPECT_EQ(unit, L"ms");
    EXPECT_EQ(adLabel, L"AD:");
}

TEST_P(CmosDoubleDialogTest, CancelAlsoPutsTheExposureLevelBack) {
    CCMOSCamera& camera = OpenPreviewing(L"sdk_double_cmos.dll", "device.1.type 10\n");
    std::size_t beforeCancel = 0;
    ModalScript script({[&](HWND d) {
        Choose(d, IDC_MP_AE_LEVEL, 2);
        Type(d, IDC_VP_GREEN, L"700");
        beforeCancel = LogMark();
        ModalScript::Press(d, IDCANCEL);
    }});
    EXPECT_EQ(camera.ShowVideoParams(), IDCANCEL);
    EXPECT_TRUE(Contains(Log(), "KQ_SetGainG h1 700"));
    const std::vector<std::string> restored = CallsFrom(beforeCancel);
    ASSERT_GE(restored.size(), 2u);
    EXPECT_EQ(restored[0], "KQ_SetOffCenter h1 0");
    EXPECT_EQ(restored[1].rfind("KQ_SetCapInfo h1 ", 0), 0u) << restored[1];
    EXPECT_TRUE(Contains(restored, "KQ_SetGainG h1 500"));
    EXPECT_TRUE(Contains(restored, "KQ_SetAELevel h1 0"));
}

TEST_P(CmosDoubleDialogTest, GainEditsBelowOneSendOne) {
    CCMOSCamera& camera = OpenPreviewing(L"sdk_double_cmos.dll", "device.1.type 10\n");
    std::vector<std::string> calls;
    std::wstring red, blue;
    ModalScript script({[&](HWND d) {
        const std::size_t mark = LogMark();
        Type(d, IDC_VP_RED, L"0");
        red = Shown(d, IDC_VP_RED);
        Type(d, IDC_VP_BLUE, L"-5");
        blue = Shown(d, IDC_VP_BLUE);
        calls = CallsFrom(mark);
        ModalScript::Press(d, IDOK);
    }});
    EXPECT_EQ(camera.ShowVideoParams(), IDOK);
    EXPECT_EQ(red, L"1");
    EXPECT_EQ(blue, L"1");
    EXPECT_EQ(calls, (std::vector<std::string>{"KQ_SetGainR h1 1", "KQ_SetGainB h1 1"}));
}

TEST_P(CmosDoubleDialogTest, AFourEntryModelShowsAndSendsRgbModesAsBw24) {
    CCMOSCamera& camera = OpenPreviewing(L"sdk_double_cmos.dll", "device.1.type 9\n");
    std::vector<std::string> opening, calls;
    int selected = -1;
    bool hdrShown = true;
    const std::size_t beforeOpening = LogMark();
    ModalScript script({[&](HWND d) {
        opening = CallsFrom(beforeOpening);
        hdrShown = Shows(d, IDC_MP_HDR);
        const std::size_t mark = LogMark();
        Choose(d, IDC_MP_COLOUR, 5);
        selected = Selected(d, IDC_MP_COLOUR);
        calls = CallsFrom(mark);
        ModalScript::Press(d, IDOK);
    }});
    camera.ShowVideoParams();
    EXPECT_FALSE(hdrShown);
    EXPECT_EQ(selected, 2);
    // RGB, the camera's mode, went out as BW24 when the dialog opened.
    EXPECT_TRUE(Contains(opening, "KQ_SetParamColor h1 2"));
    EXPECT_EQ(calls, (std::vector<std::string>{"KQ_SetParamColor h1 2"}));
    EXPECT_EQ(camera.GetBW(), 1);
}

// The stripe and shading correction is offered where the library applies
// it, and its two controls reach the library.
TEST_P(CmosDoubleDialogTest, TheCorrectionControlsReachTheLibraryWhereItCorrects) {
    const struct {
        int type;
        bool shown;
    } cases[] = {{10, true}, {11, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        CCMOSCamera& camera = OpenPreviewing(L"sdk_double_cmos.dll", "device.1.type " + std::to_string(c.type) + "\n");
        bool applyShown = !c.shown, stripesShown = !c.shown;
        std::vector<std::string> calls;
        ModalScript script({[&](HWND d) {
            applyShown = Shows(d, IDC_MP_APPLY_CORRECTION);
            stripesShown = Shows(d, IDC_MP_STRIPES);
            if (applyShown && stripesShown) {
                const std::size_t mark = LogMark();
                SendMessageW(Control(d, IDC_MP_APPLY_CORRECTION), BM_CLICK, 0, 0);
                SendMessageW(Control(d, IDC_MP_STRIPES), BM_CLICK, 0, 0);
                calls = CallsFrom(mark);
            }
            ModalScript::Press(d, IDOK);
        }});
        camera.ShowVideoParams();
        EXPECT_TRUE(script.Finished());
        EXPECT_EQ(applyShown, c.shown);
        EXPECT_EQ(stripesShown, c.shown);
        if (c.shown) {
            EXPECT_TRUE(Contains(calls, "KQ_ApplyErasure h1 1"));
            EXPECT_TRUE(Contains(calls, "KQ_ErasureStripe"));
        }
        TearDown();
    }
}

TEST_P(CmosDoubleDialogTest, ThePresetButtonOpensTheUsbCmosPresets) {
    CCMOSCamera& camera = OpenPreviewing(L"sdk_double_cmos.dll", "device.1.type 10\n");
    std::wstring adLabel;
    ModalScript script({[&](HWND d) { ModalScript::Press(d, IDC_VP_PRESET); },
                        [&](HWND presets) {
                            adLabel = ModalScript::ItemText(presets, IDC_PRESET_AD_LABEL);
                            ModalScript::Press(presets, IDCANCEL);
                        },
                        [&](HWND d) { ModalScript::Press(d, IDCANCEL); }});
    camera.ShowVideoParams();
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(adLabel, L"Gain:");
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, CcdDialogTest, ::testing::Values(0, 1));
INSTANTIATE_TEST_SUITE_P(BothLanguages, CmosDoubleDialogTest, ::testing::Values(0, 1));

// ---- Without a device handle ----

TEST(UsbParamDlg, WithoutADeviceEndsAtOnceWithCancel) {
    LanguageLibrary language(0);
    FakeCamera camera;
    for (bool ccd : {false, true}) {
        UsbVideoParams params;
        params.facts.ccd = ccd;
        params.contrast = 21;
        // A dialog that showed would end with OK here.
        ModalScript script({[](HWND d) { ModalScript::Press(d, IDOK); }});
        const INT_PTR result =
            ccd ? CCCDParamDlg(params, camera, nullptr).DoModal() : CCMOSParamDlg(params, camera, nullptr).DoModal();
        EXPECT_EQ(result, IDCANCEL) << ccd;
        EXPECT_FALSE(script.Finished());
        EXPECT_EQ(params.contrast, 21);
    }
}

// ---- Over the simulated camera: what the camera holds ----

class CmosSimulatedDialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_binding = std::make_unique<CCMOSSdkBinding>(SimulatedCmosPath().wstring()); }
    static void TearDownTestSuite() { s_binding.reset(); }

    void SetUp() override { ASSERT_TRUE(s_binding->IsLoaded()); }
    void TearDown() override {
        camera_.reset();
        if (host_) {
            DestroyWindow(host_);
            host_ = nullptr;
        }
        Sim<decltype(&KQSim_LoadConfig)>("KQSim_LoadConfig")(nullptr);
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    template <typename F>
    static F Sim(const char* name) {
        return reinterpret_cast<F>(GetProcAddress(GetModuleHandleW(SimulatedCmosPath().c_str()), name));
    }

    // The camera that shows its device handle, to read the simulated camera
    // back through the library.
    class ProbedCamera : public CCMOSCamera {
    public:
        using CCMOSCamera::CCMOSCamera;
        HANDLE Device() const { return m_device; }
        // The frames the crosshairs are drawn into.
        FrameGeometry Drawn() const { return Overlay().Geometry(); }
    };

    // One simulated camera of the type, opened at the table entry and previewing.
    ProbedCamera& OpenPreviewing(int type, int resolution = 0) {
        fs::create_directories(folder_);
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VizcamUsbParamTestHost";
        RegisterClassW(&wc);
        host_ = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, wc.hInstance,
                                nullptr);
        EXPECT_NE(host_, nullptr);
        const std::wstring ini = (folder_ / L"KQSimCam.ini").wstring();
        WritePrivateProfileStringW(L"Cameras", L"Count", L"1", ini.c_str());
        WritePrivateProfileStringW(L"Camera1", L"Type", std::to_wstring(type).c_str(), ini.c_str());
        EXPECT_EQ(Sim<decltype(&KQSim_LoadConfig)>("KQSim_LoadConfig")(ini.c_str()), KQSIM_OK);
        camera_ = std::make_unique<ProbedCamera>(host_, 1, (folder_ / L"Config.ini").wstring());
        camera_->SetResolution(resolution);
        // The preview reads no frames: the dialog talks to the camera alone.
        EXPECT_EQ(Sim<decltype(&KQSim_SetReadBudget)>("KQSim_SetReadBudget")(1, 0), KQSIM_OK);
        camera_->StartPreview(host_);
        EXPECT_EQ(camera_->IsVideoOpen(), 1);
        return *camera_;
    }
    HANDLE Device() const { return camera_->Device(); }

    static inline std::unique_ptr<CCMOSSdkBinding> s_binding;
    LanguageLibrary language_{1};
    fs::path folder_ = testing_support::UniqueTempPath("vz_usb_param_dlg");
    HWND host_ = nullptr;
    std::unique_ptr<ProbedCamera> camera_;
};

TEST_F(CmosSimulatedDialogTest, TypedGainsReachTheCameraClampedToTheTypesRange) {
    struct Case {
        int type;
        const wchar_t* typed;
        int held;
    };
    for (const Case& c : {Case{10, L"7000", 6000}, Case{15, L"7000", 127}, Case{15, L"0", 1}}) {
        SCOPED_TRACE(testing::Message() << c.type << " " << testing::PrintToString(std::wstring(c.typed)));
        CCMOSCamera& camera = OpenPreviewing(c.type);
        std::wstring shown;
        int held = -1;
        KQ_CAPINFO record{};
        ModalScript script({[&](HWND d) {
            Type(d, IDC_VP_RED, c.typed);
            shown = Shown(d, IDC_VP_RED);
            ModalScript::Press(d, IDOK);
        }});
        EXPECT_EQ(camera.ShowVideoParams(), IDOK);
        EXPECT_EQ(shown, std::to_wstring(c.held));
        if (c.type == 15) {
            // Type 15 keeps its colour gains in the capture record.
            ASSERT_EQ(KQCMOS().KQ_GetCapInfo(Device(), &record), 0);
            held = record.gain[0];
        } else {
            ASSERT_EQ(KQCMOS().KQ_GetGainR(Device(), &held), 0);
        }
        EXPECT_EQ(held, c.held);
        TearDown();
    }
}

TEST_F(CmosSimulatedDialogTest, TheBadPixelButtonWorksOnlyAtTheSensorsFullSize) {
    for (int resolution : {0, 1}) {
        SCOPED_TRACE(resolution);
        CCMOSCamera& camera = OpenPreviewing(16, resolution);
        bool enabled = resolution != 0;
        ModalScript script({[&](HWND d) {
            enabled = Enabled(d, IDC_MP_BAD_PIXELS);
            ModalScript::Press(d, IDCANCEL);
        }});
        camera.ShowVideoParams();
        EXPECT_EQ(enabled, resolution == 0);
        TearDown();
    }
}

// An 8-bit colour mode delivers a byte a pixel: the crosshairs are drawn
// into such frames from the moment the library takes the mode.
TEST_F(CmosSimulatedDialogTest, TheCrosshairsFollowTheColourModeWhileTheDialogIsOpen) {
    ProbedCamera& camera = OpenPreviewing(16);
    camera.EnableCrossLine(1, 10, 10);
    int grayBits = 0, rgbBits = 0;
    ModalScript script({[&](HWND d) {
        Choose(d, IDC_MP_COLOUR, 3);
        grayBits = camera.Drawn().bitsPerPixel;
        Choose(d, IDC_MP_COLOUR, 0);
        rgbBits = camera.Drawn().bitsPerPixel;
        Choose(d, IDC_MP_COLOUR, 4);
        ModalScript::Press(d, IDCANCEL);
    }});
    EXPECT_EQ(camera.ShowVideoParams(), IDCANCEL);
    EXPECT_EQ(grayBits, 8);
    EXPECT_EQ(rgbBits, 24);
    // Cancel put RGB back.
    EXPECT_EQ(camera.Drawn().bitsPerPixel, 24);
}

TEST_F(CmosSimulatedDialogTest, CancelPutsTheContrastTheCameraHeldBack) {
    CCMOSCamera& camera = OpenPreviewing(10);
    int during = 0;
    int found = 0;
    ASSERT_EQ(KQCMOS().KQ_GetContrastValue(Device(), &found), 0);
    const int moved = found == 30 ? 20 : 30;
    ModalScript script({[&](HWND d) {
        Slide(d, IDC_VP_CONTRAST_SLIDER, moved);
        KQCMOS().KQ_GetContrastValue(Device(), &during);
        ModalScript::Press(d, IDCANCEL);
    }});
    EXPECT_EQ(camera.ShowVideoParams(), IDCANCEL);
    EXPECT_EQ(during, moved);
    int after = 0;
    ASSERT_EQ(KQCMOS().KQ_GetContrastValue(Device(), &after), 0);
    EXPECT_EQ(after, found);
}

}  // namespace
