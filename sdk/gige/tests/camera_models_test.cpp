// The model classes: the class each model name gets with its geometry and
// receive size, every setter of each register family with the registers and
// values it writes, and the exposure conversions both ways.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string_view>
#include <vector>

#include "camera_fixture.h"
#include "model_codes.h"
#include "model_table.h"

namespace kqge {
namespace {

using fixture::Command;
using fixture::OneCamera;
using fixture::Rd;
using fixture::Wr;

TEST(CameraModelsTest, EveryModelNameGetsItsClassAndReceiveSize) {
    struct Expected {
        std::string_view name;
        std::string_view className;
    };
    const std::vector<Expected> expected = {
        {"Gige-CMOSDorisk", "CKQGigECamera"},      {"Gige-CMOSNavelo", "CKQGigE_CMOSNavelo"},
        {"Gige-Sabrel", "CKQGige_Sabrel"},         {"Gige-Parsun", "CKQGige_Parsun"},
        {"Gige-Wendik", "CKQGige_Wendik"},         {"Gige-Dwinel", "CKQGige_Dwinel"},
        {"Gige-Ragnot", "CKQGige_Ragnot"},         {"Gige-Lunvik", "CKQGige_Lunvik"},
        {"Gige-Ostrel", "CKQGige_Ostrel"},         {"Gige-CMOSAlvino", "CKQGige_CMOSAlvino"},
        {"Gige-CMOSEbrant", "CKQGigE_CMOSEbrant"}, {"Gige-CMOSUlmora", "CKQGigE_CMOSUlmora"},
        {"Gige-CMOSJorvel", "CKQGigE_CMOSJorvel"}, {"Gige-Hobrin", "CKQGige_Hobrin"},
        {"Gige-Ivrose", "CKQGige_Ivrose"},         {"Gige-Unlisted", "CDefaultCamera"},
    };
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].name);
        OneCamera c(expected[i].name);
        GigECameraBase& camera = c.Camera();
        const ModelTraits& traits = camera.traits();
        EXPECT_EQ(traits.className, expected[i].className);
        EXPECT_EQ(traits.modelCode, ModelCodeFromName(expected[i].name));
        std::int32_t code = -1;
        EXPECT_EQ(camera.GetCameraType(code), traits.modelCode == 0 ? 19 : 0);
        EXPECT_EQ(static_cast<std::uint32_t>(code), traits.modelCode);
        // Two-byte classes need room for two bytes per pixel.
        EXPECT_EQ(camera.ReceiveBytes(), 8000u + static_cast<std::size_t>(traits.maxWidth) * traits.maxHeight *
                                                     static_cast<std::size_t>(traits.bytesPerPixel));
        EXPECT_EQ(camera.OutputSize().width, traits.maxWidth);
        EXPECT_EQ(camera.OutputKindValue(), traits.defaultOutputKind);
        EXPECT_EQ(camera.OutputBits(), traits.defaultBits);
    }
}

TEST(CameraModelsTest, TheTableHoldsEachClassOnce) {
    std::vector<std::uint32_t> codes;
    for (const ModelTraits& t : ModelTable()) codes.push_back(t.modelCode);
    std::ranges::sort(codes);
    EXPECT_EQ(std::ranges::adjacent_find(codes), codes.end());
    EXPECT_EQ(codes.size(), 16u);
    EXPECT_EQ(TraitsOf(0x12345).className, "CDefaultCamera");
}

// One setter call on an opened camera of `model`: registers preset, the call,
// its result and the commands the camera received.
struct SetterCase {
    const char* name;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> preset;
    std::function<std::int32_t(GigECameraBase&)> call;
    std::int32_t result;
    std::vector<Command> commands;
};

void RunFamily(std::string_view model, const std::vector<SetterCase>& cases) {
    OneCamera c(model);
    ASSERT_EQ(c.Camera().InitCamera(nullptr), 0);
    for (const SetterCase& sc : cases) {
        SCOPED_TRACE(sc.name);
        (void)c.NewCommands();
        for (const auto& [address, value] : sc.preset) c.camera.SetRegister(address, value);
        EXPECT_EQ(sc.call(c.Camera()), sc.result);
        EXPECT_EQ(c.NewCommands(), sc.commands);
    }
}

