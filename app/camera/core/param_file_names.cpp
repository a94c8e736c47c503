#include "param_file_names.h"

bool IsParamFileName(std::wstring_view name) {
    if (name.empty() || name == L"." || name == L".." || name.find(L"..") != std::wstring_view::npos) {
        return false;
    }
    for (const wchar_t c : name) {
        if (c < 0x20 || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos) {
            return false;
        }
    }
    // The platform drops trailing blanks and dots, so such a name would
    // reach another file.
    return name.back() != L' ' && name.back() != L'.';
}

std::optional<std::wstring> ParamFilePath(const std::wstring& programFolder, std::wstring_view familyFolder,
                                          std::wstring_view name) {
    if (!IsParamFileName(name)) {
        return std::nullopt;
    }
    std::wstring path = programFolder;
    if (!path.empty() && path.back() != L'\\' && path.back() != L'/') {
        path += L'\\';
    }
    path += L"Params\\";
    path += familyFolder;
    path += L'\\';
    path += name;
    path += L".ini";
    return path;
}
