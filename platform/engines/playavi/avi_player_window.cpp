#include "avi_player_window.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <vector>

namespace {

constexpr UINT_PTR kPlayTimer = 1;
constexpr int kMargin = 8;
constexpr int kListWidth = 220;
constexpr int kButtonWidth = 90;
constexpr int kRowHeight = 28;
constexpr wchar_t kTitle[] = L"AVI Player";

bool IsAvi(const std::filesystem::path& path) {
    std::wstring extension = path.extension().wstring();
    std::transform(extension.begin(), extension.end(), extension.begin(), ::towlower);
    return extension == L".avi";
}

}  // namespace

AviPlayerWindow::~AviPlayerWindow() {
    if (hwnd_ != nullptr) {
        DestroyWindow(hwnd_);
    }
    if (drawDib_ != nullptr) {
        DrawDibClose(drawDib_);
    }
}

bool AviPlayerWindow::Create(HWND owner) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSEXW windowClass{};
    if (!GetClassInfoExW(instance, kClassName, &windowClass)) {
        windowClass = {};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = &AviPlayerWindow::WindowProc;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = kClassName;
        if (RegisterClassExW(&windowClass) == 0) {
            return false;
        }
    }
    drawDib_ = DrawDibOpen();
    hwnd_ = CreateWindowExW(0, kClassName, kTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                            CW_USEDEFAULT, 820, 560, owner != nullptr ? GetAncestor(owner, GA_ROOT) : nullptr,
                            nullptr, instance, this);
    return hwnd_ != nullptr && drawDib_ != nullptr;
}

void AviPlayerWindow::SetFolders(std::filesystem::path videos, std::filesystem::path pictures) {
    videos_ = std::move(videos);
    pictures_ = std::move(pictures);
}

void AviPlayerWindow::Show() {
    ListFiles();
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    SetFocus(Control(kFileList));
}

LRESULT CALLBACK AviPlayerWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<AviPlayerWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<AviPlayerWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    // Destroyed with its owner: the object forgets the window.
    if (message == WM_NCDESTROY) {
        self->hwnd_ = nullptr;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return self->OnMessage(message, wParam, lParam);
}

LRESULT AviPlayerWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: CreateControls(); return 0;
    case WM_SIZE: Layout(); return 0;
    case WM_PAINT: Paint(); return 0;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case kFileList:
            if (HIWORD(wParam) == LBN_SELCHANGE || HIWORD(wParam) == LBN_DBLCLK) {
                OpenChosen();
            }
            return 0;
        case kPlay: Play(); return 0;
        case kPause: Pause(); return 0;
        case kSaveFrame: SaveFrame(); return 0;
        default: break;
        }
        break;
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lParam) == Control(kPosition) && clip_) {
            Pause();
            ShowFrame(static_cast<LONG>(SendMessageW(Control(kPosition), TBM_GETPOS, 0, 0)));
        }
        return 0;
    case WM_TIMER:
        if (wParam == kPlayTimer) {
            if (!clip_ || position_ + 1 >= clip_->Frames()) {
                Pause();
            } else {
                ShowFrame(position_ + 1);
            }
        }
        return 0;
    // Closing only hides the player; it comes back with the next start.
    case WM_CLOSE:
        Pause();
        ShowWindow(hwnd_, SW_HIDE);
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd_, kPlayTimer);
        playing_ = false;
        return 0;
    default: break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void AviPlayerWindow::CreateControls() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    auto make = [&](const wchar_t* windowClass, const wchar_t* text, DWORD style, int id) {
        HWND control = CreateWindowExW(0, windowClass, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 0, 0, 10, 10,
                                       hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    };
    make(L"LISTBOX", L"", WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_SORT | LBS_NOINTEGRALHEIGHT, kFileList);
    make(L"BUTTON", L"Play", BS_PUSHBUTTON, kPlay);
    make(L"BUTTON", L"Pause", BS_PUSHBUTTON, kPause);
    make(TRACKBAR_CLASSW, L"", TBS_HORZ | TBS_NOTICKS, kPosition);
    make(L"BUTTON", L"Save Frame", BS_PUSHBUTTON, kSaveFrame);
    Layout();
}

void AviPlayerWindow::Layout() {
    RECT client{};
    GetClientRect(hwnd_, &client);
    const int bottom = client.bottom - kMargin - kRowHeight;
    auto place = [this](int id, int x, int y, int width, int height) {
        if (HWND control = Control(id)) {
            MoveWindow(control, x, y, std::max(width, 1), std::max(height, 1), TRUE);
        }
    };
    place(kFileList, kMargin, kMargin, kListWidth, bottom - 2 * kMargin);
    int x = kMargin;
    place(kPlay, x, bottom, kButtonWidth, kRowHeight);
    x += kButtonWidth + kMargin;
    place(kPause, x, bottom, kButtonWidth, kRowHeight);
    x += kButtonWidth + kMargin;
    const int saveX = client.right - kMargin - kButtonWidth;
    place(kPosition, x, bottom, saveX - kMargin - x, kRowHeight);
    place(kSaveFrame, saveX, bottom, kButtonWidth, kRowHeight);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

RECT AviPlayerWindow::PictureRect() const {
    RECT client{};
    GetClientRect(hwnd_, &client);
    return {2 * kMargin + kListWidth, kMargin, client.right - kMargin, client.bottom - 2 * kMargin - kRowHeight};
}

void AviPlayerWindow::ListFiles() {
    HWND list = Control(kFileList);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    std::error_code error;
    for (std::filesystem::directory_iterator it(videos_, error), end; !error && it != end; it.increment(error)) {
        if (it->is_regular_file(error) && IsAvi(it->path())) {
            const std::wstring name = it->path().filename().wstring();
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        }
    }
    // The clip shown stays chosen when it is still there.
    if (clip_) {
        const std::wstring name = clipPath_.filename().wstring();
        const LRESULT at = SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(name.c_str()));
        if (at != LB_ERR) {
            SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(at), 0);
        } else {
            CloseClip();
        }
    }
}