TEST(CameraModelsTest, CcdSetters) {
    RunFamily("Gige-Parsun",
              {
                  {"red 0", {}, [](auto& c) { return c.SetGainR(0); }, 0, {Wr(0xF00000A0, 1)}},
                  {"red 100", {}, [](auto& c) { return c.SetGainR(100); }, 0, {Wr(0xF00000A0, 63)}},
                  {"green", {}, [](auto& c) { return c.SetGainG(5); }, 0, {Wr({{0xF0000090, 5}, {0xF0000080, 5}})}},
                  {"blue", {}, [](auto& c) { return c.SetGainB(70); }, 0, {Wr(0xF0000070, 63)}},
                  {"global", {}, [](auto& c) { return c.SetGain_A(1000); }, 0, {Wr(0xF0000020, 255)}},
                  {"exposure", {}, [](auto& c) { return c.SetExposure(7458); }, 0, {Wr(0xF0000160, 100)}},
                  {"resolution",
                   {},
                   [](auto& c) { return c.SetResolution(1001, 701); },
                   0,
                   {Wr(0xF0000040, 1000), Wr(0xF0000030, 700), Wr(0xF0000160, 100)}},
                  {"capture 0", {}, [](auto& c) { return c.SetCapMode(0); }, 0, {Wr(0xF0000010, 1)}},
                  {"capture 2", {}, [](auto& c) { return c.SetCapMode(2); }, 0, {Wr(0xF0000010, 2)}},
                  {"capture 3", {}, [](auto& c) { return c.SetCapMode(3); }, 0, {Wr(0xF0000010, 0)}},
                  {"red in capture 3", {}, [](auto& c) { return c.SetGainR(9); }, 0, {}},
                  {"flash", {}, [](auto& c) { return c.SetFlashState(true, true); }, 0, {Wr(0xF0000060, 1)}},
                  {"flash level", {}, [](auto& c) { return c.SetFlashState(true, false); }, 0, {Wr(0xF0000060, 3)}},
                  {"flash off", {}, [](auto& c) { return c.SetFlashState(false, true); }, 0, {Wr(0xF0000060, 0)}},
                  {"ip config", {}, [](auto& c) { return c.IPConfig(false); }, 0, {Wr(0xF0004000, 0xFF)}},
                  {"offset", {}, [](auto& c) { return c.SetOffsetH(4); }, 17, {}},
                  {"ae", {}, [](auto& c) { return c.EnableAE(true); }, 17, {}},
                  {"zoom", {}, [](auto& c) { return c.SetZoomMode(1); }, 17, {}},
                  {"speed", {}, [](auto& c) { return c.SetSpeedMode(1); }, 17, {}},
                  {"flip 6", {}, [](auto& c) { return c.SetFlipMode(6); }, 20, {}},
              });
    RunFamily("Gige-Ivrose",
              {
                  {"global", {}, [](auto& c) { return c.SetGain_A(1000); }, 0, {Wr(0xF0000020, 250)}},
                  {"red", {}, [](auto& c) { return c.SetGainR(5); }, 17, {}},
                  {"correcting", {}, [](auto& c) { return c.SetDoCorrecting(true); }, 0, {Wr(0xF0005500, 2)}},
                  {"correction stopped", {}, [](auto& c) { return c.SetDoAutoCorrection(); }, -1, {}},
                  {"valid bits 2", {}, [](auto& c) { return c.SetValidBitsOff(2); }, 0, {Wr(0xF0005400, 4)}},
                  {"valid bits 4", {}, [](auto& c) { return c.SetValidBitsOff(4); }, 0, {Wr(0xF0005400, 1)}},
              });
    RunFamily(
        "Gige-Sabrel",
        {
            {"capture 2", {}, [](auto& c) { return c.SetCapMode(2); }, 0, {Wr(0xF0000010, 2)}},
            {"red swapped", {}, [](auto& c) { return c.SetGainR(9); }, 0, {Wr(0xF0000080, 9)}},
            {"green swapped", {}, [](auto& c) { return c.SetGainG(9); }, 0, {Wr({{0xF0000070, 9}, {0xF00000A0, 9}})}},
            {"blue swapped", {}, [](auto& c) { return c.SetGainB(9); }, 0, {Wr(0xF0000090, 9)}},
        });
    RunFamily("Gige-Lunvik",
              {
                  {"wide",
                   {},
                   [](auto& c) { return c.SetColorMode(4); },
                   0,
                   {Wr(0xF0005400, 0x20), Wr(0xF0000000, 0x01100005)}},
                  {"valid bits in wide", {}, [](auto& c) { return c.SetValidBitsOff(2); }, 17, {}},
                  {"colour", {}, [](auto& c) { return c.SetColorMode(0); }, 0, {Wr(0xF0000000, 0x01080001)}},
                  {"valid bits", {}, [](auto& c) { return c.SetValidBitsOff(1); }, 0, {Wr(0xF0005400, 8)}},
              });
}

