#include "uvc_video_param_dlg.h"

#include "bound_call.h"
#include "camera_resource.h"
#include "camera_sdk_families.h"
#include "uvc_model.h"

namespace {

// The stream formats in the library's numbering; the same in every language.
constexpr const wchar_t* kColourModes[] = {L"YUV2", L"MJPEG"};

}  // namespace

CUVCVideoParamDlg::CUVCVideoParamDlg(HWND parent) : CDialog(IDD_UVC_VIDEO_PARAM, parent) {}

BOOL CUVCVideoParamDlg::OnInitDialog() {
    HWND combo = GetDlgItem(IDC_UVC_COLOUR_MODE);
    for (const wchar_t* mode : kColourModes) {
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(mode));
    }
    SendMessageW(combo, CB_SETCURSEL, WPARAM(m_colourMode), 0);
    return TRUE;
}

BOOL CUVCVideoParamDlg::OnCommand(WORD id, WORD code) {
    switch (id) {
    case IDC_UVC_COLOUR_MODE:
        if (code == CBN_SELCHANGE) {
            const LRESULT selection = SendMessageW(GetDlgItem(IDC_UVC_COLOUR_MODE), CB_GETCURSEL, 0, 0);
            if (selection != CB_ERR) {
                m_colourMode = int(selection);
                CallBound(KQUVC().KQ_SetParam, kUnboundEntryFailure, m_device,
                          static_cast<int>(UvcProperty::colourMode), m_colourMode);
            }
        }
        return TRUE;
    case IDC_UVC_PROPERTY_PAGE:
        if (code == BN_CLICKED) {
            CallBound(KQUVC().KQ_ShowPropertyPage, kUnboundEntryFailure, m_device, m_hWnd);
        }
        return TRUE;
    case IDC_UVC_SAVE_PARAMS:
        // The button is on the form but saves nothing: the library keeps
        // its properties and the camera writes them to Config.ini.
        return TRUE;
    default:
        return CDialog::OnCommand(id, code);
    }
}
