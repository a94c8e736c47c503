#include "settings_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <array>

#include "ds_resource.h"

namespace twain::ds {
namespace {

struct SpinControl {
    int spin;
    int edit;
    int param;  // -1: the frame count, kept here
    int minimum;
};

constexpr std::array<SpinControl, 11> kSpins{{
    {IDC_FRAMES_SPIN, IDC_FRAMES_EDIT, -1, 1},
    {IDC_EXPOSURE_SPIN, IDC_EXPOSURE_EDIT, 0, 0},
    {IDC_BLUE_SPIN, IDC_BLUE_EDIT, 1, 0},
    {IDC_GREEN_SPIN, IDC_GREEN_EDIT, 2, 0},
    {IDC_RED_SPIN, IDC_RED_EDIT, 3, 0},
    {IDC_VOFFSET_SPIN, IDC_VOFFSET_EDIT, 4, 0},
    {IDC_HOFFSET_SPIN, IDC_HOFFSET_EDIT, 5, 0},
    {IDC_CONTRAST_SPIN, IDC_CONTRAST_EDIT, 6, 0},
    {IDC_WIDTH_SPIN, IDC_WIDTH_EDIT, 7, 640},
    {IDC_HEIGHT_SPIN, IDC_HEIGHT_EDIT, 8, 480},
    {IDC_GAIN_SPIN, IDC_GAIN_EDIT, 9, 0},
}};

struct Choice {
    int control;
    unsigned param;
};

constexpr std::array<Choice, 8> kCombos{{{IDC_RESOLUTION, 10},
                                         {IDC_COLOR_MODE, 11},
                                         {IDC_FLIP, 12},
                                         {IDC_BW, 13},
                                         {IDC_GAMMA, 14},
                                         {IDC_SKIP, 19},
                                         {IDC_COLOR_CORRECTION, 32},
                                         {IDC_SENSITIVITY, 26}}};

constexpr std::array<Choice, 9> kChecks{{{IDC_RB_SWAP, 17},
                                         {IDC_ZOOM_MODE, 18},
                                         {IDC_CLEAR_VIEW, 21},
                                         {IDC_FULL_SCREEN, 22},
                                         {IDC_CONTINUOUS_AE, 23},
                                         {IDC_SHARPEN, 24},
                                         {IDC_NOISE_REMOVAL, 25},
                                         {IDC_UPDOWN_REVERSE, 27},
                                         {IDC_HDR, 31}}};

const SpinControl* SpinOf(int control) {
    for (const SpinControl& s : kSpins) {
        if (s.spin == control) return &s;
    }
    return nullptr;
}

const SpinControl* SpinOfEdit(int control) {
    for (const SpinControl& s : kSpins) {
        if (s.edit == control) return &s;
    }
    return nullptr;
}

template <std::size_t N>
const Choice* ChoiceOf(const std::array<Choice, N>& table, int control) {
    for (const Choice& c : table) {
        if (c.control == control) return &c;
    }
    return nullptr;
}

void FillCombo(HWND dialog, int control, std::initializer_list<const wchar_t*> items) {
    for (const wchar_t* item : items)
        SendDlgItemMessageW(dialog, control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
}

}  // namespace

CSettingsDialog::CSettingsDialog(HINSTANCE instance, HWND parent, CDeviceBridge& bridge, SettingsDialogOwner& owner,
                                 bool show, int frames)
    : instance_(instance), bridge_(bridge), owner_(owner), initialFrames_(std::clamp(frames, 1, 10000)), show_(show) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    dialog_ = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_TWAIN_SETTINGS), static_cast<HWND>(parent), &Procedure,
                                 reinterpret_cast<LPARAM>(this));
    if (dialog_ != nullptr && show) ShowWindow(dialog_, SW_SHOW);
}

CSettingsDialog::~CSettingsDialog() {
    if (dialog_ != nullptr) DestroyWindow(dialog_);
}

void CSettingsDialog::CloseWithoutWaiting() {
    stopPreview_ = false;
    if (dialog_ != nullptr) DestroyWindow(dialog_);
}

int CSettingsDialog::FrameCount() const {
    if (dialog_ == nullptr) return initialFrames_;
    BOOL ok = FALSE;
    const UINT frames = GetDlgItemInt(dialog_, IDC_FRAMES_EDIT, &ok, FALSE);
    return ok ? std::clamp(static_cast<int>(frames), 1, 10000) : initialFrames_;
}

INT_PTR CALLBACK CSettingsDialog::Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<CSettingsDialog*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        self->dialog_ = dialog;
        self->InitSettingsDialog();
        return TRUE;
    }
    auto* self = reinterpret_cast<CSettingsDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    return self != nullptr ? self->OnMessage(message, wParam, lParam) : FALSE;
}

