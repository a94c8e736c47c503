#pragma once
// What the video-parameter dialogs of the USB CMOS, CCD and GigE cameras
// accept and show: the exposure slider and its time text, the ranges of
// the typed numbers, the colour-mode rules, and which GigE controls a model
// offers. Platform-free.
#include <optional>
#include <string_view>
#include <vector>

#include "gige_models.h"
#include "labelled_size.h"

struct IntRange {
    int lowest;
    int highest;

    friend bool operator==(const IntRange&, const IntRange&) = default;
};

// A typed number clamped into the range.
int ClampToRange(long long typed, IntRange range);

// ---- Exposure in time units (lowest step s, highest value h) ----
// The slider runs from 1 to (h - s + 1) / s + 1.
IntRange ExposureSliderRange(ExposureRange range);
// The slider position of an exposure: exposure / s within the slider.
int ExposureSliderPosition(int exposure, ExposureRange range);
// The exposure a slider position sends: position x s within s to h.
int ExposureAtPosition(int position, ExposureRange range);

enum class ExposureUnit { microseconds, milliseconds };

struct ExposureText {
    double value;
    ExposureUnit unit;

    friend bool operator==(const ExposureText&, const ExposureText&) = default;
};
// How the edit shows an exposure: below 1000 in "us" (at least s), else in
// "ms" (at most 1000).
ExposureText ShownExposure(int exposure, ExposureRange range);
// A number typed while the edit shows `unit`: the exposure it means, within
// s to h, and the unit the edit shows next ("ms" numbers below 1 switch to
// "us"; "us" numbers of 1000 or more switch to "ms").
struct TypedExposure {
    int exposure;
    ExposureUnit unit;

    friend bool operator==(const TypedExposure&, const TypedExposure&) = default;
};
TypedExposure ExposureFromTyped(double typed, ExposureUnit unit, ExposureRange range);
std::wstring_view UnitText(ExposureUnit unit);

// Without time units the exposure is the slider value: 1 to 10000 for USB
// CMOS device types 8, 11, 12, 13, 16 and for every CCD camera, else 1 to 5000.
IntRange LineExposureRange(bool ccd, int deviceType);

// ---- USB CMOS and CCD ----
// Colour gains: USB CMOS 1 to 6000 (1 to 127 for device type 15), CCD 1 to 63.
IntRange ColourGainRange(bool ccd, int deviceType);
// A four-entry model shows and sends colour modes 0, 1 and 5 as 2.
int MappedColourMode(int mode, bool fourEntryModel);
// The HDR switch a colour change makes once the library took the new mode:
// on when the mode became 5 ("RGB_COLOR"), off when it was 5 and is no
// longer; none otherwise.
std::optional<int> HdrAfterColourChange(int previousMode, int newMode);

// Analogue gain: USB CMOS 1 to 63 (1 to 255 for device type 16); the CCD
// family's AD gain 1 to 255.
IntRange AnalogueGainRange(bool ccd, int deviceType);
// Sharpness: 1 to 8, for USB CMOS device type 15 0 to 7.
IntRange SharpnessRange(bool ccd, int deviceType);

// Whether the USB CMOS library corrects stripes and shading for a camera:
// colour pictures of the models outside the FPGA family (device types 11,
// 12, 13, 19 and 20), whose pictures skip that step.
bool UsbCmosCorrectsStripes(int deviceType, bool monochrome);

// What a USB CMOS or CCD camera tells its pages about itself.
struct UsbCameraFacts {
    bool ccd = false;
    int deviceType = 0;
    bool monochrome = false;
    bool offsetAllowed = false;
    bool correctionControls = false;  // USB CMOS: "应用修正" and "条纹修正"
    bool fourEntryModel = false;
    bool hdrHidden = false;  // CCD
    int captureWidth = 0, captureHeight = 0;
    int maxWidth = 0, maxHeight = 0;
};

// Which controls of the USB pages a camera offers: enabled, or for
// `greenBlueShown`, `correctionShown` and `hdrShown` visible.
struct UsbControlsOffered {
    bool colourGains;     // all three enabled
    bool greenBlueShown;  // a monochrome CCD camera shows red only
    bool saturation;
    bool analogueGain;
    bool offsets;  // USB CMOS offsets and the off-centre box
    bool correctionShown;
    bool badPixel;  // only at the sensor's full size
    bool hdrShown;

    friend bool operator==(const UsbControlsOffered&, const UsbControlsOffered&) = default;
};
UsbControlsOffered UsbOfferedControls(const UsbCameraFacts& facts);

// ---- GigE ----
inline constexpr IntRange kGigePacketSizeRange{1500, 8000};
inline constexpr IntRange kGigePacketDelayRange{0, 65535};
inline constexpr IntRange kGigeContrastSliderRange{1, 64};
inline constexpr IntRange kGigeContrastEditRange{1, 63};
inline constexpr IntRange kGigeColourGainRange{1, 63};
// Global gain: CMOS models 16 to 63, model 0x20100B1 1 to 250, others 1 to 255.
IntRange GigeGlobalGainRange(std::uint32_t modelCode, bool cmos);

// Whether a model works with 10-bit samples: 0x10013001 of colour kind 2.
bool GigeHasTenBitModes(std::uint32_t modelCode, GigeColourKind kind);
std::vector<std::wstring_view> GigeColourModeNames(std::uint32_t modelCode, GigeColourKind kind);
std::vector<std::wstring_view> GigeValidBitsNames(std::uint32_t modelCode, GigeColourKind kind);

// Which controls of the GigE pages a camera offers.
struct GigeControlsOffered {
    bool colourGains;
    bool saturation;
    bool globalGain;
    bool hdr;
    bool validBits;
    bool zoom;
    bool speed;
    bool correction;  // boxes "实时校正" and "自动校正"

    friend bool operator==(const GigeControlsOffered&, const GigeControlsOffered&) = default;
};
GigeControlsOffered GigeOfferedControls(std::uint32_t modelCode, GigeColourKind kind, bool cmos, bool zoomAllowed);
