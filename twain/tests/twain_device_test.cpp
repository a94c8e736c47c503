// The parameter ids, the open sequence, panning and the automatic results
// of the TWAIN device library's camera state, with every camera and host
// call recorded in order.

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "recording_ports.h"
#include "twain_device.h"

namespace twain {
namespace {

using test::Calls;
using Lines = std::vector<std::string>;

constexpr std::int32_t Pack(std::int32_t value, std::int32_t range) { return value | range << 16; }

// A type 2 camera (2048 x 1536, six sizes) opened at 640 x 480 with settings
// that differ from the defaults, previewing at the origin.
TwainSettings FixtureSettings() {
    TwainSettings s;
    s.sizeMode = 0;
    s.exposure = 300;
    s.whiteRed = 510;
    s.whiteGreen = 520;
    s.whiteBlue = 530;
    s.gammaValue = 20;
    s.redGain = 40;
    s.xwj = 1;
    s.endian = 1;
    s.zoomMode = 0;
    s.clearView = 1;
    s.winMode = 1;
    s.sharpView = 1;
    s.sensitiveMode = 2;
    s.upDownRev = 1;
    s.hdr = 0;
    s.colorAdjust = 3;
    return s;
}

class TwainDeviceTest : public ::testing::Test {
protected:
    void Make(std::int32_t reportedType, const TwainSettings& settings) {
        device = std::make_unique<TwainDevice>(camera, host, ProfileForReportedType(reportedType), settings);
    }
    void OpenPreviewing(const TwainSettings& settings = FixtureSettings()) {
        Make(2, settings);
        device->Open();
        device->StartPreview(0, 0, 640, 480);
        calls.lines.clear();
    }
    std::int32_t Get(std::uint32_t id) {
        std::int32_t value = -12345;
        EXPECT_TRUE(device->GetParam(id, value)) << id;
        return value;
    }