INT_PTR CSettingsDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: {
        const int control = LOWORD(wParam);
        const int code = HIWORD(wParam);
        if (control == IDOK && code == BN_CLICKED) {
            ControlToParam(IDC_FRAMES_SPIN);
            owner_.OnCaptureButton();
        } else if (control == IDCANCEL && code == BN_CLICKED) {
            owner_.OnExitButton();
        } else if (code == EN_KILLFOCUS) {
            if (const SpinControl* spin = SpinOfEdit(control)) ControlToParam(spin->spin);
        } else if (code == BN_CLICKED || code == CBN_SELCHANGE) {
            ControlToParam(control);
        }
        return TRUE;
    }
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        // The position changes after the notification: apply it then.
        if (header != nullptr && header->code == UDN_DELTAPOS) {
            PostMessageW(dialog_, kApplyControl, header->idFrom, 0);
        }
        return FALSE;
    }
    case kApplyControl:
        if (SpinOf(static_cast<int>(wParam)) != nullptr) ControlToParam(static_cast<int>(wParam));
        return TRUE;
    case WM_MOUSEMOVE:
        for (const SpinControl& s : kSpins) {
            if (s.param >= 0) ControlToParam(s.spin);
        }
        return FALSE;
    case kParamChanged: ParamToControl(static_cast<unsigned>(wParam), static_cast<int>(lParam)); return TRUE;
    case WM_DESTROY: OnDestroy(); return FALSE;
    default: return FALSE;
    }
}

int CSettingsDialog::Get(unsigned id) const {
    int value = 0;
    return bridge_.Device().GetParam(id, &value) != 0 ? value : 0;
}

