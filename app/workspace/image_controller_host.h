#pragma once
// What an image controller asks of the view that shows it: the user's
// answers, the main frame's choices, the language library's texts and the
// notices the frame reacts to. The view implements it; the controller holds
// it without owning it, so no virtual destructor. Platform-free.
#include <optional>
#include <string>

// A point in the view window's client area.
class CCLArrow;

struct WindowPoint {
    int x = 0;
    int y = 0;
};

// A calibration the user confirmed: units per picture pixel and the unit.
struct CalibrationChoice {
    float scale = 1.0f;
    std::u16string unit;
};

class IImageControllerHost {
public:
    // String `stringId` of the loaded language library; empty when it has none.
    virtual std::u16string Text(int stringId) = 0;
    // Asks the user, modally, for the text of a text annotation placed at
    // `at`; nullopt when the user cancelled.
    virtual std::optional<std::u16string> AskAnnotationText(WindowPoint at) = 0;
    // Opens the calibration dialog, modally, for a line `pixelLength` picture
    // pixels long on a picture of `pictureWidth` by `pictureHeight`; the
    // calibration the user confirmed (and the dialog stored), nullopt when
    // cancelled.
    virtual std::optional<CalibrationChoice> AskCalibration(float pixelLength, int pictureWidth, int pictureHeight) = 0;
    // Index of the calibration chosen in the main frame; -1 when none is.
    virtual int SelectedCalibration() = 0;
    // The undo history gained a step or moved to another one.
    virtual void HistoryChanged() = 0;
    // The user confirmed a new calibration and the controller applied it.
    virtual void CalibrationChanged() = 0;
    // Shows the picture-information text modally.
    virtual void ShowImageInfo(const std::u16string& text) = 0;
    // The arrow panel, modeless, editing the arrow the arrow tool places; it
    // is closed before that arrow goes away.
    virtual void ShowArrowPanel(CCLArrow& arrow) = 0;
    virtual void CloseArrowPanel(const CCLArrow& arrow) = 0;

protected:
    ~IImageControllerHost() = default;
};
