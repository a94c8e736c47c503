#pragma once
// The counting dialogs as the image controller opens them. The shell
// supplies the implementation, so the workspace never links the dialogs;
// the controller holds it without owning it, so no virtual destructor.
#include <memory>
#include <string>

class CImageController;
class CIMGCount;
class CPicture;

// What the region dialog hands back on OK: counting over the whole picture
// or over a rectangle in picture pixels, y counted from the top.
struct CountRegionChoice {
    bool regionOn = false;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The calibration the results are shown in: units per picture pixel.
struct CountCalibration {
    float scale = 1.0f;
    int decimals = 2;
    std::u16string unit;
};

class ICountingDialogs {
public:
    // Sets the grey window of `engine` over `picture`, repainting through
    // `controller`; `copy` is the picture as it was. True when the user
    // accepted; after a cancel `picture` holds the copy's pixels again.
    virtual bool ManualCount(CImageController& controller, CIMGCount& engine, CPicture& picture,
                             std::unique_ptr<CPicture> copy) = 0;
    // Asks for the counting region of `engine`; false when cancelled.
    virtual bool ChooseCountRegion(CIMGCount& engine, CountRegionChoice& choice) = 0;
    // The measured targets of `engine` on a `width` x `height` picture.
    virtual void ShowCountResults(CIMGCount& engine, int width, int height, const CountCalibration& calibration) = 0;

protected:
    ~ICountingDialogs() = default;
};
