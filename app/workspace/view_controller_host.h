#pragma once
// The view's answers to its image controllers: texts of the loaded language
// library, the text and calibration dialogs over the view's window, the
// calibration chosen in the main frame, and the notices the view's own
// window receives.
#include <windows.h>

#include <memory>
#include <string>

#include "arrow_dlg.h"
#include "file_info_dialog.h"
#include "image_controller_host.h"

class IViewFrame;

class CViewControllerHost final : public IImageControllerHost {
public:
    // Both may change over the view's life (window created, frame attached);
    // without a window the dialogs are not shown and the answer is "cancelled".
    void SetWindow(HWND view) { m_view = view; }
    void SetFrame(IViewFrame* frame) { m_frame = frame; }
    // The calibration store the dialog writes; scale.ini beside the program by default.
    void SetScaleIniPath(std::wstring path) { m_scaleIniPath = std::move(path); }
    const std::wstring& GetScaleIniPath() const { return m_scaleIniPath; }
    // The file information dialog the shell supplies; none shows nothing.
    void SetFileInfoDialog(IFileInfoDialog* dialog) { m_fileInfo = dialog; }

    std::u16string Text(int stringId) override;
    std::optional<std::u16string> AskAnnotationText(WindowPoint at) override;
    std::optional<CalibrationChoice> AskCalibration(float pixelLength, int pictureWidth, int pictureHeight) override;
    int SelectedCalibration() override;
    void HistoryChanged() override;
    void CalibrationChanged() override;
    void ShowImageInfo(const std::u16string& text) override;
    void ShowArrowPanel(CCLArrow& arrow) override;
    void CloseArrowPanel(const CCLArrow& arrow) override;
    // The arrow panel's window while it is open, else null.
    HWND GetArrowPanelWindow() const { return m_arrowPanel ? m_arrowPanel->GetSafeHwnd() : nullptr; }

private:
    HWND m_view = nullptr;
    IViewFrame* m_frame = nullptr;
    std::wstring m_scaleIniPath;
    IFileInfoDialog* m_fileInfo = nullptr;
    std::unique_ptr<CArrowDlg> m_arrowPanel;
};
