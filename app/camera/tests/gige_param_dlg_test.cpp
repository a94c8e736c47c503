// The GigE video-parameter dialog in both languages over the camera on the
// scripted library double: packet size and delay, the lists of 10-bit
// models, Cancel, OK and the presets dialog it opens.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "camera_resource.h"
#include "camera_sdk_families.h"
#include "gige_camera.h"
#include "gige_sdk_startup.h"
#include "language_library.h"
#include "library_double_fixture.h"
#include "modal_script.h"
#include "param_dialog_driver.h"

namespace {

using testing_support::ModalScript;
using namespace param_dialog_driver;

class GigeParamDlgTest : public LibraryDoubleFixture<CGigESdkBinding, CGigECamera>,
                         public ::testing::WithParamInterface<int> {
protected:
    CGigECamera& OpenPreviewing(const std::string& script) {
        LoadDouble(L"sdk_double_gige.dll", script);
        InitGigESdk();
        CGigECamera& camera = Open(0);
        camera.StartPreview(m_host);
        EXPECT_EQ(camera.IsVideoOpen(), 1);
        return camera;
    }
    void TearDown() override {
        LibraryDoubleFixture::TearDown();
        g_nGigECameraCount = 0;
    }
    void Script(const std::string& text) const { DoubleHook<SdkDoubleSetScript>("SdkDouble_SetScript")(text.c_str()); }

    LanguageLibrary language_{GetParam()};
};

TEST_P(GigeParamDlgTest, PacketSizeIsClampedAndShowsTheCamerasAnswer) {
    CGigECamera& camera = OpenPreviewing("device.0.type 81920\npackage_size 1400\n");
    const std::size_t mark = LogMark();
    std::wstring afterSmall, afterLarge, caption;
    ModalScript script({[&](HWND d) {
        caption = ModalScript::Text(d);
        Type(d, IDC_CP_SIZE, L"1200");
        Press(d, IDC_CP_SIZE_SET);
        afterSmall = Shown(d, IDC_CP_SIZE);
        Type(d, IDC_CP_SIZE, L"9000");
        Press(d, IDC_CP_SIZE_SET);
        afterLarge = Shown(d, IDC_CP_SIZE);
        ModalScript::Press(d, IDOK);
    }});
    EXPECT_EQ(camera.ShowVideoParams(), IDOK);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(caption, GetParam() == 1 ? L"\u89c6\u9891\u53c2\u6570\u8bbe\u7f6e" : L"Video Parameters");
    const std::vector<std::string> calls = LogFrom(mark);
    EXPECT_TRUE(Contains(calls, "KQGE_SetPackageSize 0 1500"));
    EXPECT_TRUE(Contains(calls, "KQGE_SetPackageSize 0 8000"));
    EXPECT_EQ(afterSmall, L"1400");
    EXPECT_EQ(afterLarge, L"1400");
    EXPECT_EQ(camera.GetPacketSize(), 1400);
}

TEST_P(GigeParamDlgTest, PacketDelayIsClampedAndARefusedOneRestoresTheEdit) {
    CGigECamera& camera = OpenPreviewing("device.0.type 81920\n");
    const std::size_t mark = LogMark();
    std::wstring accepted, refused;
    ModalScript script({[&](HWND d) {
        Type(d, IDC_CP_DELAY, L"70000");
        Press(d, IDC_CP_DELAY_SET);
        accepted = Shown(d, IDC_CP_DELAY);
        Script("device.0.type 81920\nreturn.KQGE_SetPackageDelayTime 5\n");
        Type(d, IDC_CP_DELAY, L"100");
        Press(d, IDC_CP_DELAY_SET);
        refused = Shown(d, IDC_CP_DELAY);
        ModalScript::Press(d, IDOK);
    }});
    camera.ShowVideoParams();
    EXPECT_TRUE(script.Finished());
    const std::vector<std::string> calls = LogFrom(mark);
    EXPECT_TRUE(Contains(calls, "KQGE_SetPackageDelayTime 0 65535"));
    EXPECT_TRUE(Contains(calls, "KQGE_SetPackageDelayTime 0 100"));
    EXPECT_EQ(accepted, L"65535");
    EXPECT_EQ(refused, L"65535");
}

TEST_P(GigeParamDlgTest, ATenBitModelListsMono10AndThreeShifts) {
    struct Case {
        int version;
        const wchar_t* fifthMode;
        std::size_t shifts;
        bool shiftsEnabled;
    };
    for (const Case& c : {Case{5, L"MONO10", 3, true}, Case{4, L"MONO12", 5, false}}) {
        SCOPED_TRACE(c.version);
        CGigECamera& camera =
            OpenPreviewing("device.0.type 268513281\ndevice.0.version " + std::to_string(c.version) + "\n");
        std::vector<std::wstring> modes, shifts;
        bool shiftsEnabled = !c.shiftsEnabled;
        ModalScript script({[&](HWND d) {
            modes = Items(d, IDC_CP_COLOUR);
            shifts = Items(d, IDC_CP_VALID_BITS);
            shiftsEnabled = Enabled(d, IDC_CP_VALID_BITS);
            ModalScript::Press(d, IDCANCEL);
        }});
        camera.ShowVideoParams();
        ASSERT_EQ(modes.size(), 6u);
        EXPECT_EQ(modes[4], c.fifthMode);
        EXPECT_EQ(shifts.size(), c.shifts);
        EXPECT_EQ(shiftsEnabled, c.shiftsEnabled);
        TearDown();
    }
}

TEST_P(GigeParamDlgTest, CancelRestoresWhatThePagesFound) {
    CGigECamera& camera = OpenPreviewing("device.0.type 81920\n");
    std::size_t beforeCancel = 0;
    ModalScript script({[&](HWND d) {
        Choose(d, IDC_CP_FLIP, 2);
        Type(d, IDC_VP_CONTRAST, L"50");
        Type(d, IDC_VP_RED, L"99");  // beyond 63
        beforeCancel = LogMark();
        ModalScript::Press(d, IDCANCEL);
    }});
    EXPECT_EQ(camera.ShowVideoParams(), IDCANCEL);
    const std::vector<std::string> all = Log();
    EXPECT_TRUE(Contains(all, "KQGE_SetFlipMode 0 2"));
    EXPECT_TRUE(Contains(all, "KQGE_SetContrast 0 50"));
    EXPECT_TRUE(Contains(all, "KQGE_SetGainR 0 63"));
    const std::vector<std::string> restored = LogFrom(beforeCancel);
    EXPECT_TRUE(Contains(restored, "KQGE_SetFlipMode 0 0"));
    EXPECT_TRUE(Contains(restored, "KQGE_SetContrast 0 32"));
    EXPECT_TRUE(Contains(restored, "KQGE_SetGainR 0 8"));
    EXPECT_TRUE(Contains(restored, "KQGE_SetPackageSize 0 1500"));
}

TEST_P(GigeParamDlgTest, OkKeepsWhatTheLibraryTook) {
    CGigECamera& camera = OpenPreviewing("device.0.type 81920\n");
    ModalScript script({[&](HWND d) {
        Choose(d, IDC_CP_COLOUR, 2);
        Type(d, IDC_VP_EXPOSURE, L"1.5");  // shown in ms
        ModalScript::Press(d, IDOK);
    }});
    EXPECT_EQ(camera.ShowVideoParams(), IDOK);
    EXPECT_EQ(camera.GetColourMode(), 2);
    EXPECT_EQ(camera.GetBW(), 1);
    EXPECT_EQ(camera.GetExposure(), 1500);
    EXPECT_TRUE(Contains(Log(), "KQGE_SetExposure 0 1500"));
}

// After OK, Record is offered exactly for the colour modes the library
// records (24-bit pictures), not for the 8- and 16-bit ones.
TEST_P(GigeParamDlgTest, OkOffersRecordOnlyForModesTheLibraryRecords) {
    CGigECamera& camera = OpenPreviewing("device.0.type 81920\n");
    const struct {
        int mode;
        int recordDisabled;
    } cases[] = {{2, 1}, {0, 0}, {3, 1}, {1, 0}, {4, 1}, {5, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        ModalScript script({[&](HWND d) {
            Choose(d, IDC_CP_COLOUR, c.mode);
            ModalScript::Press(d, IDOK);
        }});
        ASSERT_EQ(camera.ShowVideoParams(), IDOK);
        EXPECT_EQ(camera.GetColourMode(), c.mode);
        EXPECT_EQ(camera.IsRecordDisabled(), c.recordDisabled);
    }
}

TEST_P(GigeParamDlgTest, ThePresetButtonOpensThePresetsOfTheGigeFamily) {
    CGigECamera& camera = OpenPreviewing("device.0.type 81920\n");
    std::wstring time, unit;
    bool gammaShown = true;
    ModalScript script({[&](HWND d) { ModalScript::Press(d, IDC_VP_PRESET); },
                        [&](HWND presets) {
                            time = ModalScript::ItemText(presets, IDC_PRESET_EXPOSURE_TIME);
                            unit = ModalScript::ItemText(presets, IDC_PRESET_EXPOSURE_UNIT);
                            gammaShown = IsWindowVisible(GetDlgItem(presets, IDC_PRESET_GAMMA)) != FALSE;
                            ModalScript::Press(presets, IDCANCEL);
                        },
                        [&](HWND d) { ModalScript::Press(d, IDOK); }});
    camera.ShowVideoParams();
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(time, L"2.000");  // the exposure 2000 of a fresh Config.ini
    EXPECT_EQ(unit, L"ms");
    EXPECT_FALSE(gammaShown);
}

TEST_P(GigeParamDlgTest, NothingWithoutAPreview) {
    LoadDouble(L"sdk_double_gige.dll", "device.0.type 81920\n");
    CGigECamera& camera = Open(0);
    EXPECT_EQ(camera.ShowVideoParams(), 0);
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, GigeParamDlgTest, ::testing::Values(0, 1));

}  // namespace
