#include "picture_file_dialogs.h"

#include <commdlg.h>

namespace {

// "All File(*.*)|*.*|BMP File(*.bmp)|*.bmp|JPEG File(*.jpg)|*.jpg|TIFF File(*.tiff)|*.tiff|",
// written with the dialog's separators.
constexpr wchar_t kFilter[] =
    L"All File(*.*)\0*.*\0BMP File(*.bmp)\0*.bmp\0JPEG File(*.jpg)\0*.jpg\0TIFF File(*.tiff)\0*.tiff\0";

constexpr DWORD kBufferChars = 64 * 1024;

}  // namespace

std::vector<std::wstring> CPictureFileDialogs::Run(HWND owner, bool multiple) {
    std::vector<wchar_t> buffer(kBufferChars, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = kFilter;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = kBufferChars;
    ofn.lpstrInitialDir = m_startFolder.empty() ? nullptr : m_startFolder.c_str();
    // The dialog leaves the current folder alone: it would otherwise hold the
    // chosen folder open as the process's working folder.
    ofn.Flags =
        OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER | OFN_NOCHANGEDIR | (multiple ? OFN_ALLOWMULTISELECT : 0);
    if (!GetOpenFileNameW(&ofn)) {
        return {};
    }
    // One file: its full path. Several: the folder, then each name.
    std::vector<std::wstring> parts;
    for (const wchar_t* p = buffer.data(); *p; p += parts.back().size() + 1) {
        parts.emplace_back(p);
    }
    if (parts.size() <= 1) {
        return parts;
    }
    std::wstring folder = parts.front();
    if (!folder.empty() && folder.back() != L'\\') {
        folder += L'\\';
    }
    std::vector<std::wstring> paths;
    for (std::size_t i = 1; i < parts.size(); ++i) {
        paths.push_back(folder + parts[i]);
    }
    return paths;
}

std::vector<std::wstring> CPictureFileDialogs::ChoosePictures(HWND owner) { return Run(owner, true); }

std::wstring CPictureFileDialogs::ChoosePicture(HWND owner) {
    std::vector<std::wstring> paths = Run(owner, false);
    return paths.empty() ? std::wstring() : paths.front();
}