void AviPlayerWindow::CloseClip() {
    Pause();
    clip_.reset();
    clipPath_.clear();
    position_ = 0;
    SendMessageW(Control(kPosition), TBM_SETRANGEMAX, TRUE, 0);
    SendMessageW(Control(kPosition), TBM_SETPOS, TRUE, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void AviPlayerWindow::OpenChosen() {
    HWND list = Control(kFileList);
    const LRESULT chosen = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (chosen == LB_ERR) {
        return;
    }
    std::vector<wchar_t> name(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, chosen, 0)) + 1);
    SendMessageW(list, LB_GETTEXT, chosen, reinterpret_cast<LPARAM>(name.data()));
    const std::filesystem::path path = videos_ / name.data();
    if (clip_ && path == clipPath_) {
        return;
    }
    CloseClip();
    clip_ = AviClip::Open(path);
    if (!clip_) {
        const std::wstring text = L"The video cannot be played:\n" + path.wstring();
        MessageBoxW(hwnd_, text.c_str(), kTitle, MB_OK | MB_ICONWARNING);
        return;
    }
    clipPath_ = path;
    SendMessageW(Control(kPosition), TBM_SETRANGEMIN, FALSE, 0);
    SendMessageW(Control(kPosition), TBM_SETRANGEMAX, TRUE, clip_->Frames() - 1);
    ShowFrame(0);
}

void AviPlayerWindow::ShowFrame(LONG index) {
    if (!clip_) {
        return;
    }
    position_ = std::clamp(index, 0L, clip_->Frames() - 1);
    SendMessageW(Control(kPosition), TBM_SETPOS, TRUE, position_);
    const RECT where = PictureRect();
    InvalidateRect(hwnd_, &where, FALSE);
    UpdateWindow(hwnd_);
}

void AviPlayerWindow::Play() {
    if (!clip_) {
        return;
    }
    // Played to the end, it starts again from the first frame.
    if (position_ + 1 >= clip_->Frames()) {
        ShowFrame(0);
    }
    playing_ = SetTimer(hwnd_, kPlayTimer, clip_->FrameMs(), nullptr) != 0;
}

void AviPlayerWindow::Pause() {
    if (playing_) {
        KillTimer(hwnd_, kPlayTimer);
        playing_ = false;
    }
}

void AviPlayerWindow::SaveFrame() {
    if (!clip_) {
        return;
    }
    Pause();
    const BITMAPINFOHEADER* frame = clip_->Frame(position_);
    wchar_t suffix[32] = {};
    std::swprintf(suffix, 32, L"_%06ld.bmp", static_cast<long>(position_ + 1));
    const std::filesystem::path path = pictures_ / (clipPath_.stem().wstring() + suffix);
    std::error_code error;
    std::filesystem::create_directories(pictures_, error);
    if (frame == nullptr || error || !WriteFrameBmp(path, *frame)) {
        const std::wstring text = L"The frame could not be saved:\n" + path.wstring();
        MessageBoxW(hwnd_, text.c_str(), kTitle, MB_OK | MB_ICONWARNING);
    }
}

void AviPlayerWindow::Paint() {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(hwnd_, &paint);
    const RECT where = PictureRect();
    const BITMAPINFOHEADER* frame = clip_ ? clip_->Frame(position_) : nullptr;
    FillRect(dc, &where, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    if (frame != nullptr && where.right > where.left && where.bottom > where.top) {
        // The whole frame, as large as fits, its shape kept, centred.
        const int frameWidth = frame->biWidth;
        const int frameHeight = frame->biHeight < 0 ? -frame->biHeight : frame->biHeight;
        const int areaWidth = where.right - where.left;
        const int areaHeight = where.bottom - where.top;
        int width = areaWidth;
        int height = static_cast<int>(static_cast<long long>(frameHeight) * areaWidth / frameWidth);
        if (height > areaHeight) {
            height = areaHeight;
            width = static_cast<int>(static_cast<long long>(frameWidth) * areaHeight / frameHeight);
        }
        const auto* bits = reinterpret_cast<const BYTE*>(frame) + frame->biSize;
        DrawDibDraw(drawDib_, dc, where.left + (areaWidth - width) / 2, where.top + (areaHeight - height) / 2, width,
                    height, const_cast<BITMAPINFOHEADER*>(frame), const_cast<BYTE*>(bits), 0, 0, frameWidth,
                    frameHeight, 0);
    }
    EndPaint(hwnd_, &paint);
}