void CSettingsDialog::SelectCombo(int control, int index) {
    SendDlgItemMessageW(dialog_, control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    mirror_[control] = index;
}

void CSettingsDialog::InitSettingsDialog() {
    CTWAIN& device = bridge_.Device();
    for (const SpinControl& s : kSpins) {
        if (s.param < 0) {
            SendDlgItemMessageW(dialog_, s.spin, UDM_SETRANGE32, 1, 10000);
            SendDlgItemMessageW(dialog_, s.spin, UDM_SETPOS32, 0, initialFrames_);
            mirror_[s.spin] = initialFrames_;
            continue;
        }
        ParamToControl(static_cast<unsigned>(s.param), Get(static_cast<unsigned>(s.param)));
    }
    for (const Resolution& r : bridge_.Resolutions()) {
        SendDlgItemMessageA(dialog_, IDC_RESOLUTION, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(r.name.c_str()));
    }
    FillCombo(dialog_, IDC_COLOR_MODE, {L"24 bit", L"8 bit", L"Microscope"});
    FillCombo(dialog_, IDC_FLIP, {L"NATURAL", L"H-Flip", L"V-Flip"});
    FillCombo(dialog_, IDC_BW, {L"Colour", L"Grey"});
    FillCombo(dialog_, IDC_GAMMA, {L"load gamma table", L"unload gamma table"});
    FillCombo(dialog_, IDC_SKIP, {L"No SubSample", L"2*2 SubSample", L"4*4 SubSample", L"8*8 SubSample"});
    FillCombo(dialog_, IDC_COLOR_CORRECTION, {L"No", L"Cold", L"Warm"});
    FillCombo(dialog_, IDC_SENSITIVITY, {L"Low Noise", L"Normal", L"High Sensitive"});
    const int colour = Get(13);  // 1 grey, 2 microscope, else colour
    SelectCombo(IDC_RESOLUTION, Get(10));
    SelectCombo(IDC_COLOR_MODE, colour == 1 || colour == 2 ? colour : 0);
    SelectCombo(IDC_FLIP, Get(12));
    SelectCombo(IDC_BW, colour == 1 ? 1 : 0);
    SelectCombo(IDC_GAMMA, Get(14) != 0 ? 0 : 1);
    SelectCombo(IDC_SKIP, Get(19));
    SelectCombo(IDC_COLOR_CORRECTION, Get(32));
    SelectCombo(IDC_SENSITIVITY, Get(26));
    for (const Choice& c : kChecks) {
        const int on = Get(c.param) != 0 ? 1 : 0;
        CheckDlgButton(dialog_, c.control, on ? BST_CHECKED : BST_UNCHECKED);
        mirror_[c.control] = on;
    }
    const int width = Get(28);
    const int height = Get(29);
    preview_ = std::make_unique<CPreviewWindow>(instance_, dialog_, IDC_PREVIEW_FRAME, device, width, height);
    device.m_settingsDialog = dialog_;
    device.m_previewWindow = preview_->Handle();
    // A hidden dialog shows nothing: the device then grabs each transfer's
    // frame when asked rather than serving the last one it streamed.
    if (show_) {
        device.StartPreview(0, 0, width, height);
        OutputDebugStringA("Display\n");
    }
}

void CSettingsDialog::ControlToParam(int control) {
    CTWAIN& device = bridge_.Device();
    if (const SpinControl* s = SpinOf(control)) {
        BOOL ok = FALSE;
        const int typed = static_cast<int>(GetDlgItemInt(dialog_, s->edit, &ok, FALSE));
        if (!ok) return;
        int low = 0;
        int high = 0;
        SendDlgItemMessageW(dialog_, s->spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                            reinterpret_cast<LPARAM>(&high));
        const int value = std::clamp(typed, std::min(low, high), std::max(low, high));
        if (value != typed) SendDlgItemMessageW(dialog_, s->spin, UDM_SETPOS32, 0, value);
        if (mirror_[control] == value) return;
        mirror_[control] = value;
        if (s->param >= 0) device.SetParam(static_cast<unsigned>(s->param), value);
        return;
    }
    if (const Choice* c = ChoiceOf(kCombos, control)) {
        const int selected = static_cast<int>(SendDlgItemMessageW(dialog_, control, CB_GETCURSEL, 0, 0));
        if (selected < 0 || selected == mirror_[control]) return;
        // While continuous exposure runs the capture size and skip stay.
        if ((control == IDC_RESOLUTION || control == IDC_SKIP) && mirror_[IDC_CONTINUOUS_AE] != 0) {
            SelectCombo(control, mirror_[control]);
            return;
        }
        mirror_[control] = selected;
        if (control == IDC_GAMMA) {
            device.SetParam(c->param, selected == 0 ? 1 : 0);
            return;
        }
        if (control == IDC_COLOR_MODE) SelectCombo(IDC_BW, selected == 1 ? 1 : 0);
        device.SetParam(c->param, selected);
        return;
    }
    if (const Choice* c = ChoiceOf(kChecks, control)) {
        const int on = IsDlgButtonChecked(dialog_, control) == BST_CHECKED ? 1 : 0;
        if (on == mirror_[control]) return;
        mirror_[control] = on;
        device.SetParam(c->param, on);
        return;
    }
    if (control == IDC_ONE_SHOT_AWB) device.SetParam(15, 1);
    if (control == IDC_ONE_SHOT_AE) device.SetParam(16, 1);
}

void CSettingsDialog::ParamToControl(unsigned id, int value) {
    if (id <= 9) {
        const SpinControl& s = kSpins[id + 1];
        const int position = value & 0xFFFF;
        const int range = (value >> 16) & 0xFFFF;
        const int minimum = std::min(s.minimum, range);
        SendDlgItemMessageW(dialog_, s.spin, UDM_SETRANGE32, static_cast<WPARAM>(minimum), range);
        SendDlgItemMessageW(dialog_, s.spin, UDM_SETPOS32, 0, position);
        SetDlgItemInt(dialog_, s.edit, static_cast<UINT>(position), FALSE);
        mirror_[s.spin] = position;
        return;
    }
    switch (id) {
    case 10:
        if (value >= 0 && value < static_cast<int>(bridge_.Resolutions().size())) SelectCombo(IDC_RESOLUTION, value);
        break;
    case 12: SelectCombo(IDC_FLIP, value); break;
    case 13: SelectCombo(IDC_BW, value == 1 ? 1 : 0); break;
    case 14: SelectCombo(IDC_GAMMA, value != 0 ? 0 : 1); break;
    case 19: SelectCombo(IDC_SKIP, value); break;
    case 23:
    case 25: {
        const int control = id == 23 ? IDC_CONTINUOUS_AE : IDC_NOISE_REMOVAL;
        CheckDlgButton(dialog_, control, value != 0 ? BST_CHECKED : BST_UNCHECKED);
        mirror_[control] = value != 0 ? 1 : 0;
        break;
    }
    case 26: SelectCombo(IDC_SENSITIVITY, value); break;
    default: break;
    }
}

void CSettingsDialog::OnDestroy() {
    // The preview stops with the dialog; the device stays with the bridge.
    CTWAIN& device = bridge_.Device();
    if (show_ && stopPreview_) {
        device.StopPreview();
        OutputDebugStringA("No Display\n");
    }
    device.m_settingsDialog = nullptr;
    device.m_previewWindow = nullptr;
    preview_.reset();
    SetWindowLongPtrW(dialog_, DWLP_USER, 0);
    dialog_ = nullptr;
}

}  // namespace twain::ds