    Calls calls;
    test::RecordingCamera camera{calls};
    test::RecordingHost host{calls};
    std::unique_ptr<TwainDevice> device;
};

TEST_F(TwainDeviceTest, OpenAppliesTheLoadedSettingsInOrder) {
    struct Case {
        const char* what;
        std::int32_t type;
        TwainSettings settings;
        Lines calls;
    };
    TwainSettings defaults;
    TwainSettings grey;
    grey.bw = 1;
    grey.sizeMode = 1;  // 800 x 600 keeps its start in the HOffset800/VOffset600 slot
    grey.hOffset[3] = 300;
    grey.vOffset[3] = 1000;  // beyond the sensor: kept on it
    TwainSettings microscope;
    microscope.xwj = 1;
    microscope.conAe = 1;
    microscope.sizeMode = -3;
    const Case cases[] = {
        {"defaults: size mode 5 is the largest of four",
         1,
         defaults,
         {"cap 1280x1024 at 0,0 exp 100 gain 32 ctl 0x00", "colour 0", "flip 0", "contrast 16", "gain R 500",
          "gain G 500", "gain B 500", "gamma 16", "hdr 1", "colour adjust 0"}},
        {"grey",
         2,
         grey,
         {"cap 800x600 at 300,936 exp 100 gain 32 ctl 0x00", "colour 3", "flip 0", "contrast 16", "gain R 500",
          "gain G 500", "gain B 500", "gamma 16", "hdr 1", "colour adjust 0"}},
        {"microscope with continuous exposure",
         10,
         microscope,
         {"cap 752x480 at 0,0 exp 100 gain 32 ctl 0x00", "colour 5", "flip 0", "contrast 16", "gain R 500",
          "gain G 500", "gain B 500", "gamma 16", "hdr 1", "colour adjust 0", "timer 1000 ms"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        calls.lines.clear();
        Make(c.type, c.settings);
        device->Open();
        EXPECT_EQ(calls.lines, c.calls);
        EXPECT_EQ(device->Display(), device->Working());
        EXPECT_EQ(device->OutputBits(), c.settings.bw == 1 ? 8 : 24);
    }
}

TEST_F(TwainDeviceTest, GetParamAnswersEveryIdWithItsRange) {
    OpenPreviewing();
    const std::pair<std::uint32_t, std::int32_t> answered[] = {
        {0, Pack(300, 5000)},
        {1, Pack(530, 6000)},
        {2, Pack(520, 6000)},
        {3, Pack(510, 6000)},
        {4, Pack(116, 1056)},
        {5, Pack(215, 1408)},
        {6, Pack(20, 32)},
        {7, Pack(640, 2048)},
        {8, Pack(480, 1536)},
        {9, Pack(40, 63)},
        {10, 0},
        {13, 2},
        {14, 1},
        {17, 1},
        {18, 0},
        {19, 0},
        {21, 1},
        {22, 1},
        {23, 0},
        {24, 1},
        {25, 0},
        {26, 2},
        {27, 1},
        {28, 640},
        {29, 480},
        {30, 24},
        {31, 0},
        {32, 3},
    };
    for (const auto& [id, value] : answered) {
        SCOPED_TRACE(id);
        EXPECT_EQ(Get(id), value);
    }
    for (const std::uint32_t id : {11u, 12u, 15u, 16u, 20u, 33u, 1000u}) {
        SCOPED_TRACE(id);
        std::int32_t value = -7;
        EXPECT_FALSE(device->GetParam(id, value));
        EXPECT_EQ(value, -7);
    }
    EXPECT_TRUE(calls.lines.empty());
}

struct SetCase {
    std::uint32_t id;
    std::int32_t value;
    Lines calls;
    std::vector<std::pair<std::uint32_t, std::int32_t>> after;  // GetParam answers afterwards
};

TEST_F(TwainDeviceTest, SetParamChangesTheCameraAndTellsTheDialog) {
    const SetCase cases[] = {
        {0, 700, {"cap 640x480 at 215,116 exp 700 gain 40 ctl 0x00"}, {{0, Pack(700, 5000)}}},
        {0, 0, {}, {{0, Pack(300, 5000)}}},  // exposure 0 is ignored
        {1, 900, {"gain B 900"}, {{1, Pack(900, 6000)}}},
        {2, 901, {"gain G 901"}, {{2, Pack(901, 6000)}}},
        {3, 902, {"gain R 902"}, {{3, Pack(902, 6000)}}},
        {4, 200, {"cap 640x480 at 215,200 exp 300 gain 40 ctl 0x00"}, {{4, Pack(200, 1056)}}},
        {4, 9999, {"cap 640x480 at 215,1056 exp 300 gain 40 ctl 0x00"}, {{4, Pack(1056, 1056)}}},
        {5, 10, {"cap 640x480 at 10,116 exp 300 gain 40 ctl 0x00"}, {{5, Pack(10, 1408)}}},
        {6, 25, {"contrast 25"}, {{6, Pack(25, 32)}}},
        {7,
         1283,
         {"report 5: 215 | 768 << 16", "stop view", "cap 1280x480 at 215,116 exp 300 gain 40 ctl 0x00",
          "start view own 0,0 1280x480", "bars on 1280 480 black"},
         {{7, Pack(1280, 2048)}, {28, 1280}}},
        {7,
         1284,
         {"report 5: 215 | 768 << 16", "stop view", "cap 1280x480 at 215,116 exp 300 gain 40 ctl 0x00",
          "start view own 0,0 1280x480", "bars on 1280 480 black"},
         {{7, Pack(1280, 2048)}}},
        {7,
         4000,
         {"report 5: 0 | 0 << 16", "stop view", "cap 2048x480 at 0,116 exp 300 gain 40 ctl 0x00",
          "start view own 0,0 2048x480", "bars on 2048 480 black"},
         {{5, Pack(0, 0)}}},
        {7, 5, {}, {{7, Pack(640, 2048)}}},
        {8,
         1027,
         {"report 4: 0 | 512 << 16", "cap 640x1024 at 0,0 exp 300 gain 40 ctl 0x00", "video size 640x1024",
          "bars on 640 1024 black", "trace"},
         {{8, Pack(1024, 1536)}, {5, Pack(0, 1408)}, {29, 1024}}},
        {9, 50, {"cap 640x480 at 215,116 exp 300 gain 50 ctl 0x00"}, {{9, Pack(50, 63)}}},
        {9, 300, {"cap 640x480 at 215,116 exp 300 gain 63 ctl 0x00"}, {{9, Pack(63, 63)}}},
        {10,
         2,
         {"report 4: 116 | 768 << 16", "report 5: 215 | 1024 << 16", "cap 1024x768 at 215,116 exp 300 gain 40 ctl 0x00",
          "video size 1024x768", "bars on 1024 768", "focus"},
         {{10, 2}, {28, 1024}, {29, 768}}},
        {10,
         5,
         {"report 4: 0 | 0 << 16", "report 5: 0 | 0 << 16", "cap 2048x1536 at 0,0 exp 300 gain 40 ctl 0x00",
          "video size 2048x1536", "bars on 2048 1536", "focus"},
         {{10, 5}}},
        {10,
         9,
         {"report 4: 116 | 1056 << 16", "report 5: 215 | 1408 << 16", "cap 640x480 at 215,116 exp 300 gain 40 ctl 0x00",
          "video size 640x480", "bars on 640 480 black", "focus"},
         {{10, 0}}},
        {11, 1, {"stop view", "colour 3", "start view child 0,0 640x480", "scroll offset 0,0"}, {{13, 1}, {30, 8}}},
        {11, 2, {"stop view", "colour 5", "start view child 0,0 640x480", "scroll offset 0,0"}, {{13, 2}, {30, 24}}},
        {11, 0, {"stop view", "colour 0", "start view child 0,0 640x480", "scroll offset 0,0"}, {{13, 0}}},
        {12, 3, {"stop view", "flip 3", "start view child 0,0 640x480", "scroll offset 0,0"}, {}},
        {13, 1, {}, {{13, 1}, {30, 24}}},
        {13, 0, {}, {{13, 0}}},
        {14, 0, {}, {{14, 0}}},
        {15, 1, {"awb once"}, {}},
        {15, 0, {"awb off"}, {}},
        {16, 1, {"ae once"}, {}},
        {16, 0, {"ae off"}, {}},
        {17, 0, {}, {{17, 0}}},
        {18, 1, {"video size 800x600", "scroll offset 0,0", "bars off 0 0 black"}, {{18, 1}}},
        {19, 1, {"cap 640x480 at 215,116 exp 300 gain 40 ctl 0x18"}, {{19, 1}}},
        {19, 2, {"cap 640x480 at 215,116 exp 300 gain 40 ctl 0x08"}, {{19, 2}}},
        {19, 3, {"cap 640x480 at 215,116 exp 300 gain 40 ctl 0x10"}, {{19, 3}}},
        {19, 4, {}, {{19, 0}}},
        {20, 5, {}, {}},
        {21, 0, {}, {{21, 0}}},
        {22, 0, {"stop view", "start view child 0,0 640x480", "bars on 640 480 black"}, {{22, 0}}},
        {23, 1, {"timer 100 ms"}, {{23, 1}}},
        {23, 0, {"ae off", "timer off"}, {{23, 0}}},
        {24, 0, {}, {{24, 0}}},
        {25, 1, {"error Please Select Zoom Mode!", "report 25: 0 | 0 << 16"}, {{25, 0}}},
        {26, 1, {"cap 640x480 at 215,116 exp 300 gain 40 ctl 0x02"}, {{26, 1}}},
        {26, 2, {"cap 640x480 at 215,116 exp 300 gain 40 ctl 0x04"}, {{26, 2}}},
        {26, 3, {}, {{26, 2}}},
        {27, 0, {}, {{27, 0}}},
        {28, 999, {}, {{28, 640}}},
        {29, 999, {}, {{29, 480}}},
        {30, 8, {}, {{30, 24}}},
        {31, 1, {"hdr 1"}, {{31, 1}}},
        {32, 7, {"colour adjust 7"}, {{32, 7}}},
        {33, 1, {}, {}},
    };
    for (const SetCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "SetParam " << c.id << " = " << c.value);
        OpenPreviewing();
        device->SetParam(c.id, c.value);
        EXPECT_EQ(calls.lines, c.calls);
        for (const auto& [id, value] : c.after) EXPECT_EQ(Get(id), value) << "GetParam " << id;
    }
}

TEST_F(TwainDeviceTest, WidthKeepsTheDisplayOnFourAndTheCaptureOnEight) {
    for (const auto& [value, display, working] :
         {std::tuple{1283, 1280u, 1280u}, std::tuple{1284, 1284u, 1280u}, std::tuple{1020, 1020u, 1016u}}) {
        SCOPED_TRACE(value);
        OpenPreviewing();
        device->SetParam(7, value);
        EXPECT_EQ(device->Display().width, display);
        EXPECT_EQ(device->Working().width, working);
        EXPECT_EQ(camera.last.width, working);
    }
    OpenPreviewing();
    device->SetParam(8, 1027);
    EXPECT_EQ(device->Display().height, 1024u);
    EXPECT_EQ(device->Working().height, 1024u);
    device->SetParam(8, 1022);
    EXPECT_EQ(device->Display().height, 1020u);
    EXPECT_EQ(device->Working().height, 1016u);
}

TEST_F(TwainDeviceTest, AnOffsetMovesTheDisplayStartAndIsKeptForItsSize) {
    OpenPreviewing();
    device->SetParam(19, 1);  // the display block's start goes out with the skip bits
    device->SetParam(5, 300);
    EXPECT_EQ(device->Working().columnStart, 300u);
    EXPECT_EQ(device->Display().columnStart, 300u);
    EXPECT_EQ(device->Settings().hOffset[2], 300);  // 640 x 480 keeps the HOffset768 slot
    device->SetParam(10, 1);
    device->SetParam(10, 0);
    EXPECT_EQ(device->Working().columnStart, 300u);  // back at its size, back at its start
}

TEST_F(TwainDeviceTest, AResolutionChangeKeepsTheWindowStartOnTheSensor) {
    struct Case {
        const char* what;
        std::int32_t column, row;  // set at 640 x 480 first
        std::int32_t sizeMode;
        const char* capture;
    };
    const Case cases[] = {
        {"kept, not the start saved for the new size", 100, 50, 1, "cap 800x600 at 100,50 exp 300 gain 40 ctl 0x00"},
        {"moved back onto the sensor", 1408, 1056, 2, "cap 1024x768 at 1024,768 exp 300 gain 40 ctl 0x00"},
        {"the whole sensor starts at the origin", 100, 50, 5, "cap 2048x1536 at 0,0 exp 300 gain 40 ctl 0x00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TwainSettings s = FixtureSettings();
        s.hOffset[3] = 500;  // the 800 x 600 slot
        s.vOffset[3] = 300;
        OpenPreviewing(s);
        device->SetParam(5, c.column);
        device->SetParam(4, c.row);
        calls.lines.clear();
        device->SetParam(10, c.sizeMode);
        ASSERT_GE(calls.lines.size(), 3u);
        EXPECT_EQ(calls.lines[2], c.capture);
        EXPECT_EQ(device->Display(), device->Working());
    }
}

TEST_F(TwainDeviceTest, GlobalGainTravelsWithRange63OnEveryModel) {
    for (const std::int32_t type : {1, 4, 16}) {
        SCOPED_TRACE(type);
        Make(type, FixtureSettings());
        device->Open();
        device->SetParam(9, 60);
        EXPECT_EQ(Get(9), Pack(60, 63));
    }
}

TEST_F(TwainDeviceTest, TheMicroscopeModeLeavesBwAsItWas) {
    OpenPreviewing();
    device->SetParam(13, 1);
    device->SetParam(13, 2);
    EXPECT_EQ(Get(13), 1);  // BW still set, so it is what the dialog reads
    EXPECT_EQ(device->Settings().bw, 1);
    EXPECT_EQ(device->Settings().xwj, 1);
    device->SetParam(13, 0);
    EXPECT_EQ(Get(13), 0);
}

TEST_F(TwainDeviceTest, ResolutionIsIgnoredWhileContinuousExposureRuns) {
    OpenPreviewing();
    device->SetParam(23, 1);
    calls.lines.clear();
    device->SetParam(10, 3);
    EXPECT_TRUE(calls.lines.empty());
    EXPECT_EQ(Get(10), 0);
    EXPECT_EQ(Get(28), 640);
    device->SetParam(23, 0);
    device->SetParam(10, 3);
    EXPECT_EQ(Get(28), 1280);
}

TEST_F(TwainDeviceTest, NoiseRemovalNeedsTheFixedDisplayWithoutSkipping) {
    struct Case {
        std::int32_t zoom, skip;
        Lines calls;
        std::int32_t kept;
    };
    const Case cases[] = {
        {0, 0, {"error Please Select Zoom Mode!", "report 25: 0 | 0 << 16"}, 0},
        {1, 1, {"error Please Select No Skip Mode!", "report 25: 0 | 0 << 16"}, 0},
        {1, 0, {}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.zoom << " " << c.skip);
        OpenPreviewing();
        device->SetParam(18, c.zoom);
        device->SetParam(19, c.skip);
        calls.lines.clear();
        device->SetParam(25, 1);
        EXPECT_EQ(calls.lines, c.calls);
        EXPECT_EQ(Get(25), c.kept);
    }
}

TEST_F(TwainDeviceTest, OneShotsRunOnlyWhileThePreviewRuns) {
    Make(2, FixtureSettings());
    device->Open();
    calls.lines.clear();
    device->SetParam(15, 1);
    device->SetParam(16, 1);
    device->StopPreview();  // not running: nothing to stop
    EXPECT_TRUE(calls.lines.empty());
    device->StartPreview(10, 20, 640, 480);
    device->StopPreview();
    device->StopPreview();
    EXPECT_EQ(calls.lines, (Lines{"start view child 10,20 640x480", "bars on 640 480 black", "stop view"}));
}

TEST_F(TwainDeviceTest, TheFixedDisplayPreviewsInItsOwnWindowAt800By600) {
    TwainSettings s = FixtureSettings();
    s.zoomMode = 1;
    Make(2, s);
    device->Open();
    calls.lines.clear();
    device->StartPreview(10, 20, 640, 480);
    EXPECT_EQ(calls.lines, (Lines{"start view own 0,0 800x600", "scroll offset 0,0", "bars off 0 0 black"}));
}

TEST_F(TwainDeviceTest, PanningMovesTheCameraOffsetUpToCaptureMinusVisible) {
    OpenPreviewing();
    device->SetParam(10, 5);  // 2048 x 1536 in a view of 800 x 600
    calls.lines.clear();
    struct Step {
        ScrollAxis axis;
        ScrollCode code;
        std::int32_t thumb;
        bool accepted;
        std::int32_t x, y;
    };
    const Step steps[] = {
        {ScrollAxis::horizontal, ScrollCode::pageForward, 0, true, 100, 0},
        {ScrollAxis::horizontal, ScrollCode::thumbTrack, 1200, true, 1200, 0},
        {ScrollAxis::horizontal, ScrollCode::pageForward, 0, false, 1248, 0},
        {ScrollAxis::horizontal, ScrollCode::lineForward, 0, false, 1248, 0},
        {ScrollAxis::vertical, ScrollCode::lineBack, 0, false, 1248, 0},
        {ScrollAxis::vertical, ScrollCode::lineForward, 0, true, 1248, 1},
        {ScrollAxis::vertical, ScrollCode::thumbTrack, 5000, true, 1248, 936},
    };
    Lines expected;
    for (const Step& s : steps) {
        const std::int32_t before = s.axis == ScrollAxis::horizontal ? device->ScrollX() : device->ScrollY();
        const PanOutcome out = device->Scroll(s.axis, static_cast<std::int32_t>(s.code), s.thumb,
                                              s.axis == ScrollAxis::horizontal ? 800 : 600);
        EXPECT_EQ(out.accepted, s.accepted);
        EXPECT_EQ(device->ScrollX(), s.x);
        EXPECT_EQ(device->ScrollY(), s.y);
        if (out.position != before)
            expected.push_back("scroll offset " + std::to_string(s.x) + "," + std::to_string(s.y));
    }
    EXPECT_EQ(calls.lines, expected);
}

TEST_F(TwainDeviceTest, WhiteBalanceResultsAreStoredAndReported) {
    OpenPreviewing();
    device->OnWhiteBalanceResult((600 << 16) | 450, (700 << 16) | 123);
    EXPECT_EQ(calls.lines,
              (Lines{"report 3: 600 | 6000 << 16", "report 2: 450 | 6000 << 16", "report 1: 700 | 6000 << 16"}));
    EXPECT_EQ(Get(1), Pack(700, 6000));
    EXPECT_EQ(device->Settings().whiteRed, 600);
}

TEST_F(TwainDeviceTest, ExposureResultsGoOutWithTheNextCapture) {
    OpenPreviewing();
    std::thread capture([&] { device->OnExposureResult(250); });
    capture.join();
    EXPECT_EQ(calls.lines, (Lines{"report 0: 250 | 5000 << 16"}));
    EXPECT_EQ(Get(0), Pack(250, 5000));
    calls.lines.clear();
    device->SetParam(4, 100);
    EXPECT_EQ(calls.lines, (Lines{"cap 640x480 at 215,100 exp 250 gain 40 ctl 0x00"}));
    EXPECT_EQ(device->Settings().exposure, 250);
}

TEST_F(TwainDeviceTest, ATinyExposureEndsContinuousExposureOnTheTimersOwnTick) {
    OpenPreviewing();
    device->SetParam(23, 1);
    device->OnExposureTick();
    EXPECT_EQ(calls.lines, (Lines{"timer 100 ms", "ae once"}));
    calls.lines.clear();

    // The result arrives on the capture thread: it only asks.
    std::thread capture([&] { device->OnExposureResult(2); });
    capture.join();
    EXPECT_EQ(calls.lines, (Lines{"report 0: 2 | 5000 << 16"}));
    EXPECT_EQ(Get(23), 0);
    calls.lines.clear();

    device->OnExposureTick();
    EXPECT_EQ(calls.lines, (Lines{"ae off", "timer off", "report 23: 0 | 0 << 16"}));
    calls.lines.clear();
    device->OnExposureTick();
    EXPECT_TRUE(calls.lines.empty());
}

TEST_F(TwainDeviceTest, ATinyExposureWithoutContinuousExposureOnlyTellsTheDialog) {
    OpenPreviewing();
    for (const auto& [exposure, lines] : {std::pair{1, Lines{"report 23: 0 | 0 << 16", "report 0: 1 | 5000 << 16"}},
                                          std::pair{3, Lines{"report 0: 3 | 5000 << 16"}}}) {
        SCOPED_TRACE(exposure);
        calls.lines.clear();
        device->OnExposureResult(exposure);
        EXPECT_EQ(calls.lines, lines);
        device->OnExposureTick();  // nothing was asked of the timer
        EXPECT_EQ(calls.lines, lines);
    }
}

TEST_F(TwainDeviceTest, ContinuousExposureAskedAgainForgetsAnOlderStop) {
    OpenPreviewing();
    device->SetParam(23, 1);
    device->OnExposureResult(2);
    device->SetParam(23, 1);
    calls.lines.clear();
    device->OnExposureTick();
    EXPECT_EQ(calls.lines, (Lines{"ae once"}));
    EXPECT_EQ(Get(23), 1);
}

}  // namespace
}  // namespace twain
