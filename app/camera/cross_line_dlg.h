#pragma once
// `CCrossLineDlg`: edits the camera's list of crosshair lines. Every change
// goes to the camera at once, so the live picture follows the dialog, and
// closing it in any way keeps what was set. Lowering the count switches
// the lines past the new count off: the camera's list never shrinks, and a
// line the dialog can no longer reach is never drawn.
#include <optional>

#include "camera_device.h"
#include "color_button.h"
#include "dialog.h"

class CCrossLineDlg : public CDialog {
public:
    // camera: the view's camera, or null (the dialog then stays empty).
    CCrossLineDlg(CCameraDevice* camera, HWND parent = nullptr);

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WORD id, WORD code) override;
    BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void FillEntries(int count);
    void LoadEntry(int i);
    // The selected entry as the camera stores it; none without entries.
    std::optional<CrossLineEntry> Selected() const;
    int SelectedIndex() const;
    void Store(const CrossLineEntry& entry);
    void OnCountEdited();
    void SetAllDrawn(bool draw);
    void OnPositionEdited(int editId);
    void OnSliderMoved(HWND slider);
    void ShowPosition(int editId, int sliderId, int value);
    void OnColourSelected();

    CCameraDevice* m_camera;
    CColorButton m_colourButton;
    int m_count = 0;
    int m_width = 0;
    int m_height = 0;
    // Set while the dialog writes an edit itself, so its change is not an edit.
    bool m_writing = false;
    // The colour button's colour without entries.
    COLORREF m_colour = RGB(255, 0, 0);
};