TEST(CameraModelsTest, CmosSetters) {
    RunFamily("Gige-CMOSNavelo",
              {
                  {"offset h", {}, [](auto& c) { return c.SetOffsetH(33); }, 0, {Wr(0xF0000020, 32)}},
                  {"offset v", {}, [](auto& c) { return c.SetOffsetV(5); }, 0, {Wr(0xF0000010, 20)}},
                  {"red", {}, [](auto& c) { return c.SetGainR(0); }, 0, {Wr(0xF00002D0, 1)}},
                  {"green", {}, [](auto& c) { return c.SetGainG(64); }, 0, {Wr(0xF00002B0, 63)}},
                  {"blue", {}, [](auto& c) { return c.SetGainB(7); }, 0, {Wr(0xF00002C0, 7)}},
                  {"global", {}, [](auto& c) { return c.SetGain_A(7); }, 17, {}},
                  {"capture 2", {}, [](auto& c) { return c.SetCapMode(2); }, 17, {}},
                  {"capture 5", {}, [](auto& c) { return c.SetCapMode(5); }, 20, {}},
                  {"capture 0",
                   {{0xF0005100, 0x01}},
                   [](auto& c) { return c.SetCapMode(0); },
                   0,
                   {Rd(0xF0005100), Wr(0xF0005100, 0x09)}},
                  {"capture 1",
                   {{0xF0005100, 0x0B}},
                   [](auto& c) { return c.SetCapMode(1); },
                   0,
                   {Rd(0xF0005100), Wr(0xF0005100, 0x03)}},
                  {"free run keeps capture bit",
                   {{0xF0005100, 0x0F}},
                   [](auto& c) { return c.SetTriggerMode(0); },
                   0,
                   {Rd(0xF0005100), Wr(0xF0005100, 0x08)}},
                  {"flash off",
                   {{0xF0005100, 0x1F}},
                   [](auto& c) { return c.SetFlashState(false, true); },
                   0,
                   {Rd(0xF0005100), Wr(0xF0005100, 0x0F)}},
                  {"flash",
                   {{0xF0005100, 0x04}},
                   [](auto& c) { return c.SetFlashState(true, true); },
                   0,
                   {Rd(0xF0005100), Wr(0xF0005100, 0x10)}},
                  {"flash level",
                   {{0xF0005100, 0}},
                   [](auto& c) { return c.SetFlashState(true, false); },
                   0,
                   {Rd(0xF0005100), Wr(0xF0005100, 0x14)}},
                  {"zoom 3", {}, [](auto& c) { return c.SetZoomMode(3); }, 20, {}},
                  {"zoom 1", {}, [](auto& c) { return c.SetZoomMode(1); }, 0, {Wr({{0xF0000220, 1}, {0xF0000230, 1}})}},
                  {"ae", {}, [](auto& c) { return c.EnableAE(true); }, 17, {}},
                  {"exposure mode", {}, [](auto& c) { return c.SetExpMode(1); }, 17, {}},
              });
    RunFamily("Gige-CMOSUlmora", {
                                     {"global",
                                      {},
                                      [](auto& c) { return c.SetGain_A(70); },
                                      0,
                                      {Wr({{0xF00002D0, 63}, {0xF00002B0, 63}, {0xF00002C0, 63}})}},
                                 });
    RunFamily("Gige-CMOSJorvel",
              {
                  {"zoom 1", {}, [](auto& c) { return c.SetZoomMode(1); }, 0, {Wr(0xF0000200, 0x111C)}},
                  {"zoom 2", {}, [](auto& c) { return c.SetZoomMode(2); }, 20, {}},
                  {"no wide output", {}, [](auto& c) { return c.SetColorMode(4); }, 17, {}},
              });
}

