#pragma once
// Where the measuring ruler's settings live: Config.ini [Ruler] ("RulerX",
// "RulerY" in frame pixels, "RulerColor", "Middle", "Show"), [Option] "NF",
// and the chosen calibration of scale.ini (Value, Unit, "RulerScale").
// "Default", selection 0, is never stored: its value is 1 and its unit
// Config.ini [CLdraw] "Unit", or "mm" when that is empty.
#include <windows.h>

#include <string>

struct RulerStoredSettings {
    int rulerX = 100;  // the horizontal line's y in frame pixels
    int rulerY = 100;  // the vertical line's x in frame pixels
    COLORREF colour = RGB(255, 255, 255);
    int middle = 0;
    int show = 0;
};

struct RulerCalibration {
    double value = 1.0;  // units per frame pixel, fit to divide by
    std::wstring unit;
    int spacing = 10;  // "RulerScale", at least 1
    int decimals = 2;  // [Option] "NF"
};

class RulerSettingsFiles {
public:
    RulerSettingsFiles(std::wstring configPath, std::wstring scalePath);

    RulerStoredSettings ReadRuler() const;
    // RulerX and RulerY only when given.
    void WriteRuler(const RulerStoredSettings& settings, bool writeX, bool writeY) const;
    // Calibration `index` of the scale combo (see above).
    RulerCalibration ReadCalibration(int index) const;
    void WriteSpacing(int index, int spacing) const;

private:
    std::wstring configPath_;
    std::wstring scalePath_;
};
