#pragma once
// The shared half of the two colour adjustment dialogs: sliders with a
// value text each, a preview box and a preview frame. The preview is a
// 24-bit copy of the picture scaled to the frame, and the working copy is
// the preview with the sliders' change applied; only OK changes the
// picture itself.
#include <windows.h>

#include <span>

#include "dialog.h"
#include "picture.h"

class CAdjustPreviewDlg : public CDialog {
public:
    struct Slider {
        int id;
        int textId;
        int min;
        int max;
    };

    // The working copy as the frame shows it (empty before opening and
    // after closing).
    const CPicture& GetWorkingPicture() const { return m_working; }

protected:
    // `picture` is not owned and must outlive the dialog.
    CAdjustPreviewDlg(UINT templateId, CPicture& picture, HWND parent, std::span<const Slider> sliders,
                      int previewCheckId);

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The sliders' values are read into the dialog's members.
    virtual void ReadSliders() = 0;
    // Changes the working copy of the preview by the values read.
    virtual void ApplyToPreview(CPicture& working) = 0;
    // Changes the picture itself on OK.
    virtual void ApplyToPicture(CPicture& picture) = 0;

    int SliderPosition(int id) const;
    // The picture the dialog was opened with.
    CPicture& m_picture;
    int m_bPreview = 1;

private:
    void MakePreview();
    void OnSliderMoved(HWND slider);
    void DrawFrame(const DRAWITEMSTRUCT& item) const;
    void ClosePreview();

    std::span<const Slider> m_sliders;
    int m_previewCheckId;
    CPicture m_preview;
    CPicture m_working;
};