TEST(CameraModelsTest, Cmos752Setters) {
    RunFamily(
        "Gige-CMOSAlvino",
        {
            {"global low", {}, [](auto& c) { return c.SetGain_A(5); }, 0, {Wr(0xF0000350, 16)}},
            {"global high", {}, [](auto& c) { return c.SetGain_A(100); }, 0, {Wr(0xF0000350, 63)}},
            {"red", {}, [](auto& c) { return c.SetGainR(5); }, 17, {}},
            {"exposure", {}, [](auto& c) { return c.SetExposure(1000); }, 0, {Wr(0xF00000B0, 27)}},
            {"flip 1", {}, [](auto& c) { return c.SetFlipMode(1); }, 0, {Wr(0xF00000D0, 0x320)}},
            {"flip 3", {}, [](auto& c) { return c.SetFlipMode(3); }, 0, {Wr(0xF00000D0, 0x330)}},
            {"flip 6", {}, [](auto& c) { return c.SetFlipMode(6); }, 20, {}},
            {"hdr 2", {}, [](auto& c) { return c.HDR_Enable(2); }, 20, {}},
            {"hdr on",
             {},
             [](auto& c) { return c.HDR_Enable(1); },
             0,
             {Wr({{0xF00001C0, 3}, {0xF00000F0, 0x51}, {0xF00002C0, 7}, {0xF0000470, 0x8071}, {0xF0000480, 0x32}})}},
            {"ae", {}, [](auto& c) { return c.EnableAE(true); }, 0, {Wr(0xF0000AF0, 1)}},
            {"ag", {}, [](auto& c) { return c.EnableAG(true); }, 0, {Wr(0xF0000AF0, 3)}},
            {"capture 0", {}, [](auto& c) { return c.SetCapMode(0); }, 0, {Wr(0xF0000070, 0x398)}},
            {"capture 1", {}, [](auto& c) { return c.SetCapMode(1); }, 0, {Wr(0xF0000070, 0x388)}},
            {"zoom 2", {}, [](auto& c) { return c.SetZoomMode(2); }, 0, {Wr({{0xF0000220, 3}, {0xF0000230, 3}})}},
            {"flip with zoom 2", {}, [](auto& c) { return c.SetFlipMode(2); }, 0, {Wr(0xF00000D0, 0x31A)}},
            {"flash", {}, [](auto& c) { return c.SetFlashState(true, false); }, 0, {Wr(0xF00001B0, 2)}},
            {"flash off", {}, [](auto& c) { return c.SetFlashState(false, false); }, 0, {Wr(0xF00001B0, 1)}},
            {"camera ip",
             {},
             [](auto& c) { return c.SetCameraIP(1, 2, 3); },
             0,
             {Wr({{0x064C, 1}, {0x065C, 2}, {0x066C, 3}})}},
            {"ip config", {}, [](auto& c) { return c.IPConfig(true); }, 0, {Wr(0xF0004000, 1)}},
            {"exposure mode", {}, [](auto& c) { return c.SetExpMode(1); }, 17, {}},
        });
    RunFamily("Gige-CMOSDorisk", {
                                     {"global low", {}, [](auto& c) { return c.SetGain_A(0); }, 0, {Wr(0xF0000350, 1)}},
                                 });
    RunFamily(
        "Gige-Unlisted",
        {
            {"red", {}, [](auto& c) { return c.SetGainR(9); }, 17, {Wr(0xF0000350, 9)}},
            {"green", {}, [](auto& c) { return c.SetGainG(9); }, 17, {Wr(0xF00002C0, 9)}},
            {"exposure", {}, [](auto& c) { return c.SetExposure(1234); }, 0, {Wr(0xF00000B0, 1234)}},
            {"speed", {}, [](auto& c) { return c.SetSpeedMode(2); }, 0, {Wr(0xF0005000, 4), Wr(0xF00000B0, 1234)}},
        });
}

TEST(CameraModelsTest, OpeningThe752x480ClassesSetsCaptureAndFlashAndTurnsAutoOff) {
    OneCamera c("Gige-CMOSAlvino");
    ASSERT_EQ(c.Camera().InitCamera(nullptr), 0);
    EXPECT_EQ(c.NewCommands(), (std::vector<Command>{Rd(0x0A00), Wr(0x0A00, 3), Wr(0xF0F00614, 0),
                                                     Wr({{0xF0000070, 0x388}, {0xF0000C20, 0x840}, {0xF00001B0, 1}}),
                                                     Wr(0xF0000AF0, 0), Wr(0xF0000AF0, 0)}));
}

// Exposure to register value and back at the model's default geometry.
struct ExposureCase {
    std::string_view model;
    std::int64_t exposure;
    std::int32_t lines;
    std::int64_t linesBack;
    std::int32_t exposureBack;
};

TEST(CameraModelsTest, ExposureConversionsBothWays) {
    const std::vector<ExposureCase> cases = {
        {"Gige-Parsun", 7458, 100, 100, 7458},
        {"Gige-Ostrel", 74, 1, 1, 74},
        {"Gige-Lunvik", 5967, 100, 100, 5967},
        {"Gige-Ragnot", 100000000, 32767, 2, 119},
        {"Gige-Wendik", 2935, 100, 100, 2935},
        {"Gige-Ivrose", 1560, 100, 100, 1560},
        {"Gige-Dwinel", 6400, 100, 100, 6400},
        {"Gige-Sabrel", 1930, 36, 36, 1930},
        {"Gige-Hobrin", 10, 1, 0, 1},
        {"Gige-Hobrin", 3200, 100, 100, 3200},
        {"Gige-Hobrin", 0x200000, 0xFFFF, 3, 96},
        {"Gige-CMOSNavelo", 2559, 48, 48, 2559},
        {"Gige-CMOSEbrant", 3103, 96, 96, 3103},
        {"Gige-CMOSUlmora", 3103, 96, 96, 3103},
        {"Gige-CMOSJorvel", 1514, 48, 48, 1514},
        {"Gige-CMOSAlvino", 1000, 27, 27, 975},
        {"Gige-CMOSAlvino", 50, 2, 2, 94},
        {"Gige-CMOSAlvino", 10000000, 32767, 1, 59},
    };
    for (const ExposureCase& k : cases) {
        SCOPED_TRACE(std::string(k.model) + " " + std::to_string(k.exposure));
        OneCamera c(k.model);
        EXPECT_EQ(c.Camera().ExposureToLines(k.exposure), k.lines);
        EXPECT_EQ(c.Camera().LinesToExposure(k.linesBack), k.exposureBack);
    }
}

TEST(CameraModelsTest, The752x480HdrStateReadsExposuresNear512As511) {
    OneCamera c("Gige-CMOSAlvino");
    ASSERT_EQ(c.Camera().InitCamera(nullptr), 0);
    const std::int32_t plain = c.Camera().ExposureToLines(518);
    ASSERT_EQ(c.Camera().HDR_Enable(1), 0);
    EXPECT_EQ(c.Camera().ExposureToLines(518), c.Camera().ExposureToLines(511));
    EXPECT_NE(c.Camera().ExposureToLines(518), plain);
}

}  // namespace
}  // namespace kqge
